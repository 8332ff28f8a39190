#include "sound/Synthesizer.h"

#include "midifile/PlayableMidiFile.h"
#include "sound/FluidLog.h"
#include "system/FreedMemory.h"
#include "system/WholeFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

namespace fs = std::filesystem;

namespace {

constexpr int midiChannels = 16;
constexpr int noteOn = 0x90;
constexpr int sustainPedal = 64;
constexpr int sostenutoPedal = 66;
// GS and XG sound modules answer system-exclusive messages sent to device
// 16 (and to every device), and the files written for them send them there.
constexpr int soundModuleDeviceId = 16;
// The GS reset (mode set to GS), without its F0 and F7: the bank-select
// scheme most songs were written for, and every part as after power-on.
constexpr char gsReset[] = {0x41, soundModuleDeviceId, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41};

// A FIFO or a device named *.sf2 would block the loader.
bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string folderNames(const std::vector<fs::path>& soundFonts) {
    std::vector<fs::path> folders;
    for (const fs::path& soundFont : soundFonts) {
        if (std::find(folders.begin(), folders.end(), soundFont.parent_path()) == folders.end())
            folders.push_back(soundFont.parent_path());
    }
    std::string names;
    for (std::size_t i = 0; i < folders.size(); ++i)
        names += (i == 0 ? "" : i + 1 == folders.size() ? " or " : ", ") + folders[i].string();
    return names;
}

} // namespace

Synthesizer::Synthesizer(Setup setup) : setup_(std::move(setup)) {}

Synthesizer::~Synthesizer() {
    if (synth_ != nullptr)
        close();
}

void Synthesizer::start() {
    settings_.reset(new_fluid_settings());
    if (settings_ == nullptr || !configure()) {
        FluidLog::report("cannot set up the synthesizer; music is silent");
        return;
    }
    synth_.reset(new_fluid_synth(settings_.get()));
    if (synth_ == nullptr) {
        FluidLog::report("cannot start the synthesizer; music is silent");
        return;
    }
    loadSoundFont();
    // The SoundFont loader's freed scratch memory (some 2.7 MB after
    // TimGM6mb's tables) goes back to the system, here where nobody waits.
    returnFreedMemory();
}

bool Synthesizer::configure() {
    fluid_settings_t* settings = settings_.get();
    // 256 frames a period, 4 periods: about 23 ms at 44.1 kHz, well under a
    // tenth of a second from a click to the speakers, without the crackle
    // and CPU cost of FluidSynth's 64-frame default.
    return fluid_settings_setint(settings, "synth.midi-channels", midiChannels) == FLUID_OK &&
           fluid_settings_setnum(settings, "synth.sample-rate", sampleRate) == FLUID_OK &&
           fluid_settings_setint(settings, "audio.period-size", 256) == FLUID_OK &&
           fluid_settings_setint(settings, "audio.periods", 4) == FLUID_OK &&
           // The player then advances with the samples rendered, also offline.
           fluid_settings_setstr(settings, "player.timing-source", "sample") == FLUID_OK &&
           // GS, XG and GM messages in a file reach the synthesizer.
           fluid_settings_setint(settings, "synth.device-id", soundModuleDeviceId) == FLUID_OK;
}

// The SoundFont's samples stay on disk: no channel selects a preset until
// the first play, and a file's presets are loaded when it is opened.
void Synthesizer::loadSoundFont() {
    if (loadChosenSoundFont())
        return;
    for (const fs::path& candidate : setup_.soundFonts) {
        if (!isRegularFile(candidate))
            continue;
        soundFont_ = load(candidate);
        if (soundFont_ != FLUID_FAILED)
            return;
    }
    FluidLog::report("no usable SoundFont in " + folderNames(setup_.soundFonts) +
                     "; music is silent");
}

// A small SoundFont is held whole: FluidSynth 2.3.1, loading samples one by
// one for what plays, cuts a loop that runs past its sample's end, which
// the whole SoundFont in memory plays as its author made it. A large one
// would cost more memory than the music is worth: its samples are loaded
// by what plays (pinPresets), only those of the open song in memory.
int Synthesizer::load(const fs::path& soundFont) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(soundFont, error);
    samplesOnDemand_ = error || size > setup_.wholeSoundFontLimit;
    if (fluid_settings_setint(settings_.get(), "synth.dynamic-sample-loading", samplesOnDemand_) !=
        FLUID_OK)
        return FLUID_FAILED;
    return fluid_synth_sfload(synth_.get(), soundFont.c_str(), 0);
}

