// Reader for compiled resource files (windres -O res), so native tests see exactly the bytes the
// resource compiler produced from the real script.
#ifndef TORVAN_TESTS_SUPPORT_RESFILE_H
#define TORVAN_TESTS_SUPPORT_RESFILE_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr std::uint16_t kResTypeIcon = 3;        // RT_ICON
constexpr std::uint16_t kResTypeDialog = 5;      // RT_DIALOG
constexpr std::uint16_t kResTypeGroupIcon = 14;  // RT_GROUP_ICON
constexpr std::uint16_t kResTypeVersion = 16;    // RT_VERSION
constexpr std::uint16_t kResTypeManifest = 24;   // RT_MANIFEST

struct ResEntry {
    std::optional<std::uint16_t> type;  // nullopt for a named type (we use ordinals only)
    std::optional<std::uint16_t> name;  // likewise
    std::uint16_t language = 0;
    std::vector<std::uint8_t> data;
};

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// Every entry of a .res file except the empty leading one that marks it as 32-bit;
// std::nullopt when the file is malformed.
std::optional<std::vector<ResEntry>> ParseResFile(std::span<const std::uint8_t> res);

// The entry with ordinal type `type` and ordinal name `id` in any language; nullptr when absent.
const ResEntry* FindResEntry(const std::vector<ResEntry>& entries, std::uint16_t type,
                             std::uint16_t id);

// The data of the resource with ordinal type `type`, ordinal name `id` and language `language`;
// std::nullopt when the file holds no such entry or is malformed.
std::optional<std::vector<std::uint8_t>> FindResResource(std::span<const std::uint8_t> res,
                                                         std::uint16_t type, std::uint16_t id,
                                                         std::uint16_t language);

// The dialog IDD_SETTINGS (101, language 0x0804) of the compiled TorvanPatch.rc; empty on failure.
std::vector<std::uint8_t> SettingsDialogBytes(const std::string& resPath);

#endif
