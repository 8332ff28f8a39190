// A SoundFont of any bytes cut down to a song's presets: the cut reads only
// inside the file, its own file reads whole, and is a SoundFont whose
// tables cut down the same way again.
#include "FuzzCheck.h"

#include "sound/module/SoundFontSubset.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace {

// Notes in some zones, in none, in all.
std::map<SongPresets::Preset, PlayedNotes> playing() {
    std::map<SongPresets::Preset, PlayedNotes> presets{{{0, 0}, {}}, {{0, 5}, {}}, {{128, 0}, {}}};
    presets[{0, 0}].add(60, 100);
    presets[{128, 0}].addAll();
    return presets;
}
const std::map<SongPresets::Preset, PlayedNotes> presets = playing();

std::string fileOf(const char* which, const std::uint8_t* data, std::size_t size) {
    const std::string name =
        "/tmp/fuzz-soundfont-" + std::to_string(getpid()) + "-" + which + ".sf2";
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string source = fileOf("source", data, size);
    const std::unique_ptr<SoundFontSubset> subset = SoundFontSubset::of(source, presets);
    if (subset == nullptr) {
        std::remove(source.c_str());
        return 0;
    }
    FUZZ_CHECK(subset->sourceSize() == size);
    std::vector<std::uint8_t> bytes(subset->size());
    std::FILE* file = std::fopen(source.c_str(), "rb");
    FUZZ_CHECK(file != nullptr && subset->read(file, 0, bytes.data(), bytes.size()));
    FUZZ_CHECK(!subset->read(file, bytes.size(), bytes.data(), 1));
    std::fclose(file);
    const std::string cut = fileOf("subset", bytes.data(), bytes.size());
    const std::unique_ptr<SoundFontSubset> again = SoundFontSubset::of(cut, presets);
    FUZZ_CHECK(again != nullptr && again->size() == bytes.size());
    std::remove(source.c_str());
    std::remove(cut.c_str());
    return 0;
}
