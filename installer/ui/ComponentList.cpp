#include "ComponentList.h"

#include <string>

#include "SetupScript.h"
#include "WizardPage.h"
#include "resource.h"

namespace {

const int kItemWidth = 245;
const int kItemHeight = 13;
const int kWideListWidth = 249;
const int kWideListHeight = 140;
const COLORREF kGrey = RGB(128, 128, 128);

} // namespace

CComponentList::CComponentList(CSetupScript& script) : m_script(script), m_dialog(nullptr), m_current(0) {}

void CComponentList::Fill(HWND dialog, const CItemList<CSelection>& components)
{
    m_dialog = dialog;
    m_list.Attach(GetDlgItem(dialog, IDC_COMPONENT_LIST));
    m_chosenMark.LoadBitmap(IDB_MARK_CHOSEN);
    m_partlyMark.LoadBitmap(IDB_MARK_PARTLY);
    m_requiredMark.LoadBitmap(IDB_MARK_REQUIRED);
    m_list.Send(LB_RESETCONTENT);
    bool anySubComponents = false;
    for (CSelection* component : components) {
        m_list.Send(LB_ADDSTRING, 0, (LPARAM)component);
        anySubComponents = anySubComponents || !component->m_components.IsEmpty();
    }
    if (!anySubComponents) {
        ShowWindow(GetDlgItem(dialog, IDC_DETAILS), SW_HIDE);
        SetWindowPos(m_list.GetHandle(), nullptr, 0, 0, kWideListWidth, kWideListHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_current = 0;
    m_list.Send(LB_SETSEL, TRUE, 0);
    EnableDetails(0);
}

void CComponentList::OnMeasureItem(WPARAM id, MEASUREITEMSTRUCT* item)
{
    if (id != IDC_COMPONENT_LIST)
        return;
    item->itemWidth = kItemWidth;
    item->itemHeight = kItemHeight;
}

HBITMAP CComponentList::GetMark(uint8_t state) const
{
    switch (state) {
    case kStateOn: return m_chosenMark.GetBitmap();
    case kStatePartial: return m_partlyMark.GetBitmap();
    case kStateRequired: return m_requiredMark.GetBitmap();
    default: return nullptr;
    }
}

void CComponentList::OnDrawItem(WPARAM id, const DRAWITEMSTRUCT* item)
{
    if (id != IDC_COMPONENT_LIST)
        return;
    const CSelection* component = item->itemID == (UINT)-1 ? nullptr : (const CSelection*)item->itemData;
    if (component == nullptr)
        return;
    HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    CBrush window(GetSysColor(COLOR_WINDOW));
    SelectObject(dc, window.GetBrush());
    SelectObject(dc, GetStockObject(WHITE_PEN));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    COLORREF textColour = GetSysColor(COLOR_WINDOWTEXT);
    CBrush highlight(GetSysColor(COLOR_HIGHLIGHT));
    CPen highlightPen(PS_SOLID, 1, GetSysColor(COLOR_HIGHLIGHT));
    if (item->itemState & ODS_SELECTED) {
        SelectObject(dc, highlight.GetBrush());
        SelectObject(dc, highlightPen.GetPen());
        Rectangle(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
        textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    CPen boxPen(PS_SOLID, 1, kGrey);
    SelectObject(dc, boxPen.GetPen());
    SelectObject(dc, window.GetBrush());
    Rectangle(dc, r.left + 2, r.top + 1, r.left + 13, r.top + 12);
    HBITMAP mark = GetMark(component->m_state);
    if (mark != nullptr)
        DrawStateA(dc, nullptr, nullptr, (LPARAM)mark, 0, r.left + 3, r.top + 2, 0, 0, DST_BITMAP);
    if (component->m_state == kStateRequired)
        textColour = kGrey;
    SetTextColor(dc, textColour);
    TextOutA(dc, r.left + 16, r.top, component->m_title.c_str(), (int)component->m_title.size());
    std::string size = SizeText(m_script, component->m_size);
    RECT sizeRect = r;
    DrawTextA(dc, size.c_str(), (int)size.size(), &sizeRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    // Gives the objects back before their wrappers delete them.
    RestoreDC(dc, saved);
}

CSelection* CComponentList::GetComponent(int index) const
{
    LRESULT data = m_list.Send(LB_GETITEMDATA, (WPARAM)index);
    return data == LB_ERR ? nullptr : (CSelection*)data;
}

void CComponentList::EnableDetails(int index)
{
    CSelection* component = GetComponent(index);
    EnableWindow(GetDlgItem(m_dialog, IDC_DETAILS), component != nullptr && !component->m_components.IsEmpty());
}

int CComponentList::OnCommand(UINT id, UINT code, HWND hidden, int64_t& sizeChange)
{
    if (id == IDC_COMPONENT_LIST)
        return OnClick(code, sizeChange);
    if (id == IDC_DETAILS && code == BN_CLICKED)
        return ShowDetails(hidden, sizeChange);
    return 0;
}

int CComponentList::OnClick(UINT code, int64_t& sizeChange)
{
    if (code != LBN_SELCHANGE && code != LBN_DBLCLK)
        return 0;
    if (code == LBN_DBLCLK)
        m_current = (int)m_list.Send(LB_GETCURSEL);
    int focused = (int)m_list.Send(LB_GETCURSEL);
    if (focused < 0)
        return 0;
    // One item stays highlighted, whatever the multiple selection did.
    m_list.Send(LB_SETSEL, FALSE, m_current);
    m_list.Send(LB_SETSEL, TRUE, focused);
    EnableDetails(focused);
    if (focused != m_current) {
        m_current = focused;
        return 0;
    }
    CSelection* component = GetComponent(focused);
    if (component == nullptr)
        return 0;
    uint32_t before = component->m_size;
    uint32_t after = m_script.SetComponentState(*component, component->m_state == kStateOn ? kStateOff : kStateOn);
    sizeChange = (int64_t)after - (int64_t)before;
    RedrawWindow(m_list.GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return 1;
}

int CComponentList::ShowDetails(HWND hidden, int64_t& sizeChange)
{
    CSelection* component = GetComponent(m_current);
    if (component == nullptr || component->m_components.IsEmpty())
        return 0;
    uint32_t before = component->m_size;
    ShowWindow(hidden, SW_HIDE);
    CComponentsDialog dialog(m_script, *component);
    dialog.DoModal(hidden);
    uint8_t state = component->m_components.GetHead()->m_state;
    for (const CSelection* sub : component->m_components)
        if (sub->m_state != state)
            state = kStatePartial;
    component->m_state = state;
    // The dialog moved only the sub-components' sizes; the component's own
    // files count by its new state.
    component->m_size = m_script.GetChosenSize(*component);
    sizeChange = (int64_t)component->m_size - (int64_t)before;
    ShowWindow(hidden, SW_SHOW);
    RedrawWindow(m_list.GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return 1;
}

CComponentsDialog::CComponentsDialog(CSetupScript& script, CSelection& component)
    : CDialogBox(IDD_COMPONENTS_DIALOG), m_script(script), m_component(component), m_list(script)
{
}

void CComponentsDialog::ShowTexts(uint32_t size)
{
    SetDlgItemTextA(m_hWnd, IDC_DESTINATION, m_script.m_destination.c_str());
    ShowSize(m_hWnd, IDC_SPACE_REQUIRED, m_script, size);
    ShowFreeSpace(m_hWnd, m_script, m_script.m_destination);
}

LRESULT CComponentsDialog::OnInitDialog(HWND focus)
{
    m_list.Fill(m_hWnd, m_component.m_components);
    ShowTexts(m_script.GetChosenSize(m_component));
    return 1;
}

LRESULT CComponentsDialog::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    if (LOWORD(wParam) == IDC_COMPONENTS_OK) {
        EndDialog(m_hWnd, IDC_COMPONENTS_OK);
        return 0;
    }
    // A sub-component's size counts in this component's.
    int64_t sizeChange = 0;
    if (m_list.OnCommand(LOWORD(wParam), code, m_hWnd, sizeChange)) {
        m_component.m_size = (uint32_t)(m_component.m_size + sizeChange);
        ShowTexts(m_component.m_size);
    }
    return 0;
}
