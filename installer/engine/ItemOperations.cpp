// Registry entries, shortcuts and programs to run: one item each, on the
// worker thread. None of them reports a failure; the registry entries and
// shortcuts that were made are logged for the remover.
#include "SetupScript.h"

#include <objbase.h>
#include <shlobj.h>
#include <string.h>

#include <string>
#include <vector>

#include "Files.h"
#include "Registry.h"
#include "Text.h"
#include "resource.h"

namespace {

bool HasValue(HKEY key, const std::string& name)
{
    return RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// A delete entry changes nothing when its key does not exist: creating the
// key would leave one behind that the log does not name.
void DeleteValue(const CRegItem& item)
{
    CRegistryKey key;
    if (key.Open(item.m_root, item.m_keyPath.c_str(), kKeyOpenExisting | kKeySetValue) == ERROR_SUCCESS)
        key.DeleteValue(item.m_valueName.c_str());
}

// The levels of a key path that do not exist yet, shallowest first. An entry
// creates them all, and each must be in the log for the remover to take it
// away again, the parents of the entry's own key included.
std::vector<std::string> MissingKeyLevels(HKEY root, const std::string& path)
{
    std::vector<std::string> missing;
    for (size_t end = path.find('\\'); ; end = path.find('\\', end + 1)) {
        std::string level = path.substr(0, end);
        CRegistryKey key;
        if (!missing.empty() ||
            (!level.empty() && key.Open(root, level.c_str(), kKeyOpenExisting | kKeyRead) == ERROR_FILE_NOT_FOUND))
            missing.push_back(level);
        if (end == std::string::npos)
            return missing;
    }
}

std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A shortcut at the path that opens the target; the HRESULT of the last COM
// call made. COM must be initialised on the calling thread.
HRESULT CreateShortcut(const char* shortcutPath, const char* target, const char* description)
{
    IShellLinkA* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link);
    if (FAILED(result))
        return result;
    IPersistFile* file = nullptr;
    result = link->QueryInterface(IID_IPersistFile, (void**)&file);
    if (SUCCEEDED(result)) {
        result = link->SetPath(target);
        if (SUCCEEDED(result)) {
            link->SetDescription(description);
            // The program starts in its own folder, as it would from Explorer.
            link->SetWorkingDirectory(DirectoryOf(target).c_str());
            WCHAR path[MAX_PATH];
            if (MultiByteToWideChar(CP_ACP, 0, shortcutPath, -1, path, MAX_PATH) == 0)
                result = E_INVALIDARG;
            else
                result = file->Save(path, TRUE);
        }
        file->Release();
    }
    link->Release();
    return result;
}

// "HKLM\SOFTWARE\...\Vellmora", with the value's name in quotes behind it.
std::string RegistryEntryName(const CRegItem& item, bool withValue)
{
    std::string name = std::string(LogRootWord(item.m_root)) + "\\" + item.m_keyPath;
    return withValue ? name + " \"" + item.m_valueName + "\"" : name;
}

} // namespace

int CSetupScript::ReportFailure(UINT textId, const std::string& what, DWORD error)
{
    // Stopped while held here: nothing is shown over the closing dialog.
    if (!GetProgress().AtItemBoundary())
        return 0;
    CText reason, text;
    SystemErrorText(error, reason);
    text.FormatResource(textId, what.c_str(), reason.GetString());
    GetProgress().Ask(text.GetString(), "Error", MB_OK | MB_ICONERROR);
    return 0;
}

int CSetupScript::CreateFolder(const std::string& path)
{
    if (CreateDirectoryA(path.c_str(), nullptr))
        return 1;
    DWORD error = GetLastError();
    if (DirectoryExists(path.c_str()))
        return 1;
    return ReportFailure(IDS_DIRECTORY_FAILED, path, error);
}

int CSetupScript::ApplyRegItem(CRegItem& item)
{
    if (item.m_type == REG_SZ && item.HasData()) {
        const char* data = (const char*)item.m_data.data();
        std::string text(data, strnlen(data, item.m_data.size()));
        ExpandMacros(text);
        item.m_data.assign(text.begin(), text.end());
        item.m_data.push_back(0);
    }
    if (item.m_root == nullptr)
        return 1;
    if (item.m_mode == kRegDelete) {
        DeleteValue(item);
        return 1;
    }
    std::vector<std::string> created = MissingKeyLevels(item.m_root, item.m_keyPath);
    CRegistryKey key;
    LONG opened = key.Open(item.m_root, item.m_keyPath.c_str(), kKeyQueryValue | kKeySetValue | kKeyCreateSubKey);
    if (opened != ERROR_SUCCESS)
        return ReportFailure(IDS_REGISTRY_FAILED, RegistryEntryName(item, false), (DWORD)opened);
    // Only the levels made here get key lines, shallowest first; a key that
    // was there before (another program's ".cbf") never does. The remover
    // takes the entry's own key with everything in it, and a level above it
    // (a vendor key others may share later) only once it is empty. Levels
    // inside a key already logged go with that key.
    for (const std::string& level : created) {
        if (LogNamesKeyOf(item.m_root, level))
            continue;
        if (level == item.m_keyPath)
            LogRegistry(item.m_root, level.c_str(), nullptr);
        else
            LogLine("REG", (std::string(LogRootWord(item.m_root)) + "," + level).c_str());
    }
    if (item.m_mode == kRegKeep && HasValue(key.GetHandle(), item.m_valueName))
        return 1;
    if (item.HasData()) {
        LONG written = key.SetValue(item.m_valueName.c_str(), item.m_type, item.m_data.data(), item.GetDataLength());
        if (written != ERROR_SUCCESS)
            return ReportFailure(IDS_REGISTRY_FAILED, RegistryEntryName(item, true), (DWORD)written);
        LogRegistry(item.m_root, item.m_keyPath.c_str(), item.m_valueName.c_str());
        if (CompareNoCase(item.m_valueName.c_str(), "UninstallString") == 0) {
            m_uninstallRoot = item.m_root;
            m_uninstallKey = item.m_keyPath;
        }
    }
    return 1;
}

int CSetupScript::InstallShortcut(CIconItem& item)
{
    ExpandMacros(item.m_target);
    ExpandMacros(item.m_shortcut);
    CreateShortcut(item.m_shortcut.c_str(), item.m_target.c_str(), "");
    LogLine("ICON", item.m_shortcut.c_str());
    return 1;
}

int CSetupScript::RunProgram(CRunItem& item)
{
    ExpandMacros(item.m_command);
    GetProgress().Open(item.m_command.c_str());
    return 1;
}
