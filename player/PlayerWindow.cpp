#include "player/PlayerWindow.h"

#include "core/ErrorModel.h"
#include "core/FileDrop.h"
#include "core/ProgramIcon.h"
#include "core/UserMessages.h"
#include "core/WindowInstance.h"
#include "player/FrameCounter.h"
#include "player/FrameFiles.h"
#include "player/ImageView.h"
#include "player/PictureButton.h"
#include "system/IncomingFiles.h"
#include "texts/Texts.h"

#include <QEvent>
#include <QMimeData>
#include <QPalette>
#include <QPixmap>
#include <QTimer>

namespace {

PictureButton* pictureButton(const char* name, QWidget* parent) {
    const QString base = QStringLiteral(":/buttons/%1").arg(QLatin1String(name));
    auto* button = new PictureButton(base + QStringLiteral(".jpg"),
                                     base + QStringLiteral("_down.jpg"), parent);
    button->setObjectName(QStringLiteral("%1Button").arg(QLatin1String(name)));
    return button;
}

// What a screen reader says for a control, and its tooltip: what it does.
void describe(QWidget* control, Texts::Control which) {
    const Texts::ControlText text = Texts::control(which);
    control->setAccessibleName(text.name);
    control->setToolTip(text.tip);
}

} // namespace

PlayerWindow::PlayerWindow(SharedState& state, WindowHandle& playlist, Sequencer& sequencer,
                           const FileDialog::Factory& makeFileDialog, UserMessages& messages)
    : state_(state), playlist_(playlist), sequencer_(sequencer),
      openDialog_(makeFileDialog(Texts::midiFileFilter(), QStringLiteral("midiFiles"))),
      messages_(messages) {
    buildDesign();
    connectCommands();
    setAcceptDrops(true);
}

PlayerWindow::~PlayerWindow() = default;

// Where controls overlap, the one created last lies on top: the buttons are
// created after the mascot, and the play button last of all.
void PlayerWindow::buildDesign() {
    setWindowTitle(QStringLiteral("Pelora"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon::icon());
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setClientTwips(1380, 1290, 2040, 2535);

    mascot_ = new ImageView(this);
    mascot_->setObjectName(QStringLiteral("mascot"));
    mascot_->setGeometry(twipsRect(0, 0, 2055, 2055));
    // The four frames wait outside the window's client area, where they are
    // never seen; hidden, screen readers do not tell of them either.
    const std::array<QPoint, 4> frameCorners{{{2280, 0}, {4080, 0}, {5880, 0}, {3840, 960}}};
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        frames_[i] = new ImageView(this);
        frames_[i]->setObjectName(QStringLiteral("frame%1").arg(i));
        frames_[i]->setGeometry(twipsRect(frameCorners[i].x(), frameCorners[i].y(), 1815, 2055));
        frames_[i]->hide();
    }

    loadButton_ = pictureButton("load", this);
    loadButton_->setGeometry(twipsRect(0, 2040, 615, 255));
    pauseButton_ = pictureButton("pause", this);
    pauseButton_->setGeometry(twipsRect(600, 2040, 855, 255));
    stopButton_ = pictureButton("stop", this);
    stopButton_->setGeometry(twipsRect(1440, 2040, 615, 255));

    animationTimer_ = new QTimer(this);
    animationTimer_->setObjectName(QStringLiteral("animationTimer"));
    animationTimer_->setTimerType(Qt::PreciseTimer);
    // Replaced by loaded() before the first tick could come.
    animationTimer_->setInterval(400);
    animationTimer_->start();

    playButton_ = pictureButton("play", this);
    playButton_->setGeometry(twipsRect(0, 2280, 2055, 255));

    // Tab goes round: the mascot, first of the window's controls, follows
    // the play button. The load button has the focus when the window opens.
    mascot_->setFocusPolicy(Qt::TabFocus);
    setTabOrder(loadButton_, pauseButton_);
    setTabOrder(pauseButton_, stopButton_);
    setTabOrder(stopButton_, playButton_);
    loadButton_->setFocus();

    describe(mascot_, Texts::Control::Mascot);
    describe(loadButton_, Texts::Control::LoadButton);
    describe(pauseButton_, Texts::Control::PauseButton);
    describe(stopButton_, Texts::Control::StopButton);
    describe(playButton_, Texts::Control::PlayButton);
}

