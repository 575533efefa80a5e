#include "Files.h"

#include <commdlg.h>
#include <string.h>

#include "AppThread.h"
#include "Utility.h"

static void CopyCut(char* buffer, int capacity, const char* text)
{
    if (capacity <= 0)
        return;
    strncpy(buffer, text, (size_t)capacity - 1);
    buffer[capacity - 1] = 0;
}

int CError::GetErrorMessage(char* buffer, int capacity)
{
    CopyCut(buffer, capacity, "No error");
    return 1;
}

int CError::ReportError(UINT type, UINT stringId)
{
    char buffer[1000];
    if (!GetErrorMessage(buffer, sizeof buffer)) {
        if (stringId == 0 || LoadStringResource(stringId, buffer, sizeof buffer) <= 0)
            CopyCut(buffer, sizeof buffer, "No error message is available.");
    }
    return MessageBoxA(GetActiveWindow(), buffer, "File Error", type);
}

static const char* const kCauseMessages[] = {
    "No error.", "Generic error.", "File not found.", "Invalid path.", "Too many open files.", "Access denied.",
    "Invalid file.", "File corrupt.", "File exist.", "Removing current directory.", "Directory full.",
    "Bad seek.", "Invalid IO operation.", "Sharing violation.", "Lock violation", "Disk is write protected.",
    "Write fault.", "Read fault.", "Cannot create file.", "Disk full.", "End of file.",
    "Cannot open the specified file.", "Unknown error.",
};

CFileError::CFileError(int cause, int systemError, const char* fileName)
    : m_cause(cause), m_fileName(fileName), m_systemError(systemError)
{
}

int CFileError::GetErrorMessage(char* buffer, int capacity)
{
    if (m_cause < 0 || m_cause > kUnknown)
        return 0;
    const char* message = kCauseMessages[m_cause];
    int length = (int)strlen(message);
    if (length >= capacity) {
        CopyCut(buffer, capacity, message);
        return 1;
    }
    strcpy(buffer, message);
    if (capacity >= length + m_fileName.GetLength() + 8) {
        strcat(buffer, " File: ");
        strcat(buffer, m_fileName.GetString());
    }
    return 1;
}

int CFileError::CauseFromSystemError(DWORD systemError)
{
    switch (systemError) {
    case 0: return kNone;
    case ERROR_FILE_NOT_FOUND: return kFileNotFound;
    case ERROR_PATH_NOT_FOUND: case ERROR_DIRECTORY: return kInvalidPath;
    case ERROR_TOO_MANY_OPEN_FILES: return kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED: return kAccessDenied;
    case ERROR_INVALID_HANDLE: return kInvalidFile;
    case ERROR_CURRENT_DIRECTORY: return kRemovingCurrentDirectory;
    case ERROR_WRITE_PROTECT: return kWriteProtected;
    case ERROR_WRITE_FAULT: return kWriteFault;
    case ERROR_READ_FAULT: return kReadFault;
    case ERROR_GEN_FAILURE: return kGeneric;
    case ERROR_SHARING_VIOLATION: return kSharingViolation;
    case ERROR_LOCK_VIOLATION: return kLockViolation;
    case ERROR_HANDLE_EOF: return kEndOfFile;
    case ERROR_FILE_EXISTS: return kFileExists;
    case ERROR_CANNOT_MAKE: return kCannotCreate;
    case ERROR_OPEN_FAILED: return kCannotOpen;
    case ERROR_DISK_FULL: return kDiskFull;
    case 197: case 996: case 997: case 1111: case 1117: return kInvalidIo;
    case ERROR_FILE_CORRUPT: return kFileCorrupt;
    default: return kUnknown;
    }
}

void CFileError::Record(DWORD systemError, const char* fileName)
{
    m_systemError = (int)systemError;
    m_cause = CauseFromSystemError(systemError);
    m_fileName.Assign(fileName);
}

CDiskFile::CDiskFile() : m_handle(INVALID_HANDLE_VALUE), m_ownsHandle(0) {}

