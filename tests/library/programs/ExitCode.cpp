// Runs a frame whose loop ends with WM_QUIT code 3; Finish answers 7, which
// must become the exit code. The module path goes to the file named on the
// command line.
#include <stdio.h>
#include <string.h>

#include "AppThread.h"
#include "Frame.h"

class CQuitFrame : public CFrameWindow {
public:
    LRESULT OnCreate(CREATESTRUCTA* create) override
    {
        PostQuitMessage(3);
        return CFrameWindow::OnCreate(create);
    }
};

class CExitCodeApp : public CWinApp {
public:
    CExitCodeApp() : CWinApp("ExitCode") {}
    int Start() override
    {
        FILE* out = fopen(GetCommandLine(), "w");
        if (out != nullptr) {
            fputs(GetModuleFileName(), out);
            fclose(out);
        }
        RegisterWindowClass("EXITCODEFRAME", 0, nullptr, (HBRUSH)(COLOR_WINDOW + 1), nullptr);
        m_started = m_frame.CreateAndRun("EXITCODEFRAME", "Exit code", WS_OVERLAPPEDWINDOW, nullptr, nullptr,
                                         nullptr, 0);
        return 0;
    }
    int Finish() override { return m_started == 1 ? 7 : 5; }

private:
    CQuitFrame m_frame;
    int m_started = 0;
};

static CExitCodeApp g_application;
