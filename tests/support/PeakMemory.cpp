#include "support/PeakMemory.h"

#include <fstream>
#include <string>

namespace {

std::int64_t statusField(const std::string& name) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(name + ":", 0) == 0)
            return std::stoll(line.substr(name.size() + 1)) * 1024; // given in kB
    }
    return -1;
}

} // namespace

void PeakMemory::reset() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::int64_t PeakMemory::peak() {
    return statusField("VmHWM");
}

std::int64_t PeakMemory::current() {
    return statusField("VmRSS");
}

bool PeakMemory::measurable() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
    return false;
#endif
#endif
    // Some kernels and containers do not let the peak be reset.
    std::ofstream clear("/proc/self/clear_refs");
    return static_cast<bool>(clear << "5" << std::flush);
}
