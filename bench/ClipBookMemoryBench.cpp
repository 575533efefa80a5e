// Peak memory while loading a book of 64 pages, 256 MB in all: the growth
// of the working set's peak during the load, against the file's size.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>

#include <string>

#include "ClipBookBenchData.h"
#include "ClipFiles.h"

namespace {
PROCESS_MEMORY_COUNTERS Counters()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}
} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    std::string folder = BenchFolder("memory");
    std::string path = folder + "\\bench.cbf";
    // Written straight to the file, so that nothing but the load itself
    // raises the peak.
    DWORD size = WriteBenchBookFile(path.c_str(), 0);
    if (size == 0) {
        printf("the book could not be written\n");
        return 1;
    }
    PROCESS_MEMORY_COUNTERS before = Counters();
    CClipBook book;
    int complete = LoadBookFile(path.c_str(), 0, book);
    PROCESS_MEMORY_COUNTERS after = Counters();
    if (!complete || book.GetCount() != kBenchPages) {
        printf("the book could not be loaded\n");
        return 1;
    }
    double grown = (double)(after.PeakWorkingSetSize - before.WorkingSetSize);
    printf("Loading a book of %d pages, %lu bytes\n", kBenchPages, size);
    printf("  peak working set %.1f MB over %.1f MB before; the book itself holds %.1f MB\n",
           after.PeakWorkingSetSize / 1048576.0, before.WorkingSetSize / 1048576.0,
           (double)kBenchPages * kBenchPageBytes / 1048576.0);
    printf("  peak growth / file size: %5.2f (target 2.5)\n", grown / size);
    RemoveBenchFolder(folder);
    return 0;
}
