#include "RemoverWorker.h"

#include <stdlib.h>
#include <string.h>

#include "Files.h"
#include "Registry.h"
#include "RemoverDialog.h"
#include "resource.h"

namespace {

// Larger logs are refused as if memory had run out: size + 2 must not wrap.
const DWORD kMaxLogSize = 0x7FFFFFF0;

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCommonShellFoldersKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace

HKEY RootKeyOf(LogRoot root)
{
    switch (root) {
    case kRootClassesRoot: return HKEY_CLASSES_ROOT;
    case kRootCurrentUser: return HKEY_CURRENT_USER;
    case kRootLocalMachine: return HKEY_LOCAL_MACHINE;
    case kRootUsers: return HKEY_USERS;
    default: return nullptr;
    }
}

int DeleteKeyTree(HKEY parent, const char* keyPath)
{
    HKEY key;
    if (RegOpenKeyExA(parent, keyPath, 0, KEY_SET_VALUE | KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS)
        return 0;
    // Room for the longest name a key may have.
    char name[256];
    char tried[256] = "";
    for (;;) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        // A subkey that stays in place after its removal was tried would
        // be found again and again.
        if (strcmp(name, tried) == 0)
            break;
        DeleteKeyTree(key, name);
        memcpy(tried, name, size + 1);
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, keyPath) == ERROR_SUCCESS;
}

CRemoverWorker::CRemoverWorker(CRemoverDialog* dialog, const char* logPath)
    : m_dialog(dialog), m_logPath(logPath)
{
}

int CRemoverWorker::Proceed()
{
    return m_gate.AtItemBoundary();
}

// The worker may be sending to the dialog's windows meanwhile (a message box
// it opens disables its owner): the gate answers those messages.
void CRemoverWorker::Hold()
{
    m_gate.Pause(m_threadHandle);
}

void CRemoverWorker::Release(int stop)
{
    if (stop)
        m_gate.Stop();
    else
        m_gate.Resume();
}

int CRemoverWorker::Advance(int step)
{
    m_dialog->AdvanceStep(step);
    return Proceed();
}

int CRemoverWorker::Show(UINT textId, UINT captionId, UINT type)
{
    return m_dialog->ResourceMessageBox(textId, captionId, type);
}

int CRemoverWorker::Start()
{
    if (!ReadLog())
        return 0;
    CText question;
    CText caption;
    question.FormatResource(IDS_REMOVE_QUESTION, m_log.title.c_str());
    caption.LoadString(IDS_REMOVING);
    if (MessageBoxA(m_dialog->GetHandle(), question.GetString(), caption.GetString(), MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return 0;
    if (!DeleteFiles() || !DeleteShortcuts() || !DeleteRegistryEntries() || !Proceed())
        return 0;
    if (!m_log.group.empty())
        RemoveDirectoryA(m_log.group.c_str());
    DeleteFileA(m_logPath.GetString());
    RemoveDirectoryA(m_log.path.c_str());
    Show(IDS_PROGRAM_REMOVED, IDS_REMOVING, MB_OK);
    return 1;
}

// Step 1: the log is read, parsed and freed, and the group folder found.
int CRemoverWorker::ReadLog()
{
    m_dialog->BeginStep(1, 5);
    if (!ReadLogFile() || !Advance(1))
        return 0;
    ResolveGroupFolder();
    return Advance(1);
}

int CRemoverWorker::ReadLogFile()
{
    CDiskFile file;
    CFileError error;
    if (!file.Open(m_logPath.GetString(), kFileRead | kFileShareRead, &error)) {
        Show(IDS_CANNOT_OPEN_LOG, IDS_ERROR, MB_ICONERROR);
        return 0;
    }
    if (!Advance(1))
        return 0;
    DWORD size = file.GetLength();
    char* data = size <= kMaxLogSize ? (char*)malloc(size + 2) : nullptr;
    if (data == nullptr) {
        Show(IDS_NO_MEMORY, IDS_ERROR, MB_ICONERROR);
        return 0;
    }
    int read = file.Read(data, size, &error) >= size;
    file.Close();
    data[size] = 0;
    int result = 0;
    if (!read) {
        Show(IDS_CANNOT_READ_LOG, IDS_ERROR, MB_ICONERROR);
    } else if (Advance(1)) {
        if (!IsInstallLog(data, size))
            Show(IDS_CANNOT_READ_LOG, IDS_ERROR, MB_ICONERROR);
        else if (Advance(1)) {
            ReadRemovalLog(data, size, m_log);
            result = 1;
        }
    }
    free(data);
    return result;
}

// The log names the group as typed; its folder lies in the user's or the
// common Programs folder. Unless that folder is known, no group folder is
// removed, rather than one of that name somewhere relative.
void CRemoverWorker::ResolveGroupFolder()
{
    if (m_log.group.empty())
        return;
    std::string name = m_log.group;
    m_log.group.clear();
    CRegistryKey key;
    HKEY root = m_log.userGroup ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const char* path = m_log.userGroup ? kShellFoldersKey : kCommonShellFoldersKey;
    if (key.Open(root, path, kKeyOpenExisting | kKeyEnumerateSubKeys | kKeyNotify | kKeyQueryValue) != ERROR_SUCCESS)
        return;
    CText folder;
    if (key.QueryString(m_log.userGroup ? "Programs" : "Common Programs", folder) == 0 || folder.IsEmpty())
        return;
    m_log.group = std::string(folder.GetString()) + "\\" + name;
}

// Step 2: files first, then directories, each in log order. A directory
// that still holds something stays.
int CRemoverWorker::DeleteFiles()
{
    m_dialog->BeginStep(2, (int)m_log.files.size());
    for (int directories = 0; directories < 2; directories++) {
        for (const CLogFileEntry& entry : m_log.files) {
            if ((int)entry.directory != directories)
                continue;
            if (directories)
                RemoveDirectoryA(entry.path.c_str());
            else
                DeleteFileA(entry.path.c_str());
            if (!Advance(2))
                return 0;
        }
    }
    return 1;
}

// Step 3.
int CRemoverWorker::DeleteShortcuts()
{
    m_dialog->BeginStep(3, (int)m_log.shortcuts.size());
    for (const std::string& shortcut : m_log.shortcuts) {
        DeleteFileA(shortcut.c_str());
        if (!Advance(3))
            return 0;
    }
    return 1;
}

// Step 4: a named value, or a whole key with its subkeys.
int CRemoverWorker::DeleteRegistryEntries()
{
    m_dialog->BeginStep(4, (int)m_log.registry.size());
    for (const CLogRegistryEntry& entry : m_log.registry) {
        HKEY root = RootKeyOf(entry.root);
        if (root != nullptr && entry.valueName.empty()) {
            DeleteKeyTree(root, entry.keyPath.c_str());
        } else if (root != nullptr) {
            CRegistryKey key;
            if (key.Open(root, entry.keyPath.c_str(), kKeyOpenExisting | kKeySetValue | kKeyEnumerateSubKeys) ==
                ERROR_SUCCESS)
                key.DeleteValue(entry.valueName.c_str());
        }
        if (!Advance(4))
            return 0;
    }
    return 1;
}

int CRemoverWorker::Finish()
{
    m_dialog->RequestClose();
    return 0;
}
