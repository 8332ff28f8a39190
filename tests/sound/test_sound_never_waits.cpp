#include "OfflineDeviceTest.h"

#include "midifile/MidiFileNormaliser.h"
#include "sound/AudioOutput.h"
#include "sound/Synthesizer.h"

#include <QCoreApplication>
#include <QTest>

#include <fluidsynth.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

namespace {

// A sound server that has stopped answering: starting or stopping an audio
// stream blocks until the test lets the server go on.
struct StuckServer {
    std::promise<void> resume;
    std::shared_future<void> resumed = resume.get_future().share();
    std::promise<void> reached; // a stream waits for the server
    std::once_flag reachedOnce;
    std::promise<void> outputGone;

    void answer() {
        std::call_once(reachedOnce, [this] { reached.set_value(); });
        resumed.wait();
    }
};

class StuckOutput : public AudioOutput {
public:
    explicit StuckOutput(std::shared_ptr<StuckServer> server) : server_(std::move(server)) {}
    ~StuckOutput() override { server_->outputGone.set_value(); }

    bool start(fluid_settings_t*, fluid_audio_func_t, void*) override {
        server_->answer();
        return true;
    }
    void stop() override { server_->answer(); }
    std::string tried() const override { return "stuck"; }

private:
    std::shared_ptr<StuckServer> server_;
};

using SoundNeverWaits = OfflineDeviceTest;

TEST_F(SoundNeverWaits, AStuckAudioOutputHoldsUpNoCommandNorTheEnd) {
    const QString song = write("song.mid", MidiFileBuilder::song());
    const auto server = std::make_shared<StuckServer>();
    std::future<void> outputGone = server->outputGone.get_future();
    {
        SoundEngine speakers(testEngineConfig(std::make_shared<StuckOutput>(server)));
        speakers.open(song);
        speakers.play();
        QCoreApplication::processEvents(); // the window's thread back in its event loop
        server->reached.get_future().wait();
        // Every command returns while the output is still blocked.
        for (int i = 0; i < 3; ++i) {
            speakers.pause();
            speakers.play();
            speakers.stop();
            QCoreApplication::processEvents();
            speakers.open(song);
            speakers.play();
        }
    } // the engine ends, the output still blocked
    server->resume.set_value();
    outputGone.wait(); // the engine's thread finishes on its own
}

// A sound server that answers, after a moment.
class SlowOutput : public AudioOutput {
public:
    bool start(fluid_settings_t*, fluid_audio_func_t, void*) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ++starts;
        return true;
    }
    void stop() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stopped = true;
        ++stops;
    }
    std::string tried() const override { return "slow"; }

    std::atomic<bool> stopped{false};
    std::atomic<int> starts{0};
    std::atomic<int> stops{0};
};

// A pause, a seek, another song end the stream that held what sounded, and
// what plays next starts a stream of its own: {streams started, running}.
TEST_F(SoundNeverWaits, NothingBufferedOutlastsACommand) {
    const auto output = std::make_shared<SlowOutput>();
    SoundEngine speakers(testEngineConfig(output));
    const auto after = [&](const std::function<void()>& commands) {
        commands();
        EXPECT_TRUE(speakers.settle());
        return std::pair<int, int>(output->starts, output->starts - output->stops);
    };
    const QString song = write("song.mid", MidiFileBuilder::song(0, 5.0));
    EXPECT_EQ(after([&] { speakers.open(song), speakers.play(); }), std::pair(1, 1));
    EXPECT_EQ(after([&] { speakers.pause(); }), std::pair(1, 0));
    EXPECT_EQ(after([&] { speakers.play(); }), std::pair(2, 1));
    EXPECT_EQ(after([&] { speakers.seek(std::chrono::seconds(1)); }), std::pair(3, 1));
    EXPECT_EQ(after([&] { speakers.open(song), speakers.play(); }), std::pair(4, 1));
}

TEST_F(SoundNeverWaits, TheEndCarriesOutTheCommandsGivenBeforeIt) {
    const QString song = write("song.mid", MidiFileBuilder::song());
    const auto output = std::make_shared<SlowOutput>();
    {
        SoundEngine speakers(testEngineConfig(output));
        ASSERT_TRUE(speakers.ready());
        speakers.open(song);
        speakers.play();
        speakers.settle();
        speakers.stop();
    } // a Pelora that ends as the music stops
    EXPECT_TRUE(output->stopped);
}

// A burst of commands (a held media key, a script) costs what its last one
// asks: one stream, a short queue, and the state it asks for soon after.
TEST_F(SoundNeverWaits, ABurstOfCommandsSettlesAsItsLastAsks) {
    const QString song = write("song.mid", MidiFileBuilder::song(0, 5.0));
    const auto output = std::make_shared<SlowOutput>();
    SoundEngine speakers(testEngineConfig(output));
    ASSERT_TRUE(speakers.ready());
    const auto settlesAs = [&](SoundState::Status status) {
        QCoreApplication::processEvents();
        EXPECT_LE(speakers.waitingTasks(), 2u);
        EXPECT_TRUE(QTest::qWaitFor([&] { return speakers.state().status == status; }, 5000));
    };
    speakers.open(song);
    for (int i = 0; i < 400; ++i) {
        speakers.play();
        speakers.pause();
    }
    speakers.stop();
    speakers.open(song);
    speakers.play();
    settlesAs(SoundState::Status::Playing);
    for (int i = 0; i < 1000; ++i) { // 4,000 mixed commands, ending paused at 1 s
        speakers.seek(std::chrono::milliseconds(i));
        speakers.setVolume(i / 1000.0);
        speakers.pause();
        speakers.play();
    }
    speakers.pause();
    settlesAs(SoundState::Status::Paused);
    EXPECT_EQ(output->starts, 1);
}

