// Opening programs and documents for the user who started setup. Setup runs
// elevated; what it opens at the end should not. An elevated installer asks
// the desktop's shell (Explorer) to open them, so that they run with the
// shell's rights, the user's own; where the installer is not elevated, or no
// desktop shell answers, it opens them itself.
#pragma once

#include <windows.h>

// Opens the program or document as the shell's default action, without
// waiting for it. COM must be initialised on the calling thread.
void OpenForUser(HWND owner, const char* command);
