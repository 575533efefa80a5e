// The frame's part in the clipboard viewer chain: the format list of the
// Display menu and the combo box, the live views, and opening views.
#include "ViewerFrame.h"

#include "AppThread.h"
#include "ClipFormat.h"
#include "resource.h"

LRESULT CViewerFrame::OnDrawClipboard()
{
    if (m_nextViewer != nullptr)
        SendMessageA(m_nextViewer, WM_DRAWCLIPBOARD, 0, 0);
    RebuildFormatList();
    RefreshLiveViews();
    return DefaultProc(WM_DRAWCLIPBOARD, 0, 0);
}

LRESULT CViewerFrame::OnChangeCbChain(HWND removed, HWND next)
{
    if (removed == m_nextViewer)
        m_nextViewer = next;
    else if (m_nextViewer != nullptr)
        SendMessageA(m_nextViewer, WM_CHANGECBCHAIN, (WPARAM)removed, (LPARAM)next);
    return DefaultProc(WM_CHANGECBCHAIN, (WPARAM)removed, (LPARAM)next);
}

LRESULT CViewerFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_destroyMessage && m_destroyMessage != 0)
        OnViewGone(lParam);
    return CMdiFrame::DefaultProc(message, wParam, lParam);
}

// The entry comes in a message that any program could post: only an entry
// that is in the list is removed.
void CViewerFrame::OnViewGone(LPARAM entry)
{
    for (CFormatViewEntry* node = m_views.GetHead(); node != nullptr; node = node->next) {
        if ((LPARAM)node == entry) {
            m_views.RemoveNode(node);
            return;
        }
    }
}

// Answers 0 when the clipboard could not be opened: the caller then keeps
// what it shows rather than mistaking a busy clipboard for an empty one.
int CViewerFrame::ReadClipboardFormats(std::vector<UINT>& formats)
{
    formats.clear();
    if (!OpenClipboardPatiently(m_hWnd))
        return 0;
    UINT format = EnumClipboardFormats(0);
    if (format == 0 && CountClipboardFormats() != 0) {
        // The clipboard may change between opening and enumerating.
        CloseClipboard();
        if (!OpenClipboardPatiently(m_hWnd))
            return 0;
        format = EnumClipboardFormats(0);
    }
    // The format entries' command ids end at ID_FORMAT_LAST.
    while (format != 0 && formats.size() <= ID_FORMAT_LAST - ID_FORMAT_FIRST) {
        formats.push_back(format);
        format = EnumClipboardFormats(format);
    }
    CloseClipboard();
    return 1;
}

