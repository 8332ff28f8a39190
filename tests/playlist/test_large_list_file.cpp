#include "PlaylistFixture.h"

#include "playlist/ListFile.h"
#include "support/PeakMemory.h"
#include "support/ScriptedFileDialog.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// A list file from another program, or not a list file at all: a million
// lines, far more than a list can hold.
class LargeListFileTest : public PlaylistFixture {
protected:
    // Writes `lines` lines of about 40 bytes; the file's size.
    qint64 writeLines(const QString& path, int lines) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray block;
        for (int i = 0; i < lines; ++i) {
            block += "\"/home/user/Music/Track " + QByteArray::number(i) + ".mid\"\r\n";
            if (block.size() > (1 << 20) || i + 1 == lines) {
                file.write(block);
                block.clear();
            }
        }
        return file.size();
    }

    // Loads the file through "読込"; the most memory that took beyond what
    // was held before.
    std::int64_t load(const QString& path) {
        ScriptedFileDialog::answer(path);
        PeakMemory::reset();
        const std::int64_t before = PeakMemory::current();
        click("loadButton");
        return PeakMemory::peak() - before;
    }

    QTemporaryDir folder;
};

TEST_F(LargeListFileTest, AMillionLinesAreRefusedWithAMessageAndChangeNothing) {
    add("kept.mid");
    const QString path = folder.filePath("million.lst");
    const qint64 size = writeLines(path, 1'000'000);
    ASSERT_LT(size, ListFile::MaxFileBytes);

    const std::int64_t memory = load(path);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("million.lst"));
    EXPECT_TRUE(messages[0].contains(QString::number(ListFile::MaxEntries)));
    EXPECT_EQ(shownEntries(), QStringList({"kept.mid"}));
    EXPECT_EQ(playlist().windowTitle(), "MidiList");
    // The bytes and the buffer they are converted into (twice their size);
    // the entries stop at the limit instead of taking as much again.
    if (PeakMemory::measurable()) {
        EXPECT_LT(memory, 4 * size);
    }
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(LargeListFileTest, AFileLargerThanAnyListIsRefusedUnread) {
    add("kept.mid");
    const QString path = folder.filePath("huge.lst");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(ListFile::MaxFileBytes + 1)); // sparse: no disk used
    file.close();

    const std::int64_t memory = load(path);
    if (PeakMemory::measurable()) {
        EXPECT_LT(memory, ListFile::MaxFileBytes / 16);
    }
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("huge.lst"));
    EXPECT_EQ(shownEntries(), QStringList({"kept.mid"}));
    EXPECT_EQ(playlist().windowTitle(), "MidiList");
}

} // namespace
