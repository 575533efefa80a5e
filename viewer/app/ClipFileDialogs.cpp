#include "ClipFileDialogs.h"

#include <string.h>

#include "AppThread.h"
#include "resource.h"

namespace {

const int kClippagePathLimit = 40;
const int kClipbookPathLimit = 45;

CText LoadText(UINT id)
{
    CText text;
    text.LoadString(id);
    return text;
}

void CheckButton(HWND dialog, int id, int checked)
{
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

} // namespace

void ShortenPath(const char* path, int limit, CText& shortened)
{
    int length = (int)strlen(path);
    if (length <= limit) {
        shortened.Assign(path);
        return;
    }
    int slash = ReverseFindChar(path, '\\');
    shortened.AssignPart(path, 10);
    shortened.Append("...");
    shortened.Append(slash >= 0 ? path + slash : "");
}

void ProposePageName(const char* path, CText& name)
{
    char title[MAX_PATH] = "";
    if (GetFileTitleA(path, title, sizeof title) != 0)
        title[0] = 0;
    int dot = ReverseFindChar(title, '.');
    if (dot > 0)
        title[dot] = 0;
    name.Assign(title);
}

CClipFileDialog::CClipFileDialog(int open, UINT filterId)
    : CFileDialog(open, "*", "", open ? kOpenFlags : kSaveFlags, LoadText(filterId).GetString())
{
}

COpenClippageDialog::COpenClippageDialog() : CClipFileDialog(1, IDS_FILTER_OPEN_CLIPPAGE), m_toClipbook(0)
{
    SetTemplate(MAKEINTRESOURCEA(IDD_OPEN_CLIPPAGE));
}

LRESULT COpenClippageDialog::OnInitDialog(HWND focus)
{
    CheckButton(m_hWnd, IDC_OPEN_TO_CLIPBOOK, m_toClipbook);
    EnableWindow(GetDlgItem(m_hWnd, IDC_OPEN_PAGE_NAME), m_toClipbook);
    return CClipFileDialog::OnInitDialog(focus);
}

LRESULT COpenClippageDialog::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    if (LOWORD(wParam) == IDC_OPEN_TO_CLIPBOOK && code == BN_CLICKED) {
        HWND edit = GetDlgItem(m_hWnd, IDC_OPEN_PAGE_NAME);
        int checked = IsDlgButtonChecked(m_hWnd, IDC_OPEN_TO_CLIPBOOK) == BST_CHECKED;
        EnableWindow(edit, checked);
        if (checked)
            SetFocus(edit);
    }
    return CClipFileDialog::OnCommand(wParam, code, control);
}

int COpenClippageDialog::OnFileOk()
{
    m_toClipbook = IsDlgButtonChecked(m_hWnd, IDC_OPEN_TO_CLIPBOOK) == BST_CHECKED;
    GetItemText(IDC_OPEN_PAGE_NAME, m_pageName);
    return 0;
}

CSaveClippageDialog::CSaveClippageDialog(const CClipBook& book, int preselected)
    : CClipFileDialog(0, IDS_FILTER_SAVE_CLIPPAGE), m_book(book), m_preselected(preselected), m_chosen(nullptr)
{
    SetTemplate(MAKEINTRESOURCEA(IDD_SAVE_CLIPPAGE));
}

LRESULT CSaveClippageDialog::OnInitDialog(HWND focus)
{
    HWND list = GetDlgItem(m_hWnd, IDC_SAVE_CHOICE);
    SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)LoadText(IDS_SAVE_CLIPBOARD_ENTRY).GetString());
    for (int i = 0; i < m_book.GetCount(); i++)
        SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)m_book.GetPage(i)->GetName());
    SendMessageA(list, CB_SETCURSEL, (WPARAM)(m_preselected + 1), 0);
    return CClipFileDialog::OnInitDialog(focus);
}

int CSaveClippageDialog::OnFileOk()
{
    // The entry's position, not its text, names the page: pages may share
    // a name, and a page may have the empty one.
    int index = (int)SendDlgItemMessageA(m_hWnd, IDC_SAVE_CHOICE, CB_GETCURSEL, 0, 0);
    m_chosen = index > 0 && index <= m_book.GetCount() ? m_book.GetPage(index - 1) : nullptr;
    return 0;
}

