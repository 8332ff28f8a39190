#include "PlayerFixture.h"

#include "player/PictureButton.h"
#include "player/PlayerWindow.h"
#include "sound/SoundEngine.h"
#include "support/MidiFileBuilder.h"
#include "support/TestEngine.h"

#include <QTest>
#include <cmath>
#include <vector>

namespace {

// The root mean square of half a second of the engine's output.
double rms(SoundEngine& engine) {
    const int frames = SoundEngine::sampleRate / 2;
    std::vector<float> left(frames), right(frames);
    engine.render(left.data(), right.data(), frames);
    double sum = 0;
    for (int i = 0; i < frames; ++i)
        sum += double(left[i]) * left[i] + double(right[i]) * right[i];
    return std::sqrt(sum / (2.0 * frames));
}

using PlayerSound = PlayerFixture;

TEST_F(PlayerSound, APressOnPlayMakesSoundOnTheRealSynthesizer) {
    if (!testSoundFontInstalled())
        GTEST_SKIP() << "the TimGM6mb SoundFont is not installed (timgm6mb-soundfont)";
    SoundEngine engine(testEngineConfig());
    rebuild(&engine);
    started();
    EXPECT_LT(rms(engine), 1e-4);

    const QString file = workingFolder.filePath("chord.mid");
    MidiFileBuilder::write(file.toStdString(), MidiFileBuilder::song(0, 2.0));
    state().currentFile = file;
    QTest::mouseClick(button("play"), Qt::LeftButton);
    EXPECT_GT(rms(engine), 0.01);

    QTest::mouseClick(button("stop"), Qt::LeftButton);
    rms(engine); // the release of the last notes
    EXPECT_LT(rms(engine), 1e-3);
    EXPECT_TRUE(fatalReports.isEmpty());
}

} // namespace
