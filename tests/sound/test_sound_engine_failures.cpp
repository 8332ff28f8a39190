#include "sound/SoundEngine.h"
#include "support/MidiFileBuilder.h"
#include "support/TestEngine.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

long lines(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        song = dir.filePath("song.mid");
        MidiFileBuilder::write(song.toStdString(), MidiFileBuilder::song());
    }

    // open, play, pause, stop on `engine`; what they wrote to stderr.
    std::string playThrough(SoundEngine& engine) {
        ::testing::internal::CaptureStderr();
        engine.open(song);
        engine.play();
        engine.isOpen(); // once they are carried out
        engine.pause();
        engine.stop();
        engine.isOpen();
        return ::testing::internal::GetCapturedStderr();
    }

    QTemporaryDir dir;
    QString song;
};

TEST_F(EngineTest, WithoutASoundFontEverythingIsSilentAfterOneLine) {
    ::testing::internal::CaptureStderr();
    SoundEngine::Config config;
    config.soundFonts = {dir.filePath("none.sf2").toStdString()};
    config.offline = true;
    SoundEngine engine(config);
    EXPECT_FALSE(engine.ready());
    const std::string created = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(created), 1) << created;

    EXPECT_EQ(playThrough(engine), "");
    engine.open(song);
    engine.play();
    EXPECT_FALSE(engine.isOpen());
    float left[256], right[256];
    engine.render(left, right, 256);
    EXPECT_TRUE(std::all_of(left, left + 256, [](float s) { return s == 0.0f; }));
}

TEST_F(EngineTest, WithoutAudioOutputOpenFailsAfterOneLine) {
    if (!testSoundFontInstalled())
        GTEST_SKIP() << "the TimGM6mb SoundFont is not installed (timgm6mb-soundfont)";
    SoundEngine engine(testEngineConfig({"no-such-driver", "another-missing-one"}));
    EXPECT_EQ(lines(playThrough(engine)), 1);
    EXPECT_EQ(playThrough(engine), ""); // said once is enough
    engine.open(song);
    EXPECT_FALSE(engine.isOpen());
}

} // namespace
