#include "sound/SoundEngine.h"

#include "sound/CommandThread.h"
#include "sound/FluidLog.h"
#include "sound/FluidSynthAudioOutput.h"
#include "sound/Synthesizer.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr const char* systemSoundFontFolder = "/usr/share/sounds/sf2";
constexpr const char* otherSoundFontFolder = "/usr/share/soundfonts";

std::vector<fs::path> soundFontsIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".sf2")
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The engine's boundary: whatever goes wrong inside a command, the caller
// sees one that changed nothing.
template <class Command> void quietly(Command command) {
    FluidLog::forget();
    try {
        command();
    } catch (const std::exception& error) {
        FluidLog::report(std::string("the sequencer failed: ") + error.what());
    } catch (...) {
        FluidLog::report("the sequencer failed");
    }
}

static_assert(SoundEngine::sampleRate == Synthesizer::sampleRate);

} // namespace

// Where the command thread posts its problems: the engine, until it shuts down.
struct SoundEngine::Mailbox {
    std::mutex mutex;
    SoundEngine* engine = nullptr;

    void post(const SoundProblem& problem) {
        const std::lock_guard lock(mutex);
        if (engine != nullptr)
            // Delivered on the engine's thread; dropped if it is gone by then.
            QMetaObject::invokeMethod(
                engine, [engine = engine, problem] { emit engine->problem(problem); },
                Qt::QueuedConnection);
    }
};

SoundEngine::Config SoundEngine::Config::system(fs::path chosenSoundFont) {
    Config config;
    config.chosenSoundFont = std::move(chosenSoundFont);
    if (config.chosenSoundFont.empty()) {
        const char* fromEnvironment = std::getenv("PELORA_SOUNDFONT");
        if (fromEnvironment != nullptr)
            config.chosenSoundFont = fromEnvironment;
    }
    config.soundFonts.push_back(fs::path(systemSoundFontFolder) / "default-GM.sf2");
    for (const char* folder : {systemSoundFontFolder, otherSoundFontFolder}) {
        const std::vector<fs::path> found = soundFontsIn(folder);
        config.soundFonts.insert(config.soundFonts.end(), found.begin(), found.end());
    }
    config.audioDrivers = {"pulseaudio", "alsa", "jack", "sdl2", "oss"};
    return config;
}

SoundEngine::SoundEngine(Config config, QObject* parent)
    : Sequencer(parent), mailbox_(std::make_shared<Mailbox>()),
      commands_(std::make_unique<CommandThread>()) {
    FluidLog::install();
    FluidLog::forget();
    mailbox_->engine = this;
    std::shared_ptr<AudioOutput> output = std::move(config.audioOutput);
    if (output == nullptr && !config.offline)
        output = std::make_shared<FluidSynthAudioOutput>(std::move(config.audioDrivers));
    synthesizer_ = std::make_shared<Synthesizer>(Synthesizer::Setup{
        std::move(config.chosenSoundFont), std::move(config.soundFonts),
        config.wholeSoundFontLimit, std::move(output),
        [mailbox = mailbox_](const SoundProblem& problem) { mailbox->post(problem); }});
}

SoundEngine::~SoundEngine() {
    shutDown();
}

void SoundEngine::shutDown() {
    if (commands_ == nullptr)
        return;
    {
        const std::lock_guard lock(mailbox_->mutex);
        mailbox_->engine = nullptr;
    }
    // The synthesizer ends on the command thread, after the commands before it.
    commands_->give([synthesizer = std::move(synthesizer_)]() mutable {
        quietly([&] { synthesizer.reset(); });
    });
    commands_.reset();
}

void SoundEngine::prepare() {
    if (prepared_ || commands_ == nullptr)
        return;
    prepared_ = true;
    commands_->give([synthesizer = synthesizer_] { quietly([&] { synthesizer->start(); }); });
}

void SoundEngine::give(std::function<void(Synthesizer&)> command) {
    prepare();
    if (commands_ != nullptr)
        commands_->give([synthesizer = synthesizer_, command = std::move(command)] {
            quietly([&] { command(*synthesizer); });
        });
}

void SoundEngine::open(const QString& fileName) {
    if (!fileName.isEmpty()) // nothing chosen: nothing to say
        give([fileName](Synthesizer& synthesizer) { synthesizer.open(fileName); });
}

void SoundEngine::play() {
    give(&Synthesizer::play);
}

void SoundEngine::pause() {
    give(&Synthesizer::pause);
}

void SoundEngine::stop() {
    give(&Synthesizer::stop);
}

void SoundEngine::close() {
    give(&Synthesizer::close);
}

bool SoundEngine::settle(std::chrono::milliseconds limit) {
    return commands_ == nullptr || commands_->settle(limit);
}

bool SoundEngine::ready() {
    prepare();
    return settle() && synthesizer_ != nullptr && synthesizer_->ready();
}

bool SoundEngine::isOpen() {
    return settle() && synthesizer_ != nullptr && synthesizer_->isOpen();
}

void SoundEngine::render(float* left, float* right, int frames) {
    if (left == nullptr || right == nullptr || frames <= 0)
        return;
    if (!settle() || synthesizer_ == nullptr || !synthesizer_->render(left, right, frames)) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
    }
}
