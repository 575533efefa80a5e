// What the format views read from a format's bytes: hex rows, text
// statistics, and the records inside bitmaps, drop lists, shell item lists
// and locales. Plain functions over a block and its size, without windows,
// so they can be checked and fuzzed on their own. None of them reads a byte
// at or past data + size, whatever the block claims about itself.
#pragma once

#include <stddef.h>
#include <stdint.h>

// --- Hex rows ---------------------------------------------------------------

enum { kHexRowBytes = 12, kHexRowLength = 61 };

// Formats the row of up to 12 bytes that starts at offset: "%08x" offset,
// two spaces, six "%02X " cells, a space, six more cells, a space, twelve
// character cells and a space; cells past the data are spaces. row must hold
// kHexRowLength + 1 characters. With no byte left at offset the row is left
// as it is. Answers 1 when this is the last row of the data.
int FormatHexRow(char* row, const uint8_t* data, uint32_t size, uint32_t offset);

// --- Text -------------------------------------------------------------------

// Units before the first zero unit, counting only whole units that lie in
// the data: bytes for unitBytes 1, UTF-16 units for unitBytes 2.
size_t TextUnits(const uint8_t* data, size_t size, int unitBytes);

struct CTextStats {
    uint32_t lengthBytes;
    uint32_t lines;
    uint32_t words;
    uint32_t characters;
};
// Lines start at 1 and grow at each line feed; every unit that is neither a
// line feed nor a space is a character; a line feed or space ends a word
// when the unit before it is neither.
CTextStats CountTextStats(const uint8_t* data, size_t size, int unitBytes);

// "Ansi", "Oem" or "Unicode" for formats 1, 7 and 13; empty otherwise.
const char* TextTypeName(uint32_t format);

// --- Device-independent bitmaps ---------------------------------------------

enum { kDibHeaderBytes = 40, kDibMaskBytes = 12, kMaxDibColours = 256 };
enum { kDibRgb = 0, kDibRle8 = 1, kDibRle4 = 2, kDibBitFields = 3 };

// The fields of the 40-byte header that starts the block.
struct CDibHeader {
    uint32_t headerBytes;
    int32_t width;
    int32_t height;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    uint32_t coloursUsed;
};
// 0 when the block is shorter than the 40-byte header.
int ReadDibHeader(const uint8_t* data, size_t size, CDibHeader* header);

// Where the parts of a packed DIB lie, for drawing it.
struct CDibParts {
    CDibHeader header;
    uint32_t masksOffset;   // the three BI_BITFIELDS masks, or 0 without them
    uint32_t coloursOffset; // the colour table
    uint32_t colourCount;   // entries a drawing reads (at most 256)
    uint32_t bitsOffset;    // the pixel bits
    uint32_t rowBytes;      // bytes of one row; 0 for run-length bits
    uint32_t rowsPresent;   // whole rows within the block (uncompressed)
    uint32_t bitsPresent;   // bytes from the bits to the end of the block
};
// The bits follow the header (biSize bytes), the three masks when the
// compression is BI_BITFIELDS and the header is the 40-byte one, and the
// colour table: biClrUsed entries when it is not 0, otherwise 2, 16 or 256
// for 1, 4 and 8 bits per pixel and none above. Answers 0 for a header that
// cannot be drawn (bit count, compression, sizes) or whose header, masks,
// colours or bits do not start within the block.
int LocateDibParts(const uint8_t* data, size_t size, CDibParts* parts);

// "2", "4", "16", "256", "32K", "64K", "16.7M" or "UNKNOWN".
const char* DibColourCountText(uint32_t bitCount);
// "RLE (8bit)", "RLE (4bit)" or "Uncompressed".
const char* DibCompressionText(uint32_t compression);

// --- Palettes -----------------------------------------------------------------

// "(Reserved)", "(Explicit)", "(No collapse)" for one flag; empty otherwise.
const char* PaletteFlagText(uint8_t flags);

// Columns and rows of the swatch grid for a palette of count entries.
void PaletteGrid(uint32_t count, uint32_t* columns, uint32_t* rows);

// --- Dropped files ------------------------------------------------------------

enum { kDropHeaderBytes = 20 };
struct CDropHeader {
    uint32_t listOffset;
    int32_t x;
    int32_t y;
    uint32_t nonClient;
    uint32_t wide;
};
// 0 when the block is shorter than the record.
int ReadDropHeader(const uint8_t* data, size_t size, CDropHeader* header);

