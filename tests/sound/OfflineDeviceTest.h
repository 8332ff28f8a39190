#pragma once

#include "sound/SoundEngine.h"
#include "support/MidiFileBuilder.h"
#include "support/TestEngine.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// A sound engine of the test's own without audio output,
// files written into a fresh folder, and the rendered sound measured.
class OfflineDeviceTest : public ::testing::Test {
protected:
    void SetUp() override;

    // The path of `bytes` written as `name` into the test's folder.
    QString write(const std::string& name, const Bytes& bytes) const;
    // What the player window does to play a file.
    void openAndPlay(const QString& file);

    // Both channels of `seconds` of sound, left then right.
    std::vector<float> render(double seconds);
    static double rms(const std::vector<float>& samples);
    static double peak(const std::vector<float>& samples);
    // Loudness of each 50 ms block, for comparing two renderings.
    static std::vector<double> envelope(const std::vector<float>& samples);
    // The same loudness, 50 ms block by 50 ms block, within 5 %.
    static void expectSameSound(const std::vector<float>& actual,
                                const std::vector<float>& expected);

    // A loud piano chord measures about 0.02 over its first half second; its
    // reverb, 0.3 s after the chord is cut, peaks below 0.0005.
    static constexpr double soundThreshold = 0.005;
    static constexpr double silenceThreshold = 0.001;
    // What a halted chord may still ring for (reverb).
    static constexpr double releaseSeconds = 0.3;

    QTemporaryDir dir;
    SoundEngine engine{testEngineConfig()};
};
