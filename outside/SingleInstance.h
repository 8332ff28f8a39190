#pragma once

#include "outside/HandoverMessage.h"
#include "texts/CommandLineTexts.h"

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalSocket;

// One Pelora for each user and display. The first start listens on a local
// socket in the user's runtime folder (private to the user), named for the
// display; a later start hands its files to it, waits until they are taken
// and ends. A lock file next to the socket makes "is one running? if not, I
// am" one step, so two starts at the same moment end as one, and a socket
// left by a Pelora that crashed is removed by the next start.
//
// Any of the user's processes can connect, so each connection is served on
// its own: it has a short time to bring its whole message and is dropped
// after that, and the bytes held for all connections together are bounded.
// A connection that sends nothing, or stops halfway, holds up no other.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    struct Limits {
        // A later start waits this long for the running Pelora to take its
        // files; another start holds the lock file no longer than that.
        int answerMilliseconds = 10'000;
        // A connection brings its whole message within this or is dropped.
        int messageMilliseconds = 2'000;
        // Bytes held at once for all connections that have not brought their
        // whole message yet; bytes beyond it drop the connection they came on.
        qsizetype heldBytes = 4 * (HandoverMessage::headerBytes + HandoverMessage::maxBodyBytes);
    };

    // `listCapacity`: the names of a handover beyond one more than this are
    // only counted.
    SingleInstance(const QByteArray& displayName, qsizetype listCapacity);
    SingleInstance(const QByteArray& displayName, qsizetype listCapacity, const Limits& limits);

    enum class Outcome {
        Running,    // this is the running Pelora now
        HandedOver, // the running one took the files
        NoAnswer,   // the running one did not take them; said on standard error
        Refused,    // one runs, and cannot take `option`: said on standard error
    };
    // `option`: an option of this start's command line that a running Pelora
    // cannot take over (its SoundFont is chosen when it starts); with one,
    // nothing is handed over.
    Outcome start(const QStringList& files, const QString& option = {});
    // No more handovers: a Pelora that is ending lets the next start run.
    void stop();

    QString socketPath() const { return socketPath_; }

signals:
    // A later start handed these files over (none: it was started without).
    // Emitted from the event loop, after the later start was answered.
    // `count`: how many files the start named (more than `files` when
    // there were more than a list holds).
    void filesHandedOver(const QStringList& files, qsizetype count);

private:
    // Closed: the connection ended without an answer (a Pelora that is
    // ending, or one holding too much for other connections); Silent: no
    // answer in time.
    enum class Handover { Taken, Closed, Silent, NoServer, TooLarge, Refused };
    Handover handOver(const QStringList& files, bool refuse);
    void acceptConnections();
    void serve(QLocalSocket* socket);

    qsizetype listCapacity_;
    Limits limits_;
    // What it says in the terminal, in the locale's language.
    CommandLineTexts texts_ = CommandLineTexts::forSystemLocale();
    // Declared before the server: its connections, ended with it, give back
    // what they hold.
    qsizetype heldBytes_ = 0;
    QString socketPath_;
    QLocalServer server_;
};