// One name of the list: its offset and length in units (bytes, or UTF-16
// units for wide names).
struct CDropName {
    size_t offset;
    size_t units;
};
// The name at *position (start with the list offset): answers 1 and moves
// *position past the name's zero, or 0 at the empty name that ends the
// list and at the end of the block. A name that the block cuts off is
// answered up to the block's end, and the list ends after it.
int NextDropName(const uint8_t* data, size_t size, int wide, size_t* position, CDropName* name);

// --- Shell item lists -------------------------------------------------------

// The item count of the record, and how many items have their offset within
// the block (those are the items that can be listed).
int ReadCidaCount(const uint8_t* data, size_t size, uint32_t* count, uint32_t* listed);
// Bytes of the item-id list at offset, its two-byte terminator included; 0
// when the terminator does not lie within the block or an item is smaller
// than its own size field.
uint32_t IdListBytesAt(const uint8_t* data, size_t size, size_t offset);

struct CIdListPart {
    uint32_t offset;
    uint32_t bytes;
};
// The parts of item index's absolute list: the parent folder's list without
// its terminator, then the item's list with it. 0 when either list does not
// lie within the block.
int LocateCidaItem(const uint8_t* data, size_t size, uint32_t index, CIdListPart* parent, CIdListPart* item);

// --- Locales ------------------------------------------------------------------

struct CLocaleFields {
    uint32_t languageId;
    uint32_t primaryLanguage;
    uint32_t subLanguage;
    uint32_t sortId;
};
// 0 when the block is shorter than the 32-bit locale identifier.
int ReadLocaleFields(const uint8_t* data, size_t size, CLocaleFields* fields);

// --- Version 5 bitmap headers -------------------------------------------------

enum { kDibV5HeaderBytes = 124 };
// The fields the version 5 header adds that the views show or use.
struct CDibV5Fields {
    uint32_t alphaMask;
    uint32_t colourSpace; // bV5CSType
    uint32_t intent;      // bV5Intent
};
// 0 when the block is shorter than the 124-byte header or its header says
// it is shorter.
int ReadDibV5Fields(const uint8_t* data, size_t size, CDibV5Fields* fields);
// "Calibrated RGB", "sRGB", "Windows default", "Linked profile",
// "Embedded profile" or "Unknown".
const char* ColourSpaceText(uint32_t colourSpace);
// "Business", "Graphics", "Images", "Absolute colorimetric" or "Unknown".
const char* RenderingIntentText(uint32_t intent);

// A pixel of alpha 0..255 laid over a background (both blue, green, red
// from the low byte up), as an opaque 32-bit pixel.
uint32_t BlendPixel(uint32_t blue, uint32_t green, uint32_t red, uint32_t alpha, uint32_t backgroundBgr);
// Blue, green, red, alpha pixels (straight alpha) laid over the background
// in place, each left opaque.
void BlendBgraPixels(uint32_t* pixels, size_t count, uint32_t backgroundBgr);

// A 32-bit DIB whose alpha mask picks its pixels' top byte, drawn blended
// over a background: the rows held by the block, top row first, as 32-bit
// blue, green, red, 0xFF pixels. width * rows pixels are written to out
// (the caller sizes it from parts.header.width and parts.rowsPresent).
// Answers 0 for a DIB that is not such a picture.
int BlendAlphaDib(const uint8_t* data, size_t size, const CDibParts& parts, uint32_t alphaMask,
                  uint32_t backgroundBgr, uint32_t* out);

// --- File group descriptors ---------------------------------------------------

// One FILEDESCRIPTOR: 72 bytes of fields, then the name (260 ANSI
// characters, or 260 UTF-16 units).
enum { kFileDescriptorFields = 72, kFileDescriptorNameUnits = 260 };
enum : uint32_t { kFdFileSize = 0x40, kFdWriteTime = 0x20 };
size_t FileDescriptorBytes(int wide);

// The count of descriptors, and whether all of them lie within the block:
// answers 0 when the block is shorter than the count or the count is more
// than the block holds.
int ReadFileGroupCount(const uint8_t* data, size_t size, int wide, uint32_t* count);

struct CFileGroupEntry {
    uint32_t flags;
    uint64_t fileSize;  // with kFdFileSize
    uint64_t writeTime; // a FILETIME, with kFdWriteTime
    size_t nameOffset;
    size_t nameUnits;   // up to the name's zero or the field's end
};
// Descriptor index of a group whose count ReadFileGroupCount accepted.
int ReadFileGroupEntry(const uint8_t* data, size_t size, int wide, uint32_t index, CFileGroupEntry* entry);

// --- PNG headers ----------------------------------------------------------------

// The width and height a PNG file's header chunk claims: 0 when the block
// does not start with the PNG signature and an IHDR chunk.
int ReadPngSize(const uint8_t* data, size_t size, uint32_t* width, uint32_t* height);
