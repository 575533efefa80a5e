#include "ClipBookWindow.h"

#include <new>

#include "AppThread.h"
#include "ClipFiles.h"
#include "ClipboardWatch.h"
#include "FormatSaver.h"
#include "PrivateContent.h"
#include "CommandLine.h"
#include "Dialogs.h"
#include "FormatView.h"
#include "Text.h"
#include "ViewerFrame.h"
#include "resource.h"

const char* const CClipBookWindow::kClassName = "VIEWERCLIPBOOK";

namespace {
// The tree's style: buttons, lines, no dragging.
const DWORD kTreeStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_DISABLEDRAGDROP;

// Asks for a page name on the input dialog; 0 when cancelled.
int AskPageName(HWND owner, UINT titleId, UINT promptId, const char* initial, CText& name)
{
    CInputDialog dialog(IDD_INPUT, CInputDialog::kValueRequired);
    dialog.SetTitle(titleId);
    dialog.SetPromptId(promptId);
    dialog.SetOkCaption(IDS_INPUT_OK);
    dialog.SetCancelCaption(IDS_INPUT_CANCEL);
    dialog.SetValue(initial);
    if (!dialog.DoModal(owner))
        return 0;
    dialog.GetValue(name);
    return 1;
}
} // namespace

CClipBookWindow::CClipBookWindow()
    : m_root(nullptr), m_dataFileUnreadable(0), m_reportUnreadable(0), m_processingCommandLines(0)
{
}

int CClipBookWindow::CreateWindowIn(CMdiFrame* frame)
{
    RECT rect = {10, 10, 400, 200};
    return Create(kClassName, "", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, &rect, frame);
}

CViewerFrame* CClipBookWindow::GetViewerFrame() const { return (CViewerFrame*)m_frame; }

LRESULT CClipBookWindow::OnCreate(CREATESTRUCTA* create)
{
    CText title;
    title.LoadString(IDS_CLIPBOOK);
    SetText(title.GetString());
    SendMessageA(GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
    m_popups.Load(IDM_POPUPS);
    return CMdiChild::OnCreate(create);
}

int CClipBookWindow::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_CLIPBOOK);
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (!m_tree.Create(kTreeStyle, client, m_hWnd, IDC_CLIPBOOK_TREE))
        return 0;
    m_tree.SetImageList(GetViewerFrame()->GetFormatImages());
    CText root;
    root.LoadString(IDS_CLIPBOOK);
    m_root = m_tree.InsertTextItem(root.GetString(), kImageClipbookRoot, kImageClipbookRoot, TVI_ROOT, TVI_LAST);
    LoadDataFile();
    // The command line waits for the first tick, when the frame and this
    // window are complete.
    QueueCommandLine(GetApp() ? GetApp()->GetCommandLine() : "");
    return 1;
}

LRESULT CClipBookWindow::OnTimer(UINT_PTR id)
{
    if (id != kCommandLineTimer)
        return 0;
    KillTimer(m_hWnd, kCommandLineTimer);
    if (m_reportUnreadable) {
        m_reportUnreadable = 0;
        ReportUnreadableDataFile();
    }
    ProcessCommandLine();
    return 0;
}

// The clipbook stays for the whole run: closing it only puts it aside.
LRESULT CClipBookWindow::OnClose()
{
    ShowWindow(m_hWnd, SW_MINIMIZE);
    return 0;
}

LRESULT CClipBookWindow::OnDestroy()
{
    WriteDataFile();
    m_book.RemoveAll();
    return CMdiChild::OnDestroy();
}

