// Start-up time, working set and the cost of a press of the Windows program, measured from
// another process under the same conditions as the end-to-end test:
//   win32_benchmark PATH\TO\tychobvr.exe
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Driver.h"
#include "Statistics.h"
#include "resource.h"

namespace {

std::u16string CatalogueText(std::size_t characters) {
    const std::u16string line = u"TYC 1234-5678-1 BT=10.500 VT=10.000 n=2\r\n";
    std::u16string text;
    while (text.size() < characters) text += line;
    text.resize(characters);
    return text;
}

void MeasureStartup(const std::wstring& path) {
    std::vector<double> times;
    std::vector<double> workingSets;
    for (int run = 0; run < 15; ++run) {
        const Program program(path);
        if (!program.HasWindow()) {
            std::printf("no window\n");
            return;
        }
        times.push_back(Milliseconds(program.StartTime()));
        Sleep(200);  // the first paint is done
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(program.Process(), &counters, sizeof counters);
        workingSets.push_back(static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0));
    }
    std::printf("start to window shown: median %.1f ms, best %.1f ms (15 runs)\n", Median(times),
                *std::min_element(times.begin(), times.end()));
    std::printf("working set after start: %.1f MiB\n", Median(workingSets));
}

void MeasurePress(const Program& program, const char* label, std::size_t characters, int runs) {
    if (!PutOnClipboard(CatalogueText(characters))) return;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        SendMessageW(program.Control(IDC_TEXT1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        const auto start = Clock::now();
        program.Press();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("press, %-7s clipboard: %9.3f ms (median of %d)\n", label, Median(times), runs);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: win32_benchmark PATH\\TO\\tychobvr.exe\n");
        return 2;
    }
    const std::string narrow(argv[1]);
    const std::wstring path(narrow.begin(), narrow.end());
    MeasureStartup(path);
    const Program program(path);
    MeasurePress(program, "empty", 0, 51);
    MeasurePress(program, "1 KiB", 1024, 51);
    MeasurePress(program, "1 MiB", 1024 * 1024, 11);
    return 0;
}
