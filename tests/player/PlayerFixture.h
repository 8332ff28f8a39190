#pragma once

#include "support/AppFixture.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class Form1;

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
    Form1* start();
    // Starts and expects start-up to have succeeded; the device log is then cleared.
    Form1& started();

    // The index of the frame on the mascot, or -1 when it shows none of them.
    int mascotFrame() const;

    QTemporaryDir workingFolder;

private:
    QString previousFolder_;
};
