// Clip format records against the real clipboard: what another owner puts
// there is copied, survives that owner's EmptyClipboard, and goes back
// equal.
#include <string.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ClipFormat.h"
#include "ClipDataSamples.h"
#include "ClipboardHelper.h"

// Pixels of a bitmap as 32-bit top-down RGB, the same for every depth.
std::vector<DWORD> Pixels(HBITMAP bitmap, SIZE* size)
{
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0)
        return {};
    if (size != nullptr)
        *size = {info.bmWidth, info.bmHeight};
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels((size_t)info.bmWidth * info.bmHeight);
    HDC dc = GetDC(nullptr);
    int rows = GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != info.bmHeight)
        return {};
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

// A screen-compatible bitmap with a pattern no two pixels of which repeat
// along a row.
HBITMAP MakePatternBitmap(int width, int height)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            SetPixel(dc, x, y, RGB(x * 17 & 0xFF, y * 29 & 0xFF, (x + y) * 7 & 0xFF));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette)
{
    if (palette == nullptr)
        return {};
    UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    std::vector<PALETTEENTRY> entries(count);
    if (count != 0)
        GetPaletteEntries(palette, 0, count, entries.data());
    return entries;
}

HPALETTE MakePalette(int count)
{
    std::vector<BYTE> bytes(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
    LOGPALETTE* logical = (LOGPALETTE*)bytes.data();
    logical->palVersion = 0x300;
    logical->palNumEntries = (WORD)count;
    for (int i = 0; i < count; i++)
        logical->palPalEntry[i] = {(BYTE)(i * 40), (BYTE)(255 - i * 3), (BYTE)(i * 11), 0};
    return CreatePalette(logical);
}

bool SamePalette(const std::vector<PALETTEENTRY>& left, const std::vector<PALETTEENTRY>& right)
{
    return left.size() == right.size() && memcmp(left.data(), right.data(), left.size() * sizeof(PALETTEENTRY)) == 0;
}

std::string EnhMetafileBits(HENHMETAFILE metafile)
{
    UINT size = metafile ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
    std::string bits(size, 0);
    if (size != 0)
        GetEnhMetaFileBits(metafile, size, (BYTE*)&bits[0]);
    return bits;
}

std::string MetafileBits(HMETAFILE metafile)
{
    UINT size = metafile ? GetMetaFileBitsEx(metafile, 0, nullptr) : 0;
    std::string bits(size, 0);
    if (size != 0)
        GetMetaFileBitsEx(metafile, size, &bits[0]);
    return bits;
}

HENHMETAFILE MakeEnhMetafile()
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 1, 2, 30, 40);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 25, 13);
    return CloseEnhMetaFile(dc);
}

HMETAFILE MakeMetafile()
{
    HDC dc = CreateMetaFileA(nullptr);
    Ellipse(dc, 3, 4, 50, 60);
    TextOutA(dc, 5, 5, "clip", 4);
    return CloseMetaFile(dc);
}

HGLOBAL MakeMetafilePicture(HMETAFILE metafile, LONG mode, LONG x, LONG y)
{
    METAFILEPICT picture = {mode, x, y, metafile};
    return MakeGlobalBlock(&picture, sizeof picture);
}

namespace {

// A clip format test: a window of this thread to own the clipboard when a
// record gives itself back, and an empty clipboard to start and end with.
class ClipFormatClipboard : public testing::Test {
protected:
    void SetUp() override
    {
        m_owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_owner);
        ASSERT_TRUE(EmptyClipboardAsOther());
    }

    void TearDown() override
    {
        EmptyClipboardAsOther();
        DestroyWindow(m_owner);
    }

    // Copies one format of the clipboard into the record.
    bool Take(CClipFormat& record, UINT format)
    {
        CClipboardLock lock(m_owner);
        return lock.IsOpen() && record.TakeFromOpenClipboard(format) == 1;
    }

    // Empties the clipboard as this test's window and gives the records back.
    bool GiveBack(const std::vector<const CClipFormat*>& records)
    {
        CClipboardLock lock(m_owner);
        if (!lock.IsOpen() || !EmptyClipboard())
            return false;
        bool all = true;
        for (const CClipFormat* record : records)
            all = record->GiveToClipboard() == 1 && all;
        return all;
    }

    HWND m_owner = nullptr;
};

} // namespace

