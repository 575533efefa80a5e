// Finds dialogs and message boxes on screen, reads them and presses their
// buttons, from a thread of the test or for a child process.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

// The first visible top-level dialog (class "#32770") with this caption,
// optionally of one process; waits up to the timeout. Null when none came.
HWND WaitForDialog(const char* caption, DWORD processId = 0, DWORD timeoutMs = 5000);
// The message of a message box (its static text), or a control's text.
std::string MessageBoxText(HWND box);
std::string ControlText(HWND dialog, int controlId);
std::string WindowText(HWND window);
// Presses a button of a dialog as a click would: the dialog gets
// WM_COMMAND/BN_CLICKED from the button.
void PressButton(HWND dialog, int buttonId);
// The file name field of the open and save dialogs: a combo box in newer
// templates, an edit field in older ones.
HWND FileNameField(HWND dialog);
// A control of a dialog or of one of its child dialogs (a file dialog's
// template).
HWND FindControl(HWND window, int controlId);
// Waits until the window is gone.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 5000);

// Answers one dialog: a thread waits for it, records its caption and text,
// runs an optional action on it, presses the button and waits until the
// dialog is gone. The destructor waits for the thread.
class CDialogAnswer {
public:
    typedef void (*Action)(HWND dialog, void* context);

    CDialogAnswer(const char* caption, int buttonId, DWORD processId = 0, DWORD timeoutMs = 10000,
                  Action action = nullptr, void* context = nullptr);
    ~CDialogAnswer();
    CDialogAnswer(const CDialogAnswer&) = delete;
    CDialogAnswer& operator=(const CDialogAnswer&) = delete;

    // Waits for the answering thread; true when the dialog was seen.
    bool Wait();
    const std::string& Text() const { return m_text; }

private:
    std::string m_caption;
    std::string m_text;
    std::atomic<bool> m_seen;
    std::thread m_thread;
};
