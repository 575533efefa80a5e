// The viewer's MDI frame: menu bar, rebar with toolbar and format combo box,
// status bar, the clipbook window and the format views; a member of the
// clipboard viewer chain.
#pragma once

#include <windows.h>

#include <vector>

#include "ClipBookWindow.h"
#include "Controls.h"
#include "FormatNames.h"
#include "FormatView.h"
#include "Frame.h"
#include "Settings.h"
#include "Utility.h"

class CClipFormat;

class CViewerFrame : public CMdiFrame {
public:
    static const char* const kClassName;
    enum { kClockTimer = 1, kClockPeriod = 2000 };
    // A clipboard read that failed because another program held the
    // clipboard is tried again after growing delays, doubling from the first
    // to the last, then given up until the next change.
    enum { kClipboardRetryTimer = 2, kFirstRetryDelay = 50, kLastRetryDelay = 6400 };
    // Fixed entries of the Display menu before the format entries.
    enum { kFixedDisplayEntries = 8 };

    CViewerFrame();
    ~CViewerFrame() override;

    LRESULT OnCreate(CREATESTRUCTA* create) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    LRESULT OnClose() override;
    LRESULT OnDestroy() override;
    LRESULT OnSize(UINT type, UINT width, UINT height) override;
    LRESULT OnDropFiles(HDROP drop) override;
    LRESULT OnDrawClipboard() override;
    LRESULT OnChangeCbChain(HWND removed, HWND next) override;
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnMenuSelect(UINT item, UINT flags, HMENU menu) override;
    LRESULT OnNotify(WPARAM id, NMHDR* header) override;
    LRESULT OnContextMenu(HWND window, UINT x, UINT y) override;
    LRESULT OnInitMenuPopup(HMENU menu, UINT index, BOOL systemMenu) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The format list (Display menu entries and combo box items) and the live
    // views. Each answers 0 when the clipboard was too busy to read.
    int RebuildFormatList();
    int RefreshLiveViews();
    int OpenFormatByCommand(UINT command);
    int OpenFormat(UINT format);
    // Opens a page's format copy; the clipbook window calls it.
    int OpenPageFormat(const CClipPage* page, const char* pageName, const CClipFormat& record, UINT kind);

    void SetViewMode(UINT kind);
    // Opens a clippage or clipbook file by its suffix; others are ignored.
    // Answers the kind of file dispatched (see CommandLine.h).
    int OpenClipFileByName(const char* path);
    void ShowAbout();

    // The end of the run: the session ending under the program, a command
    // line handed over by a later start, and the children closed before the
    // frame goes (FrameSession.cpp).
    // 1 when the message was one of these, with its answer.
    int OnSessionMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);
    void OnEndSession(BOOL ending);
    void OnHandOver(const char* commandLine);
    void CloseChildren();
    // A key of the accelerator table that the window under the focus should
    // have instead, or that has nothing the user can see to act on: 1 when
    // the command is done with.
    int FilterKeyCommand(UINT command);

    // Content marked private (see PrivateContent.h): live views hide it
    // until the user reveals it; the next clipboard change hides it again.
    int IsPrivateContent() const { return m_privateContent; }
    void TogglePrivateContent();
    // "Save Format As..." for the active format view.
    int SaveActiveFormat();
    // Part 0 of the status bar between menus: who owns the clipboard, or
    // who holds it open while it cannot be read.
    void ShowClipboardStatus();
    const char* GetClipboardStatus() const { return m_clipboardStatus.GetString(); }

    UINT GetViewMode() const { return m_viewMode; }
    HWND GetNextViewer() const { return m_nextViewer; }
    UINT GetDestroyMessage() const { return m_destroyMessage; }
    DWORD GetToolbarStyle() const { return m_settings.style; }
    CFormatViewList& GetViewList() { return m_views; }
    HIMAGELIST GetFormatImages() const { return m_formatImages.GetHandle(); }
    CClipBookWindow& GetClipBook() { return m_clipBook; }
    HMENU GetPopupMenus() const { return m_popups.GetHandle(); }
    HMENU GetDisplayMenu() const;
    const CStatusBar& GetStatusBar() const { return m_statusBar; }
    const CReBar& GetReBar() const { return m_reBar; }
    const CToolBar& GetToolBar() const { return m_toolBar; }
    const CComboBoxEx& GetFormatCombo() const { return m_formatCombo; }
    HWND GetFormatComboList() const { return m_comboList; }

private:
    // Views: the steps shared by clipboard and page formats.
    int OpenView(UINT format, UINT kind, const CClipPage* page, const char* pageName, const CClipFormat* record);
    void FollowClipboard();
    void StopClipboardRetry();
    int ReadClipboardFormats(std::vector<UINT>& formats);
    void UpdateDisplayEntries(HMENU display, const std::vector<UINT>& formats, size_t kept);
    void UpdateComboItems(const std::vector<UINT>& formats, size_t kept);
    void EnableFormatCommands(int enable);
    CFormatView* FindView(UINT format, UINT kind, const CClipPage* page) const;
    void OnViewGone(LPARAM entry);
    void UpdateClipboardStatus(int readDone);
    void UpdatePrivateCommand();
    CFormatView* GetActiveFormatView() const;

    // Bars and settings.
    void ReadSettingsAndBuildBars();
    void BuildToolBar();
    void RebuildToolBarBand();
    void InsertBand(const CBandRecord& record);
    void ToggleToolbarStyle(UINT command);
    void CheckToolbarEntries();
    void SaveSettings();
    int GetRestorableRect(RECT* rect) const;
    void PlaceClient(int width, int height);
    void LayOut();
    void UpdateClock();

    CClipBookWindow m_clipBook;
    CStatusBar m_statusBar;
    CReBar m_reBar;
    CToolBar m_toolBar;
    CImageList m_toolImages;
    CImageList m_hotToolImages;
    CImageList m_disabledToolImages;
    CImageList m_formatImages;
    HWND m_comboList;
    CComboBoxEx m_formatCombo;
    HWND m_nextViewer;
    CMenuHandle m_popups;
    UINT m_viewMode;
    UINT m_destroyMessage;
    CFormatViewList m_views;
    CToolbarSettings m_settings;
    CFormatNames m_formatNames;
    // The formats the Display menu and the combo box list, in their order.
    std::vector<UINT> m_listedFormats;
    // The delay of the pending clipboard retry; 0 when none is pending.
    UINT m_retryDelay;
    int m_privateContent;
    int m_privateRevealed;
    CText m_clipboardStatus;
    // A menu of the frame is open: its help owns part 0.
    int m_menuOpen;
};
