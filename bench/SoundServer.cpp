#include "bench/SoundServer.h"

#include <QFile>
#include <QThread>

#include <signal.h>
#include <stdexcept>

namespace {

bool answers() {
    QProcess info;
    info.setStandardOutputFile(QProcess::nullDevice());
    info.setStandardErrorFile(QProcess::nullDevice());
    info.start("pactl", {"info"});
    return info.waitForFinished(5000) && info.exitCode() == 0;
}

} // namespace

SoundServer& SoundServer::shared() {
    static SoundServer server;
    return server;
}

SoundServer::SoundServer() {
    const QString socket = folder_.filePath("native");
    QFile script(folder_.filePath("default.pa"));
    if (!script.open(QIODevice::WriteOnly))
        throw std::runtime_error("benchmark: cannot write the sound server's script");
    script.write(QStringLiteral("load-module module-null-sink sink_name=bench rate=44100 "
                                "channels=2\nload-module module-native-protocol-unix "
                                "auth-anonymous=1 socket=%1\nset-default-sink bench\n")
                     .arg(socket)
                     .toUtf8());
    script.close();
    QFile client(folder_.filePath("client.conf"));
    if (!client.open(QIODevice::WriteOnly))
        throw std::runtime_error("benchmark: cannot write the sound server's client settings");
    client.write("autospawn = no\n");
    client.close();
    qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
    qputenv("PULSE_CLIENTCONFIG", client.fileName().toUtf8());
    qputenv("PULSE_RUNTIME_PATH", folder_.filePath("runtime").toUtf8());
    qputenv("PULSE_STATE_PATH", folder_.filePath("state").toUtf8());
    // No display and no session bus: the daemon keeps to itself.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    daemon_.setProcessEnvironment(environment);
    daemon_.setStandardOutputFile(QProcess::nullDevice());
    daemon_.setStandardErrorFile(QProcess::nullDevice());
    daemon_.start("pulseaudio",
                  {"-n", "-F", script.fileName(), "--daemonize=no", "--exit-idle-time=-1",
                   "--use-pid-file=no", "--realtime=no", "--high-priority=no"});
    for (int i = 0; i < 100 && daemon_.state() != QProcess::NotRunning; ++i) {
        if (QFile::exists(socket) && answers())
            return;
        QThread::msleep(50);
    }
    throw std::runtime_error("benchmark: the PulseAudio daemon did not start");
}

SoundServer::~SoundServer() {
    answerAgain();
    daemon_.terminate();
    daemon_.waitForFinished();
}

void SoundServer::stopAnswering() {
    ::kill(static_cast<pid_t>(daemon_.processId()), SIGSTOP);
}

void SoundServer::answerAgain() {
    ::kill(static_cast<pid_t>(daemon_.processId()), SIGCONT);
}
