// Installing one file item: its directory, or its bytes from the carrier
// with the version checks, the carried time stamp, and the replacement at
// the next start of Windows when the old file is in use.
#include "SetupScript.h"

#include <string.h>

#include <vector>

#include "AppThread.h"
#include "FileRules.h"
#include "SystemLibrary.h"
#include "resource.h"

namespace {

// Bytes written between two pause points: short enough that a Cancel
// question never waits long for the worker.
const DWORD kWriteBlock = 1 << 20;

struct CCarried {
    const void* bytes = nullptr;
    DWORD size = 0;
    bool found = false;
};

CCarried FindCarried(HMODULE module, const std::string& name, const char* type)
{
    CCarried carried;
    HRSRC resource = FindResourceA(module, name.c_str(), type);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    if (loaded == nullptr)
        return carried;
    carried.size = SizeofResource(module, resource);
    carried.bytes = LockResource(loaded);
    carried.found = carried.bytes != nullptr || carried.size == 0;
    return carried;
}

std::string LoadText(UINT id)
{
    CText text;
    text.LoadString(id);
    return text.GetString();
}

// A question of the worker to the user; the path fills the text's %s.
int AskAbout(CInstallProgress& progress, UINT textId, const std::string& path, const std::string& caption,
             UINT type)
{
    // Stopped while held here: the question is not shown over the closing
    // dialog, and the item ends as aborted.
    if (!progress.AtItemBoundary())
        return IDABORT;
    CText text;
    text.FormatResource(textId, path.c_str());
    return progress.Ask(text.GetString(), caption.c_str(), type);
}

std::string ShortPath(const std::string& path)
{
    char buffer[MAX_PATH] = "";
    DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

std::vector<std::string> SplitAtSpaces(const std::string& text)
{
    std::vector<std::string> names;
    size_t position = 0;
    while (position < text.size()) {
        size_t end = text.find(' ', position);
        if (end == std::string::npos)
            end = text.size();
        if (end > position)
            names.push_back(text.substr(position, end - position));
        position = end + 1;
    }
    return names;
}

// The four 16-bit parts of a file's version; 0 when it has no readable one.
// The version functions come from the system folder's version.dll, which
// the installer does not import: it is no library that Windows always
// takes from the system folder.
int ReadFileVersion(const std::string& path, uint16_t parts[4])
{
    auto getSize = SystemFunction<decltype(&GetFileVersionInfoSizeA)>("version.dll", "GetFileVersionInfoSizeA");
    auto getInfo = SystemFunction<decltype(&GetFileVersionInfoA)>("version.dll", "GetFileVersionInfoA");
    auto query = SystemFunction<decltype(&VerQueryValueA)>("version.dll", "VerQueryValueA");
    if (getSize == nullptr || getInfo == nullptr || query == nullptr)
        return 0;
    DWORD handle = 0;
    DWORD size = getSize(path.c_str(), &handle);
    if (size == 0)
        return 0;
    std::vector<BYTE> block(size + 2);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!getInfo(path.c_str(), 0, size, block.data()) ||
        !query(block.data(), "\\", (void**)&info, &infoSize) || info == nullptr ||
        infoSize < sizeof *info)
        return 0;
    parts[0] = HIWORD(info->dwFileVersionMS);
    parts[1] = LOWORD(info->dwFileVersionMS);
    parts[2] = HIWORD(info->dwFileVersionLS);
    parts[3] = LOWORD(info->dwFileVersionLS);
    return 1;
}

} // namespace

int CSetupScript::Stepped(int result)
{
    GetProgress().Step();
    return result;
}

int CSetupScript::InstallFile(CFileItem& item)
{
    CInstallProgress& progress = GetProgress();
    ExpandMacros(item.m_destination);
    if (item.IsDirectory()) {
        CText text;
        text.FormatResource(IDS_CREATING_DIRECTORY, item.m_destination.c_str());
        progress.SetItemText(text.GetString());
        if (!CreateFolder(item.m_destination))
            return Stepped(0);
        LogLine("DIRECTORY", item.m_destination.c_str());
        return Stepped(1);
    }
    progress.SetItemText(item.m_destination.c_str());

    // A carried file that is missing means a damaged setup program: an
    // empty file in its place would look installed and be useless.
    CCarried carried = FindCarried(GetCarrier(), item.m_source, "FILES");
    if (!carried.found)
        return Stepped(AskMissingFile(item));

    std::string oldName;
    if (!item.m_version.empty() || !item.m_functions.empty()) {
        const char* destination = item.m_destination.c_str();
        bool exists = AnyFileMatches(destination) != 0;
        if (exists && !NeedsReplace(item)) {
            if (!AskReplaceNewer(item))
                return Stepped(1);
            int backedUp = BackUpNewer(item);
            if (backedUp != 1)
                return Stepped(backedUp == IDIGNORE);
        }
        if (exists && !DeleteFileA(destination)) {
            oldName = item.m_destination;
            item.m_destination = ReplaceFromLastDot(oldName, ".new");
        }
    }

    CDiskFile file;
    int created = CreateDestination(item, file);
    if (created != 1)
        return Stepped(created == IDIGNORE);
    // A file waiting under its ".new" name is logged under the name it will
    // have, where the remover finds it.
    LogLine("FILE", (oldName.empty() ? item.m_destination : oldName).c_str());
    int written = WriteCarriedBytes(item, file, carried.bytes, carried.size);
    if (written != 1)
        return Stepped(written == IDIGNORE);
    StampFile(item, file);
    file.Close();
    if (!oldName.empty())
        ReplaceAtRestart(item, oldName);
    return Stepped(1);
}

