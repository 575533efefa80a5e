#include "ClipFiles.h"

#include <stdlib.h>
#include <string.h>

#include <new>

namespace {

// No stored bitmap block may exceed this; a larger one is left out.
const uint64_t kStoredDibLimit = 0x7FFFFFFF;

// Bytes that a stored record needs besides the copy itself (metafile,
// bitmap, palette and enhanced metafile bits), freed with the object.
class CStoredBytes {
public:
    CStoredBytes() : m_bytes(nullptr) {}
    ~CStoredBytes() { free(m_bytes); }
    CStoredBytes(const CStoredBytes&) = delete;
    CStoredBytes& operator=(const CStoredBytes&) = delete;

    BYTE* Allocate(uint64_t size)
    {
        free(m_bytes);
        m_bytes = size <= kStoredDibLimit ? (BYTE*)calloc((size_t)(size != 0 ? size : 1), 1) : nullptr;
        return m_bytes;
    }

private:
    BYTE* m_bytes;
};

// The bitmap block: the header that GetDIBits gives for the bitmap's own
// format, its colour area and the bits, laid out as the files store them.
int DescribeBitmap(HBITMAP bitmap, CStoredBytes& bytes, CStoredRecord* stored)
{
    HDC dc = GetDC(nullptr);
    if (dc == nullptr)
        return 0;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    CStoredDibLayout layout;
    int described = GetDIBits(dc, bitmap, 0, 0, nullptr, (BITMAPINFO*)&header, DIB_RGB_COLORS) != 0;
    if (described && !MeasureStoredDib((const uint8_t*)&header, &layout)) {
        // A device format without a stored layout is stored as 32 bits.
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        header.biClrUsed = 0;
    }
    UINT rows = (UINT)(header.biHeight < 0 ? -(LONGLONG)header.biHeight : header.biHeight);
    // The rows GetDIBits writes must fit in the bits the header announces.
    ULONGLONG pixelBytes = DibRowBytes(header.biWidth, header.biBitCount) * rows;
    if (header.biBitCount <= 8 && header.biSizeImage < pixelBytes && pixelBytes <= 0xFFFFFFFFu)
        header.biSizeImage = (DWORD)pixelBytes;
    described = described && MeasureStoredDib((const uint8_t*)&header, &layout) && layout.bitsBytes >= pixelBytes;
    uint64_t total = described ? (uint64_t)layout.headerBytes + layout.colourBytes + layout.bitsBytes : 0;
    BYTE* block = described ? bytes.Allocate(total) : nullptr;
    if (block != nullptr) {
        memcpy(block, &header, sizeof header);
        BYTE* bits = block + layout.headerBytes + layout.colourBytes;
        described = GetDIBits(dc, bitmap, 0, rows, bits, (BITMAPINFO*)block, DIB_RGB_COLORS) == (int)rows;
        // The call may rewrite the header; the stored one is what was measured.
        memcpy(block, &header, sizeof header);
    }
    ReleaseDC(nullptr, dc);
    if (block == nullptr || !described)
        return 0;
    stored->data = block;
    stored->dataBytes = (uint32_t)total;
    return 1;
}

int DescribePalette(HPALETTE palette, CStoredBytes& bytes, CStoredRecord* stored)
{
    UINT entries = GetPaletteEntries(palette, 0, 0, nullptr);
    if (entries == 0 || entries > 0xFFFF)
        return 0;
    uint32_t length = StoredPaletteLength(entries);
    BYTE* block = bytes.Allocate(length);
    if (block == nullptr)
        return 0;
    // palVersion, palNumEntries, the entries; the last 4 bytes stay zero.
    WORD header[2] = {0x300, (WORD)entries};
    memcpy(block, header, sizeof header);
    if (GetPaletteEntries(palette, 0, entries, (PALETTEENTRY*)(block + sizeof header)) != entries)
        return 0;
    stored->data = block;
    stored->dataBytes = length;
    return 1;
}

int DescribeMetafilePicture(const METAFILEPICT& picture, CStoredBytes& bytes, CStoredRecord* stored)
{
    stored->size = kStoredMetafilePictureSize;
    stored->mappingMode = picture.mm;
    stored->xExtent = picture.xExt;
    stored->yExtent = picture.yExt;
    UINT length = picture.hMF != nullptr ? GetMetaFileBitsEx(picture.hMF, 0, nullptr) : 0;
    BYTE* block = bytes.Allocate(length);
    if (block == nullptr || (length != 0 && GetMetaFileBitsEx(picture.hMF, length, block) != length))
        return 0;
    stored->data = block;
    stored->dataBytes = length;
    return 1;
}

int DescribeEnhMetafile(HENHMETAFILE metafile, CStoredBytes& bytes, CStoredRecord* stored)
{
    UINT length = GetEnhMetaFileBits(metafile, 0, nullptr);
    BYTE* block = length != 0 ? bytes.Allocate(length) : nullptr;
    if (block == nullptr || GetEnhMetaFileBits(metafile, length, block) != length)
        return 0;
    stored->data = block;
    stored->dataBytes = length;
    return 1;
}

// The stored form of a record; 0 when it is left out of the file.
int DescribeRecord(const CClipFormat& record, CStoredBytes& bytes, CStoredRecord* stored)
{
    memset(stored, 0, sizeof *stored);
    if (!record.HasData() || !ChooseStoredFormatId(record.GetFormatId(), &stored->formatId))
        return 0;
    stored->name = record.GetName();
    stored->size = record.GetSize();
    switch (record.GetKind()) {
    case kClipMemoryBlock:
        stored->data = (const uint8_t*)record.GetData();
        stored->dataBytes = record.GetSize();
        return 1;
    case kClipMetafilePicture: return DescribeMetafilePicture(*record.GetMetafilePicture(), bytes, stored);
    case kClipBitmap: return DescribeBitmap((HBITMAP)record.GetHandle(), bytes, stored);
    case kClipPalette: return DescribePalette((HPALETTE)record.GetHandle(), bytes, stored);
    case kClipEnhMetafile: return DescribeEnhMetafile((HENHMETAFILE)record.GetHandle(), bytes, stored);
    default:
        // Values of private formats are 32 bits wide on every system.
        stored->value = (uint32_t)(UINT_PTR)record.GetHandle();
        return 1;
    }
}

HANDLE BuildHandle(const CStoredRecord& stored)
{
    switch (stored.kind) {
    case kStoredBitmap: {
        CStoredDibLayout layout;
        if (!MeasureStoredDib(stored.data, &layout))
            return nullptr;
        DWORD infoBytes = layout.headerBytes + layout.colourBytes;
        return CreateBitmapFromDib(stored.data, infoBytes, stored.data + infoBytes, layout.bitsBytes);
    }
    case kStoredPalette: return CreatePaletteFromBytes(stored.data, stored.dataBytes);
    case kStoredEnhMetafile:
        return IsSoundEnhMetafile(stored.data, stored.dataBytes) ? SetEnhMetaFileBits(stored.dataBytes, stored.data)
                                                                 : nullptr;
    default: return (HANDLE)(UINT_PTR)stored.value;
    }
}

// Hands the records of a file to pages: those of a book to new pages
// appended to the book, those of a clippage file to one given page.
class CPageBuilder : public CStoredFileSink {
public:
    CPageBuilder(CClipBook* book, CClipPage* page) : m_book(book), m_page(page) {}

