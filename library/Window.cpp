#include "Window.h"

#include <stdlib.h>
#include <string.h>

#include "AppThread.h"
#include "Text.h"

int CWindow::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, HWND parent,
                    HMENU menuOrId)
{
    m_hWnd = CreateWindowExA(0, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent, menuOrId, GetAppInstance(), nullptr);
    return m_hWnd != nullptr;
}

int CWindow::Destroy()
{
    return DestroyWindow(m_hWnd);
}

int CWindow::GetTextWide(CWideText& text)
{
    int length = (int)SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0);
    char* narrow = (char*)malloc((size_t)length + 2);
    if (narrow == nullptr)
        return 0;
    int copied = (int)SendMessageA(m_hWnd, WM_GETTEXT, (WPARAM)length + 2, (LPARAM)narrow);
    narrow[copied] = 0;
    wchar_t* wide = (wchar_t*)malloc(((size_t)length + 2) * sizeof(wchar_t));
    if (wide != nullptr) {
        int converted = MultiByteToWideChar(CP_ACP, 0, narrow, copied, wide, length + 1);
        wide[converted] = 0;
        text.Assign(wide);
        free(wide);
    }
    free(narrow);
    return wide ? copied : 0;
}

int CWindow::GetText(CText& text)
{
    int length = (int)SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0);
    char* buffer = (char*)malloc((size_t)length + 2);
    if (buffer == nullptr)
        return 0;
    buffer[0] = 0;
    int copied = (int)SendMessageA(m_hWnd, WM_GETTEXT, (WPARAM)length + 2, (LPARAM)buffer);
    text.Assign(buffer);
    free(buffer);
    return copied;
}

int CWindow::GetTextInto(char* buffer, int capacity)
{
    return (int)SendMessageA(m_hWnd, WM_GETTEXT, (WPARAM)capacity, (LPARAM)buffer);
}

int CWindow::SetText(const char* text)
{
    return (int)SendMessageA(m_hWnd, WM_SETTEXT, 0, (LPARAM)text);
}

int CWindow::SetTextAlt(const char* text)
{
    return SetText(text);
}

LRESULT CWindow::OnActivate(UINT state, BOOL minimized, HWND other)
{
    return DefaultProc(WM_ACTIVATE, MAKEWPARAM(LOWORD(state), minimized), (LPARAM)other);
}

LRESULT CWindow::OnActivateApp(BOOL active, DWORD threadId)
{
    return DefaultProc(WM_ACTIVATEAPP, (WPARAM)active, (LPARAM)threadId);
}

LRESULT CWindow::OnCancelMode() { return DefaultProc(WM_CANCELMODE, 0, 0); }

LRESULT CWindow::OnCaptureChanged(HWND gaining) { return DefaultProc(WM_CAPTURECHANGED, 0, (LPARAM)gaining); }

LRESULT CWindow::OnChangeCbChain(HWND removed, HWND next)
{
    return DefaultProc(WM_CHANGECBCHAIN, (WPARAM)removed, (LPARAM)next);
}

LRESULT CWindow::OnChar(WPARAM code, LPARAM keyData) { return DefaultProc(WM_CHAR, code, keyData); }

LRESULT CWindow::OnClose() { return DefaultProc(WM_CLOSE, 0, 0); }

LRESULT CWindow::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    return DefaultProc(WM_COMMAND, wParam, (LPARAM)control);
}

LRESULT CWindow::OnContextMenu(HWND window, UINT x, UINT y)
{
    return DefaultProc(WM_CONTEXTMENU, (WPARAM)window, MAKELPARAM(x, y));
}

LRESULT CWindow::OnCreate(CREATESTRUCTA* create) { return DefaultProc(WM_CREATE, 0, (LPARAM)create); }
LRESULT CWindow::OnDestroy() { return DefaultProc(WM_DESTROY, 0, 0); }
LRESULT CWindow::OnDestroyClipboard() { return DefaultProc(WM_DESTROYCLIPBOARD, 0, 0); }
LRESULT CWindow::OnDrawClipboard() { return DefaultProc(WM_DRAWCLIPBOARD, 0, 0); }

