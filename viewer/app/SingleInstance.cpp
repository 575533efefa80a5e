#include "SingleInstance.h"

#include <string.h>

#include "AppThread.h"
#include "DataFileLocation.h"
#include "resource.h"

const char* const CSingleInstance::kListenerClass = "VellmoraInstance";

// Paths differ in letter case only as names of the same file; the name is a
// hash of the lowered path, since kernel object names cannot hold
// backslashes and are limited in length.
void CSingleInstance::MakeInstanceName(const char* dataFile, CText& name)
{
    CText lowered(dataFile);
    CharLowerA((char*)lowered.GetString());
    unsigned long long hash = 14695981039346656037ull;
    for (const char* c = lowered.GetString(); *c != 0; c++)
        hash = (hash ^ (unsigned char)*c) * 1099511628211ull;
    name.Format("Vellmora.Instance.%08lX%08lX", (unsigned long)(hash >> 32), (unsigned long)hash);
}

CSingleInstance::ClaimResult CSingleInstance::Claim(const char* dataFile, const char* commandLine)
{
    Release();
    MakeInstanceName(dataFile, m_name);
    CText sessionName("Local\\");
    sessionName.Append(m_name);
    m_mutex = CreateMutexA(nullptr, TRUE, sessionName.GetString());
    // Systems without session namespaces know no "Local\" prefix.
    if (m_mutex == nullptr)
        m_mutex = CreateMutexA(nullptr, TRUE, m_name.GetString());
    if (m_mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS)
        return kClaimed;

    DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < kAnswerTimeout; waited = GetTickCount() - start) {
        // The running one may be just ending: then this start takes over
        // the book it has written.
        DWORD state = WaitForSingleObject(m_mutex, 0);
        if (state == WAIT_OBJECT_0 || state == WAIT_ABANDONED)
            return kClaimed;
        HWND listener = FindWindowExA(HWND_MESSAGE, nullptr, kListenerClass, m_name.GetString());
        if (listener != nullptr && HandOver(listener, commandLine, kAnswerTimeout - waited))
            return kHandedOver;
        Sleep(kPollDelay);
    }
    CloseHandle(m_mutex);
    m_mutex = nullptr;
    return kNoAnswer;
}

int CSingleInstance::HandOver(HWND listener, const char* commandLine, DWORD timeoutMs)
{
    COPYDATASTRUCT data;
    data.dwData = kHandOverTag;
    data.cbData = (DWORD)strlen(commandLine) + 1;
    data.lpData = (void*)commandLine;
    // The user started this one, so it may lend the foreground to the frame.
    DWORD processId = 0;
    GetWindowThreadProcessId(listener, &processId);
    AllowSetForegroundWindow(processId);
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(listener, WM_COPYDATA, 0, (LPARAM)&data, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs,
                               &answer) != 0 &&
           answer != 0;
}

int CSingleInstance::Listen(HWND frame)
{
    static ATOM registered = 0;
    if (registered == 0) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ListenerProc;
        windowClass.hInstance = GetModuleInstance();
        windowClass.lpszClassName = kListenerClass;
        registered = RegisterClassExA(&windowClass);
    }
    if (m_mutex == nullptr || m_listener != nullptr)
        return 0;
    m_listener = CreateWindowExA(0, kListenerClass, m_name.GetString(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleInstance(), nullptr);
    if (m_listener == nullptr)
        return 0;
    SetWindowLongPtrA(m_listener, GWLP_USERDATA, (LONG_PTR)frame);
    return 1;
}

LRESULT CALLBACK CSingleInstance::ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return DefWindowProcA(window, message, wParam, lParam);
    HWND frame = (HWND)GetWindowLongPtrA(window, GWLP_USERDATA);
    return frame != nullptr && IsWindow(frame) ? SendMessageA(frame, WM_COPYDATA, wParam, lParam) : FALSE;
}

void CSingleInstance::Release()
{
    if (m_listener != nullptr)
        DestroyWindow(m_listener);
    m_listener = nullptr;
    if (m_mutex != nullptr) {
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }
    m_mutex = nullptr;
}

void CSingleInstance::ReportNoAnswer(const char* dataFile)
{
    CText text;
    text.FormatResource(IDS_INSTANCE_NO_ANSWER, dataFile);
    CDataFileLocation::ShowMessage(text);
}

int CSingleInstance::ReadHandOver(LPARAM copyData, CText& commandLine)
{
    const COPYDATASTRUCT* data = (const COPYDATASTRUCT*)copyData;
    if (data == nullptr || data->dwData != kHandOverTag)
        return 0;
    // The text need not end in a zero: only its bytes up to one count.
    const char* text = (const char*)data->lpData;
    DWORD length = 0;
    while (text != nullptr && length < data->cbData && text[length] != 0)
        length++;
    commandLine.AssignPart(text ? text : "", (int)length);
    return 1;
}