LRESULT CClipBookWindow::OnSize(UINT type, UINT width, UINT height)
{
    LRESULT result = CMdiChild::OnSize(type, width, height);
    SetWindowPos(m_tree.GetHandle(), nullptr, 0, 0, (int)width, (int)height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return result;
}

void CClipBookWindow::ProcessCommandLine()
{
    if (m_processingCommandLines)
        return;
    m_processingCommandLines = 1;
    CViewerFrame* frame = GetViewerFrame();
    while (!m_commandLines.empty()) {
        std::string commandLine = m_commandLines.front();
        m_commandLines.erase(m_commandLines.begin());
        const char* cursor = commandLine.c_str();
        CText argument;
        while ((cursor = NextCommandArgument(cursor, argument)) != nullptr)
            frame->OpenClipFileByName(argument.GetString());
    }
    m_processingCommandLines = 0;
}

void CClipBookWindow::QueueCommandLine(const char* commandLine)
{
    m_commandLines.push_back(commandLine != nullptr ? commandLine : "");
    SetTimer(m_hWnd, kCommandLineTimer, kCommandLineDelay, nullptr);
}

int CClipBookWindow::HasKeyboardFocus() const
{
    return m_hWnd != nullptr && m_frame->GetActiveChild() == m_hWnd && !IsIconic(m_hWnd) &&
           GetFocus() == m_tree.GetHandle();
}

// --- The tree ---------------------------------------------------------------

CClipPage* CClipBookWindow::GetSelectedPage() const
{
    HTREEITEM selected = m_tree.GetSelection();
    if (selected == nullptr || m_tree.GetParentItem(selected) != m_root)
        return nullptr;
    return (CClipPage*)m_tree.GetItemData(selected);
}

CClipFormat* CClipBookWindow::GetSelectedRecord(CClipPage** page) const
{
    HTREEITEM selected = m_tree.GetSelection();
    HTREEITEM parent = selected != nullptr ? m_tree.GetParentItem(selected) : nullptr;
    if (parent == nullptr || parent == m_root)
        return nullptr;
    if (page != nullptr)
        *page = (CClipPage*)m_tree.GetItemData(parent);
    return (CClipFormat*)m_tree.GetItemData(selected);
}

void CClipBookWindow::InsertPageItems(CClipPage* page)
{
    const UINT mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    HTREEITEM item = m_tree.InsertItem(mask, page->GetName(), kImagePage, kImageSelectedPage, 0, 0, (LPARAM)page,
                                       m_root, TVI_LAST);
    page->SetTreeItem(item);
    for (int i = 0; i < page->GetCount(); i++) {
        CClipFormat* record = page->GetRecord(i);
        int image = FormatIconIndex(record->GetFormatId());
        // Files written before a format had a name of its own keep it empty.
        CText label(record->GetName());
        if (label.IsEmpty() && !IsRegisteredFormat(record->GetFormatId()))
            LoadFormatName(record->GetFormatId(), label);
        record->SetTreeItem(
            m_tree.InsertItem(mask, label.GetString(), image, image, 0, 0, (LPARAM)record, item, TVI_LAST));
    }
    m_tree.Expand(item);
}

void CClipBookWindow::AppendPage(CClipPage* page)
{
    m_book.Append(page);
    InsertPageItems(page);
    m_tree.Expand(m_root);
}

void CClipBookWindow::AppendPages(CClipBook& pages)
{
    for (int i = 0; i < pages.GetCount(); i++)
        InsertPageItems(pages.GetPage(i));
    m_book.TakePages(pages);
    m_tree.Expand(m_root);
}

void CClipBookWindow::RemovePage(CClipPage* page)
{
    CloseViewersOf(page, 0);
    m_tree.DeleteItem(page->GetTreeItem());
    m_book.Remove(page);
}

void CClipBookWindow::RemoveAllPages()
{
    while (m_book.GetCount() > 0)
        RemovePage(m_book.GetPage(m_book.GetCount() - 1));
}

void CClipBookWindow::CloseViewersOf(const CClipPage* page, UINT format)
{
    for (CFormatViewEntry* node = GetViewerFrame()->GetViewList().GetHead(); node != nullptr; node = node->next) {
        CFormatView* view = node->object;
        if (view->GetPage() == page && (format == 0 || view->GetFormat() == format))
            PostMessageA(view->GetHandle(), WM_CLOSE, 0, 0);
    }
}

int CClipBookWindow::ClipboardHasFormats()
{
    if (!OpenClipboardPatiently(m_hWnd))
        return 0;
    int hasFormats = EnumClipboardFormats(0) != 0;
    CloseClipboard();
    return hasFormats;
}

// --- Page commands ----------------------------------------------------------

int CClipBookWindow::PasteClipboard()
{
    if (!ClipboardHasFormats())
        return 0;
    // Refused before a name is asked for; the copy itself checks again.
    if (OpenClipboardPatiently(m_hWnd)) {
        int privateContent = OpenClipboardHoldsPrivateContent();
        CloseClipboard();
        if (privateContent) {
            ShowPrivateContentRefusal(m_hWnd);
            return 0;
        }
    }
    CText name;
    if (!AskPageName(m_hWnd, IDS_NEW_PAGE_TITLE, IDS_NEW_PAGE_PROMPT, "", name))
        return 0;
    return AddPageFromClipboard(name.GetString()) != nullptr;
}

CClipPage* CClipBookWindow::AddPageFromClipboard(const char* name)
{
    CText unique;
    m_book.MakeUniqueName(name, unique);
    CClipPage* page = new (std::nothrow) CClipPage(unique.GetString());
    if (page == nullptr)
        return nullptr;
    // A clipboard held by another program gives no page rather than an
    // empty one, and content marked private gives none at all.
    int privateContent = 0;
    if (!page->TakeClipboard(GetViewerFrame()->GetHandle(), &privateContent)) {
        delete page;
        if (privateContent)
            ShowPrivateContentRefusal(m_hWnd);
        return nullptr;
    }
    AppendPage(page);
    return page;
}

int CClipBookWindow::CopyPage()
{
    CClipPage* page = GetSelectedPage();
    return page != nullptr && page->PutOnClipboard(m_hWnd);
}

int CClipBookWindow::CutPage()
{
    CClipPage* page = GetSelectedPage();
    // The page goes only once the clipboard holds it.
    if (page == nullptr || !page->PutOnClipboard(m_hWnd))
        return 0;
    RemovePage(page);
    return 1;
}

int CClipBookWindow::DeletePage()
{
    CClipPage* page = GetSelectedPage();
    if (page == nullptr)
        return 0;
    RemovePage(page);
    return 1;
}

int CClipBookWindow::RenamePage()
{
    CClipPage* page = GetSelectedPage();
    CText name;
    if (page == nullptr || !AskPageName(m_hWnd, IDS_RENAME_PAGE_TITLE, IDS_RENAME_PAGE_PROMPT, page->GetName(), name))
        return 0;
    if (CompareNoCase(name.GetString(), page->GetName()) == 0)
        return 0;
    if (m_book.Find(name.GetString()) != nullptr) {
        CText text, caption;
        text.FormatResource(IDS_NAME_EXISTS, name.GetString());
        caption.LoadString(IDS_RENAME_PAGE_TITLE);
        MessageBoxA(m_hWnd, text.GetString(), caption.GetString(), MB_ICONINFORMATION);
        return 0;
    }
    page->SetName(name.GetString());
    m_tree.SetItemText(page->GetTreeItem(), page->GetName());
    for (CFormatViewEntry* node = GetViewerFrame()->GetViewList().GetHead(); node != nullptr; node = node->next) {
        CFormatView* view = node->object;
        if (view->GetPage() == page) {
            view->SetPage(page, page->GetName());
            view->UpdateTitle();
        }
    }
    return 1;
}

int CClipBookWindow::DeleteFormat()
{
    CClipPage* page = nullptr;
    CClipFormat* record = GetSelectedRecord(&page);
    if (record == nullptr)
        return 0;
    CloseViewersOf(page, record->GetFormatId());
    m_tree.DeleteItem(record->GetTreeItem());
    page->Remove(record);
    return 1;
}

void CClipBookWindow::OnDeleteKey()
{
    HTREEITEM selected = m_tree.GetSelection();
    if (selected == nullptr || selected == m_root)
        return;
    if (m_tree.GetParentItem(selected) == m_root)
        DeletePage();
    else
        DeleteFormat();
}

// A page is the user's own: its formats are saved whatever they hold.
int CClipBookWindow::SaveSelectedFormat()
{
    CClipFormat* record = GetSelectedRecord(nullptr);
    if (record == nullptr)
        return 0;
    CFormatSaver saver;
    saver.TakeCopy(record->GetFormatId(), record->GetName(), record->GetData(), record->GetSize());
    return saver.AskAndWrite(m_frame->GetHandle());
}

int CClipBookWindow::OpenSelectedFormat(UINT kind)
{
    CClipPage* page = nullptr;
    CClipFormat* record = GetSelectedRecord(&page);
    if (record == nullptr)
        return 0;
    return GetViewerFrame()->OpenPageFormat(page, page->GetName(), *record, kind);
}

// --- Messages ---------------------------------------------------------------

LRESULT CClipBookWindow::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    UINT command = LOWORD(wParam);
    switch (command) {
    case ID_VIEW_AUTO: case ID_VIEW_TEXT: case ID_VIEW_BINARY: case ID_VIEW_PICTURE: case ID_VIEW_INFO:
        OpenSelectedFormat(command);
        break;
    case ID_PAGE_DELETE: DeletePage(); break;
    case ID_PAGE_RENAME: RenamePage(); break;
    case ID_PAGE_CUT: CutPage(); break;
    case ID_PAGE_COPY: CopyPage(); break;
    case ID_FORMAT_DELETE: DeleteFormat(); break;
    case ID_CLIPBOOK_PASTE: PasteClipboard(); break;
    case ID_DELETE_KEY: OnDeleteKey(); break;
    case ID_FILE_SAVE_FORMAT: SaveSelectedFormat(); break;
    default: break;
    }
    return CMdiChild::OnCommand(wParam, code, control);
}

