// The private copy of one clipboard format: its identifier, its display name
// and a deep copy of its data that stays valid after the clipboard changes.
// Pages, clip files, the clipbook tree and the format views all hold their
// data in this one record.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Text.h"

// Registered formats start here; below it are the standard and the private
// formats.
const UINT kFirstRegisteredFormat = 0xC000;
// Registered names are read into a buffer of this many characters.
const int kFormatNameCapacity = 100;

// Images of the format image list (bitmap 126).
enum FormatImage {
    kImageClipbookRoot = 0,
    kImagePage = 1,
    kImageSelectedPage = 2,
    kImageOtherFormat = 3,
    kImageBitmap = 4,
    kImageDib = 5,
    kImageFileList = 6,
    kImageMetafile = 7,
    kImageText = 8,
    kImageSound = 9,
    kImagePalette = 10,
    kImageLocale = 11,
};

// What the data field of a record holds.
enum ClipDataKind {
    kClipNoData,
    kClipMemoryBlock,     // owned heap block of GetSize() bytes (at least 2 allocated)
    kClipMetafilePicture, // owned METAFILEPICT block holding a private metafile
    kClipBitmap,          // owned device-dependent bitmap
    kClipPalette,         // owned logical palette
    kClipEnhMetafile,     // owned enhanced metafile
    kClipPlainValue,      // the clipboard's value, not owned
};

// --- Plain functions over identifiers, names and bytes -------------------

inline int IsRegisteredFormat(UINT formatId) { return formatId >= kFirstRegisteredFormat; }

// The one rule for the size of a clipboard handle: 0 for the GDI handle
// formats (bitmap, palette, enhanced metafile), GlobalSize otherwise, which
// is 0 for anything that is not global memory.
DWORD ClipboardHandleSize(UINT formatId, HANDLE handle);

// The kind of data a record with this identifier and size holds.
ClipDataKind ClipKindOf(UINT formatId, DWORD size, const void* data);

// Removes the first '&' of the text, if there is one.
void RemoveFirstAmpersand(CText& text);

// The registered name of a format, cut to the 99 characters that a buffer of
// kFormatNameCapacity holds; buffer must have that capacity. Answers the
// length, 0 when the name cannot be read.
int ReadRegisteredFormatName(UINT formatId, char* buffer);

// Where the name of an identifier below 0xC000 is kept: the string id of
// its name, which for the private, GDI object and other numbered formats is
// a pattern that takes the identifier (*takesNumber set to 1).
UINT FormatNameStringId(UINT formatId, int* takesNumber);
// The name of a format as the Display menu shows it (standard names keep
// their '&'): its string for identifiers below 0xC000, the registered name
// otherwise. buffer holds kFormatNameCapacity characters. Answers the
// length, 0 when there is no name.
int LoadFormatMenuName(UINT formatId, char* buffer);
// The display name of a format on the running system, without its '&'
// (empty when a registered name cannot be read). Answers 1 when a name was
// found.
int LoadFormatName(UINT formatId, CText& name);

// Index into the format image list. The name counts only for registered
// formats ("FileName", "FileNameW", "Shell IDList Array", any letter case).
int FormatIconIndexForName(UINT formatId, const char* registeredName);
// The same, looking a registered name up on the running system.
int FormatIconIndex(UINT formatId);

// Sizes of the parts of a device-independent bitmap that follows a
// BITMAPINFOHEADER. Every figure is computed in 64 bits and refused (0 from
// MeasureDib) when it does not fit the limit, so that no header, however
// made up, leads to a read past its block.
struct CDibLayout {
    DWORD headerBytes; // biSize
    DWORD colourBytes; // colour table or the three BI_BITFIELDS masks
    DWORD bitsBytes;   // the pixel rows
    DWORD totalBytes;  // all three
};
// The colour area after the header: 4 * 2^n for 1, 4 and 8 bits per pixel,
// 12 for the masks of BI_BITFIELDS, 0 otherwise.
DWORD DibColourBytes(const BITMAPINFOHEADER& header);
// Bytes of one row: the width in bits rounded up to whole DWORDs.
ULONGLONG DibRowBytes(LONG width, WORD bitCount);
// Checks a header of at least 40 bytes (1, 4, 8, 16, 24 or 32 bits per
// pixel, uncompressed or bit fields, non-zero width and height) and fills
// the layout. Answers 0 when the header is unusable or the whole bitmap
// would exceed limit bytes.
int MeasureDib(const BITMAPINFOHEADER& header, DWORD limit, CDibLayout* layout);

