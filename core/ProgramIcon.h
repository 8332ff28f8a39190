#pragma once

#include <QIcon>

// The program's icon, for the windows' title bars and the About window: the
// 32-pixel, 16-colour design, a drawing of its own for 16 pixels (the
// design shrunk that far is a grey blur) and one at 64 pixels for screens
// with twice the pixels. Qt reads each size only when it is asked for.
namespace ProgramIcon {

QIcon icon();

} // namespace ProgramIcon
