#include "outside/MediaPlayerService.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using std::chrono::microseconds;

namespace {

const QString objectPath = u"/org/mpris/MediaPlayer2"_s;
const QString rootInterface = u"org.mpris.MediaPlayer2"_s;
const QString playerInterface = u"org.mpris.MediaPlayer2.Player"_s;
const QString propertiesInterface = u"org.freedesktop.DBus.Properties"_s;

const char* const introspection = R"(
<interface name="org.mpris.MediaPlayer2">
  <method name="Raise"/>
  <method name="Quit"/>
  <property name="CanQuit" type="b" access="read"/>
  <property name="CanRaise" type="b" access="read"/>
  <property name="HasTrackList" type="b" access="read"/>
  <property name="Identity" type="s" access="read"/>
  <property name="DesktopEntry" type="s" access="read"/>
  <property name="SupportedUriSchemes" type="as" access="read"/>
  <property name="SupportedMimeTypes" type="as" access="read"/>
</interface>
<interface name="org.mpris.MediaPlayer2.Player">
  <method name="Next"/>
  <method name="Previous"/>
  <method name="Pause"/>
  <method name="PlayPause"/>
  <method name="Stop"/>
  <method name="Play"/>
  <method name="Seek"><arg name="Offset" type="x" direction="in"/></method>
  <method name="SetPosition">
    <arg name="TrackId" type="o" direction="in"/>
    <arg name="Position" type="x" direction="in"/>
  </method>
  <method name="OpenUri"><arg name="Uri" type="s" direction="in"/></method>
  <signal name="Seeked"><arg name="Position" type="x"/></signal>
  <property name="PlaybackStatus" type="s" access="read"/>
  <property name="LoopStatus" type="s" access="readwrite"/>
  <property name="Rate" type="d" access="readwrite"/>
  <property name="Shuffle" type="b" access="read"/>
  <property name="Metadata" type="a{sv}" access="read">
    <annotation name="org.qtproject.QtDBus.QtTypeName" value="QVariantMap"/>
  </property>
  <property name="Volume" type="d" access="readwrite"/>
  <property name="Position" type="x" access="read"/>
  <property name="MinimumRate" type="d" access="read"/>
  <property name="MaximumRate" type="d" access="read"/>
  <property name="CanGoNext" type="b" access="read"/>
  <property name="CanGoPrevious" type="b" access="read"/>
  <property name="CanPlay" type="b" access="read"/>
  <property name="CanPause" type="b" access="read"/>
  <property name="CanSeek" type="b" access="read"/>
  <property name="CanControl" type="b" access="read"/>
</interface>
)";

// A request the service answers with a D-Bus error.
struct Refusal {
    QDBusError::ErrorType type;
    QString message;
};

[[noreturn]] void refuse(QDBusError::ErrorType type, const QString& message) {
    throw Refusal{type, message};
}

const QString uriExample = u"give a file: URI such as file:///home/me/song.mid"_s;

// The path of the file on this computer that `uri` names.
QString localFileOf(const QString& uri) {
    if (uri.isEmpty())
        refuse(QDBusError::InvalidArgs, u"The URI is empty: "_s + uriExample);
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid())
        refuse(QDBusError::InvalidArgs, u"The URI is not well-formed: "_s + uriExample);
    if (url.scheme().isEmpty())
        refuse(QDBusError::InvalidArgs, u"Not a URI (a bare path or name): "_s + uriExample);
    if (url.scheme() != "file"_L1)
        refuse(QDBusError::NotSupported,
               u"Pelora opens local files (file: URIs) only, not %1: URIs"_s.arg(url.scheme()));
    if (!url.host().isEmpty() && url.host() != "localhost"_L1)
        refuse(QDBusError::NotSupported,
               u"Pelora opens files on this computer only, not on another host"_s);
    if (url.hasQuery() || url.hasFragment())
        refuse(QDBusError::InvalidArgs, u"A file: URI has no query or fragment: a file's name "
                                        u"writes ? and # as %3F and %23"_s);
    const QString path = url.path(QUrl::FullyDecoded);
    if (path.contains(QChar(0)))
        refuse(QDBusError::InvalidArgs, u"No file's name holds a NUL character (%00)"_s);
    if (path.isEmpty() || path == "/"_L1)
        refuse(QDBusError::InvalidArgs, u"The URI names no file: "_s + uriExample);
    if (!path.startsWith(u'/'))
        refuse(QDBusError::InvalidArgs, u"The file's path is not absolute: "_s + uriExample);
    return path;
}

