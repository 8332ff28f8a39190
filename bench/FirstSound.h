#pragma once

#include <QProcessEnvironment>
#include <QStringList>

// Milliseconds from a program's start to its first sound on the benchmark's
// sound server: the null sink's monitor is recorded in periods of 5 ms, and
// the first one holding a sample above -60 dB ends the count (the same
// recording delay for every program measured). The program is ended then.
// `hooked`: the benchmark's hook is preloaded (see RunningProgram), and
// `shownMs` receives when both windows had painted.
double firstSoundMs(const QString& program, const QStringList& arguments,
                    const QProcessEnvironment& environment, bool hooked = false,
                    double* shownMs = nullptr);
