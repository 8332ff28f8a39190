#include "platform/FluidSynthDevice.h"

#include "platform/FluidSynthEngine.h"

#include <QCoreApplication>

#include <algorithm>

FluidSynthDevice::FluidSynthDevice(Output output)
    : FluidSynthDevice(output, FluidSynthEngine::shared()) {}

FluidSynthDevice::FluidSynthDevice(Output output, std::shared_ptr<FluidSynthEngine> engine)
    : output_(output), engine_(std::move(engine)) {}

FluidSynthDevice::~FluidSynthDevice() {
    close();
}

void FluidSynthDevice::open(const QString& fileName) {
    if (!fileName.isEmpty()) // nothing chosen: nothing to say
        engine_->open(this, fileName, output_ == Output::Speakers, reporter());
}

void FluidSynthDevice::play() {
    engine_->play(this);
}

void FluidSynthDevice::pause() {
    engine_->halt(this);
}

void FluidSynthDevice::stop() {
    pause();
}

void FluidSynthDevice::close() {
    engine_->release(this);
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

void FluidSynthDevice::setProblemListener(ProblemListener listener) {
    listener_ = listener ? std::make_shared<ProblemListener>(std::move(listener)) : nullptr;
    engine_->listen(reporter());
}

// Problems are met on the engine's command thread; the listener hears of
// them on the application object's thread, if the device is still there.
std::function<void(const SequencerProblem&)> FluidSynthDevice::reporter() const {
    if (listener_ == nullptr)
        return {};
    return [listener = std::weak_ptr<ProblemListener>(listener_)](const SequencerProblem& problem) {
        QCoreApplication* application = QCoreApplication::instance();
        if (application == nullptr)
            return;
        QMetaObject::invokeMethod(
            application,
            [listener, problem] {
                if (const std::shared_ptr<ProblemListener> heard = listener.lock())
                    (*heard)(problem);
            },
            Qt::QueuedConnection);
    };
}
