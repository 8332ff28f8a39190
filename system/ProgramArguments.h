#pragma once

#include <QStringList>

// The program's command line as text, the program's name first.
namespace ProgramArguments {

// POSIX systems hand the arguments over as bytes, which Qt decodes as
// UTF-8. Bytes not valid there come out as U+FFFD: a file so named cannot
// be opened by that text, and IncomingFiles tells it from a missing one.
// (Windows hands them over as wide characters: there the arguments are to
// be read with CommandLineToArgvW instead, as Qt's own do.)
QStringList fromArgv(int argc, char** argv);

} // namespace ProgramArguments