LRESULT CWindow::OnDrawItem(WPARAM id, DRAWITEMSTRUCT* item)
{
    return DefaultProc(WM_DRAWITEM, id, (LPARAM)item);
}

LRESULT CWindow::OnDropFiles(HDROP drop) { return DefaultProc(WM_DROPFILES, (WPARAM)drop, 0); }

LRESULT CWindow::OnHScroll(UINT code, UINT position, HWND scrollBar)
{
    return DefaultProc(WM_HSCROLL, MAKEWPARAM(code, position), (LPARAM)scrollBar);
}

LRESULT CWindow::OnInitMenu(HMENU menu) { return DefaultProc(WM_INITMENU, (WPARAM)menu, 0); }

LRESULT CWindow::OnInitMenuPopup(HMENU menu, UINT index, BOOL systemMenu)
{
    return DefaultProc(WM_INITMENUPOPUP, (WPARAM)menu, MAKELPARAM(index, systemMenu));
}

LRESULT CWindow::OnKeyDown(WPARAM key, LPARAM keyData) { return DefaultProc(WM_KEYDOWN, key, keyData); }
LRESULT CWindow::OnKeyUp(WPARAM key, LPARAM keyData) { return DefaultProc(WM_KEYUP, key, keyData); }
LRESULT CWindow::OnKillFocus(HWND gaining) { return DefaultProc(WM_KILLFOCUS, (WPARAM)gaining, 0); }

LRESULT CWindow::OnMeasureItem(WPARAM id, MEASUREITEMSTRUCT* item)
{
    return DefaultProc(WM_MEASUREITEM, id, (LPARAM)item);
}

LRESULT CWindow::OnMenuChar(signed char character, UINT flags, HMENU menu)
{
    return DefaultProc(WM_MENUCHAR, MAKEWPARAM((BYTE)character, flags), (LPARAM)menu);
}

LRESULT CWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    return DefaultProc(WM_MENUSELECT, MAKEWPARAM(item, flags), (LPARAM)menu);
}

LRESULT CWindow::OnMouseActivate(HWND topLevel, UINT hitTest, UINT mouseMessage)
{
    return DefaultProc(WM_MOUSEACTIVATE, (WPARAM)topLevel, MAKELPARAM(hitTest, mouseMessage));
}

LRESULT CWindow::OnMouseMove(WPARAM keys, UINT x, UINT y) { return DefaultProc(WM_MOUSEMOVE, keys, MAKELPARAM(x, y)); }
LRESULT CWindow::OnMove(UINT x, UINT y) { return DefaultProc(WM_MOVE, 0, MAKELPARAM(x, y)); }
LRESULT CWindow::OnNcActivate(BOOL active) { return DefaultProc(WM_NCACTIVATE, (WPARAM)active, 0); }
LRESULT CWindow::OnNcCreate(CREATESTRUCTA* create) { return DefaultProc(WM_NCCREATE, 0, (LPARAM)create); }
LRESULT CWindow::OnNcDestroy() { return DefaultProc(WM_NCDESTROY, 0, 0); }
LRESULT CWindow::OnNotify(WPARAM id, NMHDR* header) { return DefaultProc(WM_NOTIFY, id, (LPARAM)header); }
LRESULT CWindow::OnPaint() { return DefaultProc(WM_PAINT, 0, 0); }

LRESULT CWindow::OnPaintClipboard(HWND viewer, HGLOBAL paintStruct)
{
    return DefaultProc(WM_PAINTCLIPBOARD, (WPARAM)viewer, (LPARAM)paintStruct);
}

LRESULT CWindow::OnSize(UINT type, UINT width, UINT height)
{
    return DefaultProc(WM_SIZE, type, MAKELPARAM(width, height));
}

LRESULT CWindow::OnSizing(UINT edge, RECT* rect) { return DefaultProc(WM_SIZING, edge, (LPARAM)rect); }
LRESULT CWindow::OnSysCommand(WPARAM command, LPARAM lParam) { return DefaultProc(WM_SYSCOMMAND, command, lParam); }
LRESULT CWindow::OnTimer(UINT_PTR id) { return DefaultProc(WM_TIMER, id, 0); }

