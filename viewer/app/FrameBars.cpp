// The frame's rebar with the toolbar and format combo box bands, the status
// bar with menu help and clock, tool tips, and the saved settings.
#include "ViewerFrame.h"

#include <string.h>

#include "AppThread.h"
#include "Text.h"
#include "resource.h"

namespace {
const DWORD kReBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | RBS_TOOLTIPS |
                          RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN;
const DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TRANSPARENT | CCS_NODIVIDER |
                            CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_TOP;
const int kBandMinimumWidth = 170;
const int kComboBandHeight = 22;
const int kLabelCount = 11;

struct ButtonLayout {
    int image;
    UINT command;
    BYTE style;
};

const ButtonLayout kButtons[] = {
    {0, ID_FILE_OPEN, TBSTYLE_BUTTON},
    {1, ID_FILE_SAVE_AS, TBSTYLE_BUTTON},
    {0, 0, TBSTYLE_SEP},
    {2, ID_EDIT_CUT, TBSTYLE_BUTTON},
    {3, ID_EDIT_COPY, TBSTYLE_BUTTON},
    {4, ID_EDIT_PASTE, TBSTYLE_BUTTON},
    {5, ID_EDIT_DELETE, TBSTYLE_BUTTON},
    {0, 0, TBSTYLE_SEP},
    {6, ID_VIEW_AUTO, TBSTYLE_CHECKGROUP},
    {7, ID_VIEW_TEXT, TBSTYLE_CHECKGROUP},
    {8, ID_VIEW_BINARY, TBSTYLE_CHECKGROUP},
    {9, ID_VIEW_PICTURE, TBSTYLE_CHECKGROUP},
    {10, ID_VIEW_INFO, TBSTYLE_CHECKGROUP},
};

struct StyleToggle {
    UINT command;
    DWORD flag;
};

const StyleToggle kToggles[] = {
    {ID_TOOLBAR_LABELS, kToolbarLabels},
    {ID_TOOLBAR_LARGE, kToolbarLarge},
    {ID_TOOLBAR_TIPS, kToolbarTips},
    {ID_TOOLBAR_FLAT, kToolbarFlat},
};

REBARBANDINFOA MakeBandInfo(UINT mask)
{
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = mask;
    return band;
}
} // namespace

void CViewerFrame::ReadSettingsAndBuildBars()
{
    RECT position;
    int found = 0;
    if (ReadSavedPosition(&position, &found) && found && IsOnSomeScreen(position))
        SetWindowPos(m_hWnd, nullptr, position.left, position.top, position.right - position.left,
                     position.bottom - position.top, SWP_NOACTIVATE | SWP_NOZORDER);
    ReadToolbarSettings(m_settings);
    CheckToolbarEntries();

    RECT rect = {0, 0, 400, 275};
    m_reBar.Create(kReBarStyle, rect, m_hWnd, IDC_REBAR);
    REBARINFO info = {};
    info.cbSize = sizeof info;
    m_reBar.Send(RB_SETBARINFO, 0, (LPARAM)&info);

    BuildToolBar();
    InsertBand(m_settings.bands[0]);
    InsertBand(m_settings.bands[1]);
}

void CViewerFrame::CheckToolbarEntries()
{
    for (const StyleToggle& toggle : kToggles)
        CheckMenuItem(m_popups.GetHandle(), toggle.command,
                      MF_BYCOMMAND | ((m_settings.style & toggle.flag) ? MF_CHECKED : MF_UNCHECKED));
}

void CViewerFrame::InsertBand(const CBandRecord& record)
{
    REBARBANDINFOA band = MakeBandInfo(RBBIM_STYLE | RBBIM_COLORS | RBBIM_SIZE | RBBIM_CHILD | RBBIM_CHILDSIZE |
                                       RBBIM_ID);
    band.fStyle = RBBS_CHILDEDGE | RBBS_NOVERT | RBBS_FIXEDBMP;
    if (record.flags & kBandBreak)
        band.fStyle |= RBBS_BREAK;
    band.clrFore = GetSysColor(COLOR_BTNTEXT);
    band.clrBack = GetSysColor(COLOR_BTNFACE);
    band.cx = (UINT)record.width;
    band.cxMinChild = kBandMinimumWidth;
    CText label;
    if (record.flags & kBandHoldsCombo) {
        label.LoadString(IDS_FORMAT_BAND);
        band.fMask |= RBBIM_TEXT;
        band.lpText = (char*)label.GetString();
        band.hwndChild = m_formatCombo.GetHandle();
        band.wID = IDC_FORMAT_COMBO;
        band.cyMinChild = kComboBandHeight;
    } else {
        band.hwndChild = m_toolBar.GetHandle();
        band.wID = IDC_TOOLBAR;
        band.cyMinChild = (UINT)ToolbarBandHeight(m_settings.style);
    }
    m_reBar.Send(RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&band);
}

