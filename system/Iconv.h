#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// One direction of character set conversion through iconv, strict: no
// transliteration, nothing skipped, so a character the target cannot hold
// or a byte the source does not allow fails the conversion.
class Iconv {
public:
    // Throws std::invalid_argument when iconv knows either character set not.
    Iconv(const std::string& toCharset, const std::string& fromCharset);
    ~Iconv();
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // The whole input converted, ending in the initial shift state; empty
    // when it fails, with the input offset of the failing byte in *failedAt.
    std::optional<std::string> convert(std::string_view input, std::size_t* failedAt = nullptr);

private:
    void* descriptor_; // the iconv_t
};
