#include "ViewerFrame.h"

#include <shellapi.h>

#include "AppThread.h"
#include "CommandLine.h"
#include "Dialogs.h"
#include "Text.h"
#include "resource.h"

const char* const CViewerFrame::kClassName = "VIEWERFRAME";

namespace {
// The About box: its one button ends it.
class CAboutDialog : public CDialogBox {
public:
    CAboutDialog() : CDialogBox(IDD_ABOUT) {}

    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override
    {
        if (LOWORD(wParam) == IDC_ABOUT_OK)
            EndDialog(m_hWnd, IDC_ABOUT_OK);
        return 0;
    }
};
} // namespace

CViewerFrame::CViewerFrame()
    : m_comboList(nullptr), m_nextViewer(nullptr), m_viewMode(kViewAuto), m_destroyMessage(0), m_retryDelay(0),
      m_privateContent(0), m_privateRevealed(0), m_menuOpen(0)
{
}

CViewerFrame::~CViewerFrame()
{
    m_views.RemoveAll();
    m_popups.Destroy();
}

// The Display popup is the one that holds Auto Format. Its position is no
// guide: while an MDI child is maximised, the child's system menu stands
// first in the menu bar.
HMENU CViewerFrame::GetDisplayMenu() const
{
    HMENU bar = ::GetMenu(m_hWnd);
    for (int position = 0, count = GetMenuItemCount(bar); position < count; position++) {
        HMENU popup = GetSubMenu(bar, position);
        if (popup != nullptr && GetMenuState(popup, ID_DISPLAY_AUTO_FORMAT, MF_BYCOMMAND) != (UINT)-1)
            return popup;
    }
    return nullptr;
}

LRESULT CViewerFrame::OnCreate(CREATESTRUCTA* create)
{
    CText title;
    title.LoadString(IDS_TITLE);
    SetText(title.GetString());
    m_nextViewer = SetClipboardViewer(m_hWnd);
    m_destroyMessage = RegisterWindowMessageA("VLMDESTROY");
    LRESULT result = CMdiFrame::OnCreate(create);
    if (result == 0)
        m_clipBook.CreateWindowIn(this);
    return result;
}

int CViewerFrame::OnCreateHook(CREATESTRUCTA* create)
{
    m_popups.Load(IDM_POPUPS);
    SetWindowIcons(m_hWnd, IDI_FRAME);
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    m_formatImages.Load(IDB_FORMATS, 16, 0, RGB(192, 192, 192));

    RECT empty = {0, 0, 0, 0};
    m_statusBar.Create(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBT_TOOLTIPS | CCS_NORESIZE, empty, m_hWnd,
                       IDC_STATUSBAR);
    m_statusBar.SetPartText(0, "", SBT_NOBORDERS);

    RECT comboRect = {0, 0, 170, 250};
    m_formatCombo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | CBS_DISABLENOSCROLL, comboRect,
                         m_hWnd, IDC_FORMAT_COMBO);
    m_formatCombo.Send(WM_SETFONT, (WPARAM)font, TRUE);
    m_formatCombo.SetImageList(m_formatImages.GetHandle());
    m_comboList = m_formatCombo.GetComboControl();

    ReadSettingsAndBuildBars();
    SetTimer(m_hWnd, kClockTimer, kClockPeriod, nullptr);
    FollowClipboard();
    CheckMenuItem(GetDisplayMenu(), m_viewMode, MF_BYCOMMAND | MF_CHECKED);
    m_toolBar.CheckButton(m_viewMode, TRUE);
    DragAcceptFiles(m_hWnd, TRUE);
    return CMdiFrame::OnCreateHook(create);
}

// Closing asks nothing: the clipbook is written when its window goes.
LRESULT CViewerFrame::OnClose()
{
    DestroyWindow(m_hWnd);
    return 0;
}

LRESULT CViewerFrame::OnDestroy()
{
    CloseChildren();
    SaveSettings();
    LRESULT result = CMdiFrame::OnDestroy();
    ChangeClipboardChain(m_hWnd, m_nextViewer);
    m_nextViewer = nullptr;
    KillTimer(m_hWnd, kClockTimer);
    KillTimer(m_hWnd, kClipboardRetryTimer);
    DragAcceptFiles(m_hWnd, FALSE);
    PostQuitMessage(0);
    return result;
}

void CViewerFrame::PlaceClient(int width, int height)
{
    RECT bar = {0, 0, 0, 0};
    GetClientRect(m_reBar.GetHandle(), &bar);
    int barHeight = bar.bottom - bar.top;
    MoveWindow(m_client, 0, barHeight + 6, width, height - barHeight - 24, TRUE);
}

