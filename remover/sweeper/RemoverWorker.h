// The worker thread of the removal program: reads the install log and
// deletes what it lists, in four steps shown by the progress dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "AppThread.h"
#include "RemovalLog.h"
#include "RemovalRules.h"
#include "Text.h"
#include "WorkerGate.h"

class CRemoverDialog;

class CRemoverWorker : public CThread {
public:
    CRemoverWorker(CRemoverDialog* dialog, const char* logPath);

    // The removal; 1 when everything listed was tried, 0 when it stopped
    // early (a log that cannot be read or was changed, "No" to a question,
    // a cancel).
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
    int IsSealed(const char* data, DWORD size);
    void ResolveGroupFolder();
    int CloseRunningViewer();
    int DeleteFiles();
    int DeleteShortcuts();
    int DeleteRegistryEntries();
    void DeleteUninstallEntry();
    void RemoveParentKeys();
    void DeleteRegistryEntry(size_t index);
    void DeleteValue(const CLogRegistryEntry& entry);
    int IsUninstallEntry(const CLogRegistryEntry& entry) const;
    int DeletesNow(size_t index, int uninstallStep) const;
    void DeleteOrSchedule(const std::string& path);
    void RemoveFolder(const std::string& path);
    void ShowOutcome();
    int Advance(int step);
    // Message boxes over the dialog; a worker stopped while held just
    // before one shows nothing and answers 0.
    int Show(UINT textId, UINT captionId, UINT type);
    int Ask(const char* text, UINT captionId, UINT type);

    CRemoverDialog* m_dialog;
    CText m_logPath;
    CRemovalLog m_log;
    std::vector<LogKeyRole> m_keyRoles;
    // Below HKEY_LOCAL_MACHINE: the uninstall entry whose command lies
    // beside the log.
    std::string m_uninstallKey;
    // Entries the rules keep, deletions that failed, deletions waiting for
    // the next start.
    std::vector<std::string> m_skipped;
    std::vector<std::string> m_failed;
    int m_scheduled = 0;
    CWorkerGate m_gate;
};

// Deletes a key with all its subkeys; 1 when the key is gone, also when it
// was never there.
int DeleteKeyTree(HKEY parent, const char* keyPath);
// The predefined key of a log's root word; null for none.
HKEY RootKeyOf(LogRoot root);
// The folder part of a path; empty when it has none.
std::string FolderOf(const std::string& path);
// The path in its long form while it exists, otherwise as given.
std::string LongPathOf(const std::string& path);