    int OnPage(const char* name) override
    {
        if (m_book == nullptr)
            return 1;
        m_page = new (std::nothrow) CClipPage(name);
        if (m_page == nullptr)
            return 0;
        m_book->Append(m_page);
        return 1;
    }

    int OnRecord(const CStoredRecord& stored) override
    {
        CClipFormat* record = BuildClipRecord(stored);
        if (record == nullptr)
            return 0;
        m_page->Append(record);
        return 1;
    }

private:
    CClipBook* m_book;
    CClipPage* m_page;
};

} // namespace

int CFileBytes::Read(const char* path)
{
    Free();
    CFileError error;
    if (!m_file.Open(path, kFileRead | kFileShareRead, &error))
        return 0;
    DWORD high = 0;
    DWORD length = GetFileSize(m_file.GetHandle(), &high);
    if ((length == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0 || length > 0x7FFFFFF0) {
        Free();
        return 0;
    }
    // A mapped file costs no copy; a read of one from a network or a
    // removable drive reports a failure instead of faulting.
    char root[4] = {0, ':', '\\', 0};
    CText full;
    m_file.GetFullPath(full);
    root[0] = full.GetAt(0);
    if (length != 0 && full.GetAt(1) == ':' && GetDriveTypeA(root) == DRIVE_FIXED && Map(length))
        return 1;
    // The reader keeps within the length, mapped or not; the one byte an
    // empty file gets is only there because malloc(0) may answer null.
    m_bytes = (uint8_t*)malloc(length != 0 ? (size_t)length : 1);
    if (m_bytes == nullptr || (length != 0 && m_file.Read(m_bytes, length, &error) != length)) {
        Free();
        return 0;
    }
    m_length = length;
    return 1;
}

int CFileBytes::Map(DWORD length)
{
    HANDLE mapping = CreateFileMappingA(m_file.GetHandle(), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr)
        return 0;
    // The view keeps the mapping.
    m_bytes = (uint8_t*)MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);
    if (m_bytes == nullptr)
        return 0;
    m_mapped = 1;
    m_length = length;
    return 1;
}

