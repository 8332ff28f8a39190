#pragma once

#include "app/FormBase.h"
#include "platform/FileDialog.h"
#include "platform/SequencerDevice.h"

#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>

class ImageView;
class PictureButton;

// The player window: the mascot above four picture buttons (load, pause,
// stop, play), the animation timer, the sequencer device and the open dialog.
class Form1 : public FormBase {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    void Form_Load() override;
    void Form_Unload() override;

    void cmdLoad_Click();
    // Also called by the playlist window to play a list entry.
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void Form_Resize();
    void imgMascot_Click();
    void Timer_Timer();

    // Controls, as the window's design names them.
    ImageView* imgMascot = nullptr;
    std::array<ImageView*, 4> imgAnime{};
    PictureButton* cmdLoad = nullptr;
    PictureButton* cmdPause = nullptr;
    PictureButton* cmdStop = nullptr;
    PictureButton* cmdPlay = nullptr;
    QTimer Timer;

    // The frame the next tick shows.
    int16_t intFrame = 0;

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildDesign();
    template <class Sender, class Signal>
    void route(Sender* sender, Signal signal, void (Form1::*handler)());

    std::unique_ptr<SequencerDevice> MMC;
    std::unique_ptr<FileDialog> CMD;
};
