#pragma once

#include <string>
#include <string_view>

// The character set that list files are written and read in: the locale's
// code set, with two exceptions. A UTF-8 or plain ASCII locale gives UTF-8.
// A Japanese Shift-JIS locale gives CP932, since glibc's SHIFT_JIS reads
// 0x5C as the yen sign and 0x7E as an overline, and Windows paths written
// in code page 932 would not come back.
class ListFileCharset {
public:
    // For the current locale (setlocale(LC_ALL, "") has already run).
    static std::string system();
    // For a code set name as nl_langinfo(CODESET) gives it.
    static std::string forCodeset(std::string_view codeset);
    static bool isUtf8(std::string_view charset);
};
