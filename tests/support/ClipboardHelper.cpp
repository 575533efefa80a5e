#include "ClipboardHelper.h"

#include <string.h>

namespace {

const char kOwnerClass[] = "VellmoraTestClipboardOwner";
// Sent to the owner window: lParam points to the work to run there.
const UINT kRunWork = WM_APP + 1;

typedef std::function<bool(HWND)> Work;

bool RegisterOwnerClass(WNDPROC procedure)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kOwnerClass;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool PutEntries(HWND owner, const std::vector<ClipboardEntry>& entries)
{
    if (!OpenClipboardRetry(owner)) {
        for (const ClipboardEntry& entry : entries)
            FreeClipboardHandle(entry.format, entry.handle);
        return false;
    }
    bool all = EmptyClipboard() != 0;
    for (const ClipboardEntry& entry : entries) {
        if (SetClipboardData(entry.format, entry.handle) == nullptr && entry.handle != nullptr) {
            FreeClipboardHandle(entry.format, entry.handle);
            all = false;
        }
    }
    return CloseClipboard() != 0 && all;
}

bool EmptyAs(HWND owner)
{
    if (!OpenClipboardRetry(owner))
        return false;
    bool emptied = EmptyClipboard() != 0;
    return CloseClipboard() != 0 && emptied;
}

} // namespace

bool OpenClipboardRetry(HWND owner, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (OpenClipboard(owner))
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(5);
    }
}

CForeignClipboardOwner::CForeignClipboardOwner() : m_window(nullptr)
{
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread(&CForeignClipboardOwner::ThreadMain, this, ready);
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
}

CForeignClipboardOwner::~CForeignClipboardOwner()
{
    if (m_window != nullptr)
        PostMessageA(m_window, WM_CLOSE, 0, 0);
    if (m_thread.joinable())
        m_thread.join();
}

void CForeignClipboardOwner::ThreadMain(HANDLE ready)
{
    if (RegisterOwnerClass(&CForeignClipboardOwner::WindowProc)) {
        m_window = CreateWindowExA(0, kOwnerClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), this);
    }
    SetEvent(ready);
    if (m_window == nullptr)
        return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LRESULT CALLBACK CForeignClipboardOwner::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        CREATESTRUCTA* create = (CREATESTRUCTA*)lParam;
        SetWindowLongPtrA(window, GWLP_USERDATA, (LONG_PTR)create->lpCreateParams);
    }
    CForeignClipboardOwner* self = (CForeignClipboardOwner*)GetWindowLongPtrA(window, GWLP_USERDATA);
    switch (message) {
    case kRunWork:
        return (*(const Work*)lParam)(window) ? 1 : 0;
    case WM_RENDERFORMAT:
        if (self != nullptr) {
            self->m_renderRequests.push_back((UINT)wParam);
            HANDLE handle = self->m_renderer ? self->m_renderer((UINT)wParam) : nullptr;
            if (handle != nullptr && SetClipboardData((UINT)wParam, handle) == nullptr)
                FreeClipboardHandle((UINT)wParam, handle);
        }
        return 0;
    case WM_RENDERALLFORMATS:
        // Unrendered formats are dropped when this owner goes.
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool CForeignClipboardOwner::Run(const std::function<bool(HWND)>& work)
{
    if (m_window == nullptr)
        return false;
    // Sent, so the caller waits for the work; sent messages to the caller's
    // own windows (the viewer chain) are still delivered meanwhile.
    return SendMessageA(m_window, kRunWork, 0, (LPARAM)&work) != 0;
}

bool CForeignClipboardOwner::Put(const std::vector<ClipboardEntry>& entries)
{
    if (m_window == nullptr) {
        for (const ClipboardEntry& entry : entries)
            FreeClipboardHandle(entry.format, entry.handle);
        return false;
    }
    return Run([&entries](HWND owner) { return PutEntries(owner, entries); });
}

bool CForeignClipboardOwner::Empty()
{
    return Run([](HWND owner) { return EmptyAs(owner); });
}

bool PutOnClipboard(const std::vector<ClipboardEntry>& entries)
{
    CForeignClipboardOwner owner;
    return owner.Put(entries);
}

bool PutTextOnClipboard(const char* text)
{
    HGLOBAL block = MakeTextBlock(text);
    return block != nullptr && PutOnClipboard({{CF_TEXT, block}});
}

bool EmptyClipboardAsOther()
{
    CForeignClipboardOwner owner;
    return owner.Empty();
}

HGLOBAL MakeGlobalBlock(const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (block == nullptr || size == 0)
        return block;
    void* target = GlobalLock(block);
    if (target == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    memcpy(target, bytes, size);
    GlobalUnlock(block);
    return block;
}

HGLOBAL MakeTextBlock(const char* text)
{
    return MakeGlobalBlock(text, strlen(text) + 1);
}

void FreeClipboardHandle(UINT format, HANDLE handle)
{
    if (handle == nullptr)
        return;
    switch (format) {
    case CF_BITMAP:
    case CF_PALETTE:
        DeleteObject(handle);
        break;
    case CF_ENHMETAFILE:
        DeleteEnhMetaFile((HENHMETAFILE)handle);
        break;
    case CF_METAFILEPICT: {
        METAFILEPICT* picture = (METAFILEPICT*)GlobalLock(handle);
        if (picture != nullptr) {
            if (GlobalSize(handle) >= sizeof(METAFILEPICT) && picture->hMF != nullptr)
                DeleteMetaFile(picture->hMF);
            GlobalUnlock(handle);
        }
        GlobalFree(handle);
        break;
    }
    default:
        GlobalFree(handle);
        break;
    }
}

std::vector<UINT> ClipboardFormats()
{
    std::vector<UINT> formats;
    CClipboardLock lock(nullptr);
    if (!lock.IsOpen())
        return formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
        formats.push_back(format);
    return formats;
}

bool ClipboardHasFormat(UINT format)
{
    for (UINT present : ClipboardFormats())
        if (present == format)
            return true;
    return false;
}

bool ReadClipboardBlock(UINT format, std::string* bytes)
{
    bytes->clear();
    CClipboardLock lock(nullptr);
    if (!lock.IsOpen())
        return false;
    HANDLE handle = GetClipboardData(format);
    if (handle == nullptr)
        return false;
    SIZE_T size = GlobalSize(handle);
    if (size == 0)
        return false;
    const char* data = (const char*)GlobalLock(handle);
    if (data == nullptr)
        return false;
    bytes->assign(data, size);
    GlobalUnlock(handle);
    return true;
}
