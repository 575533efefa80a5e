// Dialogs: modal dialogs from templates, the one-line input dialog, the
// hooked common dialogs (open and save), property sheets with their pages,
// and the folder browser.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include "Text.h"
#include "Window.h"

// A modal dialog whose dialog procedure is the library's dispatcher.
class CDialogBox : public CWindow {
public:
    // The library's own dialogs end with these: ids 1 and 2 never reach
    // OnCommand, the dispatcher turns them into EndDialog.
    enum { kOkId = 1000, kCancelId = 1001 };

    explicit CDialogBox(UINT templateId);

    // Zero: not handled, the dialog manager does its own processing.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitDialog(HWND focus) override;

    // Runs the dialog of the template; 1 when it ended with 1000, else 0
    // (any other button, a closed window, a template that cannot load).
    int DoModal(HWND owner);

    // The value the last DoModal ended with (-1 when the dialog could not
    // run).
    INT_PTR GetEndCode() const { return m_endCode; }
    UINT GetTemplateId() const { return (UINT)m_templateId; }
    // The window is on screen while the modal loop runs.
    int IsOnScreen() const { return m_hWnd != nullptr && IsWindow(m_hWnd); }

protected:
    int m_templateId;
    INT_PTR m_endCode;
};

// Asks for one line of text. The program's template has the OK button 1000,
// the Cancel button 1001, the edit field 1002 and the prompt 1003.
class CInputDialog : public CDialogBox {
public:
    enum { kValueRequired = 1, kNoCancel = 2 };
    enum { kEditId = 1002, kPromptId = 1003 };

    CInputDialog(UINT templateId, DWORD flags);

    // Each loads a string resource; on screen the dialog shows it at once.
    int SetTitle(UINT stringId);
    int SetPromptId(UINT stringId);
    int SetOkCaption(UINT stringId);
    // Ignored when the dialog has no Cancel button.
    int SetCancelCaption(UINT stringId);
    // Sets the prompt.
    int SetTextAlt(const char* text) override;
    void SetValue(const char* text);
    int GetValue(CText& text) const;

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    LRESULT OnClose() override;

protected:
    void ShowItemText(int controlId, const CText& text);

    DWORD m_flags;
    CText m_title;
    CText m_prompt;
    CText m_value;
    CText m_okCaption;
    CText m_cancelCaption;
};

// Base of the dialogs of the common-dialog library that run with
// CommonDialogHook; the object travels in the record's custom data.
class CCommonDialog : public CDialogBox {
public:
    CCommonDialog() : CDialogBox(0) {}
    virtual void OnOK();
    virtual void OnCancel();
};

UINT_PTR CALLBACK CommonDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Where a common-dialog record of this size keeps its custom data; -1 for a
// size that belongs to no known record.
int CommonDialogCustomDataOffset(DWORD structSize);

// A filter list for the open and save dialogs from text whose parts are
// separated by bars ("Text|*.txt|"): every bar becomes a zero and the list
// always ends with two zeros, whether or not the text ends with a bar.
// The result is malloc'd; null when out of memory.
char* MakeFilterList(const char* filter);

// Explorer-style open or save dialog.
class CFileDialog : public CCommonDialog {
public:
    enum { kNameCapacity = 260, kTitleCapacity = 64 };

    CFileDialog(int open, const char* defaultExtension, const char* fileName, DWORD flags, const char* filter);
    ~CFileDialog() override;

    // A child template of the program's module, shown inside the dialog;
    // null removes it.
    void SetTemplate(const char* templateName);
    // GetOpenFileNameA or GetSaveFileNameA; their result (0: cancelled or
    // failed).
    int DoModal(HWND owner);
    // The chosen file; while the dialog runs, the one currently typed or
    // selected.
    int GetPathName(CText& path);

    LRESULT OnNotify(WPARAM id, NMHDR* header) override;
    // Their results answer the notification: non-zero refuses the file
    // (OnFileOk), or is the OFN_SHARE* answer (OnShareViolation).
    virtual int OnShareViolation(const char* path);
    virtual int OnFileOk();
    virtual void OnInitDone();
    virtual void OnSelChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();

