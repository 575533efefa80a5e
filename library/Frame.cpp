#include "Frame.h"

#include "AppThread.h"

CFrameWindow::~CFrameWindow()
{
    if (m_menu != nullptr && DestroyMenu(m_menu))
        m_menu = nullptr;
    if (m_accelerators != nullptr && DestroyAcceleratorTable(m_accelerators))
        m_accelerators = nullptr;
}

LRESULT CFrameWindow::OnCreate(CREATESTRUCTA* create)
{
    if (DefaultProc(WM_CREATE, 0, (LPARAM)create) == -1)
        return -1;
    return OnCreateHook(create) ? 0 : -1;
}

LRESULT CFrameWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

int CFrameWindow::OnCreateHook(CREATESTRUCTA* create) { return 1; }

int CFrameWindow::Show(int showCommand) { return ShowWindow(m_hWnd, showCommand); }

int CFrameWindow::LoadAccelerators(const char* tableName)
{
    m_accelerators = ::LoadAcceleratorsA(GetModuleInstance(), tableName);
    return m_accelerators != nullptr;
}

int CFrameWindow::CreateFrame(const char* className, const char* title, DWORD style, const RECT* rect, HWND parent,
                              const char* menuName, DWORD exStyle)
{
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    if (rect != nullptr) {
        x = rect->left;
        y = rect->top;
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }
    if (menuName != nullptr)
        m_menu = LoadMenuResource(menuName);
    HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, m_menu,
                                  GetAppInstance(), this);
    if (window == nullptr)
        return 0;
    ShowWindow(window, SW_SHOWDEFAULT);
    UpdateWindow(window);
    return 1;
}

int CFrameWindow::CreateAndRun(const char* className, const char* title, DWORD style, const RECT* rect,
                               HWND parent, const char* menuName, DWORD exStyle)
{
    if (!CreateFrame(className, title, style, rect, parent, menuName, exStyle))
        return 0;
    return RunMessageLoop(m_hWnd, m_accelerators);
}

LRESULT CMdiFrame::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    HWND child = GetActiveChild();
    if (child != nullptr && SendMessageA(child, WM_COMMAND, wParam, (LPARAM)control) != 0)
        return 1;
    if (CFrameWindow::OnCommand(wParam, code, control) != 0)
        return 1;
    if (control == nullptr && LOWORD(wParam) >= 0xF000) {
        DefFrameProcA(m_hWnd, m_client, WM_COMMAND, wParam, (LPARAM)control);
        return 1;
    }
    return 0;
}

LRESULT CMdiFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCACTIVATE) {
        HWND child = GetActiveChild();
        if (child != nullptr)
            SendMessageA(child, WM_NCACTIVATE, wParam, lParam);
    }
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

int CMdiFrame::OnCreateHook(CREATESTRUCTA* create)
{
    CFrameWindow::OnCreateHook(create);
    HMENU menu = ::GetMenu(m_hWnd);
    HMENU windowMenu = menu ? GetSubMenu(menu, GetMenuItemCount(menu) - 2) : nullptr;
    return CreateClient(create, windowMenu);
}

int CMdiFrame::CreateClient(CREATESTRUCTA* create, HMENU windowMenu)
{
    CLIENTCREATESTRUCT clientCreate;
    clientCreate.hWindowMenu = windowMenu;
    clientCreate.idFirstChild = kFirstChildId;

    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | MDIS_ALLCHILDSTYLES;
    DWORD scrollBars = (DWORD)create->style & (WS_HSCROLL | WS_VSCROLL);
    if (scrollBars != 0) {
        ModifyStyle(scrollBars, 0, SWP_FRAMECHANGED | SWP_NOREDRAW);
        style |= scrollBars;
    }
    m_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, style, 0, 0, 0, 0, m_hWnd,
                               (HMENU)(UINT_PTR)kClientId, GetAppInstance(), &clientCreate);
    if (m_client == nullptr)
        return 0;
    BringWindowToTop(m_client);
    return 1;
}

HMENU CMdiFrame::FindWindowMenu(HMENU menu)
{
    if (menu == nullptr)
        return nullptr;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; i--) {
        HMENU popup = GetSubMenu(menu, i);
        if (popup == nullptr)
            continue;
        for (int k = 0, count = GetMenuItemCount(popup); k < count; k++) {
            UINT id = GetMenuItemID(popup, k);
            if (id > 0xE130 - 1 && id < 0xE13F + 1)
                return popup;
        }
    }
    return nullptr;
}

LRESULT CMdiFrame::OnMdiActivate(HWND activated, HWND deactivated) { return 0; }

HWND CMdiFrame::GetActiveView()
{
    HWND child = GetActiveChild();
    return child ? child : m_hWnd;
}

void CMdiFrame::SpareFrameHook() {}

HWND CMdiFrame::GetActiveChild(BOOL* maximized) const
{
    BOOL isMaximized = FALSE;
    HWND child = m_client ? (HWND)SendMessageA(m_client, WM_MDIGETACTIVE, 0, (LPARAM)&isMaximized) : nullptr;
    if (child == nullptr || !(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE)) {
        child = nullptr;
        isMaximized = FALSE;
    }
    if (maximized != nullptr)
        *maximized = isMaximized;
    return child;
}

