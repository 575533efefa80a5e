// Feeds arbitrary bytes to the views' readers as every kind of block they
// take, and checks that each answer stays inside the block. Reads past it
// are caught by the address sanitizer; the fuzzer copies its input into a
// block of exactly that size.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "FormatFamily.h"
#include "HtmlClip.h"
#include "LineIndex.h"
#include "ViewBytes.h"

namespace {
void Check(bool holds)
{
    if (!holds)
        abort();
}

void CheckHexRows(const uint8_t* data, uint32_t size)
{
    // The first rows, and the last two, where the data runs out.
    uint32_t starts[4] = {0, kHexRowBytes, size - size % kHexRowBytes, size > 13 ? size - 13 : 0};
    for (uint32_t offset : starts) {
        char row[kHexRowLength + 1];
        memset(row, '#', sizeof row);
        int last = FormatHexRow(row, data, size, offset);
        if (offset >= size) {
            Check(last == 1 && row[0] == '#');
            continue;
        }
        Check(strlen(row) == kHexRowLength && row[8] == ' ' && row[28] == ' ' && row[60] == ' ');
        Check(last == (size - offset <= kHexRowBytes));
    }
}

void CheckText(const uint8_t* data, size_t size)
{
    for (int unitBytes = 1; unitBytes <= 2; unitBytes++) {
        size_t units = TextUnits(data, size, unitBytes);
        Check(units * unitBytes <= size);
        CTextStats stats = CountTextStats(data, size, unitBytes);
        Check(stats.lengthBytes == units * unitBytes);
        Check(stats.characters <= units && stats.lines <= units + 1 && stats.words <= units + 1);
    }
}

// The line index against a plain count of line ends, with every line's
// characters inside the text and clear of line ends.
void CheckLineIndex(const uint8_t* data, size_t size)
{
    for (int unitBytes = 1; unitBytes <= 2; unitBytes++) {
        CLineIndex index;
        Check(index.Build(data, size / unitBytes, unitBytes) == 1);
        uint32_t units = index.GetUnits();
        Check(units == TextUnits(data, size, unitBytes));
        uint32_t ends = 0;
        for (uint32_t i = 0; i < units; i++) {
            uint32_t unit = TextUnitAt(data, unitBytes, i);
            ends += unit == '\n' || (unit == '\r' && !(i + 1 < units && TextUnitAt(data, unitBytes, i + 1) == '\n'));
        }
        Check(index.GetCount() == ends + 1 && index.GetStart(0) == 0);
        for (uint32_t line = 0; line < index.GetCount(); line++) {
            uint32_t start = index.GetStart(line), end = index.GetEnd(line);
            Check(start <= end && end <= units && end - start <= index.GetLongest());
            Check(index.LineOf(start) == line && index.LineOf(end) == line);
            for (uint32_t i = start; i < end; i++)
                Check(TextUnitAt(data, unitBytes, i) != '\n' && TextUnitAt(data, unitBytes, i) != '\r');
            if (line + 1 < index.GetCount())
                Check(index.GetStart(line + 1) > end && index.GetStart(line + 1) - end <= 2);
        }
    }
}

void CheckDib(const uint8_t* data, size_t size)
{
    CDibParts parts;
    if (!LocateDibParts(data, size, &parts))
        return;
    Check(parts.header.headerBytes <= size && parts.bitsOffset <= size);
    Check(parts.coloursOffset + (uint64_t)parts.colourCount * 4 <= parts.bitsOffset);
    Check(parts.colourCount <= kMaxDibColours);
    if (parts.masksOffset != 0)
        Check(parts.masksOffset + (uint64_t)kDibMaskBytes <= parts.bitsOffset);
    Check(parts.bitsOffset + (uint64_t)parts.bitsPresent == size);
    Check((uint64_t)parts.rowBytes * parts.rowsPresent <= parts.bitsPresent);
}

void CheckDrop(const uint8_t* data, size_t size)
{
    CDropHeader header;
    if (!ReadDropHeader(data, size, &header))
        return;
    size_t unit = header.wide ? 2 : 1;
    size_t position = header.listOffset;
    CDropName name;
    int names = 0;
    while (NextDropName(data, size, header.wide != 0, &position, &name)) {
        Check(name.units > 0 && name.offset + name.units * unit <= size && position <= size);
        Check(++names <= (int)size);
    }
}

void CheckItemList(const uint8_t* data, size_t size)
{
    uint32_t count, listed;
    if (!ReadCidaCount(data, size, &count, &listed))
        return;
    Check(listed <= count && 8 + (uint64_t)listed * 4 <= (size < 8 ? 8 : size));
    for (uint32_t index = 0; index < listed && index < 64; index++) {
        CIdListPart parent, item;
        if (!LocateCidaItem(data, size, index, &parent, &item))
            continue;
        Check((uint64_t)parent.offset + parent.bytes + 2 <= size);
        Check((uint64_t)item.offset + item.bytes <= size && item.bytes >= 2);
        Check(data[item.offset + item.bytes - 1] == 0 && data[item.offset + item.bytes - 2] == 0);
    }
}
void CheckHtmlHeader(const uint8_t* data, size_t size)
{
    HtmlClipHeader header;
    if (!ReadHtmlClipHeader(data, size, header))
        return;
    Check(header.headerBytes <= size);
    if (header.hasHtmlRange)
        Check(header.startHtml <= header.endHtml && header.endHtml <= size);
    if (header.hasFragmentRange)
        Check(header.startFragment <= header.endFragment && header.endFragment <= size);
}

void CheckFileGroup(const uint8_t* data, size_t size)
{
    for (int wide = 0; wide <= 1; wide++) {
        uint32_t count;
        if (!ReadFileGroupCount(data, size, wide, &count))
            continue;
        size_t unit = wide ? 2 : 1;
        for (uint32_t index = 0; index < count; index++) {
            CFileGroupEntry entry;
            Check(ReadFileGroupEntry(data, size, wide, index, &entry) == 1);
            Check(entry.nameOffset + entry.nameUnits * unit <= size && entry.nameUnits < kFileDescriptorNameUnits + 1);
        }
    }
}

void CheckDibV5(const uint8_t* data, size_t size)
{
    CDibV5Fields fields;
    CDibParts parts;
    if (!ReadDibV5Fields(data, size, &fields) || !LocateDibParts(data, size, &parts))
        return;
    Check(ColourSpaceText(fields.colourSpace) != nullptr && RenderingIntentText(fields.intent) != nullptr);
    uint64_t pixels = (uint64_t)(uint32_t)parts.header.width * parts.rowsPresent;
    if (pixels > (1u << 20))
        return;
    std::vector<uint32_t> out((size_t)pixels + 1, 0xDEADBEEF);
    if (BlendAlphaDib(data, size, parts, fields.alphaMask, 0xFFFFFF, out.data()))
        Check(out[(size_t)pixels] == 0xDEADBEEF);
}

void CheckNames(const uint8_t* data, size_t size)
{
    std::string name((const char*)data, size < 200 ? size : 200);
    name = name.substr(0, name.find('\0'));
    FamilyOfRegisteredName(name.c_str());
    uint32_t codePage = MimeTextCodePage(name.c_str());
    Check(codePage != 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckHexRows(data, (uint32_t)size);
    CheckText(data, size);
    CheckLineIndex(data, size);
    CheckDib(data, size);
    CheckDrop(data, size);
    CheckItemList(data, size);
    CheckHtmlHeader(data, size);
    CheckFileGroup(data, size);
    CheckDibV5(data, size);
    CheckNames(data, size);
    uint32_t width, height;
    if (ReadPngSize(data, size, &width, &height))
        Check(size >= 24);
    CLocaleFields fields;
    if (ReadLocaleFields(data, size, &fields))
        Check(fields.primaryLanguage <= fields.languageId && fields.subLanguage < 64 && fields.sortId < 16);
    uint32_t columns, rows;
    PaletteGrid((uint32_t)size, &columns, &rows);
    Check((uint64_t)columns * rows >= size && (size == 0 || columns * (rows - 1) < size + columns));
    return 0;
}
