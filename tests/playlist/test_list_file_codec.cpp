#include "playlist/ListFileCodec.h"
#include "system/ListFileCharset.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Entries = std::vector<std::string>;
using Reason = ListFileCodecError::Reason;

constexpr std::size_t Max = 32767;

Reason decodeFailure(std::string_view bytes, const std::string& charset,
                     std::size_t maxEntries = Max) {
    try {
        ListFileCodec::decode(bytes, charset, maxEntries);
    } catch (const ListFileCodecError& error) {
        return error.reason;
    }
    ADD_FAILURE() << "decoded without failure";
    return Reason::UnknownCharset;
}

// --- Writing: the exact bytes -----------------------------------------------

struct EncodeCase {
    const char* name;
    std::string charset;
    Entries entries;
    std::string bytes;
};

class ListFileEncode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(ListFileEncode, WritesExactBytes) {
    EXPECT_EQ(ListFileCodec::encode(GetParam().entries, GetParam().charset), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListFileEncode,
    ::testing::Values(
        EncodeCase{"EmptyListIsZeroBytes", "UTF-8", {}, ""},
        EncodeCase{"EmptyEntry", "UTF-8", {""}, "\"\"\r\n"},
        EncodeCase{
            "TwentyByteExample", "UTF-8", {"C:\\MIDI\\a, b.mid"}, "\"C:\\MIDI\\a, b.mid\"\r\n"},
        EncodeCase{"OrderKept", "UTF-8", {"b", "a"}, "\"b\"\r\n\"a\"\r\n"},
        EncodeCase{"JapaneseInUtf8", "UTF-8", {"曲.mid"}, "\"\xE6\x9B\xB2.mid\"\r\n"},
        EncodeCase{
            "JapaneseInCp932", "CP932", {"C:\\ソ表能"}, "\"C:\\\x83\x5C\x95\x5C\x94\x5C\"\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Writing then reading gives the same entries ------------------------------

class ListFileRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(ListFileRoundTrip, GivesTheSameEntriesInTheSameOrder) {
    const Entries entries = {
        "C:\\MIDI\\a, b.mid",        "",          "  spaces inside  ",
        "/home/user/My Music/z.mid", "tab\there", "C:\\音楽\\ソ表能\\～ー－∥￢.mid",
        "ｶﾀｶﾅ,comma\r\nline end"};
    EXPECT_EQ(ListFileCodec::decode(ListFileCodec::encode(entries, GetParam()), GetParam(), Max),
              entries);
}

INSTANTIATE_TEST_SUITE_P(Charsets, ListFileRoundTrip, ::testing::Values("UTF-8", "CP932"),
                         [](const auto& info) { return info.param == "UTF-8" ? "Utf8" : "Cp932"; });

// --- Reading files written elsewhere, and the inputs saving never writes ------

struct ParseCase {
    const char* name;
    std::string text;
    Entries entries;
};

class ListFileParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ListFileParse, Reads) {
    EXPECT_EQ(ListFileCodec::decode(GetParam().text, "UTF-8", Max), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListFileParse,
    ::testing::Values(
        ParseCase{"ZeroBytesNoEntry", "", {}}, ParseCase{"NoFinalLineEnd", "\"a\"", {"a"}},
        ParseCase{"TwoQuotedFieldsJoinedByComma", "\"a\",\"b\"\r\n", {"a", "b"}},
        ParseCase{"UnquotedLineWithComma", "a,b\r\n", {"a", "b"}},
        ParseCase{"BlankLineIsEmptyEntry", "\"a\"\r\n\r\n\"b\"\r\n", {"a", "", "b"}},
        ParseCase{"ExtraEmptyLineAtEnd", "\"a\"\r\n\r\n", {"a", ""}},
        ParseCase{"LeadingSpacesSkipped", "   \" a \"\r\n  b\r\n", {" a ", "b"}},
        ParseCase{
            "TextAfterClosingQuoteIgnored", "\"a\"xy z,\"b\" \"c\"\r\n\"d\"", {"a", "b", "d"}},
        ParseCase{"UnclosedQuoteRunsToEnd", "\"a,b\r\nc", {"a,b\r\nc"}},
        ParseCase{"TrailingSpacesOfUnquotedDropped", "a b  ,c  \r\n", {"a b", "c"}},
        ParseCase{"TabIsOrdinary", "\ta\t,\t\"b\"\r\n", {"\ta\t", "\t\"b\""}},
        ParseCase{"LoneCrAndLoneLfEndLines", "a\rb\nc\r\nd\n\re", {"a", "b", "c", "d", "", "e"}},
        ParseCase{"SpacesAtVeryEndMakeNoEntry", "\"a\"\r\n   ", {"a"}},
        ParseCase{"CommaBeforeEnd", "a,", {"a"}},
        ParseCase{"Utf8ByteOrderMarkSkipped", "\xEF\xBB\xBF\"a\"\r\n", {"a"}},
        ParseCase{"ByteOrderMarkOnlyAtStart",
                  "a\r\n\xEF\xBB\xBF"
                  "b\r\n",
                  {"a", "\xEF\xBB\xBF"
                        "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ソ (83 5C), 表 (95 5C) and 能 (94 5C) end in the backslash byte; the text is
// decoded before any delimiter is looked for.
TEST(ListFileDecode, Cp932CharactersEndingInBackslashByteStayWhole) {
    const std::string bytes = "\"\x83\x5C\",\x95\x5C  ,\x94\x5C\x5C\r\n\x83\x5C\x95\x5C\x94\x5C";
    EXPECT_EQ(ListFileCodec::decode(bytes, "CP932", Max), (Entries{"ソ", "表", "能\\", "ソ表能"}));
}

// In ISO-2022-JP the second byte of ア is 0x22, the double quote: only
// reading whole characters keeps the entry in one piece.
TEST(ListFileDecode, DelimiterBytesInsideCharactersAreNotDelimiters) {
    const std::string bytes = "\"\x1B$B\x25\x22\x1B(B.mid\"\r\n";
    EXPECT_EQ(ListFileCodec::decode(bytes, "ISO-2022-JP", Max), Entries{"ア.mid"});
    EXPECT_EQ(ListFileCodec::encode({"ア.mid"}, "ISO-2022-JP"), bytes);
}

// --- Refusals ------------------------------------------------------------------

struct RefusedEntry {
    const char* name;
    std::string charset;
    std::string entry;
    Reason reason;
};

class ListFileRefusedEntry : public ::testing::TestWithParam<RefusedEntry> {};

TEST_P(ListFileRefusedEntry, IsNamedAndNothingIsWritten) {
    try {
        ListFileCodec::encode({"ok.mid", GetParam().entry}, GetParam().charset);
        FAIL() << "encoded";
    } catch (const ListFileCodecError& error) {
        EXPECT_EQ(error.reason, GetParam().reason);
        EXPECT_EQ(error.entry, GetParam().entry);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListFileRefusedEntry,
    ::testing::Values(
        RefusedEntry{"YenSignFoldsToBackslash", "CP932", "C:\\¥500.mid", Reason::Unrepresentable},
        RefusedEntry{"WaveDashFoldsToFullwidthTilde", "CP932", "a〜b", Reason::Unrepresentable},
        RefusedEntry{"MinusFoldsToFullwidthHyphen", "CP932", "a−b", Reason::Unrepresentable},
        RefusedEntry{"DoubleVerticalLineFolds", "CP932", "a‖b", Reason::Unrepresentable},
        RefusedEntry{"NotSignFolds", "CP932", "a¬b", Reason::Unrepresentable},
        RefusedEntry{"CharacterOutsideCp932", "CP932", "caf\xC3\xA9 🎵", Reason::Unrepresentable},
        RefusedEntry{"InvalidUtf8", "UTF-8", "a\xFF", Reason::Unrepresentable},
        RefusedEntry{"QuoteWouldSplitTheEntry", "UTF-8", "a\"b.mid", Reason::QuoteInEntry}),
    [](const auto& info) { return std::string(info.param.name); });

struct InvalidInput {
    const char* name;
    std::string charset;
    std::string bytes;
    std::size_t offset;
};

class ListFileInvalidBytes : public ::testing::TestWithParam<InvalidInput> {};

TEST_P(ListFileInvalidBytes, AreRefusedWithTheirOffset) {
    try {
        ListFileCodec::decode(GetParam().bytes, GetParam().charset, Max);
        FAIL() << "decoded";
    } catch (const ListFileCodecError& error) {
        EXPECT_EQ(error.reason, Reason::InvalidBytes);
        EXPECT_EQ(error.offset, GetParam().offset);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListFileInvalidBytes,
    ::testing::Values(InvalidInput{"Utf8StrayByte", "UTF-8", "\"ab\xFF\"\r\n", 3},
                      InvalidInput{"Utf8Surrogate", "UTF-8", "\"\xED\xA0\x80\"", 1},
                      InvalidInput{"Utf8TruncatedAtEnd", "UTF-8", "\"a\"\r\n\xE6\x9B", 5},
                      InvalidInput{"Cp932UnassignedPair", "CP932", "\"\x85\x40\"", 1},
                      InvalidInput{"Cp932LeadByteAtEnd", "CP932", "\"a\"\r\n\x83", 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListFileDecode, RefusesMoreEntriesThanTheMaximum) {
    std::string lines;
    for (std::size_t i = 0; i < Max; ++i)
        lines += "\"x\"\r\n";
    EXPECT_EQ(ListFileCodec::decode(lines, "UTF-8", Max).size(), Max);
    EXPECT_EQ(decodeFailure(lines + "\"x\"", "UTF-8"), Reason::TooManyEntries);
    EXPECT_EQ(decodeFailure(lines + ",", "UTF-8"), Reason::TooManyEntries);
    EXPECT_EQ(ListFileCodec::decode(lines + "  ", "UTF-8", Max).size(), Max);
}

TEST(ListFileDecode, RefusesUnknownCharset) {
    EXPECT_EQ(decodeFailure("a", "NO-SUCH-CHARSET"), Reason::UnknownCharset);
}

// --- The character set of the locale ----------------------------------------------

class ListFileCharsetFor : public ::testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(ListFileCharsetFor, Codeset) {
    EXPECT_EQ(ListFileCharset::forCodeset(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Codesets, ListFileCharsetFor,
    ::testing::Values(std::pair{"UTF-8", "UTF-8"}, std::pair{"utf8", "UTF-8"},
                      std::pair{"ANSI_X3.4-1968", "UTF-8"}, std::pair{"SHIFT_JIS", "CP932"},
                      std::pair{"SJIS", "CP932"}, std::pair{"WINDOWS-31J", "CP932"},
                      std::pair{"EUC-JP", "EUC-JP"}, std::pair{"ISO-8859-1", "ISO-8859-1"}));

} // namespace
