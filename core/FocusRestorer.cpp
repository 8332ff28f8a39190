#include "core/FocusRestorer.h"

#include <QApplication>

namespace {

// The control with the focus; a window where nothing takes the focus
// (About) has it itself.
QWidget* focusedNow(QWidget* givenBack) {
    if (QWidget* control = QApplication::focusWidget())
        return control;
    if (QWidget* window = QApplication::activeWindow())
        return window;
    return givenBack;
}

} // namespace

FocusRestorer::FocusRestorer(Memory& memory)
    : memory_(memory), control_(focusedNow(memory.givenBack_)) {}

FocusRestorer::~FocusRestorer() {
    if (!control_ || !control_->isVisible())
        return;
    QWidget* window = control_->window();
    window->activateWindow();
    if (control_ != window)
        control_->setFocus(Qt::ActiveWindowFocusReason);
    memory_.givenBack_ = window->isActiveWindow() ? nullptr : control_;
}
