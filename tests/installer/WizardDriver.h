// Drives the setup wizard from another thread or process: which page it
// shows with which buttons, and presses on its buttons.
#pragma once

#include <windows.h>

#include <string>

// The wizard, found by its first page's caption.
HWND WaitForWizard(DWORD processId = 0);
HWND CurrentPage(HWND sheet);
// The current page's template and the wizard buttons that can be pressed,
// as in "109 Back Next".
std::string WizardState(HWND sheet);
// Waits until the wizard is in the state; answers the state it ended in.
std::string WaitForState(HWND sheet, const std::string& expected);
// PSM_PRESSBUTTON, posted: a page may answer with a message box.
void PressWizard(HWND sheet, int button);
