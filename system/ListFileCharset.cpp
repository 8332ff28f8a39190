#include "system/ListFileCharset.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <langinfo.h>

namespace {

std::string upper(std::string_view name) {
    std::string result(name);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool isShiftJis(const std::string& name) {
    static constexpr std::array names{"SHIFT_JIS",   "SHIFT-JIS",    "SJIS",     "CSSHIFTJIS",
                                      "MS_KANJI",    "CP932",        "MS932",    "IBM-943",
                                      "WINDOWS-31J", "CSWINDOWS31J", "SJIS-WIN", "SJIS-OPEN"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

std::string ListFileCharset::system() {
    return forCodeset(nl_langinfo(CODESET));
}

std::string ListFileCharset::forCodeset(std::string_view codeset) {
    const std::string name = upper(codeset);
    if (name.empty() || isUtf8(name) || name == "ANSI_X3.4-1968" || name == "ASCII" ||
        name == "US-ASCII")
        return "UTF-8";
    if (isShiftJis(name))
        return "CP932";
    return std::string(codeset);
}

bool ListFileCharset::isUtf8(std::string_view charset) {
    const std::string name = upper(charset);
    return name == "UTF-8" || name == "UTF8";
}
