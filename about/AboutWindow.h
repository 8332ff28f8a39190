#pragma once

#include "core/WindowBase.h"

// The About window: the program's icon, name, version and copyright, a line
// inviting feedback and the web address. Nothing in it takes input: it is
// closed by its close box, the system's close command or Escape.
class AboutWindow : public WindowBase {
    Q_OBJECT
public:
    AboutWindow();

    QAccessible::Role accessibleRole() const override { return QAccessible::Dialog; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
