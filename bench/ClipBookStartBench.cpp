// Start-up of Vellmora with a data file of 64 pages, 256 MB in all, until
// its clipbook tree shows every page and format, against a plain read of
// that file plus the start-up with an empty data file.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "ClipBookBenchData.h"

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

struct Found {
    DWORD processId;
    HWND frame;
};

BOOL CALLBACK FindFrame(HWND window, LPARAM lParam)
{
    Found* found = (Found*)lParam;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner != found->processId || lstrcmpA(name, "VIEWERFRAME") != 0)
        return TRUE;
    found->frame = window;
    return FALSE;
}

// Items in the clipbook tree of the process, -1 while there is none.
int TreeItems(DWORD processId, HWND* frame)
{
    Found found = {processId, nullptr};
    EnumWindows(FindFrame, (LPARAM)&found);
    *frame = found.frame;
    HWND client = found.frame ? FindWindowExA(found.frame, nullptr, "MDICLIENT", nullptr) : nullptr;
    HWND clipbook = client ? FindWindowExA(client, nullptr, "VIEWERCLIPBOOK", nullptr) : nullptr;
    HWND tree = clipbook ? FindWindowExA(clipbook, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
    return tree ? (int)SendMessageA(tree, TVM_GETCOUNT, 0, 0) : -1;
}

// Starts the program and waits until its tree holds the items; answers
// the milliseconds, then closes the program and waits for its end.
double StartUntilFilled(const std::string& program, int items)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    double start = BenchNow();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    HWND frame = nullptr;
    double elapsed = -1;
    while (BenchNow() - start < 120000) {
        if (TreeItems(process.dwProcessId, &frame) >= items) {
            elapsed = BenchNow() - start;
            break;
        }
        Sleep(1);
    }
    if (frame != nullptr)
        PostMessageA(frame, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    // A copy of the program of its own, so that its data file is ours.
    std::string folder = BenchFolder("start");
    std::string program = folder + "\\Vellmora.exe", dataFile = folder + "\\Vellmora.cbd";
    if (!CopyFileA((ProgramFolder() + "Vellmora.exe").c_str(), program.c_str(), FALSE)) {
        printf("Vellmora.exe was not found beside the benchmark\n");
        return 1;
    }
    double empty[kBenchRounds], full[kBenchRounds], read[kBenchRounds];
    for (int round = 0; round < kBenchRounds; round++) {
        DeleteFileA(dataFile.c_str());
        empty[round] = StartUntilFilled(program, 1);
        if (WriteBenchBookFile(dataFile.c_str(), 1) == 0) {
            printf("the data file could not be written\n");
            return 1;
        }
        read[round] = PlainRead(dataFile);
        // The root, the pages and one format on each.
        full[round] = StartUntilFilled(program, 1 + 2 * kBenchPages);
    }
    double emptyMs = Median(empty, kBenchRounds), fullMs = Median(full, kBenchRounds);
    double readMs = Median(read, kBenchRounds);
    printf("Start-up until the clipbook tree is filled (median of %d rounds)\n", kBenchRounds);
    printf("  empty data file %9.1f ms   plain read of the 256 MB file %9.1f ms\n", emptyMs, readMs);
    printf("  256 MB data file %8.1f ms   ratio to read + empty start %5.2f (target 1.5)\n", fullMs,
           fullMs / (readMs + emptyMs));
    RemoveBenchFolder(folder);
    return 0;
}