int CSetupScript::AskMissingFile(const CFileItem& item)
{
    return AskAbout(GetProgress(), IDS_MISSING_FILE, item.m_source, "Error",
                    MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

int CSetupScript::AskReplaceNewer(const CFileItem& item)
{
    return AskAbout(GetProgress(), IDS_NEWER_FILE, item.m_destination, LoadText(IDS_STEP_COPY),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

int CSetupScript::AskFileError(const CFileItem& item)
{
    return AskAbout(GetProgress(), IDS_CANNOT_COPY, item.m_destination, "Error", MB_ABORTRETRYIGNORE);
}

// The question about a newer file promises a backup: the existing file is
// copied to its ".bak" name before anything replaces it. 1 when copied;
// otherwise the user's IDABORT, or IDIGNORE, which keeps the newer file.
int CSetupScript::BackUpNewer(const CFileItem& item)
{
    std::string backup = ReplaceFromLastDot(item.m_destination, ".bak");
    while (!CopyFileA(item.m_destination.c_str(), backup.c_str(), FALSE)) {
        int answer = AskAbout(GetProgress(), IDS_CANNOT_COPY, backup, "Error", MB_ABORTRETRYIGNORE);
        if (answer != IDRETRY)
            return answer;
    }
    return 1;
}

// 1 when the file is open for writing; otherwise the user's IDABORT or
// IDIGNORE.
int CSetupScript::CreateDestination(CFileItem& item, CDiskFile& file)
{
    CFileError error;
    while (!file.Open(item.m_destination.c_str(), kFileCreate | kFileWrite | kFileNoInherit, &error)) {
        int answer = AskFileError(item);
        if (answer != IDRETRY)
            return answer;
    }
    return 1;
}

// Writes the bytes in blocks, pausing between them while the user is asked
// about cancelling. 1 when written; otherwise the user's IDABORT or IDIGNORE.
int CSetupScript::WriteCarriedBytes(CFileItem& item, CDiskFile& file, const void* bytes, DWORD size)
{
    CInstallProgress& progress = GetProgress();
    const BYTE* data = (const BYTE*)bytes;
    CFileError error;
    for (;;) {
        DWORD done = 0;
        while (done < size) {
            // Stopped in the middle of a file: the part written is no file
            // of use, and the worker must not outlive its dialog's short
            // wait for it by finishing a large one.
            if (!progress.AtItemBoundary()) {
                file.Close();
                DeleteFileA(item.m_destination.c_str());
                return IDABORT;
            }
            DWORD block = size - done < kWriteBlock ? size - done : kWriteBlock;
            if (!file.Write(data + done, block, &error))
                break;
            done += block;
        }
        if (done == size)
            return 1;
        int answer = AskFileError(item);
        if (answer != IDRETRY)
            return answer;
        file.Seek(0, FILE_BEGIN, nullptr);
    }
}

// The carried stamp is a local time; files keep UTC.
void CSetupScript::StampFile(const CFileItem& item, CDiskFile& file)
{
    CCarried stamp = FindCarried(GetCarrier(), item.m_source, "FILEINFO");
    FILETIME local, universal;
    if (!stamp.found || stamp.size < sizeof local)
        return;
    memcpy(&local, stamp.bytes, sizeof local);
    if (LocalFileTimeToFileTime(&local, &universal))
        SetFileTime(file.GetHandle(), &universal, nullptr, &universal);
}

// The old file is in use: the new one waits beside it under its ".new" name
// until Windows replaces it at the next start.
void CSetupScript::ReplaceAtRestart(CFileItem& item, const std::string& oldName)
{
    item.m_destination = ShortPath(item.m_destination);
    std::string oldShort = ShortPath(oldName);
    const char* newFile = item.m_destination.c_str();
    CopyFileA(oldShort.c_str(), ReplaceFromLastDot(oldShort, ".bak").c_str(), FALSE);
    // A restart is asked for only when a replacement really waits for it.
    if (MoveFileExA(newFile, oldShort.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT)) {
        m_installStatus = 1;
        return;
    }
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED) {
        AskAbout(GetProgress(), IDS_ACCESS_DENIED, oldShort, "Error", MB_ICONINFORMATION);
        DeleteFileA(newFile);
    } else if (error == ERROR_CALL_NOT_IMPLEMENTED) {
        // Windows 95 and 98 carry out the "rename" section of wininit.ini.
        std::string wininit = "%w\\wininit.ini";
        ExpandMacros(wininit);
        if (WritePrivateProfileStringA("rename", oldShort.c_str(), newFile, wininit.c_str()))
            m_installStatus = 1;
    }
}

int CSetupScript::NeedsReplace(const CFileItem& item)
{
    // Loaded only to look up its exports: its own code never runs.
    HMODULE module = LoadLibraryExA(item.m_destination.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (module == nullptr)
        return 1;
    bool lacksFunction = false;
    for (const std::string& name : SplitAtSpaces(item.m_functions))
        if (GetProcAddress(module, name.c_str()) == nullptr)
            lacksFunction = true;
    FreeLibrary(module);
    if (lacksFunction)
        return 1;
    if (item.m_version.empty())
        return 0;
    uint16_t parts[4];
    if (!ReadFileVersion(item.m_destination, parts))
        return 1;
    return VersionIsNewer(item.m_version, parts) ? 1 : 0;
}
