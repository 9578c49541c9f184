// What the probe DLL reports from inside the program's process about one of its windows: Wine
// hands no font or window icon across processes.
#pragma once

#include <windows.h>

namespace e2e {

inline constexpr char kProbeMessage[] = "TorvanE2eProbe";        // sent to the inspected window
inline constexpr char kProbeMapping[] = "TorvanE2eProbeReport";  // shared memory for the answer

struct ProbeReport {
    LONG answered;
    LOGFONTW font;   // the window's font
    LONG textWidth;  // the window's text in that font, in pixels
    BOOL icons;      // both the big and the small window icon are set
};

}  // namespace e2e
