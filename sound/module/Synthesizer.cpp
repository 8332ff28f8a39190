#include "sound/Synthesizer.h"

#include "midifile/PlayableMidiFile.h"
#include "midifile/SongSettings.h"
#include "sound/FluidLog.h"
#include "sound/module/SoundFontSubset.h"
#include "sound/module/SoundFontSubsetLoader.h"
#include "system/FreedMemory.h"
#include "system/WholeFile.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr int midiChannels = 16;
constexpr int synthesizerBlock = 64; // FluidSynth renders in blocks of 64 frames
constexpr int noteOff = 0x80;
constexpr int noteOn = 0x90;
constexpr int controlChange = 0xB0;
constexpr int programChange = 0xC0;
constexpr int channelPressure = 0xD0;
constexpr int pitchBend = 0xE0;
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

Synthesizer::Synthesizer(Setup setup) : setup_(std::move(setup)) {
    FluidLog::install();
}

Synthesizer::~Synthesizer() {
    if (synth_ != nullptr)
        release();
}

void Synthesizer::start() {
    FluidLog::forget();
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
    if (fluid_sfloader_t* loader = SoundFontSubsetLoader::make(settings_.get()))
        fluid_synth_add_sfloader(synth_.get(), loader);
    fluid_settings_getnum(settings_.get(), "synth.gain", &fullGain_);
    loadSoundFont();
    // The SoundFont loader's freed scratch memory (some 2.7 MB after
    // TimGM6mb's tables) goes back to the system, here where nobody waits.
    returnFreedMemory();
}

bool Synthesizer::configure() {
    fluid_settings_t* settings = settings_.get();
    // Periods of 2048 frames: a wake-up of the audio thread every 46 ms
    // instead of every 6 (the command line's 256 frames), which costs less
    // than half the CPU, and sound enough buffered that a busy machine does
    // not make it crackle (PulseAudio's stream holds one period, ALSA's
    // device `periods` of them). What is buffered never delays a command
    // by more than a period: the stream is dropped whenever the music halts
    // or starts again (dropStream).
    return fluid_settings_setint(settings, "synth.midi-channels", midiChannels) == FLUID_OK &&
           fluid_settings_setnum(settings, "synth.sample-rate", sampleRate) == FLUID_OK &&
           fluid_settings_setint(settings, "audio.period-size", periodFrames) == FLUID_OK &&
           fluid_settings_setint(settings, "audio.periods", periods) == FLUID_OK &&
           fluid_settings_setint(settings, "synth.polyphony", polyphony) == FLUID_OK &&
           // The player then advances with the samples rendered, also offline.
           fluid_settings_setstr(settings, "player.timing-source", "sample") == FLUID_OK &&
           // GS, XG and GM messages in a file reach the synthesizer.
           fluid_settings_setint(settings, "synth.device-id", soundModuleDeviceId) == FLUID_OK;
}

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
// by what plays (pinPresets), only those of the open song in memory, and
// FluidSynth holds the tables of the open song's presets alone, with the
// zones its notes fall in (a subset of the SoundFont), made again for each
// song; before the first, of the presets a channel starts with, without
// their zones: no sample is loaded for a song that never comes.
int Synthesizer::load(const fs::path& soundFont) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(soundFont, error);
    samplesOnDemand_ = error || size > setup_.wholeSoundFontLimit;
    if (fluid_settings_setint(settings_.get(), "synth.dynamic-sample-loading", samplesOnDemand_) !=
        FLUID_OK)
        return FLUID_FAILED;
    const fs::path path = fs::absolute(soundFont, error);
    if (error)
        return FLUID_FAILED;
    if (samplesOnDemand_) {
        std::unique_ptr<SoundFontSubset> subset =
            SoundFontSubset::of(path, {{{0, 0}, {}}, {{SongPresets::drumBank, 0}, {}}});
        const int loaded = loadInSynth(subset.get());
        if (loaded != FLUID_FAILED) {
            subset_ = std::move(subset);
            return loaded;
        }
    }
    // Whole, also where its tables cannot be cut: FluidSynth tells what it finds.
    return fluid_synth_sfload(synth_.get(), path.c_str(), 0);
}

