#include "ProgramGroupPage.h"

#include "Files.h"
#include "SetupScript.h"
#include "SetupWizard.h"
#include "SpaceText.h"
#include "resource.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool IsWindowsNt()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

} // namespace

CProgramGroupPage::CProgramGroupPage(CSetupWizard& sheet)
    : CWizardPage(IDD_PROGRAM_GROUP, IDS_TITLE_PROGRAM_GROUP, sheet), m_userGroupCount(0)
{
}

LRESULT CProgramGroupPage::OnInitDialog(HWND focus)
{
    // Only Windows NT has groups for every user.
    bool nt = IsWindowsNt();
    if (nt) {
        for (int id : {IDC_GROUP_OWNER, IDC_USER_GROUP, IDC_COMMON_GROUP})
            EnableWindow(GetDlgItem(m_hWnd, id), TRUE);
    }
    CheckRadioButton(m_hWnd, IDC_USER_GROUP, IDC_COMMON_GROUP, IDC_USER_GROUP);
    SetDlgItemTextA(m_hWnd, IDC_GROUP_NAME, m_script.m_programGroup.c_str());
    m_userPrograms = QueryRegistryText(HKEY_CURRENT_USER, kShellFolders, "Programs");
    m_commonPrograms = QueryRegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
    m_list.Attach(GetDlgItem(m_hWnd, IDC_GROUP_LIST));
    m_userGroupCount = ListGroups(m_userPrograms);
    if (nt)
        ListGroups(m_commonPrograms);
    return 0;
}

int CProgramGroupPage::ListGroups(const std::string& programsFolder)
{
    if (programsFolder.empty())
        return 0;
    int count = 0;
    CFileFinder finder;
    for (int found = finder.FindFile((programsFolder + "\\*.*").c_str()); found; found = finder.FindNext()) {
        const char* name = finder.GetFindData().cFileName;
        if (!finder.IsDirectory() || name[0] == '.')
            continue;
        m_list.Send(LB_ADDSTRING, 0, (LPARAM)name);
        count++;
    }
    return count;
}

void CProgramGroupPage::OnGroupChosen()
{
    int index = (int)m_list.Send(LB_GETCURSEL);
    CText name;
    if (m_list.GetText(index, name) < 0)
        return;
    SetDlgItemTextA(m_hWnd, IDC_GROUP_NAME, name.GetString());
    CheckRadioButton(m_hWnd, IDC_USER_GROUP, IDC_COMMON_GROUP,
                     index < m_userGroupCount ? IDC_USER_GROUP : IDC_COMMON_GROUP);
}

LRESULT CProgramGroupPage::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    switch (LOWORD(wParam)) {
    case IDC_GROUP_LIST:
        if (code == LBN_SELCHANGE)
            OnGroupChosen();
        break;
    case IDC_GROUP_NAME:
        if (code == EN_SETFOCUS)
            SendDlgItemMessageA(m_hWnd, IDC_GROUP_NAME, EM_SETSEL, 0, -1);
        else if (code == EN_CHANGE)
            SetModified(1);
        break;
    }
    return 0;
}

int CProgramGroupPage::OnSetActive()
{
    CWizardPage::OnSetActive();
    if (m_script.GetShortcutCount(true) == 0)
        return 0;
    Present(PSWIZB_BACK | (m_script.GetOptionCount() > 0 ? PSWIZB_NEXT : PSWIZB_FINISH));
    return 1;
}

int CProgramGroupPage::ConfirmGroup()
{
    // Each confirmation starts the log anew, so a page confirmed twice
    // leaves one head.
    m_script.OpenLog();
    CText name;
    GetItemText(IDC_GROUP_NAME, name);
    if (name.IsEmpty()) {
        m_script.m_programGroup.clear();
        return 1;
    }
    bool userGroup = IsDlgButtonChecked(m_hWnd, IDC_USER_GROUP) == BST_CHECKED;
    m_script.LogProgramGroup(name.GetString(), userGroup);
    m_script.m_programGroup = (userGroup ? m_userPrograms : m_commonPrograms) + "\\" + name.GetString();
    // A folder that can be made now is a valid group; it is made for real
    // when the shortcuts are.
    const char* folder = m_script.m_programGroup.c_str();
    if (!FolderExists(folder)) {
        if (HasWildcards(folder) || !CreateDirectoryA(folder, nullptr)) {
            SetupMessage(IDS_GROUP_NOT_VALID, name.GetString(), MB_OK | MB_ICONINFORMATION);
            FocusItem(IDC_GROUP_NAME);
            return 0;
        }
        RemoveDirectoryA(folder);
    }
    return 1;
}
