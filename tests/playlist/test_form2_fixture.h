#pragma once

#include "app/Forms.h"
#include "app/Module1.h"
#include "app/Startup.h"
#include "player/Form1.h"
#include "playlist/Form2.h"
#include "support/AppFixture.h"
#include "support/RecordingSequencer.h"

#include <QCoreApplication>
#include <QTest>

// The program after its start: the player and the playlist window up, the
// device configured and its writes forgotten.
class Form2Test : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        Startup::run();
        RecordingSequencer::log().clear();
    }

    static Form2& playlist() { return forms::Form2().load(); }
    static Form1& player() { return forms::Form1().load(); }

    static void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

    // "追加" with the given file as the current one.
    static void add(const QString& path) {
        Module1::strMidiFile = path;
        click(playlist().Command1);
    }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