// MPRIS's names, in the order of the enumerations.
const QString loopNames[] = {u"None"_s, u"Track"_s, u"Playlist"_s};
const QString statusNames[] = {u"Stopped"_s, u"Playing"_s, u"Paused"_s};

microseconds microsecondsIn(const QVariant& argument) {
    return microseconds(argument.toLongLong());
}

} // namespace

struct MediaPlayerService::Method {
    const QString& interface;
    QLatin1StringView name;
    QLatin1StringView signature;
    void (*run)(MediaPlayerService& service, const QVariantList& arguments);
};

std::span<const MediaPlayerService::Method> MediaPlayerService::methods() {
    using Arguments = const QVariantList&;
    static const Method all[] = {
        {rootInterface, "Raise"_L1, ""_L1, [](auto& s, Arguments) { s.commands_.raise(); }},
        {rootInterface, "Quit"_L1, ""_L1, [](auto& s, Arguments) { s.commands_.quit(); }},
        {playerInterface, "Next"_L1, ""_L1, [](auto& s, Arguments) { s.commands_.next(); }},
        {playerInterface, "Previous"_L1, ""_L1, [](auto& s, Arguments) { s.commands_.previous(); }},
        {playerInterface, "Pause"_L1, ""_L1, [](auto& s, Arguments) { s.commands_.pause(); }},
        {playerInterface, "PlayPause"_L1, ""_L1,
         [](auto& s, Arguments) {
             if (s.canPlay())
                 s.commands_.playPause();
         }},
        {playerInterface, "Stop"_L1, ""_L1, [](auto& s, Arguments) { s.commands_.stop(); }},
        {playerInterface, "Play"_L1, ""_L1,
         [](auto& s, Arguments) {
             if (s.canPlay())
                 s.commands_.play();
         }},
        {playerInterface, "Seek"_L1, "x"_L1,
         [](auto& s, Arguments a) { s.seekBy(microsecondsIn(a[0])); }},
        {playerInterface, "SetPosition"_L1, "ox"_L1,
         [](auto& s, Arguments a) {
             s.setPosition(a[0].value<QDBusObjectPath>().path(), microsecondsIn(a[1]));
         }},
        {playerInterface, "OpenUri"_L1, "s"_L1,
         [](auto& s, Arguments a) { s.openUri(a[0].toString()); }},
    };
    return all;
}

MediaPlayerService::MediaPlayerService(Commands& commands, QDBusConnection bus, QObject* parent)
    : QDBusVirtualObject(parent), commands_(commands), bus_(std::move(bus)),
      position_([] { return microseconds(0); }) {}

MediaPlayerService::~MediaPlayerService() {
    if (!isRegistered())
        return;
    bus_.unregisterService(serviceName_);
    bus_.unregisterObject(objectPath);
}

bool MediaPlayerService::registerOnBus() {
    if (!bus_.isConnected() || !bus_.registerVirtualObject(objectPath, this))
        return false;
    // One Pelora for each display: another display's may hold the name.
    const QString name = u"org.mpris.MediaPlayer2.pelora"_s;
    for (const QString& candidate :
         {name, name + u".instance%1"_s.arg(QCoreApplication::applicationPid())}) {
        if (bus_.registerService(candidate)) {
            serviceName_ = candidate;
            // QDBusConnection takes slots by name only.
            for (const Method& method : methods())
                bus_.connect(QString(), objectPath, method.interface, method.name, this,
                             SLOT(handleSignal(QDBusMessage)));
            announced_ = playerProperties();
            return true;
        }
    }
    bus_.unregisterObject(objectPath);
    return false;
}

QString MediaPlayerService::introspect(const QString&) const {
    return QString::fromLatin1(introspection);
}

bool MediaPlayerService::handleMessage(const QDBusMessage& message,
                                       const QDBusConnection& connection) {
    const bool ours = message.interface() == rootInterface ||
                      message.interface() == playerInterface ||
                      message.interface() == propertiesInterface;
    if (!ours)
        return false; // introspection and the like, which Qt answers
    QDBusMessage reply;
    try {
        if (message.interface() == propertiesInterface)
            reply = message.createReply(answerProperties(message));
        else {
            callMethod(message);
            reply = message.createReply();
        }
    } catch (const Refusal& refusal) {
        reply = message.createErrorReply(refusal.type, refusal.message);
    }
    if (message.isReplyRequired())
        connection.send(reply);
    return true;
}

void MediaPlayerService::handleSignal(const QDBusMessage& message) {
    try {
        callMethod(message);
    } catch (const Refusal& refusal) {
        std::fprintf(stderr, "pelora: media controls: %s: %s\n", qPrintable(message.member()),
                     qPrintable(refusal.message));
    }
}

