#include "outside/MediaPlayerService.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>
#include <QUrl>

namespace {

const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

// The root interface: the program as a whole.
class RootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
public:
    explicit RootAdaptor(MediaPlayerService* service)
        : QDBusAbstractAdaptor(service), service_(service) {}

    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("Pelora"); }
    QString desktopEntry() const { return QStringLiteral("io.github.pelora.Pelora"); }
    QStringList uriSchemes() const { return {QStringLiteral("file")}; }
    QStringList mimeTypes() const {
        return {QStringLiteral("audio/midi"), QStringLiteral("audio/x-midi"),
                QStringLiteral("audio/x-rmid")};
    }

public slots:
    void Raise() { service_->commands().raise(); }
    void Quit() { service_->commands().quit(); }

private:
    MediaPlayerService* service_;
};

// The player interface: what plays, and the player's buttons. Pelora plays
// each song from its beginning, at its own pace and volume: there is no
// position to seek to, and rate and volume stay as they are.
class PlayerAdaptor : public QDBusAbstractAdaptor, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one WRITE ignore)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(double Volume READ one WRITE ignore)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanSeek READ no)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit PlayerAdaptor(MediaPlayerService* service)
        : QDBusAbstractAdaptor(service), service_(service) {}

    QString playbackStatus() const { return service_->playbackStatus(); }
    QVariantMap metadata() const { return service_->metadata(); }
    double one() const { return 1.0; }
    void ignore(double) {}
    qlonglong position() const { return 0; }
    bool canGoNext() const { return service_->canGoNext(); }
    bool canGoPrevious() const { return service_->canGoPrevious(); }
    bool canPlay() const { return service_->canPlay(); }
    bool yes() const { return true; }
    bool no() const { return false; }

public slots:
    void Play() {
        if (service_->canPlay())
            service_->commands().play();
    }
    void Pause() { service_->commands().pause(); }
    void PlayPause() { service_->playPause(); }
    void Stop() { service_->commands().stop(); }
    void Next() { service_->commands().next(); }
    void Previous() { service_->commands().previous(); }
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString& uri) {
        if (!service_->openUri(uri))
            sendErrorReply(QDBusError::NotSupported,
                           QStringLiteral("Pelora opens local files (file: URIs) only"));
    }

signals:
    void Seeked(qlonglong position);

private:
    MediaPlayerService* service_;
};

} // namespace

MediaPlayerService::MediaPlayerService(Commands& commands, QObject* parent)
    : QObject(parent), commands_(commands) {
    new RootAdaptor(this);
    new PlayerAdaptor(this);
}

MediaPlayerService::~MediaPlayerService() {
    if (!isRegistered())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(serviceName_);
    bus.unregisterObject(objectPath);
}

bool MediaPlayerService::registerOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() ||
        !bus.registerObject(objectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    // One Pelora for each display: another display's may hold the name.
    const QString name = QStringLiteral("org.mpris.MediaPlayer2.pelora");
    for (const QString& candidate :
         {name, name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())}) {
        if (bus.registerService(candidate)) {
            serviceName_ = candidate;
            return true;
        }
    }
    bus.unregisterObject(objectPath);
    return false;
}

QString MediaPlayerService::playbackStatus() const {
    switch (status_) {
    case Status::Playing:
        return QStringLiteral("Playing");
    case Status::Paused:
        return QStringLiteral("Paused");
    case Status::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MediaPlayerService::metadata() const {
    if (fileName_.isEmpty())
        return {{QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(
                     QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    const QUrl url = QUrl::fromLocalFile(fileName_);
    return {
        {QStringLiteral("mpris:trackid"),
         QVariant::fromValue(
             QDBusObjectPath(QStringLiteral("/io/github/pelora/Pelora/track%1").arg(track_)))},
        {QStringLiteral("xesam:title"), title_.isEmpty() ? url.fileName() : title_},
        {QStringLiteral("xesam:url"), QString::fromUtf8(url.toEncoded())},
    };
}

void MediaPlayerService::setStatus(Status status) {
    if (status == status_)
        return;
    status_ = status;
    changed(QStringLiteral("PlaybackStatus"));
}

void MediaPlayerService::setTrack(const QString& fileName, const QString& title) {
    if (fileName == fileName_ && title == title_)
        return;
    if (fileName != fileName_) {
        ++track_;
        if (fileName.isEmpty() != fileName_.isEmpty())
            changed(QStringLiteral("CanPlay"));
    }
    fileName_ = fileName;
    title_ = title;
    changed(QStringLiteral("Metadata"));
}

void MediaPlayerService::setNeighbours(bool hasNext, bool hasPrevious) {
    if (hasNext != hasNext_)
        changed(QStringLiteral("CanGoNext"));
    if (hasPrevious != hasPrevious_)
        changed(QStringLiteral("CanGoPrevious"));
    hasNext_ = hasNext;
    hasPrevious_ = hasPrevious;
}

void MediaPlayerService::playPause() {
    if (status_ == Status::Playing)
        commands_.pause();
    else if (canPlay())
        commands_.play();
}

bool MediaPlayerService::openUri(const QString& uri) {
    const QUrl url(uri);
    if (!url.isLocalFile())
        return false;
    commands_.openFile(url.toLocalFile());
    return true;
}

void MediaPlayerService::changed(const QString& property) {
    if (changed_.contains(property))
        return;
    if (changed_.isEmpty())
        QTimer::singleShot(0, this, &MediaPlayerService::announce);
    changed_ << property;
}

void MediaPlayerService::announce() {
    const QStringList properties = std::exchange(changed_, {});
    if (!isRegistered() || properties.isEmpty())
        return;
    const QObject* adaptor = findChild<PlayerAdaptor*>();
    QVariantMap values;
    for (const QString& property : properties)
        values.insert(property, adaptor->property(property.toLatin1().constData()));
    QDBusMessage signal =
        QDBusMessage::createSignal(objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << playerInterface << values << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

#include "MediaPlayerService.moc"
