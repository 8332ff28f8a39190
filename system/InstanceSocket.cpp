#include "system/InstanceSocket.h"

#include <QStandardPaths>

namespace InstanceSocket {

QString forDisplay(const QByteArray& displayName) {
    const QString name =
        QStringLiteral("pelora-") + QString::fromLatin1(displayName.toPercentEncoding());
#if defined(Q_OS_WIN)
    return name + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return {};
    return folder + QLatin1Char('/') + name + QStringLiteral(".socket");
#endif
}

} // namespace InstanceSocket
