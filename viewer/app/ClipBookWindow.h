// The clipbook window: the MDI child that holds the clipbook and shows it
// as a tree (a root, its pages, their formats), created with the frame and
// living until the program ends. It keeps the book in the data file between
// runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ClipBook.h"
#include "Controls.h"
#include "Frame.h"
#include "Utility.h"

class CViewerFrame;

class CClipBookWindow : public CMdiChild {
public:
    static const char* const kClassName;
    enum { kCommandLineTimer = 1, kCommandLineDelay = 10 };

    CClipBookWindow();

    int CreateWindowIn(CMdiFrame* frame);

    LRESULT OnCreate(CREATESTRUCTA* create) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnClose() override;
    LRESULT OnDestroy() override;
    LRESULT OnSize(UINT type, UINT width, UINT height) override;
    LRESULT OnContextMenu(HWND window, UINT x, UINT y) override;
    LRESULT OnInitMenuPopup(HMENU menu, UINT index, BOOL systemMenu) override;
    LRESULT OnNotify(WPARAM id, NMHDR* header) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    LRESULT OnMenuSelect(UINT item, UINT flags, HMENU menu) override;

    // Page commands. Each acts on the tree's selected item and does
    // nothing without a suitable one.
    int PasteClipboard();
    // Appends a page under the unique form of the name with a copy of the
    // clipboard; null when the clipboard cannot be opened.
    CClipPage* AddPageFromClipboard(const char* name);
    int CopyPage();
    int CutPage();
    int DeletePage();
    int RenamePage();
    int DeleteFormat();
    void OnDeleteKey();
    // "Save Format As..." for the selected format of a page.
    int SaveSelectedFormat();
    // Opens the selected format of a page in a view of that kind.
    int OpenSelectedFormat(UINT kind);

    // The File menu's file commands, and the opens of files named on the
    // command line or dropped on the frame.
    int OpenClippageWithOptions();
    int SaveClippageWithChoice();
    int OpenClipbook();
    int SaveClipbook();
    int OpenClippageFileByPath(const char* path);
    int OpenClipbookFileByPath(const char* path);
    // Loads a clippage file to the clipboard, or into the book as a new page.
    int LoadClippage(const char* path, int toClipbook, const char* pageName);
    // Loads a clipbook file: appended to the book, or in place of it once
    // the whole file was read.
    int LoadClipbook(const char* path, int replace);

    // Opens every clip file that the program's command line names.
    void ProcessCommandLine();
    // A command line handed over by a later start: processed like the
    // program's own, on the next tick of the command-line timer.
    void QueueCommandLine(const char* commandLine);

    // Where the book is written, and where it is read at the start; without
    // them the data file lies beside the program. Set before the window is
    // created.
    void SetDataFiles(const char* path, const char* startPath);
    // Writes the book to the data file; a failure is reported to the user
    // with the file and the system's reason.
    int WriteDataFile();
    // Keys that act on pages act only while the user sees the tree: this
    // window active, not minimised, its tree holding the focus.
    int HasKeyboardFocus() const;

    CClipBook& GetBook() { return m_book; }
    const CTreeView& GetTree() const { return m_tree; }
    HTREEITEM GetRootItem() const { return m_root; }
    HMENU GetPopupMenus() const { return m_popups.GetHandle(); }
    // The page of the selected item when it is a page item, else null.
    CClipPage* GetSelectedPage() const;
    // The record of the selected item when it is a format item, else null;
    // its page goes to page.
    CClipFormat* GetSelectedRecord(CClipPage** page) const;

private:
    CViewerFrame* GetViewerFrame() const;
    void InsertPageItems(CClipPage* page);
    // Each takes ownership: one page, or every page of the other book.
    void AppendPage(CClipPage* page);
    void AppendPages(CClipBook& pages);
    void RemovePage(CClipPage* page);
    void RemoveAllPages();
    void CloseViewersOf(const CClipPage* page, UINT format);
    int ClipboardHasFormats();
    void LoadDataFile();
    // 0 with the system's reason when the book could not be written.
    int SaveDataFile(DWORD* error);
    void ReportUnreadableDataFile();
    void ShowError(UINT textId);

    CClipBook m_book;
    CTreeView m_tree;
    HTREEITEM m_root;
    CMenuHandle m_popups;
    // The data file was there but could not be read, and could not be
    // copied aside yet: it is kept aside before the book is written over it.
    int m_dataFileUnreadable;
    CText m_dataFile;
    CText m_startFile;
    // Where the unreadable data file was kept; the user is told once, at
    // the first tick.
    CText m_keptFile;
    int m_reportUnreadable;
    // Command lines waiting for the command-line timer, the program's own
    // first; set while they are processed, so a tick inside an option
    // dialog leaves the rest to the loop that runs.
    std::vector<std::string> m_commandLines;
    int m_processingCommandLines;
};