CDiskFile::CDiskFile(const char* fileName, UINT flags, CFileError* error) : CDiskFile()
{
    Open(fileName, flags & ~(UINT)kFileIgnored, error);
}

CDiskFile::~CDiskFile()
{
    if (m_handle != INVALID_HANDLE_VALUE && m_ownsHandle)
        CloseHandle(m_handle);
}

DWORD CDiskFile::GetPosition()
{
    DWORD position = SetFilePointer(m_handle, 0, nullptr, FILE_CURRENT);
    return position == INVALID_SET_FILE_POINTER ? 0 : position;
}

void CDiskFile::GetFilePath(CText& path) { path.Assign(m_path); }

void CDiskFile::GetFileTitle(CText& title)
{
    char buffer[2000] = "";
    ::GetFileTitleA(m_path.GetString(), buffer, sizeof buffer);
    title.Assign(buffer);
}

void CDiskFile::GetFullPath(CText& path)
{
    char buffer[2000] = "";
    GetFullPathNameA(m_path.GetString(), sizeof buffer, buffer, nullptr);
    path.Assign(buffer);
}

void CDiskFile::SetFilePath(const char* path) { m_path.Assign(path); }

int CDiskFile::Open(const char* fileName, UINT flags, CFileError* error)
{
    if (m_handle != INVALID_HANDLE_VALUE && m_ownsHandle)
        Close();
    m_ownsHandle = 1;

    char fullPath[MAX_PATH] = "";
    GetFullPathNameA(fileName, sizeof fullPath, fullPath, nullptr);
    m_path.Assign(fullPath);

    static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, 0};
    DWORD access = kAccess[flags & 3];
    DWORD share = 0;
    switch (flags & 0x70) {
    case kFileShareRead: share = FILE_SHARE_READ; break;
    case kFileShareWrite: share = FILE_SHARE_WRITE; break;
    case kFileShareReadWrite: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: break;
    }
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, (flags & kFileNoInherit) ? FALSE : TRUE};
    DWORD disposition = OPEN_EXISTING;
    if (flags & kFileCreate)
        disposition = (flags & kFileKeepContents) ? OPEN_ALWAYS : CREATE_ALWAYS;

    m_handle = CreateFileA(fileName, access, share, &security, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle != INVALID_HANDLE_VALUE)
        return 1;
    if (error != nullptr)
        error->Record(GetLastError(), fileName);
    return 0;
}

DWORD CDiskFile::Seek(LONG distance, DWORD method, CFileError* error)
{
    DWORD position = SetFilePointer(m_handle, distance, nullptr, method);
    if (position != INVALID_SET_FILE_POINTER)
        return position;
    if (error != nullptr)
        error->Record(GetLastError(), m_path.GetString());
    return 0;
}

int CDiskFile::SetLength(DWORD length)
{
    Seek((LONG)length, FILE_BEGIN, nullptr);
    return SetEndOfFile(m_handle);
}

DWORD CDiskFile::GetLength() { return GetFileSize(m_handle, nullptr); }

DWORD CDiskFile::Read(void* buffer, DWORD count, CFileError* error)
{
    if (count == 0)
        return 0;
    DWORD read = 0;
    if (ReadFile(m_handle, buffer, count, &read, nullptr) && read >= count)
        return read;
    if (error != nullptr)
        error->Record(GetLastError(), m_path.GetString());
    return 0;
}

int CDiskFile::Write(const void* buffer, DWORD count, CFileError* error)
{
    if (count == 0)
        return 1;
    DWORD written = 0;
    if (WriteFile(m_handle, buffer, count, &written, nullptr) && written == count)
        return 1;
    if (error != nullptr)
        error->Record(GetLastError(), m_path.GetString());
    return 0;
}

int CDiskFile::LockRange(DWORD offset, DWORD count) { return LockFile(m_handle, offset, 0, count, 0); }
int CDiskFile::UnlockRange(DWORD offset, DWORD count) { return UnlockFile(m_handle, offset, 0, count, 0); }
int CDiskFile::Flush() { return FlushFileBuffers(m_handle); }