void CFileBytes::Free()
{
    if (m_mapped)
        UnmapViewOfFile(m_bytes);
    else
        free(m_bytes);
    m_file.Close();
    m_bytes = nullptr;
    m_length = 0;
    m_mapped = 0;
}

CSafeFileWriter::CSafeFileWriter() : m_buffer(nullptr), m_used(0), m_failed(1), m_error(0) {}

// Keeps the system's reason of the first failure, before any clean-up can
// overwrite it.
int CSafeFileWriter::Fail()
{
    if (m_error == 0)
        m_error = GetLastError() != 0 ? GetLastError() : ERROR_WRITE_FAULT;
    m_failed = 1;
    return 0;
}

CSafeFileWriter::~CSafeFileWriter()
{
    Abandon();
    free(m_buffer);
}

int CSafeFileWriter::Open(const char* path)
{
    Abandon();
    m_error = 0;
    char full[MAX_PATH] = "";
    char* name = nullptr;
    DWORD length = GetFullPathNameA(path, sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || name == nullptr || name == full)
        return Fail();
    m_target.Assign(full);
    // The temporary file lives beside the target, so that putting it in
    // place is a rename within one volume.
    CText folder;
    folder.AssignPart(full, (int)(name - full));
    char temporary[MAX_PATH] = "";
    if (!GetTempFileNameA(folder.GetString(), "vlm", 0, temporary))
        return Fail();
    m_temporary.Assign(temporary);
    if (m_buffer == nullptr)
        m_buffer = (BYTE*)malloc(kBufferSize);
    CFileError error;
    if (m_buffer == nullptr || !m_file.Open(temporary, kFileWrite | kFileCreate | kFileShareRead, &error)) {
        SetLastError(m_buffer == nullptr           ? ERROR_NOT_ENOUGH_MEMORY
                     : error.m_systemError > 0 ? (DWORD)error.m_systemError
                                               : ERROR_CANNOT_MAKE);
        Fail();
        DeleteFileA(temporary);
        m_temporary.Empty();
        return 0;
    }
    m_used = 0;
    m_failed = 0;
    return 1;
}

int CSafeFileWriter::WriteBuffered()
{
    if (m_used != 0 && !m_failed && !m_file.Write(m_buffer, (DWORD)m_used, nullptr))
        Fail();
    m_used = 0;
    return !m_failed;
}

int CSafeFileWriter::Put(const void* bytes, size_t count)
{
    if (m_failed)
        return 0;
    if (count <= kBufferSize - m_used) {
        memcpy(m_buffer + m_used, bytes, count);
        m_used += count;
        return 1;
    }
    if (!WriteBuffered())
        return 0;
    if (count < kBufferSize) {
        memcpy(m_buffer, bytes, count);
        m_used = count;
        return 1;
    }
    // Large blocks go to the file directly, in pieces a DWORD can count.
    const BYTE* cursor = (const BYTE*)bytes;
    while (count > 0) {
        DWORD piece = count > 0x40000000 ? 0x40000000 : (DWORD)count;
        if (!m_file.Write(cursor, piece, nullptr))
            return Fail();
        cursor += piece;
        count -= piece;
    }
    return 1;
}