void MediaPlayerService::callMethod(const QDBusMessage& call) {
    for (const Method& method : methods()) {
        if (method.interface != call.interface() || method.name != call.member())
            continue;
        if (call.signature() != method.signature)
            refuse(QDBusError::InvalidArgs, u"%1 takes the arguments \"%2\", not \"%3\""_s.arg(
                                                method.name, method.signature, call.signature()));
        method.run(*this, call.arguments());
        return;
    }
    refuse(QDBusError::UnknownMethod,
           u"%1 has no method %2"_s.arg(call.interface(), call.member()));
}

QVariantList MediaPlayerService::answerProperties(const QDBusMessage& call) {
    const QVariantList arguments = call.arguments();
    const QString member = call.member();
    const QString signature = member == "Get"_L1      ? u"ss"_s
                              : member == "GetAll"_L1 ? u"s"_s
                              : member == "Set"_L1    ? u"ssv"_s
                                                      : QString();
    if (signature.isEmpty())
        refuse(QDBusError::UnknownMethod, u"Properties have no method %1"_s.arg(member));
    if (call.signature() != signature)
        refuse(QDBusError::InvalidArgs, u"%1 takes the arguments \"%2\", not \"%3\""_s.arg(
                                            member, signature, call.signature()));
    const QString interface = arguments[0].toString();
    const QVariantMap properties = propertiesOf(interface);
    if (member == "GetAll"_L1)
        return {properties};
    const QString name = arguments[1].toString();
    if (!properties.contains(name))
        refuse(QDBusError::UnknownProperty, u"%1 has no property %2"_s.arg(interface, name));
    if (member == "Get"_L1)
        return {QVariant::fromValue(QDBusVariant(properties[name]))};
    writeProperty(interface, name, arguments[2].value<QDBusVariant>().variant());
    return {};
}

QVariantMap MediaPlayerService::propertiesOf(const QString& interface) const {
    if (interface == rootInterface)
        return {
            {u"CanQuit"_s, true},
            {u"CanRaise"_s, true},
            {u"HasTrackList"_s, false},
            {u"Identity"_s, u"Pelora"_s},
            {u"DesktopEntry"_s, u"io.github.pelora.Pelora"_s},
            {u"SupportedUriSchemes"_s, QStringList{u"file"_s}},
            {u"SupportedMimeTypes"_s,
             QStringList{u"audio/midi"_s, u"audio/x-midi"_s, u"audio/x-rmid"_s}},
        };
    if (interface != playerInterface)
        refuse(QDBusError::UnknownInterface, u"Pelora has no interface %1"_s.arg(interface));
    QVariantMap properties = playerProperties();
    properties.insert(u"Position"_s, qlonglong(position_().count()));
    return properties;
}

void MediaPlayerService::writeProperty(const QString& interface, const QString& name,
                                       const QVariant& value) {
    if (interface == playerInterface && name == "LoopStatus"_L1)
        return writeLoopStatus(value);
    if (interface == playerInterface && name == "Volume"_L1)
        return writeVolume(value);
    if (interface == playerInterface && name == "Rate"_L1) {
        if (value.typeId() != QMetaType::Double)
            refuse(QDBusError::InvalidArgs, u"Rate is a number (D-Bus type d)"_s);
        if (value.toDouble() != 1.0)
            refuse(QDBusError::NotSupported,
                   u"Pelora plays each song at its own speed: Rate stays 1.0"_s);
        return;
    }
    if (name == "Shuffle"_L1)
        refuse(QDBusError::PropertyReadOnly,
               u"Pelora plays the list in its order: Shuffle stays false"_s);
    refuse(QDBusError::PropertyReadOnly, u"%1 is read-only"_s.arg(name));
}

void MediaPlayerService::writeLoopStatus(const QVariant& value) {
    const QString name = value.typeId() == QMetaType::QString ? value.toString() : QString();
    const auto found = std::find(std::begin(loopNames), std::end(loopNames), name);
    if (found != std::end(loopNames)) {
        const auto loop = static_cast<Loop>(found - std::begin(loopNames));
        if (loop != loop_) {
            loop_ = loop;
            changed();
            commands_.setLoop(loop);
        }
        return;
    }
    refuse(QDBusError::InvalidArgs, u"LoopStatus is \"None\", \"Track\" or \"Playlist\""_s);
}

void MediaPlayerService::writeVolume(const QVariant& value) {
    if (value.typeId() != QMetaType::Double || std::isnan(value.toDouble()))
        refuse(QDBusError::InvalidArgs, u"Volume is a number from 0.0 to 1.0 (D-Bus type d)"_s);
    const double volume = std::clamp(value.toDouble(), 0.0, 1.0);
    if (volume == volume_)
        return;
    setVolume(volume);
    commands_.setVolume(volume);
}

