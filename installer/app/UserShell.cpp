#include "UserShell.h"

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <string>

namespace {

// Releases the interface it holds.
template <class Interface>
class CHeld {
public:
    CHeld() : m_pointer(nullptr) {}
    ~CHeld()
    {
        if (m_pointer != nullptr)
            m_pointer->Release();
    }
    CHeld(const CHeld&) = delete;
    CHeld& operator=(const CHeld&) = delete;

    Interface* operator->() const { return m_pointer; }
    Interface** Out() { return &m_pointer; }
    void** OutVoid() { return (void**)&m_pointer; }

private:
    Interface* m_pointer;
};

std::wstring Widened(const char* text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide((size_t)length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize((size_t)length - 1);
    return wide;
}

// The desktop window's shell view, reached through the shell windows that
// Explorer serves, hands out the shell's own automation object; what that
// object opens is started by Explorer, with Explorer's token.
HRESULT FindDesktopShell(CHeld<IShellDispatch2>& shell)
{
    CHeld<IShellWindows> windows;
    HRESULT result = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                      windows.OutVoid());
    if (FAILED(result))
        return result;
    VARIANT desktop, none;
    VariantInit(&desktop);
    VariantInit(&none);
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    long window = 0;
    CHeld<IDispatch> browserObject;
    result = windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, browserObject.Out());
    if (result != S_OK)
        return FAILED(result) ? result : E_FAIL;
    CHeld<IServiceProvider> services;
    CHeld<IShellBrowser> browser;
    CHeld<IShellView> view;
    CHeld<IDispatch> background;
    CHeld<IShellFolderViewDual> folderView;
    CHeld<IDispatch> application;
    if (FAILED(result = browserObject->QueryInterface(IID_IServiceProvider, services.OutVoid())) ||
        FAILED(result = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) ||
        FAILED(result = browser->QueryActiveShellView(view.Out())) ||
        FAILED(result = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) ||
        FAILED(result = background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) ||
        FAILED(result = folderView->get_Application(application.Out())))
        return result;
    return application->QueryInterface(IID_IShellDispatch2, shell.OutVoid());
}

HRESULT OpenThroughDesktop(const char* command)
{
    CHeld<IShellDispatch2> shell;
    HRESULT result = FindDesktopShell(shell);
    if (FAILED(result))
        return result;
    BSTR file = SysAllocString(Widened(command).c_str());
    if (file == nullptr)
        return E_OUTOFMEMORY;
    VARIANT none, show;
    VariantInit(&none);
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    result = shell->ShellExecute(file, none, none, none, show);
    SysFreeString(file);
    return result;
}

// Whether the process runs with an elevated token (false before Windows
// Vista, where there is no elevation).
bool IsProcessElevated()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    BOOL known = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return known && elevation.TokenIsElevated != 0;
}
} // namespace

void OpenForUser(HWND owner, const char* command)
{
    if (IsProcessElevated() && SUCCEEDED(OpenThroughDesktop(command)))
        return;
    ShellExecuteA(owner, nullptr, command, nullptr, nullptr, SW_SHOWNORMAL);
}
