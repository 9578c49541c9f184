// Writes the settings dialog's bytes from a compiled resource file to a file: the fuzzer's seed.
//   dlgtemplate_extract_seed <in.res> <out.bin>
#include <cstdio>
#include <fstream>

#include "ResFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <in.res> <out.bin>\n", argv[0]);
        return 2;
    }
    const auto bytes = SettingsDialogBytes(argv[1]);
    if (bytes.empty()) {
        std::fprintf(stderr, "%s: no RT_DIALOG 101 (language 0x0804)\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
