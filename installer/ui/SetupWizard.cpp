// Until the wizard's pages exist, the installer takes the script's choices
// as they stand, as a wizard would whose every page is confirmed at once:
// the destination expanded and created, the components and options as the
// script sets them (when the drive has room for them), and the program
// group in the user's Programs folder.
#include "SetupWizard.h"

#include "Files.h"
#include "Registry.h"
#include "SetupScript.h"

namespace {

std::string UserProgramsFolder()
{
    CRegistryKey key;
    CText folder;
    if (key.Open(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                 kKeyOpenExisting | kKeyQueryValue) != ERROR_SUCCESS ||
        key.QueryString("Programs", folder) == 0)
        return std::string();
    return folder.GetString();
}

// The program group page: it opens the log and turns the group name into
// the group's folder.
void ConfirmProgramGroup(CSetupScript& script)
{
    script.OpenLog();
    if (script.m_programGroup.empty())
        return;
    script.LogProgramGroup(script.m_programGroup.c_str(), true);
    script.m_programGroup = UserProgramsFolder() + "\\" + script.m_programGroup;
}

} // namespace

int RunSetupWizard(CSetupScript& script, HWND parent)
{
    script.ExpandMacros(script.m_destination);
    const char* destination = script.m_destination.c_str();
    if (script.m_destination.empty() ||
        (!DirectoryExists(destination) && !CreateDirectoryA(destination, nullptr))) {
        script.m_destination.clear();
        return 0;
    }
    uint32_t required = script.RecomputeRequiredSize();
    uint64_t free = 0;
    if (QueryFreeSpace(script.m_destination, free) && free < required) {
        script.m_destination.clear();
        return 0;
    }
    if (script.GetShortcutCount(true) > 0)
        ConfirmProgramGroup(script);
    return 1;
}
