#include "core/FocusRestorer.h"

#include <QApplication>

namespace {

// The control last given the focus back, while its window may not be active
// yet: a message that follows a dialog at once (a list file that could not
// be saved) opens before the window system has activated that window, when
// none of the program's windows is active.
QPointer<QWidget> givenBack;

// The control with the focus; a window where nothing takes the focus
// (About) has it itself.
QWidget* focusedNow() {
    if (QWidget* control = QApplication::focusWidget())
        return control;
    if (QWidget* window = QApplication::activeWindow())
        return window;
    return givenBack;
}

} // namespace

FocusRestorer::FocusRestorer() : control_(focusedNow()) {}

FocusRestorer::~FocusRestorer() {
    if (!control_ || !control_->isVisible())
        return;
    QWidget* window = control_->window();
    window->activateWindow();
    if (control_ != window)
        control_->setFocus(Qt::ActiveWindowFocusReason);
    givenBack = window->isActiveWindow() ? nullptr : control_;
}