void CViewerFrame::BuildToolBar()
{
    if (m_toolBar.GetHandle() != nullptr)
        DestroyWindow(m_toolBar.GetHandle());
    m_toolBar.Attach(nullptr);
    m_toolImages.Destroy();
    m_hotToolImages.Destroy();
    m_disabledToolImages.Destroy();

    DWORD style = kToolBarStyle;
    if (m_settings.style & kToolbarTips)
        style |= TBSTYLE_TOOLTIPS;
    if (m_settings.style & kToolbarFlat)
        style |= TBSTYLE_FLAT;
    RECT rect = {160, 1, 262, 150};
    m_toolBar.Create(style, rect, m_hWnd, IDC_TOOLBAR);

    int large = (m_settings.style & kToolbarLarge) != 0;
    int size = large ? 24 : 16;
    m_toolImages.Load(large ? IDB_TOOLBAR_LARGE : IDB_TOOLBAR_SMALL, size, 0, RGB(192, 192, 192));
    m_hotToolImages.Load(large ? IDB_TOOLBAR_LARGE_HOT : IDB_TOOLBAR_SMALL_HOT, size, 0, RGB(192, 192, 192));
    m_disabledToolImages.Load(large ? IDB_TOOLBAR_LARGE_DISABLED : IDB_TOOLBAR_SMALL_DISABLED, size, 0,
                              RGB(192, 192, 192));
    m_toolBar.Send(TB_SETBITMAPSIZE, 0, MAKELONG(size, size));
    m_toolBar.Send(TB_SETBUTTONSIZE, 0, MAKELONG(size, size));
    m_toolBar.Send(TB_SETIMAGELIST, 0, (LPARAM)m_toolImages.GetHandle());
    m_toolBar.Send(TB_SETHOTIMAGELIST, 0, (LPARAM)m_hotToolImages.GetHandle());
    m_toolBar.Send(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)m_disabledToolImages.GetHandle());

    int labels = (m_settings.style & kToolbarLabels) != 0;
    if (labels) {
        // The labels are one string resource with line breaks between them;
        // the toolbar wants them separated by zeros and ended by two.
        char text[256] = "";
        int length = LoadStringResource(IDS_TOOLBAR_LABELS, text, (int)sizeof text - 2);
        text[length] = 0;
        text[length + 1] = 0;
        for (int i = 0; i < length; i++)
            if (text[i] == '\n')
                text[i] = 0;
        m_toolBar.Send(TB_ADDSTRINGA, 0, (LPARAM)text);
    }

    const int count = (int)(sizeof kButtons / sizeof kButtons[0]);
    TBBUTTON buttons[count];
    memset(buttons, 0, sizeof buttons);
    int label = 0;
    for (int i = 0; i < count; i++) {
        buttons[i].idCommand = (int)kButtons[i].command;
        buttons[i].fsStyle = kButtons[i].style;
        if (kButtons[i].style == TBSTYLE_SEP)
            continue;
        buttons[i].iBitmap = kButtons[i].image;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].iString = labels ? label : -1;
        label++;
    }
    m_toolBar.Send(TB_ADDBUTTONSA, (WPARAM)count, (LPARAM)buttons);
}

void CViewerFrame::RebuildToolBarBand()
{
    int index = (int)m_reBar.Send(RB_IDTOINDEX, IDC_TOOLBAR, 0);
    if (index < 0)
        index = 1;
    REBARBANDINFOA band = MakeBandInfo(RBBIM_CHILD);
    band.hwndChild = nullptr;
    m_reBar.Send(RB_SETBANDINFOA, (WPARAM)index, (LPARAM)&band);

    BuildToolBar();
    // The new toolbar keeps the view mode's button pressed and Paste's
    // state, which the old one carried.
    m_toolBar.CheckButton(m_viewMode, TRUE);
    m_toolBar.EnableButton(ID_EDIT_PASTE, IsWindowEnabled(m_formatCombo.GetHandle()));

    band = MakeBandInfo(RBBIM_CHILD | RBBIM_CHILDSIZE);
    band.hwndChild = m_toolBar.GetHandle();
    band.cxMinChild = kBandMinimumWidth;
    band.cyMinChild = (UINT)ToolbarBandHeight(m_settings.style);
    m_reBar.Send(RB_SETBANDINFOA, (WPARAM)index, (LPARAM)&band);
}

