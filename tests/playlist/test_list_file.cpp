#include "playlist/ListFile.h"
#include "playlist/ListFileCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QString failureOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const ListFileError& error) {
        return error.message();
    }
    return QStringLiteral("<no failure>");
}

class ListFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList names(const QString& folder = {}) const {
        return QDir(path(folder))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
};

const QStringList SampleEntries = {
    QStringLiteral(""),
    QStringLiteral("  spaces around  "),
    QStringLiteral("C:\\MIDI\\a, b.mid"),
    QStringLiteral("/home/user/My Music/a,b,c.mid"),
    QStringLiteral("C:\\音楽\\ソ表能\\ｶﾀｶﾅ～.rmi"),
    QStringLiteral("z.mid"),
};

class ListFileSaveLoad : public ListFileTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ListFileSaveLoad, GivesTheSameEntriesInTheSameOrder) {
    const QString file = path("list.lst");
    ListFile::save(file, SampleEntries, GetParam());
    EXPECT_EQ(ListFile::load(file, GetParam()), SampleEntries);

    std::vector<std::string> utf8;
    for (const QString& entry : SampleEntries)
        utf8.push_back(entry.toStdString());
    EXPECT_EQ(contents(file).toStdString(), ListFileCodec::encode(utf8, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Charsets, ListFileSaveLoad, ::testing::Values("UTF-8", "CP932"),
                         [](const auto& info) { return info.param == "UTF-8" ? "Utf8" : "Cp932"; });

TEST_F(ListFileTest, EmptyListIsAFileOfZeroBytes) {
    const QString file = path("empty.lst");
    writeFile(file, "\"old\"\r\n");
    ListFile::save(file, {});
    EXPECT_EQ(QFileInfo(file).size(), 0);
    EXPECT_EQ(ListFile::load(file), QStringList());
}

TEST_F(ListFileTest, TheExampleIsStoredAsTwentyBytes) {
    const QString file = path("example");
    ListFile::save(file, {QStringLiteral("C:\\MIDI\\a, b.mid")});
    EXPECT_EQ(contents(file), QByteArray("\"C:\\MIDI\\a, b.mid\"\r\n"));
    EXPECT_EQ(names(), QStringList{"example"});
}

TEST_F(ListFileTest, ReplacingKeepsTheFilePermissions) {
    const QString file = path("list.lst");
    writeFile(file, "\"old\"\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    ListFile::save(file, {QStringLiteral("new")}, "UTF-8");
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    const mode_t mask = ::umask(022);
    ListFile::save(path("fresh.lst"), {}, "UTF-8");
    ::umask(mask);
    ASSERT_EQ(::stat(QFile::encodeName(path("fresh.lst")).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);
}

TEST_F(ListFileTest, SavingThroughALinkReplacesTheFileItPointsTo) {
    writeFile(path("real.lst"), "\"old\"\r\n");
    ASSERT_TRUE(QFile::link(path("real.lst"), path("link.lst")));
    ListFile::save(path("link.lst"), {QStringLiteral("new")}, "UTF-8");
    EXPECT_TRUE(QFileInfo(path("link.lst")).isSymLink());
    EXPECT_EQ(contents(path("real.lst")), QByteArray("\"new\"\r\n"));

    // A link to a file not made yet: the file is made, the link stays.
    ASSERT_TRUE(QFile::link("later.lst", path("ahead.lst")));
    ListFile::save(path("ahead.lst"), {QStringLiteral("new")}, "UTF-8");
    EXPECT_TRUE(QFileInfo(path("ahead.lst")).isSymLink());
    EXPECT_EQ(contents(path("later.lst")), QByteArray("\"new\"\r\n"));
}

// --- A failed save leaves the old file exactly as it was ------------------------

struct RefusedList {
    const char* name;
    std::string charset;
    QString entry;
    QString reason;
};

class ListFileRefusedSave : public ListFileTest,
                            public ::testing::WithParamInterface<RefusedList> {};

TEST_P(ListFileRefusedSave, LeavesTheOldFileAndNamesTheEntry) {
    const QString file = path("list.lst");
    writeFile(file, "\"old\"\r\n");
    const QString message = failureOf([&] {
        ListFile::save(file, {QStringLiteral("a.mid"), GetParam().entry}, GetParam().charset);
    });
    EXPECT_TRUE(message.contains(file)) << message.toStdString();
    // A lone surrogate can only be shown as its replacement.
    EXPECT_TRUE(message.contains(QString::fromUtf8(GetParam().entry.toUtf8())))
        << message.toStdString();
    EXPECT_TRUE(message.contains(GetParam().reason)) << message.toStdString();
    EXPECT_EQ(contents(file), QByteArray("\"old\"\r\n"));
    EXPECT_EQ(names(), QStringList{"list.lst"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListFileRefusedSave,
    ::testing::Values(
        RefusedList{"YenSign", "CP932", QStringLiteral("C:\\¥.mid"), QStringLiteral("表せません")},
        RefusedList{"WaveDash", "CP932", QStringLiteral("〜.mid"), QStringLiteral("表せません")},
        RefusedList{"Accent", "CP932", QStringLiteral("café.mid"), QStringLiteral("表せません")},
        RefusedList{"LoneSurrogate", "UTF-8", QString(QChar(0xD800)), QStringLiteral("表せません")},
        RefusedList{"Quote", "UTF-8", QStringLiteral("a\"b.mid"), QStringLiteral("二重引用符")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListFileTest, AWriteFailingHalfWayLeavesTheOldFileWhole) {
    const QString file = path("list.lst");
    writeFile(file, "\"old\"\r\n");
    int calls = 0;
    QStringList namesWhileWriting;
    const auto failingDisk = [&](int fd, const char* data, std::size_t size) -> long {
        if (calls++ == 0)
            return ::write(fd, data, size / 2);
        namesWhileWriting = names();
        errno = ENOSPC;
        return -1;
    };
    const QString message =
        failureOf([&] { ListFile::save(file, SampleEntries, "UTF-8", failingDisk); });
    EXPECT_EQ(namesWhileWriting.size(), 2);
    EXPECT_TRUE(message.contains(file) && message.contains(QStringLiteral("ディスクの空き")))
        << message.toStdString();
    EXPECT_EQ(contents(file), QByteArray("\"old\"\r\n"));
    EXPECT_EQ(names(), QStringList{"list.lst"});
}

// Root may write anywhere, so the save runs in a child that drops to an
// ordinary user first.
TEST_F(ListFileTest, AFolderWithoutWritePermissionLeavesTheOldFile) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    const QString file = path("locked/list.lst");
    writeFile(file, "\"old\"\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path("locked")).constData(), 0555), 0);
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(65534) != 0)
                ::_exit(2);
            const QString message = failureOf([&] { ListFile::save(file, {"new"}, "UTF-8"); });
            ::_exit(message.contains(file) && message.contains(QStringLiteral("権限がありません"))
                        ? 0
                        : 3);
        },
        ::testing::ExitedWithCode(0), "");
    ::chmod(QFile::encodeName(path("locked")).constData(), 0755);
    EXPECT_EQ(contents(file), QByteArray("\"old\"\r\n"));
    EXPECT_EQ(names("locked"), QStringList{"list.lst"});
}

// --- Places that cannot be saved to or loaded from ----------------------------

struct BadPlace {
    const char* name;
    std::function<QString(const QString& folder)> make;
    QString reason;
};

QString missingFolder(const QString& folder) {
    return folder + "/missing/list.lst";
}
QString aFolder(const QString& folder) {
    QDir(folder).mkdir("folder.lst");
    return folder + "/folder.lst";
}
QString underAFile(const QString& folder) {
    writeFile(folder + "/file", "");
    return folder + "/file/list.lst";
}
QString readOnly(const QString& folder) {
    writeFile(folder + "/kept.lst", "\"old\"\r\n");
    ::chmod(QFile::encodeName(folder + "/kept.lst").constData(), 0444);
    return folder + "/kept.lst";
}
QString aFifo(const QString& folder) {
    ::mkfifo(QFile::encodeName(folder + "/fifo.lst").constData(), 0644);
    return folder + "/fifo.lst";
}

class ListFileBadSavePlace : public ListFileTest, public ::testing::WithParamInterface<BadPlace> {};

TEST_P(ListFileBadSavePlace, IsRefusedWithTheReason) {
    const QString file = GetParam().make(dir.path());
    const QStringList before = names();
    const QString message = failureOf([&] { ListFile::save(file, {"a"}, "UTF-8"); });
    EXPECT_TRUE(message.contains(file) && message.contains(GetParam().reason))
        << message.toStdString();
    EXPECT_EQ(names(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListFileBadSavePlace,
    ::testing::Values(BadPlace{"MissingFolder", missingFolder, QStringLiteral("ありません")},
                      BadPlace{"PathThroughAFile", underAFile, QStringLiteral("ありません")},
                      BadPlace{"TargetIsAFolder", aFolder, QStringLiteral("フォルダーです")},
                      BadPlace{"ReadOnlyTarget", readOnly, QStringLiteral("読み取り専用")},
                      BadPlace{"TargetIsAFifo", aFifo,
                               QStringLiteral("通常のファイルではありません")}),
    [](const auto& info) { return std::string(info.param.name); });

QString missingFile(const QString& folder) {
    return folder + "/missing.lst";
}
QString deviceFile(const QString&) {
    return QStringLiteral("/dev/zero");
}
QString hugeFile(const QString& folder) {
    QFile file(folder + "/huge.lst");
    if (file.open(QIODevice::WriteOnly))
        file.resize(ListFile::MaxFileBytes + 1);
    return file.fileName();
}
QString invalidBytes(const QString& folder) {
    writeFile(folder + "/invalid.lst", "\"a\"\r\n\"b\xFF\"\r\n");
    return folder + "/invalid.lst";
}
QString tooManyEntries(const QString& folder) {
    writeFile(folder + "/many.lst", QByteArray("\"x\"\r\n").repeated(ListFile::MaxEntries + 1));
    return folder + "/many.lst";
}

class ListFileBadLoad : public ListFileTest, public ::testing::WithParamInterface<BadPlace> {};

TEST_P(ListFileBadLoad, IsRefusedWithTheReason) {
    const QString file = GetParam().make(dir.path());
    const QString message = failureOf([&] { ListFile::load(file, "UTF-8"); });
    EXPECT_TRUE(message.contains(file) && message.contains(GetParam().reason))
        << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListFileBadLoad,
    ::testing::Values(BadPlace{"Missing", missingFile, QStringLiteral("ありません")},
                      BadPlace{"Folder", aFolder, QStringLiteral("フォルダーです")},
                      BadPlace{"Fifo", aFifo, QStringLiteral("通常のファイルではありません")},
                      BadPlace{"Device", deviceFile,
                               QStringLiteral("通常のファイルではありません")},
                      BadPlace{"Huge", hugeFile, QStringLiteral("大きすぎます")},
                      BadPlace{"InvalidBytes", invalidBytes, QStringLiteral("8 バイト目")},
                      BadPlace{"TooManyEntries", tooManyEntries, QStringLiteral("32767")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListFileTest, AWindowsListLoadsInAnyLocaleAndOtherBytesAreToldWithTheirConversion) {
    writeFile(path("windows.lst"), "\"C:\\MIDI\\\x93\xFA\x96\x7B.mid\"\r\n\"a.mid\"\r\n");
    EXPECT_EQ(ListFile::load(path("windows.lst"), "UTF-8"),
              QStringList({QStringLiteral("C:\\MIDI\\日本.mid"), QStringLiteral("a.mid")}));

    writeFile(path("latin-1.lst"), "\"caf\xE9.mid\"\r\n");
    const QString message = failureOf([&] { ListFile::load(path("latin-1.lst"), "UTF-8"); });
    EXPECT_TRUE(message.contains("iconv -f EUC-JP -t UTF-8 '" + path("latin-1.lst") + "'"))
        << message.toStdString();
}

TEST_F(ListFileTest, LoadsAListOfTheMaximumSize) {
    writeFile(path("full.lst"), QByteArray("\"x\"\r\n").repeated(ListFile::MaxEntries));
    EXPECT_EQ(ListFile::load(path("full.lst"), "UTF-8").size(), ListFile::MaxEntries);
}

} // namespace
