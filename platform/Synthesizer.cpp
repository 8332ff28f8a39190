#include "platform/Synthesizer.h"

#include "platform/FluidLog.h"
#include "platform/PlayableMidiFile.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

constexpr int midiChannels = 16;
constexpr int noteOn = 0x90;

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

Synthesizer::Synthesizer(fs::path chosenSoundFont, std::vector<fs::path> soundFonts,
                         std::shared_ptr<AudioOutput> output)
    : chosenSoundFont_(std::move(chosenSoundFont)), soundFonts_(std::move(soundFonts)),
      output_(std::move(output)) {}

Synthesizer::~Synthesizer() {
    if (synth_ != nullptr)
        unload();
    if (synth_ != nullptr)
        delete_fluid_synth(synth_);
    if (settings_ != nullptr)
        delete_fluid_settings(settings_);
}

void Synthesizer::start() {
    settings_ = new_fluid_settings();
    if (settings_ == nullptr || !configure()) {
        FluidLog::report("cannot set up the synthesizer; music is silent");
        return;
    }
    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr) {
        FluidLog::report("cannot start the synthesizer; music is silent");
        return;
    }
    loadSoundFont();
}

bool Synthesizer::configure() {
    // 256 frames a period, 4 periods: about 23 ms at 44.1 kHz, well under a
    // tenth of a second from a click to the speakers, without the crackle
    // and CPU cost of FluidSynth's 64-frame default.
    return fluid_settings_setint(settings_, "synth.midi-channels", midiChannels) == FLUID_OK &&
           fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate) == FLUID_OK &&
           fluid_settings_setint(settings_, "audio.period-size", 256) == FLUID_OK &&
           fluid_settings_setint(settings_, "audio.periods", 4) == FLUID_OK &&
           // The player then advances with the samples rendered, also offline.
           fluid_settings_setstr(settings_, "player.timing-source", "sample") == FLUID_OK &&
           // Only the samples of what plays are in memory (pinPresets).
           fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1) == FLUID_OK;
}

// The SoundFont's samples stay on disk: no channel selects a preset until
// the first play, and a file's presets are loaded when it is opened.
void Synthesizer::loadSoundFont() {
    if (loadChosenSoundFont())
        return;
    for (const fs::path& candidate : soundFonts_) {
        if (!isRegularFile(candidate))
            continue;
        soundFont_ = fluid_synth_sfload(synth_, candidate.c_str(), 0);
        if (soundFont_ != FLUID_FAILED)
            return;
    }
    FluidLog::report("no usable SoundFont in " + folderNames(soundFonts_) + "; music is silent");
}

// Where the user named a SoundFont, only that one is tried first; when it
// cannot be used the user hears why, and the usual search goes on.
bool Synthesizer::loadChosenSoundFont() {
    if (chosenSoundFont_.empty())
        return false;
    QString reason;
    std::error_code error;
    if (!fs::exists(chosenSoundFont_, error))
        reason = QStringLiteral("ファイルがありません");
    else if (!isRegularFile(chosenSoundFont_))
        reason = QStringLiteral("通常のファイルではありません");
    else if ((soundFont_ = fluid_synth_sfload(synth_, chosenSoundFont_.c_str(), 0)) != FLUID_FAILED)
        return true;
    else
        reason = QStringLiteral("SoundFont として読み込めません");
    FluidLog::report("cannot use the SoundFont " + chosenSoundFont_.string() +
                     "; looking for the system's");
    untold_.push_back({SequencerProblem::Kind::ChosenSoundFontUnusable,
                       QString::fromStdString(chosenSoundFont_.string()), reason});
    return false;
}

void Synthesizer::listen(const Reporter& report) {
    if (!report)
        return;
    for (const SequencerProblem& problem : untold_)
        report(problem);
    untold_.clear();
}

void Synthesizer::tell(const SequencerProblem& problem) {
    if (report_)
        report_(problem);
}

void Synthesizer::open(Owner owner, const QString& fileName, bool speakers, Reporter report) {
    listen(report);
    if (!ready()) {
        if (!soundFontFailureReported_ && report) {
            soundFontFailureReported_ = true;
            report({SequencerProblem::Kind::NoSoundFont,
                    {},
                    QString::fromStdString(folderNames(soundFonts_))});
        }
        return; // said on standard error at start
    }
    PlayableMidiFile::Result file = PlayableMidiFile::read(fileName);
    if (!file.ok()) {
        FluidLog::report("\"" + fileName.toStdString() + "\": " + file.refusal);
        if (report)
            report({SequencerProblem::Kind::UnplayableFile, fileName, file.reason});
        return;
    }
    unload();
    report_ = std::move(report);
    midi_ = std::move(file.bytes);
    speakers_ = speakers;
    pinPresets();
    if (!startPlayer()) {
        unload();
        return;
    }
    owner_ = owner;
}

