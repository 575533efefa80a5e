#include "ClipFormat.h"

#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include "AppThread.h"
#include "resource.h"

namespace {

// No clipboard bitmap we copy may need more than this for its DIB image;
// larger ones are not copied (the record is left without data).
const DWORD kDibCopyLimit = 0x40000000;

HMETAFILE CopyMetafileOrNull(HMETAFILE metafile)
{
    return metafile != nullptr ? CopyMetaFileA(metafile, nullptr) : nullptr;
}

void* AllocateBlock(DWORD size)
{
    // A one-byte format still gets two bytes, so a reader that expects a
    // terminated text or a word finds one.
    return calloc(size < 2 ? 2 : size, 1);
}

} // namespace

// --- Plain functions ---------------------------------------------------------

DWORD ClipboardHandleSize(UINT formatId, HANDLE handle)
{
    if (formatId == CF_BITMAP || formatId == CF_PALETTE || formatId == CF_ENHMETAFILE || handle == nullptr)
        return 0;
    return (DWORD)GlobalSize(handle);
}

ClipDataKind ClipKindOf(UINT formatId, DWORD size, const void* data)
{
    if (data == nullptr)
        return kClipNoData;
    if (size != 0)
        return formatId == CF_METAFILEPICT ? kClipMetafilePicture : kClipMemoryBlock;
    switch (formatId) {
    case CF_BITMAP: return kClipBitmap;
    case CF_PALETTE: return kClipPalette;
    case CF_ENHMETAFILE: return kClipEnhMetafile;
    default: return kClipPlainValue;
    }
}

void RemoveFirstAmpersand(CText& text)
{
    int position = text.Find('&');
    if (position >= 0)
        text.DeleteAt(position);
}

int ReadRegisteredFormatName(UINT formatId, char* buffer)
{
    // Read whole (an atom name has at most 255 characters), then cut to the
    // 99 characters a 100-character buffer holds: some systems answer 0
    // instead of truncating a name that does not fit.
    char whole[256] = "";
    int length = GetClipboardFormatNameA(formatId, whole, sizeof whole);
    if (length <= 0) {
        buffer[0] = 0;
        return 0;
    }
    if (length > kFormatNameCapacity - 1)
        length = kFormatNameCapacity - 1;
    memcpy(buffer, whole, length);
    buffer[length] = 0;
    return length;
}

UINT FormatNameStringId(UINT formatId, int* takesNumber)
{
    *takesNumber = 0;
    // The standard formats' names are the strings of their own numbers.
    if (formatId >= CF_TEXT && formatId <= CF_LOCALE)
        return formatId;
    switch (formatId) {
    case CF_DIBV5: return IDS_FORMAT_DIBV5;
    case CF_OWNERDISPLAY: return IDS_FORMAT_OWNER_DISPLAY;
    case CF_DSPTEXT: return IDS_FORMAT_DISPLAY_TEXT;
    case CF_DSPBITMAP: return IDS_FORMAT_DISPLAY_BITMAP;
    case CF_DSPMETAFILEPICT: return IDS_FORMAT_DISPLAY_METAFILE;
    case CF_DSPENHMETAFILE: return IDS_FORMAT_DISPLAY_ENHMETAFILE;
    default: break;
    }
    *takesNumber = 1;
    if (formatId >= CF_PRIVATEFIRST && formatId <= CF_PRIVATELAST)
        return IDS_FORMAT_PRIVATE;
    if (formatId >= CF_GDIOBJFIRST && formatId <= CF_GDIOBJLAST)
        return IDS_FORMAT_GDI_OBJECT;
    return IDS_FORMAT_NUMBERED;
}

int LoadFormatMenuName(UINT formatId, char* buffer)
{
    buffer[0] = 0;
    if (IsRegisteredFormat(formatId))
        return ReadRegisteredFormatName(formatId, buffer);
    int takesNumber;
    UINT stringId = FormatNameStringId(formatId, &takesNumber);
    int length = LoadStringResource(stringId, buffer, kFormatNameCapacity);
    if (length <= 0 || !takesNumber)
        return length > 0 ? length : 0;
    CText pattern(buffer);
    CText name;
    name.Format(pattern.GetString(), formatId);
    lstrcpynA(buffer, name.GetString(), kFormatNameCapacity);
    return lstrlenA(buffer);
}

