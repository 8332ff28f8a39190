#include "sound/module/SoundFontSubset.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>

namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

std::uint16_t word(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
std::uint32_t doubleWord(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(word(at) | word(at + 2) << 16);
}
void putWord(std::vector<std::uint8_t>& to, std::size_t value) {
    to.push_back(static_cast<std::uint8_t>(value));
    to.push_back(static_cast<std::uint8_t>(value >> 8));
}
void putDoubleWord(std::vector<std::uint8_t>& to, std::size_t value) {
    putWord(to, value & 0xFFFF);
    putWord(to, value >> 16);
}
bool isId(const std::uint8_t* at, std::string_view id) {
    return std::memcmp(at, id.data(), 4) == 0;
}

// Seeks only where the file is not at `offset` already, so that reads one
// after another keep stdio's buffer.
bool readAt(std::FILE* file, std::uint64_t offset, void* into, std::size_t count) {
    const auto at = static_cast<off_t>(offset);
    return (ftello(file) == at || fseeko(file, at, SEEK_SET) == 0) &&
           std::fread(into, 1, count, file) == count;
}

// The nine tables of a SoundFont's `pdta` list, in the order they are written.
enum Kind {
    presetHeaders,
    presetZones,
    presetModulators,
    presetGenerators,
    instruments,
    instrumentZones,
    instrumentModulators,
    instrumentGenerators,
    sampleHeaders,
    kinds
};
constexpr std::array<std::string_view, kinds> tableIds{"phdr", "pbag", "pmod", "pgen", "inst",
                                                       "ibag", "imod", "igen", "shdr"};
constexpr std::array<std::size_t, kinds> recordSizes{38, 4, 10, 4, 22, 4, 10, 4, 46};

// Where a preset's or an instrument's header names its first zone, and where
// a generator holds its amount.
constexpr std::size_t presetFirstZone = 24;
constexpr std::size_t instrumentFirstZone = 20;
constexpr std::size_t presetProgram = 20;
constexpr std::size_t presetBank = 22;
constexpr std::uint16_t instrumentGenerator = 41;
constexpr std::uint16_t keyRangeGenerator = 43;
constexpr std::uint16_t velocityRangeGenerator = 44;
constexpr std::uint16_t sampleGenerator = 53;

// A table as records; each ends with a terminal record, which tells where
// the last real record's zones (or generators, or modulators) end.
struct Table {
    const std::uint8_t* data = nullptr;
    std::size_t count = 0;
    std::size_t size = 0;

    const std::uint8_t* at(std::size_t record) const { return data + record * size; }
    std::size_t field(std::size_t record, std::size_t offset) const {
        return word(at(record) + offset);
    }
    // Records [first, end) of what `record` owns in the table it indexes,
    // when they are there.
    bool owned(std::size_t record, std::size_t offset, const Table& indexed, std::size_t& first,
               std::size_t& end) const {
        if (record + 1 >= count)
            return false;
        first = field(record, offset);
        end = field(record + 1, offset);
        return first <= end && end < indexed.count;
    }
};

// Copies zones of presets or instruments, with their generators and
// modulators; `generator` may change a generator's record as it is copied.
class ZoneCopier {
public:
    ZoneCopier(const Table& zones, const Table& generators, const Table& modulators,
               std::vector<std::uint8_t>& zonesOut, std::vector<std::uint8_t>& generatorsOut,
               std::vector<std::uint8_t>& modulatorsOut)
        : zones_(zones), generators_(generators), modulators_(modulators), zonesOut_(zonesOut),
          generatorsOut_(generatorsOut), modulatorsOut_(modulatorsOut) {}

    std::size_t zonesCopied() const { return zonesOut_.size() / zones_.size; }

    template <typename Generator> bool copy(std::size_t zone, Generator generator) {
        std::size_t firstGenerator, endGenerator, firstModulator, endModulator;
        if (!zones_.owned(zone, 0, generators_, firstGenerator, endGenerator) ||
            !zones_.owned(zone, 2, modulators_, firstModulator, endModulator))
            return false;
        putWord(zonesOut_, generatorsOut_.size() / generators_.size);
        putWord(zonesOut_, modulatorsOut_.size() / modulators_.size);
        for (std::size_t record = firstGenerator; record < endGenerator; ++record) {
            if (!generator(generators_.at(record), generatorsOut_))
                return false;
        }
        modulatorsOut_.insert(modulatorsOut_.end(), modulators_.at(firstModulator),
                              modulators_.at(endModulator));
        return true;
    }

    // The terminal zone, generator and modulator.
    void finish() {
        putWord(zonesOut_, generatorsOut_.size() / generators_.size);
        putWord(zonesOut_, modulatorsOut_.size() / modulators_.size);
        copyLast(generators_, generatorsOut_);
        copyLast(modulators_, modulatorsOut_);
    }

private:
    static void copyLast(const Table& table, std::vector<std::uint8_t>& out) {
        out.insert(out.end(), table.at(table.count - 1), table.at(table.count));
    }

    const Table& zones_;
    const Table& generators_;
    const Table& modulators_;
    std::vector<std::uint8_t>& zonesOut_;
    std::vector<std::uint8_t>& generatorsOut_;
    std::vector<std::uint8_t>& modulatorsOut_;
};

// The header of `record` with its first zone at `zone`.
void putHeader(std::vector<std::uint8_t>& out, const Table& headers, std::size_t record,
               std::size_t firstZone, std::size_t zone) {
    out.insert(out.end(), headers.at(record), headers.at(record) + firstZone);
    putWord(out, zone);
    out.insert(out.end(), headers.at(record) + firstZone + 2, headers.at(record + 1));
}

// The keys and velocities a zone sounds, as FluidSynth reads them: a key
// range counts only as the zone's first generator, a velocity range only
// as its first or after the key range; without them, all. And the
// instrument or sample the zone sounds with (its last generator), if any:
// a zone without one is the global zone (or one FluidSynth discards).
struct ZoneRange {
    PlayedNotes sounding(const PlayedNotes& notes) const {
        return notes.within(lowKey, highKey, lowVelocity, highVelocity);
    }

    int lowKey = 0;
    int highKey = PlayedNotes::keys - 1;
    int lowVelocity = 0;
    int highVelocity = PlayedNotes::velocities - 1;
    std::optional<std::size_t> soundsWith;
};

std::optional<ZoneRange> rangeOf(const Table& zones, const Table& generators, std::size_t zone,
                                 std::uint16_t last) {
    std::size_t first, end;
    if (!zones.owned(zone, 0, generators, first, end))
        return std::nullopt;
    ZoneRange range;
    enum { nothing, keys, more } before = nothing;
    for (std::size_t record = first; record < end; ++record) {
        const std::uint8_t* generator = generators.at(record);
        const std::uint16_t id = word(generator);
        if (id == keyRangeGenerator) {
            if (before == nothing) {
                range.lowKey = generator[2];
                range.highKey = generator[3];
                before = keys;
            }
        } else if (id == velocityRangeGenerator) {
            if (before != more) {
                range.lowVelocity = generator[2];
                range.highVelocity = generator[3];
                before = more;
            }
        } else if (id == last) {
            range.soundsWith = word(generator + 2);
            break;
        } else {
            before = more;
        }
    }
    return range;
}

// The tables cut down to `presets` and the zones their notes fall in, as
// the body of a `pdta` list; empty where an index points outside its table.
std::vector<std::uint8_t> cut(const std::array<Table, kinds>& tables,
                              const std::map<SongPresets::Preset, PlayedNotes>& presets) {
    const Table& headers = tables[presetHeaders];
    std::array<std::vector<std::uint8_t>, kinds> out;
    std::vector<std::pair<std::size_t, const PlayedNotes*>> kept;
    for (std::size_t preset = 0; preset + 1 < headers.count; ++preset) {
        const SongPresets::Preset named{static_cast<int>(headers.field(preset, presetBank)),
                                        static_cast<int>(headers.field(preset, presetProgram))};
        if (const auto played = presets.find(named); played != presets.end())
            kept.emplace_back(preset, &played->second);
    }
    const PlayedNotes none;
    if (kept.empty())
        kept.emplace_back(0, &none);

    std::map<std::size_t, std::size_t> newInstrument; // by the source's number
    std::vector<std::size_t> keptInstruments;
    std::map<std::size_t, PlayedNotes> instrumentNotes; // those its kept zones play
    const Table& instrumentHeaders = tables[instruments];
    const auto asIs = [](const std::uint8_t* record, std::vector<std::uint8_t>& to) {
        to.insert(to.end(), record, record + 4);
        return true;
    };
    const auto renumber = [&](const std::uint8_t* record, std::vector<std::uint8_t>& to) {
        if (word(record) != instrumentGenerator)
            return asIs(record, to);
        const std::size_t instrument = word(record + 2);
        if (instrument + 1 >= instrumentHeaders.count)
            return false;
        const auto [at, added] = newInstrument.try_emplace(instrument, keptInstruments.size());
        if (added)
            keptInstruments.push_back(instrument);
        putWord(to, instrumentGenerator);
        putWord(to, at->second);
        return true;
    };
    ZoneCopier presetCopier(tables[presetZones], tables[presetGenerators], tables[presetModulators],
                            out[presetZones], out[presetGenerators], out[presetModulators]);
    for (const auto& [preset, notes] : kept) {
        std::size_t first, end;
        if (!headers.owned(preset, presetFirstZone, tables[presetZones], first, end))
            return {};
        putHeader(out[presetHeaders], headers, preset, presetFirstZone, presetCopier.zonesCopied());
        for (std::size_t zone = first; zone < end; ++zone) {
            const std::optional<ZoneRange> range =
                rangeOf(tables[presetZones], tables[presetGenerators], zone, instrumentGenerator);
            if (!range)
                return {};
            const PlayedNotes sounding = range->sounding(*notes);
            if (range->soundsWith && !sounding.any())
                continue;
            if (!presetCopier.copy(zone, renumber))
                return {};
            if (range->soundsWith)
                instrumentNotes[*range->soundsWith].add(sounding);
        }
    }
    putHeader(out[presetHeaders], headers, headers.count - 1, presetFirstZone,
              presetCopier.zonesCopied());
    presetCopier.finish();

    ZoneCopier instrumentCopier(tables[instrumentZones], tables[instrumentGenerators],
                                tables[instrumentModulators], out[instrumentZones],
                                out[instrumentGenerators], out[instrumentModulators]);
    for (std::size_t instrument : keptInstruments) {
        std::size_t first, end;
        if (!instrumentHeaders.owned(instrument, instrumentFirstZone, tables[instrumentZones],
                                     first, end))
            return {};
        putHeader(out[instruments], instrumentHeaders, instrument, instrumentFirstZone,
                  instrumentCopier.zonesCopied());
        const PlayedNotes& notes = instrumentNotes[instrument];
        for (std::size_t zone = first; zone < end; ++zone) {
            const std::optional<ZoneRange> range = rangeOf(
                tables[instrumentZones], tables[instrumentGenerators], zone, sampleGenerator);
            if (!range)
                return {};
            if (range->soundsWith && !range->sounding(notes).any())
                continue;
            if (!instrumentCopier.copy(zone, asIs))
                return {};
        }
    }
    putHeader(out[instruments], instrumentHeaders, instrumentHeaders.count - 1, instrumentFirstZone,
              instrumentCopier.zonesCopied());
    instrumentCopier.finish();

    const Table& samples = tables[sampleHeaders];
    out[sampleHeaders].assign(samples.at(0), samples.at(samples.count));

    std::vector<std::uint8_t> body{'p', 'd', 't', 'a'};
    for (std::size_t kind = 0; kind < kinds; ++kind) {
        body.insert(body.end(), tableIds[kind].begin(), tableIds[kind].end());
        putDoubleWord(body, out[kind].size());
        body.insert(body.end(), out[kind].begin(), out[kind].end());
    }
    return body;
}

} // namespace

