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
void RecordingSequencer::seek(std::chrono::microseconds position) {
    log() << "seek " + QString::number(position.count());
}
void RecordingSequencer::setLooping(bool track) {
    log() << (track ? "loop on" : "loop off");
}
void RecordingSequencer::setVolume(double volume) {
    log() << "volume " + QString::number(volume);
}
