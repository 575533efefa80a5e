#include "RemoverDialog.h"

#include <commctrl.h>
#include <new>

#include "AppThread.h"

#include "RemoverWorker.h"
#include "WorkerGate.h"
#include "resource.h"

namespace {

const int kLabels[CRemoverDialog::kStepCount] = {IDC_STEP1_LABEL, IDC_STEP2_LABEL, IDC_STEP3_LABEL, IDC_STEP4_LABEL};
const int kBars[CRemoverDialog::kStepCount] = {IDC_STEP1_BAR, IDC_STEP2_BAR, IDC_STEP3_BAR, IDC_STEP4_BAR};

// A worker asked to stop ends at its next item; one that does not within
// this time is ended by force.
const DWORD kWorkerEndWait = 1000;

} // namespace

CRemoverDialog::CRemoverDialog(const char* logPath)
    : CDialogBox(IDD_REMOVING), m_logPath(logPath), m_worker(nullptr), m_normalFont(nullptr), m_emphasisedFont(nullptr)
{
}

void CRemoverDialog::PostToItem(int controlId, UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(GetDlgItem(m_hWnd, controlId), message, wParam, lParam);
}

void CRemoverDialog::BeginStep(int step, int count)
{
    if (step < 1 || step > kStepCount)
        return;
    if (step > 1)
        PostToItem(kLabels[step - 2], WM_SETFONT, (WPARAM)m_normalFont, TRUE);
    PostToItem(kLabels[step - 1], WM_SETFONT, (WPARAM)m_emphasisedFont, TRUE);
    PostToItem(kBars[step - 1], PBM_SETRANGE32, 0, count);
    PostToItem(kBars[step - 1], PBM_SETSTEP, 1, 0);
    PostToItem(kBars[step - 1], PBM_SETPOS, 0, 0);
}

void CRemoverDialog::AdvanceStep(int step)
{
    if (step >= 1 && step <= kStepCount)
        PostToItem(kBars[step - 1], PBM_STEPIT, 0, 0);
}

void CRemoverDialog::RequestClose() { PostMessageA(m_hWnd, kCloseRequest, 0, 0); }

LRESULT CRemoverDialog::OnInitDialog(HWND focus)
{
    m_normalFont = (HFONT)GetStockObject(ANSI_VAR_FONT);
    m_emphasisedFont = (HFONT)GetStockObject(SYSTEM_FONT);
    for (int label : kLabels)
        SendDlgItemMessageA(m_hWnd, label, WM_SETFONT, (WPARAM)m_normalFont, TRUE);
    SetTimer(m_hWnd, kStartTimer, 100, nullptr);
    return CDialogBox::OnInitDialog(focus);
}

void CRemoverDialog::StartWorker()
{
    m_worker = new (std::nothrow) CRemoverWorker(this, m_logPath.GetString());
    if (m_worker == nullptr || !m_worker->Begin(CREATE_SUSPENDED)) {
        RequestClose();
        return;
    }
    ResumeThread(m_worker->GetThreadHandle());
}

LRESULT CRemoverDialog::OnTimer(UINT_PTR id)
{
    if (id == kStartTimer) {
        KillTimer(m_hWnd, kStartTimer);
        StartWorker();
    } else if (id == kCloseTimer) {
        KillTimer(m_hWnd, kCloseTimer);
        EndDialog(m_hWnd, 0);
    }
    return 0;
}

INT_PTR CRemoverDialog::RunModal()
{
    m_endCode = DialogBoxParamA(GetModuleInstance(), MAKEINTRESOURCEA(m_templateId), nullptr, RemoverDialogProc,
                                (LPARAM)this);
    m_hWnd = nullptr;
    return m_endCode;
}

// The dialog manager turns Esc into command 2 and Enter into command 1;
// the library's dispatcher would end the dialog with either.
INT_PTR CALLBACK CRemoverDialog::RemoverDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        CRemoverDialog* dialog = (CRemoverDialog*)WindowFromHandle(window);
        if (LOWORD(wParam) == IDCANCEL && dialog != nullptr)
            dialog->OnCancel();
        return TRUE;
    }
    return WindowDispatch(window, message, wParam, lParam);
}

LRESULT CRemoverDialog::OnCommand(WPARAM wParam, UINT code, HWND control)
{
    if (LOWORD(wParam) == IDC_CANCEL_REMOVING)
        OnCancel();
    return CDialogBox::OnCommand(wParam, code, control);
}

void CRemoverDialog::OnCancel()
{
    if (m_worker != nullptr && m_worker->IsRunning()) {
        m_worker->Hold();
        if (ResourceMessageBox(IDS_CANCEL_QUESTION, IDS_CANCELING, MB_YESNO | MB_DEFBUTTON2) == IDNO) {
            m_worker->Release(0);
            return;
        }
        m_worker->Release(1);
    }
    EndDialog(m_hWnd, 1);
}

LRESULT CRemoverDialog::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kCloseRequest) {
        // The timer belongs to the dialog's own thread.
        SetTimer(m_hWnd, kCloseTimer, 100, nullptr);
        return TRUE;
    }
    return CDialogBox::DefaultProc(message, wParam, lParam);
}

// However the dialog ends (Cancel, Escape, the worker's request), the
// worker stops at its next item before it is freed. Meanwhile the messages
// it sends to the dialog's windows are answered, or a message box it is
// opening would hold it until it is ended by force.
LRESULT CRemoverDialog::OnDestroy()
{
    LRESULT result = CDialogBox::OnDestroy();
    if (m_worker == nullptr)
        return result;
    if (m_worker->IsRunning()) {
        m_worker->Release(1);
        HANDLE thread = m_worker->GetThreadHandle();
        if (WaitHandlingSentMessages(1, &thread, kWorkerEndWait) == WAIT_TIMEOUT)
            m_worker->Kill(1);
    }
    delete m_worker;
    m_worker = nullptr;
    return result;
}
