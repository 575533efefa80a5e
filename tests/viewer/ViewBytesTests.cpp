// The views' byte-level readers: hex rows and where the parts of a DIB lie,
// with blocks that end at a guard page. Text statistics, drop lists, item
// lists and locales are read by the information view's tests.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuardedBlock.h"
#include "TextView.h"
#include "ViewBytes.h"

namespace {
typedef std::vector<BYTE> Bytes;

// The first 40 bytes of a header of headerBytes.
Bytes DibHeader(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression, uint32_t coloursUsed,
                DWORD headerBytes = sizeof(BITMAPINFOHEADER))
{
    BITMAPINFOHEADER header = {headerBytes, width, height, 1, bitCount, compression, 0, 0, 0, coloursUsed, 0};
    return Bytes((BYTE*)&header, (BYTE*)(&header + 1));
}

} // namespace

TEST(ViewBytes, HexRowsKeepTheirColumns)
{
    const struct {
        std::string bytes;
        uint32_t offset;
        const char* row;
        int last;
    } cases[] = {
        {"", 0, "untouched", 1}, // no byte: the row is left as it was
        {"Hello, world", 0, "00000000  48 65 6C 6C 6F 2C  20 77 6F 72 6C 64  Hello,.world ", 1},
        {"Hello, world!", 0, "00000000  48 65 6C 6C 6F 2C  20 77 6F 72 6C 64  Hello,.world ", 0},
        {"Hello, world!", 12, "0000000c  21                                    !            ", 1},
        // Only 0x21 to 0x7E show as themselves.
        {std::string("\x20\x21\x7E\x7F\x80\xFF\0\x26\x41\x09\xA0\x2E", 12), 0,
         "00000000  20 21 7E 7F 80 FF  00 26 41 09 A0 2E  .!~....&A... ", 1},
    };
    for (const auto& test : cases) {
        CGuardedBlock block(test.bytes.data(), test.bytes.size());
        char row[kHexRowLength + 1] = "untouched";
        EXPECT_EQ(test.last, FormatHexRow(row, block.Data(), block.Size(), test.offset)) << test.row;
        EXPECT_STREQ(test.row, row);
    }
}

TEST(ViewBytes, DibBitsFollowMasksAndColours)
{
    struct Case {
        Bytes header;
        size_t extra; // bytes after the header
        int usable;
        uint32_t bitsOffset, colourCount, rowsPresent;
    } cases[] = {
        {DibHeader(4, 2, 24, BI_RGB, 0), 24, 1, 40, 0, 2},
        {DibHeader(4, 2, 24, BI_RGB, 0), 23, 1, 40, 0, 1},          // a row short: the lower row only
        {DibHeader(4, -3, 32, BI_BITFIELDS, 0), 12 + 48, 1, 52, 0, 3}, // masks, top-down
        {DibHeader(3, 1, 8, BI_RGB, 16), 64 + 4, 1, 104, 16, 1},     // 16 colours used
        {DibHeader(3, 1, 8, BI_RGB, 0), 1024 + 4, 1, 1064, 256, 1},
        {DibHeader(3, 1, 8, BI_RGB, 0), 1023, 0, 0, 0, 0},           // colours cut off
        {DibHeader(3, 1, 1, BI_RGB, 300), 1200 + 4, 1, 1240, 2, 1},  // more used than drawn
        {DibHeader(8, 2, 4, BI_RLE4, 0), 64 + 6, 1, 104, 16, 2},
        {DibHeader(8, -2, 4, BI_RLE4, 0), 64 + 6, 0, 0, 0, 0},       // top-down run lengths
        {DibHeader(0, 2, 24, BI_RGB, 0), 24, 0, 0, 0, 0},
        {DibHeader(4, 2, 2, BI_RGB, 0), 24, 0, 0, 0, 0},
        {DibHeader(4, 2, 24, BI_RGB, 0x40000000), 24, 0, 0, 0, 0},
        {DibHeader(1, 1, 16, BI_BITFIELDS, 0, 108), 68 + 4, 1, 108, 0, 1}, // masks inside a later header
    };
    for (const Case& test : cases) {
        Bytes bytes = test.header;
        bytes.resize(bytes.size() + test.extra, 0x5A);
        CGuardedBlock block(bytes.data(), bytes.size());
        CDibParts parts;
        SCOPED_TRACE(testing::Message() << "bits " << test.bitsOffset << " extra " << test.extra);
        ASSERT_EQ(test.usable, LocateDibParts(block.Data(), block.Size(), &parts));
        if (!test.usable)
            continue;
        EXPECT_EQ(test.bitsOffset, parts.bitsOffset);
        EXPECT_EQ(test.colourCount, parts.colourCount);
        EXPECT_EQ(test.rowsPresent, parts.rowsPresent);
    }
}

TEST(ViewBytes, TextViewsKnowFileNamesInAnyCase)
{
    // Registered names keep the spelling of their first registration for
    // the whole session, so these are not registered here.
    EXPECT_EQ(kWideText, TextEncodingOf(0xC001, "FILENAMEW"));
    EXPECT_EQ(kAnsiText, TextEncodingOf(0xC002, "filename"));
    EXPECT_EQ(kNoText, TextEncodingOf(0xC003, "FileNames"));
    EXPECT_EQ(kNoText, TextEncodingOf(0xC004, nullptr));
    EXPECT_EQ(kOemText, TextEncodingOf(CF_OEMTEXT, "FileName"));
}
