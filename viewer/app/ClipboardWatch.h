// Who put the clipboard's content there and who holds the clipboard open:
// the lines that part 0 of the frame's status bar shows between menus, and
// the refusal shown when content marked private is to be kept.
#pragma once

#include <windows.h>

#include "Text.h"

// The file name of the program that runs the process ("notepad.exe"); 0
// when the process cannot be asked.
int GetProcessFileName(DWORD processId, CText& name);
// The process of a window and its program's file name (the unknown-program
// text when it cannot be asked). 0 for no window.
DWORD DescribeWindowProcess(HWND window, CText& name);

// "Owner: notepad.exe (1234), change 57", or "Owner: none, change 57".
void ComposeOwnerLine(CText& line);
// "Clipboard held open by app.exe (4321)", or the line for a clipboard
// opened without a window.
void ComposeHolderLine(CText& line);

// The message that content marked private is not kept.
void ShowPrivateContentRefusal(HWND owner);
