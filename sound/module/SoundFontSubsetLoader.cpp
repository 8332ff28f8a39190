#include "sound/module/SoundFontSubsetLoader.h"

#include "sound/module/SoundFontSubset.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view subsetPrefix = "subset of a SoundFont at ";

struct OpenFile {
    const SoundFontSubset* subset; // none: the file itself
    std::FILE* file;
    std::uint64_t size;         // the subset's
    std::uint64_t position = 0; // in the subset
};

const SoundFontSubset* subsetNamed(std::string_view fileName) {
    if (!fileName.starts_with(subsetPrefix))
        return nullptr;
    fileName.remove_prefix(subsetPrefix.size());
    std::uintptr_t address = 0;
    const auto [end, error] =
        std::from_chars(fileName.data(), fileName.data() + fileName.size(), address, 16);
    if (error != std::errc() || end != fileName.data() + fileName.size())
        return nullptr;
    return reinterpret_cast<const SoundFontSubset*>(address);
}

std::uint64_t sizeOf(std::FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0)
        return 0;
    const off_t size = ftello(file);
    return size < 0 ? 0 : static_cast<std::uint64_t>(size);
}

} // namespace

fluid_sfloader_t* SoundFontSubsetLoader::make(fluid_settings_t* settings) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
    if (loader != nullptr &&
        fluid_sfloader_set_callbacks(loader, open, read, seek, tell, close) != FLUID_OK) {
        delete_fluid_sfloader(loader);
        return nullptr;
    }
    return loader;
}

std::string SoundFontSubsetLoader::fileNameOf(const SoundFontSubset& subset) {
    char address[2 * sizeof(std::uintptr_t)];
    const auto end = std::to_chars(address, address + sizeof address,
                                   reinterpret_cast<std::uintptr_t>(&subset), 16)
                         .ptr;
    return std::string(subsetPrefix) + std::string(address, end);
}

void* SoundFontSubsetLoader::open(const char* fileName) {
    const SoundFontSubset* subset = subsetNamed(fileName);
    std::FILE* file = std::fopen(subset != nullptr ? subset->source().c_str() : fileName, "rb");
    if (file == nullptr)
        return nullptr;
    // A source changed since the subset was cut would not fit its tables.
    if (subset != nullptr && sizeOf(file) != subset->sourceSize()) {
        std::fclose(file);
        return nullptr;
    }
    return new OpenFile{subset, file, subset != nullptr ? subset->size() : 0};
}

// A subset is read at a position kept here; a file of its own, as stdio reads it.
int SoundFontSubsetLoader::read(void* into, fluid_long_long_t count, void* handle) {
    auto* open = static_cast<OpenFile*>(handle);
    if (count < 0)
        return FLUID_FAILED;
    const auto bytes = static_cast<std::size_t>(count);
    if (open->subset == nullptr)
        return std::fread(into, 1, bytes, open->file) == bytes ? FLUID_OK : FLUID_FAILED;
    if (open->position > open->size || bytes > open->size - open->position ||
        !open->subset->read(open->file, open->position, into, bytes))
        return FLUID_FAILED;
    open->position += bytes;
    return FLUID_OK;
}

int SoundFontSubsetLoader::seek(void* handle, fluid_long_long_t offset, int origin) {
    auto* open = static_cast<OpenFile*>(handle);
    if (open->subset == nullptr)
        return fseeko(open->file, static_cast<off_t>(offset), origin) == 0 ? FLUID_OK
                                                                           : FLUID_FAILED;
    if (origin != SEEK_SET && origin != SEEK_CUR && origin != SEEK_END)
        return FLUID_FAILED;
    const auto base = static_cast<fluid_long_long_t>(origin == SEEK_SET   ? 0
                                                     : origin == SEEK_CUR ? open->position
                                                                          : open->size);
    if (offset < -base)
        return FLUID_FAILED;
    open->position = static_cast<std::uint64_t>(base + offset);
    return FLUID_OK;
}

fluid_long_long_t SoundFontSubsetLoader::tell(void* handle) {
    auto* open = static_cast<OpenFile*>(handle);
    if (open->subset == nullptr)
        return static_cast<fluid_long_long_t>(ftello(open->file));
    return static_cast<fluid_long_long_t>(open->position);
}

int SoundFontSubsetLoader::close(void* handle) {
    auto* open = static_cast<OpenFile*>(handle);
    const int closed = std::fclose(open->file);
    delete open;
    return closed == 0 ? FLUID_OK : FLUID_FAILED;
}
