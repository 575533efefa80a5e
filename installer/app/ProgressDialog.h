// The progress dialog (template 134): it starts the worker that installs,
// shows the worker's steps and items, and asks before cancelling.
#pragma once

#include "FixedDialog.h"
#include "InstallProgress.h"
#include "WorkerGate.h"

class CInstallThread;
class CSetupScript;

class CProgressDialog : public CFixedDialog, public CInstallProgress {
public:
    // Posted by the worker when it has ended: the dialog closes itself a
    // moment later (timer 3). Timers belong to their window's own thread.
    enum { kWorkerEndedMessage = WM_APP + 1 };

    explicit CProgressDialog(CSetupScript& script);
    ~CProgressDialog() override;

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    LRESULT OnDestroy() override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Called by the worker; the controls are reached through messages.
    void SetRange(uint32_t steps) override;
    void Step() override;
    void SetStepText(const char* text) override;
    void SetItemText(const char* text) override;
    // Message boxes of the worker, owned by the dialog.
    int Ask(const char* text, const char* caption, UINT type) override;
    // As the user who started setup where the system allows it.
    void Open(const char* command) override;
    int AtItemBoundary() override { return m_gate.AtItemBoundary(); }

private:
    void StartWorker();
    void OnCancel();

    HWND m_progressBar;
    CInstallThread* m_worker;
    uint32_t m_stepMaximum;
    uint32_t m_stepsTaken;
    CWorkerGate m_gate;
    CSetupScript& m_script;
};
