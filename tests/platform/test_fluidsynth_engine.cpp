#include "platform/FluidSynthDevice.h"
#include "platform/FluidSynthEngine.h"
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

    // open, play, pause, stop, close on `device`; what they wrote to stderr.
    std::string playThrough(FluidSynthDevice& device) {
        ::testing::internal::CaptureStderr();
        device.open(song);
        device.play();
        device.pause();
        device.stop();
        device.close();
        device.isOpen(); // once they are carried out
        return ::testing::internal::GetCapturedStderr();
    }

    QTemporaryDir dir;
    QString song;
};

TEST_F(EngineTest, WithoutASoundFontEverythingIsSilentAfterOneLine) {
    ::testing::internal::CaptureStderr();
    const auto engine = std::make_shared<FluidSynthEngine>(
        FluidSynthEngine::Config{{dir.filePath("none.sf2").toStdString()}, {}});
    EXPECT_FALSE(engine->ready());
    const std::string created = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(created), 1) << created;

    FluidSynthDevice device(FluidSynthDevice::Output::Offline, engine);
    EXPECT_EQ(playThrough(device), "");
    device.open(song);
    device.play();
    EXPECT_FALSE(device.isOpen());
    float left[256], right[256];
    device.render(left, right, 256);
    EXPECT_TRUE(std::all_of(left, left + 256, [](float s) { return s == 0.0f; }));
}

TEST_F(EngineTest, WithoutAudioOutputOpenFailsAfterOneLine) {
    if (!testSoundFontInstalled())
        GTEST_SKIP() << "the TimGM6mb SoundFont is not installed (timgm6mb-soundfont)";
    const auto engine = makeTestEngine({"no-such-driver", "another-missing-one"});
    FluidSynthDevice device(FluidSynthDevice::Output::Speakers, engine);
    EXPECT_EQ(lines(playThrough(device)), 1);
    EXPECT_EQ(playThrough(device), ""); // said once is enough
    device.open(song);
    EXPECT_FALSE(device.isOpen());
}

} // namespace
