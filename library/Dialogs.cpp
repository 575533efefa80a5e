#include "Dialogs.h"

#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include "AppThread.h"
#include "SystemLibrary.h"

CDialogBox::CDialogBox(UINT templateId) : m_templateId((int)LOWORD(templateId)), m_endCode(0) {}

LRESULT CDialogBox::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) { return 0; }

LRESULT CDialogBox::OnInitDialog(HWND focus) { return 0; }

int CDialogBox::DoModal(HWND owner)
{
    m_endCode = DialogBoxParamA(GetModuleInstance(), MAKEINTRESOURCEA(m_templateId), owner,
                                (DLGPROC)WindowDispatch, (LPARAM)this);
    // The window is gone; its handle may soon name another window.
    m_hWnd = nullptr;
    return m_endCode == kOkId;
}

CInputDialog::CInputDialog(UINT templateId, DWORD flags)
    : CDialogBox(templateId), m_flags(flags), m_okCaption("OK"), m_cancelCaption("CANCEL")
{
}

void CInputDialog::ShowItemText(int controlId, const CText& text)
{
    if (IsOnScreen())
        SetDlgItemTextA(m_hWnd, controlId, text.GetString());
}

int CInputDialog::SetTitle(UINT stringId)
{
    m_title.LoadString(stringId);
    if (IsOnScreen())
        SetWindowTextA(m_hWnd, m_title.GetString());
    return 1;
}

int CInputDialog::SetPromptId(UINT stringId)
{
    m_prompt.LoadString(stringId);
    ShowItemText(kPromptId, m_prompt);
    return 1;
}

int CInputDialog::SetOkCaption(UINT stringId)
{
    m_okCaption.LoadString(stringId);
    ShowItemText(kOkId, m_okCaption);
    return 1;
}

int CInputDialog::SetCancelCaption(UINT stringId)
{
    if (m_flags & kNoCancel)
        return 0;
    m_cancelCaption.LoadString(stringId);
    ShowItemText(kCancelId, m_cancelCaption);
    return 1;
}

int CInputDialog::SetTextAlt(const char* text)
{
    m_prompt.Assign(text);
    ShowItemText(kPromptId, m_prompt);
    return 1;
}

void CInputDialog::SetValue(const char* text)
{
    m_value.Assign(text);
    ShowItemText(kEditId, m_value);
}

int CInputDialog::GetValue(CText& text) const
{
    text.Assign(m_value);
    return text.GetLength();
}

LRESULT CInputDialog::OnInitDialog(HWND focus)
{
    SetDlgItemTextA(m_hWnd, kPromptId, m_prompt.GetString());
    SetDlgItemTextA(m_hWnd, kEditId, m_value.GetString());
    SetWindowTextA(m_hWnd, m_title.GetString());
    SetDlgItemTextA(m_hWnd, kOkId, m_okCaption.GetString());
    if (m_flags & kNoCancel)
        ShowWindow(GetDlgItem(m_hWnd, kCancelId), SW_HIDE);
    else
        SetDlgItemTextA(m_hWnd, kCancelId, m_cancelCaption.GetString());
    SetFocus(GetDlgItem(m_hWnd, kEditId));
    // Zero: the focus set here stays.
    return 0;
}

LRESULT CInputDialog::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    switch (LOWORD(wParam)) {
    case kOkId:
        GetItemText(kEditId, m_value);
        if (!(m_flags & kValueRequired) || !m_value.IsEmpty())
            EndDialog(m_hWnd, kOkId);
        break;
    case kCancelId:
        GetItemText(kEditId, m_value);
        EndDialog(m_hWnd, kCancelId);
        break;
    case kEditId:
        if (code == EN_SETFOCUS)
            SendDlgItemMessageA(m_hWnd, kEditId, EM_SETSEL, 0, -1);
        break;
    }
    return CDialogBox::OnCommand(wParam, code, control);
}

LRESULT CInputDialog::OnClose()
{
    CDialogBox::OnClose();
    GetItemText(kEditId, m_value);
    EndDialog(m_hWnd, kCancelId);
    return 0;
}

