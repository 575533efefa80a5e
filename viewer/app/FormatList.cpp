// The frame's part in the clipboard viewer chain: the format list of the
// Display menu and the combo box, the live views, and opening views.
#include "ViewerFrame.h"

#include "AppThread.h"
#include "ClipFormat.h"
#include "PrivateContent.h"
#include "resource.h"

LRESULT CViewerFrame::OnDrawClipboard()
{
    if (m_nextViewer != nullptr)
        SendMessageA(m_nextViewer, WM_DRAWCLIPBOARD, 0, 0);
    // A new change stops a pending retry; its own read starts them afresh.
    StopClipboardRetry();
    // Revealed private content stays revealed for that content only.
    m_privateRevealed = 0;
    FollowClipboard();
    return DefaultProc(WM_DRAWCLIPBOARD, 0, 0);
}

// Brings the format list and the live views up to the clipboard. When another
// program holds the clipboard past the brief retry of each open, the whole
// read is tried again a little later, so that the list ends up matching the
// clipboard without waiting for a change that may never come.
void CViewerFrame::FollowClipboard()
{
    // A list that could not be read says nothing about the views either.
    int done = RebuildFormatList() && RefreshLiveViews();
    UpdateClipboardStatus(done);
    if (!done && m_retryDelay < (UINT)kLastRetryDelay) {
        m_retryDelay = m_retryDelay == 0 ? (UINT)kFirstRetryDelay : 2 * m_retryDelay;
        SetTimer(m_hWnd, kClipboardRetryTimer, m_retryDelay, nullptr);
    } else {
        StopClipboardRetry();
    }
}

void CViewerFrame::StopClipboardRetry()
{
    if (m_retryDelay == 0)
        return;
    KillTimer(m_hWnd, kClipboardRetryTimer);
    m_retryDelay = 0;
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
    LRESULT answer = 0;
    if (OnSessionMessage(message, wParam, lParam, &answer))
        return answer;
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
    m_privateContent = OpenClipboardHoldsPrivateContent();
    CloseClipboard();
    return 1;
}

int CViewerFrame::RebuildFormatList()
{
    // Joining the chain brings a notice before the bars exist; the list is
    // built once they do.
    if (m_comboList == nullptr)
        return 1;
    std::vector<UINT> formats;
    if (!ReadClipboardFormats(formats))
        return 0;
    // Entries that already stand for the same formats from the start of the
    // list stay: a new copy of the same kind of data changes no entry.
    size_t kept = 0;
    while (kept < formats.size() && kept < m_listedFormats.size() && formats[kept] == m_listedFormats[kept])
        kept++;
    UpdateDisplayEntries(GetDisplayMenu(), formats, kept);
    UpdateComboItems(formats, kept);
    EnableFormatCommands(!formats.empty());
    UpdatePrivateCommand();
    m_listedFormats.swap(formats);
    return 1;
}

// The Display menu: after its fixed entries a separator, then for format k
// the entry with command 50000 + k and the format as item data. Entries that
// now stand for another format are changed in place.
void CViewerFrame::UpdateDisplayEntries(HMENU display, const std::vector<UINT>& formats, size_t kept)
{
    size_t listed = m_listedFormats.size();
    if (listed == 0 && !formats.empty())
        InsertMenuA(display, kFixedDisplayEntries, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (size_t k = kept; k < formats.size(); k++) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA;
        item.fType = MFT_STRING;
        item.wID = ID_FORMAT_FIRST + (UINT)k;
        item.dwItemData = formats[k];
        item.dwTypeData = (char*)m_formatNames.Get(formats[k]).GetString();
        UINT position = kFixedDisplayEntries + 1 + (UINT)k;
        if (k < listed)
            SetMenuItemInfoA(display, position, TRUE, &item);
        else
            InsertMenuItemA(display, position, TRUE, &item);
    }
    // Entries beyond the new list go, and the separator with the last one.
    int end = formats.empty() ? kFixedDisplayEntries : kFixedDisplayEntries + 1 + (int)formats.size();
    for (int position = GetMenuItemCount(display) - 1; position >= end; position--)
        DeleteMenu(display, (UINT)position, MF_BYPOSITION);
}

