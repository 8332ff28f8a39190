#include "platform/FileErrorText.h"

#include <cerrno>
#include <cstring>

QString fileErrorText(const WholeFileError& error, long long maxBytes) {
    switch (error.reason) {
    case WholeFileError::Reason::Folder:
        return QStringLiteral("フォルダーです");
    case WholeFileError::Reason::NotRegular:
        return QStringLiteral("通常のファイルではありません");
    case WholeFileError::Reason::TooLarge:
        return QStringLiteral("大きすぎます (%1 MB を超えています)").arg(maxBytes / (1024 * 1024));
    case WholeFileError::Reason::System:
        break;
    }
    switch (error.error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスする権限がありません");
    case EROFS:
        return QStringLiteral("書き込めない場所です");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空きが足りません");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("そのファイルまたはフォルダーがありません");
    case EISDIR:
        return QStringLiteral("フォルダーです");
    default:
        return QString::fromLocal8Bit(std::strerror(error.error));
    }
}