LRESULT CViewerFrame::OnSize(UINT type, UINT width, UINT height)
{
    if (type == SIZE_MINIMIZED)
        return 0;
    MoveWindow(m_reBar.GetHandle(), 0, 0, (int)width, (int)height, TRUE);
    PlaceClient((int)width, (int)height);
    MoveWindow(m_statusBar.GetHandle(), 0, (int)height - 18, (int)width, 18, TRUE);
    int edges[2] = {(int)width - 60, (int)width};
    m_statusBar.Send(SB_SETPARTS, 2, (LPARAM)edges);
    return 0;
}

void CViewerFrame::LayOut()
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    OnSize(IsIconic(m_hWnd) ? SIZE_MINIMIZED : SIZE_RESTORED, (UINT)client.right, (UINT)client.bottom);
}

LRESULT CViewerFrame::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    UINT command = LOWORD(wParam);
    if (code == 1 && control == nullptr && FilterKeyCommand(command))
        return 0;
    LRESULT result = CMdiFrame::OnCommand(wParam, code, control);
    if (command >= ID_FORMAT_FIRST && command <= ID_FORMAT_LAST) {
        OpenFormatByCommand(command);
        return result;
    }
    switch (command) {
    case ID_FILE_EXIT: DestroyWindow(m_hWnd); break;
    case ID_FILE_OPEN: m_clipBook.OpenClippageWithOptions(); break;
    case ID_FILE_SAVE_AS: m_clipBook.SaveClippageWithChoice(); break;
    case ID_EDIT_DELETE:
        if (OpenClipboardPatiently(m_hWnd)) {
            EmptyClipboard();
            CloseClipboard();
        }
        break;
    case ID_DISPLAY_AUTO_FORMAT: OpenFormatByCommand(command); break;
    case ID_HELP_ABOUT: ShowAbout(); break;
    case ID_WINDOW_CASCADE: SendMessageA(m_client, WM_MDICASCADE, MDITILE_SKIPDISABLED, 0); break;
    case ID_WINDOW_TILE_HORZ: SendMessageA(m_client, WM_MDITILE, MDITILE_HORIZONTAL, 0); break;
    case ID_WINDOW_TILE_VERT: SendMessageA(m_client, WM_MDITILE, MDITILE_VERTICAL, 0); break;
    case ID_EDIT_COPY: m_clipBook.CopyPage(); break;
    case ID_EDIT_PASTE: m_clipBook.PasteClipboard(); break;
    case ID_EDIT_CUT: m_clipBook.CutPage(); break;
    case ID_VIEW_AUTO: case ID_VIEW_TEXT: case ID_VIEW_BINARY: case ID_VIEW_PICTURE: case ID_VIEW_INFO:
        SetViewMode(command);
        break;
    case ID_TOOLBAR_FLAT: case ID_TOOLBAR_LABELS: case ID_TOOLBAR_TIPS: case ID_TOOLBAR_LARGE:
        ToggleToolbarStyle(command);
        break;
    case ID_FILE_SAVE_CLIPBOOK: m_clipBook.SaveClipbook(); break;
    case ID_FILE_OPEN_CLIPBOOK: m_clipBook.OpenClipbook(); break;
    case ID_DISPLAY_SHOW_PRIVATE: TogglePrivateContent(); break;
    case ID_FILE_SAVE_FORMAT: SaveActiveFormat(); break;
    case IDC_FORMAT_COMBO:
        // A choice, not the browsing of an open list with the arrow keys or
        // the wheel; choosing the shown entry again opens it too.
        if (code == CBN_SELENDOK) {
            int index = (int)SendMessageA(m_comboList, CB_GETCURSEL, 0, 0);
            if (index == 0)
                OpenFormatByCommand(ID_DISPLAY_AUTO_FORMAT);
            else if (index > 0)
                OpenFormatByCommand(ID_FORMAT_FIRST - 1 + (UINT)index);
        }
        break;
    default: break;
    }
    return result;
}

void CViewerFrame::SetViewMode(UINT kind)
{
    if (kind == m_viewMode)
        return;
    HMENU menu = GetDisplayMenu();
    CheckMenuItem(menu, m_viewMode, MF_BYCOMMAND | MF_UNCHECKED);
    m_viewMode = kind;
    CheckMenuItem(menu, m_viewMode, MF_BYCOMMAND | MF_CHECKED);
    m_toolBar.CheckButton(m_viewMode, TRUE);
}

void CViewerFrame::ShowAbout()
{
    CAboutDialog about;
    about.DoModal(m_hWnd);
}

int CViewerFrame::OpenClipFileByName(const char* path)
{
    ClipFileKind kind = ClassifyClipFile(path);
    if (kind == kClipFileBook)
        m_clipBook.OpenClipbookFileByPath(path);
    else if (kind == kClipFilePage)
        m_clipBook.OpenClippageFileByPath(path);
    return kind;
}

LRESULT CViewerFrame::OnDropFiles(HDROP drop)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; i++) {
        char path[MAX_PATH + 1] = "";
        DragQueryFileA(drop, i, path, sizeof path);
        OpenClipFileByName(path);
    }
    DragFinish(drop);
    SetCursor(previous);
    return 0;
}
