#include "midifile/SongTitle.h"
#include "support/MidiFileBuilder.h"

#include <gtest/gtest.h>

namespace {

Bytes trackName(const std::string& name) {
    Bytes event{0xff, 0x03, static_cast<std::uint8_t>(name.size())};
    for (const char c : name)
        event.push_back(static_cast<std::uint8_t>(c));
    return event;
}

TEST(SongTitle, IsTheFirstTrackNameBeforeAnyNoteOrPause) {
    MidiFileBuilder padded(0);
    padded.track().tempo(0, 500000).raw(0, trackName(std::string("Song \0 ", 7)));
    EXPECT_EQ(SongTitle::of(padded.build()), "Song");

    MidiFileBuilder late(0);
    late.track().tempo(0, 500000).raw(96, trackName("Lyric"));
    EXPECT_EQ(SongTitle::of(late.build()), "");
    MidiFileBuilder afterNote(0);
    afterNote.track().noteOn(0, 0, 60, 100).raw(0, trackName("Marker"));
    EXPECT_EQ(SongTitle::of(afterNote.build()), "");
}

} // namespace
