#include "player/Form1.h"

#include "app/Forms.h"
#include "app/Module1.h"
#include "app/Platform.h"
#include "playlist/Form2.h"

Form1::Form1() : MMC(platform().makeSequencer()) {
    setWindowTitle(QStringLiteral("Pelora"));
    setClientTwips(1380, 1290, 2040, 2535);
    Timer.setTimerType(Qt::PreciseTimer);
    Timer.setInterval(400);
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    Module1::intSpeed = 500;
    Module1::bytAnime = 1;
    forms::Form2().show();
    MMC->setNotify(false);
    MMC->setWait(true);
    MMC->setShareable(false);
    MMC->setDeviceType(QStringLiteral("Sequencer"));
    intFrame = 0;
    Timer.stop();
    Timer.setInterval(Module1::intSpeed);
}

void Form1::Form_Unload() {
    MMC->setCommand(QStringLiteral("Close"));
    forms::Form2().unload();
}

void Form1::cmdPlay_Click() {
    cmdStop_Click();
    setWindowTitle(Module1::strMidiFile);
    MMC->setFileName(Module1::strMidiFile);
    MMC->setCommand(QStringLiteral("Open"));
    MMC->setCommand(QStringLiteral("Play"));
    if (Module1::bytAnime == 1) {
        Timer.setInterval(Module1::intSpeed);
        Timer.start();
    }
}

void Form1::cmdStop_Click() {
    MMC->setCommand(QStringLiteral("Stop"));
    MMC->setCommand(QStringLiteral("Close"));
    Timer.stop();
    intFrame = 0;
}
