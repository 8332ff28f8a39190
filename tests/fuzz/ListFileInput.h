#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// How the list file target reads its input: a byte choosing the operation
// and the locale's code set, a byte choosing the maximum number of entries,
// then the list file's bytes (decoding) or entries separated by NUL bytes
// (encoding). The corpus generator writes its seeds in the same shape.
namespace ListFileInput {

enum class Operation : std::uint8_t { Decode = 0, Encode = 1 };

// Every code set a Debian locale can have, and the Shift-JIS names that
// give CP932.
inline constexpr std::array codesets{
    "UTF-8",       "ANSI_X3.4-1968", "SHIFT_JIS",   "SJIS",        "EUC-JP",
    "ISO-8859-1",  "ISO-8859-2",     "ISO-8859-3",  "ISO-8859-5",  "ISO-8859-6",
    "ISO-8859-7",  "ISO-8859-8",     "ISO-8859-9",  "ISO-8859-10", "ISO-8859-13",
    "ISO-8859-14", "ISO-8859-15",    "CP1251",      "CP1255",      "KOI8-R",
    "KOI8-U",      "KOI8-T",         "PT154",       "RK1048",      "GB2312",
    "GBK",         "GB18030",        "BIG5",        "BIG5-HKSCS",  "EUC-KR",
    "EUC-TW",      "TIS-620",        "GEORGIAN-PS", "ARMSCII-8",   "CP932"};

constexpr std::size_t unlimited = 32767;

struct Parsed {
    Operation operation;
    std::string codeset;
    std::size_t maxEntries;
    std::string_view payload;
};

inline bool parse(const std::uint8_t* data, std::size_t size, Parsed& parsed) {
    if (size < 2)
        return false;
    parsed.operation = static_cast<Operation>(data[0] & 1);
    parsed.codeset = codesets[(data[0] >> 1) % codesets.size()];
    parsed.maxEntries = (data[1] & 0x80) != 0 ? unlimited : data[1];
    parsed.payload = std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2);
    return true;
}

inline std::string header(Operation operation, std::string_view codeset, std::size_t maxEntries) {
    std::size_t index = 0;
    while (index < codesets.size() && codesets[index] != codeset)
        ++index;
    const auto mode = static_cast<std::uint8_t>(index << 1 | static_cast<std::uint8_t>(operation));
    const auto limit = static_cast<std::uint8_t>(maxEntries >= 0x80 ? 0x80 : maxEntries);
    return std::string{static_cast<char>(mode), static_cast<char>(limit)};
}

} // namespace ListFileInput
