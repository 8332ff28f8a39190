#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <ostream>

// GoogleTest prints Qt's strings as text, not as bytes.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);

// Whether any pixel of `area` in the screenshot is white, or nearly so.
bool holdsWhite(const QImage& shot, const QRect& area);

// The captions of `window` that do not show whole, each as its text: a
// control's caption wider than the room its style leaves for it, its glyphs
// taller than that room, or the control reaching outside the window.
QStringList clippedCaptions(const QWidget& window);
