// Clippage, clipbook and clipbook data files on disk: whole-file reads,
// saves that never destroy the previous file, and the conversion between a
// format copy and its stored record.
#pragma once

#include <windows.h>

#include "ClipBook.h"
#include "ClipFileCodec.h"
#include "Files.h"
#include "Text.h"

// The bytes of a whole file, at once. A file on a local fixed drive is
// mapped rather than copied; the file stays open, readable by others only,
// while the bytes are held.
class CFileBytes {
public:
    CFileBytes() : m_bytes(nullptr), m_length(0), m_mapped(0) {}
    ~CFileBytes() { Free(); }
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;

    // 0 when the file cannot be opened or read whole.
    int Read(const char* path);
    void Free();
    const uint8_t* GetBytes() const { return m_bytes; }
    size_t GetLength() const { return m_length; }

private:
    int Map(DWORD length);

    CDiskFile m_file;
    uint8_t* m_bytes;
    size_t m_length;
    int m_mapped;
};

// Writes a file as a temporary file in the target's folder that replaces
// the target only once all of it is written and flushed; until then, and
// after any failure, the target stays as it was and the temporary file is
// removed.
class CSafeFileWriter : public CByteSink {
public:
    enum { kBufferSize = 64 * 1024 };

    CSafeFileWriter();
    ~CSafeFileWriter() override;

    int Open(const char* path);
    int Put(const void* bytes, size_t count) override;
    // Flushes, closes and puts the file in place of the target.
    int Commit();
    void Abandon();

    const char* GetTemporaryPath() const { return m_temporary.GetString(); }
    // The system's error code of the first failure; 0 when none was seen.
    DWORD GetError() const { return m_error; }

private:
    int WriteBuffered();
    int Fail();

    CDiskFile m_file;
    CText m_target;
    CText m_temporary;
    BYTE* m_buffer;
    size_t m_used;
    int m_failed;
    DWORD m_error;
};

// Writes one format copy as a stored record. Records without data, and
// formats that cannot be stored (ChooseStoredFormatId), are left out; that
// is not a failure. 0 when the sink failed.
int WriteClipRecord(CByteSink& sink, const CClipFormat& record);
// A format copy built from a stored record. Data that the graphics system
// refuses leaves the record without data; null only when out of memory.
CClipFormat* BuildClipRecord(const CStoredRecord& stored);

int WriteClipPage(CByteSink& sink, const CClipPage& page, ClipFileType type);
int WriteClipBook(CByteSink& sink, const CClipBook& book, ClipFileType type);

// Saves through CSafeFileWriter.
int SavePageFile(const CClipPage& page, const char* path);
// The system's reason for a failure goes to error, when given.
int SaveBookFile(const CClipBook& book, const char* path, int dataFile, DWORD* error = nullptr);
// Appends the records of a clippage file to the page. 0 when the file
// cannot be read or is damaged; the records read before stay.
int LoadPageFile(const char* path, CClipPage& page);
// Appends the pages of a clipbook file ("VLMB1") or data file ("VLMD1") to
// the book. 0 when the file cannot be read, has the wrong magic or is
// damaged; the pages read before stay, the damaged one with the records
// read before the damage.
int LoadBookFile(const char* path, int dataFile, CClipBook& book);
int ParseBookBytes(const uint8_t* bytes, size_t length, int dataFile, CClipBook& book);

// "Vellmora.cbd" in the folder of the running program.
void GetDataFilePath(CText& path);
// The name a damaged data file is kept under: the path plus ".bad".
void GetDataFileBackupPath(const char* dataFile, CText& backup);
