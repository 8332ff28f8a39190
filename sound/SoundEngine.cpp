#include "sound/SoundEngine.h"

#include "sound/CommandThread.h"
#include "sound/Synthesizer.h"
#include "sound/SynthesizerModule.h"

#include <QAbstractEventDispatcher>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
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
    try {
        command();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pelora: the sequencer failed: %s\n", error.what());
    } catch (...) {
        std::fputs("pelora: the sequencer failed\n", stderr);
    }
}

static_assert(SoundEngine::sampleRate == Synthesizer::sampleRate);

} // namespace

// What the engine and its command thread share: the request the thread is
// to carry out, and what it reports, posted to the engine until it shuts
// down. It lives as long as either.
struct SoundEngine::Mailbox {
    mutable std::mutex mutex;
    SoundEngine* engine = nullptr;
    SoundRequest request;
    bool carryOutQueued = false;
    SoundState state;
    std::shared_ptr<std::atomic<std::int64_t>> position =
        std::make_shared<std::atomic<std::int64_t>>(0);

    // Delivered on the engine's thread; dropped if it is gone by then.
    template <class Signal> void deliver(Signal signal) {
        if (engine != nullptr)
            QMetaObject::invokeMethod(
                engine, [engine = engine, signal] { signal(*engine); }, Qt::QueuedConnection);
    }

    void post(const SoundProblem& problem) {
        const std::lock_guard lock(mutex);
        deliver([problem](SoundEngine& to) { emit to.problem(problem); });
    }

    void post(const SoundState& now) {
        const std::lock_guard lock(mutex);
        if (now.status == state.status && now.fileName == state.fileName &&
            now.length == state.length)
            return;
        state = now;
        deliver([now](SoundEngine& to) { emit to.stateChanged(now); });
    }

    void postSeek(std::chrono::microseconds to) {
        const std::lock_guard lock(mutex);
        deliver([to](SoundEngine& engine) { emit engine.seeked(to); });
    }
};

// The synthesizer, made by the first command that needs it, on the command
// thread: the module with FluidSynth is loaded then (or the engine's own
// stand-in output given to it).
struct SoundEngine::SynthesizerSlot {
    Synthesizer::Setup setup;
    std::vector<std::string> audioDrivers;
    SynthesizerModule::Make make = nullptr;
    std::shared_ptr<Synthesizer> made;
    bool tried = false;