void Synthesizer::play(Owner owner) {
    if (!owns(owner))
        return;
    // A fresh player: FluidSynth's seek to the start skips the first notes
    // of a track that has not got past them.
    if (started_) {
        stopPlayer();
        if (!startPlayer()) {
            unload();
            return;
        }
    }
    // Nothing from an earlier play (program changes, controllers, reverb
    // tails) may colour this one.
    if (fluid_synth_system_reset(synth_) != FLUID_OK)
        FluidLog::report("cannot reset the synthesizer");
    halted_ = false;
    if (fluid_player_play(player_) != FLUID_OK) {
        FluidLog::report("cannot start the MIDI player");
        return;
    }
    started_ = true;
}

void Synthesizer::halt(Owner owner) {
    if (!owns(owner))
        return;
    halted_ = true;
    if (fluid_player_stop(player_) != FLUID_OK)
        FluidLog::report("cannot halt the MIDI player");
    silence();
}

void Synthesizer::release(Owner owner) {
    if (owns(owner))
        unload();
}

bool Synthesizer::render(Owner owner, float* left, float* right, int frames) {
    if (!ready() || outputRuns_ || (owner_ != nullptr && owner_ != owner))
        return false;
    return fluid_synth_write_float(synth_, frames, left, 0, 1, right, 0, 1) == FLUID_OK;
}

// A player for the owner's file, and with speakers the audio output:
// FluidSynth wants the output started after the player and stopped before it.
bool Synthesizer::startPlayer() {
    halted_ = false;
    player_ = new_fluid_player(synth_);
    if (player_ == nullptr) {
        FluidLog::report("cannot create a MIDI player");
        return false;
    }
    if (fluid_player_set_playback_callback(player_, forward, this) != FLUID_OK ||
        fluid_player_add_mem(player_, midi_.data(), midi_.size()) != FLUID_OK) {
        FluidLog::report("cannot hand the file to the MIDI player");
        return false;
    }
    if (speakers_ && !startOutput())
        return false;
    started_ = false;
    return true;
}

bool Synthesizer::startOutput() {
    FluidLog::forget();
    outputRuns_ = output_->start(settings_, synth_);
    if (!outputRuns_ && !outputFailureReported_) {
        outputFailureReported_ = true;
        FluidLog::forget(); // the last driver's complaint says nothing of the others
        FluidLog::report("no audio output (tried " + output_->tried() + "); music is silent");
        tell({SequencerProblem::Kind::NoAudioOutput, {}, QString::fromStdString(output_->tried())});
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
        output_->stop();
    outputRuns_ = false;
    delete_fluid_player(player_);
    player_ = nullptr;
    // No voice may wait in the synthesizer for the next file's output.
    silence();
}

void Synthesizer::unload() {
    stopPlayer();
    unpinPresets();
    owner_ = nullptr;
    report_ = nullptr;
    midi_.clear();
    midi_.shrink_to_fit();
    started_ = false;
}

// Loads the samples of every preset the file may play, here rather than in
// the audio thread at the program change that selects it.
void Synthesizer::pinPresets() {
    fluid_sfont_t* soundFont = fluid_synth_get_sfont_by_id(synth_, soundFont_);
    for (const SongPresets::Preset& preset : SongPresets::of(midi_)) {
        if (fluid_sfont_get_preset(soundFont, preset.bank, preset.program) != nullptr &&
            fluid_synth_pin_preset(synth_, soundFont_, preset.bank, preset.program) == FLUID_OK)
            pinned_.insert(preset);
    }
}

// Lets the samples of the closed file go: those no channel holds are freed.
void Synthesizer::unpinPresets() {
    for (int channel = 0; channel < midiChannels; ++channel)
        fluid_synth_unset_program(synth_, channel);
    for (const SongPresets::Preset& preset : pinned_)
        fluid_synth_unpin_preset(synth_, soundFont_, preset.bank, preset.program);
    pinned_.clear();
}

void Synthesizer::silence() {
    if (fluid_synth_all_sounds_off(synth_, -1) != FLUID_OK)
        FluidLog::report("cannot silence the synthesizer");
}

int Synthesizer::forward(void* data, fluid_midi_event_t* event) {
    const auto* synthesizer = static_cast<const Synthesizer*>(data);
    if (synthesizer->halted_ && fluid_midi_event_get_type(event) == noteOn)
        return FLUID_OK;
    return fluid_synth_handle_midi_event(synthesizer->synth_, event);
}
