#pragma once

#include <QFont>

// The fonts the windows' design gives their texts. Each control that shows
// text is given one of them itself, so that the desktop's font, whatever
// its face and size, changes nothing in the windows; message boxes and
// file dialogs keep the desktop's font. Each face is followed by the
// installed Japanese faces that stand in for it where it is missing.
namespace DesignFonts {

// The font of controls that the design gives none: the system font of the
// desktop the windows were designed on, a 9-point Japanese gothic.
QFont systemFont();

// The design's own faces, at `points`: a rounded gothic and a mincho.
QFont gothic(qreal points);
QFont mincho(qreal points);

} // namespace DesignFonts
