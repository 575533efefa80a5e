#include "InstallApp.h"

#include <commctrl.h>

#include "BackgroundWindow.h"
#include "PrepareDialog.h"
#include "ProgressDialog.h"
#include "SetupScript.h"
#include "SystemLibrary.h"
#include "resource.h"

CInstallApp::CInstallApp(CSetupScript& script) : CWinApp("INSTALL"), m_script(script) {}

int CInstallApp::Prepare()
{
    LimitLibrarySearch();
    LoadCommonControls(ICC_WIN95_CLASSES);
    return CWinApp::Prepare();
}

int CInstallApp::Start()
{
    {
        CPrepareDialog prepare(m_script, "SETUP.INS");
        prepare.RunModal(nullptr);
    }
    if (!CBackgroundWindow::Register())
        return 0;
    ShowBackground();
    if (m_script.m_installStatus == 11)
        RestartWindows();
    return 0;
}

// The background runs the wizard, the installation and the closing message
// by itself; its destruction ends the message loop.
void CInstallApp::ShowBackground()
{
    char title[64] = "";
    LoadStringResource(IDS_SETUP, title, sizeof title);
    CBackgroundWindow background(m_script, this);
    SetMainWindow(&background);
    if (background.Create(title)) {
        background.Show(SW_SHOW);
        UpdateWindow(background.GetHandle());
        RunMessageLoop(background.GetHandle(), nullptr);
    }
    SetMainWindow(nullptr);
}

void CInstallApp::RunInstallation(HWND owner)
{
    CProgressDialog progress(m_script);
    progress.RunModal(owner);
}

void RestartWindows()
{
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
        TOKEN_PRIVILEGES privileges = {};
        if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        }
        CloseHandle(token);
    }
    ExitWindowsEx(EWX_REBOOT, 0);
}
