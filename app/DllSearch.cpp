#include "DllSearch.h"

bool UseDefaultDllDirectories(unsigned major, unsigned minor, bool functionPresent) {
    return functionPresent && !(major == 6 && minor == 0);
}
