#include "WorkerGate.h"

CWorkerGate::CWorkerGate()
    : m_pauseRequested(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_paused(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_resume(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_stop(0)
{
}

CWorkerGate::~CWorkerGate()
{
    CloseHandle(m_pauseRequested);
    CloseHandle(m_paused);
    CloseHandle(m_resume);
}

void CWorkerGate::AtPausePoint()
{
    if (WaitForSingleObject(m_pauseRequested, 0) != WAIT_OBJECT_0)
        return;
    SetEvent(m_paused);
    WaitForSingleObject(m_resume, INFINITE);
}

int CWorkerGate::AtItemBoundary()
{
    AtPausePoint();
    return InterlockedCompareExchange(&m_stop, 0, 0) == 0;
}

int CWorkerGate::Pause(HANDLE worker)
{
    ResetEvent(m_paused);
    SetEvent(m_pauseRequested);
    HANDLE handles[2] = {m_paused, worker};
    if (WaitHandlingSentMessages(2, handles, INFINITE) == WAIT_OBJECT_0)
        return 1;
    ResetEvent(m_pauseRequested);
    return 0;
}

void CWorkerGate::Resume()
{
    ResetEvent(m_pauseRequested);
    SetEvent(m_resume);
}

void CWorkerGate::Stop()
{
    InterlockedExchange(&m_stop, 1);
    Resume();
}

DWORD WaitHandlingSentMessages(DWORD count, const HANDLE* handles, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD elapsed = GetTickCount() - start;
        DWORD left = timeoutMs == INFINITE ? INFINITE : (elapsed < timeoutMs ? timeoutMs - elapsed : 0);
        DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + count)
            return result;
    }
}
