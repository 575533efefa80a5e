#include "ProgressDialog.h"

#include <commctrl.h>

#include "InstallThread.h"
#include "SetupScript.h"
#include "UserShell.h"
#include "resource.h"

namespace {
enum { kStartTimer = 2, kCloseTimer = 3 };
}

CProgressDialog::CProgressDialog(CSetupScript& script)
    : CFixedDialog(IDD_PROGRESS), m_progressBar(nullptr), m_worker(nullptr), m_stepMaximum(0), m_stepsTaken(0),
      m_script(script)
{
}

CProgressDialog::~CProgressDialog()
{
    delete m_worker;
}

LRESULT CProgressDialog::OnInitDialog(HWND focus)
{
    m_progressBar = GetDlgItem(m_hWnd, IDC_PROGRESS_BAR);
    SetTimer(m_hWnd, kStartTimer, 10, nullptr);
    return 1;
}

LRESULT CProgressDialog::OnTimer(UINT_PTR id)
{
    LRESULT result = CFixedDialog::OnTimer(id);
    if (id == kStartTimer) {
        KillTimer(m_hWnd, kStartTimer);
        StartWorker();
    } else if (id == kCloseTimer) {
        KillTimer(m_hWnd, kCloseTimer);
        EndDialog(m_hWnd, 0);
    }
    return result;
}

void CProgressDialog::StartWorker()
{
    m_worker = new CInstallThread(this, m_script);
    if (m_worker->Begin(CREATE_SUSPENDED, 0, nullptr))
        ResumeThread(m_worker->GetThreadHandle());
    else
        EndDialog(m_hWnd, 0);
}

LRESULT CProgressDialog::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kWorkerEndedMessage)
        SetTimer(m_hWnd, kCloseTimer, 100, nullptr);
    return CFixedDialog::DefaultProc(message, wParam, lParam);
}

LRESULT CProgressDialog::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    LRESULT result = CFixedDialog::OnCommand(wParam, code, control);
    if (LOWORD(wParam) == IDC_PROGRESS_CANCEL)
        OnCancel();
    return result;
}

// The question waits until the worker has paused at its next pause point;
// "No" lets it go on where it stopped, "Yes" ends the dialog and the worker
// stops at its next item boundary.
void CProgressDialog::OnCancel()
{
    if (m_worker != nullptr && m_worker->IsRunning() && m_gate.Pause(m_worker->GetThreadHandle())) {
        if (ResourceMessageBox(IDS_CANCEL_QUESTION, IDS_EXIT_SETUP, MB_YESNO | MB_DEFBUTTON2) == IDNO) {
            m_gate.Resume();
            return;
        }
        m_gate.Stop();
    }
    EndDialog(m_hWnd, 1);
}

LRESULT CProgressDialog::OnDestroy()
{
    LRESULT result = CFixedDialog::OnDestroy();
    m_progressBar = nullptr;
    if (m_worker != nullptr) {
        if (m_worker->IsRunning()) {
            m_gate.Stop();
            HANDLE thread = m_worker->GetThreadHandle();
            if (WaitHandlingSentMessages(1, &thread, 1000) == WAIT_TIMEOUT)
                m_worker->Kill(1);
        }
        delete m_worker;
        m_worker = nullptr;
    }
    if (m_script.m_progressDialog == this)
        m_script.m_progressDialog = nullptr;
    return result;
}

void CProgressDialog::SetRange(uint32_t steps)
{
    SendMessageA(m_progressBar, PBM_SETRANGE32, 0, (LPARAM)steps);
    SendMessageA(m_progressBar, PBM_SETSTEP, 1, 0);
    SendMessageA(m_progressBar, PBM_SETPOS, 0, 0);
    m_stepMaximum = steps;
}

void CProgressDialog::Step()
{
    if (m_stepsTaken >= m_stepMaximum)
        return;
    SendMessageA(m_progressBar, PBM_STEPIT, 0, 0);
    m_stepsTaken++;
}

void CProgressDialog::SetStepText(const char* text)
{
    SetDlgItemTextA(m_hWnd, IDC_PROGRESS_STEP, text);
}

void CProgressDialog::SetItemText(const char* text)
{
    SetDlgItemTextA(m_hWnd, IDC_PROGRESS_ITEM, text);
}

int CProgressDialog::Ask(const char* text, const char* caption, UINT type)
{
    return MessageBoxA(m_hWnd, text, caption, type);
}

void CProgressDialog::Open(const char* command)
{
    OpenForUser(m_hWnd, command);
}
