#pragma once

#include "platform/WholeFile.h"

#include <QString>

// Why a file could not be read or written, in Japanese, for the user.
// `maxBytes` is the size limit the reader applied.
QString fileErrorText(const WholeFileError& error, long long maxBytes);
