#include "outside/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <vector>

#include <pwd.h>
#include <unistd.h>

void PrintTo(SingleInstance::Outcome outcome, std::ostream* out) {
    switch (outcome) {
    case SingleInstance::Outcome::Running:
        *out << "Running";
        return;
    case SingleInstance::Outcome::HandedOver:
        *out << "HandedOver";
        return;
    case SingleInstance::Outcome::NoAnswer:
        *out << "NoAnswer";
        return;
    case SingleInstance::Outcome::Refused:
        *out << "Refused";
        return;
    }
}

namespace {

using Outcome = SingleInstance::Outcome;

constexpr char display[] = "x11:test";
constexpr qsizetype listCapacity = 32'767;

// Without a private runtime folder there is no safe place for the socket:
// this start runs on its own and says so, and no socket is made elsewhere.
TEST(SingleInstance, WithoutARuntimeFolderItRunsAloneAndSaysSo) {
    // Neither the runtime folder named nor Qt's fallback in the temporary
    // folder is a folder.
    QTemporaryDir dir;
    const QString fallback =
        QStringLiteral("runtime-") + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
    for (const QString& name : {QStringLiteral("a-file"), fallback}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), temporary = qgetenv("TMPDIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("a-file")));
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    ::testing::internal::CaptureStderr();
    SingleInstance instance("x11:test", listCapacity);
    EXPECT_EQ(instance.start({}), SingleInstance::Outcome::Running);
    const std::string said = ::testing::internal::GetCapturedStderr();
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("TMPDIR", temporary);
    EXPECT_TRUE(instance.socketPath().isEmpty()) << instance.socketPath().toStdString();
    EXPECT_NE(said.find("runtime folder"), std::string::npos) << said;
}

// A runtime folder of the test's own (private, as the user's is), in place
// of the user's while it lives.
class PrivateRuntimeFolder {
public:
    PrivateRuntimeFolder()
        : wasSet_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")),
          saved_(qgetenv("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(folder_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder_.path()));
    }
    ~PrivateRuntimeFolder() {
        if (wasSet_)
            qputenv("XDG_RUNTIME_DIR", saved_);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    bool isValid() const { return folder_.isValid(); }

private:
    QTemporaryDir folder_;
    bool wasSet_;
    QByteArray saved_;
};

// Pelora started again, from a thread of its own as from another process,
// while this thread goes on as the running Pelora.
std::unique_ptr<QThread> startAgain(const QStringList& files, const SingleInstance::Limits& limits,
                                    Outcome& outcome) {
    std::unique_ptr<QThread> thread(QThread::create([files, limits, &outcome] {
        SingleInstance later(display, listCapacity, limits);
        outcome = later.start(files);
    }));
    thread->start();
    return thread;
}

Outcome startAgain(const QStringList& files, const SingleInstance::Limits& limits = {}) {
    Outcome outcome = Outcome::Running;
    const std::unique_ptr<QThread> thread = startAgain(files, limits, outcome);
    while (!thread->wait(QDeadlineTimer(5)))
        QCoreApplication::processEvents();
    return outcome;
}

QByteArray header(quint32 bodyBytes) {
    QByteArray bytes("PLR1\0\0\0\0", HandoverMessage::headerBytes);
    qToBigEndian(bodyBytes, bytes.data() + 4);
    return bytes;
}

// One of the user's other processes on the socket, which sends `bytes` and
// then nothing.
std::unique_ptr<QLocalSocket> stranger(const QString& socketPath, const QByteArray& bytes) {
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(socketPath);
    EXPECT_TRUE(socket->waitForConnected(2000)) << socket->errorString().toStdString();
    socket->write(bytes);
    return socket;
}

bool connected(const std::vector<std::unique_ptr<QLocalSocket>>& sockets) {
    return std::all_of(sockets.begin(), sockets.end(), [](const auto& socket) {
        return socket->state() == QLocalSocket::ConnectedState;
    });
}

bool dropped(const std::vector<std::unique_ptr<QLocalSocket>>& sockets) {
    return std::none_of(sockets.begin(), sockets.end(), [](const auto& socket) {
        return socket->state() == QLocalSocket::ConnectedState;
    });
}

// Anyone of the user's processes can connect to the running Pelora and then
// send nothing, stop after the header, or send more than is held at once. A
// second start is taken all the same, at once. The idle and the stalled are
// dropped once their time is up; the one that sends too much, at once.
TEST(SingleInstance, ASecondStartIsTakenWhateverOtherConnectionsDo) {
    PrivateRuntimeFolder runtime;
    ASSERT_TRUE(runtime.isValid());
    SingleInstance::Limits limits;
    limits.messageMilliseconds = 1000;
    limits.heldBytes = 64 * 1024;
    SingleInstance running(display, listCapacity, limits);
    ASSERT_EQ(running.start({"/first.mid"}), Outcome::Running);
    QStringList taken;
    QObject::connect(&running, &SingleInstance::filesHandedOver,
                     [&taken](const QStringList& files) { taken = files; });

    ::testing::internal::CaptureStderr();
    std::vector<std::unique_ptr<QLocalSocket>> idle, stalled, flooding;
    for (int i = 0; i < 20; ++i)
        idle.push_back(stranger(running.socketPath(), {}));
    for (int i = 0; i < 10; ++i)
        stalled.push_back(stranger(running.socketPath(), header(1000)));
    flooding.push_back(stranger(running.socketPath(), header(200'000) + QByteArray(100'000, '/')));

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(startAgain({"/home/user/second.mid"}), Outcome::HandedOver);
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !taken.isEmpty(); }, 2000));
    EXPECT_EQ(taken, QStringList{"/home/user/second.mid"});

    EXPECT_TRUE(QTest::qWaitFor([&] { return dropped(flooding); }, 2000));
    EXPECT_TRUE(connected(idle) && connected(stalled))
        << "dropped before their time, with the one sending too much";
    EXPECT_TRUE(QTest::qWaitFor([&] { return dropped(idle) && dropped(stalled); }, 4000))
        << "connections that bring no message are never dropped";
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("too many bytes arrive at once"), std::string::npos) << said;
}