LRESULT CClipBookWindow::OnContextMenu(HWND window, UINT x, UINT y)
{
    // Screen coordinates are signed: a second monitor may lie to the left.
    POINT point = {(short)x, (short)y};
    POINT client = point;
    ScreenToClient(m_tree.GetHandle(), &client);
    UINT flags = 0;
    HTREEITEM item = m_tree.HitTest(client, &flags);
    if (item == nullptr)
        return 0;
    m_tree.SelectItem(item);
    if (flags & TVHT_ONITEM) {
        int popup = item == m_root ? POPUP_CLIPBOOK : m_tree.GetParentItem(item) == m_root ? POPUP_PAGE : POPUP_FORMAT;
        TrackPopupMenu(GetSubMenu(m_popups.GetHandle(), popup), TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd,
                       nullptr);
    }
    return CMdiChild::OnContextMenu(window, x, y);
}

LRESULT CClipBookWindow::OnInitMenuPopup(HMENU menu, UINT index, BOOL systemMenu)
{
    HMENU popups = m_popups.GetHandle();
    if (menu == GetSubMenu(popups, POPUP_CLIPBOOK)) {
        EnableMenuItem(menu, 0, MF_BYPOSITION | (ClipboardHasFormats() ? MF_ENABLED : MF_GRAYED));
    } else if (menu == GetSubMenu(popups, POPUP_FORMAT)) {
        SetMenuDefaultItem(menu, ID_VIEW_AUTO, FALSE);
        CClipFormat* record = GetSelectedRecord(nullptr);
        if (record == nullptr)
            return 0;
        CText name;
        GetRegisteredFormatName(record->GetFormatId(), name);
        UINT format = record->GetFormatId();
        const struct {
            UINT command;
            int enabled;
        } entries[] = {
            {ID_VIEW_TEXT, CanShowAsText(format, name.GetString())},
            {ID_VIEW_BINARY, CanShowAsBinary(format, name.GetString())},
            {ID_VIEW_PICTURE, CanShowAsPicture(format, name.GetString())},
            {ID_VIEW_INFO, CanShowAsInfo(format, name.GetString())},
        };
        for (const auto& entry : entries)
            EnableMenuItem(menu, entry.command, MF_BYCOMMAND | (entry.enabled ? MF_ENABLED : MF_GRAYED));
    }
    return CMdiChild::OnInitMenuPopup(menu, index, systemMenu);
}

LRESULT CClipBookWindow::OnNotify(WPARAM id, NMHDR* header)
{
    if (header->idFrom == IDC_CLIPBOOK_TREE && header->code == NM_DBLCLK)
        OpenSelectedFormat(kViewAuto);
    return CMdiChild::OnNotify(id, header);
}

LRESULT CClipBookWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    CStatusBar statusBar = GetViewerFrame()->GetStatusBar();
    if (menu == nullptr) {
        GetViewerFrame()->ShowClipboardStatus();
        return 0;
    }
    if (item <= 39999) {
        statusBar.SetPartText(0, "", SBT_NOBORDERS);
        return 0;
    }
    CText help;
    help.LoadString(item);
    statusBar.SetPartText(0, help.GetString(), SBT_NOBORDERS);
    return CMdiChild::OnMenuSelect(item, flags, menu);
}
