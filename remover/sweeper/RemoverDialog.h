// The removal program's progress dialog: a label and a bar for each of the
// four steps, and Cancel. It starts the worker and closes when the worker
// asks it to.
#pragma once

#include <windows.h>

#include "Dialogs.h"
#include "Text.h"

class CRemoverWorker;

class CRemoverDialog : public CDialogBox {
public:
    enum { kStartTimer = 1, kCloseTimer = 2, kStepCount = 4 };
    // Posted by the worker when it is done: the dialog closes 100 ms later.
    enum { kCloseRequest = WM_APP + 1 };

    explicit CRemoverDialog(const char* logPath);

    // Runs the dialog without an owner. Esc asks the Cancel question as the
    // Cancel button does, where the library's dialogs would just end.
    INT_PTR RunModal();

    // Worker thread: the step's label is emphasised (the previous one's no
    // longer) and its bar runs from 0 to count. Posted, so the worker
    // never waits for the dialog.
    void BeginStep(int step, int count);
    void AdvanceStep(int step);
    void RequestClose();

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    LRESULT OnDestroy() override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK RemoverDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCancel();
    void StartWorker();
    void PostToItem(int controlId, UINT message, WPARAM wParam, LPARAM lParam);

    CText m_logPath;
    // Null until the start timer fires and once the dialog is gone.
    CRemoverWorker* m_worker;
    HFONT m_normalFont;
    HFONT m_emphasisedFont;
};
