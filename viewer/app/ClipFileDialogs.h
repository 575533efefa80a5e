// The dialogs that choose clip files and what to do with them: the open
// and save dialogs of the File menu with their extra controls, and the
// option dialogs for files named on the command line or dropped.
#pragma once

#include <windows.h>

#include "ClipBook.h"
#include "Dialogs.h"
#include "Text.h"

// The path itself when it has at most limit characters, else its first 10
// characters, "..." and the path from its last backslash on.
void ShortenPath(const char* path, int limit, CText& shortened);
// The file title of a path without its extension (a leading dot stays).
void ProposePageName(const char* path, CText& name);

// A file dialog for the clip files: default extension "*", no initial name,
// the filter of a string resource.
class CClipFileDialog : public CFileDialog {
public:
    enum : DWORD {
        kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING,
        kSaveFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ENABLESIZING,
    };
    CClipFileDialog(int open, UINT filterId);
};

// "&Open...": a check box to open the file into the clipbook, and the
// page name for it.
class COpenClippageDialog : public CClipFileDialog {
public:
    COpenClippageDialog();
    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    int OnFileOk() override;

    int IsToClipbook() const { return m_toClipbook; }
    const char* GetPageName() const { return m_pageName.GetString(); }

private:
    int m_toClipbook;
    CText m_pageName;
};

// "&Save As...": a list of what to save, the clipboard or one page.
class CSaveClippageDialog : public CClipFileDialog {
public:
    // preselected: index of the page to select at first, or -1 for the
    // clipboard.
    CSaveClippageDialog(const CClipBook& book, int preselected);
    LRESULT OnInitDialog(HWND focus) override;
    int OnFileOk() override;

    // The chosen page, or null for the clipboard.
    CClipPage* GetChosenPage() const { return m_chosen; }

private:
    const CClipBook& m_book;
    int m_preselected;
    CClipPage* m_chosen;
};

// Asks whether a clippage file goes to the clipboard or into the clipbook,
// and under which page name.
class CClippageOptionDialog : public CDialogBox {
public:
    enum { kToClipbook = 0, kToClipboard = 1, kCancelled = 255 };
    explicit CClippageOptionDialog(const char* path);
    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;

    int GetChoice() const { return m_choice; }
    const char* GetPageName() const { return m_pageName.GetString(); }

private:
    void OnOpen();

    int m_choice;
    CText m_pageName;
    CText m_path;
};

// Asks whether a clipbook file is imported or replaces the clipbook.
class CClipbookOptionDialog : public CDialogBox {
public:
    enum { kImport = 0, kReplace = 1, kCancelled = 255 };
    explicit CClipbookOptionDialog(const char* path);
    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;

    int GetChoice() const { return m_choice; }

private:
    int m_choice;
    CText m_path;
};
