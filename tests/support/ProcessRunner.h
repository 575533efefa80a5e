// Starts programs of the build as processes of their own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CChildProcess {
public:
    CChildProcess() : m_info() {}
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts the program (a path, or a name beside the test executable)
    // with the given argument text.
    bool Start(const std::string& program, const std::string& arguments = std::string(),
               const char* directory = nullptr);
    // Waits for the end; answers the exit code, or -1 on a time-out.
    long Wait(DWORD timeoutMs = 20000);
    void Kill();
    DWORD GetProcessId() const { return m_info.dwProcessId; }
    HANDLE GetProcess() const { return m_info.hProcess; }
    // The first visible top-level window of the process with this class.
    HWND WaitForWindow(const char* className, DWORD timeoutMs = 10000) const;
    // Every visible top-level window of the process with this class, now.
    std::vector<HWND> FindWindows(const char* className) const;

private:
    PROCESS_INFORMATION m_info;
};
