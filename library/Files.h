// Files with error causes, directory search and path tests.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "Text.h"

#include "Utility.h"

class CError {
public:
    virtual ~CError() {}
    virtual int GetErrorMessage(char* buffer, int capacity);
    // Shows the message in a "File Error" box owned by the active window.
    virtual int ReportError(UINT type, UINT stringId);
};

class CFileError : public CError {
public:
    enum {
        kNone = 0, kGeneric, kFileNotFound, kInvalidPath, kTooManyOpenFiles, kAccessDenied, kInvalidFile,
        kFileCorrupt, kFileExists, kRemovingCurrentDirectory, kDirectoryFull, kBadSeek, kInvalidIo,
        kSharingViolation, kLockViolation, kWriteProtected, kWriteFault, kReadFault, kCannotCreate, kDiskFull,
        kEndOfFile, kCannotOpen, kUnknown
    };

    CFileError(int cause = 0, int systemError = -1, const char* fileName = nullptr);
    int GetErrorMessage(char* buffer, int capacity) override;

    // Fills all three fields from a Win32 error code.
    void Record(DWORD systemError, const char* fileName);
    static int CauseFromSystemError(DWORD systemError);

    int m_cause;
    CText m_fileName;
    int m_systemError;
};

// Open flags of CDiskFile.
enum : UINT {
    kFileRead = 0x0000,
    kFileWrite = 0x0001,
    kFileReadWrite = 0x0002,
    kFileNoAccess = 0x0003,
    kFileShareRead = 0x0020,
    kFileShareWrite = 0x0030,
    kFileShareReadWrite = 0x0040,
    kFileNoInherit = 0x0080,
    kFileCreate = 0x1000,
    kFileKeepContents = 0x2000,
    kFileIgnored = 0x8000,
};

class CDiskFile {
public:
    CDiskFile();
    CDiskFile(const char* fileName, UINT flags, CFileError* error);
    CDiskFile(const CDiskFile&) = delete;
    CDiskFile& operator=(const CDiskFile&) = delete;
    virtual ~CDiskFile();

    virtual DWORD GetPosition();
    virtual void GetFilePath(CText& path);
    virtual void GetFileTitle(CText& title);
    virtual void GetFullPath(CText& path);
    virtual void SetFilePath(const char* path);
    virtual int Open(const char* fileName, UINT flags, CFileError* error);
    virtual DWORD Seek(LONG distance, DWORD method, CFileError* error);
    virtual int SetLength(DWORD length);
    virtual DWORD GetLength();
    virtual DWORD Read(void* buffer, DWORD count, CFileError* error);
    virtual int Write(const void* buffer, DWORD count, CFileError* error);
    virtual int LockRange(DWORD offset, DWORD count);
    virtual int UnlockRange(DWORD offset, DWORD count);
    virtual int Flush();
    virtual int Close();

    HANDLE GetHandle() const { return m_handle; }
    int IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

protected:
    HANDLE m_handle;
    int m_ownsHandle;
    CText m_path;
};

class CFileFinder {
public:
    CFileFinder();
    CFileFinder(const CFileFinder&) = delete;
    CFileFinder& operator=(const CFileFinder&) = delete;
    virtual ~CFileFinder();

    virtual int FindFile(const char* pattern);
    virtual int FindNext();
    virtual void GetFileName(CText& name);
    virtual DWORD GetFileLength();
    virtual void GetFilePath(CText& path);
    virtual void GetFileTitle(CText& title);
    virtual void GetFileUrl(CText& url);
    virtual CTimeValue GetLastWriteTime();
    virtual int GetLastWriteTime(FILETIME* time);
    virtual CTimeValue GetLastAccessTime();
    virtual int GetLastAccessTime(FILETIME* time);
    virtual CTimeValue GetCreationTime();
    virtual int GetCreationTime(FILETIME* time);
    virtual DWORD MatchesAttributes(DWORD mask);

    int IsDirectory() { return MatchesAttributes(FILE_ATTRIBUTE_DIRECTORY) != 0; }
    const WIN32_FIND_DATAA& GetFindData() const { return m_data; }

private:
    void CloseSearch();

    HANDLE m_find;
    WIN32_FIND_DATAA m_data;
    CText m_prefix;
};

int DirectoryExists(const char* path);
int AnyFileMatches(const char* pattern);
