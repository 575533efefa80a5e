// The full-screen window of class "INSTALLWND" behind everything the
// installer shows: the script's colours as one fill or a fade of 128 bands,
// and the script's title. Its first timer tick runs the wizard and the rest
// of the installation; its destruction ends the message loop.
#pragma once

#include "Drawing.h"
#include "Window.h"

class CSetupScript;

// The installation proper, which the application runs once the wizard has
// chosen a destination; the background only knows when.
class CInstallationRunner {
public:
    virtual void RunInstallation(HWND owner) = 0;

protected:
    ~CInstallationRunner() = default;
};

class CBackgroundWindow : public CWindow {
public:
    enum { kWizardTimer = 1 };

    // Without a runner the wizard's choices are left unused.
    explicit CBackgroundWindow(CSetupScript& script, CInstallationRunner* runner = nullptr);

    // "INSTALLWND": redrawn when resized, arrow cursor, icon 1, no brush.
    static int Register();
    // The screen-sized window with its title.
    int Create(const char* title);
    int Show(int showCommand);

    LRESULT OnCreate(CREATESTRUCTA* create) override;
    LRESULT OnPaint() override;
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnDestroy() override;

private:
    void PaintFade(CDrawContext& dc, const RECT& client, HGDIOBJ previousBrush);
    void PaintTitle(CDrawContext& dc);
    // After the wizard: the installation when there is a destination, then
    // the closing message chosen by the install status.
    void FinishRun();
    void ShowClosingMessage();

    CSetupScript& m_script;
    CInstallationRunner* m_runner;
};
