#include "support/RecordingSequencer.h"

QStringList& RecordingSequencer::log() {
    static QStringList entries;
    return entries;
}

void RecordingSequencer::open(const QString& fileName) {
    log() << "open " + fileName;
}

void RecordingSequencer::play() {
    log() << "play";
}

void RecordingSequencer::pause() {
    log() << "pause";
}

void RecordingSequencer::stop() {
    log() << "stop";
}

void RecordingSequencer::close() {
    log() << "close";
}