// FluidSynth's number for `subset` once loaded, or FLUID_FAILED.
int Synthesizer::loadInSynth(const SoundFontSubset* subset) {
    if (subset == nullptr)
        return FLUID_FAILED;
    const int loaded =
        fluid_synth_sfload(synth_.get(), SoundFontSubsetLoader::fileNameOf(*subset).c_str(), 0);
    // A subset without a note to sound has no instruments, which FluidSynth
    // warns of: no complaint to add to whatever is reported next.
    if (loaded != FLUID_FAILED)
        FluidLog::forget();
    return loaded;
}

// The open song's presets in place of the last song's, when the SoundFont
// is loaded in subsets: the samples of both are never in memory at once.
void Synthesizer::loadSubset(const std::map<SongPresets::Preset, PlayedNotes>& presets) {
    std::unique_ptr<SoundFontSubset> subset = SoundFontSubset::of(subset_->source(), presets);
    const int loaded = loadInSynth(subset.get());
    if (loaded == FLUID_FAILED) {
        FluidLog::report("cannot load the song's presets of " + subset_->source().string() +
                         "; the last song's stay");
        return;
    }
    unsetPrograms();
    fluid_synth_sfunload(synth_.get(), soundFont_, 0);
    soundFont_ = loaded;
    subset_ = std::move(subset);
}

void Synthesizer::checkChosenSoundFont() {
    if (setup_.chosenSoundFont.empty() || chosenChecked_)
        return;
    chosenChecked_ = true;
    const fs::path& chosen = setup_.chosenSoundFont;
    SoundProblem problem = SoundProblem::of(SoundProblem::Kind::ChosenSoundFontUnusable,
                                            QString::fromStdString(chosen.string()));
    std::error_code error;
    if (!fs::exists(chosen, error))
        problem.readError = WholeFileError(WholeFileError::Reason::System, ENOENT);
    else if (!isRegularFile(chosen))
        problem.readError = WholeFileError(WholeFileError::Reason::NotRegular);
    else if (fluid_is_soundfont(chosen.c_str()))
        return;
    chosenUnusable_ = true;
    FluidLog::report("cannot use the SoundFont " + chosen.string() + "; looking for the system's");
    tell(std::move(problem));
}

// Where the user named a SoundFont, only that one is tried first; when it
// cannot be used the user hears why (once), and the usual search goes on.
bool Synthesizer::loadChosenSoundFont() {
    checkChosenSoundFont();
    if (setup_.chosenSoundFont.empty() || chosenUnusable_)
        return false;
    if ((soundFont_ = load(setup_.chosenSoundFont)) != FLUID_FAILED)
        return true;
    chosenUnusable_ = true;
    FluidLog::report("cannot use the SoundFont " + setup_.chosenSoundFont.string() +
                     "; looking for the system's");
    tell(SoundProblem::of(SoundProblem::Kind::ChosenSoundFontUnusable,
                          QString::fromStdString(setup_.chosenSoundFont.string())));
    return false;
}

void Synthesizer::tell(SoundProblem problem) {
    if (setup_.report)
        setup_.report(problem);
}

void Synthesizer::tellState() {
    if (!setup_.reportState)
        return;
    SoundState state;
    state.status =
        ended_ && status_ == SoundState::Status::Playing ? SoundState::Status::Ended : status_;
    if (song_ != nullptr) {
        state.fileName = song_->fileName;
        state.length = song_->timing.length();
    }
    state.position = std::chrono::microseconds(setup_.position->load());
    setup_.reportState(state);
}