int LoadFormatName(UINT formatId, CText& name)
{
    char buffer[kFormatNameCapacity] = "";
    int length = LoadFormatMenuName(formatId, buffer);
    if (length <= 0)
        buffer[0] = 0;
    name.Assign(buffer);
    RemoveFirstAmpersand(name);
    return length > 0;
}

int FormatIconIndexForName(UINT formatId, const char* registeredName)
{
    if (IsRegisteredFormat(formatId)) {
        if (registeredName == nullptr)
            return kImageOtherFormat;
        if (CompareNoCase(registeredName, "FileName") == 0 || CompareNoCase(registeredName, "FileNameW") == 0)
            return kImageText;
        if (CompareNoCase(registeredName, "Shell IDList Array") == 0)
            return kImageFileList;
        return kImageOtherFormat;
    }
    switch (formatId) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT: return kImageText;
    case CF_BITMAP: return kImageBitmap;
    case CF_METAFILEPICT:
    case CF_ENHMETAFILE: return kImageMetafile;
    case CF_DIB: return kImageDib;
    case CF_PALETTE: return kImagePalette;
    case CF_RIFF:
    case CF_WAVE: return kImageSound;
    case CF_HDROP: return kImageFileList;
    case CF_LOCALE: return kImageLocale;
    default: return kImageOtherFormat;
    }
}

int FormatIconIndex(UINT formatId)
{
    if (!IsRegisteredFormat(formatId))
        return FormatIconIndexForName(formatId, nullptr);
    char name[kFormatNameCapacity] = "";
    ReadRegisteredFormatName(formatId, name);
    return FormatIconIndexForName(formatId, name);
}

DWORD DibColourBytes(const BITMAPINFOHEADER& header)
{
    switch (header.biBitCount) {
    case 1:
    case 4:
    case 8: return 4u << header.biBitCount;
    case 16:
    case 32: return header.biCompression == BI_BITFIELDS ? 12 : 0;
    default: return 0;
    }
}

ULONGLONG DibRowBytes(LONG width, WORD bitCount)
{
    ULONGLONG bits = (ULONGLONG)(width < 0 ? 0 : width) * bitCount;
    return (bits + 31) / 32 * 4;
}

int MeasureDib(const BITMAPINFOHEADER& header, DWORD limit, CDibLayout* layout)
{
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0)
        return 0;
    switch (header.biBitCount) {
    case 1: case 4: case 8: case 24:
        if (header.biCompression != BI_RGB)
            return 0;
        break;
    case 16: case 32:
        if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)
            return 0;
        break;
    default:
        return 0;
    }
    // biHeight may be negative (top-down rows); LONG_MIN has no positive twin.
    ULONGLONG rows = header.biHeight < 0 ? 0ull - (ULONGLONG)(LONGLONG)header.biHeight : (ULONGLONG)header.biHeight;
    ULONGLONG bits = DibRowBytes(header.biWidth, header.biBitCount) * rows;
    ULONGLONG colours = DibColourBytes(header);
    ULONGLONG total = (ULONGLONG)header.biSize + colours + bits;
    if (total > limit)
        return 0;
    if (layout != nullptr) {
        layout->headerBytes = header.biSize;
        layout->colourBytes = (DWORD)colours;
        layout->bitsBytes = (DWORD)bits;
        layout->totalBytes = (DWORD)total;
    }
    return 1;
}

int OpenClipboardPatiently(HWND owner)
{
    for (int attempt = 0; attempt < 20; attempt++) {
        if (OpenClipboard(owner))
            return 1;
        Sleep(5);
    }
    return 0;
}

BYTE* CreateDibImage(HBITMAP bitmap, CDibLayout* layout)
{
    if (bitmap == nullptr || layout == nullptr)
        return nullptr;
    HDC dc = GetDC(nullptr);
    if (dc == nullptr)
        return nullptr;
    BYTE* block = nullptr;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    // The first call only describes the bitmap; the second fetches its
    // colours and rows into a block laid out as header, colours, bits.
    if (GetDIBits(dc, bitmap, 0, 0, nullptr, (BITMAPINFO*)&header, DIB_RGB_COLORS)
        && MeasureDib(header, kDibCopyLimit, layout)) {
        block = (BYTE*)calloc(layout->totalBytes, 1);
        if (block != nullptr) {
            memcpy(block, &header, sizeof header);
            BYTE* bits = block + layout->headerBytes + layout->colourBytes;
            UINT rows = (UINT)(header.biHeight < 0 ? -header.biHeight : header.biHeight);
            if (GetDIBits(dc, bitmap, 0, rows, bits, (BITMAPINFO*)block, DIB_RGB_COLORS) != (int)rows) {
                free(block);
                block = nullptr;
            }
        }
    }
    ReleaseDC(nullptr, dc);
    return block;
}

