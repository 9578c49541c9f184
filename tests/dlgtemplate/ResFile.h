// Reader for compiled resource files (windres -O res), so native tests can use the bytes the
// resource compiler produced from the real script.
#ifndef TORVAN_TESTS_DLGTEMPLATE_RESFILE_H
#define TORVAN_TESTS_DLGTEMPLATE_RESFILE_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr std::uint16_t kResTypeDialog = 5;  // RT_DIALOG

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// The data of the resource with ordinal type `type`, ordinal name `id` and language `language`;
// std::nullopt when the file holds no such entry or is malformed.
std::optional<std::vector<std::uint8_t>> FindResResource(std::span<const std::uint8_t> res,
                                                         std::uint16_t type, std::uint16_t id,
                                                         std::uint16_t language);

// The dialog IDD_SETTINGS (101, language 0x0804) of the compiled TorvanPatch.rc; empty on failure.
std::vector<std::uint8_t> SettingsDialogBytes(const std::string& resPath);

#endif