void CViewerFrame::RebuildFormatList()
{
    // Joining the chain brings a notice before the bars exist; the list is
    // built once they do.
    if (m_comboList == nullptr)
        return;
    std::vector<UINT> formats;
    if (!ReadClipboardFormats(formats))
        return;
    // Entries that already stand for the same formats from the start of the
    // list stay: a new copy of the same kind of data changes no entry.
    size_t kept = 0;
    while (kept < formats.size() && kept < m_listedFormats.size() && formats[kept] == m_listedFormats[kept])
        kept++;

    HMENU display = GetDisplayMenu();
    int firstRemoved = kept > 0 ? kFixedDisplayEntries + 1 + (int)kept : kFixedDisplayEntries;
    for (int position = GetMenuItemCount(display) - 1; position >= firstRemoved; position--)
        DeleteMenu(display, (UINT)position, MF_BYPOSITION);

    SendMessageA(m_formatCombo.GetHandle(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_comboList, WM_SETREDRAW, FALSE, 0);
    if (kept == 0) {
        SendMessageA(m_comboList, CB_RESETCONTENT, 0, 0);
        UINT first = formats.empty() ? 0 : formats[0];
        CText text;
        text.LoadString(IDS_AUTO);
        int image = FormatIconIndexForName(first, m_formatNames.Get(first).GetString());
        m_formatCombo.InsertItem(0, text.GetString(), image, image, 0);
    } else {
        for (int item = (int)SendMessageA(m_comboList, CB_GETCOUNT, 0, 0) - 1; item > (int)kept; item--)
            m_formatCombo.Send(CBEM_DELETEITEM, (WPARAM)item);
    }

    int hasFormats = !formats.empty();
    m_toolBar.EnableButton(ID_EDIT_PASTE, hasFormats);
    EnableMenuItem(::GetMenu(m_hWnd), ID_DISPLAY_AUTO_FORMAT, MF_BYCOMMAND | (hasFormats ? MF_ENABLED : MF_GRAYED));
    EnableWindow(m_formatCombo.GetHandle(), hasFormats);
    if (hasFormats && kept == 0)
        InsertMenuA(display, kFixedDisplayEntries, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (size_t k = kept; k < formats.size(); k++)
        AddFormatEntry((UINT)k, formats[k]);
    if (hasFormats)
        SendMessageA(m_comboList, CB_SETCURSEL, 0, 0);
    SendMessageA(m_comboList, WM_SETREDRAW, TRUE, 0);
    SendMessageA(m_formatCombo.GetHandle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_formatCombo.GetHandle(), nullptr, TRUE);
    m_listedFormats.swap(formats);
}

// The k-th format: a Display menu entry with the format as its item data,
// and combo box item k + 1.
void CViewerFrame::AddFormatEntry(UINT k, UINT format)
{
    const CText& name = m_formatNames.Get(format);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA;
    item.fType = MFT_STRING;
    item.wID = ID_FORMAT_FIRST + k;
    item.dwItemData = format;
    item.dwTypeData = (char*)name.GetString();
    InsertMenuItemA(GetDisplayMenu(), kFixedDisplayEntries + 1 + k, TRUE, &item);

    CText text(name);
    RemoveFirstAmpersand(text);
    int image = FormatIconIndexForName(format, name.GetString());
    m_formatCombo.InsertItem((int)k + 1, text.GetString(), image, image, 0);
}

void CViewerFrame::RefreshLiveViews()
{
    // A clipboard that stays busy says nothing about the views' formats:
    // they are left as they are until the next change rather than closed.
    if (!OpenClipboardPatiently(m_hWnd))
        return;
    for (CFormatViewEntry* node = m_views.GetHead(); node != nullptr; node = node->next) {
        CFormatView* view = node->object;
        // A closed view stays listed until its notice arrives.
        if (view->GetPage() != nullptr || !IsWindow(view->GetHandle()))
            continue;
        if (GetClipboardData(view->GetFormat()) != nullptr) {
            CloseClipboard();
            view->ReloadFromClipboard();
            if (!OpenClipboardPatiently(m_hWnd))
                return;
        } else {
            PostMessageA(view->GetHandle(), WM_CLOSE, 0, 0);
        }
    }
    CloseClipboard();
}

int CViewerFrame::OpenFormatByCommand(UINT command)
{
    UINT format = 0;
    if (command == ID_DISPLAY_AUTO_FORMAT) {
        if (OpenClipboardPatiently(m_hWnd)) {
            format = EnumClipboardFormats(0);
            CloseClipboard();
        }
    } else {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_DATA;
        if (GetMenuItemInfoA(::GetMenu(m_hWnd), command, FALSE, &item))
            format = (UINT)item.dwItemData;
    }
    if (format == 0)
        return 0;
    return OpenFormat(format);
}

int CViewerFrame::OpenFormat(UINT format)
{
    OpenView(format, m_viewMode, nullptr, nullptr, nullptr);
    return 1;
}

int CViewerFrame::OpenPageFormat(const CClipPage* page, const char* pageName, const CClipFormat& record, UINT kind)
{
    return OpenView(record.GetFormatId(), kind, page, pageName, &record);
}

CFormatView* CViewerFrame::FindView(UINT format, UINT kind, const CClipPage* page) const
{
    for (CFormatViewEntry* node = m_views.GetHead(); node != nullptr; node = node->next) {
        CFormatView* view = node->object;
        if (view->GetFormat() == format && view->GetKind() == kind && view->GetPage() == page &&
            IsWindow(view->GetHandle()))
            return view;
    }
    return nullptr;
}

int CViewerFrame::OpenView(UINT format, UINT kind, const CClipPage* page, const char* pageName,
                           const CClipFormat* record)
{
    if (kind == kViewAuto)
        kind = ResolveAutoKind(format, page != nullptr);
    CFormatView* existing = FindView(format, kind, page);
    if (existing != nullptr) {
        SendMessageA(m_client, WM_MDIACTIVATE, (WPARAM)existing->GetHandle(), 0);
        return 1;
    }
    CFormatView* view = CanShowAs(kind, format) ? CreateFormatView(format, kind) : nullptr;
    if (view == nullptr) {
        ResourceMessageBox(IDS_NOT_SUPPORTED, IDS_ERROR, MB_ICONERROR);
        return 0;
    }
    view->SetListEntry(m_views.AddHead(view));
    if (page != nullptr)
        view->SetPage(page, pageName);
    if (!view->CreateViewWindow(this)) {
        m_views.RemoveNode(view->GetListEntry());
        return 0;
    }
    if (record != nullptr)
        view->SetData(record->GetData(), record->GetSize());
    else
        view->ReloadFromClipboard();
    return 1;
}
