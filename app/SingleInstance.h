#pragma once

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
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QByteArray& displayName, QObject* parent = nullptr);

    enum class Outcome {
        Running,    // this is the running Pelora now
        HandedOver, // the running one took the files
        NoAnswer,   // the running one did not take them; said on standard error
    };
    Outcome start(const QStringList& files);
    // No more handovers: a Pelora that is ending lets the next start run.
    void stop();

    QString socketPath() const { return socketPath_; }

signals:
    // A later start handed these files over (none: it was started without).
    // Emitted from the event loop, after the later start was answered.
    void filesHandedOver(const QStringList& files);

private:
    // Closed: the connection ended without an answer (a Pelora that is
    // ending); Silent: no answer in time.
    enum class Handover { Taken, Closed, Silent, NoServer, TooLarge };
    Handover handOver(const QStringList& files);
    void acceptConnections();
    void serve(QLocalSocket* socket);

    QString socketPath_;
    QLocalServer server_;
    int connectionsInProgress_ = 0;
};
