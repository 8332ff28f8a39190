// The list file codec on any bytes, in every locale's character set: reading
// never fails other than with a named reason, and whatever it reads is
// written back and read again unchanged; whatever list it writes reads back
// as the same list.
#include "FuzzCheck.h"
#include "ListFileInput.h"

#include "playlist/ListFileCodec.h"
#include "system/ListFileCharset.h"

#include <algorithm>
#include <optional>

namespace {

using Entries = std::vector<std::string>;
using Reason = ListFileCodecError::Reason;

std::optional<Entries> decode(std::string_view bytes, const std::string& charset,
                              std::size_t maxEntries, Reason& failure) {
    try {
        return ListFileCodec::decode(bytes, charset, maxEntries);
    } catch (const ListFileCodecError& error) {
        failure = error.reason;
        return std::nullopt;
    }
}

std::optional<std::string> encode(const Entries& entries, const std::string& charset,
                                  Reason& failure) {
    try {
        return ListFileCodec::encode(entries, charset);
    } catch (const ListFileCodecError& error) {
        failure = error.reason;
        return std::nullopt;
    }
}

bool holdsQuote(const Entries& entries) {
    return std::any_of(entries.begin(), entries.end(),
                       [](const std::string& entry) { return entry.find('"') != entry.npos; });
}

// Written entries read back as themselves, and a limit one short refuses them.
void checkReadsBack(const std::string& bytes, const Entries& entries, const std::string& charset) {
    Reason failure{};
    const std::optional<Entries> again = decode(bytes, charset, entries.size(), failure);
    FUZZ_CHECK(again && *again == entries);
    if (!entries.empty())
        FUZZ_CHECK(!decode(bytes, charset, entries.size() - 1, failure) &&
                   failure == Reason::TooManyEntries);
}

void checkDecode(std::string_view bytes, const std::string& charset, std::size_t maxEntries) {
    Reason failure{};
    const std::optional<Entries> entries = decode(bytes, charset, maxEntries, failure);
    if (!entries) {
        FUZZ_CHECK(failure == Reason::InvalidBytes || failure == Reason::TooManyEntries);
        return;
    }
    FUZZ_CHECK(entries->size() <= maxEntries);
    // A list that was read can be saved again, unless an unquoted field held
    // a quote; what is saved reads back the same.
    const std::optional<std::string> written = encode(*entries, charset, failure);
    if (!written) {
        FUZZ_CHECK(failure == Reason::QuoteInEntry && holdsQuote(*entries));
        return;
    }
    checkReadsBack(*written, *entries, charset);
}

void checkEncode(std::string_view payload, const std::string& charset) {
    Entries entries;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(payload.find('\0', start), payload.size());
        entries.emplace_back(payload.substr(start, end - start));
        if (end == payload.size())
            break;
        start = end + 1;
    }
    Reason failure{};
    const std::optional<std::string> written = encode(entries, charset, failure);
    if (!written) {
        FUZZ_CHECK(failure ==
                   (holdsQuote(entries) ? Reason::QuoteInEntry : Reason::Unrepresentable));
        return;
    }
    FUZZ_CHECK(!holdsQuote(entries));
    checkReadsBack(*written, entries, charset);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ListFileInput::Parsed input;
    if (!ListFileInput::parse(data, size, input))
        return 0;
    const std::string charset = ListFileCharset::forCodeset(input.codeset);
    if (input.operation == ListFileInput::Operation::Decode)
        checkDecode(input.payload, charset, input.maxEntries);
    else
        checkEncode(input.payload, charset);
    return 0;
}
