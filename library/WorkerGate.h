// Pauses a worker thread at its next pause point while the main thread asks
// whether to cancel, so that the worker changes nothing (and holds no lock)
// while the question is open. Suspending the thread instead could stop it
// inside the heap and freeze the question's own window.
#pragma once

#include <windows.h>

class CWorkerGate {
public:
    CWorkerGate();
    ~CWorkerGate();
    CWorkerGate(const CWorkerGate&) = delete;
    CWorkerGate& operator=(const CWorkerGate&) = delete;

    // Worker side. A pause point waits while a pause is requested; an item
    // boundary also answers 0 once the worker is to stop.
    void AtPausePoint();
    int AtItemBoundary();

    // Main thread side. Pause answers 1 once the worker waits at a pause
    // point, 0 when the worker ended first; meanwhile messages sent by the
    // worker are handled, so that it can always reach its pause point.
    int Pause(HANDLE worker);
    void Resume();
    // The worker goes on to its next item boundary and stops there.
    void Stop();

private:
    HANDLE m_pauseRequested;
    HANDLE m_paused;
    HANDLE m_resume;
    volatile LONG m_stop;
};

// Waits for one of the handles, handling the messages other threads send to
// this one; answers as WaitForMultipleObjects does.
DWORD WaitHandlingSentMessages(DWORD count, const HANDLE* handles, DWORD timeoutMs);
