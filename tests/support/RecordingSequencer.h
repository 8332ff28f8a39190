#pragma once

#include "platform/SequencerDevice.h"

#include <QStringList>

// A sequencer that writes every property write into a log shared by all
// instances, as "Name=Value".
class RecordingSequencer : public SequencerDevice {
public:
    static QStringList& log();

    void setNotify(bool notify) override;
    void setWait(bool wait) override;
    void setShareable(bool shareable) override;
    void setDeviceType(const QString& deviceType) override;
    void setFileName(const QString& fileName) override;
    void setCommand(const QString& command) override;
};
