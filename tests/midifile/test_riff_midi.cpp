#include "midifile/RiffMidi.h"
#include "support/MidiFileBuilder.h"

#include <gtest/gtest.h>

namespace {

std::optional<Bytes> unwrap(const Bytes& file) {
    std::string refusal;
    const auto data = RiffMidi::dataChunk(file, refusal);
    if (!data) {
        EXPECT_FALSE(refusal.empty());
        return std::nullopt;
    }
    return Bytes(data->begin(), data->end());
}

const Bytes smf = MidiFileBuilder::song();

TEST(RiffMidi, FindsTheDataChunk) {
    EXPECT_TRUE(RiffMidi::isRiff(MidiFileBuilder::rmid(smf)));
    EXPECT_FALSE(RiffMidi::isRiff(smf));
    EXPECT_EQ(unwrap(MidiFileBuilder::rmid(smf)), smf);
}

TEST(RiffMidi, SkipsOtherChunksWithTheirPadBytes) {
    const Bytes odd = {'M', 'T', 'h', 'd', 1};
    const Bytes file = MidiFileBuilder::riff(
        "RMID", {{"LIST", Bytes(7, 'i'), {}}, {"DISP", Bytes(1, 0), {}}, {"data", odd, {}}});
    EXPECT_EQ(unwrap(file), odd);
}

TEST(RiffMidi, IgnoresTheRiffSizeField) {
    EXPECT_EQ(unwrap(MidiFileBuilder::riff("RMID", {{"data", smf, {}}}, 4)), smf);
    EXPECT_EQ(unwrap(MidiFileBuilder::riff("RMID", {{"data", smf, {}}}, 0xFFFFFFFF)), smf);
}

TEST(RiffMidi, CutsADataChunkThatRunsPastTheEnd) {
    const Bytes file = MidiFileBuilder::riff("RMID", {{"data", smf, 0xFFFFFFFF}});
    EXPECT_EQ(unwrap(file), Bytes(file.begin() + 20, file.end()));
}

TEST(RiffMidi, RefusesWhatHoldsNoMidi) {
    EXPECT_EQ(unwrap({}), std::nullopt);
    EXPECT_EQ(unwrap({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M'}), std::nullopt);
    EXPECT_EQ(unwrap(smf), std::nullopt);
    EXPECT_EQ(unwrap(MidiFileBuilder::riff("WAVE", {{"data", smf, {}}})), std::nullopt);
    EXPECT_EQ(unwrap(MidiFileBuilder::riff("RMID", {{"LIST", Bytes(4, 'i'), {}}})), std::nullopt);
    // A chunk before "data" whose length runs past the end hides it.
    EXPECT_EQ(unwrap(MidiFileBuilder::riff("RMID", {{"LIST", {}, 0xFFFFFFF0}, {"data", smf, {}}})),
              std::nullopt);
    Bytes cut = MidiFileBuilder::rmid(smf);
    cut.resize(12 + 6); // "data" and half its length field
    EXPECT_EQ(unwrap(cut), std::nullopt);
}

} // namespace