void CCommonDialog::OnOK() {}
void CCommonDialog::OnCancel() {}

int CommonDialogCustomDataOffset(DWORD structSize)
{
    // Sizes and offsets of this build's records: the 32-bit and 64-bit
    // layouts differ, and the print record is packed on 32-bit.
    static const struct {
        DWORD size;
        int offset;
    } records[] = {
        {sizeof(CHOOSECOLORA), (int)offsetof(CHOOSECOLORA, lCustData)},
        {sizeof(FINDREPLACEA), (int)offsetof(FINDREPLACEA, lCustData)},
        {sizeof(CHOOSEFONTA), (int)offsetof(CHOOSEFONTA, lCustData)},
        {sizeof(PRINTDLGA), (int)offsetof(PRINTDLGA, lCustData)},
        {OPENFILENAME_SIZE_VERSION_400A, (int)offsetof(OPENFILENAMEA, lCustData)},
        {sizeof(OPENFILENAMEA), (int)offsetof(OPENFILENAMEA, lCustData)},
        {sizeof(PAGESETUPDLGA), (int)offsetof(PAGESETUPDLGA, lCustData)},
    };
    for (const auto& record : records)
        if (record.size == structSize)
            return record.offset;
    return -1;
}

UINT_PTR CALLBACK CommonDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const BYTE* record = (const BYTE*)lParam;
        if (record == nullptr)
            return 0;
        DWORD size;
        memcpy(&size, record, sizeof size);
        int offset = CommonDialogCustomDataOffset(size);
        if (offset < 0)
            return 0;
        LPARAM customData;
        memcpy(&customData, record + offset, sizeof customData);
        CCommonDialog* dialog = (CCommonDialog*)customData;
        if (dialog == nullptr)
            return 0;
        dialog->Bind(window);
        return (UINT_PTR)dialog->OnInitDialog((HWND)wParam);
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        // Only this hook binds its windows, so a bound object is a common
        // dialog. Ids 1 and 2 must not reach the dispatcher, which would end
        // the hook's own window as a dialog.
        CCommonDialog* dialog = static_cast<CCommonDialog*>(WindowFromHandle(window));
        if (dialog != nullptr) {
            if (LOWORD(wParam) == IDOK)
                dialog->OnOK();
            else
                dialog->OnCancel();
        }
        return 0;
    }
    return (UINT_PTR)WindowDispatch(window, message, wParam, lParam);
}

char* MakeFilterList(const char* filter)
{
    size_t length = strlen(filter);
    // One more zero than the text's own, so that a text without a final bar
    // still ends the list.
    char* list = (char*)malloc(length + 2);
    if (list == nullptr)
        return nullptr;
    memcpy(list, filter, length + 1);
    list[length + 1] = 0;
    for (size_t i = length; i > 0; i--)
        if (list[i - 1] == '|')
            list[i - 1] = 0;
    return list;
}

CFileDialog::CFileDialog(int open, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter)
    : m_open(open), m_filter(filter ? filter : ""), m_fileName(nullptr), m_filterList(nullptr),
      m_defaultExtension(defaultExtension ? defaultExtension : "")
{
    memset(&m_record, 0, sizeof m_record);
    memset(m_fileTitle, 0, sizeof m_fileTitle);
    m_fileName = (char*)calloc(kNameCapacity, 1);
    if (m_fileName != nullptr && fileName != nullptr)
        lstrcpynA(m_fileName, fileName, kNameCapacity);

    // The form without the places bar fields: every version of the
    // common-dialog library accepts it.
    m_record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    m_record.hInstance = GetModuleInstance();
    m_record.lpstrFile = m_fileName;
    m_record.nMaxFile = m_fileName ? kNameCapacity : 0;
    m_record.lpstrFileTitle = m_fileTitle;
    m_record.nMaxFileTitle = kTitleCapacity;
    m_record.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_record.lpstrDefExt = defaultExtension ? m_defaultExtension.GetString() : nullptr;
    m_record.lCustData = (LPARAM)this;
    m_record.lpfnHook = CommonDialogHook;
}

