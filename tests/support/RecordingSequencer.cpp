#include "support/RecordingSequencer.h"

namespace {
QString flag(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }
} // namespace

QStringList& RecordingSequencer::log() {
    static QStringList entries;
    return entries;
}

void RecordingSequencer::setNotify(bool notify) { log() << "Notify=" + flag(notify); }
void RecordingSequencer::setWait(bool wait) { log() << "Wait=" + flag(wait); }
void RecordingSequencer::setShareable(bool shareable) { log() << "Shareable=" + flag(shareable); }
void RecordingSequencer::setDeviceType(const QString& type) { log() << "DeviceType=" + type; }
void RecordingSequencer::setFileName(const QString& fileName) { log() << "FileName=" + fileName; }
void RecordingSequencer::setCommand(const QString& command) { log() << "Command=" + command; }
