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
    FocusRestorer();
    ~FocusRestorer();
    FocusRestorer(const FocusRestorer&) = delete;
    FocusRestorer& operator=(const FocusRestorer&) = delete;

private:
    QPointer<QWidget> control_;
};
