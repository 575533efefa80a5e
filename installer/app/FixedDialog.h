// A modal dialog that only its own buttons end: Enter, Esc and the close
// command (commands 1 and 2) are ignored, where the library's dispatcher
// would end the dialog with them.
#pragma once

#include "Dialogs.h"

class CFixedDialog : public CDialogBox {
public:
    explicit CFixedDialog(UINT templateId) : CDialogBox(templateId) {}

    // DialogBoxParamA's result.
    INT_PTR RunModal(HWND owner);

private:
    static INT_PTR CALLBACK FixedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
