// Files, registry entries and message boxes as the remover tests look at them.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "DialogDriver.h"

inline void WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFileText(const std::string& path)
{
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

inline bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether the key is there, or with a name the value in it.
inline bool RegistryHas(HKEY root, const std::string& key, const char* name = nullptr)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    bool found = name == nullptr || RegQueryValueExA(handle, name, nullptr, nullptr, nullptr, nullptr) == 0;
    RegCloseKey(handle);
    return found;
}

// Answers the next box of that caption, of the process or of any for 0,
// and gives its text.
inline std::string Answer(DWORD process, const char* caption, int button, CDialogAnswer::Action action = nullptr)
{
    CDialogAnswer answer(caption, button, process, 30000, action);
    return answer.Wait() ? answer.Text() : std::string("no box ") + caption;
}
