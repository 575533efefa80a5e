#include "AppThread.h"

#include <stdlib.h>
#include <string.h>

#include "Window.h"

static CWinApp* g_application = nullptr;
static HINSTANCE g_moduleInstance = nullptr;

CThread::CThread() : m_mainWindow(nullptr), m_threadId(0), m_autoDelete(0), m_threadHandle(nullptr) {}

CThread::~CThread()
{
    if (m_threadHandle != nullptr) {
        CloseHandle(m_threadHandle);
        m_threadHandle = nullptr;
    }
}

int CThread::Start() { return 0; }
int CThread::Proceed() { return 0; }

int CThread::Finish()
{
    if (m_autoDelete)
        delete this;
    return 1;
}

CWindow* CThread::GetMainWindow() { return m_mainWindow; }
void CThread::SpareHook() {}

DWORD WINAPI CThread::ThreadRoutine(void* parameter)
{
    CThread* thread = (CThread*)parameter;
    thread->Start();
    return (DWORD)thread->Finish();
}

int CThread::Begin(DWORD creationFlags, SIZE_T stackSize, SECURITY_ATTRIBUTES* security)
{
    DWORD id = 0;
    HANDLE handle = CreateThread(security, stackSize, ThreadRoutine, this, creationFlags, &id);
    if (handle == nullptr)
        return 0;
    m_threadId = id;
    m_threadHandle = handle;
    return 1;
}

int CThread::Kill(DWORD exitCode)
{
    if (!TerminateThread(m_threadHandle, exitCode))
        return 0;
    if (m_autoDelete)
        delete this;
    return 1;
}

int CThread::IsRunning() const
{
    if (m_threadHandle == nullptr)
        return 0;
    DWORD code = 0;
    return GetExitCodeThread(m_threadHandle, &code) && code == STILL_ACTIVE;
}

CWinApp::CWinApp(const char* applicationName)
    : m_instance(nullptr), m_previousInstance(nullptr), m_commandLine(nullptr), m_showCommand(0),
      m_applicationName(applicationName), m_moduleFileName(nullptr)
{
    if (g_application != nullptr) {
        MessageBoxA(nullptr, "You can only create one CWinApp paced class.", "Program Error", MB_ICONERROR);
        g_application = nullptr;
        return;
    }
    g_application = this;
    m_threadHandle = GetCurrentThread();
    m_threadId = GetCurrentThreadId();
}

CWinApp::~CWinApp()
{
    free(m_moduleFileName);
    m_moduleFileName = nullptr;
    // The pseudo handle of the current thread must not be closed.
    m_threadHandle = nullptr;
    m_threadId = 0;
}

int CWinApp::Prepare() { return 0; }

int CWinApp::Run(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand)
{
    m_instance = instance;
    g_moduleInstance = instance;
    m_previousInstance = previous;
    m_commandLine = commandLine;
    m_showCommand = showCommand;

    char path[MAX_PATH + 1];
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[length < MAX_PATH ? length : MAX_PATH] = 0;
    free(m_moduleFileName);
    m_moduleFileName = (char*)malloc(length + 2);
    if (m_moduleFileName != nullptr)
        memcpy(m_moduleFileName, path, strlen(path) + 1);

    Prepare();
    Start();
    return Finish();
}

int RunProgramEntry(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand)
{
    if (g_application == nullptr) {
        MessageBoxA(nullptr, "You have to create CWinApp baced class.", "Program Error", MB_ICONERROR);
        return 1;
    }
    return g_application->Run(instance, previous, commandLine, showCommand);
}

CWinApp* GetApp() { return g_application; }
CWindow* GetAppMainWindow() { return g_application->GetMainWindow(); }
HINSTANCE GetAppInstance() { return g_application ? g_application->GetInstance() : g_moduleInstance; }
HINSTANCE GetModuleInstance() { return g_moduleInstance; }

HANDLE LoadImageResource(const char* name, UINT type, int cx, int cy, UINT flags)
{
    return LoadImageA(g_moduleInstance, name, type, cx, cy, flags);
}

HMENU LoadMenuResource(const char* name) { return LoadMenuA(g_moduleInstance, name); }

int LoadStringResource(UINT id, char* buffer, int size)
{
    return LoadStringA(g_moduleInstance, id, buffer, size);
}

HICON LoadIconResource(UINT id) { return LoadIconA(g_moduleInstance, MAKEINTRESOURCEA(id)); }
HBITMAP LoadBitmapResource(const char* name) { return LoadBitmapA(g_moduleInstance, name); }

int LibraryError(int code)
{
    static int lastError = 0;
    static int quitOnError = 0;
    static int showMessage = 0;

    switch (code) {
    case -1: quitOnError = 1; return lastError;
    case -2: quitOnError = 0; return lastError;
    case -3: showMessage = 1; return lastError;
    case -4: showMessage = 0; return lastError;
    default: break;
    }
    lastError = code;
    if (code == 0)
        return 0;
    if (showMessage) {
        static const char* const texts[] = {
            "Error to alllocate memory", "Error to read file", "Error to write file", "Error to create file",
            "Error to open file", "Unexpected end of file", "Corrupt",
        };
        const char* text = (code >= 2 && code <= 8) ? texts[code - 2] : "Unknown error";
        MessageBoxA(nullptr, text, "Error", MB_ICONERROR);
    }
    if (quitOnError) {
        PostQuitMessage(code);
        ExitProcess((UINT)code);
    }
    return code;
}

int RunMessageLoop(HWND frame, HACCEL accelerators)
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (accelerators != nullptr && TranslateAcceleratorA(frame, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 1;
}