TEST_F(SoundNeverWaits, APlayBeforeTheSoundFontIsLoadedSoundsOnceItIs) {
    const QString song = write("song.mid", MidiFileBuilder::song());
    SoundEngine fresh(testEngineConfig());
    fresh.open(song);
    fresh.play();
    std::vector<float> left(SoundEngine::sampleRate / 2), right(left.size());
    fresh.render(left.data(), right.data(), static_cast<int>(left.size()));
    EXPECT_GT(rms(left), soundThreshold);
}

// The same file through FluidSynth alone, on one thread: the same settings,
// one player, the whole SoundFont loaded, held whole or its samples loaded
// by what plays.
std::vector<float> referenceRender(const Bytes& midi, int frames, bool samplesOnDemand) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", SoundEngine::sampleRate);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.device-id", 16);
    fluid_settings_setint(settings, "synth.polyphony", Synthesizer::polyphony);
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", samplesOnDemand);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, testSoundFont(), 1);
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add_mem(player, midi.data(), midi.size());
    fluid_synth_system_reset(synth);
    fluid_player_play(player);
    std::vector<float> samples(2 * static_cast<std::size_t>(frames));
    fluid_synth_write_float(synth, frames, samples.data(), 0, 1, samples.data() + frames, 0, 1);
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return samples;
}

// Samples loaded by what plays, as for a large SoundFont: the engine then
// gives FluidSynth only the song's presets of it, with the zones its notes
// fall in, which sound the same. Also where a song retunes its keys, which
// then sound with other zones.
TEST_F(SoundNeverWaits, OfflineTheDeviceRendersTheSameSamplesAsFluidSynthAlone) {
    // Sixteen instruments, the drums among them, from the start.
    const Bytes dense = MidiFileBuilder::dense(16, 2.0);
    MidiFileBuilder retuned(0, 480);
    // Every key 63 cents up, on every channel: keys 64, 67 and 70 then sound
    // with the zones of 65, 68 and 71, in TimGM6mb's piano others than theirs.
    retuned.track()
        .raw(0, {0xF0, 20,   0x7F, 0x7F, 0x08, 0x08, 0x03, 0x7F, 0x7F, 0x7F, 0x7F,
                 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0xF7})
        .noteOn(0, 0, 64, 120)
        .noteOn(0, 0, 67, 120)
        .noteOn(0, 0, 70, 120)
        .noteOff(3840, 0, 64); // after the seconds compared: its end releases every note
    for (const Bytes& file : {dense, retuned.build()}) {
        const MidiFileNormaliser::Result clean = MidiFileNormaliser::normalise(file);
        ASSERT_TRUE(clean.ok());
        const QString song = write("song.mid", file);
        for (const bool samplesOnDemand : {false, true}) {
            SoundEngine::Config config = testEngineConfig();
            if (samplesOnDemand)
                config.wholeSoundFontLimit = 0;
            SoundEngine own(config);
            own.open(song);
            own.play();
            const int frames = 2 * SoundEngine::sampleRate / 64 * 64;
            std::vector<float> rendered(2 * static_cast<std::size_t>(frames));
            own.render(rendered.data(), rendered.data() + frames, frames);
            const std::vector<float> expected =
                referenceRender(clean.bytes, frames, samplesOnDemand);
            ASSERT_GT(rms(expected), soundThreshold);
            std::size_t differing = 0;
            for (std::size_t i = 0; i < expected.size(); ++i)
                differing += rendered[i] != expected[i];
            EXPECT_EQ(differing, 0u) << "of " << expected.size() << " samples, "
                                     << (samplesOnDemand ? "on demand" : "held whole");
        }
    }
}

// A new song starts on nothing of the last one, the SoundFont held whole or
// its presets loaded song by song: the last song's notes, silenced, had
// gone on under the new one's first seconds.
TEST_F(SoundNeverWaits, ANewSongSoundsAsIfNothingPlayedBefore) {
    const QString dense = write("dense.mid", MidiFileBuilder::dense(16, 2.0));
    const QString chord = write("chord.mid", MidiFileBuilder::song());
    for (const bool samplesOnDemand : {false, true}) {
        SoundEngine::Config config = testEngineConfig();
        if (samplesOnDemand)
            config.wholeSoundFontLimit = 0;
        const auto chordAfter = [&](const std::vector<QString>& before) {
            SoundEngine own(config);
            std::vector<float> left(SoundEngine::sampleRate), right(left.size());
            for (const QString& file : before) {
                own.open(file);
                own.play();
                own.render(left.data(), right.data(), static_cast<int>(left.size()));
            }
            own.open(chord);
            own.play();
            own.render(left.data(), right.data(), static_cast<int>(left.size()));
            return left;
        };
        SCOPED_TRACE(samplesOnDemand ? "on demand" : "held whole");
        expectSameSound(chordAfter({dense}), chordAfter({}));
    }
}

} // namespace
