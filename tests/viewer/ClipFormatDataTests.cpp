// The plain functions of the clip format records: names, icon indexes and
// the measuring of bitmap headers, checked over their whole input ranges.
#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ClipFormat.h"

namespace {

BITMAPINFOHEADER Header(LONG width, LONG height, WORD bitCount, DWORD compression = BI_RGB)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = compression;
    return header;
}

} // namespace

TEST(FormatIcons, StandardIdentifiersFollowTheTable)
{
    const struct { UINT id; int icon; } table[] = {
        {1, 8}, {2, 4}, {3, 7}, {7, 8}, {8, 5}, {9, 10}, {11, 9}, {12, 9}, {13, 8}, {14, 7}, {15, 6}, {16, 11},
    };
    for (UINT id = 0; id < kFirstRegisteredFormat; id++) {
        int expected = kImageOtherFormat;
        for (const auto& row : table)
            if (row.id == id)
                expected = row.icon;
        ASSERT_EQ(expected, FormatIconIndexForName(id, nullptr)) << "format " << id;
        // A name never matters below 0xC000.
        ASSERT_EQ(expected, FormatIconIndexForName(id, "FileName")) << "format " << id;
    }
}

TEST(FormatIcons, RegisteredNamesIgnoreLetterCase)
{
    EXPECT_EQ(8, FormatIconIndexForName(0xC000, "FileName"));
    EXPECT_EQ(8, FormatIconIndexForName(0xC123, "filenamew"));
    EXPECT_EQ(8, FormatIconIndexForName(0xFFFF, "FILENAMEW"));
    EXPECT_EQ(6, FormatIconIndexForName(0xC200, "shell idlist array"));
    EXPECT_EQ(3, FormatIconIndexForName(0xC200, "Shell IDList Array "));
    EXPECT_EQ(3, FormatIconIndexForName(0xC200, "FileNam"));
    EXPECT_EQ(3, FormatIconIndexForName(0xC200, ""));
    EXPECT_EQ(3, FormatIconIndexForName(0xC200, nullptr));
    EXPECT_EQ(3, FormatIconIndexForName(0x10000, "Rich Text Format"));
}

TEST(FormatIcons, LookUpRegisteredNamesOnTheRunningSystem)
{
    EXPECT_EQ(8, FormatIconIndex(RegisterClipboardFormatA("FileNameW")));
    EXPECT_EQ(6, FormatIconIndex(RegisterClipboardFormatA("Shell IDList Array")));
    EXPECT_EQ(3, FormatIconIndex(RegisterClipboardFormatA("Vellmora Test Icon Format")));
    EXPECT_EQ(11, FormatIconIndex(CF_LOCALE));
    EXPECT_EQ(3, FormatIconIndex(0xFFFF)) << "an identifier with no registered name";
}

TEST(FormatNames, StandardNamesComeFromTheStringTableWithoutTheirAmpersand)
{
    const char* const names[] = {"Text", "Bitmap", "Metafile Picture", "Sylk", "DIF", "TIFF Bitmap",
                                 "OEM Text", "DIB Bitmap", "Palette", "Pen Data", "RIFF", "Wave Sound",
                                 "Unicode Text", "Enhanced Metafile", "Drop Handle", "Locale"};
    for (UINT id = 1; id <= 16; id++) {
        CText name("stale");
        EXPECT_EQ(1, LoadFormatName(id, name));
        EXPECT_STREQ(names[id - 1], name.GetString()) << "format " << id;
    }
    // Every other number has a name too, and none borrows an unrelated
    // string that happens to have its number (100 is the program's title).
    const struct {
        UINT id;
        const char* name;
    } others[] = {{17, "DIB V5 Bitmap"},          {0x80, "Owner Display"},
                  {0x81, "Display Text"},           {0x82, "Display Bitmap"},
                  {0x83, "Display Metafile Picture"}, {0x8E, "Display Enhanced Metafile"},
                  {0x200, "Private 0x0200"},        {0x2FF, "Private 0x02FF"},
                  {0x300, "GDI Object 0x0300"},     {0x3FF, "GDI Object 0x03FF"},
                  {0x12, "Format 0x0012"},          {100, "Format 0x0064"},
                  {0x400, "Format 0x0400"},         {0xBFFF, "Format 0xBFFF"}};
    for (const auto& other : others) {
        CText name("stale");
        EXPECT_EQ(1, LoadFormatName(other.id, name)) << "format " << other.id;
        EXPECT_STREQ(other.name, name.GetString()) << "format " << other.id;
    }
}

