#include "FixedDialog.h"

#include "AppThread.h"

INT_PTR CFixedDialog::RunModal(HWND owner)
{
    m_endCode = DialogBoxParamA(GetModuleInstance(), MAKEINTRESOURCEA(m_templateId), owner, FixedDialogProc,
                                (LPARAM)this);
    m_hWnd = nullptr;
    return m_endCode;
}

INT_PTR CALLBACK CFixedDialog::FixedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        return TRUE;
    return WindowDispatch(window, message, wParam, lParam);
}
