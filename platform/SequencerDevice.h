#pragma once

#include <QString>

// The MIDI sequencer that the player window drives. Callers only write
// properties and send command strings; nothing is ever read back.
//
// Order of use: Notify, Wait, Shareable and DeviceType once when the player
// window loads; then for every play: Command "Stop", "Close", FileName,
// Command "Open", "Play"; "pause" at any time; "Close" at the end.
// Command names match in any letter case.
//
// Every command that cannot be carried out (nothing opened, a missing or
// unplayable file, no SoundFont, no audio output) fails quietly: it changes
// nothing, throws nothing and shows nothing, and the device plays a good file
// afterwards.
class SequencerDevice {
public:
    virtual ~SequencerDevice() = default;

    virtual void setNotify(bool notify) = 0;
    virtual void setWait(bool wait) = 0;
    virtual void setShareable(bool shareable) = 0;
    virtual void setDeviceType(const QString& deviceType) = 0;
    virtual void setFileName(const QString& fileName) = 0;
    virtual void setCommand(const QString& command) = 0;
};
