#include "OfflineDeviceTest.h"

#include <QFile>

#include <algorithm>
#include <cmath>

void OfflineDeviceTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    if (!testSoundFontInstalled())
        GTEST_SKIP() << "the TimGM6mb SoundFont is not installed (timgm6mb-soundfont)";
}

QString OfflineDeviceTest::write(const std::string& name, const Bytes& bytes) const {
    const QString path = dir.filePath(QString::fromStdString(name));
    MidiFileBuilder::write(QFile::encodeName(path).toStdString(), bytes);
    return path;
}

void OfflineDeviceTest::openAndPlay(const QString& file) {
    engine.stop();
    engine.open(file);
    engine.play();
}

std::vector<float> OfflineDeviceTest::render(double seconds) {
    // Whole blocks of the synthesizer's 64 frames: every rendering then starts
    // on a block boundary, and notes start at the same offset into it.
    const int frames = (static_cast<int>(seconds * SoundEngine::sampleRate) + 63) / 64 * 64;
    std::vector<float> samples(2 * static_cast<std::size_t>(frames));
    engine.render(samples.data(), samples.data() + frames, frames);
    return samples;
}

double OfflineDeviceTest::rms(const std::vector<float>& samples) {
    double sum = 0;
    for (float s : samples)
        sum += double(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

double OfflineDeviceTest::peak(const std::vector<float>& samples) {
    float top = 0;
    for (float s : samples)
        top = std::max(top, std::abs(s));
    return top;
}

std::vector<double> OfflineDeviceTest::envelope(const std::vector<float>& samples) {
    const std::size_t frames = samples.size() / 2;
    const std::size_t block = SoundEngine::sampleRate / 20;
    std::vector<double> result;
    for (std::size_t start = 0; start + block <= frames; start += block) {
        std::vector<float> part(samples.begin() + start, samples.begin() + start + block);
        result.push_back(rms(part));
    }
    return result;
}

void OfflineDeviceTest::expectSameSound(const std::vector<float>& actual,
                                        const std::vector<float>& expected) {
    const std::vector<double> want = envelope(expected);
    const std::vector<double> got = envelope(actual);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 0.05 * want[i] + 1e-4) << "at " << i * 50 << " ms";
}
