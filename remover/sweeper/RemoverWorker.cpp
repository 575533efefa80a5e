#include "RemoverWorker.h"

#include <shlobj.h>
#include <stdlib.h>
#include <string.h>

#include "Digest.h"
#include "Files.h"
#include "Registry.h"
#include "SystemLibrary.h"
#include "RemoverDialog.h"
#include "resource.h"

namespace {

// Larger logs are refused as if memory had run out: size + 2 must not wrap.
const DWORD kMaxLogSize = 0x7FFFFFF0;

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCommonShellFoldersKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kViewerFrameClass[] = "VIEWERFRAME";

// How long a closed Vellmora may take to write its clipbook and end; after
// that the removal goes on, and what it still holds waits for the next start.
const DWORD kViewerEndWait = 30000;
// The final message names at most this many entries of each kind.
const size_t kNamedEntries = 8;

// The program an uninstall command starts, quoted or not.
std::string CommandProgram(const char* command)
{
    while (*command == ' ')
        command++;
    if (*command != '"')
        return command;
    const char* end = strchr(command + 1, '"');
    return end == nullptr ? std::string(command + 1) : std::string(command + 1, end - command - 1);
}

std::string SpecialFolder(int id)
{
    char folder[MAX_PATH] = "";
    return SHGetSpecialFolderPathA(nullptr, folder, id, FALSE) ? folder : "";
}

struct CViewerSearch {
    std::string folder;
    std::vector<HWND> windows;
};

// A Vellmora frame whose program lies in the installation folder, or whose
// program cannot be told: closing it is what lets its files go.
BOOL CALLBACK CollectViewer(HWND window, LPARAM parameter)
{
    CViewerSearch& search = *(CViewerSearch*)parameter;
    char name[32] = "";
    if (GetClassNameA(window, name, sizeof name) == 0 || lstrcmpiA(name, kViewerFrameClass) != 0)
        return TRUE;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    char program[MAX_PATH] = "";
    if (!ProcessImagePath(id, program, MAX_PATH) || IsInsideFolder(LongPathOf(program), search.folder))
        search.windows.push_back(window);
    return TRUE;
}

std::string NameList(const std::vector<std::string>& names)
{
    std::string list;
    for (size_t i = 0; i < names.size() && i < kNamedEntries; i++)
        list += names[i] + "\n";
    if (names.size() > kNamedEntries)
        list += "...\n";
    return list;
}

// The key must be open with query access.
int KeyIsEmpty(const CRegistryKey& key)
{
    DWORD subkeys = 1, values = 1;
    LONG result = RegQueryInfoKeyA(key.GetHandle(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                   nullptr, nullptr, nullptr, nullptr);
    return result == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

// Deletes the key when nothing is left in it.
void DeleteEmptyKey(HKEY root, const char* keyPath)
{
    CRegistryKey key;
    if (key.Open(root, keyPath, kKeyOpenExisting | kKeyQueryValue) != ERROR_SUCCESS || !KeyIsEmpty(key))
        return;
    key.Close();
    RegDeleteKeyA(root, keyPath);
}

bool IsReparsePoint(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A junction or symbolic link between the installation folder and an entry
// leads anywhere, and whoever may write the installation folder may have
// put it there: the levels below the folder, and a folder entry itself, are
// checked for reparse points before anything is deleted through them.
bool PassesReparsePoint(const CLogFileEntry& entry, const std::string& installFolder)
{
    const std::string& path = entry.path;
    for (size_t i = installFolder.size() + 1; i < path.size(); i++)
        if ((path[i] == '\\' || path[i] == '/') && IsReparsePoint(path.substr(0, i)))
            return true;
    return entry.directory && path.size() > installFolder.size() && IsReparsePoint(path);
}

int IsGone(LONG result) { return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND; }

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

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LongPathOf(const std::string& path)
{
    char full[MAX_PATH] = "";
    DWORD length = GetLongPathNameA(path.c_str(), full, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

int DeleteKeyTree(HKEY parent, const char* keyPath)
{
    HKEY key;
    LONG opened = RegOpenKeyExA(parent, keyPath, 0, KEY_SET_VALUE | KEY_ENUMERATE_SUB_KEYS, &key);
    if (opened != ERROR_SUCCESS)
        return opened == ERROR_FILE_NOT_FOUND;
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
    return IsGone(RegDeleteKeyA(parent, keyPath));
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
    CText text;
    text.LoadString(textId);
    return Ask(text.GetString(), captionId, type);
}

int CRemoverWorker::Ask(const char* text, UINT captionId, UINT type)
{
    if (!Proceed())
        return 0;
    CText caption;
    caption.LoadString(captionId);
    return MessageBoxA(m_dialog->GetHandle(), text, caption.GetString(), type);
}

int CRemoverWorker::Start()
{
    if (!ReadLog())
        return 0;
    CText question;
    question.FormatResource(IDS_REMOVE_QUESTION, m_log.title.c_str());
    if (Ask(question.GetString(), IDS_REMOVING, MB_YESNO | MB_ICONQUESTION) != IDYES || !CloseRunningViewer())
        return 0;
    if (!DeleteFiles() || !DeleteShortcuts() || !DeleteRegistryEntries() || !Proceed())
        return 0;
    // What failed can be tried again: the log and the uninstall entry stay,
    // and the entry stays too when the log cannot go.
    if (m_failed.empty())
        DeleteOrSchedule(m_logPath.GetString());
    if (m_failed.empty())
        DeleteUninstallEntry();
    RemoveParentKeys();
    if (!m_log.group.empty())
        RemoveFolder(m_log.group);
    if (IsPlainFullPath(m_log.path))
        RemoveFolder(m_log.path);
    ShowOutcome();
    return 1;
}

// Step 1: the log is read, checked, parsed and freed, and the group folder
// found.
int CRemoverWorker::ReadLog()
{
    m_dialog->BeginStep(1, 5);
    if (!ReadLogFile() || !Advance(1))
        return 0;
    m_keyRoles = KeyRoles(m_log.registry);
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
        else if (!IsSealed(data, size))
            Show(IDS_LOG_CHANGED, IDS_ERROR, MB_ICONERROR);
        else if (Advance(1)) {
            ReadRemovalLog(data, size, m_log);
            result = 1;
        }
    }
    free(data);
    return result;
}

// The installer stored the digest of the finished log in the uninstall
// entry whose command lies beside the log, where only administrators can
// change it. A log without one, or with another, was written by someone
// else (or by an installer from before the digest): nothing it lists is
// trusted.
int CRemoverWorker::IsSealed(const char* data, DWORD size)
{
    std::string folder = LongPathOf(FolderOf(m_logPath.GetString()));
    CRegistryKey uninstall;
    if (folder.empty() ||
        uninstall.Open(HKEY_LOCAL_MACHINE, kUninstallKey, kKeyOpenExisting | kKeyEnumerateSubKeys) != ERROR_SUCCESS)
        return 0;
    CText digest;
    char name[256];
    for (DWORD index = 0; digest.IsEmpty(); index++) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(uninstall.GetHandle(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        CRegistryKey entry;
        CText command;
        if (entry.Open(uninstall.GetHandle(), name, kKeyOpenExisting | kKeyQueryValue) != ERROR_SUCCESS ||
            !entry.QueryString("UninstallString", command) ||
            CompareNoCase(LongPathOf(FolderOf(CommandProgram(command.GetString()))).c_str(), folder.c_str()) != 0 ||
            !entry.QueryString(kLogDigestValue, digest))
            continue;
        m_uninstallKey = std::string(kUninstallKey) + "\\" + name;
    }
    return !digest.IsEmpty() && digest.CompareNoCase(Sha256Hex(data, size).c_str()) == 0;
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
    std::string group = std::string(folder.GetString()) + "\\" + name;
    if (IsInsideFolder(group, folder.GetString()))
        m_log.group = group;
    else
        m_skipped.push_back(group);
}

// Vellmora holds its program file and writes its clipbook when it closes:
// it is closed, with the user's leave, before anything is deleted.
int CRemoverWorker::CloseRunningViewer()
{
    CViewerSearch search;
    search.folder = LongPathOf(m_log.path);
    if (!IsPlainFullPath(search.folder))
        return 1;
    EnumWindows(CollectViewer, (LPARAM)&search);
    if (search.windows.empty())
        return 1;
    CText question;
    question.LoadString(IDS_CLOSE_VIEWER);
    if (Ask(question.GetString(), IDS_REMOVING, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    std::vector<HANDLE> processes;
    for (HWND window : search.windows) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
        if (process != nullptr)
            processes.push_back(process);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    // Waited for in slices, so that a cancel is answered meanwhile.
    int going = 1;
    DWORD start = GetTickCount();
    for (HANDLE process : processes) {
        while (going && WaitForSingleObject(process, 100) == WAIT_TIMEOUT && GetTickCount() - start < kViewerEndWait)
            going = Proceed();
        CloseHandle(process);
    }
    return going;
}

void CRemoverWorker::DeleteOrSchedule(const std::string& path)
{
    if (DeleteFileA(path.c_str()))
        return;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return;
    // In use: Windows deletes it when it starts the next time.
    if (MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        m_scheduled++;
    else
        m_failed.push_back(path);
}

// A folder that still holds something stays; when what it holds goes at
// the next start, the folder goes after it.
void CRemoverWorker::RemoveFolder(const std::string& path)
{
    if (!RemoveDirectoryA(path.c_str()) && m_scheduled > 0 && DirectoryExists(path.c_str()))
        MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// Step 2: files first, then directories, each in log order; only what lies
// inside the installation folder.
int CRemoverWorker::DeleteFiles()
{
    m_dialog->BeginStep(2, (int)m_log.files.size());
    for (int directories = 0; directories < 2; directories++) {
        for (const CLogFileEntry& entry : m_log.files) {
            if ((int)entry.directory != directories)
                continue;
            if (!MayDeleteFileEntry(entry, m_log.path) || PassesReparsePoint(entry, m_log.path))
                m_skipped.push_back(entry.path);
            else if (directories)
                RemoveFolder(entry.path);
            else
                DeleteOrSchedule(entry.path);
            if (!Advance(2))
                return 0;
        }
    }
    return 1;
}

// Step 3: shortcuts in the Start menu's program folders and on the desktop.
int CRemoverWorker::DeleteShortcuts()
{
    const std::vector<std::string> folders = {SpecialFolder(CSIDL_PROGRAMS), SpecialFolder(CSIDL_COMMON_PROGRAMS),
                                              SpecialFolder(CSIDL_DESKTOPDIRECTORY),
                                              SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY)};
    m_dialog->BeginStep(3, (int)m_log.shortcuts.size());
    for (const std::string& shortcut : m_log.shortcuts) {
        if (MayDeleteShortcut(shortcut, folders))
            DeleteOrSchedule(shortcut);
        else
            m_skipped.push_back(shortcut);
        if (!Advance(3))
            return 0;
    }
    return 1;
}

// Step 4: the keys the installation made, with their subkeys, and the
// values it wrote into keys that were there. The uninstall entry waits for
// the end, and the levels made above keys of its own go only when empty.
int CRemoverWorker::DeleteRegistryEntries()
{
    m_dialog->BeginStep(4, (int)m_log.registry.size());
    for (size_t i = 0; i < m_log.registry.size(); i++) {
        const CLogRegistryEntry& entry = m_log.registry[i];
        if (IsProtectedKey(entry.root, entry.keyPath))
            m_skipped.push_back(DescribeRegistryEntry(entry));
        else if (DeletesNow(i, 0))
            DeleteRegistryEntry(i);
        if (!Advance(4))
            return 0;
    }
    return 1;
}

void CRemoverWorker::DeleteRegistryEntry(size_t index)
{
    const CLogRegistryEntry& entry = m_log.registry[index];
    if (m_keyRoles[index] == kKeyValue)
        DeleteValue(entry);
    else if (!DeleteKeyTree(RootKeyOf(entry.root), entry.keyPath.c_str()))
        m_failed.push_back(DescribeRegistryEntry(entry));
}

// A default value of a key that was there before is taken away only while
// it still names a class of this installation (".cbf" naming its ProgID);
// another program may have taken the type over since.
void CRemoverWorker::DeleteValue(const CLogRegistryEntry& entry)
{
    HKEY root = RootKeyOf(entry.root);
    CRegistryKey key;
    LONG opened = key.Open(root, entry.keyPath.c_str(), kKeyOpenExisting | kKeySetValue | kKeyQueryValue);
    if (opened != ERROR_SUCCESS) {
        if (opened != ERROR_FILE_NOT_FOUND)
            m_failed.push_back(DescribeRegistryEntry(entry));
        return;
    }
    if (entry.valueName.empty() && !LogMadeKey(m_log.registry, m_keyRoles, entry.root, entry.keyPath)) {
        CText named;
        key.QueryString("", named);
        std::string sibling = NamedSiblingKey(entry.keyPath, named.GetString());
        if (sibling.empty() || !LogMadeKey(m_log.registry, m_keyRoles, entry.root, sibling))
            return;
    }
    if (!IsGone(key.DeleteValue(entry.valueName.c_str())))
        m_failed.push_back(DescribeRegistryEntry(entry));
}

int CRemoverWorker::IsUninstallEntry(const CLogRegistryEntry& entry) const
{
    return entry.root == kRootLocalMachine && !m_uninstallKey.empty() &&
           IsSameOrBelowKey(entry.keyPath, m_uninstallKey);
}

// A line deleted by itself in the step for the uninstall entry's lines or
// the one for the others: not a level above keys of the installation's
// own, and not a key the rules keep.
int CRemoverWorker::DeletesNow(size_t index, int uninstallStep) const
{
    const CLogRegistryEntry& entry = m_log.registry[index];
    return m_keyRoles[index] != kKeyParent && !IsProtectedKey(entry.root, entry.keyPath) &&
           IsUninstallEntry(entry) == uninstallStep;
}

// Last of the registry: the uninstall entry's lines, its digest, and the
// key itself once nothing is left in it.
void CRemoverWorker::DeleteUninstallEntry()
{
    for (size_t i = 0; i < m_log.registry.size(); i++)
        if (DeletesNow(i, 1))
            DeleteRegistryEntry(i);
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, m_uninstallKey.c_str(), kKeyOpenExisting | kKeySetValue | kKeyQueryValue) !=
        ERROR_SUCCESS)
        return;
    key.DeleteValue(kLogDigestValue);
    if (KeyIsEmpty(key)) {
        key.Close();
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_uninstallKey.c_str());
    }
}

// Deepest first, so that a level emptied by the one below it goes too.
void CRemoverWorker::RemoveParentKeys()
{
    for (size_t i = m_log.registry.size(); i-- > 0;) {
        const CLogRegistryEntry& entry = m_log.registry[i];
        if (m_keyRoles[i] == kKeyParent && !IsProtectedKey(entry.root, entry.keyPath))
            DeleteEmptyKey(RootKeyOf(entry.root), entry.keyPath.c_str());
    }
}

// "Program removed." only when nothing is left; otherwise what waits for
// the next start or could not be removed, and the entries the rules kept.
void CRemoverWorker::ShowOutcome()
{
    CText text;
    UINT icon = 0;
    if (!m_failed.empty()) {
        text.FormatResource(IDS_NOT_REMOVED, NameList(m_failed).c_str());
        icon = MB_ICONWARNING;
    } else if (m_scheduled > 0) {
        text.LoadString(IDS_REMOVED_AT_RESTART);
        icon = MB_ICONINFORMATION;
    } else {
        text.LoadString(IDS_PROGRAM_REMOVED);
    }
    std::string message = text.GetString();
    if (!m_skipped.empty()) {
        text.FormatResource(IDS_SKIPPED, NameList(m_skipped).c_str());
        message += std::string("\n\n") + text.GetString();
        icon = MB_ICONWARNING;
    }
    Ask(message.c_str(), IDS_REMOVING, MB_OK | icon);
}

int CRemoverWorker::Finish()
{
    m_dialog->RequestClose();
    return 0;
}