// The combo box: item 0 "Auto" with the icon of the first format, then item
// k + 1 for format k. Items are changed in place where they can be: an insert
// or a delete goes through the inner combo box and its list, a change stays
// within the control.
void CViewerFrame::UpdateComboItems(const std::vector<UINT>& formats, size_t kept)
{
    int count = (int)SendMessageA(m_comboList, CB_GETCOUNT, 0, 0);
    int resized = count != (int)formats.size() + 1;
    if (resized)
        SendMessageA(m_comboList, WM_SETREDRAW, FALSE, 0);
    UINT first = formats.empty() ? 0 : formats[0];
    int autoImage = FormatIconIndexForName(first, m_formatNames.Get(first).GetString());
    if (count <= 0) {
        CText text;
        text.LoadString(IDS_AUTO);
        m_formatCombo.InsertItem(0, text.GetString(), autoImage, autoImage, 0);
        count = 1;
    } else if (kept == 0) {
        m_formatCombo.SetItem(0, nullptr, autoImage, autoImage);
    }
    for (size_t k = kept; k < formats.size(); k++) {
        const CText& name = m_formatNames.Get(formats[k]);
        CText text(name);
        RemoveFirstAmpersand(text);
        int image = FormatIconIndexForName(formats[k], name.GetString());
        int index = (int)k + 1;
        if (index < count)
            m_formatCombo.SetItem(index, text.GetString(), image, image);
        else
            m_formatCombo.InsertItem(index, text.GetString(), image, image, 0);
    }
    for (int index = count - 1; index > (int)formats.size(); index--)
        m_formatCombo.Send(CBEM_DELETEITEM, (WPARAM)index);
    if (resized)
        SendMessageA(m_comboList, WM_SETREDRAW, TRUE, 0);

    int selection = formats.empty() ? -1 : 0;
    if (SendMessageA(m_comboList, CB_GETCURSEL, 0, 0) != selection)
        SendMessageA(m_comboList, CB_SETCURSEL, (WPARAM)selection, 0);
    // The closed box shows item 0; an open list shows every item.
    if (kept == 0)
        InvalidateRect(m_comboList, nullptr, TRUE);
    if ((resized || kept < formats.size()) && SendMessageA(m_comboList, CB_GETDROPPEDSTATE, 0, 0)) {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(m_comboList, &info))
            InvalidateRect(info.hwndList, nullptr, TRUE);
    }
}

// Paste, Auto Format and the combo box have something to work on only while
// the clipboard holds a format.
void CViewerFrame::EnableFormatCommands(int enable)
{
    m_toolBar.EnableButton(ID_EDIT_PASTE, enable);
    EnableMenuItem(GetDisplayMenu(), ID_DISPLAY_AUTO_FORMAT, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    EnableWindow(m_formatCombo.GetHandle(), enable);
}

namespace {
// A view that shows the clipboard, not a page; a closed view stays listed
// until its notice arrives.
bool IsLiveView(const CFormatView* view) { return view->GetPage() == nullptr && IsWindow(view->GetHandle()); }

// What a clipboard change brought for one format of the live views: whether
// the clipboard still holds it, and its bytes, copied once for all its views
// (none for a handle, which each view keeps for itself).
struct LiveFormat {
    UINT format;
    int held;
    CSharedBytes* bytes;
};

LiveFormat* FindLiveFormat(std::vector<LiveFormat>& formats, UINT format)
{
    for (LiveFormat& entry : formats) {
        if (entry.format == format)
            return &entry;
    }
    return nullptr;
}
} // namespace

int CViewerFrame::RefreshLiveViews()
{
    std::vector<CFormatView*> live;
    for (CFormatViewEntry* node = m_views.GetHead(); node != nullptr; node = node->next) {
        if (IsLiveView(node->object))
            live.push_back(node->object);
    }
    if (live.empty())
        return 1;
    // A clipboard that stays busy says nothing about the views' formats:
    // they are left as they are rather than closed, and read again later.
    if (!OpenClipboardPatiently(m_hWnd))
        return 0;
    // Each format is read and copied once, however many views show it; the
    // views only read their data. Content marked private (as the format
    // list's read of this change found) is not read at all while it stays
    // hidden.
    int hiding = m_privateContent && !m_privateRevealed;
    std::vector<LiveFormat> formats;
    for (CFormatView* view : live) {
        if (FindLiveFormat(formats, view->GetFormat()) != nullptr)
            continue;
        LiveFormat entry = {view->GetFormat(), IsClipboardFormatAvailable(view->GetFormat()), nullptr};
        HANDLE handle = nullptr;
        if (entry.held && !hiding) {
            entry.bytes = CFormatView::CopyClipboardBytes(entry.format, &handle);
            entry.held = handle != nullptr;
        }
        formats.push_back(entry);
    }
    CloseClipboard();
    int done = 1;
    for (CFormatView* view : live) {
        const LiveFormat* entry = FindLiveFormat(formats, view->GetFormat());
        if (!entry->held) {
            PostMessageA(view->GetHandle(), WM_CLOSE, 0, 0);
            continue;
        }
        view->SetShowPrivate(m_privateRevealed);
        if (hiding)
            view->HidePrivate();
        else if (entry->bytes != nullptr)
            view->ShowClipboardBytes(entry->bytes);
        else if (!view->ReloadFromClipboard())
            done = 0;
    }
    for (LiveFormat& entry : formats) {
        if (entry.bytes != nullptr)
            entry.bytes->Release();
    }
    return done;
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
        if (GetMenuItemInfoA(GetDisplayMenu(), command, FALSE, &item))
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
    if (record != nullptr) {
        view->SetData(record->GetData(), record->GetSize());
    } else {
        view->SetShowPrivate(m_privateRevealed);
        view->ReloadFromClipboard();
    }
    return 1;
}
