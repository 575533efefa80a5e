#include "FormatFileBytes.h"

#include "FormatFamily.h"
#include "HtmlClip.h"
#include "ViewBytes.h"

namespace {
const uint32_t kDib = 8, kDibV5 = 17, kBitmap = 2, kEnhMetafile = 14, kMetafilePicture = 3;
const uint32_t kText = 1, kOemText = 7, kUnicodeText = 13, kFirstRegistered = 0xC000;
const uint32_t kBitFields = 3, kAlphaBitFields = 6;
const uint32_t kPlaceableKey = 0x9AC6CDD7u;
const uint16_t kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C;
enum { kPlaceableBytes = 22, kMetaHeaderBytes = 18 };

uint16_t Word(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }
uint32_t Dword(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24; }

void PutWord(std::string& out, uint32_t value)
{
    out += (char)(value & 0xFF);
    out += (char)((value >> 8) & 0xFF);
}

void PutDword(std::string& out, uint32_t value)
{
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

int16_t ClampShort(int64_t value)
{
    return (int16_t)(value > 32767 ? 32767 : value < -32768 ? -32768 : value);
}

int64_t Magnitude(int64_t value) { return value < 0 ? -value : value; }

// Logical units per inch of the fixed mapping modes (MM_TEXT taken at the
// usual 96 pixels per inch).
uint32_t UnitsPerInch(int32_t mappingMode)
{
    switch (mappingMode) {
    case 2: return 254;   // MM_LOMETRIC
    case 3: return 2540;  // MM_HIMETRIC
    case 4: return 100;   // MM_LOENGLISH
    case 5: return 1000;  // MM_HIENGLISH
    case 6: return 1440;  // MM_TWIPS
    default: return 96;   // MM_TEXT, and the scalable modes without a size
    }
}

bool IsScalable(int32_t mappingMode) { return mappingMode == 7 || mappingMode == 8; }

// The last window origin and extent that the records set.
void FindWindow(const uint8_t* bits, size_t size, int32_t* org, int32_t* ext, bool* hasExt)
{
    size_t position = (size_t)Word(bits + 2) * 2;
    while (position + 6 <= size) {
        uint32_t words = Dword(bits + position);
        uint16_t function = Word(bits + position + 4);
        if (words < 3 || function == 0 || words > (size - position) / 2)
            break;
        if ((function == kSetWindowOrg || function == kSetWindowExt) && words >= 5) {
            int32_t* target = function == kSetWindowOrg ? org : ext;
            target[1] = (int16_t)Word(bits + position + 6);
            target[0] = (int16_t)Word(bits + position + 8);
            if (function == kSetWindowExt)
                *hasExt = ext[0] != 0 && ext[1] != 0;
        }
        position += (size_t)words * 2;
    }
}
} // namespace

FormatFileKind FormatFileKindOf(uint32_t format, const char* registeredName)
{
    static const char* const png[] = {"PNG", "image/png", nullptr};
    static const char* const jpeg[] = {"JFIF", "image/jpeg", "image/jpg", "image/pjpeg", nullptr};
    static const char* const gif[] = {"GIF", "image/gif", nullptr};
    if (format >= kFirstRegistered) {
        if (NameIsOneOf(registeredName, png))
            return kFilePng;
        if (NameIsOneOf(registeredName, jpeg))
            return kFileJpeg;
        if (NameIsOneOf(registeredName, gif))
            return kFileGif;
        return FamilyOfRegisteredName(registeredName) == kFamilyHtml ? kFileHtml : kFileRaw;
    }
    switch (format) {
    case kDib: case kDibV5: return kFileDib;
    case kBitmap: return kFileBitmap;
    case kEnhMetafile: return kFileEnhMetafile;
    case kMetafilePicture: return kFileMetafilePicture;
    case kText: case kOemText: return kFileAnsiText;
    case kUnicodeText: return kFileWideText;
    default: return kFileRaw;
    }
}

const char* FormatFileExtension(FormatFileKind kind)
{
    switch (kind) {
    case kFileDib: case kFileBitmap: return "bmp";
    case kFileEnhMetafile: return "emf";
    case kFileMetafilePicture: return "wmf";
    case kFilePng: return "png";
    case kFileJpeg: return "jpg";
    case kFileGif: return "gif";
    case kFileHtml: return "html";
    case kFileAnsiText: case kFileWideText: return "txt";
    default: return "bin";
    }
}

int EncodeBmpFile(const uint8_t* dib, size_t size, std::string& file)
{
    file.clear();
    if (dib == nullptr || size < 12)
        return 0;
    uint32_t headerBytes = Dword(dib);
    uint64_t tableBytes = 0;
    if (headerBytes == 12) {
        uint16_t bitCount = Word(dib + 10);
        tableBytes = bitCount <= 8 ? 3ull << bitCount : 0;
    } else if (headerBytes >= 40 && headerBytes <= 124 && headerBytes % 4 == 0 && size >= 40) {
        uint16_t bitCount = Word(dib + 14);
        uint32_t compression = Dword(dib + 16), used = Dword(dib + 32);
        uint64_t colours = used != 0 ? used : bitCount <= 8 ? 1ull << bitCount : 0;
        tableBytes = colours * 4;
        if (headerBytes == 40 && compression == kBitFields)
            tableBytes += 12;
        else if (headerBytes == 40 && compression == kAlphaBitFields)
            tableBytes += 16;
    } else {
        return 0;
    }
    uint64_t bitsOffset = 14 + (uint64_t)headerBytes + tableBytes;
    // The block must reach past the header and colours, and the file's
    // size must fit its 32-bit field.
    if (bitsOffset - 14 > size || 14 + (uint64_t)size > 0xFFFFFFFFull)
        return 0;
    file.reserve(14 + size);
    file += "BM";
    PutDword(file, (uint32_t)(14 + size));
    PutDword(file, 0);
    PutDword(file, (uint32_t)bitsOffset);
    file.append((const char*)dib, size);
    return 1;
}

uint16_t PlaceableChecksum(const uint8_t* header)
{
    uint16_t sum = 0;
    for (int i = 0; i < 10; i++)
        sum ^= Word(header + 2 * i);
    return sum;
}

int EncodePlaceableMetafile(const uint8_t* bits, size_t size, int32_t mappingMode, int32_t xExtent,
                            int32_t yExtent, std::string& file)
{
    file.clear();
    // A metafile header: memory or disk type, nine words long.
    if (bits == nullptr || size < kMetaHeaderBytes || Word(bits) > 2 || Word(bits) == 0 || Word(bits + 2) != 9)
        return 0;
    int32_t org[2] = {0, 0}, ext[2] = {0, 0};
    bool hasExt = false;
    FindWindow(bits, size, org, ext, &hasExt);
    int64_t left = 0, top = 0, right, bottom;
    uint64_t inch;
    if (hasExt) {
        left = org[0];
        top = org[1];
        right = left + ext[0];
        bottom = top + ext[1];
        inch = UnitsPerInch(mappingMode);
        // The suggested size in 0.01 mm gives the window's physical width.
        if (IsScalable(mappingMode) && xExtent > 0)
            inch = (uint64_t)(Magnitude(ext[0]) * 2540 + xExtent / 2) / (uint64_t)xExtent;
    } else {
        right = Magnitude(xExtent);
        bottom = Magnitude(yExtent);
        inch = IsScalable(mappingMode) && xExtent > 0 ? 2540 : UnitsPerInch(mappingMode);
    }
    if (inch == 0)
        inch = 1;
    if (inch > 0xFFFF)
        inch = 0xFFFF;
    if (left > right) {
        int64_t swap = left; left = right; right = swap;
    }
    if (top > bottom) {
        int64_t swap = top; top = bottom; bottom = swap;
    }
    file.reserve(kPlaceableBytes + size);
    PutDword(file, kPlaceableKey);
    PutWord(file, 0);
    PutWord(file, (uint16_t)ClampShort(left));
    PutWord(file, (uint16_t)ClampShort(top));
    PutWord(file, (uint16_t)ClampShort(right));
    PutWord(file, (uint16_t)ClampShort(bottom));
    PutWord(file, (uint32_t)inch);
    PutDword(file, 0);
    PutWord(file, PlaceableChecksum((const uint8_t*)file.data()));
    file.append((const char*)bits, size);
    return 1;
}

void ExtractHtmlDocument(const uint8_t* data, size_t size, std::string& file)
{
    HtmlClipHeader header;
    ReadHtmlClipHeader(data, size, header);
    if (header.hasHtmlRange)
        file.assign((const char*)data + header.startHtml, header.endHtml - header.startHtml);
    else if (header.hasFragmentRange)
        file.assign((const char*)data + header.startFragment, header.endFragment - header.startFragment);
    else
        file.assign((const char*)data, size);
}

void ExtractAnsiText(const uint8_t* data, size_t size, std::string& file)
{
    file.assign((const char*)data, TextUnits(data, size, 1));
}

void Utf16ToUtf8(const uint8_t* data, size_t size, std::string& file)
{
    file.clear();
    size_t units = size / 2;
    for (size_t i = 0; i < units; i++) {
        uint32_t c = Word(data + 2 * i);
        if (c == 0)
            break;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && Word(data + 2 * i + 2) >= 0xDC00 &&
            Word(data + 2 * i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (Word(data + 2 * i + 2) - 0xDC00);
            i++;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            file += (char)c;
        } else if (c < 0x800) {
            file += (char)(0xC0 | c >> 6);
            file += (char)(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            file += (char)(0xE0 | c >> 12);
            file += (char)(0x80 | ((c >> 6) & 0x3F));
            file += (char)(0x80 | (c & 0x3F));
        } else {
            file += (char)(0xF0 | c >> 18);
            file += (char)(0x80 | ((c >> 12) & 0x3F));
            file += (char)(0x80 | ((c >> 6) & 0x3F));
            file += (char)(0x80 | (c & 0x3F));
        }
    }
}