std::unique_ptr<SoundFontSubset>
SoundFontSubset::of(const std::filesystem::path& soundFont,
                    const std::map<SongPresets::Preset, PlayedNotes>& presets) {
    const File file(std::fopen(soundFont.c_str(), "rb"));
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(soundFont, error);
    std::array<std::uint8_t, 12> header;
    if (file == nullptr || error || !readAt(file.get(), 0, header.data(), header.size()) ||
        !isId(header.data(), "RIFF") || !isId(header.data() + 8, "sfbk"))
        return nullptr;

    // The top-level chunks: INFO, sdta, pdta, as a rule in that order.
    constexpr int mostChunks = 64;
    std::uint64_t start = header.size();
    std::array<std::uint8_t, 12> chunk;
    std::uint64_t listSize = 0;
    for (int chunks = 0;; ++chunks) {
        if (chunks == mostChunks || start + chunk.size() > fileSize ||
            !readAt(file.get(), start, chunk.data(), chunk.size()))
            return nullptr;
        listSize = doubleWord(chunk.data() + 4);
        if (isId(chunk.data(), "LIST") && isId(chunk.data() + 8, "pdta"))
            break;
        start += 8 + listSize + (listSize & 1);
    }
    constexpr std::uint64_t largestTables = 64 << 20;
    if (listSize < 4 || listSize > largestTables || start + 8 + listSize > fileSize)
        return nullptr;
    std::vector<std::uint8_t> list(listSize - 4);
    if (!readAt(file.get(), start + chunk.size(), list.data(), list.size()))
        return nullptr;

    std::array<Table, kinds> tables;
    for (std::size_t at = 0; at + 8 <= list.size();) {
        const std::size_t size = doubleWord(list.data() + at + 4);
        if (size > list.size() - at - 8)
            return nullptr;
        for (std::size_t kind = 0; kind < kinds; ++kind) {
            if (isId(list.data() + at, tableIds[kind]) && tables[kind].data == nullptr)
                tables[kind] = {list.data() + at + 8, size / recordSizes[kind], recordSizes[kind]};
        }
        at += 8 + size + (size & 1);
    }
    if (std::any_of(tables.begin(), tables.end(), [](const Table& t) { return t.count == 0; }))
        return nullptr;

    std::unique_ptr<SoundFontSubset> subset(new SoundFontSubset);
    std::vector<std::uint8_t> body = cut(tables, presets);
    if (body.empty())
        return nullptr;
    subset->tables_ = {'L', 'I', 'S', 'T'};
    putDoubleWord(subset->tables_, body.size());
    subset->tables_.insert(subset->tables_.end(), body.begin(), body.end());
    subset->source_ = soundFont;
    subset->sourceSize_ = fileSize;
    subset->tablesStart_ = start;
    subset->tablesEnd_ = std::min<std::uint64_t>(start + 8 + listSize + (listSize & 1), fileSize);
    // The RIFF chunk's size as the source has it, less the tables cut away.
    const std::uint64_t riffSize = doubleWord(header.data() + 4) + subset->tables_.size() -
                                   (subset->tablesEnd_ - subset->tablesStart_);
    subset->header_.assign(header.begin(), header.end());
    subset->header_.resize(4);
    putDoubleWord(subset->header_, riffSize & 0xFFFFFFFF);
    subset->header_.insert(subset->header_.end(), header.begin() + 8, header.end());
    return subset;
}

