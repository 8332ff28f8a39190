#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Why a list could not be turned into a list file's bytes, or back.
class ListFileCodecError : public std::runtime_error {
public:
    enum class Reason {
        UnknownCharset,
        Unrepresentable, // `entry` would not come back unchanged from the character set
        QuoteInEntry,    // `entry` holds a double quote, which would split it on reading
        InvalidBytes,    // the bytes from `offset` on are not valid in the character set
        TooManyEntries,
    };

    ListFileCodecError(Reason reason, std::string entry, std::size_t offset = 0);

    Reason reason;
    std::string entry;
    std::size_t offset;
};

// A list file's bytes: one line per entry, the entry between two double
// quotes and then CR LF, nothing escaped, in a given character set. Entries
// are UTF-8. Throws ListFileCodecError.
class ListFileCodec {
public:
    static std::string encode(const std::vector<std::string>& entries, const std::string& charset);

    // Converts the whole input to UTF-8 before looking for a single
    // delimiter, so that a quote, comma or line end is only ever found as a
    // whole character, never as the second byte of a multi-byte one.
    static std::vector<std::string> decode(std::string_view bytes, const std::string& charset,
                                           std::size_t maxEntries);

    // The fields of a list file's text, already UTF-8: a field ends at a
    // comma or a line end (CR LF, a lone CR or a lone LF); leading spaces are
    // skipped; a field that starts with a double quote runs to the next one
    // (or to the end of the text), and the rest of it is dropped; any other
    // field loses its trailing spaces.
    static std::vector<std::string> parse(std::string_view text, std::size_t maxEntries);
};