TEST_F(ClipFormatClipboard, TextIsCopiedNamedAndGivenBack)
{
    ASSERT_TRUE(PutTextOnClipboard("hello"));
    CClipFormat record;
    ASSERT_TRUE(Take(record, CF_TEXT));
    ASSERT_TRUE(EmptyClipboardAsOther());

    EXPECT_STREQ("Text", record.GetName());
    EXPECT_EQ((UINT)CF_TEXT, record.GetFormatId());
    EXPECT_EQ(kClipMemoryBlock, record.GetKind());
    ASSERT_GE(record.GetSize(), 6u);
    EXPECT_STREQ("hello", (const char*)record.GetData());

    ASSERT_TRUE(GiveBack({&record}));
    std::string bytes;
    ASSERT_TRUE(ReadClipboardBlock(CF_TEXT, &bytes));
    EXPECT_STREQ("hello", bytes.c_str());
    EXPECT_STREQ("hello", (const char*)record.GetData()) << "the record keeps its own copy";
}

TEST_F(ClipFormatClipboard, SynthesizedTextFormatsAreCopiedWithTheirNames)
{
    // Closing the clipboard after CF_TEXT adds OEM and Unicode text and the
    // locale, as Windows does.
    ASSERT_TRUE(PutTextOnClipboard("synthesized"));
    std::vector<UINT> formats = ClipboardFormats();
    std::vector<CClipFormat> records(formats.size());
    {
        CClipboardLock lock(m_owner);
        ASSERT_TRUE(lock.IsOpen());
        for (size_t i = 0; i < formats.size(); i++)
            records[i].TakeFromOpenClipboard(formats[i]);
    }
    ASSERT_TRUE(EmptyClipboardAsOther());
    for (CClipFormat& record : records) {
        switch (record.GetFormatId()) {
        case CF_OEMTEXT:
            EXPECT_STREQ("OEM Text", record.GetName());
            EXPECT_STREQ("synthesized", (const char*)record.GetData());
            break;
        case CF_UNICODETEXT:
            EXPECT_STREQ("Unicode Text", record.GetName());
            EXPECT_STREQ(L"synthesized", (const wchar_t*)record.GetData());
            break;
        case CF_LOCALE:
            EXPECT_STREQ("Locale", record.GetName());
            EXPECT_GE(record.GetSize(), 4u);
            EXPECT_EQ(11, FormatIconIndex(record.GetFormatId()));
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(4u, formats.size()) << "text, locale, OEM text and Unicode text";
}

TEST_F(ClipFormatClipboard, RegisteredFormatGoesBackUnderItsName)
{
    UINT format = RegisterClipboardFormatA("Vellmora Test Payload");
    const char payload[] = "\x01\x02\x00\xFFpayload";
    ASSERT_TRUE(PutOnClipboard({{format, MakeGlobalBlock(payload, sizeof payload)}}));
    CClipFormat record;
    ASSERT_TRUE(Take(record, format));
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_STREQ("Vellmora Test Payload", record.GetName());
    EXPECT_EQ(3, FormatIconIndex(record.GetFormatId()));

    // A record read from a file written elsewhere carries that system's
    // identifier: giving it back registers the name again.
    record.SetFormatId(0xFFFE);
    ASSERT_TRUE(GiveBack({&record}));
    std::string bytes;
    ASSERT_TRUE(ReadClipboardBlock(format, &bytes));
    EXPECT_EQ(std::string(payload, sizeof payload), bytes.substr(0, sizeof payload));
    EXPECT_FALSE(ClipboardHasFormat(0xFFFE));

    CClipFormat nameless("", 0xC777);
    ASSERT_EQ(1, nameless.SetBlock("x", 1));
    EXPECT_FALSE(GiveBack({&nameless})) << "a registered format without a name cannot be given back";
}

TEST_F(ClipFormatClipboard, TinyAndEmptyBlocks)
{
    UINT format = RegisterClipboardFormatA("Vellmora Test Tiny");
    ASSERT_TRUE(PutOnClipboard({{format, MakeGlobalBlock("Z", 1)}}));
    CClipFormat tiny;
    ASSERT_TRUE(Take(tiny, format));
    ASSERT_TRUE(EmptyClipboardAsOther());
    ASSERT_GE(tiny.GetSize(), 1u);
    EXPECT_EQ('Z', ((const char*)tiny.GetData())[0]);

    // A one-byte block keeps its size and has a second, zero byte.
    CClipFormat one("One", CF_TEXT);
    ASSERT_EQ(1, one.SetBlock("Q", 1));
    EXPECT_EQ(1u, one.GetSize());
    EXPECT_EQ(0, ((const char*)one.GetData())[1]);
    ASSERT_TRUE(GiveBack({&one}));
    std::string bytes;
    ASSERT_TRUE(ReadClipboardBlock(CF_TEXT, &bytes));
    ASSERT_GE(bytes.size(), 2u) << "given back in a block of two bytes";
    EXPECT_EQ('Q', bytes[0]);
    EXPECT_EQ(0, bytes[1]);

    // A block of size 0 has no bytes to copy: the record takes the handle
    // as a plain value and never reads through it. Wine refuses such a
    // block in SetClipboardData (Windows takes it), so it is handed to the
    // record directly.
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(nullptr, empty);
    CClipFormat zero;
    zero.TakeFromClipboard(format, empty, ClipboardHandleSize(format, empty));
    EXPECT_EQ(0u, zero.GetSize());
    EXPECT_EQ(kClipPlainValue, zero.GetKind());
    EXPECT_EQ((void*)empty, zero.GetData());
    zero.Free();
    EXPECT_EQ(0u, GlobalFlags(empty) & GMEM_INVALID_HANDLE) << "a plain value is not owned";
    GlobalFree(empty);
}

TEST_F(ClipFormatClipboard, ClaimedSizesNeverReadPastTheBlock)
{
    // A caller may pass a size measured before the block shrank, or a made
    // up one: the copy is bounded by the block itself.
    HGLOBAL block = MakeGlobalBlock("abcd", 4);
    SIZE_T real = GlobalSize(block);
    CClipFormat record;
    ASSERT_EQ(1, record.TakeFromClipboard(RegisterClipboardFormatA("Vellmora Test Short"), block, 0x7FFFFFFF));
    EXPECT_EQ((DWORD)real, record.GetSize());
    EXPECT_EQ(0, memcmp("abcd", record.GetData(), 4));
    GlobalFree(block);

    // A picture block too short to hold a metafile handle gets none, and
    // nothing is copied through the bytes that would be there.
    LONG shortPicture[2] = {MM_ANISOTROPIC, 100};
    block = MakeGlobalBlock(shortPicture, sizeof shortPicture);
    CClipFormat picture;
    ASSERT_EQ(1, picture.TakeFromClipboard(CF_METAFILEPICT, block, (DWORD)GlobalSize(block)));
    ASSERT_NE(nullptr, picture.GetMetafilePicture());
    EXPECT_EQ(nullptr, picture.GetMetafilePicture()->hMF);
    EXPECT_EQ(MM_ANISOTROPIC, picture.GetMetafilePicture()->mm);
    picture.Free();
    GlobalFree(block);

    // A handle that is not global memory copies nothing.
    CClipFormat bogus;
    EXPECT_EQ(0, bogus.TakeFromClipboard(CF_TEXT, (HANDLE)(LONG_PTR)0x5A5A0, 64));
    EXPECT_FALSE(bogus.HasData());
}

TEST_F(ClipFormatClipboard, BitmapSurvivesTheOwnersEmptyAndGoesBackEqual)
{
    HBITMAP original = MakePatternBitmap(13, 7);
    std::vector<DWORD> expected = Pixels(original);
    ASSERT_EQ(13u * 7u, expected.size());
    ASSERT_TRUE(PutOnClipboard({{CF_BITMAP, original}}));

    CClipFormat record;
    ASSERT_TRUE(Take(record, CF_BITMAP));
    EXPECT_STREQ("Bitmap", record.GetName());
    EXPECT_EQ(0u, record.GetSize());
    EXPECT_EQ(kClipBitmap, record.GetKind());
    ASSERT_TRUE(EmptyClipboardAsOther());

    SIZE size = {};
    EXPECT_EQ(expected, Pixels((HBITMAP)record.GetHandle(), &size));
    EXPECT_EQ(13, size.cx);
    EXPECT_EQ(7, size.cy);

    ASSERT_TRUE(GiveBack({&record}));
    {
        CClipboardLock lock(m_owner);
        ASSERT_TRUE(lock.IsOpen());
        HBITMAP given = (HBITMAP)GetClipboardData(CF_BITMAP);
        EXPECT_NE((HBITMAP)record.GetHandle(), given) << "the clipboard gets a bitmap of its own";
        EXPECT_EQ(expected, Pixels(given));
    }
    // Emptying deletes what the clipboard was given, never the record's
    // bitmap. On Windows CopyImage with LR_COPYRETURNORG would hand over the
    // record's own bitmap here; Wine copies it anyway, so under Wine this
    // holds with either flag.
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_EQ(expected, Pixels((HBITMAP)record.GetHandle()));

    CClipFormat copy;
    ASSERT_EQ(1, copy.CopyFrom(record));
    EXPECT_NE(copy.GetHandle(), record.GetHandle());
    record.Free();
    EXPECT_EQ(expected, Pixels((HBITMAP)copy.GetHandle()));
}

TEST_F(ClipFormatClipboard, SynthesizedDibIsABlockTheLayoutMeasures)
{
    // The clipboard makes CF_DIB from CF_BITMAP; its copy is a plain memory
    // block whose header, colours and rows fit the block.
    HBITMAP original = MakePatternBitmap(13, 7);
    std::vector<DWORD> expected = Pixels(original);
    ASSERT_TRUE(PutOnClipboard({{CF_BITMAP, original}}));
    ASSERT_TRUE(ClipboardHasFormat(CF_DIB));
    CClipFormat dib;
    ASSERT_TRUE(Take(dib, CF_DIB));
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_STREQ("DIB Bitmap", dib.GetName());
    EXPECT_EQ(kClipMemoryBlock, dib.GetKind());
    ASSERT_GE(dib.GetSize(), (DWORD)sizeof(BITMAPINFOHEADER));

    const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)dib.GetData();
    EXPECT_EQ(13, header->biWidth);
    CDibLayout layout;
    ASSERT_EQ(1, MeasureDib(*header, dib.GetSize(), &layout));
    DWORD infoBytes = layout.headerBytes + layout.colourBytes;
    HBITMAP fromDib = CreateBitmapFromDib(header, infoBytes, (const BYTE*)header + infoBytes, dib.GetSize() - infoBytes);
    EXPECT_EQ(expected, Pixels(fromDib));
    DeleteObject(fromDib);
}

TEST_F(ClipFormatClipboard, MonochromeBitmapKeepsItsPixels)
{
    HBITMAP original = CreateBitmap(19, 5, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, original);
    PatBlt(dc, 0, 0, 19, 5, WHITENESS);
    for (int x = 0; x < 19; x += 3)
        SetPixel(dc, x, x % 5, RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    std::vector<DWORD> expected = Pixels(original);
    ASSERT_TRUE(PutOnClipboard({{CF_BITMAP, original}}));

    CClipFormat record;
    ASSERT_TRUE(Take(record, CF_BITMAP));
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_EQ(expected, Pixels((HBITMAP)record.GetHandle()));
}

TEST_F(ClipFormatClipboard, PaletteSurvivesTheOwnersEmptyAndGoesBackEqual)
{
    HPALETTE original = MakePalette(7);
    std::vector<PALETTEENTRY> expected = Entries(original);
    ASSERT_TRUE(PutOnClipboard({{CF_PALETTE, original}}));

    CClipFormat record;
    ASSERT_TRUE(Take(record, CF_PALETTE));
    EXPECT_STREQ("Palette", record.GetName());
    EXPECT_EQ(kClipPalette, record.GetKind());
    EXPECT_EQ(10, FormatIconIndex(CF_PALETTE));
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_TRUE(SamePalette(expected, Entries((HPALETTE)record.GetHandle())));

    ASSERT_TRUE(GiveBack({&record}));
    {
        CClipboardLock lock(m_owner);
        ASSERT_TRUE(lock.IsOpen());
        HPALETTE given = (HPALETTE)GetClipboardData(CF_PALETTE);
        EXPECT_NE((HPALETTE)record.GetHandle(), given);
        EXPECT_TRUE(SamePalette(expected, Entries(given)));
    }
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_TRUE(SamePalette(expected, Entries((HPALETTE)record.GetHandle())));

    // The largest palette a LOGPALETTE can describe is copied whole.
    HPALETTE large = MakePalette(256);
    HPALETTE copy = CopyPalette(large);
    EXPECT_TRUE(SamePalette(Entries(large), Entries(copy)));
    DeleteObject(large);
    DeleteObject(copy);
}

TEST_F(ClipFormatClipboard, EnhancedMetafileSurvivesTheOwnersEmptyAndGoesBackEqual)
{
    HENHMETAFILE original = MakeEnhMetafile();
    std::string expected = EnhMetafileBits(original);
    ASSERT_FALSE(expected.empty());
    ASSERT_TRUE(PutOnClipboard({{CF_ENHMETAFILE, original}}));

    CClipFormat record;
    ASSERT_TRUE(Take(record, CF_ENHMETAFILE));
    EXPECT_STREQ("Enhanced Metafile", record.GetName());
    EXPECT_EQ(kClipEnhMetafile, record.GetKind());
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_EQ(expected, EnhMetafileBits((HENHMETAFILE)record.GetHandle()));

    ASSERT_TRUE(GiveBack({&record}));
    {
        CClipboardLock lock(m_owner);
        ASSERT_TRUE(lock.IsOpen());
        EXPECT_EQ(expected, EnhMetafileBits((HENHMETAFILE)GetClipboardData(CF_ENHMETAFILE)));
    }
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_EQ(expected, EnhMetafileBits((HENHMETAFILE)record.GetHandle()));
}

TEST_F(ClipFormatClipboard, MetafilePictureGetsAPrivateMetafile)
{
    HMETAFILE original = MakeMetafile();
    std::string expected = MetafileBits(original);
    ASSERT_FALSE(expected.empty());
    ASSERT_TRUE(PutOnClipboard({{CF_METAFILEPICT, MakeMetafilePicture(original, MM_ISOTROPIC, 2540, 1270)}}));

    CClipFormat record;
    HMETAFILE clipboards = nullptr;
    {
        CClipboardLock lock(m_owner);
        ASSERT_TRUE(lock.IsOpen());
        HANDLE handle = GetClipboardData(CF_METAFILEPICT);
        ASSERT_NE(nullptr, handle);
        ASSERT_EQ(1, record.TakeFromClipboard(CF_METAFILEPICT, handle, ClipboardHandleSize(CF_METAFILEPICT, handle)));
        clipboards = ((METAFILEPICT*)GlobalLock(handle))->hMF;
        GlobalUnlock(handle);
        // Freeing the copy deletes its own metafile and leaves the clipboard's.
        CClipFormat scratch;
        ASSERT_EQ(1, scratch.TakeFromClipboard(CF_METAFILEPICT, handle, ClipboardHandleSize(CF_METAFILEPICT, handle)));
        scratch.Free();
        EXPECT_EQ(expected, MetafileBits(clipboards));
    }
    EXPECT_STREQ("Metafile Picture", record.GetName());
    EXPECT_EQ(kClipMetafilePicture, record.GetKind());
    EXPECT_GE(record.GetSize(), (DWORD)sizeof(METAFILEPICT));
    const METAFILEPICT* picture = record.GetMetafilePicture();
    ASSERT_NE(nullptr, picture);
    EXPECT_NE(clipboards, picture->hMF);
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_EQ(MM_ISOTROPIC, picture->mm);
    EXPECT_EQ(2540, picture->xExt);
    EXPECT_EQ(1270, picture->yExt);
    EXPECT_EQ(expected, MetafileBits(picture->hMF));

    ASSERT_TRUE(GiveBack({&record}));
    {
        CClipboardLock lock(m_owner);
        ASSERT_TRUE(lock.IsOpen());
        HANDLE handle = GetClipboardData(CF_METAFILEPICT);
        ASSERT_NE(nullptr, handle);
        METAFILEPICT given = *(METAFILEPICT*)GlobalLock(handle);
        GlobalUnlock(handle);
        EXPECT_EQ(MM_ISOTROPIC, given.mm);
        EXPECT_EQ(2540, given.xExt);
        EXPECT_EQ(1270, given.yExt);
        EXPECT_NE(picture->hMF, given.hMF);
        EXPECT_EQ(expected, MetafileBits(given.hMF));
    }
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_EQ(expected, MetafileBits(picture->hMF));
}

TEST_F(ClipFormatClipboard, SeveralFormatsGoBackInOrder)
{
    CClipFormat text("Text", CF_TEXT);
    ASSERT_EQ(1, text.SetBlock("page", 5));
    CClipFormat bitmap("Bitmap", CF_BITMAP);
    bitmap.AttachHandle(MakePatternBitmap(4, 4));
    CClipFormat palette("Palette", CF_PALETTE);
    palette.AttachHandle(MakePalette(3));
    CClipFormat metafile("Enhanced Metafile", CF_ENHMETAFILE);
    metafile.AttachHandle(MakeEnhMetafile());
    ASSERT_TRUE(GiveBack({&text, &bitmap, &palette, &metafile}));

    std::vector<UINT> formats = ClipboardFormats();
    ASSERT_GE(formats.size(), 4u);
    EXPECT_EQ(std::vector<UINT>({CF_TEXT, CF_BITMAP, CF_PALETTE, CF_ENHMETAFILE}),
              std::vector<UINT>(formats.begin(), formats.begin() + 4));
}

TEST(ClipFormatRecord, FreeingReleasesByKindAndLeavesNoData)
{
    CClipFormat empty("Nothing", CF_TEXT);
    empty.Free();
    empty.Free();
    EXPECT_FALSE(empty.HasData());
    EXPECT_EQ(kClipNoData, empty.GetKind());
    EXPECT_STREQ("Nothing", empty.GetName()) << "freeing keeps the name";

    CClipFormat bitmap("Bitmap", CF_BITMAP);
    HBITMAP handle = CreateBitmap(2, 2, 1, 1, nullptr);
    bitmap.AttachHandle(handle);
    bitmap.Free();
    EXPECT_EQ(0, GetObjectType(handle)) << "the owned bitmap is deleted";
    EXPECT_EQ(nullptr, bitmap.GetData());

    CClipFormat palette("Palette", CF_PALETTE);
    HPALETTE paletteHandle = MakePalette(2);
    palette.AttachHandle(paletteHandle);
    palette.Free();
    EXPECT_EQ(0, GetObjectType(paletteHandle));

    // A plain value is not owned: a pen kept as a private GDI format lives on.
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    CClipFormat plain("", 0x300);
    plain.TakeFromClipboard(0x300, pen, ClipboardHandleSize(0x300, pen));
    EXPECT_EQ(kClipPlainValue, plain.GetKind());
    EXPECT_EQ((void*)pen, plain.GetData());
    plain.Free();
    EXPECT_EQ(OBJ_PEN, (int)GetObjectType(pen));
    DeleteObject(pen);

    CClipFormat picture("Metafile Picture", CF_METAFILEPICT);
    HMETAFILE metafile = MakeMetafile();
    ASSERT_EQ(1, picture.SetMetafilePicture(MM_TEXT, 0, 0, metafile, 16));
    EXPECT_EQ(sizeof(METAFILEPICT), picture.GetSize()) << "a whole picture of this build from a 16-byte stored one";
    EXPECT_EQ(metafile, picture.GetMetafilePicture()->hMF);
    picture.Free();
    EXPECT_EQ(0u, GetMetaFileBitsEx(metafile, 0, nullptr)) << "the private metafile is deleted";
    EXPECT_EQ(0u, picture.GetSize());

    CClipFormat taken;
    EXPECT_EQ(0, taken.TakeFromClipboard(CF_TEXT, nullptr, 0));
    EXPECT_STREQ("Text", taken.GetName()) << "a null handle still names the record";
    EXPECT_FALSE(taken.HasData());
}

TEST(ClipFormatRecord, AnIdentifierChangeNeverReinterpretsData)
{
    CClipFormat block("Payload", 0xC100);
    ASSERT_EQ(1, block.SetBlock("ab", 3));
    block.SetFormatId(0xC200);
    EXPECT_STREQ("ab", (const char*)block.GetData()) << "a block stays a block";
    block.SetFormatId(CF_METAFILEPICT);
    EXPECT_FALSE(block.HasData()) << "three bytes are no METAFILEPICT";
    EXPECT_EQ((UINT)CF_METAFILEPICT, block.GetFormatId());

    CClipFormat bitmap("Bitmap", CF_BITMAP);
    HBITMAP handle = CreateBitmap(2, 2, 1, 1, nullptr);
    bitmap.AttachHandle(handle);
    bitmap.SetFormatId(CF_PALETTE);
    EXPECT_FALSE(bitmap.HasData());
    EXPECT_EQ(0, GetObjectType(handle)) << "freed as the bitmap it was";
}

TEST(ClipFormatRecord, CopiesAreDeep)
{
    CClipFormat block("Text", CF_TEXT);
    ASSERT_EQ(1, block.SetBlock("abc", 4));
    CClipFormat blockCopy;
    ASSERT_EQ(1, blockCopy.CopyFrom(block));
    EXPECT_NE(block.GetData(), blockCopy.GetData());
    EXPECT_STREQ("abc", (const char*)blockCopy.GetData());
    EXPECT_STREQ("Text", blockCopy.GetName());
    EXPECT_EQ(4u, blockCopy.GetSize());
    ASSERT_EQ(1, blockCopy.CopyFrom(blockCopy)) << "copying onto itself keeps the data";
    EXPECT_STREQ("abc", (const char*)blockCopy.GetData());

    HMETAFILE metafile = MakeMetafile();
    std::string bits = MetafileBits(metafile);
    CClipFormat picture("Metafile Picture", CF_METAFILEPICT);
    ASSERT_EQ(1, picture.SetMetafilePicture(MM_HIMETRIC, 10, 20, metafile, 16));
    CClipFormat pictureCopy;
    ASSERT_EQ(1, pictureCopy.CopyFrom(picture));
    picture.Free();
    ASSERT_NE(nullptr, pictureCopy.GetMetafilePicture());
    EXPECT_EQ(bits, MetafileBits(pictureCopy.GetMetafilePicture()->hMF));
    EXPECT_EQ(20, pictureCopy.GetMetafilePicture()->yExt);

    CClipFormat enhanced("Enhanced Metafile", CF_ENHMETAFILE);
    enhanced.AttachHandle(MakeEnhMetafile());
    std::string enhancedBits = EnhMetafileBits((HENHMETAFILE)enhanced.GetHandle());
    CClipFormat enhancedCopy;
    ASSERT_EQ(1, enhancedCopy.CopyFrom(enhanced));
    enhanced.Free();
    EXPECT_EQ(enhancedBits, EnhMetafileBits((HENHMETAFILE)enhancedCopy.GetHandle()));
}

TEST(ClipboardAccess, OpeningWaitsAMomentForAnotherHolder)
{
    CForeignClipboardOwner holder;
    std::atomic<bool> holding(false);
    std::thread hold([&] {
        holder.Run([&](HWND owner) {
            if (!OpenClipboardRetry(owner))
                return false;
            holding = true;
            Sleep(40);
            CloseClipboard();
            return true;
        });
    });
    while (!holding)
        Sleep(1);
    EXPECT_EQ(1, OpenClipboardPatiently(nullptr)) << "a 40 ms hold is waited out";
    CloseClipboard();
    hold.join();

    holding = false;
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread longHold([&] {
        holder.Run([&](HWND owner) {
            if (!OpenClipboardRetry(owner))
                return false;
            holding = true;
            WaitForSingleObject(release, 5000);
            CloseClipboard();
            return true;
        });
    });
    while (!holding)
        Sleep(1);
    DWORD start = GetTickCount();
    EXPECT_EQ(0, OpenClipboardPatiently(nullptr)) << "a clipboard held on is given up";
    EXPECT_LT(GetTickCount() - start, 1000u);
    SetEvent(release);
    longHold.join();
    CloseHandle(release);
}

TEST_F(ClipFormatClipboard, DelayedFormatIsRenderedOnceWhenCopied)
{
    UINT format = RegisterClipboardFormatA("Vellmora Test Delayed");
    CForeignClipboardOwner owner;
    owner.SetRenderer([](UINT) { return (HANDLE)MakeGlobalBlock("rendered", 9); });
    ASSERT_TRUE(owner.Put({{format, nullptr}}));
    EXPECT_TRUE(owner.RenderRequests().empty()) << "nothing is rendered before someone asks";

    CClipFormat record;
    ASSERT_TRUE(Take(record, format));
    EXPECT_STREQ("rendered", (const char*)record.GetData());
    EXPECT_STREQ("Vellmora Test Delayed", record.GetName());
    ASSERT_TRUE(Take(record, format)) << "taking again replaces the copy";
    EXPECT_EQ(std::vector<UINT>({format}), owner.RenderRequests()) << "the clipboard keeps what was rendered";
    ASSERT_TRUE(owner.Empty());
    EXPECT_STREQ("rendered", (const char*)record.GetData());
}

TEST(DibImages, RoundTripKeepsPixelsAndRefusesShortParts)
{
    HBITMAP original = MakePatternBitmap(21, 9);
    std::vector<DWORD> expected = Pixels(original);
    CDibLayout layout;
    BYTE* image = CreateDibImage(original, &layout);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(21, ((BITMAPINFOHEADER*)image)->biWidth);
    DWORD infoBytes = layout.headerBytes + layout.colourBytes;
    const BYTE* bits = image + infoBytes;

    HBITMAP copy = CreateBitmapFromDib(image, infoBytes, bits, layout.bitsBytes);
    EXPECT_EQ(expected, Pixels(copy));
    DeleteObject(copy);

    EXPECT_EQ(nullptr, CreateBitmapFromDib(image, infoBytes, bits, layout.bitsBytes - 1)) << "one row byte short";
    EXPECT_EQ(nullptr, CreateBitmapFromDib(image, infoBytes - 1, bits, layout.bitsBytes)) << "header or colours short";
    EXPECT_EQ(nullptr, CreateBitmapFromDib(image, 39, bits, layout.bitsBytes)) << "not even a header";
    ((BITMAPINFOHEADER*)image)->biHeight = 0x10000;
    EXPECT_EQ(nullptr, CreateBitmapFromDib(image, infoBytes, bits, layout.bitsBytes)) << "a header that claims more rows";
    free(image);
    DeleteObject(original);

    // An 8-bit image reads its whole colour table from the info part.
    std::vector<BYTE> indexed(40 + 1024 + 4 * 2, 0);
    BITMAPINFOHEADER* header = (BITMAPINFOHEADER*)indexed.data();
    *header = {sizeof(BITMAPINFOHEADER), 3, 2, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    RGBQUAD* colours = (RGBQUAD*)(indexed.data() + 40);
    colours[1] = {0, 0, 255, 0};
    colours[255] = {255, 0, 0, 0};
    BYTE* rows = indexed.data() + 40 + 1024;
    rows[0] = 1;
    rows[4 + 2] = 255;
    HBITMAP fromIndexed = CreateBitmapFromDib(indexed.data(), 40 + 1024, rows, 8);
    std::vector<DWORD> pixels = Pixels(fromIndexed);
    ASSERT_EQ(6u, pixels.size());
    EXPECT_EQ(0xFF0000u, pixels[3]) << "bottom-up: the first row is the lowest";
    EXPECT_EQ(0x0000FFu, pixels[2]);
    DeleteObject(fromIndexed);
    EXPECT_EQ(nullptr, CreateBitmapFromDib(indexed.data(), 40 + 1023, rows, 8)) << "a colour table one byte short";
}

TEST(DibImages, PalettesFromBytesAreBounded)
{
    BYTE bytes[4 + 3 * 4] = {0x00, 0x03, 3, 0, 10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0};
    HPALETTE palette = CreatePaletteFromBytes(bytes, sizeof bytes);
    std::vector<PALETTEENTRY> entries = Entries(palette);
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(70, entries[2].peRed);
    EXPECT_EQ(90, entries[2].peBlue);
    DeleteObject(palette);
    EXPECT_EQ(nullptr, CreatePaletteFromBytes(bytes, sizeof bytes - 1)) << "the last entry is cut";
    EXPECT_EQ(nullptr, CreatePaletteFromBytes(bytes, 3));
    bytes[2] = 0;
    EXPECT_EQ(nullptr, CreatePaletteFromBytes(bytes, sizeof bytes)) << "no entries";
    bytes[2] = 0xFF;
    bytes[3] = 0xFF;
    EXPECT_EQ(nullptr, CreatePaletteFromBytes(bytes, sizeof bytes)) << "65535 entries claimed";
}

TEST(DibImages, HostileBytesGetAClearAnswer)
{
    // Random blocks, many of them with a plausible header, are offered as
    // DIBs and palettes: each is refused or gives a usable object, and no
    // read goes past the block (the blocks end at a guard page).
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const DWORD page = system.dwPageSize;
    BYTE* region = (BYTE*)VirtualAlloc(nullptr, page * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(nullptr, region);
    DWORD old;
    ASSERT_TRUE(VirtualProtect(region + page, page, PAGE_NOACCESS, &old));
    unsigned seed = 12345;
    auto next = [&seed]() { seed = seed * 1103515245u + 12345u; return seed >> 8; };
    const WORD bitCounts[] = {0, 1, 4, 8, 16, 24, 32, 2, 64};
    int made = 0;
    for (int round = 0; round < 4000; round++) {
        DWORD length = next() % page;
        BYTE* block = region + page - length;
        for (DWORD i = 0; i < length; i++)
            block[i] = (BYTE)next();
        if (length >= sizeof(BITMAPINFOHEADER) && round % 2 == 0) {
            BITMAPINFOHEADER header = {};
            header.biSize = 40;
            header.biWidth = (LONG)(next() % 40) - 2;
            header.biHeight = (LONG)(next() % 40) - 20;
            header.biPlanes = 1;
            header.biBitCount = bitCounts[next() % 9];
            header.biCompression = next() % 4 == 0 ? BI_BITFIELDS : BI_RGB;
            header.biClrUsed = next() % 3 == 0 ? next() % 1000 : 0;
            memcpy(block, &header, sizeof header);
        }
        DWORD split = length == 0 ? 0 : next() % (length + 1);
        HBITMAP bitmap = CreateBitmapFromDib(block, split, block + split, length - split);
        if (bitmap != nullptr) {
            BITMAP info = {};
            EXPECT_NE(0, GetObjectA(bitmap, sizeof info, &info));
            EXPECT_GT(info.bmWidth, 0);
            DeleteObject(bitmap);
            made++;
        }
        HPALETTE palette = CreatePaletteFromBytes(block, length);
        if (palette != nullptr)
            DeleteObject(palette);
    }
    EXPECT_GT(made, 100) << "plausible headers with enough bytes do make bitmaps";
    VirtualFree(region, 0, MEM_RELEASE);
}
