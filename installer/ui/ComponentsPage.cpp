#include "ComponentsPage.h"

#include "SetupScript.h"
#include "SetupWizard.h"
#include "resource.h"

CComponentsPage::CComponentsPage(CSetupWizard& sheet)
    : CWizardPage(IDD_COMPONENTS, IDS_TITLE_COMPONENTS, sheet), m_list(sheet.GetScript())
{
}

LRESULT CComponentsPage::OnInitDialog(HWND focus)
{
    m_list.Fill(m_hWnd, m_script.m_components);
    ShowTexts();
    return 0;
}

void CComponentsPage::SetButtons()
{
    int more = m_script.GetShortcutCount(true) > 0 || m_script.GetOptionCount() > 0;
    Present(PSWIZB_BACK | (more ? PSWIZB_NEXT : PSWIZB_FINISH));
}

void CComponentsPage::ShowTexts()
{
    SetDlgItemTextA(m_hWnd, IDC_DESTINATION, m_script.m_destination.c_str());
    ShowSize(m_hWnd, IDC_SPACE_REQUIRED, m_script, m_script.m_requiredSize);
    ShowFreeSpace(m_hWnd, m_script, m_script.m_destination);
}

LRESULT CComponentsPage::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    int64_t sizeChange = 0;
    if (m_list.OnCommand(LOWORD(wParam), code, GetSheetWindow(), sizeChange)) {
        m_script.m_requiredSize = (uint32_t)(m_script.m_requiredSize + sizeChange);
        ShowTexts();
        SetButtons();
    }
    return 0;
}

int CComponentsPage::OnSetActive()
{
    CWizardPage::OnSetActive();
    if (m_script.GetComponentCount() == 0)
        return 0;
    SetButtons();
    ShowTexts();
    return 1;
}

int CComponentsPage::CheckFreeSpace()
{
    uint64_t freeBytes = 0;
    if (!QueryFreeSpace(m_script.m_destination, freeBytes))
        return 0;
    if (freeBytes < m_script.m_requiredSize) {
        SetupMessage(IDS_NO_FREE_SPACE, nullptr, MB_OK | MB_ICONERROR);
        return 0;
    }
    return 1;
}

int CComponentsPage::OnQueryCancel()
{
    if (!CWizardPage::OnQueryCancel())
        return 0;
    m_list.Release();
    return 1;
}
