#include "outside/TrackTitle.h"
#include "support/QtTestHelpers.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

// The name stored in a song as the desktop shows it, in panels,
// notifications and terminals: UTF-8, else code page 932, else the file's
// name; no control characters; cut at a character's boundary.
TEST(TrackTitle, DecodedCleanedAndCut) {
    std::string long_;
    for (int i = 0; i < 300; ++i)
        long_ += "\xf0\x9d\x84\x9e"; // 𝄞, two UTF-16 units
    const struct {
        std::string stored;
        QString shown;
    } cases[] = {
        {"\xe6\xad\x8c", QStringLiteral("歌")},
        {"\x89\xcc", QStringLiteral("歌")},
        {"\x85\x80Song", QStringLiteral("a b.mid")}, // neither
        {" \0\0"s, QStringLiteral("a b.mid")},
        {"\x1b]0;x\x07\x1b[31mRed\xc2\x9b", QStringLiteral("]0;x[31mRed")},
        {"  First\r\n\tSecond\0Third \0\0"s, QStringLiteral("First Second Third")},
        {long_, QStringLiteral("𝄞").repeated(TrackTitle::maxLength / 2 - 1) + QStringLiteral("…")},
    };
    for (const auto& [stored, shown] : cases)
        EXPECT_EQ(TrackTitle::fromStoredName(stored, QStringLiteral("/music/a\nb.mid")), shown);
}

} // namespace
