#include "playlist/ListFileCodec.h"

#include "system/Iconv.h"
#include "system/ListFileCharset.h"

#include <algorithm>
#include <memory>

namespace {

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view FieldEnds = ",\r\n";

std::string describe(ListFileCodecError::Reason reason) {
    switch (reason) {
    case ListFileCodecError::Reason::UnknownCharset:
        return "unknown character set";
    case ListFileCodecError::Reason::Unrepresentable:
        return "entry not representable in the character set";
    case ListFileCodecError::Reason::QuoteInEntry:
        return "entry holds a double quote";
    case ListFileCodecError::Reason::InvalidBytes:
        return "bytes not valid in the character set";
    case ListFileCodecError::Reason::TooManyEntries:
        return "too many entries";
    }
    return {};
}

std::unique_ptr<Iconv> converter(const std::string& to, const std::string& from,
                                 const std::string& charset) {
    try {
        return std::make_unique<Iconv>(to, from);
    } catch (const std::invalid_argument&) {
        throw ListFileCodecError(ListFileCodecError::Reason::UnknownCharset, charset);
    }
}

// Past the comma or line end at `pos`; CR LF counts as one line end.
std::size_t pastFieldEnd(std::string_view text, std::size_t pos) {
    if (pos >= text.size())
        return pos;
    if (text.substr(pos, 2) == "\r\n")
        return pos + 2;
    return pos + 1;
}

} // namespace

ListFileCodecError::ListFileCodecError(Reason reason, std::string entry, std::size_t offset)
    : std::runtime_error(describe(reason)), reason(reason), entry(std::move(entry)),
      offset(offset) {}

std::string ListFileCodec::encode(const std::vector<std::string>& entries,
                                  const std::string& charset) {
    std::string text;
    for (const std::string& entry : entries) {
        if (entry.find('"') != std::string::npos)
            throw ListFileCodecError(ListFileCodecError::Reason::QuoteInEntry, entry);
        text += '"';
        text += entry;
        text += "\"\r\n";
    }
    const auto toFile = converter(charset, "UTF-8", charset);
    const auto back = converter("UTF-8", charset, charset);
    // CP932 stores the yen sign and the backslash alike as 0x5C, among
    // others: only text that reads back as itself may be written.
    const auto stored = [&](const std::string& utf8) -> std::optional<std::string> {
        std::optional<std::string> bytes = toFile->convert(utf8);
        if (bytes && back->convert(*bytes) == utf8)
            return bytes;
        return std::nullopt;
    };
    if (std::optional<std::string> bytes = stored(text))
        return *bytes;
    const auto culprit = std::find_if(entries.begin(), entries.end(),
                                      [&](const std::string& entry) { return !stored(entry); });
    throw ListFileCodecError(ListFileCodecError::Reason::Unrepresentable,
                             culprit != entries.end() ? *culprit : text);
}

std::vector<std::string> ListFileCodec::decode(std::string_view bytes, const std::string& charset,
                                               std::size_t maxEntries) {
    std::size_t failedAt = 0;
    const std::optional<std::string> text =
        converter("UTF-8", charset, charset)->convert(bytes, &failedAt);
    if (!text)
        throw ListFileCodecError(ListFileCodecError::Reason::InvalidBytes, {}, failedAt);
    std::string_view view = *text;
    if (ListFileCharset::isUtf8(charset) && view.starts_with(Utf8ByteOrderMark))
        view.remove_prefix(Utf8ByteOrderMark.size());
    return parse(view, maxEntries);
}

std::vector<std::string> ListFileCodec::parse(std::string_view text, std::size_t maxEntries) {
    std::vector<std::string> entries;
    std::size_t pos = 0;
    while (pos < text.size()) {
        pos = std::min(text.find_first_not_of(' ', pos), text.size());
        if (pos == text.size())
            break;
        if (entries.size() == maxEntries)
            throw ListFileCodecError(ListFileCodecError::Reason::TooManyEntries, {});
        std::size_t end;
        if (text[pos] == '"') {
            const std::size_t close = std::min(text.find('"', pos + 1), text.size());
            entries.emplace_back(text.substr(pos + 1, close - pos - 1));
            end = std::min(text.find_first_of(FieldEnds, close), text.size());
        } else {
            end = std::min(text.find_first_of(FieldEnds, pos), text.size());
            const std::string_view field = text.substr(pos, end - pos);
            entries.emplace_back(field.substr(0, field.find_last_not_of(' ') + 1));
        }
        pos = pastFieldEnd(text, end);
    }
    return entries;
}
