#include "ProcessRunner.h"

#include <vector>

#include "TestApp.h"

CChildProcess::~CChildProcess()
{
    if (m_info.hProcess != nullptr) {
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            Kill();
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
}

bool CChildProcess::Start(const std::string& program, const std::string& arguments, const char* directory)
{
    std::string path = program.find('\\') == std::string::npos ? TestBinaryDirectory() + program : program;
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup,
                          &m_info) != 0;
}

long CChildProcess::Wait(DWORD timeoutMs)
{
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return (long)code;
}

void CChildProcess::Kill()
{
    TerminateProcess(m_info.hProcess, 99);
    WaitForSingleObject(m_info.hProcess, 5000);
}

namespace {
struct WindowSearch {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    WindowSearch* search = (WindowSearch*)lParam;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[128] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && IsWindowVisible(window) && lstrcmpA(className, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> CChildProcess::FindWindows(const char* className) const
{
    WindowSearch search = {m_info.dwProcessId, className, {}};
    EnumWindows(MatchWindow, (LPARAM)&search);
    return search.found;
}

HWND CChildProcess::WaitForWindow(const char* className, DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = FindWindows(className);
        if (!found.empty())
            return found.front();
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(20);
    }
}
