// The installer's application object: the run sequence from the preparing
// dialog to the restart of Windows. The exit code is always 0.
#pragma once

#include "AppThread.h"
#include "BackgroundWindow.h"

class CSetupScript;

class CInstallApp : public CWinApp, private CInstallationRunner {
public:
    explicit CInstallApp(CSetupScript& script);

    // Before anything else: the search for libraries limited to the system
    // folder, and the common controls loaded from there.
    int Prepare() override;
    int Start() override;
    int Finish() override { return 0; }

private:
    void ShowBackground();
    // The progress dialog and its worker, over the background.
    void RunInstallation(HWND owner) override;

    CSetupScript& m_script;
};

// Enables the shutdown privilege where it can and asks Windows to restart.
void RestartWindows();