std::uint64_t SoundFontSubset::size() const {
    return sourceSize_ - (tablesEnd_ - tablesStart_) + tables_.size();
}

bool SoundFontSubset::read(std::FILE* source, std::uint64_t offset, void* into,
                           std::size_t count) const {
    auto* out = static_cast<std::uint8_t*>(into);
    const std::uint64_t tablesEnd = tablesStart_ + tables_.size();
    while (count > 0) {
        std::size_t part;
        if (offset < header_.size()) {
            part = std::min<std::uint64_t>(count, header_.size() - offset);
            std::memcpy(out, header_.data() + offset, part);
        } else if (offset < tablesStart_) {
            part = std::min<std::uint64_t>(count, tablesStart_ - offset);
            if (!readAt(source, offset, out, part))
                return false;
        } else if (offset < tablesEnd) {
            part = std::min<std::uint64_t>(count, tablesEnd - offset);
            std::memcpy(out, tables_.data() + (offset - tablesStart_), part);
        } else {
            const std::uint64_t at = offset - tablesEnd + tablesEnd_;
            if (at >= sourceSize_)
                return false;
            part = std::min<std::uint64_t>(count, sourceSize_ - at);
            if (!readAt(source, at, out, part))
                return false;
        }
        out += part;
        offset += part;
        count -= part;
    }
    return true;
}
