#include "support/AppFixture.h"

#include "app/ErrorModel.h"
#include "app/FormInstance.h"
#include "app/Forms.h"
#include "app/Module1.h"
#include "app/Platform.h"
#include "app/UserMessage.h"
#include "support/RecordingSequencer.h"
#include "support/ScriptedFileDialog.h"

#include <QCoreApplication>

void AppFixture::SetUp() {
    forms::destroyAll();
    Module1::reset();
    ErrorModel::reset();
    ErrorModel::setReporter([this](const QString& message) { fatalReports << message; });
    UserMessage::setSink([this](const QString& text) { messages << text; });
    FormInstanceBase::setOnNoWindowLoaded([this] { ++programEnds; });
    RecordingSequencer::log().clear();
    ScriptedFileDialog::clearScript();
    ScriptedFileDialog::shows().clear();
    platform().makeSequencer = [] { return std::make_unique<RecordingSequencer>(); };
    platform().makeFileDialog = [](const QString& filter) {
        return std::make_unique<ScriptedFileDialog>(filter);
    };
}

void AppFixture::TearDown() {
    forms::destroyAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ErrorModel::setReporter({});
    UserMessage::setSink({});
    FormInstanceBase::setOnNoWindowLoaded({});
}
