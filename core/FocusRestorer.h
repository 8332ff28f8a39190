#pragma once

#include <QPointer>
#include <QWidget>

// Gives the keyboard focus back to the control that had it when a modal
// window (a dialog, a message, About) opened: made before the window is
// shown, it activates that control's window and focuses it again when it
// ends. Left to itself, the window system would activate whichever window
// it likes once the modal one has closed.
class FocusRestorer {
public:
    // The control last given the focus back, while its window may not be
    // active yet: a message that follows a dialog at once (a list file that
    // could not be saved) opens before the window system has activated that
    // window, when none of the program's windows is active. One for the
    // program, shared by all its restorers.
    class Memory {
        friend class FocusRestorer;
        QPointer<QWidget> givenBack_;
    };

    explicit FocusRestorer(Memory& memory);
    ~FocusRestorer();
    FocusRestorer(const FocusRestorer&) = delete;
    FocusRestorer& operator=(const FocusRestorer&) = delete;

private:
    Memory& memory_;
    QPointer<QWidget> control_;
};
