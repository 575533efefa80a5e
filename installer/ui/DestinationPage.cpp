#include "DestinationPage.h"

#include "SetupScript.h"
#include "SetupWizard.h"
#include "SpaceText.h"
#include "resource.h"

CDestinationPage::CDestinationPage(CSetupWizard& sheet)
    : CWizardPage(IDD_DESTINATION, IDS_TITLE_DESTINATION, sheet), m_checkPending(1)
{
}

LRESULT CDestinationPage::OnInitDialog(HWND focus)
{
    // The first page is created with the sheet: the sheet is set up here.
    CWindow sheet(GetSheetWindow());
    sheet.ModifyExStyle(WS_EX_CONTEXTHELP, 0, SWP_FRAMECHANGED);
    sheet.CenterOnScreen();
    m_script.ExpandMacros(m_script.m_destination);
    SetDlgItemTextA(m_hWnd, IDC_DESTINATION, m_script.m_destination.c_str());
    return 0;
}

LRESULT CDestinationPage::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    switch (LOWORD(wParam)) {
    case IDC_DESTINATION:
        if (code == EN_SETFOCUS) {
            SendDlgItemMessageA(m_hWnd, IDC_DESTINATION, EM_SETSEL, 0, -1);
        } else if (code == EN_CHANGE) {
            SetModified(1);
            m_checkPending = 1;
            ShowTypedFreeSpace();
        }
        break;
    case IDC_BROWSE:
        if (code == BN_CLICKED)
            Browse();
        break;
    }
    return 0;
}

int CDestinationPage::OnSetActive()
{
    CWizardPage::OnSetActive();
    int more = m_script.GetComponentCount() > 0 || m_script.GetShortcutCount(true) > 0 || m_script.GetOptionCount() > 0;
    Present(more ? PSWIZB_NEXT : PSWIZB_FINISH);
    ShowTypedFreeSpace();
    ShowSize(m_hWnd, IDC_SPACE_REQUIRED, m_script, m_script.RecomputeRequiredSize());
    return 1;
}

int CDestinationPage::ConfirmDestination()
{
    if (!m_checkPending)
        return 1;
    CText typed;
    GetItemText(IDC_DESTINATION, typed);
    if (m_script.m_destination != typed.GetString())
        m_sheet.GiveUpDestination();
    m_script.m_destination = typed.GetString();
    if (m_script.m_destination.empty() || !AcceptPath(m_script.m_destination)) {
        FocusItem(IDC_DESTINATION);
        return 0;
    }
    m_checkPending = 0;
    return 1;
}

int CDestinationPage::AcceptPath(const std::string& path)
{
    const UINT question = MB_YESNO | MB_ICONQUESTION;
    if (!IsAbsolutePath(path)) {
        SetupMessage(IDS_PATH_NOT_VALID, path.c_str(), MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (FolderExists(path))
        return SetupMessage(IDS_DIRECTORY_EXISTS, path.c_str(), question) == IDYES;
    // Created before the question, so that a path that cannot exist is
    // refused at once; a refused new directory goes again.
    if (HasWildcards(path) || !CreateDirectoryA(path.c_str(), nullptr)) {
        SetupMessage(IDS_PATH_NOT_VALID, path.c_str(), MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (SetupMessage(IDS_CREATE_DIRECTORY, path.c_str(), question) == IDYES) {
        m_sheet.NoteMadeFolder(path);
        return 1;
    }
    RemoveDirectoryA(path.c_str());
    return 0;
}

void CDestinationPage::Browse()
{
    CText title;
    title.LoadString(IDS_SELECT_FOLDER);
    CFolderBrowser browser(title.GetString(), BIF_RETURNONLYFSDIRS);
    // The shell's browse dialog wants COM on the calling thread.
    HRESULT com = CoInitialize(nullptr);
    CText folder;
    if (browser.Browse(GetSheetWindow()) && browser.GetPath(folder))
        SetDlgItemTextA(m_hWnd, IDC_DESTINATION, folder.GetString());
    if (SUCCEEDED(com))
        CoUninitialize();
    FocusItem(IDC_DESTINATION);
}

void CDestinationPage::ShowTypedFreeSpace()
{
    CText typed;
    GetItemText(IDC_DESTINATION, typed);
    ShowFreeSpace(m_hWnd, m_script, typed.GetString());
}
