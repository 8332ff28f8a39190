#pragma once

#include <QStringList>

// The program's command line as text, the program's name first.
namespace ProgramArguments {

// POSIX systems hand the arguments over as bytes in the locale's character
// set. (Windows hands them over as wide characters: there the arguments
// are to be read with CommandLineToArgvW instead, as Qt's own do.)
QStringList fromArgv(int argc, char** argv);

} // namespace ProgramArguments
