#pragma once

#include "sound/Sequencer.h"

#include <QStringList>

// A sequencer that writes every call into a log shared by all instances:
// "open <file>", "play", "pause", "stop", "seek <µs>", "loop on|off",
// "volume <v>".
class RecordingSequencer : public Sequencer {
public:
    static QStringList& log();

    void open(const QString& fileName) override;
    void play() override;
    void pause() override;
    void stop() override;
    void seek(std::chrono::microseconds position) override;
    void setLooping(bool track) override;
    void setVolume(double volume) override;
    SoundState state() const override { return {}; }
};
