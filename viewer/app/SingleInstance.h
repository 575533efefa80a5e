// One Vellmora per clipbook data file in a user's session. The first start
// owns a named mutex for its whole run and listens on a message-only window
// of class "VellmoraInstance"; a later start finds that window, hands it its
// command line in WM_COPYDATA and ends, so every page lands in the one book
// that is written at exit.
#pragma once

#include <windows.h>

#include "Text.h"

class CSingleInstance {
public:
    static const char* const kListenerClass;
    // How long a later start waits for the running one to answer.
    enum { kAnswerTimeout = 5000, kPollDelay = 50 };
    // Marks a WM_COPYDATA block as a command line handed over ("VLMC").
    enum : ULONG_PTR { kHandOverTag = 0x564C4D43 };
    enum ClaimResult { kClaimed, kHandedOver, kNoAnswer };

    CSingleInstance() : m_mutex(nullptr), m_listener(nullptr) {}
    ~CSingleInstance() { Release(); }
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // kClaimed: this process keeps the data file (the first start, or one
    // that came after the running one ended). kHandedOver: the running one
    // took the command line. kNoAnswer: it did not answer in time.
    ClaimResult Claim(const char* dataFile, const char* commandLine);
    // Passes hand-overs on to the frame from now on.
    int Listen(HWND frame);
    // Stops listening and gives the data file up; after the book is written.
    void Release();
    // Tells the user that the running one did not answer.
    static void ReportNoAnswer(const char* dataFile);

    // The command line of a hand-over; 0 for any other WM_COPYDATA.
    static int ReadHandOver(LPARAM copyData, CText& commandLine);
    // The name both the mutex and the listener carry for a data file.
    static void MakeInstanceName(const char* dataFile, CText& name);

private:
    static LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static int HandOver(HWND listener, const char* commandLine, DWORD timeoutMs);

    CText m_name;
    HANDLE m_mutex;
    HWND m_listener;
};
