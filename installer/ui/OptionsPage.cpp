#include "OptionsPage.h"

#include <algorithm>

#include "SetupScript.h"
#include "SetupWizard.h"
#include "resource.h"

namespace {

// WS_CHILD, WS_VISIBLE, WS_TABSTOP, BS_MULTILINE and BS_AUTOCHECKBOX.
const DWORD kOptionStyle = 0x50012003;
const int kOptionLeft = 160;
const int kOptionTop = 30;
const int kOptionWidth = 270;
const int kLineHeight = 15;
const int kExtraLineHeight = 14;
const int kOptionGap = 10;

} // namespace

COptionsPage::COptionsPage(CSetupWizard& sheet)
    : CWizardPage(IDD_OPTIONS, IDS_TITLE_OPTIONS, sheet), m_nextId(IDC_FIRST_OPTION)
{
}

LRESULT COptionsPage::OnInitDialog(HWND focus)
{
    int top = kOptionTop;
    for (CCheckItem* option : m_script.m_options) {
        int lineFeeds = (int)std::count(option->m_caption.begin(), option->m_caption.end(), '\n');
        int height = kLineHeight + kExtraLineHeight * lineFeeds;
        CWindow box;
        RECT rect = {kOptionLeft, top, kOptionLeft + kOptionWidth, top + height};
        if (box.Create("BUTTON", option->m_caption.c_str(), kOptionStyle, rect, m_hWnd,
                       (HMENU)(UINT_PTR)m_nextId)) {
            SendMessageA(box.GetHandle(), WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), TRUE);
            SendMessageA(box.GetHandle(), BM_SETCHECK, option->m_on ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        option->m_controlId = m_nextId++;
        top += height + kOptionGap;
    }
    return 0;
}

LRESULT COptionsPage::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    UINT id = LOWORD(wParam);
    if (id >= IDC_FIRST_OPTION && id < m_nextId)
        m_script.SetOption(id, IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED);
    return 0;
}

int COptionsPage::OnSetActive()
{
    CWizardPage::OnSetActive();
    Present(PSWIZB_BACK | PSWIZB_FINISH);
    return 1;
}
