#pragma once

#include "app/Windows.h"
#include "core/FocusRestorer.h"
#include "core/UserMessages.h"
#include "state/SharedState.h"
#include "support/QtTestHelpers.h"
#include "support/RecordingSequencer.h"

#include <QObject>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

// Every window test starts from a program that has not begun: shared state
// at its initial values, no window loaded, the recording sequencer and the
// scripted file dialog in place, failures and messages recorded.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the program anew around `sequencer` (the recording one when
    // null) and dialogs from `makeFileDialog` (the scripted ones when
    // empty); the windows of the program before are destroyed.
    void rebuild(Sequencer* sequencer = nullptr, FileDialog::Factory makeFileDialog = {});

    // The program's windows.
    static Windows& windows();

    // A window's control, found by its object name; throws when there is none.
    template <class Control = QWidget>
    static Control* control(const QObject& window, const char* name) {
        auto* found = window.findChild<Control*>(QLatin1String(name));
        if (found == nullptr)
            throw std::runtime_error(std::string("no control named ") + name);
        return found;
    }

    // A key pressed on whatever has the keyboard focus, as a user types it.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {});

    // The state the player and the playlist share.
    static SharedState& state();

    // Untrapped failures reported since SetUp (the program would have ended).
    QStringList fatalReports;
    // Message boxes shown since SetUp.
    QStringList messages;
    // Times the program ended because no window was loaded any more.
    int programEnds = 0;

    FocusRestorer::Memory focus;
    // Records what it would show in `messages`.
    UserMessages userMessages;

    AppFixture();

private:
    RecordingSequencer recorder_;
    std::unique_ptr<Windows> program_;
};