void Synthesizer::bringTo(const SoundRequest& request) {
    FluidLog::forget();
    if (!ready()) {
        if (!request.fileName.isEmpty() && request.opening != done_.opening &&
            !soundFontFailureReported_) { // said on standard error at start
            soundFontFailureReported_ = true;
            tell(SoundProblem::of(SoundProblem::Kind::NoSoundFont, {},
                                  QString::fromStdString(folderNames(setup_.soundFonts))));
        }
        return; // settings given before the synthesizer is made wait for it
    }
    const SoundRequest done = std::exchange(done_, request);
    if (request.volume != done.volume)
        fluid_synth_set_gain(synth_.get(), static_cast<float>(fullGain_ * request.volume));
    if (request.looping != done.looping) {
        looping_ = request.looping;
        const std::lock_guard lock(rendering_);
        applyLooping();
    }
    if (request.fileName.isEmpty()) {
        if (song_ != nullptr || outputRuns_)
            release();
        tellState();
        return;
    }
    const bool playing = request.status == SoundRequest::Status::Playing;
    if (request.opening != done.opening &&
        !openSong(request.fileName, playing && request.starting != done.starting)) {
        release();
        tellState();
        return;
    }
    if (song_ == nullptr) // its open failed
        return;
    if (ended_ && status_ == SoundState::Status::Playing)
        status_ = SoundState::Status::Ended;
    if (request.starting != done.starting) {
        const std::int64_t tick = song_->timing.tickAt(request.startAt);
        startAt(tick, playing);
        if (request.lastStartWasSeek && setup_.reportSeek)
            setup_.reportSeek(song_->timing.at(tick));
    } else if (request.status == SoundRequest::Status::Paused &&
               status_ == SoundState::Status::Playing) {
        halt();
    } else if (playing && status_ == SoundState::Status::Paused) {
        startAt(pausedTick_, true);
    } else if (playing && status_ == SoundState::Status::Ended &&
               done.status != SoundRequest::Status::Playing) {
        startAt(0, true); // resumed after its end: from the beginning
    }
    if (status_ == SoundState::Status::Playing && !streamRuns()) {
        release(); // no audio output
        tellState();
        return;
    }
    tellState();
}

bool Synthesizer::streamRuns() {
    return setup_.output == nullptr || outputRuns_ || startOutput();
}

// What the stream holds still sounds when the music halts: dropped instead,
// so that a pause, a stop, a seek or another song is heard within one period.
void Synthesizer::dropStream() {
    if (outputRuns_)
        setup_.output->stop();
    outputRuns_ = false;
}

bool Synthesizer::openSong(const QString& fileName, bool playsNext) {
    const std::optional<FileStamp> stamp = stampOf(fileName);
    if (song_ != nullptr && song_->fileName == fileName && stamp && song_->stamp == stamp) {
        halt();
        status_ = SoundState::Status::Stopped;
        setup_.position->store(0);
        return true;
    }
    std::unique_ptr<Song> song = takePreloaded(fileName, stamp);
    const bool presetsPinned = song != nullptr;
    if (song == nullptr && (song = readSong(fileName)) == nullptr)
        return false;
    song->stamp = stamp;
    halt();
    if (!presetsPinned)
        unpinPresets();
    {
        const std::lock_guard lock(rendering_);
        song_ = std::move(song);
    }
    status_ = SoundState::Status::Stopped;
    setup_.position->store(0);
    if (!presetsPinned)
        pinPresets(song_->bytes);
    returnFreedMemory();
    // A song that plays at once starts the stream with its first period of
    // sound; one that waits for play is checked to have somewhere to sound.
    if (playsNext || setup_.output == nullptr)
        return true;
    const bool output = startOutput();
    dropStream();
    return output;
}

std::optional<Synthesizer::FileStamp> Synthesizer::stampOf(const QString& fileName) {
    const fs::path path = QFile::encodeName(fileName).toStdString();
    std::error_code sizeError, timeError;
    FileStamp stamp{fs::file_size(path, sizeError), fs::last_write_time(path, timeError)};
    if (sizeError || timeError)
        return std::nullopt;
    return stamp;
}

void Synthesizer::preload(const QString& fileName) {
    if (!ready() || song_ != nullptr || preloaded_ != nullptr)
        return;
    const std::optional<FileStamp> stamp = stampOf(fileName);
    if (!stamp || (preloaded_ = readSong(fileName, true)) == nullptr)
        return;
    preloaded_->stamp = stamp;
    pinPresets(preloaded_->bytes);
}

// The song read ahead, when it is this file unchanged; any other is let go
// (its presets with the open song's).
std::unique_ptr<Synthesizer::Song>
Synthesizer::takePreloaded(const QString& fileName, const std::optional<FileStamp>& stamp) {
    std::unique_ptr<Song> song = std::move(preloaded_);
    if (song != nullptr && song->fileName == fileName && stamp && song->stamp == stamp)
        return song;
    return nullptr;
}