// OpenClipboard with the short retry that a clipboard held for a moment by
// another thread needs (about 100 ms in all).
int OpenClipboardPatiently(HWND owner);

// --- The record -----------------------------------------------------------

class CClipFormat {
public:
    CClipFormat();
    // A record with a name and no data; a reader of stored bytes fills the
    // data with the Attach and Set operations below.
    CClipFormat(const char* name, UINT formatId);
    ~CClipFormat();
    CClipFormat(const CClipFormat&) = delete;
    CClipFormat& operator=(const CClipFormat&) = delete;

    // Takes a copy of a clipboard handle (the clipboard is open): sets the
    // name, then copies the data by kind. size is ClipboardHandleSize of the
    // handle. A null handle gives a record with a name and no data. Answers
    // 1 when the record holds data afterwards.
    int TakeFromClipboard(UINT formatId, HANDLE handle, DWORD size);
    // GetClipboardData of the open clipboard, then TakeFromClipboard.
    int TakeFromOpenClipboard(UINT formatId);
    // Puts a copy of the data on the open clipboard; registered formats are
    // registered again by name. The record keeps its own copy. Answers 0
    // when there is no data or the clipboard refused it.
    int GiveToClipboard() const;
    // Duplicates another record (name, identifier and data).
    int CopyFrom(const CClipFormat& other);
    // Releases the data by its kind; afterwards data is null and size 0.
    void Free();

    // For readers of stored bytes. SetBlock copies size bytes (size > 0)
    // into an owned block of at least 2 bytes. SetMetafilePicture stores a
    // METAFILEPICT block and takes ownership of the metafile, storedSize
    // being the size the record reports. AttachHandle takes ownership of a
    // bitmap, palette or enhanced metafile (by identifier) or keeps a plain
    // value. Each frees what the record held before.
    int SetBlock(const void* bytes, DWORD size);
    int SetMetafilePicture(LONG mappingMode, LONG xExtent, LONG yExtent, HMETAFILE metafile, DWORD storedSize);
    void AttachHandle(HANDLE handle);

    void SetName(const char* name) { m_name.Assign(name); }
    // A new identifier frees data that the new one would read as another
    // kind (a text block never becomes a metafile picture).
    void SetFormatId(UINT formatId);
    void SetTreeItem(HTREEITEM item) { m_treeItem = item; }

    const char* GetName() const { return m_name.GetString(); }
    UINT GetFormatId() const { return m_formatId; }
    // Pointer to the owned block, or the handle value (size 0).
    void* GetData() const { return m_data; }
    DWORD GetSize() const { return m_size; }
    HANDLE GetHandle() const { return (HANDLE)m_data; }
    HTREEITEM GetTreeItem() const { return m_treeItem; }
    int HasData() const { return m_data != nullptr; }
    ClipDataKind GetKind() const { return ClipKindOf(m_formatId, m_size, m_data); }
    // The METAFILEPICT of a metafile picture record, or null.
    const METAFILEPICT* GetMetafilePicture() const;

private:
    int CopyBlock(const void* bytes, DWORD size);
    HANDLE DuplicateHandleData(HANDLE source) const;
    void ReleaseRefusedHandle(HANDLE handle) const;

    CText m_name;
    UINT m_formatId;
    void* m_data;
    DWORD m_size;
    HTREEITEM m_treeItem;
};

// Private copies of GDI data, null on failure. A bitmap is copied through
// its device-independent image into a screen-compatible bitmap.
HBITMAP CopyBitmapThroughDib(HBITMAP bitmap);
HPALETTE CopyPalette(HPALETTE palette);

// The device-independent image of a bitmap (as GetDIBits describes it) in
// one block: header, colour area, rows, as the layout says. Free the block
// with free(). Null on failure.
BYTE* CreateDibImage(HBITMAP bitmap, CDibLayout* layout);
// A screen-compatible bitmap from a DIB whose header and colour area start
// at info (infoBytes readable) and whose rows start at bits (bitsBytes
// readable). Null when the header is unusable or either part is shorter
// than the header needs, so stored bytes are never read past their end.
HBITMAP CreateBitmapFromDib(const void* info, DWORD infoBytes, const void* bits, DWORD bitsBytes);
// A palette from LOGPALETTE bytes (version, count, entries); null when the
// count is 0 or the entries do not fit in the available bytes.
HPALETTE CreatePaletteFromBytes(const void* bytes, DWORD available);
