// Started by an installation's RUN line: writes the file name of the
// process that started it into parent.txt beside itself.
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>
#include <string>

static std::string ProcessName(DWORD id, DWORD* parent)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::string name;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == id) {
            name = entry.szExeFile;
            if (parent != nullptr)
                *parent = entry.th32ParentProcessID;
        }
    CloseHandle(snapshot);
    return name;
}

int main()
{
    DWORD parent = 0;
    ProcessName(GetCurrentProcessId(), &parent);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    std::ofstream(folder.substr(0, folder.find_last_of('\\')) + "\\parent.txt") << ProcessName(parent, nullptr);
    return 0;
}
