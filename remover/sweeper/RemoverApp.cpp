#include "RemoverApp.h"

#include <commctrl.h>
#include <string.h>

#include "Files.h"
#include "RemoverDialog.h"
#include "Text.h"
#include "resource.h"

// The folder of a file, when that is not a drive's root.
static int FolderOf(const char* path, char* folder)
{
    lstrcpynA(folder, path, MAX_PATH);
    char* slash = strrchr(folder, '\\');
    if (slash == nullptr)
        return 0;
    slash[0] = 0;
    return strchr(folder, '\\') != nullptr;
}

int ScheduleOwnDeletion(const char* modulePath)
{
    const DWORD delayed = MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT;
    char shortPath[MAX_PATH];
    char folder[MAX_PATH];
    DWORD length = GetShortPathNameA(modulePath, shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        lstrcpynA(shortPath, modulePath, MAX_PATH);
    if (MoveFileExA(shortPath, nullptr, delayed)) {
        // The folder goes after the file; by then it is empty.
        if (FolderOf(shortPath, folder))
            MoveFileExA(folder, nullptr, delayed);
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
    if (FolderOf(modulePath, folder))
        WritePrivateProfileStringA("rename", folder, "", iniPath);
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