TEST(FormatNames, RegisteredNamesAreReadBackWhole)
{
    CText name;
    UINT id = RegisterClipboardFormatA("Vellmora & Test & Name");
    ASSERT_NE(0u, id);
    EXPECT_EQ(1, LoadFormatName(id, name));
    EXPECT_STREQ("Vellmora  Test & Name", name.GetString()) << "only the first '&' goes";

    // A name longer than the buffer is cut to 99 characters, as Windows
    // does. Wine's GetClipboardFormatNameA answers 0 for a buffer that is
    // too small, which would leave the name empty: the reader reads the
    // whole atom and cuts it itself.
    std::string longName(150, 'n');
    id = RegisterClipboardFormatA(longName.c_str());
    ASSERT_NE(0u, id);
    LoadFormatName(id, name);
    EXPECT_EQ(std::string(99, 'n'), name.GetString());
    EXPECT_EQ(3, FormatIconIndex(id));

    EXPECT_EQ(0, LoadFormatName(0xFFFF, name));
    EXPECT_STREQ("", name.GetString());
}

TEST(FormatNames, RemoveFirstAmpersand)
{
    const char* const cases[][2] = {
        {"", ""}, {"&", ""}, {"&&", "&"}, {"a&b&c", "ab&c"}, {"abc&", "abc"}, {"none", "none"},
    };
    for (const auto& row : cases) {
        CText text(row[0]);
        RemoveFirstAmpersand(text);
        EXPECT_STREQ(row[1], text.GetString()) << row[0];
    }
}

TEST(ClipKinds, HandleSizeIsGlobalSizeOnlyForMemoryFormats)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 37);
    EXPECT_LE(37u, ClipboardHandleSize(CF_TEXT, block));
    EXPECT_EQ(0u, ClipboardHandleSize(CF_BITMAP, block));
    EXPECT_EQ(0u, ClipboardHandleSize(CF_PALETTE, block));
    EXPECT_EQ(0u, ClipboardHandleSize(CF_ENHMETAFILE, block));
    GlobalFree(block);
    EXPECT_EQ(0u, ClipboardHandleSize(CF_TEXT, nullptr));
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(0u, ClipboardHandleSize(0x300, pen)) << "a GDI object is no global memory";
    DeleteObject(pen);
}

TEST(DibLayout, ColourAreaByBitCount)
{
    const struct { WORD bits; DWORD compression; DWORD colours; } table[] = {
        {1, BI_RGB, 8}, {4, BI_RGB, 64}, {8, BI_RGB, 1024}, {16, BI_RGB, 0},
        {16, BI_BITFIELDS, 12}, {24, BI_RGB, 0}, {32, BI_RGB, 0}, {32, BI_BITFIELDS, 12},
    };
    for (const auto& row : table) {
        BITMAPINFOHEADER header = Header(10, -3, row.bits, row.compression);
        header.biClrUsed = 2; // never shortens the colour table
        CDibLayout layout;
        ASSERT_EQ(1, MeasureDib(header, 0x10000, &layout)) << row.bits;
        EXPECT_EQ(row.colours, layout.colourBytes) << row.bits;
        EXPECT_EQ(40 + row.colours + layout.bitsBytes, layout.totalBytes) << row.bits;
    }
}