CClippageOptionDialog::CClippageOptionDialog(const char* path)
    : CDialogBox(IDD_CLIPPAGE_OPTIONS), m_choice(kToClipbook), m_path(path)
{
}

LRESULT CClippageOptionDialog::OnInitDialog(HWND focus)
{
    CText text;
    ProposePageName(m_path.GetString(), text);
    SetDlgItemTextA(m_hWnd, IDC_OPTION_PAGE_NAME, text.GetString());
    ShortenPath(m_path.GetString(), kClippagePathLimit, text);
    SetDlgItemTextA(m_hWnd, IDC_OPTION_PATH, text.GetString());
    HWND edit = GetDlgItem(m_hWnd, IDC_OPTION_PAGE_NAME);
    int toClipbook = m_choice == kToClipbook;
    CheckButton(m_hWnd, toClipbook ? IDC_OPTION_TO_CLIPBOOK : IDC_OPTION_TO_CLIPBOARD, 1);
    EnableWindow(edit, toClipbook);
    if (toClipbook)
        SetFocus(edit);
    // Any end but "Open" counts as cancelled.
    m_choice = kCancelled;
    return toClipbook ? 0 : 1;
}

LRESULT CClippageOptionDialog::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    HWND edit = GetDlgItem(m_hWnd, IDC_OPTION_PAGE_NAME);
    switch (LOWORD(wParam)) {
    case IDC_OPTION_TO_CLIPBOARD: EnableWindow(edit, FALSE); break;
    case IDC_OPTION_TO_CLIPBOOK:
        EnableWindow(edit, TRUE);
        SetFocus(edit);
        break;
    case IDC_OPTION_PAGE_NAME:
        if (code == EN_SETFOCUS)
            SendMessageA(edit, EM_SETSEL, 0, -1);
        break;
    case kCancelId:
        m_choice = kCancelled;
        EndDialog(m_hWnd, kCancelId);
        break;
    case IDC_OPTION_OPEN: OnOpen(); break;
    default: break;
    }
    return CDialogBox::OnCommand(wParam, code, control);
}

void CClippageOptionDialog::OnOpen()
{
    if (IsDlgButtonChecked(m_hWnd, IDC_OPTION_TO_CLIPBOARD) == BST_CHECKED) {
        m_choice = kToClipboard;
        EndDialog(m_hWnd, IDC_OPTION_OPEN);
        return;
    }
    GetItemText(IDC_OPTION_PAGE_NAME, m_pageName);
    if (m_pageName.IsEmpty()) {
        ResourceMessageBox(IDS_INVALID_PAGE_NAME, IDS_ERROR, MB_ICONERROR);
        return;
    }
    m_choice = kToClipbook;
    EndDialog(m_hWnd, IDC_OPTION_OPEN);
}

CClipbookOptionDialog::CClipbookOptionDialog(const char* path)
    : CDialogBox(IDD_CLIPBOOK_OPTIONS), m_choice(kImport), m_path(path)
{
}

LRESULT CClipbookOptionDialog::OnInitDialog(HWND focus)
{
    CText shortened;
    ShortenPath(m_path.GetString(), kClipbookPathLimit, shortened);
    SetDlgItemTextA(m_hWnd, IDC_OPTION_PATH, shortened.GetString());
    CheckButton(m_hWnd, m_choice == kImport ? IDC_OPTION_IMPORT : IDC_OPTION_REPLACE, 1);
    m_choice = kCancelled;
    return 1;
}

LRESULT CClipbookOptionDialog::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    switch (LOWORD(wParam)) {
    case kCancelId:
        m_choice = kCancelled;
        EndDialog(m_hWnd, kCancelId);
        break;
    case IDC_OPTION_OPEN:
        m_choice = IsDlgButtonChecked(m_hWnd, IDC_OPTION_REPLACE) == BST_CHECKED ? kReplace : kImport;
        EndDialog(m_hWnd, IDC_OPTION_OPEN);
        break;
    default: break;
    }
    return CDialogBox::OnCommand(wParam, code, control);
}
