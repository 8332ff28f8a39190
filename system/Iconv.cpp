#include "system/Iconv.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

Iconv::Iconv(const std::string& toCharset, const std::string& fromCharset)
    : descriptor_(iconv_open(toCharset.c_str(), fromCharset.c_str())) {
    if (descriptor_ == reinterpret_cast<iconv_t>(-1))
        throw std::invalid_argument("iconv cannot convert from " + fromCharset + " to " +
                                    toCharset);
}

Iconv::~Iconv() {
    iconv_close(static_cast<iconv_t>(descriptor_));
}

std::optional<std::string> Iconv::convert(std::string_view input, std::size_t* failedAt) {
    const auto descriptor = static_cast<iconv_t>(descriptor_);
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    std::string output(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t written = 0;
    for (;;) {
        char* out = output.data() + written;
        std::size_t outLeft = output.size() - written;
        // Once the input is used up, one more call writes what returns a
        // stateful encoding to its initial shift state.
        const bool flushing = inLeft == 0;
        const std::size_t result = iconv(descriptor, flushing ? nullptr : &in,
                                         flushing ? nullptr : &inLeft, &out, &outLeft);
        written = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            if (flushing)
                break;
            continue;
        }
        if (errno != E2BIG) {
            if (failedAt)
                *failedAt = static_cast<std::size_t>(in - input.data());
            return std::nullopt;
        }
        output.resize(output.size() * 2);
    }
    output.resize(written);
    return output;
}
