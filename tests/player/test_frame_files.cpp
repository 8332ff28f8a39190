#include "core/Errors.h"
#include "player/FrameCounter.h"
#include "player/FrameFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FrameCounter, StepsThroughTheFourFramesAndWraps) {
    int16_t frame = 0;
    std::vector<int16_t> shown;
    for (int i = 0; i < 9; ++i) {
        shown.push_back(frame);
        frame = FrameCounter::next(frame);
    }
    EXPECT_EQ(shown, (std::vector<int16_t>{0, 1, 2, 3, 0, 1, 2, 3, 0}));
}

class FrameFilesTest : public ::testing::Test {
protected:
    QString folder(const QString& name, std::initializer_list<int> frames) {
        const QString path = root.filePath(name);
        QDir().mkpath(path);
        for (int i : frames) {
            QFile::copy(QCoreApplication::applicationDirPath() + "/" + FrameFiles::fileName(i),
                        path + "/" + FrameFiles::fileName(i));
        }
        return path;
    }

    // The text of the failure that loading frame `index` raises, or "" when it loads.
    static QString failure(const FrameFiles& files, int index) {
        try {
            files.load(index, 1);
        } catch (const PeloraError& e) {
            return e.message();
        }
        return {};
    }

    QTemporaryDir root;
};

TEST_F(FrameFilesTest, TheWorkingDirectoryWinsWhenItHoldsAllFour) {
    const QString working = folder("work", {0, 1, 2, 3});
    const FrameFiles files(working, {folder("data", {0, 1, 2, 3})});
    EXPECT_EQ(files.folder(), working);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(failure(files, i), "");
        EXPECT_EQ(files.load(i, 1).size(), QSize(121, 137));
    }
}

TEST_F(FrameFilesTest, AWorkingDirectoryWithSomeFramesFailsAtTheFirstMissingOne) {
    const QString working = folder("work", {0, 1, 3});
    const FrameFiles files(working, {folder("data", {0, 1, 2, 3})});
    EXPECT_EQ(files.folder(), working);
    EXPECT_EQ(failure(files, 1), "");
    const QString message = failure(files, 2);
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(working + "/A2.gif")))
        << message.toStdString();
}

TEST_F(FrameFilesTest, WithNoneInTheWorkingDirectoryTheFirstDataFolderHoldingThemIsUsed) {
    const QString data = folder("share", {0, 1, 2, 3});
    const FrameFiles files(folder("work", {}), {folder("empty", {}), data});
    EXPECT_EQ(files.folder(), data);
    EXPECT_EQ(failure(files, 3), "");
}

TEST_F(FrameFilesTest, WithNoneAnywhereTheFailureNamesTheFileAndEveryPlaceSearched) {
    const QString working = folder("work", {});
    const QString data = folder("data", {});
    const QString message = failure(FrameFiles(working, {data}), 0);
    EXPECT_TRUE(message.contains("A0.gif"));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(working)));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(data)));
}

TEST_F(FrameFilesTest, AFileThatIsNoPictureOrAFolderFailsNamingIt) {
    const QString working = folder("work", {0});
    QFile text(working + "/A1.gif");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    QDir(working).mkdir("A2.gif");
    const FrameFiles files(working, {});
    EXPECT_TRUE(failure(files, 1).contains("A1.gif"));
    EXPECT_TRUE(failure(files, 2).contains("A2.gif"));
}

} // namespace
