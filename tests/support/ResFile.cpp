#include "ResFile.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace {

// Each entry: DataSize, HeaderSize, type and name (name-or-ordinal), DWORD padding, DataVersion,
// MemoryFlags, LanguageId, Version, Characteristics; then the data, padded to a DWORD.
struct Cursor {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;

    bool U16(std::uint16_t& v) {
        if (at > bytes.size() || bytes.size() - at < 2) return false;
        v = static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
        at += 2;
        return true;
    }
    bool U32(std::uint32_t& v) {
        std::uint16_t lo = 0, hi = 0;
        if (!U16(lo) || !U16(hi)) return false;
        v = lo | static_cast<std::uint32_t>(hi) << 16;
        return true;
    }
    // Ordinal ids come back as their number; named ids as std::nullopt (never what we look for).
    bool Id(std::optional<std::uint16_t>& id) {
        std::uint16_t first = 0;
        if (!U16(first)) return false;
        if (first == 0xFFFF) {
            std::uint16_t ordinal = 0;
            if (!U16(ordinal)) return false;
            id = ordinal;
            return true;
        }
        id.reset();
        for (std::uint16_t unit = first; unit != 0;) {
            if (!U16(unit)) return false;
        }
        return true;
    }
};

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::vector<ResEntry>> ParseResFile(std::span<const std::uint8_t> res) {
    std::vector<ResEntry> entries;
    std::size_t entry = 0;
    while (entry < res.size()) {
        Cursor c{res, entry};
        std::uint32_t dataSize = 0, headerSize = 0;
        ResEntry parsed;
        if (!c.U32(dataSize) || !c.U32(headerSize) || !c.Id(parsed.type) || !c.Id(parsed.name)) {
            return std::nullopt;
        }
        c.at = (c.at + 3) & ~std::size_t{3};
        std::uint32_t dataVersion = 0;
        std::uint16_t memoryFlags = 0;
        if (!c.U32(dataVersion) || !c.U16(memoryFlags) || !c.U16(parsed.language)) {
            return std::nullopt;
        }
        const std::size_t dataStart = entry + headerSize;
        if (headerSize < 32 || dataStart > res.size() || dataSize > res.size() - dataStart) {
            return std::nullopt;
        }
        const auto data = res.subspan(dataStart, dataSize);
        parsed.data.assign(data.begin(), data.end());
        if (!(dataSize == 0 && parsed.type == std::uint16_t{0}))
            entries.push_back(std::move(parsed));
        entry = (dataStart + dataSize + 3) & ~std::size_t{3};
    }
    return entries;
}

const ResEntry* FindResEntry(const std::vector<ResEntry>& entries, std::uint16_t type,
                             std::uint16_t id) {
    for (const ResEntry& entry : entries) {
        if (entry.type == type && entry.name == id) return &entry;
    }
    return nullptr;
}

std::optional<std::vector<std::uint8_t>> FindResResource(std::span<const std::uint8_t> res,
                                                         std::uint16_t type, std::uint16_t id,
                                                         std::uint16_t language) {
    const auto entries = ParseResFile(res);
    if (!entries) return std::nullopt;
    for (const ResEntry& entry : *entries) {
        if (entry.type == type && entry.name == id && entry.language == language) return entry.data;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> SettingsDialogBytes(const std::string& resPath) {
    const auto res = ReadWholeFile(resPath);
    if (!res) return {};
    return FindResResource(*res, kResTypeDialog, 101, 0x0804).value_or(std::vector<std::uint8_t>{});
}
