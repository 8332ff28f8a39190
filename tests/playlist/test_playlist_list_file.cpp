#include "PlaylistFixture.h"

#include "playlist/ListFile.h"
#include "support/ScriptedFileDialog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

namespace {

const QString listFilter = QStringLiteral("演奏リスト(*.lst)|*.lst|全てのファイル|*.*");

class PlaylistListFileTest : public PlaylistFixture {
protected:
    QString path(const QString& name) const { return folder.filePath(name); }

    static QByteArray bytesOf(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
    }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    static void save(const QString& file) {
        ScriptedFileDialog::answer(file);
        click("saveButton");
    }
    static void load(const QString& file) {
        ScriptedFileDialog::answer(file);
        click("loadButton");
    }

    QTemporaryDir folder;
};

TEST_F(PlaylistListFileTest, SaveWritesEveryEntryInOrderAndTheCaptionBecomesThePath) {
    add("B.mid");
    add("C:\\MIDI\\a, b.mid");
    add("a.mid");
    save(path("songs.lst"));
    EXPECT_EQ(bytesOf(path("songs.lst")),
              QByteArray("\"a.mid\"\r\n\"B.mid\"\r\n\"C:\\MIDI\\a, b.mid\"\r\n"));
    EXPECT_EQ(playlist().windowTitle(), path("songs.lst"));
    EXPECT_EQ(ScriptedFileDialog::shows(), QStringList({"save " + listFilter}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PlaylistListFileTest, LoadReplacesTheListKeepingTheFilesOrderAmongEqualEntries) {
    add("old.mid");
    write(path("in.lst"), "\"b.mid\"\r\n\"B.mid\"\r\n\"A.mid\",\"x, y.mid\"\r\n\r\n");
    load(path("in.lst"));
    EXPECT_EQ(shownEntries(), QStringList({"", "A.mid", "b.mid", "B.mid", "x, y.mid"}));
    EXPECT_EQ(playlist().windowTitle(), path("in.lst"));
    EXPECT_EQ(ScriptedFileDialog::shows(), QStringList({"open " + listFilter}));
}

TEST_F(PlaylistListFileTest, ASavedListLoadsBackIntoAFreshWindowUnchanged) {
    for (const char* file : {"b.MID", "B.mid", "/m/日本語 の曲.mid", "", "a.mid", "b.mid"})
        add(QString::fromUtf8(file));
    const QStringList saved = shownEntries();
    save(path("round.lst"));
    playlist().close();
    flushDeletes();
    load(path("round.lst"));
    EXPECT_EQ(shownEntries(), saved);
}

TEST_F(PlaylistListFileTest, AnEmptyListIsAnEmptyFileAndLoadingItEmptiesTheList) {
    save(path("empty.lst"));
    EXPECT_EQ(bytesOf(path("empty.lst")), QByteArray());
    add("a.mid");
    playlist().setWindowTitle("MidiList");
    load(path("empty.lst"));
    EXPECT_TRUE(shownEntries().isEmpty());
    EXPECT_EQ(playlist().windowTitle(), path("empty.lst"));
}

TEST_F(PlaylistListFileTest, ACancelledDialogChangesNothingAndSaysNothing) {
    add("a.mid");
    ScriptedFileDialog::cancel();
    click("saveButton");
    ScriptedFileDialog::cancel();
    click("loadButton");
    EXPECT_EQ(shownEntries(), QStringList({"a.mid"}));
    EXPECT_EQ(playlist().windowTitle(), "MidiList");
    EXPECT_EQ(ScriptedFileDialog::shows().size(), 2);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlaylistListFileTest, AFailedSaveNamesTheFileAndLeavesListCaptionAndDiskAsTheyWere) {
    add("a.mid");
    save(path("first.lst"));
    write(path("second.lst"), "\"old.mid\"\r\n");
    // A file its owner made read-only is not replaced.
    QFile::setPermissions(path("second.lst"), QFileDevice::ReadOwner);
    save(path("second.lst"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("second.lst"));
    EXPECT_EQ(bytesOf(path("second.lst")), QByteArray("\"old.mid\"\r\n"));
    EXPECT_EQ(playlist().windowTitle(), path("first.lst"));
    EXPECT_EQ(shownEntries(), QStringList({"a.mid"}));

    save(path("no-such-folder/third.lst"));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("third.lst"));
    EXPECT_EQ(playlist().windowTitle(), path("first.lst"));
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlaylistListFileTest, AFailedLoadNamesTheFileAndLeavesListAndCaptionAsTheyWere) {
    add("a.mid");
    load(path("missing.lst"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("missing.lst"));

    write(path("huge.lst"), QByteArray("\"x.mid\"\r\n").repeated(SortedList::MaxEntries + 1));
    load(path("huge.lst"));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("huge.lst"));
    EXPECT_EQ(shownEntries(), QStringList({"a.mid"}));
    EXPECT_EQ(playlist().windowTitle(), "MidiList");
    EXPECT_TRUE(fatalReports.isEmpty());
}

} // namespace
