// The setup wizard: destination, components, program group and options,
// asked modally over the background window before anything is installed.
#pragma once

#include <windows.h>

class CSetupScript;

// Runs the wizard with `parent` as its owner and writes the user's choices
// back into the script. A cancelled wizard leaves the destination empty, so
// that nothing is installed.
int RunSetupWizard(CSetupScript& script, HWND parent);
