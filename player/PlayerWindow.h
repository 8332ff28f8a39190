#pragma once

#include "core/FileDialog.h"
#include "core/WindowBase.h"
#include "sound/Sequencer.h"
#include "state/SharedState.h"

#include <QList>
#include <QUrl>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class ImageView;
class PictureButton;
class QTimer;
class UserMessages;
class WindowHandle;

// The player window: the mascot above four picture buttons (load, pause,
// stop, play), the mascot's animation, the sequencer and the open dialog.
// It shows the playlist window beside itself and hides it when minimised.
//
// Controls carry object names (mascot, frame0..frame3, loadButton,
// pauseButton, stopButton, playButton, animationTimer) by which tests find them.
class PlayerWindow : public WindowBase {
    Q_OBJECT
public:
    // The sequencer and the messages outlive the window; the file dialog
    // comes from `makeFileDialog`.
    PlayerWindow(SharedState& state, WindowHandle& playlist, Sequencer& sequencer,
                 const FileDialog::Factory& makeFileDialog, UserMessages& messages);
    ~PlayerWindow() override;

    void loaded() override;
    void unloading() override;

    // The load button: asks for a MIDI file and plays it. A cancel or any
    // failure ends it quietly, with the mascot stopped.
    void chooseAndPlay();
    // A MIDI file chosen elsewhere (the command line, a second start, a
    // drop, the media controls): the load command's steps after its dialog.
    void playFile(const QString& fileName);
    // Plays the current file from its beginning; also a list entry's double-click.
    void play();
    // The media controls' play: a paused song goes on from where it was, as
    // the desktop expects of a player; anything else plays as play() does.
    void resumeOrPlay();
    void pause();
    void stop();
    void showPlaylist();
    // The animation timer's tick: the next of the four frames.
    void showNextFrame();
    // Hides the playlist when the player is minimised.
    void windowStateChanged();

    // The animation switch of the playlist: starting a running animation
    // leaves its count alone.
    void startAnimation();
    void stopAnimation();
    // The pace of the mascot; a running animation restarts its count.
    void setFrameInterval(int milliseconds);

signals:
    // The music was played, paused or stopped (the shared state's
    // playback), or the current file changed and plays: once a command.
    void playbackChanged();
    // Local files were dropped on the window, of which it takes MIDI files;
    // whoever opens them does so after the drop.
    void filesDropped(const QList<QUrl>& urls);

protected:
    void changeEvent(QEvent* event) override;
    // Local MIDI files may be dropped on the window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildDesign();
    void connectCommands();
    void loadAndPlay(const std::function<QString()>& chooseFile);
    // The stop command's steps, before it tells what plays.
    void halt();
    void setPlayback(Playback playback);

    SharedState& state_;
    WindowHandle& playlist_;

    ImageView* mascot_ = nullptr;
    std::array<ImageView*, 4> frames_{};
    PictureButton* loadButton_ = nullptr;
    PictureButton* pauseButton_ = nullptr;
    PictureButton* stopButton_ = nullptr;
    PictureButton* playButton_ = nullptr;
    QTimer* animationTimer_ = nullptr;

    // The frame the next tick shows.
    std::int16_t nextFrame_ = 0;

    Sequencer& sequencer_;
    std::unique_ptr<FileDialog> openDialog_;
    UserMessages& messages_;
};
