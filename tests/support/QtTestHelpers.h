#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <ostream>

// GoogleTest prints Qt's strings as text, not as bytes.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);

// Whether any pixel of `area` in the screenshot is white, or nearly so.
bool holdsWhite(const QImage& shot, const QRect& area);
