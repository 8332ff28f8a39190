#include "bench/RunningProgram.h"

#include <QFile>

#include <ctime>
#include <stdexcept>
#include <unistd.h>

namespace {

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

QByteArray procFile(qint64 pid, const char* name) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("benchmark: the measured program ended early");
    return file.readAll();
}

} // namespace

RunningProgram::RunningProgram(const QString& program, const QStringList& arguments,
                               const QProcessEnvironment& environment, bool hooked) {
    process_.setWorkingDirectory(folder_.path());
    process_.setProcessEnvironment(environment);
    process_.setStandardErrorFile(folder_.filePath("stderr.txt"));
    const long long started = monotonicNanoseconds();
    process_.start(program, arguments);
    if (!process_.waitForStarted(10000))
        throw std::runtime_error("benchmark: cannot start " + program.toStdString());
    if (!hooked)
        return;
    if (!process_.waitForReadyRead(30000))
        throw std::runtime_error("benchmark: " + program.toStdString() +
                                 " did not show its windows");
    bool ok = false;
    const long long shown = process_.readLine().trimmed().toLongLong(&ok);
    if (!ok)
        throw std::runtime_error("benchmark: no time from the hook");
    shownAfterMs_ = static_cast<double>(shown - started) / 1e6;
}

RunningProgram::~RunningProgram() {
    process_.kill();
    process_.waitForFinished();
}

double RunningProgram::residentMb() const {
    for (const QByteArray& line : procFile(process_.processId(), "status").split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    throw std::runtime_error("benchmark: no resident size");
}

double RunningProgram::cpuSeconds() const {
    const QByteArray stat = procFile(process_.processId(), "stat");
    // The fields after the command name, which may hold spaces.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.at(11).toDouble() + fields.at(12).toDouble(); // utime, stime
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}
