#include "ViewBytes.h"

#include <string.h>

namespace {
// The records are little-endian and need not be aligned.
uint16_t Read16(const uint8_t* at)
{
    return (uint16_t)(at[0] | at[1] << 8);
}

uint32_t Read32(const uint8_t* at)
{
    return (uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 | (uint32_t)at[3] << 24;
}

uint32_t ReadUnit(const uint8_t* at, int unitBytes)
{
    return unitBytes == 2 ? Read16(at) : at[0];
}

char* PutHexDigits(char* out, uint32_t value, int digits, const char* alphabet)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        *out++ = alphabet[(value >> shift) & 15];
    return out;
}

char* PutSpaces(char* out, int count)
{
    memset(out, ' ', (size_t)count);
    return out + count;
}

int IsSeparator(uint32_t unit)
{
    return unit == '\n' || unit == ' ';
}

// Colour entries the bits come after when the header does not count them.
uint32_t DefaultColourEntries(uint16_t bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

int IsDrawableFormat(const CDibHeader& header)
{
    switch (header.bitCount) {
    case 1: return header.compression == kDibRgb;
    case 4: return header.compression == kDibRgb || (header.compression == kDibRle4 && header.height > 0);
    case 8: return header.compression == kDibRgb || (header.compression == kDibRle8 && header.height > 0);
    case 16: case 32: return header.compression == kDibRgb || header.compression == kDibBitFields;
    case 24: return header.compression == kDibRgb;
    default: return 0;
    }
}
} // namespace

int FormatHexRow(char* row, const uint8_t* data, uint32_t size, uint32_t offset)
{
    if (offset >= size)
        return 1;
    static const char upper[] = "0123456789ABCDEF";
    uint32_t count = size - offset < (uint32_t)kHexRowBytes ? size - offset : (uint32_t)kHexRowBytes;
    const uint8_t* bytes = data + offset;
    char* out = PutHexDigits(row, offset, 8, "0123456789abcdef");
    out = PutSpaces(out, 2);
    for (uint32_t i = 0; i < kHexRowBytes; i++) {
        if (i == kHexRowBytes / 2)
            out = PutSpaces(out, 1);
        if (i < count) {
            out = PutHexDigits(out, bytes[i], 2, upper);
            *out++ = ' ';
        } else {
            out = PutSpaces(out, 3);
        }
    }
    out = PutSpaces(out, 1);
    for (uint32_t i = 0; i < kHexRowBytes; i++)
        *out++ = i >= count ? ' ' : (bytes[i] >= 0x21 && bytes[i] <= 0x7E) ? (char)bytes[i] : '.';
    out = PutSpaces(out, 1);
    *out = 0;
    return size - offset <= kHexRowBytes;
}

size_t TextUnits(const uint8_t* data, size_t size, int unitBytes)
{
    if (unitBytes == 1) {
        const void* zero = memchr(data, 0, size);
        return zero ? (size_t)((const uint8_t*)zero - data) : size;
    }
    size_t units = size / 2;
    for (size_t k = 0; k < units; k++)
        if (Read16(data + 2 * k) == 0)
            return k;
    return units;
}

CTextStats CountTextStats(const uint8_t* data, size_t size, int unitBytes)
{
    size_t units = TextUnits(data, size, unitBytes);
    CTextStats stats = {(uint32_t)(units * (size_t)unitBytes), 1, 1, 0};
    uint32_t previous = 0;
    for (size_t k = 0; k < units; k++) {
        uint32_t unit = ReadUnit(data + k * (size_t)unitBytes, unitBytes);
        if (unit == '\n')
            stats.lines++;
        if (!IsSeparator(unit))
            stats.characters++;
        else if (k > 0 && !IsSeparator(previous))
            stats.words++;
        previous = unit;
    }
    return stats;
}

const char* TextTypeName(uint32_t format)
{
    switch (format) {
    case 1: return "Ansi";
    case 7: return "Oem";
    case 13: return "Unicode";
    default: return "";
    }
}

int ReadDibHeader(const uint8_t* data, size_t size, CDibHeader* header)
{
    if (size < kDibHeaderBytes)
        return 0;
    header->headerBytes = Read32(data);
    header->width = (int32_t)Read32(data + 4);
    header->height = (int32_t)Read32(data + 8);
    header->bitCount = Read16(data + 14);
    header->compression = Read32(data + 16);
    header->sizeImage = Read32(data + 20);
    header->coloursUsed = Read32(data + 32);
    return 1;
}

int LocateDibParts(const uint8_t* data, size_t size, CDibParts* parts)
{
    CDibHeader& header = parts->header;
    if (!ReadDibHeader(data, size, &header) || header.headerBytes < kDibHeaderBytes || header.headerBytes > size)
        return 0;
    if (header.width <= 0 || header.height == 0 || !IsDrawableFormat(header))
        return 0;
    uint64_t offset = header.headerBytes;
    parts->masksOffset = 0;
    if (header.compression == kDibBitFields) {
        // Later headers carry the masks themselves, right after the
        // 40 bytes of the first one.
        if (header.headerBytes == kDibHeaderBytes)
            offset += kDibMaskBytes;
        else if (header.headerBytes < kDibHeaderBytes + kDibMaskBytes)
            return 0;
        parts->masksOffset = kDibHeaderBytes;
    }
    parts->coloursOffset = (uint32_t)offset;
    uint64_t entries = header.coloursUsed != 0 ? header.coloursUsed : DefaultColourEntries(header.bitCount);
    offset += entries * 4;
    if (offset > size)
        return 0;
    uint32_t drawn = header.bitCount <= 8 ? 1u << header.bitCount : 0;
    parts->colourCount = entries < drawn ? (uint32_t)entries : drawn;
    parts->bitsOffset = (uint32_t)offset;
    parts->bitsPresent = (uint32_t)(size - offset);
    uint64_t rows = header.height < 0 ? 0 - (uint64_t)(int64_t)header.height : (uint64_t)header.height;
    parts->rowBytes = 0;
    parts->rowsPresent = (uint32_t)rows;
    if (header.compression == kDibRgb || header.compression == kDibBitFields) {
        uint64_t rowBytes = ((uint64_t)header.width * header.bitCount + 31) / 32 * 4;
        if (rowBytes > 0xFFFFFFFFu)
            return 0;
        parts->rowBytes = (uint32_t)rowBytes;
        uint64_t present = parts->bitsPresent / rowBytes;
        parts->rowsPresent = (uint32_t)(present < rows ? present : rows);
    }
    return 1;
}

const char* DibColourCountText(uint32_t bitCount)
{
    switch (bitCount) {
    case 1: return "2";
    case 2: return "4";
    case 4: return "16";
    case 8: return "256";
    case 15: return "32K";
    case 16: return "64K";
    case 24: case 32: return "16.7M";
    default: return "UNKNOWN";
    }
}

const char* DibCompressionText(uint32_t compression)
{
    switch (compression) {
    case kDibRle8: return "RLE (8bit)";
    case kDibRle4: return "RLE (4bit)";
    default: return "Uncompressed";
    }
}

const char* PaletteFlagText(uint8_t flags)
{
    switch (flags) {
    case 1: return "(Reserved)";
    case 2: return "(Explicit)";
    case 4: return "(No collapse)";
    default: return "";
    }
}

void PaletteGrid(uint32_t count, uint32_t* columns, uint32_t* rows)
{
    if (count == 0) {
        *columns = *rows = 0;
    } else if (count <= 32) {
        *columns = (count + 1) / 2;
        *rows = 2;
    } else if (count <= 256) {
        *columns = 32;
        *rows = (count + 31) / 32;
    } else {
        *columns = 64;
        *rows = (count + 63) / 64;
    }
}

int ReadDropHeader(const uint8_t* data, size_t size, CDropHeader* header)
{
    if (size < kDropHeaderBytes)
        return 0;
    header->listOffset = Read32(data);
    header->x = (int32_t)Read32(data + 4);
    header->y = (int32_t)Read32(data + 8);
    header->nonClient = Read32(data + 12);
    header->wide = Read32(data + 16);
    return 1;
}

int NextDropName(const uint8_t* data, size_t size, int wide, size_t* position, CDropName* name)
{
    const int unit = wide ? 2 : 1;
    size_t at = *position;
    if (at > size)
        return 0;
    name->offset = at;
    name->units = 0;
    while (size - at >= (size_t)unit && ReadUnit(data + at, unit) != 0) {
        name->units++;
        at += unit;
    }
    if (name->units == 0)
        return 0;
    // Past the zero, or at the end of a name the block cut off.
    *position = size - at >= (size_t)unit ? at + unit : size;
    return 1;
}

int ReadCidaCount(const uint8_t* data, size_t size, uint32_t* count, uint32_t* listed)
{
    if (size < 4)
        return 0;
    *count = Read32(data);
    // The first offset is the parent folder's; the items' follow it.
    size_t offsets = (size - 4) / 4;
    size_t items = offsets > 0 ? offsets - 1 : 0;
    *listed = items < *count ? (uint32_t)items : *count;
    return 1;
}

uint32_t IdListBytesAt(const uint8_t* data, size_t size, size_t offset)
{
    if (offset > size)
        return 0;
    const uint8_t* list = data + offset;
    size_t available = size - offset;
    size_t total = 0;
    while (available >= 2 && total <= available - 2) {
        uint16_t itemBytes = Read16(list + total);
        if (itemBytes == 0)
            return total + 2 <= 0xFFFFFFFFu ? (uint32_t)(total + 2) : 0;
        // An item's size counts its own two-byte field.
        if (itemBytes < 2)
            return 0;
        total += itemBytes;
    }
    return 0;
}

int LocateCidaItem(const uint8_t* data, size_t size, uint32_t index, CIdListPart* parent, CIdListPart* item)
{
    uint32_t count, listed;
    if (!ReadCidaCount(data, size, &count, &listed) || index >= listed)
        return 0;
    parent->offset = Read32(data + 4);
    item->offset = Read32(data + 8 + 4 * (size_t)index);
    parent->bytes = IdListBytesAt(data, size, parent->offset);
    item->bytes = IdListBytesAt(data, size, item->offset);
    if (parent->bytes == 0 || item->bytes == 0)
        return 0;
    parent->bytes -= 2;
    return 1;
}

int ReadLocaleFields(const uint8_t* data, size_t size, CLocaleFields* fields)
{
    if (size < 4)
        return 0;
    uint32_t locale = Read32(data);
    fields->languageId = locale & 0xFFFF;
    fields->primaryLanguage = locale & 0x3FF;
    fields->subLanguage = (locale >> 10) & 0x3F;
    fields->sortId = (locale >> 16) & 0xF;
    return 1;
}

// --- Version 5 bitmap headers -------------------------------------------------

int ReadDibV5Fields(const uint8_t* data, size_t size, CDibV5Fields* fields)
{
    if (size < kDibV5HeaderBytes || Read32(data) < kDibV5HeaderBytes)
        return 0;
    fields->alphaMask = Read32(data + 52);
    fields->colourSpace = Read32(data + 56);
    fields->intent = Read32(data + 108);
    return 1;
}

const char* ColourSpaceText(uint32_t colourSpace)
{
    switch (colourSpace) {
    case 0: return "Calibrated RGB";
    case 0x73524742: return "sRGB";
    case 0x57696E20: return "Windows default";
    case 0x4C494E4B: return "Linked profile";
    case 0x4D424544: return "Embedded profile";
    default: return "Unknown";
    }
}

const char* RenderingIntentText(uint32_t intent)
{
    switch (intent) {
    case 1: return "Business";
    case 2: return "Graphics";
    case 4: return "Images";
    case 8: return "Absolute colorimetric";
    default: return "Unknown";
    }
}

namespace {
// A channel of a pixel picked by a mask, scaled to 0..255.
struct CChannel {
    uint32_t mask;
    int shift;
    uint32_t maximum;
    explicit CChannel(uint32_t channelMask) : mask(channelMask), shift(0), maximum(0)
    {
        if (mask == 0)
            return;
        while (!(mask >> shift & 1))
            shift++;
        maximum = mask >> shift;
    }
    uint32_t Of(uint32_t pixel) const
    {
        if (maximum == 0)
            return 0;
        uint32_t value = (pixel & mask) >> shift;
        return maximum == 255 ? value : (uint32_t)((uint64_t)value * 255 / maximum);
    }
};
} // namespace

uint32_t BlendPixel(uint32_t blue, uint32_t green, uint32_t red, uint32_t alpha, uint32_t backgroundBgr)
{
    uint32_t b = (blue * alpha + (backgroundBgr & 0xFF) * (255 - alpha) + 127) / 255;
    uint32_t g = (green * alpha + (backgroundBgr >> 8 & 0xFF) * (255 - alpha) + 127) / 255;
    uint32_t r = (red * alpha + (backgroundBgr >> 16 & 0xFF) * (255 - alpha) + 127) / 255;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

void BlendBgraPixels(uint32_t* pixels, size_t count, uint32_t backgroundBgr)
{
    for (size_t k = 0; k < count; k++) {
        uint32_t pixel = pixels[k], alpha = pixel >> 24;
        if (alpha != 255)
            pixels[k] = BlendPixel(pixel & 0xFF, pixel >> 8 & 0xFF, pixel >> 16 & 0xFF, alpha, backgroundBgr);
    }
}

int BlendAlphaDib(const uint8_t* data, size_t size, const CDibParts& parts, uint32_t alphaMask,
                  uint32_t backgroundBgr, uint32_t* out)
{
    if (parts.header.bitCount != 32 || alphaMask == 0 || parts.rowBytes == 0 ||
        (uint64_t)parts.bitsOffset + (uint64_t)parts.rowBytes * parts.rowsPresent > size)
        return 0;
    uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (parts.masksOffset != 0)
        for (int k = 0; k < 3; k++)
            masks[k] = Read32(data + parts.masksOffset + 4 * k);
    CChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(alphaMask);
    const uint32_t width = (uint32_t)parts.header.width, rows = parts.rowsPresent;
    for (uint32_t row = 0; row < rows; row++) {
        // Bottom-up DIBs hold their lowest rows first.
        uint32_t stored = parts.header.height > 0 ? rows - 1 - row : row;
        const uint8_t* source = data + parts.bitsOffset + (size_t)stored * parts.rowBytes;
        uint32_t* target = out + (size_t)row * width;
        for (uint32_t x = 0; x < width; x++) {
            uint32_t pixel = Read32(source + 4 * (size_t)x);
            target[x] = BlendPixel(blue.Of(pixel), green.Of(pixel), red.Of(pixel), alpha.Of(pixel), backgroundBgr);
        }
    }
    return 1;
}

// --- File group descriptors ---------------------------------------------------

size_t FileDescriptorBytes(int wide) { return kFileDescriptorFields + kFileDescriptorNameUnits * (wide ? 2 : 1); }

int ReadFileGroupCount(const uint8_t* data, size_t size, int wide, uint32_t* count)
{
    if (size < 4)
        return 0;
    *count = Read32(data);
    return (uint64_t)*count * FileDescriptorBytes(wide) <= size - 4;
}

int ReadFileGroupEntry(const uint8_t* data, size_t size, int wide, uint32_t index, CFileGroupEntry* entry)
{
    uint64_t start = 4 + (uint64_t)index * FileDescriptorBytes(wide);
    if (start + FileDescriptorBytes(wide) > size)
        return 0;
    const uint8_t* fields = data + start;
    entry->flags = Read32(fields);
    entry->writeTime = (uint64_t)Read32(fields + 60) << 32 | Read32(fields + 56);
    entry->fileSize = (uint64_t)Read32(fields + 64) << 32 | Read32(fields + 68);
    entry->nameOffset = (size_t)start + kFileDescriptorFields;
    size_t unitBytes = wide ? 2 : 1;
    entry->nameUnits = TextUnits(data + entry->nameOffset, kFileDescriptorNameUnits * unitBytes, (int)unitBytes);
    return 1;
}

// --- PNG headers ----------------------------------------------------------------

int ReadPngSize(const uint8_t* data, size_t size, uint32_t* width, uint32_t* height)
{
    static const uint8_t signature[12] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    if (size < 24 || memcmp(data, signature, sizeof signature) != 0 || memcmp(data + 12, "IHDR", 4) != 0)
        return 0;
    // Network byte order.
    *width = (uint32_t)data[16] << 24 | (uint32_t)data[17] << 16 | (uint32_t)data[18] << 8 | data[19];
    *height = (uint32_t)data[20] << 24 | (uint32_t)data[21] << 16 | (uint32_t)data[22] << 8 | data[23];
    return 1;
}
