#include "outside/TrackTitle.h"
#include "support/QtTestHelpers.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

QString titleOf(const std::string& storedName) {
    return TrackTitle::fromStoredName(storedName, QStringLiteral("/music/a\nb.mid"));
}

TEST(TrackTitle, DecodesUtf8ElseCodePage932ElseShowsTheFileName) {
    EXPECT_EQ(titleOf("\xe6\xad\x8c"), QStringLiteral("歌"));
    EXPECT_EQ(titleOf("\x89\xcc"), QStringLiteral("歌"));
    EXPECT_EQ(titleOf("\x85\x80Song"), QStringLiteral("a b.mid")); // neither
    EXPECT_EQ(titleOf(" \0\0"s), QStringLiteral("a b.mid"));
}

// Names are shown in panels, notifications and terminals.
TEST(TrackTitle, ShowsNoControlCharacters) {
    EXPECT_EQ(titleOf("\x1b]0;x\x07\x1b[31mRed\xc2\x9b"), QStringLiteral("]0;x[31mRed"));
    EXPECT_EQ(titleOf("  First\r\n\tSecond\0Third \0\0"s), QStringLiteral("First Second Third"));
}

TEST(TrackTitle, IsCutAtACharacterBoundary) {
    std::string name;
    for (int i = 0; i < 300; ++i)
        name += "\xf0\x9d\x84\x9e"; // 𝄞, two UTF-16 units
    const QString title = titleOf(name);
    EXPECT_LE(title.size(), TrackTitle::maxLength);
    EXPECT_TRUE(title.endsWith(QStringLiteral("𝄞…")));
}

} // namespace
