// What the probe DLL reports from inside the program's process about one of its windows: Wine
// hands no font or icon handle across processes.
#pragma once

#include <windows.h>

namespace e2e {

inline constexpr char kProbeMessage[] = "TorvanE2eProbe";        // sent to the inspected window
inline constexpr char kProbeMapping[] = "TorvanE2eProbeReport";  // shared memory for the answer

struct ProbeReport {
    LONG answered;
    LONG hasFont;  // font is valid only when set
    LOGFONTW font;
    LONG textWidth;  // the window text in its font, in pixels
    LONG bigIcon, smallIcon, staticIcon;
};

}  // namespace e2e