    OPENFILENAMEA& GetRecord() { return m_record; }
    const char* GetFileTitle() const { return m_fileTitle; }
    int IsOpenDialog() const { return m_open; }

protected:
    OPENFILENAMEA m_record;
    int m_open;
    CText m_filter;
    char m_fileTitle[kTitleCapacity];
    char* m_fileName;
    char* m_filterList;
    CText m_defaultExtension;
    CText m_templateName;
};

// One page of a property sheet or wizard; its dialog procedure is
// PropertyPageProc.
class CPropertyPage : public CDialogBox {
public:
    CPropertyPage(UINT templateId, UINT titleId);

    LRESULT OnNotify(WPARAM id, NMHDR* header) override;
    virtual int OnApply();
    virtual int OnReset();
    virtual int OnPageOK();
    virtual int OnPageCancel();
    // 0 skips the page in a wizard.
    virtual int OnSetActive();
    virtual int OnKillActive();
    // 0 keeps the sheet open.
    virtual int OnQueryCancel();
    // 0 keeps the page on screen.
    virtual int OnWizardBack();
    virtual int OnWizardNext();
    virtual int OnWizardFinish();

    void SetModified(int modified);
    // The page record handed to the system; its size is PageRecordSize().
    const PROPSHEETPAGEA& GetPageRecord() const { return m_record; }
    int IsFirstActivation() const { return m_firstActivation; }

protected:
    PROPSHEETPAGEA m_record;
    CText m_title;
    int m_firstActivation;
};

// The page record size passed to the system: the form with the header
// title fields but without the activation context, which common controls
// before version 6 refuse. Both builds use that form of their own layout.
UINT PageRecordSize();

INT_PTR CALLBACK PropertyPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A property sheet (or, with PSH_WIZARD in the header, a wizard) over
// CPropertyPage objects that the program owns.
class CPropertySheet : public CWindow {
public:
    CPropertySheet(const char* caption, HWND parent, UINT startPage);
    ~CPropertySheet() override;

    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    // PropertySheetA's result.
    virtual int DoModal();
    // Copies every page's record, in the order added; returns the count.
    virtual int BuildPages();
    virtual int AdjustTabs();

    int AddPage(CPropertyPage* page);
    int GetPageCount() const { return m_pageCount; }
    CPropertyPage* GetPage(int index) const { return index >= 0 && index < m_pageCount ? m_pages[index] : nullptr; }
    // The header, for flags such as PSH_WIZARD before DoModal.
    PROPSHEETHEADERA& GetHeader() { return m_header; }

protected:
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);

    PROPSHEETHEADERA m_header;
    CPropertyPage** m_pages;
    int m_pageCount;
    int m_pageCapacity;
    BYTE* m_records;
    CText m_caption;
    HWND m_parent;
    int m_singleLineTabs;
};

// Folder selection with the shell's browse dialog.
class CFolderBrowser {
public:
    explicit CFolderBrowser(const char* title = nullptr, UINT flags = BIF_RETURNONLYFSDIRS);
    CFolderBrowser(const CFolderBrowser&) = delete;
    CFolderBrowser& operator=(const CFolderBrowser&) = delete;
    virtual ~CFolderBrowser();
    virtual int OnInitialized();
    virtual int OnSelChanged(LPITEMIDLIST item);

    // 1 when a folder was chosen.
    int Browse(HWND owner);
    int GetPath(CText& path) const;

    void SetTitle(const char* title) { m_title = title; }
    BROWSEINFOA& GetBrowseInfo() { return m_info; }
    HWND GetBrowseWindow() const { return m_window; }
    const char* GetDisplayName() const { return m_displayName; }

protected:
    static int CALLBACK FolderBrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);

    BROWSEINFOA m_info;
    HWND m_window;
    LPITEMIDLIST m_result;
    CText m_title;
    char m_displayName[MAX_PATH];
};