LRESULT CWindow::OnVScroll(UINT code, UINT position, HWND scrollBar)
{
    return DefaultProc(WM_VSCROLL, MAKEWPARAM(code, position), (LPARAM)scrollBar);
}

LRESULT CWindow::OnWindowPosChanged(WINDOWPOS* position)
{
    return DefaultProc(WM_WINDOWPOSCHANGED, 0, (LPARAM)position);
}

LRESULT CWindow::OnWindowPosChanging(WINDOWPOS* position)
{
    return DefaultProc(WM_WINDOWPOSCHANGING, 0, (LPARAM)position);
}

LRESULT CWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWindow::OnInitDialog(HWND focus) { return 0; }
LRESULT CWindow::OnMdiActivate(HWND activated, HWND deactivated) { return 0; }

void CWindow::Bind(HWND window)
{
    m_hWnd = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, (LONG_PTR)this);
}

static int ModifyLong(HWND window, int index, DWORD remove, DWORD add, UINT positionFlags)
{
    LONG_PTR old = GetWindowLongPtrA(window, index);
    SetLastError(0);
    LONG_PTR previous = SetWindowLongPtrA(window, index, (old & ~(LONG_PTR)remove) | (LONG_PTR)add);
    if (previous == 0 && GetLastError() != 0)
        return 0;
    if (positionFlags != 0)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     positionFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 1;
}

int CWindow::ModifyStyle(DWORD remove, DWORD add, UINT positionFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, positionFlags);
}

int CWindow::ModifyExStyle(DWORD remove, DWORD add, UINT positionFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, positionFlags);
}

int CWindow::GetItemText(int controlId, CText& text)
{
    enum { kLimit = 4086 };
    char* buffer = text.GetBuffer(kLimit, 0);
    if (buffer == nullptr)
        return 0;
    int count = (int)GetDlgItemTextA(m_hWnd, controlId, buffer, kLimit);
    text.ReleaseBuffer(-1);
    return count;
}

int CWindow::ResourceMessageBox(UINT textId, UINT captionId, UINT type)
{
    char text[1001] = "";
    char caption[101] = "Error";
    LoadStringResource(textId, text, sizeof text);
    if (captionId != 0)
        LoadStringResource(captionId, caption, sizeof caption);
    return MessageBoxA(m_hWnd, text, caption, type);
}

void CWindow::CenterOnScreen()
{
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static int RegisterClassWith(WNDPROC procedure, const char* className, UINT style, HCURSOR cursor,
                             HBRUSH background, HICON icon)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetAppInstance();
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return RegisterClassExA(&windowClass) != 0;
}

int RegisterWindowClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    return RegisterClassWith(WindowDispatch, className, style, cursor, background, icon);
}

int RegisterMdiChildClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    return RegisterClassWith(MdiChildWindowProc, className, style, cursor, background, icon);
}

CWindow* WindowFromHandle(HWND window)
{
    return (CWindow*)GetWindowLongPtrA(window, GWLP_USERDATA);
}

