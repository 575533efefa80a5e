// The application object, the thread object, the process-wide accessors and
// the message loop.
#pragma once

#include <windows.h>

class CWindow;

class CThread {
public:
    CThread();
    virtual ~CThread();
    virtual int Start();
    virtual int Proceed();
    virtual int Finish();
    virtual CWindow* GetMainWindow();
    virtual void SpareHook();

    // Runs Start and then Finish on a new thread.
    int Begin(DWORD creationFlags = 0, SIZE_T stackSize = 0, SECURITY_ATTRIBUTES* security = nullptr);
    int Kill(DWORD exitCode);
    int IsRunning() const;

    void SetMainWindow(CWindow* window) { m_mainWindow = window; }
    void SetAutoDelete(int autoDelete) { m_autoDelete = autoDelete; }
    DWORD GetThreadId() const { return m_threadId; }
    HANDLE GetThreadHandle() const { return m_threadHandle; }

protected:
    CWindow* m_mainWindow;
    DWORD m_threadId;
    int m_autoDelete;
    HANDLE m_threadHandle;

private:
    static DWORD WINAPI ThreadRoutine(void* parameter);
};

class CWinApp : public CThread {
public:
    explicit CWinApp(const char* applicationName);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    ~CWinApp() override;
    virtual int Prepare();

    HINSTANCE GetInstance() const { return m_instance; }
    const char* GetCommandLine() const { return m_commandLine; }
    int GetShowCommand() const { return m_showCommand; }
    const char* GetApplicationName() const { return m_applicationName; }
    const char* GetModuleFileName() const { return m_moduleFileName ? m_moduleFileName : ""; }

    // What the program entry does: fills the instance fields, runs Prepare,
    // Start and Finish, and answers Finish's result as the exit code.
    int Run(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);

protected:
    HINSTANCE m_instance;
    HINSTANCE m_previousInstance;
    char* m_commandLine;
    int m_showCommand;
    const char* m_applicationName;
    char* m_moduleFileName;
};

CWinApp* GetApp();
CWindow* GetAppMainWindow();
HINSTANCE GetAppInstance();
HINSTANCE GetModuleInstance();
HANDLE LoadImageResource(const char* name, UINT type, int cx, int cy, UINT flags);
HMENU LoadMenuResource(const char* name);
int LoadStringResource(UINT id, char* buffer, int size);
HICON LoadIconResource(UINT id);
HBITMAP LoadBitmapResource(const char* name);

// Process-wide error reporter; negative codes switch its behaviour, see
// AppThread.cpp.
int LibraryError(int code);

// Runs GetMessage/Translate/Dispatch until WM_QUIT; returns 1.
int RunMessageLoop(HWND frame, HACCEL accelerators);

// The entry point's work, callable from a WinMain of any program.
int RunProgramEntry(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);
