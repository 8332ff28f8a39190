#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QString>
#include <QVariantMap>

#include <chrono>
#include <functional>
#include <span>

class QDBusMessage;

// Pelora as the desktop's media controls see it (the panel's player widget,
// the lock screen, the keyboard's media keys): the MPRIS 2 interfaces
// (org.mpris.MediaPlayer2 and its .Player) on a bus, under
// org.mpris.MediaPlayer2.pelora. What the desktop asks is passed on to the
// Commands; what the program tells here is announced to the desktop.
//
// Every call is answered by the service itself, so that a request it
// cannot carry out (a URI that is not a local file's, a loop mode or a
// volume that does not exist, a property that cannot be written) gets a
// D-Bus error. A method also acts when it comes as a signal addressed to
// the service, as `dbus-send` sends it without --print-reply (or
// --type=method_call): key bindings of window managers send media keys so.
class MediaPlayerService : public QDBusVirtualObject {
    Q_OBJECT
public:
    enum class Status { Stopped, Playing, Paused };
    enum class Loop { None, Track, Playlist };

    // What the desktop may ask of the program. The calls return at once.
    class Commands {
    public:
        virtual ~Commands() = default;
        virtual void play() = 0;
        virtual void pause() = 0;
        // Pauses what plays, else plays.
        virtual void playPause() = 0;
        virtual void stop() = 0;
        virtual void next() = 0;
        virtual void previous() = 0;
        // Brings the windows to the front.
        virtual void raise() = 0;
        virtual void quit() = 0;
        // An absolute path on this computer, given by the desktop, as a file
        // handed over from outside.
        virtual void openFile(const QString& fileName) = 0;
        // A place within the current song's length, asked for while a song
        // with a known length is current.
        virtual void seek(std::chrono::microseconds position) = 0;
        virtual void setLoop(Loop loop) = 0;
        // From 0.0 (silent) to 1.0 (full).
        virtual void setVolume(double volume) = 0;
    };

    // The commands outlive the service. `bus` is the session bus in the
    // program, a private one in tests.
    MediaPlayerService(Commands& commands, QDBusConnection bus, QObject* parent = nullptr);
    ~MediaPlayerService() override;

    // Offers the service on the bus; false without a bus, when the program
    // runs as it would without one. When another Pelora holds the name
    // already (on another display), this one takes a name of its own below it.
    bool registerOnBus();
    QString serviceName() const { return serviceName_; }
    bool isRegistered() const { return !serviceName_.isEmpty(); }

    // What the program is doing; each change is announced once the event
    // loop runs again, all changes meanwhile in one announcement.
    void setStatus(Status status);
    // The file the player holds (empty: none) and the song's name in it
    // (empty: the file's name stands for it).
    void setTrack(const QString& fileName, const QString& title);
    // The current song's length; zero when it is not known, when the song
    // cannot be sought in either.
    void setLength(std::chrono::microseconds length);
    void setNeighbours(bool hasNext, bool hasPrevious);
    // The volume the program plays at (0.0 to 1.0), such as the one it kept
    // from its last run.
    void setVolume(double volume);
    // Where the current song is, read whenever the desktop asks; never
    // announced, as the desktop counts on from the last seek itself.
    void setPositionSource(std::function<std::chrono::microseconds()> position);
    // Tells the desktop that the song jumped to `position` (a seek, a loop
    // starting again).
    void announceSeek(std::chrono::microseconds position);

    const QString& fileName() const { return fileName_; }
    // As the desktop last set it.
    Loop loop() const { return loop_; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private slots:
    void handleSignal(const QDBusMessage& message);

private:
    struct Method;
    static std::span<const Method> methods();

    // Each throws a refusal that becomes the call's D-Bus error.
    void callMethod(const QDBusMessage& call);
    QVariantList answerProperties(const QDBusMessage& call);
    QVariantMap propertiesOf(const QString& interface) const;
    void writeProperty(const QString& interface, const QString& name, const QVariant& value);
    void writeLoopStatus(const QVariant& value);
    void writeVolume(const QVariant& value);

    void seekBy(std::chrono::microseconds offset);
    void setPosition(const QString& trackId, std::chrono::microseconds position);
    void openUri(const QString& uri);

    QString trackId() const;
    bool canPlay() const { return !fileName_.isEmpty(); }
    bool canSeek() const { return canPlay() && length_.count() > 0; }
    // The player interface's properties as they are announced: all but Position.
    QVariantMap playerProperties() const;
    QVariantMap metadata() const;
    void changed();
    void announce();

    Commands& commands_;
    QDBusConnection bus_;
    QString serviceName_;
    Status status_ = Status::Stopped;
    Loop loop_ = Loop::None;
    double volume_ = 1.0;
    QString fileName_;
    QString title_;
    std::chrono::microseconds length_{0};
    std::function<std::chrono::microseconds()> position_;
    // Numbers the files the player has held, for their track ids.
    quint64 track_ = 0;
    bool hasNext_ = false;
    bool hasPrevious_ = false;
    // The player's properties as the desktop was last told them.
    QVariantMap announced_;
    bool announcementDue_ = false;
};