static LRESULT Crack(CWindow* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return object->OnCreate((CREATESTRUCTA*)lParam);
    case WM_DESTROY: object->OnDestroy(); return 0;
    case WM_MOVE: object->OnMove(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SIZE: object->OnSize((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_ACTIVATE: object->OnActivate((UINT)wParam, HIWORD(wParam), (HWND)lParam); return 0;
    case WM_KILLFOCUS: object->OnKillFocus((HWND)wParam); return 0;
    case WM_PAINT: object->OnPaint(); return 0;
    case WM_CLOSE: object->OnClose(); return 0;
    case WM_ACTIVATEAPP: object->OnActivateApp((BOOL)wParam, (DWORD)lParam); return 0;
    case WM_CANCELMODE: object->OnCancelMode(); return 0;
    case WM_MOUSEACTIVATE: return object->OnMouseActivate((HWND)wParam, LOWORD(lParam), HIWORD(lParam));
    case WM_DRAWITEM: object->OnDrawItem(wParam, (DRAWITEMSTRUCT*)lParam); return 0;
    case WM_MEASUREITEM: object->OnMeasureItem(wParam, (MEASUREITEMSTRUCT*)lParam); return 0;
    case WM_WINDOWPOSCHANGING: object->OnWindowPosChanging((WINDOWPOS*)lParam); return 0;
    case WM_WINDOWPOSCHANGED: object->OnWindowPosChanged((WINDOWPOS*)lParam); return 0;
    case WM_NOTIFY: return object->OnNotify(wParam, (NMHDR*)lParam);
    case WM_CONTEXTMENU: object->OnContextMenu((HWND)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_GETICON: return DefWindowProcA(window, message, wParam, lParam);
    case WM_SETICON: return object->DefaultProc(WM_SETICON, wParam, lParam);
    case WM_NCDESTROY: object->OnNcDestroy(); return 0;
    case WM_NCACTIVATE: return object->OnNcActivate((BOOL)wParam);
    case WM_KEYDOWN: object->OnKeyDown(wParam, lParam); return 0;
    case WM_KEYUP: object->OnKeyUp(wParam, lParam); return 0;
    case WM_CHAR: object->OnChar(wParam, lParam); return 0;
    case WM_COMMAND:
        // Ids 1 and 2 end a dialog in every window of the library.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, LOWORD(wParam));
            return 0;
        }
        return object->OnCommand(wParam, HIWORD(wParam), (HWND)lParam);
    case WM_SYSCOMMAND: object->OnSysCommand(wParam, lParam); return 0;
    case WM_TIMER: object->OnTimer(wParam); return 0;
    case WM_HSCROLL: object->OnHScroll(LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return 0;
    case WM_VSCROLL: object->OnVScroll(LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return 0;
    case WM_INITMENU: object->OnInitMenu((HMENU)wParam); return 0;
    case WM_INITMENUPOPUP: object->OnInitMenuPopup((HMENU)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MENUSELECT: object->OnMenuSelect(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam); return 1;
    case WM_MENUCHAR: return object->OnMenuChar((signed char)LOBYTE(wParam), HIWORD(wParam), (HMENU)lParam);
    case WM_MOUSEMOVE: object->OnMouseMove(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SIZING: return object->OnSizing((UINT)wParam, (RECT*)lParam);
    case WM_CAPTURECHANGED: object->OnCaptureChanged((HWND)lParam); return 0;
    case WM_MDIACTIVATE: object->OnMdiActivate((HWND)lParam, (HWND)wParam); return 0;
    case WM_DROPFILES: object->OnDropFiles((HDROP)wParam); return 0;
    case WM_DESTROYCLIPBOARD: object->OnDestroyClipboard(); return 0;
    case WM_DRAWCLIPBOARD: object->OnDrawClipboard(); return 0;
    case WM_PAINTCLIPBOARD: object->OnPaintClipboard((HWND)wParam, (HGLOBAL)lParam); return 0;
    case WM_CHANGECBCHAIN: object->OnChangeCbChain((HWND)wParam, (HWND)lParam); return 0;
    default: return object->DefaultProc(message, wParam, lParam);
    }
}

LRESULT CALLBACK WindowDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CWindow* object = (CWindow*)lParam;
        object->Bind(window);
        return object->OnInitDialog((HWND)wParam);
    }
    if (message == WM_NCCREATE) {
        CWindow* object = (CWindow*)((CREATESTRUCTA*)lParam)->lpCreateParams;
        object->Bind(window);
        return object->OnNcCreate((CREATESTRUCTA*)lParam);
    }
    CWindow* object = WindowFromHandle(window);
    if (object == nullptr)
        return 0;
    return Crack(object, window, message, wParam, lParam);
}

LRESULT CALLBACK MdiChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        CREATESTRUCTA* create = (CREATESTRUCTA*)lParam;
        MDICREATESTRUCTA* mdiCreate = (MDICREATESTRUCTA*)create->lpCreateParams;
        CWindow* object = (CWindow*)mdiCreate->lParam;
        object->Bind(window);
        return object->OnNcCreate(create);
    }
    return WindowDispatch(window, message, wParam, lParam);
}
