// Window objects: one object a window, bound through GWLP_USERDATA, with one
// virtual handler per message of a fixed set.
#pragma once

#include <windows.h>
#include <shellapi.h>

class CText;
class CWideText;

class CWindow {
public:
    explicit CWindow(HWND window = nullptr) : m_hWnd(window) {}
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    virtual ~CWindow() {}

    // For windows whose class does not use the library's procedures
    // (controls): nothing is bound.
    virtual int Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                       HWND parent, HMENU menuOrId);
    virtual int Destroy();
    virtual int GetTextWide(CWideText& text);
    virtual int GetText(CText& text);
    virtual int GetTextInto(char* buffer, int capacity);
    virtual int SetText(const char* text);
    virtual int SetTextAlt(const char* text);

    // The message handlers, in the alphabetical order of their messages.
    // Each default packs its arguments back and calls DefaultProc.
    virtual LRESULT OnActivate(UINT state, BOOL minimized, HWND other);
    virtual LRESULT OnActivateApp(BOOL active, DWORD threadId);
    virtual LRESULT OnCancelMode();
    virtual LRESULT OnCaptureChanged(HWND gaining);
    virtual LRESULT OnChangeCbChain(HWND removed, HWND next);
    virtual LRESULT OnChar(WPARAM code, LPARAM keyData);
    virtual LRESULT OnClose();
    virtual LRESULT OnCommand(WPARAM wParam, UINT code, HWND control);
    virtual LRESULT OnContextMenu(HWND window, UINT x, UINT y);
    virtual LRESULT OnCreate(CREATESTRUCTA* create);
    virtual LRESULT OnDestroy();
    virtual LRESULT OnDestroyClipboard();
    virtual LRESULT OnDrawClipboard();
    virtual LRESULT OnDrawItem(WPARAM id, DRAWITEMSTRUCT* item);
    virtual LRESULT OnDropFiles(HDROP drop);
    virtual LRESULT OnHScroll(UINT code, UINT position, HWND scrollBar);
    virtual LRESULT OnInitMenu(HMENU menu);
    virtual LRESULT OnInitMenuPopup(HMENU menu, UINT index, BOOL systemMenu);
    virtual LRESULT OnKeyDown(WPARAM key, LPARAM keyData);
    virtual LRESULT OnKeyUp(WPARAM key, LPARAM keyData);
    virtual LRESULT OnKillFocus(HWND gaining);
    virtual LRESULT OnMeasureItem(WPARAM id, MEASUREITEMSTRUCT* item);
    virtual LRESULT OnMenuChar(signed char character, UINT flags, HMENU menu);
    virtual LRESULT OnMenuSelect(UINT item, UINT flags, HMENU menu);
    virtual LRESULT OnMouseActivate(HWND topLevel, UINT hitTest, UINT mouseMessage);
    virtual LRESULT OnMouseMove(WPARAM keys, UINT x, UINT y);
    virtual LRESULT OnMove(UINT x, UINT y);
    virtual LRESULT OnNcActivate(BOOL active);
    virtual LRESULT OnNcCreate(CREATESTRUCTA* create);
    virtual LRESULT OnNcDestroy();
    virtual LRESULT OnNotify(WPARAM id, NMHDR* header);
    virtual LRESULT OnPaint();
    virtual LRESULT OnPaintClipboard(HWND viewer, HGLOBAL paintStruct);
    virtual LRESULT OnSize(UINT type, UINT width, UINT height);
    virtual LRESULT OnSizing(UINT edge, RECT* rect);
    virtual LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
    virtual LRESULT OnTimer(UINT_PTR id);
    virtual LRESULT OnVScroll(UINT code, UINT position, HWND scrollBar);
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* position);
    virtual LRESULT OnWindowPosChanging(WINDOWPOS* position);
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Reached by the dispatcher for WM_INITDIALOG and WM_MDIACTIVATE; the
    // dialog and MDI classes give them their meaning.
    virtual LRESULT OnInitDialog(HWND focus);
    virtual LRESULT OnMdiActivate(HWND activated, HWND deactivated);

    HWND GetHandle() const { return m_hWnd; }
    void Bind(HWND window);

    int ModifyStyle(DWORD remove, DWORD add, UINT positionFlags);
    int ModifyExStyle(DWORD remove, DWORD add, UINT positionFlags);
    int GetItemText(int controlId, CText& text);
    int ResourceMessageBox(UINT textId, UINT captionId, UINT type);
    void CenterOnScreen();

protected:
    HWND m_hWnd;
};

int RegisterWindowClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon);
int RegisterMdiChildClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon);

LRESULT CALLBACK WindowDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MdiChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The bound object of a window, or null.
CWindow* WindowFromHandle(HWND window);
