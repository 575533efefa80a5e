#include "RemoverTestSupport.h"

#include <string.h>

#include <algorithm>

#include "DialogDriver.h"

void WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileText(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return text;
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReplaceAll(std::string text, const std::vector<std::pair<std::string, std::string>>& replacements)
{
    for (const auto& replacement : replacements)
        for (size_t p = text.find(replacement.first); p != std::string::npos;
             p = text.find(replacement.first, p + replacement.second.size()))
            text.replace(p, replacement.first.size(), replacement.second);
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

bool RegistryKeyExists(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool RegistryValueExists(HKEY root, const std::string& key, const char* name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    bool found = RegQueryValueExA(handle, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return found;
}

std::vector<std::string> PendingDeletions()
{
    std::vector<std::string> entries;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return entries;
    DWORD size = 0;
    std::vector<char> data;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        data.resize(size + 2);
        RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, (BYTE*)data.data(), &size);
    }
    RegCloseKey(key);
    // Pairs of source and target; an empty target means deletion.
    std::vector<std::string> strings;
    for (size_t p = 0; p < size; p += strings.back().size() + 1)
        strings.push_back(&data[p]);
    for (size_t i = 0; i + 1 < strings.size(); i += 2)
        if (strings[i + 1].empty())
            entries.push_back(strings[i]);
    return entries;
}

std::vector<std::string> NewEntries(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    std::vector<std::string> added;
    for (const std::string& entry : after)
        if (std::find(before.begin(), before.end(), entry) == before.end())
            added.push_back(entry);
    return added;
}

std::string LongPath(const std::string& path)
{
    std::string plain = path.compare(0, 4, "\\??\\") == 0 ? path.substr(4) : path;
    char buffer[MAX_PATH * 2] = "";
    DWORD length = GetLongPathNameA(plain.c_str(), buffer, sizeof buffer);
    std::string result = length > 0 && length < sizeof buffer ? buffer : plain;
    while (result.size() > 3 && result.back() == '\\')
        result.pop_back();
    return result;
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
