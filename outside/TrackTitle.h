#pragma once

#include <QString>

#include <string>

// The name the desktop's media controls show for a song: the name stored in
// the file, else the file's name, made safe to show anywhere (a panel, a
// notification, a terminal): no control characters, no surrounding spaces,
// at most `maxLength` characters.
namespace TrackTitle {

constexpr qsizetype maxLength = 256;

// Reads the song's name from the file.
QString of(const QString& fileName);

// The song's name from the bytes a file gives for it: UTF-8 where they are
// valid UTF-8, else code page 932, in which most Japanese MIDI files were
// written; the file's name when they are neither or name nothing.
QString fromStoredName(const std::string& storedName, const QString& fileName);

} // namespace TrackTitle
