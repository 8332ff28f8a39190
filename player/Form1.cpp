#include "player/Form1.h"

#include "app/ErrorModel.h"
#include "app/Forms.h"
#include "app/Module1.h"
#include "app/Platform.h"
#include "player/FrameCounter.h"
#include "player/FrameFiles.h"
#include "player/ImageView.h"
#include "player/PictureButton.h"
#include "playlist/Form2.h"

#include <QEvent>
#include <QIcon>
#include <QPalette>
#include <QPixmap>

namespace {

QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

PictureButton* pictureButton(const char* name, QWidget* parent) {
    const QString base = QStringLiteral(":/buttons/%1").arg(QLatin1String(name));
    return new PictureButton(base + QStringLiteral(".jpg"), base + QStringLiteral("_down.jpg"),
                             parent);
}

} // namespace

Form1::Form1() {
    buildDesign();
}

Form1::~Form1() = default;

// The window as designed. Children are created in the reverse of the stored
// order (cmdPlay, Timer, cmdStop, cmdPause, cmdLoad, CMD, MMC, imgAnime(3)
// .. imgAnime(0), imgMascot), so that the first one stored lies on top where
// controls overlap: the buttons above the mascot, cmdPlay above the row.
void Form1::buildDesign() {
    setWindowTitle(QStringLiteral("Pelora"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icon/pelora.ico")));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setClientTwips(1380, 1290, 2040, 2535);

    imgMascot = new ImageView(this);
    imgMascot->setGeometry(twipsRect(0, 0, 2055, 2055));
    const std::array<QPoint, 4> animeCorners{{{2280, 0}, {4080, 0}, {5880, 0}, {3840, 960}}};
    for (std::size_t i = 0; i < imgAnime.size(); ++i) {
        imgAnime[i] = new ImageView(this);
        imgAnime[i]->setGeometry(twipsRect(animeCorners[i].x(), animeCorners[i].y(), 1815, 2055));
    }

    MMC = platform().makeSequencer();
    CMD = platform().makeFileDialog(
        QStringLiteral("MIDI(*.mid;*.rmi)|*.mid;*.rmi|全てのファイル(*.*)|*.*"));

    cmdLoad = pictureButton("load", this);
    cmdLoad->setGeometry(twipsRect(0, 2040, 615, 255));
    cmdPause = pictureButton("pause", this);
    cmdPause->setGeometry(twipsRect(600, 2040, 855, 255));
    cmdStop = pictureButton("stop", this);
    cmdStop->setGeometry(twipsRect(1440, 2040, 615, 255));

    // Replaced by Form_Load before the first tick could come.
    Timer.setTimerType(Qt::PreciseTimer);
    Timer.setInterval(400);
    Timer.start();

    cmdPlay = pictureButton("play", this);
    cmdPlay->setGeometry(twipsRect(0, 2280, 2055, 255));

    setTabOrder(cmdLoad, cmdPause);
    setTabOrder(cmdPause, cmdStop);
    setTabOrder(cmdStop, cmdPlay);

    route(cmdLoad, &QAbstractButton::clicked, &Form1::cmdLoad_Click);
    route(cmdPause, &QAbstractButton::clicked, &Form1::cmdPause_Click);
    route(cmdStop, &QAbstractButton::clicked, &Form1::cmdStop_Click);
    route(cmdPlay, &QAbstractButton::clicked, &Form1::cmdPlay_Click);
    route(imgMascot, &ImageView::clicked, &Form1::imgMascot_Click);
    route(&Timer, &QTimer::timeout, &Form1::Timer_Timer);
}

template <class Sender, class Signal>
void Form1::route(Sender* sender, Signal signal, void (Form1::*handler)()) {
    connect(sender, signal, this,
            [this, handler] { ErrorModel::event([this, handler] { (this->*handler)(); }); });
}

// The window's size is fixed, so only minimising and restoring resize it.
void Form1::changeEvent(QEvent* event) {
    FormBase::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        ErrorModel::event([this] { Form_Resize(); });
}

void Form1::Form_Load() {
    Module1::intSpeed = 500;
    Module1::bytAnime = 1;
    forms::Form2().show();
    const FrameFiles frames;
    for (std::size_t i = 0; i < imgAnime.size(); ++i)
        imgAnime[i]->setPixmap(QPixmap::fromImage(frames.load(static_cast<int>(i))));
    imgMascot->setPixmap(imgAnime[0]->pixmap());
    intFrame = 0;
    Timer.stop();
    Timer.setInterval(Module1::intSpeed);
}

void Form1::Form_Unload() {
    MMC->close();
    forms::Form2().unload();
}

void Form1::Form_Resize() {
    if (isMinimized())
        forms::Form2().hide();
}

void Form1::cmdLoad_Click() {
    Timer.stop();
    ErrorModel::trap([this] {
        CMD->ShowOpen();
        Module1::strMidiFile = CMD->FileName();
        cmdPlay_Click();
    });
}

void Form1::cmdPlay_Click() {
    cmdStop_Click();
    setCaption(Module1::strMidiFile);
    MMC->open(Module1::strMidiFile);
    MMC->play();
    if (Module1::bytAnime == 1) {
        Timer.setInterval(Module1::intSpeed);
        Timer.start();
    }
}

void Form1::cmdPause_Click() {
    MMC->pause();
}

void Form1::cmdStop_Click() {
    MMC->stop();
    MMC->close();
    Timer.stop();
    intFrame = 0;
}

void Form1::imgMascot_Click() {
    forms::Form2().show();
}

void Form1::Timer_Timer() {
    imgMascot->setPixmap(imgAnime[intFrame]->pixmap());
    intFrame = FrameCounter::next(intFrame);
}