    Synthesizer* get() {
        if (!std::exchange(tried, true)) {
            std::string failure;
            if (make == nullptr)
                make = SynthesizerModule::load(failure);
            if (make != nullptr)
                made = make(std::move(setup), std::move(audioDrivers));
            else {
                std::fprintf(stderr, "pelora: cannot load the synthesizer: %s; music is silent\n",
                             failure.c_str());
                if (setup.report)
                    setup.report(SoundProblem::of(SoundProblem::Kind::NoSynthesizer, {},
                                                  QString::fromStdString(failure)));
            }
        }
        return made.get();
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
    qRegisterMetaType<SoundState>();
    qRegisterMetaType<SoundProblem>();
    qRegisterMetaType<std::chrono::microseconds>();
    mailbox_->engine = this;
    chosenSoundFont_ = config.chosenSoundFont;
    synthesizer_ = std::make_shared<SynthesizerSlot>();
    synthesizer_->setup = Synthesizer::Setup{
        std::move(config.chosenSoundFont),
        std::move(config.soundFonts),
        config.wholeSoundFontLimit,
        std::move(config.audioOutput),
        [mailbox = mailbox_](const SoundProblem& problem) { mailbox->post(problem); },
        [mailbox = mailbox_](const SoundState& state) { mailbox->post(state); },
        [mailbox = mailbox_](std::chrono::microseconds to) { mailbox->postSeek(to); },
        mailbox_->position};
    if (!config.offline)
        synthesizer_->audioDrivers = std::move(config.audioDrivers);
    synthesizer_->make = config.makeSynthesizer;
}

SoundEngine::~SoundEngine() {
    shutDown();
}

void SoundEngine::shutDown() {
    if (commands_ == nullptr)
        return;
    handOver();
    {
        const std::lock_guard lock(mailbox_->mutex);
        mailbox_->engine = nullptr;
    }
    // The synthesizer ends on the command thread, after the commands before it.
    commands_->give([synthesizer = std::move(synthesizer_)]() mutable {
        quietly([&] { synthesizer->made.reset(); });
    });
    commands_.reset();
}

void SoundEngine::prepare() {
    prepareToPlay({});
}

void SoundEngine::prepareToPlay(const QString& fileName) {
    if (prepared_ || commands_ == nullptr)
        return;
    prepared_ = true;
    commands_->give([synthesizer = synthesizer_, fileName] {
        quietly([&] {
            if (Synthesizer* made = synthesizer->get()) {
                made->start();
                if (!fileName.isEmpty())
                    made->preload(fileName);
            }
        });
    });
}

void SoundEngine::checkChosenSoundFont() {
    // Only a named file that is not there, or not a file, is told now: the
    // check loads the synthesizer, which a usable one waits for until the
    // first song (which tells too of one that is no SoundFont).
    std::error_code error;
    if (commands_ == nullptr || chosenSoundFont_.empty() ||
        fs::is_regular_file(chosenSoundFont_, error))
        return;
    commands_->give([synthesizer = synthesizer_] {
        quietly([&] {
            if (Synthesizer* made = synthesizer->get())
                made->checkChosenSoundFont();
        });
    });
}

void SoundEngine::requestChanged() {
    // A volume or loop setting waits for the synthesizer; a file needs it.
    if (!request_.fileName.isEmpty())
        prepare();
    if (handOverDue_ || commands_ == nullptr)
        return;
    handOverDue_ = true;
    // Without an event loop on this thread, at once.
    if (QAbstractEventDispatcher::instance(thread()) == nullptr)
        handOver();
    else
        QMetaObject::invokeMethod(this, &SoundEngine::handOver, Qt::QueuedConnection);
}

// At most one task carries the request out at a time: the queue stays short
// whatever the number of commands.
void SoundEngine::handOver() {
    if (!handOverDue_ || commands_ == nullptr)
        return;
    handOverDue_ = false;
    const std::lock_guard lock(mailbox_->mutex);
    mailbox_->request = request_;
    if (std::exchange(mailbox_->carryOutQueued, true))
        return;
    commands_->give([mailbox = mailbox_, synthesizer = synthesizer_] {
        SoundRequest request;
        {
            const std::lock_guard lock(mailbox->mutex);
            request = mailbox->request;
            mailbox->carryOutQueued = false;
        }
        quietly([&] {
            // Only a song makes the synthesizer: a volume or a loop given
            // before it is in the request that brings the song.
            Synthesizer* made =
                request.fileName.isEmpty() ? synthesizer->made.get() : synthesizer->get();
            if (made != nullptr)
                made->bringTo(request);
        });
    });
}

void SoundEngine::open(const QString& fileName) {
    request_.fileName = fileName;
    ++request_.opening;
    request_.status = SoundRequest::Status::Stopped;
    requestChanged();
}

void SoundEngine::play() {
    if (request_.status != SoundRequest::Status::Paused) {
        ++request_.starting;
        request_.startAt = std::chrono::microseconds(0);
        request_.lastStartWasSeek = false;
    }
    request_.status = SoundRequest::Status::Playing;
    requestChanged();
}

void SoundEngine::pause() {
    if (request_.status == SoundRequest::Status::Playing) {
        request_.status = SoundRequest::Status::Paused;
        requestChanged();
    }
}

void SoundEngine::stop() {
    request_.fileName.clear();
    request_.status = SoundRequest::Status::Stopped;
    requestChanged();
}

void SoundEngine::seek(std::chrono::microseconds position) {
    if (request_.status == SoundRequest::Status::Stopped)
        return;
    ++request_.starting;
    request_.startAt = std::max(position, std::chrono::microseconds(0));
    request_.lastStartWasSeek = true;
    requestChanged();
}

void SoundEngine::setLooping(bool track) {
    request_.looping = track;
    requestChanged();
}

void SoundEngine::setVolume(double volume) {
    if (std::isnan(volume))
        return;
    request_.volume = std::clamp(volume, 0.0, 1.0);
    requestChanged();
}

SoundState SoundEngine::state() const {
    SoundState state;
    {
        const std::lock_guard lock(mailbox_->mutex);
        state = mailbox_->state;
    }
    state.position = state.fileName.isEmpty()
                         ? std::chrono::microseconds(0)
                         : std::chrono::microseconds(mailbox_->position->load());
    return state;
}

bool SoundEngine::settle(std::chrono::milliseconds limit) {
    handOver();
    return commands_ == nullptr || commands_->settle(limit);
}

std::size_t SoundEngine::waitingTasks() const {
    return commands_ == nullptr ? 0 : commands_->waiting();
}

bool SoundEngine::ready() {
    prepare();
    return settle() && synthesizer_ != nullptr && synthesizer_->made != nullptr &&
           synthesizer_->made->ready();
}

bool SoundEngine::isOpen() {
    return settle() && synthesizer_ != nullptr && synthesizer_->made != nullptr &&
           synthesizer_->made->isOpen();
}

void SoundEngine::render(float* left, float* right, int frames) {
    if (left == nullptr || right == nullptr || frames <= 0)
        return;
    if (!settle() || synthesizer_ == nullptr || synthesizer_->made == nullptr ||
        !synthesizer_->made->render(left, right, frames)) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
    }
}
