// What the in-process probe reports about one window of the program. Wine hands no GDI handle
// (font, icon) across processes, so the test loads a hook DLL into the program and asks there.
#ifndef TORVAN_TESTS_E2E_E2EPROBE_H
#define TORVAN_TESTS_E2E_E2EPROBE_H

#include <windows.h>

#include <cstdint>

namespace e2e {

// Sent to the window to inspect; the hook answers while the program's thread handles it.
inline constexpr char kProbeMessageName[] = "TorvanE2eProbeQuery";
// Shared memory the hook fills in; created by the test before each query.
inline constexpr char kProbeMappingName[] = "TorvanE2eProbeReport";

struct ProbeReport {
    std::uint32_t answered;       // 1 once the hook has filled in the rest
    std::uint32_t hasFont;        // WM_GETFONT gave a font that GetObjectW could read into font
    LOGFONTW font;                // zero when hasFont is 0
    std::uint32_t hasStaticIcon;  // STM_GETICON gave an icon (meaningful for icon statics only)
    std::uint32_t hasBigIcon;     // WM_GETICON ICON_BIG gave an icon
    std::uint32_t hasSmallIcon;   // WM_GETICON ICON_SMALL gave an icon
};

}  // namespace e2e

#endif
