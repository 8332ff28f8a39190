#pragma once

#include <QProcess>
#include <QTemporaryDir>

// A PulseAudio daemon of the benchmark's own with a null sink, for the whole
// run: what the benchmark and the programs it starts play into. It can be
// stopped (SIGSTOP) to stand for a sound server that no longer answers.
class SoundServer {
public:
    static SoundServer& shared();
    ~SoundServer();

    void stopAnswering();
    void answerAgain();

private:
    SoundServer();
    QTemporaryDir folder_;
    QProcess daemon_;
};
