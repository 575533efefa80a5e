#include "PrepareDialog.h"

#include <commctrl.h>

#include "SetupScript.h"
#include "Text.h"
#include "Utility.h"
#include "resource.h"

namespace {

enum { kReadTimer = 2, kScreenMargin = 20 };

} // namespace

CPrepareDialog::CPrepareDialog(CSetupScript& script, const char* scriptName)
    : CFixedDialog(IDD_PREPARE), m_progressBar(nullptr), m_script(script), m_scriptName(scriptName)
{
}

LRESULT CPrepareDialog::OnInitDialog(HWND focus)
{
    CWaitCursor wait;
    m_progressBar = GetDlgItem(m_hWnd, IDC_PROGRESS_BAR);
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    int x = GetSystemMetrics(SM_CXSCREEN) - kScreenMargin - (rect.right - rect.left);
    int y = GetSystemMetrics(SM_CYSCREEN) - kScreenMargin - (rect.bottom - rect.top);
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetTimer(m_hWnd, kReadTimer, 50, nullptr);
    return 1;
}

LRESULT CPrepareDialog::OnTimer(UINT_PTR id)
{
    if (id == kReadTimer) {
        KillTimer(m_hWnd, kReadTimer);
        ReadScript();
        EndDialog(m_hWnd, 0);
    }
    return 0;
}

// A script that cannot be read leaves the settings as they were; the wizard
// then starts with them.
void CPrepareDialog::ReadScript()
{
    CWaitCursor wait;
    m_script.FillNumberFormat();
    CText title;
    title.LoadString(IDS_INSTALL);
    m_script.m_title = title.GetString();
    m_script.m_preparingDialog = this;
    m_script.LoadScript(m_scriptName);
    m_script.m_preparingDialog = nullptr;
}

LRESULT CPrepareDialog::OnDestroy()
{
    m_progressBar = nullptr;
    return CFixedDialog::OnDestroy();
}

void CPrepareDialog::SetRange(int high)
{
    SendMessageA(m_progressBar, PBM_SETRANGE32, 1, high);
    SendMessageA(m_progressBar, PBM_SETSTEP, 1, 0);
    SendMessageA(m_progressBar, PBM_SETPOS, 1, 0);
    UpdateWindow(m_hWnd);
}

void CPrepareDialog::Step()
{
    SendMessageA(m_progressBar, PBM_STEPIT, 0, 0);
    UpdateWindow(m_hWnd);
}
