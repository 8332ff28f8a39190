#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A program the benchmark starts and watches from outside: when it showed
// its windows (for those run with the preloaded hook), its memory and its
// CPU time, as the kernel counts them.
class RunningProgram {
public:
    // `hooked`: the hook is preloaded and reports the first paint of both
    // windows; the program goes on running unless `leaveAfterShowing`.
    RunningProgram(const QString& program, const QStringList& arguments,
                   const QProcessEnvironment& environment, bool hooked);
    ~RunningProgram();

    // Milliseconds from the start to both windows painted.
    double shownAfterMs() const { return shownAfterMs_; }
    // Resident memory now, in MB.
    double residentMb() const;
    // CPU time so far (all threads), in seconds.
    double cpuSeconds() const;

private:
    QTemporaryDir folder_; // where it runs: no frame pictures, no files of ours
    QProcess process_;
    double shownAfterMs_ = 0;
};
