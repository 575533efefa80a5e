#include "RemoverApp.h"

#include <commctrl.h>
#include <string.h>

#include "Files.h"
#include "RemoverDialog.h"
#include "RemoverWorker.h"
#include "Text.h"
#include "resource.h"

// The folder of a file, or nothing when that is a drive's root.
static std::string OwnFolder(const char* path)
{
    std::string folder = FolderOf(path);
    return folder.find('\\') != std::string::npos ? folder : std::string();
}

int ScheduleOwnDeletion(const char* modulePath)
{
    const DWORD delayed = MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT;
    char shortPath[MAX_PATH];
    DWORD length = GetShortPathNameA(modulePath, shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        lstrcpynA(shortPath, modulePath, MAX_PATH);
    if (MoveFileExA(shortPath, nullptr, delayed)) {
        // The folder goes after the file; by then it is empty.
        std::string folder = OwnFolder(shortPath);
        if (!folder.empty())
            MoveFileExA(folder.c_str(), nullptr, delayed);
        return 1;
    }
    // Systems without delayed deletion read wininit.ini at their start.
    char iniPath[MAX_PATH + 16];
    UINT windows = GetWindowsDirectoryA(iniPath, MAX_PATH);
    if (windows == 0 || windows >= MAX_PATH)
        return 0;
    if (iniPath[windows - 1] != '\\')
        lstrcatA(iniPath, "\\");
    lstrcatA(iniPath, "wininit.ini");
    if (!WritePrivateProfileStringA("rename", modulePath, "", iniPath))
        return 0;
    std::string folder = OwnFolder(modulePath);
    if (!folder.empty())
        WritePrivateProfileStringA("rename", folder.c_str(), "", iniPath);
    return 1;
}

int CRemoverApp::Prepare()
{
    // Before anything else: this program runs from a temporary folder.
    LimitLibrarySearch();
    return 0;
}

int CRemoverApp::Start()
{
    const char* logPath = GetCommandLine();
    if (logPath == nullptr || *logPath == 0)
        return 0;
    if (!AnyFileMatches(logPath)) {
        CText text;
        CText caption;
        text.LoadString(IDS_LOG_NOT_FOUND);
        caption.LoadString(IDS_ERROR);
        MessageBoxA(nullptr, text.GetString(), caption.GetString(), MB_ICONERROR);
        return 0;
    }
    LoadCommonControls(ICC_PROGRESS_CLASS);
    CRemoverDialog dialog(logPath);
    SetMainWindow(&dialog);
    dialog.RunModal();
    SetMainWindow(nullptr);
    return 1;
}

int CRemoverApp::Finish()
{
    ScheduleOwnDeletion(GetModuleFileName());
    return 0;
}