// Past the song's end is the next song, as the list's next entry plays
// after it; the last song ends there.
void MediaPlayerService::seekBy(microseconds offset) {
    if (!canSeek())
        return;
    const microseconds position = std::max(position_() + offset, microseconds(0));
    if (position <= length_)
        commands_.seek(position);
    else if (hasNext_)
        commands_.next();
    else
        commands_.stop();
}

// A position for a song that is no longer current comes too late: it is
// no request for the one playing now.
void MediaPlayerService::setPosition(const QString& trackId, microseconds position) {
    if (canSeek() && trackId == this->trackId() && position.count() >= 0 && position <= length_)
        commands_.seek(position);
}

void MediaPlayerService::openUri(const QString& uri) {
    commands_.openFile(localFileOf(uri));
}

QString MediaPlayerService::trackId() const {
    return fileName_.isEmpty() ? u"/org/mpris/MediaPlayer2/TrackList/NoTrack"_s
                               : u"/io/github/pelora/Pelora/track%1"_s.arg(track_);
}

QVariantMap MediaPlayerService::playerProperties() const {
    return {
        {u"PlaybackStatus"_s, statusNames[static_cast<int>(status_)]},
        {u"LoopStatus"_s, loopNames[static_cast<int>(loop_)]},
        {u"Rate"_s, 1.0},
        {u"Shuffle"_s, false},
        {u"Metadata"_s, metadata()},
        {u"Volume"_s, volume_},
        {u"MinimumRate"_s, 1.0},
        {u"MaximumRate"_s, 1.0},
        {u"CanGoNext"_s, hasNext_},
        {u"CanGoPrevious"_s, hasPrevious_},
        {u"CanPlay"_s, canPlay()},
        {u"CanPause"_s, canPlay()},
        {u"CanSeek"_s, canSeek()},
        {u"CanControl"_s, true},
    };
}

QVariantMap MediaPlayerService::metadata() const {
    QVariantMap metadata{{u"mpris:trackid"_s, QVariant::fromValue(QDBusObjectPath(trackId()))}};
    if (fileName_.isEmpty())
        return metadata;
    const QUrl url = QUrl::fromLocalFile(fileName_);
    metadata.insert(u"xesam:title"_s, title_.isEmpty() ? url.fileName() : title_);
    metadata.insert(u"xesam:url"_s, QString::fromUtf8(url.toEncoded()));
    if (length_.count() > 0)
        metadata.insert(u"mpris:length"_s, qlonglong(length_.count()));
    return metadata;
}

void MediaPlayerService::setStatus(Status status) {
    status_ = status;
    changed();
}

void MediaPlayerService::setTrack(const QString& fileName, const QString& title) {
    if (fileName != fileName_)
        ++track_;
    fileName_ = fileName;
    title_ = title;
    changed();
}

void MediaPlayerService::setLength(microseconds length) {
    length_ = std::max(length, microseconds(0));
    changed();
}

void MediaPlayerService::setNeighbours(bool hasNext, bool hasPrevious) {
    hasNext_ = hasNext;
    hasPrevious_ = hasPrevious;
    changed();
}

void MediaPlayerService::setVolume(double volume) {
    if (std::isnan(volume))
        return;
    volume_ = std::clamp(volume, 0.0, 1.0);
    changed();
}

void MediaPlayerService::setPositionSource(std::function<microseconds()> position) {
    position_ = std::move(position);
}

void MediaPlayerService::announceSeek(microseconds position) {
    if (!isRegistered())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(objectPath, playerInterface, u"Seeked"_s);
    signal << qlonglong(position.count());
    bus_.send(signal);
}

void MediaPlayerService::changed() {
    if (std::exchange(announcementDue_, true))
        return;
    QTimer::singleShot(0, this, &MediaPlayerService::announce);
}

// What changed since the last announcement, said in one signal.
void MediaPlayerService::announce() {
    announcementDue_ = false;
    if (!isRegistered())
        return;
    const QVariantMap now = playerProperties();
    QVariantMap changes;
    for (auto property = now.cbegin(); property != now.cend(); ++property) {
        if (announced_.value(property.key()) != property.value())
            changes.insert(property.key(), property.value());
    }
    announced_ = now;
    if (changes.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(objectPath, propertiesInterface, u"PropertiesChanged"_s);
    signal << playerInterface << changes << QStringList();
    bus_.send(signal);
}