void PlayerWindow::connectCommands() {
    route(loadButton_, &QAbstractButton::clicked, &PlayerWindow::chooseAndPlay);
    route(pauseButton_, &QAbstractButton::clicked, &PlayerWindow::pause);
    route(stopButton_, &QAbstractButton::clicked, &PlayerWindow::stop);
    route(playButton_, &QAbstractButton::clicked, &PlayerWindow::play);
    route(mascot_, &ImageView::clicked, &PlayerWindow::showPlaylist);
    route(animationTimer_, &QTimer::timeout, &PlayerWindow::showNextFrame);
    // The sequencer fails quietly; where that would leave the user with a
    // dancing mascot and no music, it says why once the command is done.
    connect(&sequencer_, &Sequencer::problem, this, [this](const SoundProblem& problem) {
        ErrorModel::event([&] { messages_.show(Texts::soundProblem(problem)); });
    });
}

// The window's size is fixed, so only minimising and restoring change its state.
void PlayerWindow::changeEvent(QEvent* event) {
    WindowBase::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        ErrorModel::event([this] { windowStateChanged(); });
}

void PlayerWindow::loaded() {
    state_.frameInterval = 500;
    state_.animation = AnimationSwitch::On;
    playlist_.show();
    const FrameFiles files;
    for (std::size_t i = 0; i < frames_.size(); ++i)
        frames_[i]->setPixmap(
            QPixmap::fromImage(files.load(static_cast<int>(i), devicePixelRatioF())));
    mascot_->setPixmap(frames_[0]->pixmap());
    nextFrame_ = 0;
    animationTimer_->stop();
    animationTimer_->setInterval(state_.frameInterval);
}

void PlayerWindow::unloading() {
    sequencer_.stop();
    setPlayback(Playback::Stopped);
    playlist_.unload();
}

void PlayerWindow::windowStateChanged() {
    if (isMinimized())
        playlist_.hide();
}

void PlayerWindow::chooseAndPlay() {
    // The sound gets ready while the user chooses.
    sequencer_.prepare();
    loadAndPlay([this] {
        openDialog_->showOpen();
        return openDialog_->fileName();
    });
}

void PlayerWindow::playFile(const QString& fileName) {
    loadAndPlay([&fileName] { return fileName; });
}

void PlayerWindow::loadAndPlay(const std::function<QString()>& chooseFile) {
    animationTimer_->stop();
    ErrorModel::trap([&] {
        state_.currentFile = chooseFile();
        play();
    });
}

void PlayerWindow::play() {
    halt();
    setCaption(state_.currentFile);
    sequencer_.open(state_.currentFile);
    sequencer_.play();
    setPlayback(Playback::Playing);
    if (state_.animation == AnimationSwitch::On) {
        animationTimer_->setInterval(state_.frameInterval);
        animationTimer_->start();
    }
}

void PlayerWindow::pause() {
    sequencer_.pause();
    if (state_.playback == Playback::Playing)
        setPlayback(Playback::Paused);
}

void PlayerWindow::resumeOrPlay() {
    if (state_.playback != Playback::Paused) {
        play();
        return;
    }
    sequencer_.play();
    setPlayback(Playback::Playing);
}

void PlayerWindow::stop() {
    halt();
    setPlayback(Playback::Stopped);
}

void PlayerWindow::halt() {
    sequencer_.stop();
    animationTimer_->stop();
    nextFrame_ = 0;
}

void PlayerWindow::setPlayback(Playback playback) {
    state_.playback = playback;
    emit playbackChanged();
}

void PlayerWindow::showPlaylist() {
    playlist_.show();
}

void PlayerWindow::showNextFrame() {
    mascot_->setPixmap(frames_[nextFrame_]->pixmap());
    nextFrame_ = FrameCounter::next(nextFrame_);
}

void PlayerWindow::startAnimation() {
    if (!animationTimer_->isActive())
        animationTimer_->start();
}

void PlayerWindow::stopAnimation() {
    animationTimer_->stop();
}

void PlayerWindow::setFrameInterval(int milliseconds) {
    animationTimer_->setInterval(milliseconds);
}

namespace {

bool takes(const QMimeData& drag) {
    return !IncomingFiles::fromDrag(drag.urls()).withoutListFiles().isEmpty();
}

} // namespace

void PlayerWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (takes(*event->mimeData()))
        FileDrop::accept(*event);
}

// Only a drag the window took at its entry ends in a drop here.
void PlayerWindow::dropEvent(QDropEvent* event) {
    FileDrop::accept(*event);
    emit filesDropped(event->mimeData()->urls());
}