CFileDialog::~CFileDialog()
{
    free(m_fileName);
    free(m_filterList);
}

void CFileDialog::SetTemplate(const char* templateName)
{
    if (templateName == nullptr) {
        m_record.lpTemplateName = nullptr;
        m_record.Flags &= ~OFN_ENABLETEMPLATE;
        return;
    }
    // Numeric template ids stay as they are; names get a copy of their own.
    if (IS_INTRESOURCE(templateName)) {
        m_record.lpTemplateName = templateName;
    } else {
        m_templateName.Assign(templateName);
        m_record.lpTemplateName = m_templateName.GetString();
    }
    m_record.Flags |= OFN_ENABLETEMPLATE;
}

int CFileDialog::DoModal(HWND owner)
{
    m_record.hwndOwner = owner;
    free(m_filterList);
    m_filterList = m_filter.IsEmpty() ? nullptr : MakeFilterList(m_filter.GetString());
    m_record.lpstrFilter = m_filterList;
    if (owner != nullptr)
        EnableWindow(owner, FALSE);
    int result = m_open ? GetOpenFileNameA(&m_record) : GetSaveFileNameA(&m_record);
    m_hWnd = nullptr;
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
    return result;
}

int CFileDialog::GetPathName(CText& path)
{
    if (!IsOnScreen()) {
        path.Assign(m_fileName ? m_fileName : "");
        return path.GetLength();
    }
    // The hook window is a child of the dialog, which answers the queries.
    HWND dialog = GetParent(m_hWnd);
    char buffer[kNameCapacity] = "";
    if (SendMessageA(dialog, CDM_GETSPEC, sizeof buffer, (LPARAM)buffer) < 0) {
        path.Empty();
        return 0;
    }
    buffer[sizeof buffer - 1] = 0;
    path.Assign(buffer);
    if (path.IsEmpty())
        return 0;
    buffer[0] = 0;
    if (SendMessageA(dialog, CDM_GETFILEPATH, sizeof buffer, (LPARAM)buffer) < 0) {
        path.Empty();
        return 0;
    }
    buffer[sizeof buffer - 1] = 0;
    path.Assign(buffer);
    return path.GetLength();
}

LRESULT CFileDialog::OnNotify(WPARAM id, NMHDR* header)
{
    if (CCommonDialog::OnNotify(id, header))
        return 1;
    // The dialog takes a hook's answer from the message result, so it is
    // stored there as well as returned.
    LRESULT answer;
    switch (header->code) {
    case CDN_INITDONE: OnInitDone(); return 0;
    case CDN_SELCHANGE: OnSelChange(); return 0;
    case CDN_FOLDERCHANGE: OnFolderChange(); return 0;
    case CDN_TYPECHANGE: OnTypeChange(); return 0;
    case CDN_SHAREVIOLATION: answer = OnShareViolation(((OFNOTIFYA*)header)->pszFile); break;
    case CDN_FILEOK: answer = OnFileOk(); break;
    default: return 0;
    }
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, answer);
    return answer;
}

int CFileDialog::OnShareViolation(const char* path) { return 0; }
int CFileDialog::OnFileOk() { return 0; }
void CFileDialog::OnInitDone() {}
void CFileDialog::OnSelChange() {}
void CFileDialog::OnFolderChange() {}
void CFileDialog::OnTypeChange() {}

UINT PageRecordSize() { return PROPSHEETPAGEA_V2_SIZE; }

static UINT CALLBACK PageCallback(HWND window, UINT message, LPPROPSHEETPAGEA page)
{
    return message == PSPCB_CREATE ? 1 : 0;
}

CPropertyPage::CPropertyPage(UINT templateId, UINT titleId) : CDialogBox(templateId), m_firstActivation(1)
{
    memset(&m_record, 0, sizeof m_record);
    m_record.dwSize = PageRecordSize();
    m_record.dwFlags = PSP_USECALLBACK;
    if (titleId != 0) {
        m_title.LoadString(titleId);
        m_record.dwFlags |= PSP_USETITLE;
        m_record.pszTitle = m_title.GetString();
    }
    if (m_templateId != 0)
        m_record.hInstance = GetModuleInstance();
    m_record.pszTemplate = MAKEINTRESOURCEA(m_templateId);
    m_record.pfnDlgProc = PropertyPageProc;
    m_record.lParam = (LPARAM)this;
    m_record.pfnCallback = PageCallback;
}

