#include "platform/FluidSynthDevice.h"

#include "platform/FluidLog.h"
#include "platform/FluidSynthEngine.h"
#include "platform/MidiFileNormaliser.h"
#include "platform/RiffMidi.h"
#include "platform/WholeFile.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <exception>

namespace {

constexpr int noteOn = 0x90;

MidiFileNormaliser::Result playableMidi(RiffMidi::Bytes file) {
    if (!RiffMidi::isRiff(file))
        return MidiFileNormaliser::normalise(file);
    std::string refusal;
    const std::optional<RiffMidi::Bytes> data = RiffMidi::dataChunk(file, refusal);
    if (!data)
        return {{}, refusal};
    return MidiFileNormaliser::normalise(*data);
}

// The file's bytes as FluidSynth can take them, or why not.
MidiFileNormaliser::Result readPlayable(const QString& fileName) {
    if (fileName.isEmpty())
        return {{}, "no file name"};
    std::string file;
    try {
        file = WholeFile::read(QFile::encodeName(fileName).toStdString(),
                               static_cast<long long>(FluidSynthDevice::maxFileSize));
    } catch (const WholeFileError& error) {
        return {{}, error.what()};
    }
    if (file.empty())
        return {{}, "empty file"};
    return playableMidi({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
}

} // namespace

struct FluidSynthDevice::Impl {
    Impl(Output output, std::shared_ptr<FluidSynthEngine> engine)
        : output(output), engine(std::move(engine)) {}
    ~Impl() { close(); }

    void open();
    void play();
    void halt();
    void close();
    bool load();
    void unload();
    void silence();
    void fail(const std::string& what) const;

    // What the player's callback reads in the audio thread. It lives as long
    // as the player, which may outlive the device while it is being retired.
    struct Link {
        explicit Link(fluid_synth_t* synth) : synth(synth) {}
        fluid_synth_t* const synth;
        // Once halted, no note may start: a player callback already under
        // way when "pause" came must not sound anew.
        std::atomic<bool> halted{false};
    };
    static int forward(void* data, fluid_midi_event_t* event);

    const Output output;
    const std::shared_ptr<FluidSynthEngine> engine;
    QString fileName;

    std::vector<std::uint8_t> midi; // the open file, checked and repaired
    fluid_player_t* player = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    std::unique_ptr<Link> link;
    bool started = false;
};

void FluidSynthDevice::Impl::fail(const std::string& what) const {
    FluidLog::report("\"" + fileName.toStdString() + "\": " + what);
}

void FluidSynthDevice::Impl::open() {
    if (fileName.isEmpty() || !engine->ready())
        return; // nothing to say: no file chosen, or the engine has said why
    MidiFileNormaliser::Result file = readPlayable(fileName);
    if (!file.ok()) {
        fail(file.refusal);
        return;
    }
    close();
    midi = std::move(file.bytes);
    if (!load())
        close();
}

// A player for the open file, and with Output::Speakers the audio output:
// FluidSynth wants the driver created after the player and deleted before it.
bool FluidSynthDevice::Impl::load() {
    engine->awaitRetired();
    link = std::make_unique<Link>(engine->synth());
    player = new_fluid_player(engine->synth());
    if (player == nullptr) {
        fail("cannot create a MIDI player");
        return false;
    }
    if (fluid_player_set_playback_callback(player, forward, link.get()) != FLUID_OK ||
        fluid_player_add_mem(player, midi.data(), midi.size()) != FLUID_OK) {
        fail("cannot hand the file to the MIDI player");
        return false;
    }
    if (output == Output::Speakers && (driver = engine->startAudio()) == nullptr)
        return false;
    started = false;
    return true;
}

void FluidSynthDevice::Impl::unload() {
    if (player == nullptr)
        return;
    // Until the driver is gone the player may go on, but no note may start.
    // (fluid_player_stop would walk every event of the file to no purpose.)
    link->halted = true;
    engine->retire([driver = driver, player = player, link = link.get()] {
        if (driver != nullptr)
            delete_fluid_audio_driver(driver);
        delete_fluid_player(player);
        delete link;
    });
    link.release(); // the retirement deletes it
    driver = nullptr;
    player = nullptr;
    // No voice may wait in the synthesizer for the next file's output.
    silence();
}

void FluidSynthDevice::Impl::play() {
    if (player == nullptr)
        return;
    // A fresh player: FluidSynth's seek to the start skips the first notes
    // of a track that has not got past them.
    if (started) {
        unload();
        if (!load()) {
            close();
            return;
        }
    }
    // Nothing from an earlier play (program changes, controllers, reverb
    // tails) may colour this one.
    if (fluid_synth_system_reset(engine->synth()) != FLUID_OK)
        fail("cannot reset the synthesizer");
    link->halted = false;
    if (fluid_player_play(player) != FLUID_OK) {
        fail("cannot start the MIDI player");
        return;
    }
    started = true;
}

void FluidSynthDevice::Impl::halt() {
    if (player == nullptr)
        return;
    link->halted = true;
    if (fluid_player_stop(player) != FLUID_OK)
        fail("cannot halt the MIDI player");
    silence();
}

void FluidSynthDevice::Impl::close() {
    unload();
    midi.clear();
    midi.shrink_to_fit();
    started = false;
}

void FluidSynthDevice::Impl::silence() {
    if (fluid_synth_all_sounds_off(engine->synth(), -1) != FLUID_OK)
        fail("cannot silence the synthesizer");
}

int FluidSynthDevice::Impl::forward(void* data, fluid_midi_event_t* event) {
    const auto* link = static_cast<const Link*>(data);
    if (link->halted && fluid_midi_event_get_type(event) == noteOn)
        return FLUID_OK;
    return fluid_synth_handle_midi_event(link->synth, event);
}

FluidSynthDevice::FluidSynthDevice(Output output)
    : FluidSynthDevice(output, FluidSynthEngine::shared()) {}

FluidSynthDevice::FluidSynthDevice(Output output, std::shared_ptr<FluidSynthEngine> engine)
    : impl_(std::make_unique<Impl>(output, std::move(engine))) {}

FluidSynthDevice::~FluidSynthDevice() = default;

// The device's boundary: whatever goes wrong inside, the caller sees an
// operation that changed nothing.
template <class Operation> void FluidSynthDevice::quietly(Operation operation) {
    FluidLog::forget();
    try {
        operation();
    } catch (const std::exception& error) {
        impl_->fail(std::string("the sequencer failed: ") + error.what());
    } catch (...) {
        impl_->fail("the sequencer failed");
    }
}

void FluidSynthDevice::open(const QString& fileName) {
    quietly([&] {
        impl_->fileName = fileName;
        impl_->open();
    });
}

void FluidSynthDevice::play() {
    quietly([&] { impl_->play(); });
}

void FluidSynthDevice::pause() {
    quietly([&] { impl_->halt(); });
}

void FluidSynthDevice::stop() {
    pause();
}

void FluidSynthDevice::close() {
    quietly([&] { impl_->close(); });
}

void FluidSynthDevice::render(float* left, float* right, int frames) {
    if (left == nullptr || right == nullptr || frames <= 0)
        return;
    const bool offline = impl_->output == Output::Offline && impl_->engine->ready();
    if (offline)
        impl_->engine->awaitRetired();
    const bool rendered = offline && fluid_synth_write_float(impl_->engine->synth(), frames, left,
                                                             0, 1, right, 0, 1) == FLUID_OK;
    if (!rendered) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
    }
}

bool FluidSynthDevice::isOpen() const {
    return impl_->player != nullptr;
}
