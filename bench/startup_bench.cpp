// Measures how long a program takes from process creation until its first top-level window is
// visible. Runs the given programs interleaved, so drift in the machine's load hits all alike, and
// prints every sample and the medians.
//   startup_bench.exe <runs> <exe> [<exe> ...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct VisibleWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<VisibleWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// One run: milliseconds until a visible window, or a negative value when none came within 20 s.
double TimeOneStart(const std::string& exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + exe + "\"";
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        std::exit(2);
    }
    double elapsed = -1;
    VisibleWindowSearch search{process.dwProcessId, nullptr};
    for (;;) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.found) {
            elapsed = Seconds(start, now) * 1000.0;
            break;
        }
        if (Seconds(start, now) > 20.0) break;
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <runs> <exe> [<exe> ...]\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    std::vector<std::string> programs(argv + 2, argv + argc);
    std::vector<std::vector<double>> samples(programs.size());
    TimeOneStart(programs[0]);  // warm-up: the first start pays for cold caches
    for (int run = 0; run < runs; ++run) {
        for (size_t p = 0; p < programs.size(); ++p) {
            double ms = TimeOneStart(programs[p]);
            if (ms < 0) {
                std::fprintf(stderr, "%s showed no window\n", programs[p].c_str());
                return 1;
            }
            samples[p].push_back(ms);
            std::printf("run %d %s %.1f ms\n", run + 1, programs[p].c_str(), ms);
        }
    }
    for (size_t p = 0; p < programs.size(); ++p) {
        std::printf("median %s %.1f ms over %d runs\n", programs[p].c_str(), Median(samples[p]),
                    runs);
    }
    return 0;
}
