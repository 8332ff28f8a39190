#include "platform/FluidSynthDevice.h"

#include "platform/FluidLog.h"
#include "platform/FluidSynthEngine.h"
#include "platform/MidiFileNormaliser.h"
#include "platform/RiffMidi.h"
#include "platform/WholeFile.h"

#include <QFile>

#include <algorithm>
#include <exception>

namespace {

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

void fail(const QString& fileName, const std::string& what) {
    FluidLog::report("\"" + fileName.toStdString() + "\": " + what);
}

// The device's boundary: whatever goes wrong inside, the caller sees an
// operation that changed nothing.
template <class Operation> void quietly(const QString& fileName, Operation operation) {
    FluidLog::forget();
    try {
        operation();
    } catch (const std::exception& error) {
        fail(fileName, std::string("the sequencer failed: ") + error.what());
    } catch (...) {
        fail(fileName, "the sequencer failed");
    }
}

} // namespace

FluidSynthDevice::FluidSynthDevice(Output output)
    : FluidSynthDevice(output, FluidSynthEngine::shared()) {}

FluidSynthDevice::FluidSynthDevice(Output output, std::shared_ptr<FluidSynthEngine> engine)
    : output_(output), engine_(std::move(engine)) {}

FluidSynthDevice::~FluidSynthDevice() {
    close();
}

void FluidSynthDevice::open(const QString& fileName) {
    quietly(fileName, [&] { load(fileName); });
}

void FluidSynthDevice::load(const QString& fileName) {
    if (fileName.isEmpty() || !engine_->ready())
        return; // nothing to say: no file chosen, or the engine has said why
    MidiFileNormaliser::Result file = readPlayable(fileName);
    if (!file.ok()) {
        fail(fileName, file.refusal);
        return;
    }
    fileName_ = fileName;
    engine_->load(this, std::move(file.bytes), output_ == Output::Speakers);
}

void FluidSynthDevice::play() {
    quietly(fileName_, [&] { engine_->play(this); });
}

void FluidSynthDevice::pause() {
    quietly(fileName_, [&] { engine_->halt(this); });
}

void FluidSynthDevice::stop() {
    pause();
}

void FluidSynthDevice::close() {
    quietly(fileName_, [&] { engine_->release(this); });
}

void FluidSynthDevice::render(float* left, float* right, int frames) {
    if (left == nullptr || right == nullptr || frames <= 0)
        return;
    const bool rendered = output_ == Output::Offline && engine_->render(this, left, right, frames);
    if (!rendered) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
    }
}

bool FluidSynthDevice::isOpen() const {
    return engine_->owns(this);
}
