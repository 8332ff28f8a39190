#include "system/ProgramArguments.h"

#include <QString>

namespace ProgramArguments {

QStringList fromArgv(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace ProgramArguments
