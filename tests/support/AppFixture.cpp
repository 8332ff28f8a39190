#include "support/AppFixture.h"

#include "core/ErrorModel.h"
#include "support/ScriptedFileDialog.h"
#include "texts/Texts.h"

#include <QApplication>
#include <QTest>

namespace {
Windows* current = nullptr;
}

AppFixture::AppFixture()
    : userMessages([this](const QString& text) { messages << text; }, Texts::gathered) {}

void AppFixture::SetUp() {
    ErrorModel::reset();
    ErrorModel::setReporter([this](const QString& message) { fatalReports << message; });
    RecordingSequencer::log().clear();
    ScriptedFileDialog::clearScript();
    ScriptedFileDialog::shows().clear();
    rebuild();
}

void AppFixture::rebuild(Sequencer* sequencer, FileDialog::Factory makeFileDialog) {
    current = nullptr;
    program_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!makeFileDialog)
        makeFileDialog = [](const QString& filter, const QString&) {
            return std::make_unique<ScriptedFileDialog>(filter);
        };
    program_ = std::make_unique<Windows>(
        Windows::Needs{sequencer != nullptr ? *sequencer : recorder_, std::move(makeFileDialog),
                       userMessages, focus, [this] { ++programEnds; }});
    current = program_.get();
}

void AppFixture::TearDown() {
    current = nullptr;
    program_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ErrorModel::setReporter({});
}

Windows& AppFixture::windows() {
    if (current == nullptr)
        throw std::logic_error("no program built");
    return *current;
}

SharedState& AppFixture::state() {
    return windows().sharedState();
}

void AppFixture::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}
