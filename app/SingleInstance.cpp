#include "app/SingleInstance.h"

#include "app/HandoverMessage.h"
#include "system/InstanceSocket.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// A start may wait this long for the running Pelora to take its files; a
// connection that has not sent its whole message by then is dropped.
constexpr int answerMilliseconds = 10'000;
// Connections served at once; more are dropped: each may hold a whole message.
constexpr int maxConnections = 8;

void warn(const QString& text) {
    std::fprintf(stderr, "pelora: %s\n", qPrintable(text));
}

} // namespace

SingleInstance::SingleInstance(const QByteArray& displayName, QObject* parent)
    : QObject(parent), socketPath_(InstanceSocket::forDisplay(displayName)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::Outcome SingleInstance::start(const QStringList& files) {
    // A running Pelora that is just ending closes the connection without an
    // answer; the next attempt finds no server and becomes the running one.
    if (socketPath_.isEmpty()) {
        warn(QStringLiteral("no private runtime folder (XDG_RUNTIME_DIR); this Pelora runs on "
                            "its own and later starts open others"));
        return Outcome::Running;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        QLockFile lock(socketPath_ + QStringLiteral(".lock"));
        if (!lock.tryLock(answerMilliseconds)) {
            warn(QStringLiteral("cannot lock %1; starting on its own").arg(lock.fileName()));
            return Outcome::Running;
        }
        switch (handOver(files)) {
        case Handover::Taken:
            return Outcome::HandedOver;
        case Handover::TooLarge:
            warn(QStringLiteral("too many files to hand to the running Pelora"));
            return Outcome::NoAnswer;
        case Handover::Silent:
            warn(QStringLiteral("the running Pelora did not answer"));
            return Outcome::NoAnswer;
        case Handover::Closed:
            lock.unlock();
            QThread::msleep(100);
            continue;
        case Handover::NoServer:
            break;
        }
        // Nothing answers on the socket: whatever is there was left by a
        // Pelora that ended without removing it.
        QLocalServer::removeServer(socketPath_);
        if (!server_.listen(socketPath_))
            warn(QStringLiteral("cannot listen on %1 (%2); a later start will open another "
                                "Pelora")
                     .arg(socketPath_, server_.errorString()));
        return Outcome::Running;
    }
    warn(QStringLiteral("the running Pelora did not take the files"));
    return Outcome::NoAnswer;
}

void SingleInstance::stop() {
    server_.close();
}

SingleInstance::Handover SingleInstance::handOver(const QStringList& files) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(answerMilliseconds))
        return Handover::NoServer;
    const QByteArray message = HandoverMessage::encode(files);
    if (message.isEmpty())
        return Handover::TooLarge;
    socket.write(message);
    const QDeadlineTimer deadline(answerMilliseconds);
    while (socket.bytesToWrite() > 0 || socket.bytesAvailable() < 1) {
        const bool progressed = socket.bytesToWrite() > 0
                                    ? socket.waitForBytesWritten(int(deadline.remainingTime()))
                                    : socket.waitForReadyRead(int(deadline.remainingTime()));
        if (!progressed)
            return socket.state() == QLocalSocket::ConnectedState ? Handover::Silent
                                                                  : Handover::Closed;
    }
    char answer = 0;
    socket.getChar(&answer);
    return answer == HandoverMessage::taken ? Handover::Taken : Handover::Closed;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (connectionsInProgress_ >= maxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        serve(socket);
    }
}

void SingleInstance::serve(QLocalSocket* socket) {
    ++connectionsInProgress_;
    auto message = std::make_shared<HandoverMessage>();
    auto* giveUp = new QTimer(socket);
    giveUp->setSingleShot(true);
    connect(giveUp, &QTimer::timeout, socket, &QLocalSocket::abort);
    giveUp->start(answerMilliseconds);
    connect(socket, &QObject::destroyed, this, [this] { --connectionsInProgress_; });
    connect(socket, &QLocalSocket::stateChanged, socket,
            [socket](QLocalSocket::LocalSocketState state) {
                if (state == QLocalSocket::UnconnectedState)
                    socket->deleteLater();
            });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, message] {
        switch (message->add(socket->readAll())) {
        case HandoverMessage::Status::Incomplete:
            return;
        case HandoverMessage::Status::Malformed:
            warn(QStringLiteral("ignored a malformed request from another start"));
            socket->abort();
            return;
        case HandoverMessage::Status::Complete:
            socket->putChar(HandoverMessage::taken);
            socket->disconnectFromServer();
            QMetaObject::invokeMethod(
                this, [this, files = message->paths()] { emit filesHandedOver(files); },
                Qt::QueuedConnection);
            return;
        }
    });
}