int CDiskFile::Close()
{
    int failed = 0;
    if (m_handle != INVALID_HANDLE_VALUE)
        failed = !CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_ownsHandle = 0;
    m_path.Empty();
    return failed;
}

CFileFinder::CFileFinder() : m_find(nullptr), m_data() {}

CFileFinder::~CFileFinder() { CloseSearch(); }

void CFileFinder::CloseSearch()
{
    if (m_find != nullptr && m_find != INVALID_HANDLE_VALUE)
        FindClose(m_find);
    m_find = nullptr;
}

int CFileFinder::FindFile(const char* pattern)
{
    if (pattern == nullptr)
        pattern = "*.*";
    int slash = ReverseFindChar(pattern, '\\');
    m_prefix.AssignPart(pattern, slash + 1);
    CloseSearch();
    m_find = FindFirstFileA(pattern, &m_data);
    if (m_find == INVALID_HANDLE_VALUE) {
        m_find = nullptr;
        return 0;
    }
    return 1;
}

int CFileFinder::FindNext()
{
    if (m_find == nullptr)
        return FindFile(nullptr);
    return FindNextFileA(m_find, &m_data);
}

void CFileFinder::GetFileName(CText& name) { name.Assign(m_data.cFileName); }
DWORD CFileFinder::GetFileLength() { return m_data.nFileSizeLow; }

void CFileFinder::GetFilePath(CText& path)
{
    path.Assign(m_prefix);
    path.Append(m_data.cFileName);
}

void CFileFinder::GetFileTitle(CText& title)
{
    CText path;
    GetFilePath(path);
    char buffer[MAX_PATH] = "";
    ::GetFileTitleA(path.GetString(), buffer, sizeof buffer);
    title.Assign(buffer);
}

void CFileFinder::GetFileUrl(CText& url)
{
    url.Assign("file://");
    url.Append(m_prefix);
    url.Append(m_data.cFileName);
}

static int CopyTime(FILETIME* destination, const FILETIME& source)
{
    if (destination == nullptr)
        return 0;
    *destination = source;
    return 1;
}

CTimeValue CFileFinder::GetLastWriteTime() { return CTimeValue::FromFileTime(m_data.ftLastWriteTime, -1); }
int CFileFinder::GetLastWriteTime(FILETIME* time) { return CopyTime(time, m_data.ftLastWriteTime); }
CTimeValue CFileFinder::GetLastAccessTime() { return CTimeValue::FromFileTime(m_data.ftLastAccessTime, -1); }
int CFileFinder::GetLastAccessTime(FILETIME* time) { return CopyTime(time, m_data.ftLastAccessTime); }
CTimeValue CFileFinder::GetCreationTime() { return CTimeValue::FromFileTime(m_data.ftCreationTime, -1); }
int CFileFinder::GetCreationTime(FILETIME* time) { return CopyTime(time, m_data.ftCreationTime); }
DWORD CFileFinder::MatchesAttributes(DWORD mask) { return m_data.dwFileAttributes & mask; }

// Whether any entry of the search is accepted by the test.
template <class Accept>
static int AnyFoundEntry(const char* pattern, Accept accept)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int found = 0;
    do {
        found = accept(data.dwFileAttributes);
    } while (!found && FindNextFileA(find, &data));
    FindClose(find);
    return found;
}

int DirectoryExists(const char* path)
{
    if (path == nullptr || strlen(path) < 3)
        return 0;
    if (strlen(path) == 3 && path[1] == ':' && path[2] == '\\')
        return GetDriveTypeA(path) > DRIVE_NO_ROOT_DIR;
    return AnyFoundEntry(path, [](DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; });
}

int AnyFileMatches(const char* pattern)
{
    // An entry that is a plain directory and nothing else does not count.
    return AnyFoundEntry(pattern, [](DWORD attributes) { return attributes != FILE_ATTRIBUTE_DIRECTORY; });
}
