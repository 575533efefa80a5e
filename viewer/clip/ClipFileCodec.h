// The byte layout of the clip files: clippage files ("VLMP1", one page),
// clipbook files ("VLMB1") and the clipbook data file ("VLMD1"), all built
// from one format record. Plain functions over bytes, with no window system
// in sight, so that every reader path can be tested and fuzzed natively.
//
// All integers are 32-bit little-endian; strings end with one zero byte.
// Format record: identifier, name, size, then a data block by kind:
//   memory block       size bytes
//   metafile picture   mapping mode, x extent, y extent, n, n metafile bytes
//   bitmap             L, then L bytes: header, colour area, bits
//   palette            L = 8 + 4e, then version, e, e entries, 4 spare bytes
//   enhanced metafile  n, then n bytes
//   plain value        the 4-byte value
// A page ends with the byte 0xFE, a book with 0x01.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum ClipFileType {
    kClipPageFile, // "VLMP1"
    kClipBookFile, // "VLMB1"
    kClipDataFile, // "VLMD1"
};

enum : uint8_t { kEndOfPage = 0xFE, kEndOfBook = 0x01 };
enum : uint32_t {
    kClipMagicLength = 5,
    // The size field a metafile picture record carries: the METAFILEPICT
    // block of 32-bit Windows, whichever build writes it.
    kStoredMetafilePictureSize = 16,
    kStoredDibHeaderSize = 40,
    // Identifiers from here on are registered formats, known by their names.
    kFirstRegisteredId = 0xC000,
};

// The five magic bytes of a file type (no terminating zero).
const char* ClipFileMagic(ClipFileType type);

enum StoredKind {
    kStoredBlock,
    kStoredMetafilePicture,
    kStoredBitmap,
    kStoredPalette,
    kStoredEnhMetafile,
    kStoredValue,
};

// The data block's kind follows from the identifier and the size field.
StoredKind StoredKindOf(uint32_t formatId, uint32_t size);

// One format record, read from bytes or about to be written. Pointers
// point into the bytes it was read from (or that the writer supplies).
struct CStoredRecord {
    uint32_t formatId;
    const char* name;      // zero-terminated
    uint32_t size;         // the size field as stored
    StoredKind kind;
    const uint8_t* data;   // block, metafile bits, bitmap or palette block, enhanced metafile bits
    uint32_t dataBytes;    // size, n, L, L, n; 0 for a plain value
    int32_t mappingMode;   // metafile picture only
    int32_t xExtent;
    int32_t yExtent;
    uint32_t value;        // plain value only
    uint32_t recordBytes;  // the whole record as stored (set by the reader)
};

// The sizes of a stored bitmap block's parts. The colour area follows the
// header: 4 * 2^n bytes for 1, 4 and 8 bits per pixel; width * height * 12
// for 16 and 32 bits with bit fields (the masks are its first 12 bytes);
// none otherwise. The bits are biSizeImage bytes for 1, 4 and 8 bits, whole
// rows of DWORDs for 16, 24 and 32.
struct CStoredDibLayout {
    uint32_t headerBytes;
    uint32_t colourBytes;
    uint32_t bitsBytes;
};
// Measures the block from its header (at least 40 bytes must be readable).
// Answers 0 when the bit count has no stored layout. Figures are computed
// in 64 bits; a part that does not fit in 32 bits reads as 0xFFFFFFFF.
int MeasureStoredDib(const uint8_t* header, CStoredDibLayout* layout);
// Block length of a palette with this many entries: 8 + 4e.
uint32_t StoredPaletteLength(uint32_t entries);

// Whether metafile bytes are a sound Windows metafile (header and a chain
// of records within the bytes), and the same for an enhanced metafile.
// The reader only hands sound ones to the graphics system.
int IsSoundMetafile(const uint8_t* bytes, uint32_t length);
int IsSoundEnhMetafile(const uint8_t* bytes, uint32_t length);

// The identifier a format is stored under. The first byte of a record is
// its identifier's lowest byte, and a 0xFE there reads as the end of the
// page. A registered format carries its meaning in its name, so it is
// stored under the next identifier (lowest byte 0xFF), which is still a
// registered one; any other such format is left out (answer 0).
int ChooseStoredFormatId(uint32_t formatId, uint32_t* storedId);

// --- Reading -------------------------------------------------------------

// Reads the record at offset. Answers 0 when the record, its data block or
// any length inside the block reaches past length, or the block's own
// lengths disagree.
int ReadStoredRecord(const uint8_t* bytes, size_t length, size_t offset, CStoredRecord* record);

// Receives what a file holds, in file order.
class CStoredFileSink {
public:
    virtual ~CStoredFileSink() {}
    // A page starts (a clippage file gives its stored name). 0 stops.
    virtual int OnPage(const char* name) = 0;
    // A record of the current page. 0 stops.
    virtual int OnRecord(const CStoredRecord& record) = 0;
};

// Checks the magic, then hands every page and record to the sink. Answers
// 1 when the file was read to its end: the 0x01 after the last page of a
// book (or the end of the bytes there), the 0xFE of a clippage file. On any
// failure (wrong magic or type, fewer than 6 bytes, a damaged record, a
// sink that stopped) answers 0; what was handed over stays handed over.
int ParseClipFile(const uint8_t* bytes, size_t length, ClipFileType type, CStoredFileSink& sink);

// --- Writing -------------------------------------------------------------

class CByteSink {
public:
    virtual ~CByteSink() {}
    // 1 when all bytes were taken.
    virtual int Put(const void* bytes, size_t count) = 0;
};

int PutStoredU32(CByteSink& sink, uint32_t value);
// The magic; a clippage file adds its empty stored page name.
int PutFileStart(CByteSink& sink, ClipFileType type);
// A book's page section starts with its name.
int PutPageName(CByteSink& sink, const char* name);
// Identifier, name, size field and data block by kind.
int PutStoredRecord(CByteSink& sink, const CStoredRecord& record);
int PutEndOfPage(CByteSink& sink);
int PutEndOfFile(CByteSink& sink);
