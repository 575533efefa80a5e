// Puts data on the real clipboard as another owner, empties it, reads it
// back, and opens it with the short retry that a clipboard held for a moment
// by another thread needs.
//
// The other owner is a hidden window on a thread of its own, so the code
// under test sees what it would see after another program's copy: a
// clipboard owner that is not one of its windows, WM_DRAWCLIPBOARD in the
// viewer chain, and an EmptyClipboard that deletes what that owner put.
//
// Typical use:
//     ASSERT_TRUE(PutTextOnClipboard("hello"));
//     ... code under test copies the clipboard ...
//     ASSERT_TRUE(EmptyClipboardAsOther());
//     CClipboardLock lock(nullptr);
//     ASSERT_TRUE(lock.IsOpen());
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

// One format to put: the clipboard takes ownership of the handle when it
// accepts it; a handle it refuses is freed by the helper. A null handle asks
// for delayed rendering (see CForeignClipboardOwner::SetRenderer).
struct ClipboardEntry {
    UINT format;
    HANDLE handle;
};

// OpenClipboard, retried for up to timeoutMs while another thread holds it.
bool OpenClipboardRetry(HWND owner, DWORD timeoutMs = 1000);

// Opens the clipboard (with retry) for its lifetime.
class CClipboardLock {
public:
    explicit CClipboardLock(HWND owner, DWORD timeoutMs = 1000) : m_open(OpenClipboardRetry(owner, timeoutMs)) {}
    ~CClipboardLock() { if (m_open) CloseClipboard(); }
    CClipboardLock(const CClipboardLock&) = delete;
    CClipboardLock& operator=(const CClipboardLock&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

// A clipboard owner on a thread of its own, alive as long as the object.
class CForeignClipboardOwner {
public:
    CForeignClipboardOwner();
    ~CForeignClipboardOwner();
    CForeignClipboardOwner(const CForeignClipboardOwner&) = delete;
    CForeignClipboardOwner& operator=(const CForeignClipboardOwner&) = delete;

    HWND GetWindow() const { return m_window; }
    // Opens the clipboard as this owner, empties it, puts the entries in
    // order and closes it. True when every entry was accepted.
    bool Put(const std::vector<ClipboardEntry>& entries);
    // Opens the clipboard as this owner, empties it and closes it.
    bool Empty();
    // Runs work on the owner's thread (the clipboard is not opened).
    bool Run(const std::function<bool(HWND owner)>& work);
    // Answers WM_RENDERFORMAT for entries put with a null handle: the
    // renderer makes the handle for a format (null: nothing is rendered).
    void SetRenderer(const std::function<HANDLE(UINT format)>& renderer) { m_renderer = renderer; }
    // Formats asked for with WM_RENDERFORMAT so far, in order.
    std::vector<UINT> RenderRequests() const { return m_renderRequests; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ThreadMain(HANDLE ready);

    HWND m_window;
    std::thread m_thread;
    std::function<HANDLE(UINT)> m_renderer;
    std::vector<UINT> m_renderRequests;
};

// The same through a short-lived owner: the data stays on the clipboard
// after that owner's window is gone.
bool PutOnClipboard(const std::vector<ClipboardEntry>& entries);
bool PutTextOnClipboard(const char* text);
bool EmptyClipboardAsOther();

// A moveable global block holding a copy of the bytes (a zero size gives a
// block of size 0). Null on failure.
HGLOBAL MakeGlobalBlock(const void* bytes, size_t size);
HGLOBAL MakeTextBlock(const char* text);
// Frees what a clipboard handle of this format owns (global block, bitmap,
// palette, enhanced metafile, metafile picture with its metafile).
void FreeClipboardHandle(UINT format, HANDLE handle);

// The formats on the clipboard in EnumClipboardFormats order.
std::vector<UINT> ClipboardFormats();
bool ClipboardHasFormat(UINT format);
// The bytes of a global-memory format (GlobalSize bytes). False when the
// format is missing or is not global memory.
bool ReadClipboardBlock(UINT format, std::string* bytes);
