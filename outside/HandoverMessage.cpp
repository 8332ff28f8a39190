#include "outside/HandoverMessage.h"

#include <QDir>
#include <QStringDecoder>
#include <QtEndian>

namespace {
constexpr char magic[] = "PLR1";
}

QByteArray HandoverMessage::encode(const QStringList& absolutePaths) {
    QByteArray body;
    for (const QString& path : absolutePaths) {
        body += path.toUtf8();
        body += '\0';
    }
    if (body.size() > maxBodyBytes)
        return {};
    QByteArray message(magic, 4);
    message.resize(headerBytes);
    qToBigEndian(static_cast<quint32>(body.size()), message.data() + 4);
    return message + body;
}

HandoverMessage::Status HandoverMessage::add(const QByteArray& bytes) {
    received_ += bytes;
    return check();
}

HandoverMessage::Status HandoverMessage::check() {
    if (!bodyBytes_) {
        const qsizetype magicBytes = std::min<qsizetype>(received_.size(), 4);
        if (!received_.startsWith(QByteArrayView(magic, magicBytes)))
            return Status::Malformed;
        if (received_.size() < headerBytes)
            return Status::Incomplete;
        bodyBytes_ = qFromBigEndian<quint32>(received_.constData() + 4);
        if (*bodyBytes_ > maxBodyBytes)
            return Status::Malformed;
    }
    const qsizetype expected = headerBytes + *bodyBytes_;
    if (received_.size() < expected)
        return Status::Incomplete;
    if (received_.size() > expected || !decodeBody())
        return Status::Malformed;
    return Status::Complete;
}

bool HandoverMessage::decodeBody() {
    const QByteArrayView body = QByteArrayView(received_).sliced(headerBytes);
    if (!body.isEmpty() && !body.endsWith('\0'))
        return false;
    pathCount_ = body.count('\0');
    qsizetype start = 0;
    while (start < body.size() && paths_.size() < keptPaths_) {
        const qsizetype end = body.indexOf('\0', start);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString path = utf8(body.sliced(start, end - start));
        if (utf8.hasError() || path.isEmpty() || !QDir::isAbsolutePath(path))
            return false;
        paths_ << path;
        start = end + 1;
    }
    return true;
}
