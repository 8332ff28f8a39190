#pragma once

#include "core/WindowBase.h"

// The About window: the program's icon, name, version and copyright, a line
// inviting feedback and the web address. Nothing in it takes input: it is
// closed by its close box (or the system's close command).
class AboutWindow : public WindowBase {
    Q_OBJECT
public:
    AboutWindow();
};