HBITMAP CreateBitmapFromDib(const void* info, DWORD infoBytes, const void* bits, DWORD bitsBytes)
{
    if (info == nullptr || bits == nullptr || infoBytes < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    memcpy(&header, info, sizeof header);
    CDibLayout layout;
    if (!MeasureDib(header, kDibCopyLimit, &layout))
        return nullptr;
    if ((ULONGLONG)layout.headerBytes + layout.colourBytes > infoBytes || layout.bitsBytes > bitsBytes)
        return nullptr;
    // GDI reads as many colours as biClrUsed says (up to 256), also for
    // 16 to 32 bits per pixel, where no colour table was measured: it works
    // on a copy that asks for no more than the measured colour area.
    DWORD infoSize = layout.headerBytes + layout.colourBytes;
    BYTE* copy = (BYTE*)malloc(infoSize);
    if (copy == nullptr)
        return nullptr;
    memcpy(copy, info, infoSize);
    BITMAPINFOHEADER* copied = (BITMAPINFOHEADER*)copy;
    if (header.biBitCount > 8 || copied->biClrUsed > (1u << header.biBitCount))
        copied->biClrUsed = 0;
    HBITMAP bitmap = nullptr;
    HDC dc = GetDC(nullptr);
    if (dc != nullptr) {
        bitmap = CreateDIBitmap(dc, copied, CBM_INIT, bits, (const BITMAPINFO*)copy, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
    }
    free(copy);
    return bitmap;
}

HBITMAP CopyBitmapThroughDib(HBITMAP bitmap)
{
    CDibLayout layout;
    BYTE* block = CreateDibImage(bitmap, &layout);
    if (block == nullptr)
        return nullptr;
    DWORD infoBytes = layout.headerBytes + layout.colourBytes;
    HBITMAP copy = CreateBitmapFromDib(block, infoBytes, block + infoBytes, layout.bitsBytes);
    free(block);
    return copy;
}

HPALETTE CreatePaletteFromBytes(const void* bytes, DWORD available)
{
    const DWORD entriesOffset = offsetof(LOGPALETTE, palPalEntry);
    if (bytes == nullptr || available < entriesOffset)
        return nullptr;
    WORD count;
    memcpy(&count, (const BYTE*)bytes + offsetof(LOGPALETTE, palNumEntries), sizeof count);
    if (count == 0 || entriesOffset + (DWORD)count * sizeof(PALETTEENTRY) > available)
        return nullptr;
    // Copied so the palette is read from an aligned block of its own size.
    DWORD size = entriesOffset + (DWORD)count * sizeof(PALETTEENTRY);
    LOGPALETTE* logical = (LOGPALETTE*)malloc(size < sizeof(LOGPALETTE) ? sizeof(LOGPALETTE) : size);
    if (logical == nullptr)
        return nullptr;
    memcpy(logical, bytes, size);
    HPALETTE palette = CreatePalette(logical);
    free(logical);
    return palette;
}

HPALETTE CopyPalette(HPALETTE palette)
{
    if (palette == nullptr)
        return nullptr;
    UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    if (count > 0xFFFF)
        count = 0xFFFF;
    LOGPALETTE* logical = (LOGPALETTE*)calloc(1, offsetof(LOGPALETTE, palPalEntry) + sizeof(PALETTEENTRY) * (count + 1));
    if (logical == nullptr)
        return nullptr;
    logical->palVersion = 0x300;
    logical->palNumEntries = (WORD)GetPaletteEntries(palette, 0, count, logical->palPalEntry);
    HPALETTE copy = CreatePalette(logical);
    free(logical);
    return copy;
}

// --- CClipFormat -------------------------------------------------------------

CClipFormat::CClipFormat() : m_formatId(0), m_data(nullptr), m_size(0), m_treeItem(nullptr) {}

CClipFormat::CClipFormat(const char* name, UINT formatId)
    : m_name(name), m_formatId(formatId), m_data(nullptr), m_size(0), m_treeItem(nullptr)
{
}

CClipFormat::~CClipFormat() { Free(); }

const METAFILEPICT* CClipFormat::GetMetafilePicture() const
{
    return GetKind() == kClipMetafilePicture ? (const METAFILEPICT*)m_data : nullptr;
}

int CClipFormat::CopyBlock(const void* bytes, DWORD size)
{
    // A picture block always has room for the whole METAFILEPICT, so that
    // its handle field can be written whatever size the source reported.
    DWORD room = size;
    if (m_formatId == CF_METAFILEPICT && room < sizeof(METAFILEPICT))
        room = sizeof(METAFILEPICT);
    void* block = AllocateBlock(room);
    if (block == nullptr)
        return 0;
    memcpy(block, bytes, size);
    m_data = block;
    m_size = size;
    return 1;
}

HANDLE CClipFormat::DuplicateHandleData(HANDLE source) const
{
    switch (m_formatId) {
    case CF_BITMAP: return CopyBitmapThroughDib((HBITMAP)source);
    case CF_PALETTE: return CopyPalette((HPALETTE)source);
    case CF_ENHMETAFILE: return CopyEnhMetaFileA((HENHMETAFILE)source, nullptr);
    default: return source;
    }
}

int CClipFormat::TakeFromClipboard(UINT formatId, HANDLE handle, DWORD size)
{
    Free();
    m_formatId = formatId;
    LoadFormatName(formatId, m_name);
    if (handle == nullptr)
        return 0;
    if (size == 0) {
        m_data = DuplicateHandleData(handle);
        return HasData();
    }
    const BYTE* source = (const BYTE*)GlobalLock(handle);
    if (source == nullptr)
        return 0;
    // GlobalSize may have grown since the caller measured; never copy more
    // than the block holds now.
    DWORD available = (DWORD)GlobalSize(handle);
    if (size > available)
        size = available;
    int copied = size != 0 && CopyBlock(source, size);
    GlobalUnlock(handle);
    if (copied && formatId == CF_METAFILEPICT) {
        METAFILEPICT* picture = (METAFILEPICT*)m_data;
        // A block too short to hold the handle field has no metafile to copy.
        picture->hMF = size >= sizeof(METAFILEPICT) ? CopyMetaFileA(picture->hMF, nullptr) : nullptr;
    }
    return copied;
}

int CClipFormat::TakeFromOpenClipboard(UINT formatId)
{
    HANDLE handle = GetClipboardData(formatId);
    return TakeFromClipboard(formatId, handle, ClipboardHandleSize(formatId, handle));
}

int CClipFormat::GiveToClipboard() const
{
    if (m_data == nullptr)
        return 0;
    UINT formatId = m_formatId;
    if (IsRegisteredFormat(formatId))
        formatId = RegisterClipboardFormatA(m_name.GetString());
    if (formatId == 0)
        return 0;

    HANDLE handle = nullptr;
    if (m_size != 0) {
        DWORD room = m_size < 2 ? 2 : m_size;
        if (m_formatId == CF_METAFILEPICT && room < sizeof(METAFILEPICT))
            room = sizeof(METAFILEPICT);
        // Zeroed, so the spare byte of a one-byte block is a terminator.
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, room);
        if (memory == nullptr)
            return 0;
        BYTE* target = (BYTE*)GlobalLock(memory);
        if (target == nullptr) {
            GlobalFree(memory);
            return 0;
        }
        memcpy(target, m_data, m_size);
        if (m_formatId == CF_METAFILEPICT)
            ((METAFILEPICT*)target)->hMF = CopyMetafileOrNull(((const METAFILEPICT*)m_data)->hMF);
        GlobalUnlock(memory);
        handle = memory;
    } else if (m_formatId == CF_BITMAP) {
        // A new bitmap every time: the clipboard deletes what it is given,
        // and the record's own bitmap must outlive that.
        handle = CopyImage(m_data, IMAGE_BITMAP, 0, 0, 0);
    } else {
        handle = DuplicateHandleData(m_data);
    }
    if (handle == nullptr)
        return 0;
    if (SetClipboardData(formatId, handle) != nullptr)
        return 1;
    ReleaseRefusedHandle(handle);
    return 0;
}

void CClipFormat::ReleaseRefusedHandle(HANDLE handle) const
{
    // The clipboard did not take ownership, so the copy made for it is ours.
    switch (GetKind()) {
    case kClipMetafilePicture: {
        METAFILEPICT* picture = (METAFILEPICT*)GlobalLock(handle);
        if (picture != nullptr) {
            if (picture->hMF != nullptr)
                DeleteMetaFile(picture->hMF);
            GlobalUnlock(handle);
        }
        GlobalFree(handle);
        break;
    }
    case kClipMemoryBlock: GlobalFree(handle); break;
    case kClipBitmap:
    case kClipPalette: DeleteObject(handle); break;
    case kClipEnhMetafile: DeleteEnhMetaFile((HENHMETAFILE)handle); break;
    default: break;
    }
}

void CClipFormat::SetFormatId(UINT formatId)
{
    // The identifier decides how the data is read and freed: data of
    // another kind is not kept under it.
    if (ClipKindOf(formatId, m_size, m_data) != GetKind())
        Free();
    m_formatId = formatId;
}

int CClipFormat::CopyFrom(const CClipFormat& other)
{
    if (&other == this)
        return 1;
    Free();
    m_name.Assign(other.m_name);
    m_formatId = other.m_formatId;
    if (other.m_data == nullptr)
        return 1;
    if (other.m_size == 0) {
        m_data = DuplicateHandleData(other.m_data);
        return HasData();
    }
    if (!CopyBlock(other.m_data, other.m_size))
        return 0;
    if (m_formatId == CF_METAFILEPICT) {
        // The handle field may lie beyond the size a stored record reports.
        HMETAFILE metafile = ((const METAFILEPICT*)other.m_data)->hMF;
        ((METAFILEPICT*)m_data)->hMF = CopyMetafileOrNull(metafile);
    }
    return 1;
}

int CClipFormat::SetBlock(const void* bytes, DWORD size)
{
    Free();
    if (size == 0 || bytes == nullptr)
        return 0;
    if (!CopyBlock(bytes, size))
        return 0;
    if (m_formatId == CF_METAFILEPICT)
        ((METAFILEPICT*)m_data)->hMF = nullptr;
    return 1;
}

int CClipFormat::SetMetafilePicture(LONG mappingMode, LONG xExtent, LONG yExtent, HMETAFILE metafile,
                                    DWORD storedSize)
{
    Free();
    METAFILEPICT* picture = (METAFILEPICT*)AllocateBlock(sizeof(METAFILEPICT) > storedSize ? sizeof(METAFILEPICT) : storedSize);
    if (picture == nullptr) {
        if (metafile != nullptr)
            DeleteMetaFile(metafile);
        return 0;
    }
    picture->mm = mappingMode;
    picture->xExt = xExtent;
    picture->yExt = yExtent;
    picture->hMF = metafile;
    m_data = picture;
    // Files carry the 16-byte picture of 32-bit Windows; in memory the record
    // is always a whole METAFILEPICT of this build, which views read whole.
    m_size = storedSize > sizeof(METAFILEPICT) ? storedSize : (DWORD)sizeof(METAFILEPICT);
    return 1;
}

void CClipFormat::AttachHandle(HANDLE handle)
{
    Free();
    m_data = handle;
    m_size = 0;
}

void CClipFormat::Free()
{
    if (m_data == nullptr) {
        m_size = 0;
        return;
    }
    switch (GetKind()) {
    case kClipMetafilePicture: {
        HMETAFILE metafile = ((METAFILEPICT*)m_data)->hMF;
        if (metafile != nullptr)
            DeleteMetaFile(metafile);
        free(m_data);
        break;
    }
    case kClipMemoryBlock: free(m_data); break;
    case kClipBitmap:
    case kClipPalette: DeleteObject((HGDIOBJ)m_data); break;
    case kClipEnhMetafile: DeleteEnhMetaFile((HENHMETAFILE)m_data); break;
    default: break;
    }
    m_data = nullptr;
    m_size = 0;
}