LRESULT CPropertyPage::OnNotify(WPARAM id, NMHDR* header)
{
    if (CDialogBox::OnNotify(id, header))
        return 1;
    if (header->hwndFrom != m_hWnd && header->hwndFrom != GetParent(m_hWnd))
        return 0;
    LRESULT stored;
    switch (header->code) {
    case PSN_SETACTIVE: stored = OnSetActive() > 0 ? 0 : -1; break;
    case PSN_KILLACTIVE: stored = OnKillActive() > 0 ? 0 : 1; break;
    case PSN_APPLY: stored = OnApply() > 0 ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; break;
    case PSN_RESET: OnReset(); return 1;
    case PSN_WIZBACK: stored = OnWizardBack() > 0 ? 0 : -1; break;
    case PSN_WIZNEXT: stored = OnWizardNext() > 0 ? 0 : -1; break;
    case PSN_WIZFINISH: stored = OnWizardFinish() > 0 ? 0 : 1; break;
    case PSN_QUERYCANCEL: stored = OnQueryCancel() > 0 ? 0 : 1; break;
    default: return 0;
    }
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, stored);
    return 1;
}

int CPropertyPage::OnApply()
{
    OnPageOK();
    return 1;
}

int CPropertyPage::OnReset() { return OnPageCancel(); }
int CPropertyPage::OnPageOK() { return 0; }
int CPropertyPage::OnPageCancel() { return 0; }

int CPropertyPage::OnSetActive()
{
    m_firstActivation = 0;
    return 1;
}

int CPropertyPage::OnKillActive() { return 1; }
int CPropertyPage::OnQueryCancel() { return 1; }
int CPropertyPage::OnWizardBack() { return 1; }
int CPropertyPage::OnWizardNext() { return 1; }
int CPropertyPage::OnWizardFinish() { return 1; }

void CPropertyPage::SetModified(int modified)
{
    if (IsOnScreen())
        SendMessageA(GetParent(m_hWnd), modified ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

INT_PTR CALLBACK PropertyPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // lParam is the system's copy of the page record, which carries the
        // object.
        const PROPSHEETPAGEA* record = (const PROPSHEETPAGEA*)lParam;
        CWindow* page = (CWindow*)record->lParam;
        page->Bind(window);
        return page->OnInitDialog((HWND)wParam);
    }
    return WindowDispatch(window, message, wParam, lParam);
}

// The sheet whose PropertySheetA runs on this thread: its callback learns
// the sheet window, the object comes from here.
static CPropertySheet* g_showingSheet = nullptr;

CPropertySheet::CPropertySheet(const char* caption, HWND parent, UINT startPage)
    : m_pages(nullptr), m_pageCount(0), m_pageCapacity(0), m_records(nullptr), m_caption(caption ? caption : ""),
      m_parent(parent), m_singleLineTabs(1)
{
    memset(&m_header, 0, sizeof m_header);
    m_header.dwSize = sizeof m_header;
    m_header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    m_header.hInstance = GetModuleInstance();
    m_header.pszCaption = m_caption.GetString();
    m_header.nStartPage = startPage;
    m_header.pfnCallback = SheetCallback;
}

CPropertySheet::~CPropertySheet()
{
    free(m_pages);
    free(m_records);
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM lParam)
{
    if (message == PSCB_INITIALIZED && g_showingSheet != nullptr)
        g_showingSheet->m_hWnd = window;
    return 0;
}

LRESULT CPropertySheet::OnCommand(WPARAM wParam, UINT code, HWND control) { return 0; }