// A session goes on for hours: every handover is taken, however many came
// before, and whatever strangers stopped halfway and went away.
TEST(SingleInstance, EveryHandoverOfASessionIsTaken) {
    PrivateRuntimeFolder runtime;
    ASSERT_TRUE(runtime.isValid());
    SingleInstance::Limits limits;
    limits.heldBytes = 64 * 1024;
    SingleInstance running(display, listCapacity, limits);
    ASSERT_EQ(running.start({}), Outcome::Running);
    std::vector<QStringList> taken;
    QObject::connect(&running, &SingleInstance::filesHandedOver,
                     [&taken](const QStringList& files) { taken.push_back(files); });

    // Each handover is a quarter of what is held at once, and so is what
    // each stranger leaves unfinished.
    for (int round = 0; round < 12; ++round) {
        auto leaving = stranger(running.socketPath(), header(30'000) + QByteArray(16'000, '/'));
        ASSERT_TRUE(QTest::qWaitFor([&] { return leaving->bytesToWrite() == 0; }, 2000));
        leaving->disconnectFromServer();
        QStringList files;
        for (int i = 0; i < 160; ++i)
            files << QStringLiteral("/home/user/Music/round %1/%2.mid")
                         .arg(round)
                         .arg(i, 70, 10, QLatin1Char('0'));
        ASSERT_EQ(startAgain(files), Outcome::HandedOver) << "handover " << round + 1;
        ASSERT_TRUE(QTest::qWaitFor([&] { return int(taken.size()) == round + 1; }, 2000));
        EXPECT_EQ(taken.back(), files);
    }
}

// Two starts while the running Pelora is stopped (it does not serve its
// socket): the later waits for the lock file until the earlier gives up,
// then gives up in turn. Neither runs a second Pelora.
TEST(SingleInstance, StartsWhileTheRunningPeloraIsStoppedWaitTheirTurn) {
    PrivateRuntimeFolder runtime;
    ASSERT_TRUE(runtime.isValid());
    SingleInstance::Limits limits;
    limits.answerMilliseconds = 500;
    SingleInstance running(display, listCapacity);
    ASSERT_EQ(running.start({}), Outcome::Running);

    ::testing::internal::CaptureStderr();
    Outcome first = Outcome::HandedOver, second = Outcome::HandedOver;
    const auto one = startAgain({"/one.mid"}, limits, first);
    const auto other = startAgain({"/other.mid"}, limits, second);
    // This thread serves nothing meanwhile.
    one->wait();
    other->wait();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(first, Outcome::NoAnswer) << said;
    EXPECT_EQ(second, Outcome::NoAnswer) << said;
}

// A Pelora that is ending closes the connections it takes without answering,
// for a while: the start tries again until it finds no server, and runs.
// One that takes the connection and never answers makes the start give up,
// saying so.
TEST(SingleInstance, AStartTakesOverFromAPeloraThatIsEndingAndGivesUpOnASilentOne) {
    PrivateRuntimeFolder runtime;
    ASSERT_TRUE(runtime.isValid());
    SingleInstance::Limits limits;
    limits.answerMilliseconds = 300;
    limits.messageMilliseconds = 300;
    const QString socketPath = SingleInstance(display, listCapacity).socketPath();
    {
        QLocalServer ending;
        ASSERT_TRUE(ending.listen(socketPath));
        Outcome outcome = Outcome::NoAnswer;
        const auto later = startAgain({"/later.mid"}, limits, outcome);
        QElapsedTimer ends;
        ends.start();
        while (ends.elapsed() < 400)
            if (ending.waitForNewConnection(10))
                ending.nextPendingConnection()->abort();
        ending.close();
        later->wait();
        EXPECT_EQ(outcome, Outcome::Running);
    }
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(socketPath));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(startAgain({"/later.mid"}, limits), Outcome::NoAnswer);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("did not answer"), std::string::npos) << said;
}

} // namespace