void CViewerFrame::ToggleToolbarStyle(UINT command)
{
    DWORD flag = 0;
    for (const StyleToggle& toggle : kToggles)
        if (toggle.command == command)
            flag = toggle.flag;
    m_settings.style ^= flag;
    CheckToolbarEntries();
    if (flag == kToolbarFlat) {
        // Only the look changes: the band keeps its height until the next
        // rebuild.
        if (m_settings.style & kToolbarFlat)
            m_toolBar.ModifyStyle(0, TBSTYLE_FLAT, 0);
        else
            m_toolBar.ModifyStyle(TBSTYLE_FLAT, 0, 0);
        InvalidateRect(m_toolBar.GetHandle(), nullptr, TRUE);
        return;
    }
    RebuildToolBarBand();
    LayOut();
}

// A minimised frame's window rectangle is its icon's place, from which the
// next start would open it out of sight: the rectangle it restores to is
// kept instead. Its placement is in work-area coordinates.
int CViewerFrame::GetRestorableRect(RECT* rect) const
{
    if (!IsIconic(m_hWnd))
        return GetWindowRect(m_hWnd, rect);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(m_hWnd, &placement))
        return 0;
    RECT workArea = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    *rect = placement.rcNormalPosition;
    OffsetRect(rect, workArea.left, workArea.top);
    return 1;
}

void CViewerFrame::SaveSettings()
{
    RECT position;
    if (GetRestorableRect(&position))
        WriteSavedPosition(position);
    for (int i = 0; i < 2; i++) {
        REBARBANDINFOA band = MakeBandInfo(RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE);
        if (!m_reBar.Send(RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&band))
            continue;
        CBandRecord& record = m_settings.bands[i];
        record.flags = 0;
        if (band.hwndChild != m_toolBar.GetHandle())
            record.flags |= kBandHoldsCombo;
        if (band.fStyle & RBBS_BREAK)
            record.flags |= kBandBreak;
        record.width = (LONG)band.cx;
    }
    WriteToolbarSettings(m_settings);
}

LRESULT CViewerFrame::OnTimer(UINT_PTR id)
{
    if (id == kClockTimer)
        UpdateClock();
    else if (id == kClipboardRetryTimer)
        FollowClipboard();
    return 0;
}

void CViewerFrame::UpdateClock()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[100] = "";
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &now, nullptr, text, sizeof text);
    m_statusBar.SetPartText(1, text);
}

LRESULT CViewerFrame::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    LRESULT result = CMdiFrame::OnMenuSelect(item, flags, menu);
    char text[256] = "";
    // A closing menu gives part 0 back to the clipboard's owner line.
    m_menuOpen = menu != nullptr;
    if (!m_menuOpen) {
        ShowClipboardStatus();
        return result;
    }
    if (item >= 1000) {
        UINT stringId = (item >= ID_FORMAT_FIRST && item <= 60000) ? (UINT)IDS_FORMAT_ENTRY_HELP : item;
        LoadStringResource(stringId, text, sizeof text);
    }
    m_statusBar.SetPartText(0, text, SBT_NOBORDERS);
    return result;
}

LRESULT CViewerFrame::OnNotify(WPARAM id, NMHDR* header)
{
    LRESULT result = CMdiFrame::OnNotify(id, header);
    if (header->code == TTN_NEEDTEXTA && header->idFrom != IDC_TOOLBAR) {
        // A button's tip is its menu help string.
        NMTTDISPINFOA* info = (NMTTDISPINFOA*)header;
        info->hinst = GetModuleInstance();
        info->lpszText = MAKEINTRESOURCEA(header->idFrom);
    } else if (header->code == RBN_HEIGHTCHANGE && header->idFrom == IDC_REBAR) {
        RECT client;
        GetClientRect(m_hWnd, &client);
        PlaceClient(client.right, client.bottom);
    }
    return result;
}

LRESULT CViewerFrame::OnContextMenu(HWND window, UINT x, UINT y)
{
    // Screen coordinates left of or above the primary monitor are negative.
    POINT point = {(short)x, (short)y};
    RECT toolBar;
    if (GetWindowRect(m_toolBar.GetHandle(), &toolBar) && PtInRect(&toolBar, point))
        TrackPopupMenu(GetSubMenu(m_popups.GetHandle(), POPUP_TOOLBAR), TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd,
                       nullptr);
    return CMdiFrame::OnContextMenu(window, x, y);
}
