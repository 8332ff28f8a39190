#include "outside/MediaPlayerService.h"
#include "support/QtTestHelpers.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace std::chrono_literals;

namespace {

const QString path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString player = QStringLiteral("org.mpris.MediaPlayer2.Player");

struct RecordedCommands : MediaPlayerService::Commands {
    QStringList calls;
    void play() override { calls << "play"; }
    void pause() override { calls << "pause"; }
    void playPause() override { calls << "playPause"; }
    void stop() override { calls << "stop"; }
    void next() override { calls << "next"; }
    void previous() override { calls << "previous"; }
    void raise() override { calls << "raise"; }
    void quit() override { calls << "quit"; }
    void openFile(const QString& file) override { calls << "open " + file; }
    void seek(std::chrono::microseconds to) override {
        calls << QString("seek %1").arg(to.count());
    }
    void setLoop(MediaPlayerService::Loop loop) override {
        calls << QString("loop %1").arg(int(loop));
    }
    void setVolume(double volume) override { calls << QString("volume %1").arg(volume); }
};

// The service on a bus of the test's own, and a desktop that calls it there.
class MediaPlayerServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {"--session", "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead())
            GTEST_SKIP() << "no dbus-daemon to run a private bus";
        const QString address = QString::fromUtf8(daemon_.readLine().trimmed());
        service_ = std::make_unique<MediaPlayerService>(
            commands_, QDBusConnection::connectToBus(address, QStringLiteral("pelora")));
        ASSERT_TRUE(service_->registerOnBus());
        desktop_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("desktop")));
    }
    void TearDown() override {
        service_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("pelora"));
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
        daemon_.kill();
        daemon_.waitForFinished();
    }

    QDBusMessage call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(service_->serviceName(), path, interface, method);
        message.setArguments(arguments);
        return desktop_->call(message, QDBus::BlockWithGui);
    }
    QDBusMessage set(const QString& property, const QVariant& value) {
        return call("org.freedesktop.DBus.Properties", "Set",
                    {player, property, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariant get(const QString& property) {
        const QDBusMessage reply =
            call("org.freedesktop.DBus.Properties", "Get", {player, property});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    RecordedCommands commands_;
    QProcess daemon_;
    std::unique_ptr<MediaPlayerService> service_;
    std::unique_ptr<QDBusConnection> desktop_;
};

TEST_F(MediaPlayerServiceTest, OpensLocalFilesOnlyAndRefusesOtherUrisWithAnError) {
    for (const QString uri :
         {"http://example.org/a.mid", "", "song.mid", "/tmp/a.mid", "file:", "file://", "file:///",
          "file://otherhost/x.mid", "file:///a%00b.mid", "file:///a.mid%00"}) {
        const QDBusMessage reply = call(player, "OpenUri", {uri});
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << uri.toStdString();
        EXPECT_TRUE(reply.errorName().endsWith("InvalidArgs") ||
                    reply.errorName().endsWith("NotSupported"))
            << reply.errorName().toStdString();
    }
    call(player, "OpenUri", {"file:///music/a%20b.mid"});
    call(player, "OpenUri", {"file://localhost/music/c.mid"});
    EXPECT_EQ(commands_.calls, QStringList({"open /music/a b.mid", "open /music/c.mid"}));
}

// As dbus-send sends them without --print-reply: a signal addressed to the
// service; and a call that expects no reply.
TEST_F(MediaPlayerServiceTest, MethodsActWithoutAReply) {
    desktop_->send(
        QDBusMessage::createTargetedSignal(service_->serviceName(), path, player, "Pause"));
    desktop_->send(QDBusMessage::createMethodCall(service_->serviceName(), path, player, "Stop"));
    desktop_->send(QDBusMessage::createTargetedSignal(service_->serviceName(), path,
                                                      "org.mpris.MediaPlayer2", "Quit"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return commands_.calls.size() == 3; }));
    EXPECT_EQ(commands_.calls, QStringList({"pause", "stop", "quit"}));
}

TEST_F(MediaPlayerServiceTest, WritesThatCannotBeCarriedOutAreRefused) {
    EXPECT_EQ(set("LoopStatus", "Track").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(set("LoopStatus", "Sometimes").errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
    EXPECT_EQ(get("LoopStatus"), "Track");
    EXPECT_EQ(set("Volume", std::nan("")).errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
    set("Volume", -0.5);
    EXPECT_EQ(get("Volume"), 0.0);
    EXPECT_EQ(set("Rate", 1.0).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(set("Rate", 2.0).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(set("Shuffle", true).errorName(), "org.freedesktop.DBus.Error.PropertyReadOnly");
    EXPECT_EQ(commands_.calls, QStringList({"loop 1", "volume 0"}));
}

TEST_F(MediaPlayerServiceTest, SeeksWithinTheCurrentSong) {
    service_->setTrack("/music/a.mid", "A");
    service_->setLength(10s);
    service_->setPositionSource([] { return std::chrono::microseconds(4s); });
    EXPECT_EQ(get("Position"), qlonglong(4'000'000));
    call(player, "Seek", {qlonglong(3'000'000)});
    call(player, "Seek", {qlonglong(-9'000'000)});
    call(player, "Seek", {qlonglong(7'000'000)}); // past the end of the last song
    const QVariant current =
        qdbus_cast<QVariantMap>(get("Metadata").value<QDBusArgument>())["mpris:trackid"];
    const QVariant old = QVariant::fromValue(QDBusObjectPath("/io/github/pelora/Pelora/old"));
    call(player, "SetPosition", {old, qlonglong(1)});
    call(player, "SetPosition", {current, qlonglong(11'000'000)});
    call(player, "SetPosition", {current, qlonglong(2'000'000)});
    EXPECT_EQ(commands_.calls, QStringList({"seek 7000000", "seek 0", "stop", "seek 2000000"}));
}

class SignalLog : public QObject {
    Q_OBJECT
public:
    QList<QDBusMessage> messages;
    QStringList changes(int i) const {
        return qdbus_cast<QVariantMap>(messages[i].arguments()[1]).keys();
    }
public slots:
    void take(const QDBusMessage& message) { messages << message; }
};

TEST_F(MediaPlayerServiceTest, TellsOnceWhatChangedAndWhereTheSongJumped) {
    SignalLog changed, seeked;
    desktop_->connect(service_->serviceName(), path, "org.freedesktop.DBus.Properties",
                      "PropertiesChanged", &changed, SLOT(take(QDBusMessage)));
    desktop_->connect(service_->serviceName(), path, player, "Seeked", &seeked,
                      SLOT(take(QDBusMessage)));
    service_->setStatus(MediaPlayerService::Status::Playing);
    service_->setTrack("/music/a.mid", "A");
    service_->setLength(10s);
    service_->setVolume(0.5);
    service_->announceSeek(3s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return changed.messages.size() == 1 && seeked.messages.size() == 1; }));
    EXPECT_EQ(changed.changes(0), QStringList({"CanPause", "CanPlay", "CanSeek", "Metadata",
                                               "PlaybackStatus", "Volume"}));
    EXPECT_EQ(seeked.messages[0].arguments(), QVariantList({qlonglong(3'000'000)}));
    service_->setStatus(MediaPlayerService::Status::Playing);
    service_->setTrack("/music/a.mid", "A");
    service_->setNeighbours(true, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.messages.size() == 2; }));
    EXPECT_EQ(changed.changes(1), QStringList({"CanGoNext"}));
}

} // namespace

#include "test_media_player_service.moc"
