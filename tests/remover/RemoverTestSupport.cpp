#include "RemoverTestSupport.h"

#include <string.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "DialogDriver.h"

void WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFileText(const std::string& path)
{
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Expand(std::string text, const std::vector<std::string>& pairs)
{
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        for (size_t p = text.find(pairs[i]); p != std::string::npos; p = text.find(pairs[i], p + pairs[i + 1].size()))
            text.replace(p, pairs[i].size(), pairs[i + 1]);
    return text;
}

void SetRegistryString(HKEY root, const std::string& key, const char* name, const char* data)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name, 0, REG_SZ, (const BYTE*)data, (DWORD)strlen(data) + 1);
    RegCloseKey(handle);
}

bool RegistryValueExists(HKEY root, const std::string& key, const char* name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    bool found = name == nullptr || RegQueryValueExA(handle, name, nullptr, nullptr, nullptr, nullptr) == 0;
    RegCloseKey(handle);
    return found;
}

bool RegistryKeyExists(HKEY root, const std::string& key) { return RegistryValueExists(root, key, nullptr); }

std::vector<std::string> PendingDeletions(const std::vector<std::string>& before)
{
    char data[32768] = "";
    DWORD size = sizeof data - 2;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE,
                      &key) == ERROR_SUCCESS) {
        if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, (BYTE*)data, &size) != 0)
            size = 0;
        RegCloseKey(key);
    }
    // Pairs of a path and its new name, empty for a deletion; the paths
    // begin with "\??\".
    std::vector<std::string> paths;
    for (size_t p = 0; p < size; p += strlen(data + p) + 1) {
        char full[MAX_PATH] = "";
        std::string path = strlen(data + p) > 4 ? data + p + 4 : "";
        if (!path.empty() && GetLongPathNameA(path.c_str(), full, MAX_PATH) > 0)
            path = full;
        if (!path.empty() && std::find(before.begin(), before.end(), path) == before.end())
            paths.push_back(path);
    }
    return paths;
}

bool AnswerRemoval(const std::string& title)
{
    const DWORD wait = 20000;
    HWND dialog = WaitForDialog("Removing...", 0, wait);
    DWORD id = 0;
    GetWindowThreadProcessId(dialog, &id);
    HANDLE process = dialog != nullptr ? OpenProcess(SYNCHRONIZE, FALSE, id) : nullptr;
    if (process == nullptr)
        return false;
    CDialogAnswer question("Removing", IDYES, id, wait);
    bool answered = question.Wait() && question.Text() == "Do you want remove program " + title + ".";
    CDialogAnswer done("Removing", IDOK, id, wait);
    answered = done.Wait() && done.Text() == "Program removed." && answered;
    answered = WaitForSingleObject(process, wait) == WAIT_OBJECT_0 && answered;
    CloseHandle(process);
    return answered;
}
