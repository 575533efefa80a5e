// Started by an installation's RUN line: writes the file name of the
// process that started it into parent.txt beside itself.
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>
#include <map>
#include <string>

int main()
{
    std::map<DWORD, std::pair<DWORD, std::string>> processes;  // id: parent, name
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        processes[entry.th32ProcessID] = {entry.th32ParentProcessID, entry.szExeFile};
    CloseHandle(snapshot);
    char path[MAX_PATH] = "";
    std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    std::ofstream(folder.substr(0, folder.find_last_of('\\')) + "\\parent.txt")
        << processes[processes[GetCurrentProcessId()].first].second;
    return 0;
}
