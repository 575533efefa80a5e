// Ends the modal windows that the test thread still shows after a time, so
// that a driver that missed its dialog fails the test instead of leaving
// DoModal waiting for ever.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

class CDialogWatchdog {
public:
    explicit CDialogWatchdog(DWORD timeoutMs = 20000)
        : m_owner(GetCurrentThreadId()), m_done(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_fired(false)
    {
        m_watcher = std::thread([this, timeoutMs] {
            DWORD wait = timeoutMs;
            while (WaitForSingleObject(m_done, wait) == WAIT_TIMEOUT) {
                m_fired = true;
                EnumThreadWindows(m_owner, CloseDialog, 0);
                wait = 500;
            }
        });
    }

    ~CDialogWatchdog()
    {
        SetEvent(m_done);
        m_watcher.join();
        CloseHandle(m_done);
    }

    CDialogWatchdog(const CDialogWatchdog&) = delete;
    CDialogWatchdog& operator=(const CDialogWatchdog&) = delete;

    bool Fired() const { return m_fired; }

private:
    static BOOL CALLBACK CloseDialog(HWND window, LPARAM)
    {
        char className[16] = "";
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0) {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(window, WM_CLOSE, 0, 0);
            PostMessageA(window, WM_NULL, 0, 0);
        }
        return TRUE;
    }

    DWORD m_owner;
    HANDLE m_done;
    std::atomic<bool> m_fired;
    std::thread m_watcher;
};
