#pragma once

#include "app/FormBase.h"
#include "platform/SequencerDevice.h"

#include <QTimer>
#include <cstdint>
#include <memory>

// The player window.
class Form1 : public FormBase {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    void Form_Load() override;
    void Form_Unload() override;

    // Also called by the playlist window to play a list entry.
    void cmdPlay_Click();
    void cmdStop_Click();

    QTimer Timer;
    int16_t intFrame = 0;

private:
    std::unique_ptr<SequencerDevice> MMC;
};