std::unique_ptr<Synthesizer::Song> Synthesizer::readSong(const QString& fileName, bool quietly) {
    SoundProblem unplayable = SoundProblem::of(SoundProblem::Kind::UnplayableFile, fileName);
    std::string bytes;
    try {
        bytes = WholeFile::read(QFile::encodeName(fileName).toStdString(),
                                static_cast<long long>(PlayableMidiFile::maxFileSize));
    } catch (const WholeFileError& error) {
        if (quietly)
            return nullptr;
        FluidLog::report("\"" + fileName.toStdString() + "\": " + error.what());
        unplayable.readError = error;
        tell(std::move(unplayable));
        return nullptr;
    }
    PlayableMidiFile::Result file = PlayableMidiFile::fromBytes(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    bytes = {};
    if (!file.ok()) {
        if (quietly)
            return nullptr;
        FluidLog::report("\"" + fileName.toStdString() + "\": " + file.refusal);
        unplayable.refusal = file.kind;
        tell(std::move(unplayable));
        return nullptr;
    }
    SongTiming timing(file.bytes);
    return std::make_unique<Song>(
        Song{fileName, std::nullopt, std::move(file.bytes), std::move(timing)});
}

bool Synthesizer::startOutput() {
    FluidLog::forget();
    outputRuns_ = setup_.output->start(settings_.get(), renderForOutput, this);
    if (!outputRuns_ && !outputFailureReported_) {
        outputFailureReported_ = true;
        FluidLog::forget(); // the last driver's complaint says nothing of the others
        FluidLog::report("no audio output (tried " + setup_.output->tried() + "); music is silent");
        tell(SoundProblem::of(SoundProblem::Kind::NoAudioOutput, {},
                              QString::fromStdString(setup_.output->tried())));
    }
    return outputRuns_;
}

// A fresh player, started at `tick` from the GS reset: nothing from an
// earlier play (programs, controllers, reverb tails, drum parts, an XG or GM
// bank-select scheme) colours this one. FluidSynth's own seek plays the
// settings of each track up to the tick one track after another, so that a
// reset in a later track would undo an earlier track's settings made after
// it; chase() plays them in the song's order instead, and the player's seek
// only brings its tracks and tempo to the tick and sounds the notes there.
void Synthesizer::startAt(std::int64_t tick, bool playing) {
    dropStream();
    const std::lock_guard lock(rendering_);
    player_.reset();
    silence();
    if (fluid_synth_sysex(synth_.get(), gsReset, sizeof gsReset, nullptr, nullptr, nullptr, 0) !=
        FLUID_OK)
        FluidLog::report("cannot reset the synthesizer");
    ended_ = false;
    endReleased_ = false;
    chasing_ = false;
    playerLoaded_ = false;
    lastTick_ = -1;
    status_ = SoundState::Status::Stopped;
    tick = std::clamp<std::int64_t>(tick, 0, song_->timing.endTick());
    pausedTick_ = tick;
    setup_.position->store(song_->timing.at(tick).count());
    fluid_settings_setint(settings_.get(), "player.reset-synth", looping_ ? 1 : 0);
    player_.reset(new_fluid_player(synth_.get()));
    if (player_ == nullptr ||
        fluid_player_set_playback_callback(player_.get(), forward, this) != FLUID_OK ||
        fluid_player_set_tick_callback(player_.get(), atTick, this) != FLUID_OK ||
        fluid_player_add_mem(player_.get(), song_->bytes.data(), song_->bytes.size()) != FLUID_OK) {
        FluidLog::report("cannot hand the file to the MIDI player");
        player_.reset();
        return;
    }
    applyLooping();
    if (tick > 0) {
        chase(tick);
        chasing_ = true;
        if (fluid_player_seek(player_.get(), static_cast<int>(tick)) != FLUID_OK)
            FluidLog::report("cannot seek in the song");
    }
    status_ = SoundState::Status::Paused;
    if (!playing)
        return;
    if (fluid_player_play(player_.get()) != FLUID_OK) {
        FluidLog::report("cannot start the MIDI player");
        return;
    }
    status_ = SoundState::Status::Playing;
}

// The settings of the song up to `tick` (but for tempo, which the player's
// seek sets), in the order the song makes them.
void Synthesizer::chase(std::int64_t tick) {
    fluid_synth_t* synth = synth_.get();
    for (const SongSettings::Message& message : SongSettings::upTo(song_->bytes, tick)) {
        const int channel = message.status & 0x0F;
        const auto& data = message.data;
        switch (message.status & 0xF0) {
        case controlChange:
            fluid_synth_cc(synth, channel, data[0], data[1]);
            break;
        case programChange:
            fluid_synth_program_change(synth, channel, data[0]);
            break;
        case channelPressure:
            fluid_synth_channel_pressure(synth, channel, data[0]);
            break;
        case pitchBend:
            fluid_synth_pitch_bend(synth, channel, data[0] | (data[1] << 7));
            break;
        default: { // system exclusive, without its closing F7
            const std::size_t size =
                !data.empty() && data.back() == 0xF7 ? data.size() - 1 : data.size();
            fluid_synth_sysex(synth, reinterpret_cast<const char*>(data.data()),
                              static_cast<int>(size), nullptr, nullptr, nullptr, 0);
        }
        }
    }
}

void Synthesizer::halt() {
    {
        const std::lock_guard lock(rendering_);
        if (player_ != nullptr && playerLoaded_)
            pausedTick_ = fluid_player_get_current_tick(player_.get());
        player_.reset();
        silence();
    }
    dropStream();
    if (status_ == SoundState::Status::Playing)
        status_ = SoundState::Status::Paused;
}

// Ends the player and the audio output and forgets the file.
void Synthesizer::release() {
    {
        const std::lock_guard lock(rendering_);
        player_.reset();
    }
    // The output's thread may be waiting for the lock: stopped without it.
    dropStream();
    {
        const std::lock_guard lock(rendering_);
        silence();
    }
    unpinPresets();
    preloaded_.reset();
    {
        const std::lock_guard lock(rendering_);
        song_.reset();
    }
    returnFreedMemory();
    status_ = SoundState::Status::Stopped;
    ended_ = false;
    setup_.position->store(0);
}

// FluidSynth's loop reads the song again at its end, after its own reset of
// the synthesizer; without the loop, nothing resets it there, so that the
// song's last notes die away with their instruments' release.
void Synthesizer::applyLooping() {
    if (player_ == nullptr)
        return;
    // A player that has not read its song yet takes its first play from
    // the count: one is a single play, none would be no play at all.
    fluid_player_set_loop(player_.get(), looping_ ? -1 : playerLoaded_ ? 0 : 1);
    fluid_settings_setint(settings_.get(), "player.reset-synth", looping_ ? 1 : 0);
}

bool Synthesizer::render(float* left, float* right, int frames) {
    if (!ready() || setup_.output != nullptr)
        return false;
    const std::lock_guard lock(rendering_);
    return fluid_synth_write_float(synth_.get(), frames, left, 0, 1, right, 0, 1) == FLUID_OK;
}

int Synthesizer::renderForOutput(void* data, int length, int effectsCount, float* effects[],
                                 int outputCount, float* outputs[]) {
    auto* synthesizer = static_cast<Synthesizer*>(data);
    const std::lock_guard lock(synthesizer->rendering_);
    return fluid_synth_process(synthesizer->synth_.get(), length, effectsCount, effects,
                               outputCount, outputs);
}

// Loads the samples of every preset the file may play, here rather than in
// the audio thread at the program change that selects it.
void Synthesizer::pinPresets(const std::vector<std::uint8_t>& song) {
    if (!samplesOnDemand_)
        return;
    std::map<SongPresets::Preset, PlayedNotes> presets = SongPresets::of(song);
    if (subset_ != nullptr) {
        // A tuning an earlier song made stays in the synthesizer (a reset
        // only takes it off the channels), for this one to select.
        fluid_synth_tuning_iteration_start(synth_.get());
        int bank, program;
        if (fluid_synth_tuning_iteration_next(synth_.get(), &bank, &program) != 0) {
            for (auto& [preset, notes] : presets)
                notes.addAll();
        }
        loadSubset(presets);
    }
    fluid_sfont_t* soundFont = fluid_synth_get_sfont_by_id(synth_.get(), soundFont_);
    for (const auto& [preset, notes] : presets) {
        if (fluid_sfont_get_preset(soundFont, preset.bank, preset.program) != nullptr &&
            fluid_synth_pin_preset(synth_.get(), soundFont_, preset.bank, preset.program) ==
                FLUID_OK)
            pinned_.insert(preset);
    }
}

// Lets the samples of the closed file go: those no channel holds are freed.
void Synthesizer::unpinPresets() {
    if (synth_ == nullptr || pinned_.empty())
        return;
    unsetPrograms();
    for (const SongPresets::Preset& preset : pinned_)
        fluid_synth_unpin_preset(synth_.get(), soundFont_, preset.bank, preset.program);
    pinned_.clear();
}

// No channel holds a preset: those no pin holds either are let go.
void Synthesizer::unsetPrograms() {
    for (int channel = 0; channel < midiChannels; ++channel)
        fluid_synth_unset_program(synth_.get(), channel);
}

// Under `rendering_`. FluidSynth ends the voices it is told to at its next
// block, and until then a voice keeps its samples and whatever sounds next
// may start beside it: the old song went on under the new one's first
// seconds. One block, rendered here and thrown away, ends them at once.
void Synthesizer::silence() {
    const bool sounding = fluid_synth_get_active_voice_count(synth_.get()) > 0;
    if (fluid_synth_all_sounds_off(synth_.get(), -1) != FLUID_OK)
        FluidLog::report("cannot silence the synthesizer");
    if (!sounding)
        return;
    std::array<float, synthesizerBlock> left, right;
    fluid_synth_write_float(synth_.get(), synthesizerBlock, left.data(), 0, 1, right.data(), 0, 1);
}

// At the song's end (its last track's, or where a damaged file breaks off),
// as a sequencer ends a song: the pedals are lifted and every note is
// released, so that what the song left sounding dies away with its
// instrument's release instead of going on until the next command.
// (FluidSynth 2.3.1's player lifts the sustain pedal at the end of its
// song too, a moment later; this does not depend on it.)
void Synthesizer::releaseWhatSounds() {
    fluid_synth_t* synth = synth_.get();
    for (int channel = 0; channel < midiChannels; ++channel) {
        fluid_synth_cc(synth, channel, sustainPedal, 0);
        fluid_synth_cc(synth, channel, sostenutoPedal, 0);
    }
    fluid_synth_all_notes_off(synth, -1);
}

// Called by the player, under `rendering_`, after each of its steps.
int Synthesizer::atTick(void* data, int tick) {
    auto* synthesizer = static_cast<Synthesizer*>(data);
    synthesizer->chasing_ = false;
    synthesizer->playerLoaded_ = true;
    const Song& song = *synthesizer->song_;
    if (tick < synthesizer->lastTick_) { // FluidSynth's loop started the song again
        synthesizer->endReleased_ = false;
        if (synthesizer->setup_.reportSeek)
            synthesizer->setup_.reportSeek(std::chrono::microseconds(0));
    }
    synthesizer->lastTick_ = tick;
    synthesizer->setup_.position->store(song.timing.at(tick).count());
    if (synthesizer->endReleased_ || tick < song.timing.endTick())
        return FLUID_OK;
    synthesizer->endReleased_ = true;
    synthesizer->releaseWhatSounds();
    if (!synthesizer->looping_ && !synthesizer->ended_) {
        synthesizer->ended_ = true;
        if (synthesizer->setup_.reportState)
            synthesizer->setup_.reportState({SoundState::Status::Ended, song.fileName,
                                             song.timing.length(), song.timing.length()});
    }
    return FLUID_OK;
}

int Synthesizer::forward(void* data, fluid_midi_event_t* event) {
    const auto* synthesizer = static_cast<const Synthesizer*>(data);
    const int type = fluid_midi_event_get_type(event);
    if (synthesizer->chasing_ && type != noteOn && type != noteOff)
        return FLUID_OK; // chase() made those settings already
    return fluid_synth_handle_midi_event(synthesizer->synth_.get(), event);
}
