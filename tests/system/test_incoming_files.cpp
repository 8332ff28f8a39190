#include "outside/HandoverMessage.h"
#include "support/MidiFileBuilder.h"
#include "system/IncomingFiles.h"
#include "system/ProgramArguments.h"
#include "texts/Texts.h"

#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// A folder of files as an archive unpacks them, names given as bytes.
class IncomingFilesTest : public ::testing::Test {
protected:
    // Qt's own removal cannot list names it cannot decode.
    ~IncomingFilesTest() override { std::filesystem::remove_all(folder_.path().toStdString()); }

    QByteArray pathOf(const QByteArray& name) const {
        return QFile::encodeName(folder_.path()) + '/' + name;
    }
    // The path as Qt shows it.
    QString shown(const QByteArray& name) const { return QFile::decodeName(pathOf(name)); }

    void makeFile(const QByteArray& name, const Bytes& content) const {
        MidiFileBuilder::write(pathOf(name).toStdString(), content);
    }
    void makeFile(const QByteArray& name, const std::string& content) const {
        makeFile(name, Bytes(content.begin(), content.end()));
    }
    void makeFolder(const QByteArray& name) const {
        std::filesystem::create_directory(pathOf(name).toStdString());
    }

    // A drag as a file manager offers it: each file by its bytes, percent-encoded.
    std::unique_ptr<QMimeData> dragOf(const QList<QByteArray>& names) const {
        QByteArray uris;
        for (const QByteArray& name : names) {
            uris +=
                name.startsWith("http:") ? name : "file://" + pathOf(name).toPercentEncoding("/");
            uris += "\r\n";
        }
        auto data = std::make_unique<QMimeData>();
        data->setData(QStringLiteral("text/uri-list"), uris);
        return data;
    }

    static QStringList pathsOf(const std::vector<IncomingFiles::Unreadable>& files) {
        QStringList paths;
        for (const IncomingFiles::Unreadable& file : files)
            paths << file.path;
        return paths;
    }

private:
    QTemporaryDir folder_;
};

TEST_F(IncomingFilesTest, ListAndMidiFilesAreKnownByNameInAnyCaseOrByFirstBytesAndFoldersNever) {
    makeFile("tune.rmi", MidiFileBuilder::rmid(MidiFileBuilder::song()));
    makeFile("Songs.LST", std::string("\"/m/a.mid\"\r\n"));
    makeFile("a.mid", MidiFileBuilder::song());
    makeFile("tune", MidiFileBuilder::song());
    makeFile("notes.txt", std::string("not music"));
    for (const char* name : {"folder.mid", "folder.lst", "folder.rmi"})
        makeFolder(name);

    const IncomingFiles dropped = IncomingFiles::fromDrag(
        dragOf({"folder.mid", "tune.rmi", "notes.txt", "Songs.LST", "http://example.com/b.mid",
                "folder.lst", "a.mid", "tune", "folder.rmi"})
            ->urls());
    EXPECT_EQ(dropped.listFiles, QStringList({shown("Songs.LST")}));
    EXPECT_EQ(dropped.midiFiles, QStringList({shown("tune.rmi"), shown("a.mid"), shown("tune")}));
    EXPECT_TRUE(dropped.unreadable.empty());

    const IncomingFiles named = IncomingFiles::fromPaths(
        {shown("folder.lst"), shown("Songs.LST"), shown("folder.mid"), shown("a.mid")});
    EXPECT_EQ(named.listFiles, QStringList({shown("Songs.LST")}));
    EXPECT_EQ(named.midiFiles, QStringList({shown("a.mid")}));
    ASSERT_EQ(pathsOf(named.unreadable), QStringList({shown("folder.lst"), shown("folder.mid")}));
    for (const IncomingFiles::Unreadable& file : named.unreadable)
        EXPECT_EQ(file.why.reason, WholeFileError::Reason::Folder);
}

TEST_F(IncomingFilesTest, ANameNotInTheSystemCharacterSetIsToldAsSuchNeverAsMissing) {
    // Shift_JIS names ("あ.mid", a folder "ミ", "い.txt", a folder "う.mid"),
    // a Latin-1 one ("café.lst"), and one Shift_JIS name that is not there.
    const QByteArray midi("\x82\xa0.mid"), inFolder("\x83\x7e/song.mid"), text("\x82\xa2.txt"),
        folderLikeMidi("\x82\xa4.mid"), list("caf\xe9.lst"),
        missing("\x88\x9f\x88\x9f\x88\x9f.mid");
    makeFile(midi, MidiFileBuilder::song());
    makeFolder("\x83\x7e");
    makeFile(inFolder, MidiFileBuilder::song());
    makeFile(text, std::string("not music"));
    makeFolder(folderLikeMidi);
    makeFile(list, std::string("\"/m/a.mid\"\r\n"));
    makeFile("a.mid", MidiFileBuilder::song());

    // Named on the command line, and handed over from there by a second start.
    QByteArray arguments[] = {"pelora", pathOf(midi), pathOf(inFolder), pathOf(list),
                              pathOf(missing)};
    char* argv[std::size(arguments)];
    for (std::size_t i = 0; i < std::size(arguments); ++i)
        argv[i] = arguments[i].data();
    const QStringList named =
        ProgramArguments::fromArgv(static_cast<int>(std::size(argv)), argv).mid(1);
    HandoverMessage handedOver(100);
    ASSERT_EQ(handedOver.add(HandoverMessage::encode(named)), HandoverMessage::Status::Complete);
    for (const QStringList& paths : {named, handedOver.paths()}) {
        const IncomingFiles files = IncomingFiles::fromPaths(paths);
        EXPECT_TRUE(files.listFiles.isEmpty());
        EXPECT_TRUE(files.midiFiles.isEmpty());
        ASSERT_EQ(pathsOf(files.unreadable), paths);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(files.unreadable[i].why.error, EILSEQ) << i;
        EXPECT_EQ(files.unreadable[3].why.error, ENOENT);
        // What the user reads says what is wrong with the name and how to mend it.
        const QString told = Texts::unopenedFileReason(files.unreadable[0].why);
        EXPECT_TRUE(told.contains("UTF-8") && told.contains("convmv")) << told.toStdString();
    }

    // Dropped: such a MIDI or list file is told; a folder or other file so
    // named is left out as any other would be.
    const IncomingFiles dropped = IncomingFiles::fromDrag(
        dragOf({midi, "\x83\x7e", inFolder, text, folderLikeMidi, list, missing, "a.mid"})->urls());
    EXPECT_EQ(dropped.midiFiles, QStringList({shown("a.mid")}));
    EXPECT_TRUE(dropped.listFiles.isEmpty());
    EXPECT_EQ(pathsOf(dropped.unreadable),
              QStringList({shown(midi), shown(inFolder), shown(list)}));
    for (const IncomingFiles::Unreadable& file : dropped.unreadable)
        EXPECT_EQ(file.why.error, EILSEQ);
}

} // namespace
