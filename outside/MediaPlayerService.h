#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// Pelora as the desktop's media controls see it (the panel's player widget,
// the lock screen, the keyboard's media keys): the MPRIS 2 interfaces
// (org.mpris.MediaPlayer2 and its .Player) on the session bus, under
// org.mpris.MediaPlayer2.pelora. What the desktop asks is passed on to the
// Commands; what the program tells here is announced to the desktop.
class MediaPlayerService : public QObject {
    Q_OBJECT
public:
    enum class Status { Stopped, Playing, Paused };

    // What the desktop may ask of the program. The calls return at once.
    class Commands {
    public:
        virtual ~Commands() = default;
        virtual void play() = 0;
        virtual void pause() = 0;
        virtual void stop() = 0;
        virtual void next() = 0;
        virtual void previous() = 0;
        // Brings the windows to the front.
        virtual void raise() = 0;
        virtual void quit() = 0;
        // A local file given by the desktop, as a file handed over from outside.
        virtual void openFile(const QString& fileName) = 0;
    };

    // The commands outlive the service.
    explicit MediaPlayerService(Commands& commands, QObject* parent = nullptr);
    ~MediaPlayerService() override;

    // Offers the service on the session bus; false without a session bus,
    // when the program runs as it would without one. When another Pelora
    // holds the name already (on another display), this one takes a name
    // of its own below it.
    bool registerOnSessionBus();
    QString serviceName() const { return serviceName_; }
    bool isRegistered() const { return !serviceName_.isEmpty(); }

    // What the program is doing; each change is announced once the event
    // loop runs again, all changes meanwhile in one announcement.
    void setStatus(Status status);
    // The file the player holds (empty: none) and the song's name in it
    // (empty: the file's name stands for it).
    void setTrack(const QString& fileName, const QString& title);
    void setNeighbours(bool hasNext, bool hasPrevious);

    // What the D-Bus properties hold.
    QString playbackStatus() const;
    QVariantMap metadata() const;
    const QString& fileName() const { return fileName_; }
    bool canPlay() const { return !fileName_.isEmpty(); }
    bool canGoNext() const { return hasNext_; }
    bool canGoPrevious() const { return hasPrevious_; }

    // The D-Bus methods.
    Commands& commands() { return commands_; }
    void playPause();
    // False for a URI that is not a local file's.
    bool openUri(const QString& uri);

private:
    void changed(const QString& property);
    void announce();

    Commands& commands_;
    QString serviceName_;
    Status status_ = Status::Stopped;
    QString fileName_;
    QString title_;
    // Numbers the files the player has held, for their track ids.
    quint64 track_ = 0;
    bool hasNext_ = false;
    bool hasPrevious_ = false;
    // Properties of the player interface changed since the last announcement.
    QStringList changed_;
};
