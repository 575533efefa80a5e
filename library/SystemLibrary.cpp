#include "SystemLibrary.h"

#include <commctrl.h>

#include <string>

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD directories);
typedef BOOL(WINAPI* SetDllDirectoryProc)(const char* directory);

FARPROC KernelFunction(const char* name)
{
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

} // namespace

int LimitLibrarySearch()
{
    SetDefaultDllDirectoriesProc setDefault =
        (SetDefaultDllDirectoriesProc)(void*)KernelFunction("SetDefaultDllDirectories");
    // Windows 8 and later, and Windows 7 and Vista with update KB2533623.
    if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return 1;
    SetDllDirectoryProc setDirectory = (SetDllDirectoryProc)(void*)KernelFunction("SetDllDirectoryA");
    if (setDirectory != nullptr)
        setDirectory("");
    return 0;
}

HMODULE LoadSystemLibrary(const char* name)
{
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return nullptr;
    std::string path = std::string(folder, length) + "\\" + name;
    // Loaded once; later calls find it without adding to its count.
    if (HMODULE loaded = GetModuleHandleA(path.c_str()))
        return loaded;
    // The library's own imports are looked for beside it, in the system
    // folder, on systems whose search cannot be limited.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

int ProcessImagePath(DWORD processId, char* path, DWORD capacity)
{
    // Both the function and the limited query right came with Vista.
    typedef BOOL(WINAPI * QueryImageProc)(HANDLE, DWORD, char*, DWORD*);
    const DWORD kQueryLimitedInformation = 0x1000;
    QueryImageProc query = (QueryImageProc)(void*)KernelFunction("QueryFullProcessImageNameA");
    HANDLE process = query != nullptr ? OpenProcess(kQueryLimitedInformation, FALSE, processId) : nullptr;
    if (process == nullptr)
        return 0;
    DWORD size = capacity;
    int found = query(process, 0, path, &size);
    CloseHandle(process);
    return found;
}

int LoadCommonControls(DWORD classes)
{
    typedef decltype(&InitCommonControlsEx) InitProc;
    InitProc init = SystemFunction<InitProc>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls = {sizeof controls, classes};
    return init != nullptr && init(&controls);
}
