#include "PlayerFixture.h"

#include "core/ErrorModel.h"
#include "app/Forms.h"
#include "app/Startup.h"
#include "player/Form1.h"
#include "player/FrameFiles.h"
#include "player/ImageView.h"
#include "support/RecordingSequencer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

Form1* PlayerFixture::start() {
    ErrorModel::event([] { Startup::run(); });
    return forms::Form1().isLoaded() ? &forms::Form1().load() : nullptr;
}

Form1& PlayerFixture::started() {
    Form1* form = start();
    EXPECT_TRUE(fatalReports.isEmpty()) << fatalReports.join('\n').toStdString();
    if (!form)
        throw std::runtime_error("the player window did not load");
    EXPECT_TRUE(form->isVisible());
    RecordingSequencer::log().clear();
    return *form;
}

int PlayerFixture::mascotFrame() const {
    Form1& form = forms::Form1().load();
    const QImage shown = form.imgMascot->pixmap().toImage();
    for (int i = 0; i < 4; ++i) {
        if (!shown.isNull() && shown == form.imgAnime[i]->pixmap().toImage())
            return i;
    }
    return -1;
}