// Where the user named a SoundFont, only that one is tried first; when it
// cannot be used the user hears why, and the usual search goes on.
bool Synthesizer::loadChosenSoundFont() {
    const fs::path& chosen = setup_.chosenSoundFont;
    if (chosen.empty())
        return false;
    SoundProblem problem = SoundProblem::of(SoundProblem::Kind::ChosenSoundFontUnusable,
                                            QString::fromStdString(chosen.string()));
    std::error_code error;
    if (!fs::exists(chosen, error))
        problem.readError = WholeFileError(WholeFileError::Reason::System, ENOENT);
    else if (!isRegularFile(chosen))
        problem.readError = WholeFileError(WholeFileError::Reason::NotRegular);
    else if ((soundFont_ = load(chosen)) != FLUID_FAILED)
        return true;
    FluidLog::report("cannot use the SoundFont " + chosen.string() + "; looking for the system's");
    tell(std::move(problem));
    return false;
}

void Synthesizer::tell(SoundProblem problem) {
    if (setup_.report)
        setup_.report(problem);
}

void Synthesizer::open(const QString& fileName) {
    if (!ready()) {
        if (!soundFontFailureReported_) { // said on standard error at start
            soundFontFailureReported_ = true;
            tell(SoundProblem::of(SoundProblem::Kind::NoSoundFont, {},
                                  QString::fromStdString(folderNames(setup_.soundFonts))));
        }
        return;
    }
    SoundProblem unplayable = SoundProblem::of(SoundProblem::Kind::UnplayableFile, fileName);
    std::string bytes;
    try {
        bytes = WholeFile::read(QFile::encodeName(fileName).toStdString(),
                                static_cast<long long>(PlayableMidiFile::maxFileSize));
    } catch (const WholeFileError& error) {
        FluidLog::report("\"" + fileName.toStdString() + "\": " + error.what());
        unplayable.readError = error;
        tell(std::move(unplayable));
        return;
    }
    PlayableMidiFile::Result file = PlayableMidiFile::fromBytes(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    bytes = {};
    if (!file.ok()) {
        FluidLog::report("\"" + fileName.toStdString() + "\": " + file.refusal);
        unplayable.refusal = file.kind;
        tell(std::move(unplayable));
        return;
    }
    close();
    midi_ = std::move(file.bytes);
    pinPresets();
    returnFreedMemory();
    if (!startPlayer())
        close();
}

void Synthesizer::play() {
    if (!isOpen())
        return;
    // A fresh player: FluidSynth's seek to the start skips the first notes
    // of a track that has not got past them.
    if (started_) {
        stopPlayer();
        if (!startPlayer()) {
            close();
            return;
        }
    }
    // Nothing from an earlier play (program changes, controllers, reverb
    // tails, drum parts, an XG or GM bank-select scheme) may colour this one:
    // each song starts from the GS reset, which resets the whole
    // synthesizer, until its own messages say otherwise.
    if (fluid_synth_sysex(synth_.get(), gsReset, sizeof gsReset, nullptr, nullptr, nullptr, 0) !=
        FLUID_OK)
        FluidLog::report("cannot reset the synthesizer");
    halted_ = false;
    if (fluid_player_play(player_.get()) != FLUID_OK) {
        FluidLog::report("cannot start the MIDI player");
        return;
    }
    started_ = true;
}

void Synthesizer::pause() {
    if (!isOpen())
        return;
    halted_ = true;
    if (fluid_player_stop(player_.get()) != FLUID_OK)
        FluidLog::report("cannot halt the MIDI player");
    silence();
}

void Synthesizer::stop() {
    pause();
}

void Synthesizer::close() {
    stopPlayer();
    unpinPresets();
    midi_.clear();
    midi_.shrink_to_fit();
    started_ = false;
}

bool Synthesizer::render(float* left, float* right, int frames) {
    if (!ready() || outputRuns_)
        return false;
    return fluid_synth_write_float(synth_.get(), frames, left, 0, 1, right, 0, 1) == FLUID_OK;
}

// A player for the open file, and the audio output: FluidSynth wants the
// output started after the player and stopped before it.
bool Synthesizer::startPlayer() {
    halted_ = false;
    player_.reset(new_fluid_player(synth_.get()));
    if (player_ == nullptr) {
        FluidLog::report("cannot create a MIDI player");
        return false;
    }
    ended_ = false;
    endTick_ = -1;
    if (fluid_player_set_playback_callback(player_.get(), forward, this) != FLUID_OK ||
        fluid_player_set_tick_callback(player_.get(), atTick, this) != FLUID_OK ||
        fluid_player_add_mem(player_.get(), midi_.data(), midi_.size()) != FLUID_OK) {
        FluidLog::report("cannot hand the file to the MIDI player");
        return false;
    }
    if (setup_.output != nullptr && !startOutput())
        return false;
    started_ = false;
    return true;
}

bool Synthesizer::startOutput() {
    FluidLog::forget();
    outputRuns_ = setup_.output->start(settings_.get(), synth_.get());
    if (!outputRuns_ && !outputFailureReported_) {
        outputFailureReported_ = true;
        FluidLog::forget(); // the last driver's complaint says nothing of the others
        FluidLog::report("no audio output (tried " + setup_.output->tried() + "); music is silent");
        tell(SoundProblem::of(SoundProblem::Kind::NoAudioOutput, {},
                              QString::fromStdString(setup_.output->tried())));
    }
    return outputRuns_;
}

// Deleting the player frees every event of its file: for a large file that
// takes a while, which the window does not wait for, being on this thread.
void Synthesizer::stopPlayer() {
    if (player_ == nullptr)
        return;
    // Until the output stops the player may go on, but no note may start.
    // (fluid_player_stop would walk every event of the file to no purpose.)
    halted_ = true;
    if (outputRuns_)
        setup_.output->stop();
    outputRuns_ = false;
    player_.reset();
    // No voice may wait in the synthesizer for the next file's output.
    silence();
}

// Loads the samples of every preset the file may play, here rather than in
// the audio thread at the program change that selects it.
void Synthesizer::pinPresets() {
    if (!samplesOnDemand_)
        return;
    fluid_sfont_t* soundFont = fluid_synth_get_sfont_by_id(synth_.get(), soundFont_);
    for (const SongPresets::Preset& preset : SongPresets::of(midi_)) {
        if (fluid_sfont_get_preset(soundFont, preset.bank, preset.program) != nullptr &&
            fluid_synth_pin_preset(synth_.get(), soundFont_, preset.bank, preset.program) ==
                FLUID_OK)
            pinned_.insert(preset);
    }
}

// Lets the samples of the closed file go: those no channel holds are freed.
void Synthesizer::unpinPresets() {
    if (synth_ == nullptr)
        return;
    for (int channel = 0; channel < midiChannels; ++channel)
        fluid_synth_unset_program(synth_.get(), channel);
    for (const SongPresets::Preset& preset : pinned_)
        fluid_synth_unpin_preset(synth_.get(), soundFont_, preset.bank, preset.program);
    pinned_.clear();
}

void Synthesizer::silence() {
    if (fluid_synth_all_sounds_off(synth_.get(), -1) != FLUID_OK)
        FluidLog::report("cannot silence the synthesizer");
}

// At the song's end (its last track's, or where a damaged file breaks off),
// as a sequencer ends a song: the pedals are lifted and every note is
// released, so that what the song left sounding dies away with its
// instrument's release instead of going on until the next command.
int Synthesizer::atTick(void* data, int tick) {
    auto* synthesizer = static_cast<Synthesizer*>(data);
    // FluidSynth walks every event of the song to find its length: once,
    // at the first tick, when the player has read the file.
    if (synthesizer->endTick_ < 0)
        synthesizer->endTick_ = fluid_player_get_total_ticks(synthesizer->player_.get());
    if (synthesizer->ended_ || tick < synthesizer->endTick_)
        return FLUID_OK;
    synthesizer->ended_ = true;
    fluid_synth_t* synth = synthesizer->synth_.get();
    for (int channel = 0; channel < midiChannels; ++channel) {
        fluid_synth_cc(synth, channel, sustainPedal, 0);
        fluid_synth_cc(synth, channel, sostenutoPedal, 0);
    }
    return fluid_synth_all_notes_off(synth, -1);
}

int Synthesizer::forward(void* data, fluid_midi_event_t* event) {
    const auto* synthesizer = static_cast<const Synthesizer*>(data);
    if (synthesizer->halted_ && fluid_midi_event_get_type(event) == noteOn)
        return FLUID_OK;
    return fluid_synth_handle_midi_event(synthesizer->synth_.get(), event);
}