int CMdiChild::Create(const char* className, const char* title, DWORD style, const RECT* rect, CMdiFrame* frame)
{
    m_frame = frame ? frame : (CMdiFrame*)GetAppMainWindow();

    MDICREATESTRUCTA create;
    create.szClass = className;
    create.szTitle = title;
    create.hOwner = GetModuleInstance();
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    if (rect != nullptr) {
        create.x = rect->left;
        create.y = rect->top;
        create.cx = rect->right - rect->left;
        create.cy = rect->bottom - rect->top;
    }
    create.style = style & ~(WS_VISIBLE | WS_MAXIMIZE);
    create.lParam = (LPARAM)this;

    HWND client = m_frame->GetClient();
    HWND window = (HWND)SendMessageA(client, WM_MDICREATE, 0, (LPARAM)&create);
    if (window == nullptr)
        return 0;
    if (style & WS_VISIBLE) {
        BringWindowToTop(window);
        int command = (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        ShowWindow(window, command);
        SendMessageA(client, WM_MDIACTIVATE, (WPARAM)window, 0);
        SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
    }
    return 1;
}

int CMdiChild::Show(int showCommand)
{
    BOOL wasVisible = IsWindowVisible(m_hWnd);
    LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    if (showCommand == -1) {
        BOOL activeMaximized = FALSE;
        m_frame->GetActiveChild(&activeMaximized);
        if (activeMaximized || (style & WS_MAXIMIZE))
            showCommand = SW_SHOWMAXIMIZED;
        else if (style & WS_MINIMIZE)
            showCommand = SW_SHOWMINIMIZED;
    }
    ShowWindow(m_hWnd, showCommand);
    HWND client = m_frame->GetClient();
    SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);

    BOOL isVisible = IsWindowVisible(m_hWnd);
    if (isVisible == wasVisible)
        return 1;
    if (isVisible) {
        OnMdiActivate(m_hWnd, nullptr);
    } else if ((HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0) == m_hWnd) {
        SendMessageA(client, WM_MDINEXT, 0, 0);
        if ((HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0) == m_hWnd)
            OnMdiActivate(nullptr, m_hWnd);
    }
    return 1;
}

int CMdiChild::Destroy()
{
    if (m_hWnd == nullptr || !IsWindow(m_hWnd))
        return 0;
    // MDI destruction may change the frame's style (a maximized child's
    // system menu); the frame keeps the style it had.
    HWND frame = m_frame->GetHandle();
    LONG_PTR frameStyle = GetWindowLongPtrA(frame, GWL_STYLE);
    SetWindowLongPtrA(frame, GWL_STYLE, frameStyle);
    SendMessageA(m_frame->GetClient(), WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
    if (IsWindow(frame))
        SetWindowLongPtrA(frame, GWL_STYLE, frameStyle);
    return 1;
}

LRESULT CMdiChild::OnDestroy()
{
    UpdateClientEdge();
    return CFrameWindow::OnDestroy();
}

LRESULT CMdiChild::OnMouseActivate(HWND topLevel, UINT hitTest, UINT mouseMessage)
{
    LRESULT result = CFrameWindow::OnMouseActivate(topLevel, hitTest, mouseMessage);
    if (result != MA_NOACTIVATE && result != MA_NOACTIVATEANDEAT) {
        HWND client = m_frame->GetClient();
        if ((HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0) != m_hWnd)
            SendMessageA(client, WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
    }
    return result;
}

LRESULT CMdiChild::OnWindowPosChanging(WINDOWPOS* position)
{
    if (!(position->flags & SWP_NOSIZE)) {
        RECT clientRect;
        if (UpdateClientEdge(&clientRect) && (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_MAXIMIZE)) {
            AdjustWindowRectEx(&clientRect, (DWORD)GetWindowLongPtrA(m_hWnd, GWL_STYLE), FALSE,
                               (DWORD)GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE));
            position->x = clientRect.left;
            position->y = clientRect.top;
            position->cx = clientRect.right - clientRect.left;
            position->cy = clientRect.bottom - clientRect.top;
        }
    }
    return CFrameWindow::OnWindowPosChanging(position);
}

LRESULT CMdiChild::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

int CMdiChild::OnCreateHook(CREATESTRUCTA* create) { return 1; }
void CMdiChild::SpareChildHook() {}

LRESULT CMdiChild::OnMdiActivate(HWND activated, HWND deactivated)
{
    UpdateClientEdge();
    return 0;
}

int CMdiChild::UpdateClientEdge(RECT* clientRect)
{
    if (m_frame == nullptr)
        return 0;
    HWND client = m_frame->GetClient();
    HWND active = (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0);
    if (active != nullptr && active != m_hWnd)
        return 0;

    LONG_PTR exStyle = GetWindowLongPtrA(client, GWL_EXSTYLE);
    LONG_PTR ownExStyle = GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    BOOL maximized = (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_MAXIMIZE) != 0;
    BOOL wantEdge = active == nullptr || (ownExStyle & WS_EX_CLIENTEDGE) || !maximized;
    LONG_PTR wanted = wantEdge ? (exStyle | WS_EX_CLIENTEDGE) : (exStyle & ~(LONG_PTR)WS_EX_CLIENTEDGE);
    if (wanted == exStyle)
        return 0;

    RedrawWindow(client, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    SetWindowLongPtrA(client, GWL_EXSTYLE, wanted);
    SetWindowPos(client, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOCOPYBITS);
    if (clientRect != nullptr)
        GetClientRect(client, clientRect);
    return 1;
}
