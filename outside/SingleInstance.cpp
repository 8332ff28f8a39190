#include "outside/SingleInstance.h"

#include "system/InstanceSocket.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Beyond the time another start may hold the lock file, a start waits this
// much more for it before it runs on its own.
constexpr int lockMarginMilliseconds = 1'000;
// Between two attempts of a start whose connection was closed unanswered.
constexpr int retryPauseMilliseconds = 100;

void warn(const QString& text) {
    std::fputs(QStringLiteral("pelora: %1\n").arg(text).toLocal8Bit().constData(), stderr);
}

} // namespace

SingleInstance::SingleInstance(const QByteArray& displayName, qsizetype listCapacity)
    : SingleInstance(displayName, listCapacity, Limits{}) {}

SingleInstance::SingleInstance(const QByteArray& displayName, qsizetype listCapacity,
                               const Limits& limits)
    : listCapacity_(listCapacity), limits_(limits),
      socketPath_(InstanceSocket::forDisplay(displayName)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::Outcome SingleInstance::start(const QStringList& files, const QString& option) {
    if (socketPath_.isEmpty()) {
        warn(texts_.noRuntimeFolder());
        return Outcome::Running;
    }
    // A connection closed without an answer is tried again: a running
    // Pelora that is just ending has no server at the next attempt, and this
    // start becomes the running one; one that dropped it because others held
    // too much has dropped those too once their time was up.
    std::optional<QDeadlineTimer> retryUntil;
    for (;;) {
        QLockFile lock(socketPath_ + QStringLiteral(".lock"));
        if (!lock.tryLock(limits_.answerMilliseconds + lockMarginMilliseconds)) {
            warn(texts_.cannotLock(lock.fileName()));
            return Outcome::Running;
        }
        switch (handOver(files, !option.isEmpty())) {
        case Handover::Taken:
            return Outcome::HandedOver;
        case Handover::Refused:
            warn(texts_.cannotTakeOption(option));
            return Outcome::Refused;
        case Handover::TooLarge:
            warn(texts_.tooManyToHandOver());
            return Outcome::NoAnswer;
        case Handover::Silent:
            warn(texts_.runningDidNotAnswer());
            return Outcome::NoAnswer;
        case Handover::Closed:
            if (!retryUntil)
                retryUntil.emplace(limits_.messageMilliseconds + 5 * retryPauseMilliseconds);
            else if (retryUntil->hasExpired()) {
                warn(texts_.runningDidNotTake());
                return Outcome::NoAnswer;
            }
            lock.unlock();
            QThread::msleep(retryPauseMilliseconds);
            continue;
        case Handover::NoServer:
            break;
        }
        // Nothing answers on the socket: whatever is there was left by a
        // Pelora that ended without removing it.
        QLocalServer::removeServer(socketPath_);
        if (!server_.listen(socketPath_))
            warn(texts_.cannotListen(socketPath_, server_.errorString()));
        return Outcome::Running;
    }
}

void SingleInstance::stop() {
    server_.close();
}

SingleInstance::Handover SingleInstance::handOver(const QStringList& files, bool refuse) {
    // One deadline for all of it: the lock is held no longer.
    const QDeadlineTimer deadline(limits_.answerMilliseconds);
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return Handover::NoServer;
    if (refuse)
        return Handover::Refused;
    const QByteArray message = HandoverMessage::encode(files);
    if (message.isEmpty())
        return Handover::TooLarge;
    socket.write(message);
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
    while (QLocalSocket* socket = server_.nextPendingConnection())
        serve(socket);
}

void SingleInstance::serve(QLocalSocket* socket) {
    auto message = std::make_shared<HandoverMessage>(listCapacity_);
    // What this connection holds of heldBytes_, given back when it ends.
    auto held = std::make_shared<qsizetype>(0);
    // Anyone of the user's processes can connect: a connection that has not
    // brought its whole message in time is dropped.
    auto* giveUp = new QTimer(socket);
    giveUp->setSingleShot(true);
    connect(giveUp, &QTimer::timeout, socket, &QLocalSocket::abort);
    giveUp->start(limits_.messageMilliseconds);
    connect(socket, &QObject::destroyed, this, [this, held] { heldBytes_ -= *held; });
    connect(socket, &QLocalSocket::stateChanged, socket,
            [socket](QLocalSocket::LocalSocketState state) {
                if (state == QLocalSocket::UnconnectedState)
                    socket->deleteLater();
            });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, message, held] {
        const QByteArray bytes = socket->readAll();
        if (heldBytes_ + bytes.size() > limits_.heldBytes) {
            warn(texts_.requestTooLarge());
            socket->abort();
            return;
        }
        heldBytes_ += bytes.size();
        *held += bytes.size();
        switch (message->add(bytes)) {
        case HandoverMessage::Status::Incomplete:
            return;
        case HandoverMessage::Status::Malformed:
            warn(texts_.requestMalformed());
            socket->abort();
            return;
        case HandoverMessage::Status::Complete:
            socket->putChar(HandoverMessage::taken);
            socket->disconnectFromServer();
            QMetaObject::invokeMethod(
                this,
                [this, files = message->paths(), count = message->pathCount()] {
                    emit filesHandedOver(files, count);
                },
                Qt::QueuedConnection);
            return;
        }
    });
}
