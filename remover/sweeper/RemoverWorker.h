// The worker thread of the removal program: reads the install log and
// deletes what it lists, in four steps shown by the progress dialog.
#pragma once

#include <windows.h>

#include "AppThread.h"
#include "RemovalLog.h"
#include "Text.h"
#include "WorkerGate.h"

class CRemoverDialog;

class CRemoverWorker : public CThread {
public:
    CRemoverWorker(CRemoverDialog* dialog, const char* logPath);

    // The removal; 1 when everything listed was tried, 0 when it stopped
    // early (a log that cannot be read, "No" to the question, a cancel).
    int Start() override;
    // Waits at an item boundary while the dialog holds the worker; 0 once
    // the worker is to stop.
    int Proceed() override;
    // Asks the dialog to close; the dialog destroys the worker.
    int Finish() override;

    // Main thread: holds the worker at its next item boundary (or until it
    // ends), so that nothing changes while the cancel question is open.
    void Hold();
    // Main thread: lets a held worker go on, or tells it to stop at its
    // next boundary.
    void Release(int stop);

private:
    int ReadLog();
    int ReadLogFile();
    void ResolveGroupFolder();
    int DeleteFiles();
    int DeleteShortcuts();
    int DeleteRegistryEntries();
    int Advance(int step);
    int Show(UINT textId, UINT captionId, UINT type);

    CRemoverDialog* m_dialog;
    CText m_logPath;
    CRemovalLog m_log;
    CWorkerGate m_gate;
};

// Deletes a key with all its subkeys; 1 when the key itself went.
int DeleteKeyTree(HKEY parent, const char* keyPath);
// The predefined key of a log's root word; null for none.
HKEY RootKeyOf(LogRoot root);
