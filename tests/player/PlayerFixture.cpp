#include "PlayerFixture.h"

#include "app/Windows.h"
#include "core/ErrorModel.h"
#include "player/FrameFiles.h"
#include "player/ImageView.h"
#include "player/PictureButton.h"
#include "player/PlayerWindow.h"
#include "support/RecordingSequencer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <stdexcept>

void PlayerFixture::SetUp() {
    AppFixture::SetUp();
    ASSERT_TRUE(workingFolder.isValid());
    previousFolder_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(workingFolder.path()));
    for (int i = 0; i < 4; ++i)
        putFrame(i, FrameFiles::fileName(i));
}

void PlayerFixture::TearDown() {
    AppFixture::TearDown();
    QDir::setCurrent(previousFolder_);
}

QString PlayerFixture::dataFolder() {
    return QCoreApplication::applicationDirPath();
}

QImage PlayerFixture::dataFrame(int index) {
    return QImage(QDir(dataFolder()).filePath(FrameFiles::fileName(index)));
}

void PlayerFixture::clearFrames() {
    for (int i = 0; i < 4; ++i)
        QFile::remove(QDir(workingFolder.path()).filePath(FrameFiles::fileName(i)));
}

void PlayerFixture::putFrame(int from, const QString& name) {
    const QString target = QDir(workingFolder.path()).filePath(name);
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(QDir(dataFolder()).filePath(FrameFiles::fileName(from)), target));
}

PlayerWindow* PlayerFixture::start() {
    ErrorModel::event([] { windows().start(); });
    return windows().player().isLoaded() ? &windows().player().load() : nullptr;
}

PlayerWindow& PlayerFixture::started() {
    PlayerWindow* window = start();
    EXPECT_TRUE(fatalReports.isEmpty()) << fatalReports.join('\n').toStdString();
    if (!window)
        throw std::runtime_error("the player window did not load");
    EXPECT_TRUE(window->isVisible());
    RecordingSequencer::log().clear();
    return *window;
}

PlayerWindow& PlayerFixture::player() {
    return windows().player().load();
}

PictureButton* PlayerFixture::button(const char* name) {
    return control<PictureButton>(player(), (std::string(name) + "Button").c_str());
}

ImageView* PlayerFixture::mascot() {
    return control<ImageView>(player(), "mascot");
}

ImageView* PlayerFixture::frame(int index) {
    return control<ImageView>(player(), ("frame" + std::to_string(index)).c_str());
}

QTimer* PlayerFixture::animationTimer() {
    return control<QTimer>(player(), "animationTimer");
}

int PlayerFixture::mascotFrame() const {
    const QImage shown = mascot()->pixmap().toImage();
    for (int i = 0; i < 4; ++i) {
        if (!shown.isNull() && shown == frame(i)->pixmap().toImage())
            return i;
    }
    return -1;
}