TEST(DibLayout, RefusesHeadersThatCannotBeMeasured)
{
    CDibLayout layout = {};
    for (WORD bits = 0; bits <= 64; bits++) {
        bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        EXPECT_EQ(known ? 1 : 0, MeasureDib(Header(4, 4, bits), 0x10000, &layout)) << bits;
        bool fields = bits == 16 || bits == 32;
        EXPECT_EQ(fields ? 1 : 0, MeasureDib(Header(4, 4, bits, BI_BITFIELDS), 0x10000, &layout)) << bits;
        EXPECT_EQ(0, MeasureDib(Header(4, 4, bits, BI_RLE8), 0x10000, &layout)) << bits;
        EXPECT_EQ(0, MeasureDib(Header(4, 4, bits, 99), 0x10000, &layout)) << bits;
    }
    EXPECT_EQ(0, MeasureDib(Header(0, 4, 24), 0x10000, &layout)) << "no width";
    EXPECT_EQ(0, MeasureDib(Header(-4, 4, 24), 0x10000, &layout)) << "negative width";
    EXPECT_EQ(0, MeasureDib(Header(4, 0, 24), 0x10000, &layout)) << "no height";
    BITMAPINFOHEADER small = Header(4, 4, 24);
    small.biSize = 12;
    EXPECT_EQ(0, MeasureDib(small, 0x10000, &layout)) << "a core header is not taken for an info header";
}

TEST(DibLayout, HugeFiguresNeverWrapBelowTheLimit)
{
    CDibLayout layout = {};
    EXPECT_EQ(0, MeasureDib(Header(LONG_MAX, LONG_MAX, 32), 0xFFFFFFFF, &layout));
    EXPECT_EQ(0, MeasureDib(Header(LONG_MAX, LONG_MIN, 32), 0xFFFFFFFF, &layout));
    EXPECT_EQ(0, MeasureDib(Header(0x40000000, 4, 32), 0xFFFFFFFF, &layout)) << "row * 4 wraps in 32 bits";
    EXPECT_EQ(0, MeasureDib(Header(1, 0x40000001, 32), 0xFFFFFFFF, &layout));
    BITMAPINFOHEADER wide = Header(4, 4, 8);
    wide.biSize = 0xFFFFFFF0;
    EXPECT_EQ(0, MeasureDib(wide, 0xFFFFFFFF, &layout)) << "header size plus the rest wraps";

    // The limit is inclusive: exactly fitting is fine, one byte less is not.
    BITMAPINFOHEADER exact = Header(8, 8, 8);
    ASSERT_EQ(1, MeasureDib(exact, 0xFFFFFFFF, &layout));
    EXPECT_EQ(1, MeasureDib(exact, layout.totalBytes, &layout));
    EXPECT_EQ(0, MeasureDib(exact, layout.totalBytes - 1, &layout));
    EXPECT_EQ(1, MeasureDib(exact, 0x10000, nullptr));
}

TEST(DibLayout, AgreesWithTheSystemsOwnBitmaps)
{
    // Every accepted layout is checked against a DIB section the system
    // builds from the same header: its rows must fill exactly the bits.
    const struct { WORD bits; DWORD compression; DWORD masks[3]; } kinds[] = {
        {1, BI_RGB, {}}, {4, BI_RGB, {}}, {8, BI_RGB, {}}, {16, BI_RGB, {}}, {16, BI_BITFIELDS, {0x7C00, 0x3E0, 0x1F}},
        {24, BI_RGB, {}}, {32, BI_RGB, {}}, {32, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}},
    };
    HDC dc = GetDC(nullptr);
    for (const auto& kind : kinds) {
        for (LONG width = 1; width <= 40; width++) {
            for (LONG height : {1, 2, 3, -1, -3}) {
                BITMAPINFOHEADER header = Header(width, height, kind.bits, kind.compression);
                CDibLayout layout;
                ASSERT_EQ(1, MeasureDib(header, 0x100000, &layout));
                std::vector<BYTE> info(layout.headerBytes + layout.colourBytes, 0);
                memcpy(info.data(), &header, sizeof header);
                if (kind.compression == BI_BITFIELDS)
                    memcpy(info.data() + sizeof header, kind.masks, sizeof kind.masks);
                void* bits = nullptr;
                HBITMAP section = CreateDIBSection(dc, (BITMAPINFO*)info.data(), DIB_RGB_COLORS, &bits, nullptr, 0);
                ASSERT_NE(nullptr, section) << kind.bits << " bits, " << width << " by " << height;
                DIBSECTION described = {};
                GetObjectA(section, sizeof described, &described);
                EXPECT_EQ((DWORD)described.dsBm.bmWidthBytes * (DWORD)abs(height), layout.bitsBytes)
                    << kind.bits << " bits, " << width << " by " << height;
                DeleteObject(section);
            }
        }
    }
    ReleaseDC(nullptr, dc);
}
