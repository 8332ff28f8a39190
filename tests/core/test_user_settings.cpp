#include "core/UserSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A file Qt cannot parse, and a lock another machine left on a shared home
// folder, which Qt would wait on until it turned stale.
TEST(UserSettings, EveryKeyIsKeptPastAGarbledFileAndAnotherMachinesLock) {
    const QTemporaryDir dir;
    const QString file = dir.filePath("pelora.ini");
    writeFile(file,
              "[folders]\nmidiFiles=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10junk)\n\x01\xFF\xFE");
    writeFile(file + ".lock", "4242\npelora\nanother-machine\n");
    {
        UserSettings settings(file);
        settings.setValue("folders/midiFiles", QStringLiteral("/home/花子/曲"));
        settings.setValue("sound/volume", "0.5");
        ASSERT_TRUE(settings.finishWriting(10s));
    }
    const UserSettings again(file);
    EXPECT_EQ(again.value("folders/midiFiles"), QStringLiteral("/home/花子/曲"));
    EXPECT_EQ(again.value("sound/volume"), "0.5");
}

} // namespace
