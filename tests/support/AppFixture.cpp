#include "support/AppFixture.h"

#include "app/Windows.h"
#include "core/ErrorModel.h"
#include "core/UserMessage.h"
#include "core/WindowInstance.h"
#include "platform/Platform.h"
#include "support/RecordingSequencer.h"
#include "support/ScriptedFileDialog.h"

#include <QApplication>
#include <QTest>

void AppFixture::SetUp() {
    windows::destroyAll();
    windows::sharedState() = {};
    ErrorModel::reset();
    ErrorModel::setReporter([this](const QString& message) { fatalReports << message; });
    UserMessage::setSink([this](const QString& text) { messages << text; });
    WindowHandle::setOnNoWindowLoaded([this] { ++programEnds; });
    RecordingSequencer::log().clear();
    ScriptedFileDialog::clearScript();
    ScriptedFileDialog::shows().clear();
    platform().makeSequencer = [] { return std::make_unique<RecordingSequencer>(); };
    platform().makeFileDialog = [](const QString& filter) {
        return std::make_unique<ScriptedFileDialog>(filter);
    };
}

void AppFixture::TearDown() {
    windows::destroyAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ErrorModel::setReporter({});
    UserMessage::setSink({});
    WindowHandle::setOnNoWindowLoaded({});
}

SharedState& AppFixture::state() {
    return windows::sharedState();
}

void AppFixture::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}
