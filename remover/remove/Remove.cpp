// Remove: the uninstall command of an installation. It writes the removal
// program it carries into a fresh folder of its own under the temporary
// folder and starts it with the path of the install log beside Remove.exe,
// then ends at once, so that the removal can delete Remove.exe too.
// Exit code 0 once the removal program runs, 1 on any failure.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "SystemLibrary.h"

namespace {

const char kPayloadName[] = "SWEEPER.EXE";
const char kPayloadType[] = "FILES";
const char kLogName[] = "INSTALL.LOG";
enum { kPathCapacity = MAX_PATH };

// A folder that did not exist before, made by this process, under the
// temporary folder: no file of another user can stand in for the program.
int MakeFreshFolder(char* folder)
{
    char temp[kPathCapacity];
    DWORD length = GetTempPathA(kPathCapacity, temp);
    if (length == 0 || length >= kPathCapacity - 1)
        return 0;
    if (temp[length - 1] != '\\')
        strcat(temp, "\\");
    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (DWORD attempt = 0; attempt < 1000; attempt++) {
        int written = snprintf(folder, kPathCapacity, "%sVLR%08lX.tmp", temp, (unsigned long)(seed + attempt));
        if (written <= 0 || written >= kPathCapacity)
            return 0;
        if (CreateDirectoryA(folder, nullptr))
            return 1;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return 0;
    }
    return 0;
}

// Writes the carried removal program into the file, all of it in one write.
int WritePayload(const char* path)
{
    HRSRC resource = FindResourceA(nullptr, kPayloadName, kPayloadType);
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = resource ? SizeofResource(nullptr, resource) : 0;
    if (bytes == nullptr || size == 0)
        return 0;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes, size, &written, nullptr);
    return CloseHandle(file) && ok && written == size;
}

// INSTALL.LOG in the folder of this program.
int GetLogPath(char* logPath)
{
    char own[kPathCapacity];
    DWORD length = GetModuleFileNameA(nullptr, own, kPathCapacity);
    if (length == 0 || length >= kPathCapacity)
        return 0;
    char* slash = strrchr(own, '\\');
    if (slash == nullptr)
        return 0;
    slash[1] = 0;
    return snprintf(logPath, kPathCapacity, "%s%s", own, kLogName) < kPathCapacity;
}

// The program's path quoted, then the log's path as it is: the removal
// program takes everything after its own name as the log's path.
int StartRemoval(const char* program, const char* logPath)
{
    char commandLine[2 * kPathCapacity + 8];
    snprintf(commandLine, sizeof commandLine, "\"%s\" %s", program, logPath);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWDEFAULT;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process))
        return 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    // Runs with administrator rights from the installation folder:
    // libraries loaded from now on come from the system folder only.
    LimitLibrarySearch();
    char folder[kPathCapacity];
    char program[kPathCapacity];
    char logPath[kPathCapacity];
    if (!MakeFreshFolder(folder))
        return 1;
    snprintf(program, sizeof program, "%s\\%s", folder, kPayloadName);
    if (strlen(folder) + 1 + strlen(kPayloadName) < sizeof program && WritePayload(program) &&
        GetLogPath(logPath) && StartRemoval(program, logPath))
        return 0;
    DeleteFileA(program);
    RemoveDirectoryA(folder);
    return 1;
}