int CSafeFileWriter::Commit()
{
    int written = !m_failed && WriteBuffered() && (m_file.Flush() || Fail());
    m_file.Close();
    if (written && MoveFileExA(m_temporary.GetString(), m_target.GetString(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_temporary.Empty();
        m_failed = 1;
        return 1;
    }
    if (written)
        Fail();
    Abandon();
    return 0;
}

void CSafeFileWriter::Abandon()
{
    m_file.Close();
    if (!m_temporary.IsEmpty())
        DeleteFileA(m_temporary.GetString());
    m_temporary.Empty();
    m_failed = 1;
    m_used = 0;
}

int WriteClipRecord(CByteSink& sink, const CClipFormat& record)
{
    CStoredBytes bytes;
    CStoredRecord stored;
    if (!DescribeRecord(record, bytes, &stored))
        return 1;
    return PutStoredRecord(sink, stored);
}

CClipFormat* BuildClipRecord(const CStoredRecord& stored)
{
    CClipFormat* record = new (std::nothrow) CClipFormat(stored.name, stored.formatId);
    if (record == nullptr)
        return nullptr;
    if (stored.kind == kStoredBlock) {
        if (!record->SetBlock(stored.data, stored.size)) {
            delete record;
            return nullptr;
        }
    } else if (stored.kind == kStoredMetafilePicture) {
        HMETAFILE metafile = IsSoundMetafile(stored.data, stored.dataBytes)
                                 ? SetMetaFileBitsEx(stored.dataBytes, stored.data)
                                 : nullptr;
        if (!record->SetMetafilePicture(stored.mappingMode, stored.xExtent, stored.yExtent, metafile, stored.size)) {
            delete record;
            return nullptr;
        }
    } else {
        record->AttachHandle(BuildHandle(stored));
    }
    return record;
}

int WriteClipPage(CByteSink& sink, const CClipPage& page, ClipFileType type)
{
    if (type == kClipPageFile ? !PutFileStart(sink, type) : !PutPageName(sink, page.GetName()))
        return 0;
    for (int i = 0; i < page.GetCount(); i++)
        if (!WriteClipRecord(sink, *page.GetRecord(i)))
            return 0;
    return PutEndOfPage(sink) && (type != kClipPageFile || PutEndOfFile(sink));
}

int WriteClipBook(CByteSink& sink, const CClipBook& book, ClipFileType type)
{
    if (!PutFileStart(sink, type))
        return 0;
    for (int i = 0; i < book.GetCount(); i++)
        if (!WriteClipPage(sink, *book.GetPage(i), type))
            return 0;
    return PutEndOfFile(sink);
}

int SavePageFile(const CClipPage& page, const char* path)
{
    CSafeFileWriter writer;
    return writer.Open(path) && WriteClipPage(writer, page, kClipPageFile) && writer.Commit();
}

int SaveBookFile(const CClipBook& book, const char* path, int dataFile, DWORD* error)
{
    CSafeFileWriter writer;
    int saved = writer.Open(path) && WriteClipBook(writer, book, dataFile ? kClipDataFile : kClipBookFile) &&
                writer.Commit();
    if (!saved && error != nullptr)
        *error = writer.GetError() != 0 ? writer.GetError() : ERROR_WRITE_FAULT;
    return saved;
}

int LoadPageFile(const char* path, CClipPage& page)
{
    CFileBytes file;
    if (!file.Read(path))
        return 0;
    CPageBuilder builder(nullptr, &page);
    return ParseClipFile(file.GetBytes(), file.GetLength(), kClipPageFile, builder);
}

int ParseBookBytes(const uint8_t* bytes, size_t length, int dataFile, CClipBook& book)
{
    CPageBuilder builder(&book, nullptr);
    return ParseClipFile(bytes, length, dataFile ? kClipDataFile : kClipBookFile, builder);
}

int LoadBookFile(const char* path, int dataFile, CClipBook& book)
{
    CFileBytes file;
    return file.Read(path) && ParseBookBytes(file.GetBytes(), file.GetLength(), dataFile, book);
}

void GetDataFilePath(CText& path)
{
    char module[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    if (length >= sizeof module)
        length = 0;
    module[length] = 0;
    char* slash = strrchr(module, '\\');
    if (slash != nullptr)
        slash[1] = 0;
    else
        module[0] = 0;
    path.Assign(module);
    path.Append("Vellmora.cbd");
}

void GetDataFileBackupPath(const char* dataFile, CText& backup)
{
    backup.Assign(dataFile);
    backup.Append(".bad");
}
