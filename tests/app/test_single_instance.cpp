#include "app/SingleInstance.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

// Without a private runtime folder there is no safe place for the socket:
// this start runs on its own and says so, and no socket is made elsewhere.
TEST(SingleInstance, WithoutARuntimeFolderItRunsAloneAndSaysSo) {
    // Neither the runtime folder named nor Qt's fallback in the temporary
    // folder is a folder.
    QTemporaryDir dir;
    const QString fallback =
        QStringLiteral("runtime-") + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
    for (const QString& name : {QStringLiteral("a-file"), fallback}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), temporary = qgetenv("TMPDIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("a-file")));
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    ::testing::internal::CaptureStderr();
    SingleInstance instance("x11:test");
    EXPECT_EQ(instance.start({}), SingleInstance::Outcome::Running);
    const std::string said = ::testing::internal::GetCapturedStderr();
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("TMPDIR", temporary);
    EXPECT_TRUE(instance.socketPath().isEmpty()) << instance.socketPath().toStdString();
    EXPECT_NE(said.find("runtime folder"), std::string::npos) << said;
}

} // namespace