int CPropertySheet::AddPage(CPropertyPage* page)
{
    if (m_pageCount + 1 > m_pageCapacity) {
        int capacity = m_pageCount + 1 < 2 ? 2 : m_pageCount + 1;
        CPropertyPage** grown = (CPropertyPage**)realloc(m_pages, capacity * sizeof *grown);
        if (grown == nullptr)
            return 0;
        m_pages = grown;
        m_pageCapacity = capacity;
    }
    m_pages[m_pageCount++] = page;
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        auto create = SystemFunction<decltype(&CreatePropertySheetPageA)>("comctl32.dll", "CreatePropertySheetPageA");
        HPROPSHEETPAGE handle = create != nullptr ? create(&page->GetPageRecord()) : nullptr;
        if (handle != nullptr)
            SendMessageA(m_hWnd, PSM_ADDPAGE, 0, (LPARAM)handle);
    }
    return 1;
}

int CPropertySheet::BuildPages()
{
    // The system steps through the array by each record's size, so the
    // records are packed at that stride, not at the compiler's.
    UINT size = PageRecordSize();
    BYTE* records = (BYTE*)malloc(size * (size_t)(m_pageCount ? m_pageCount : 1));
    if (records == nullptr)
        return 0;
    for (int i = 0; i < m_pageCount; i++)
        memcpy(records + (size_t)i * size, &m_pages[i]->GetPageRecord(), size);
    free(m_records);
    m_records = records;
    m_header.nPages = (UINT)m_pageCount;
    m_header.ppsp = (LPCPROPSHEETPAGEA)m_records;
    return m_pageCount;
}

int CPropertySheet::DoModal()
{
    BuildPages();
    m_header.hwndParent = m_parent;
    CPropertySheet* outer = g_showingSheet;
    g_showingSheet = this;
    auto show = SystemFunction<decltype(&PropertySheetA)>("comctl32.dll", "PropertySheetA");
    INT_PTR result = show != nullptr ? show(&m_header) : -1;
    g_showingSheet = outer;
    m_hWnd = nullptr;
    return (int)result;
}

int CPropertySheet::AdjustTabs()
{
    if (m_singleLineTabs == 0 && m_hWnd != nullptr) {
        CWindow tabs((HWND)SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
        tabs.ModifyStyle(0, TCS_MULTILINE, 0);
    }
    return 0;
}

CFolderBrowser::CFolderBrowser(const char* title, UINT flags)
    : m_window(nullptr), m_result(nullptr), m_title(title ? title : "")
{
    memset(&m_info, 0, sizeof m_info);
    m_info.ulFlags = flags;
    m_displayName[0] = 0;
}

CFolderBrowser::~CFolderBrowser()
{
    if (m_result != nullptr)
        CoTaskMemFree(m_result);
}

int CFolderBrowser::OnInitialized() { return 1; }
int CFolderBrowser::OnSelChanged(LPITEMIDLIST item) { return 1; }

int CFolderBrowser::Browse(HWND owner)
{
    if (m_result != nullptr) {
        CoTaskMemFree(m_result);
        m_result = nullptr;
    }
    m_info.hwndOwner = owner;
    m_info.pszDisplayName = m_displayName;
    m_info.lpszTitle = m_title.GetString();
    m_info.lpfn = FolderBrowseCallback;
    m_info.lParam = (LPARAM)this;
    m_result = SHBrowseForFolderA(&m_info);
    m_window = nullptr;
    return m_result != nullptr;
}

int CFolderBrowser::GetPath(CText& path) const
{
    char buffer[MAX_PATH] = "";
    if (m_result == nullptr || !SHGetPathFromIDListA(m_result, buffer))
        return 0;
    path.Assign(buffer);
    return 1;
}

int CALLBACK CFolderBrowser::FolderBrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data)
{
    CFolderBrowser* browser = (CFolderBrowser*)data;
    switch (message) {
    case BFFM_INITIALIZED:
        browser->m_window = window;
        return browser->OnInitialized() > 0 ? 0 : 1;
    case BFFM_SELCHANGED:
        return browser->OnSelChanged((LPITEMIDLIST)lParam) > 0 ? 0 : 1;
    default:
        return 0;
    }
}
