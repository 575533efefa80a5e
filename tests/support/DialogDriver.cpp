#include "DialogDriver.h"

#include <vector>

namespace {

struct Search {
    const char* caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam)
{
    Search* search = (Search*)lParam;
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    if (search->processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->processId)
            return TRUE;
    }
    if (WindowText(window) != search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM lParam)
{
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        std::string text = WindowText(child);
        if (!text.empty())
            ((std::vector<std::string>*)lParam)->push_back(text);
    }
    return TRUE;
}

} // namespace

std::string WindowText(HWND window)
{
    char buffer[4096] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, (LPARAM)buffer, SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

HWND WaitForDialog(const char* caption, DWORD processId, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        Search search = {caption, processId, nullptr};
        EnumWindows(MatchDialog, (LPARAM)&search);
        if (search.found != nullptr)
            return search.found;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(20);
    }
}

std::string MessageBoxText(HWND box)
{
    // A message box's text is its static control 0xFFFF; the icon is a
    // static control too, but without text.
    HWND text = GetDlgItem(box, 0xFFFF);
    if (text != nullptr)
        return WindowText(text);
    std::vector<std::string> texts;
    EnumChildWindows(box, CollectStatic, (LPARAM)&texts);
    return texts.empty() ? std::string() : texts.front();
}

std::string ControlText(HWND dialog, int controlId)
{
    return WindowText(GetDlgItem(dialog, controlId));
}

void PressButton(HWND dialog, int buttonId)
{
    HWND button = GetDlgItem(dialog, buttonId);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), (LPARAM)button);
}

HWND FileNameField(HWND dialog)
{
    HWND field = GetDlgItem(dialog, 0x47c);
    return field ? field : GetDlgItem(dialog, 0x480);
}

HWND FindControl(HWND window, int controlId)
{
    HWND control = GetDlgItem(window, controlId);
    for (HWND child = nullptr; control == nullptr && (child = FindWindowExA(window, child, "#32770", nullptr));)
        control = GetDlgItem(child, controlId);
    return control;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

CDialogAnswer::CDialogAnswer(const char* caption, int buttonId, DWORD processId, DWORD timeoutMs, Action action,
                             void* context)
    : m_caption(caption), m_seen(false)
{
    m_thread = std::thread([this, buttonId, processId, timeoutMs, action, context] {
        HWND dialog = WaitForDialog(m_caption.c_str(), processId, timeoutMs);
        if (dialog == nullptr)
            return;
        m_text = MessageBoxText(dialog);
        if (action != nullptr)
            action(dialog, context);
        PressButton(dialog, buttonId);
        // Answered only once the dialog has gone, so that a second answer
        // for the same caption can never find this one again.
        WaitUntilGone(dialog);
        m_seen = true;
    });
}

bool CDialogAnswer::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_seen;
}

CDialogAnswer::~CDialogAnswer()
{
    Wait();
}
