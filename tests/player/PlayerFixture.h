#pragma once

#include "support/AppFixture.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class ImageView;
class PictureButton;
class PlayerWindow;
class QTimer;

// A program about to start from a fresh working directory of its own. By
// default the directory holds the four frame files; tests that need other
// frames clear it first. The frames beside the test program stand in for the
// program's data folder.
class PlayerFixture : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    static QString dataFolder();
    static QImage dataFrame(int index);

    // Removes every frame file from the working directory.
    void clearFrames();
    // Copies frame `from` of the data folder into the working directory as `name`.
    void putFrame(int from, const QString& name);

    // Runs the program's start-up as main() does; the player window, if loaded.
    PlayerWindow* start();
    // Starts and expects start-up to have succeeded; the sequencer's log is then cleared.
    PlayerWindow& started();

    // The player window's controls, found by their names.
    static PlayerWindow& player();
    static PictureButton* button(const char* name); // "load", "pause", "stop", "play"
    static ImageView* mascot();
    static ImageView* frame(int index);
    static QTimer* animationTimer();

    // The index of the frame on the mascot, or -1 when it shows none of them.
    int mascotFrame() const;

    QTemporaryDir workingFolder;

private:
    QString previousFolder_;
};
