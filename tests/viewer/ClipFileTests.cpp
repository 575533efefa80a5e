// Clip files on disk: the documented bytes, readers that refuse what does
// not fit, saves that never destroy the previous file, and every kind of
// clipboard data through a save and a load.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ClipDataSamples.h"
#include "ClipFiles.h"
#include "ClipboardHelper.h"
#include "PngMaker.h"
#include "TestApp.h"

using namespace std::string_literals;

namespace {

std::string U32(uint32_t value) { return std::string((const char*)&value, 4); }

// Pages and their records as "name:format=first bytes" lines.
std::string Describe(const CClipBook& book)
{
    std::string text;
    for (int i = 0; i < book.GetCount(); i++) {
        const CClipPage* page = book.GetPage(i);
        text += std::string(page->GetName()) + ":";
        for (int k = 0; k < page->GetCount(); k++) {
            const CClipFormat* record = page->GetRecord(k);
            char id[16];
            wsprintfA(id, k == 0 ? "%x=" : ",%x=", record->GetFormatId());
            text += id;
            if (record->GetKind() == kClipMemoryBlock)
                text += std::string((const char*)record->GetData(), record->GetSize());
        }
        text += ";";
    }
    return text;
}

// A scratch folder, and a window to own the clipboard when a page is put
// there.
class ClipFiles : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeScratchDirectory("clipfiles");
        m_owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        EmptyClipboardAsOther();
        DestroyWindow(m_owner);
        RemoveTree(m_folder);
    }
    std::string Path(const char* name) const { return m_folder + "\\" + name; }

    std::string m_folder;
    HWND m_owner = nullptr;
};

} // namespace

TEST_F(ClipFiles, WritersProduceTheDocumentedBytes)
{
    ASSERT_TRUE(EmptyClipboardAsOther());
    CClipFormat* palette = new CClipFormat("Palette", CF_PALETTE);
    palette->AttachHandle(MakePalette(256));
    CClipBook empty, onePage, pages;
    onePage.Append(new CClipPage("A"));
    pages.Append(Page("", {Block("Text", CF_TEXT, std::string("Hello", 6))}));
    pages.Append(Page("", {palette}));
    pages.Append(new CClipPage(""));
    ASSERT_TRUE(pages.GetPage(2)->TakeClipboard(m_owner));
    const std::string golden = Path("golden");
    const char* path = golden.c_str();
    auto saved = [&](int done) { return done ? ReadFileBytes(golden) : "<not saved>"; };

    EXPECT_EQ(std::string("VLMP1\0\1\0\0\0Text\0\6\0\0\0Hello\0\xFE\1", 27),
              saved(SavePageFile(*pages.GetPage(0), path)));
    EXPECT_EQ(std::string("VLMP1\0\xFE\1", 8), saved(SavePageFile(*pages.GetPage(2), path))) << "an empty clipboard";
    EXPECT_EQ("VLMB1\1", saved(SaveBookFile(empty, path, 0)));
    EXPECT_EQ("VLMD1\1", saved(SaveBookFile(empty, path, 1)));
    EXPECT_EQ(std::string("VLMB1A\0\xFE\1", 9), saved(SaveBookFile(onePage, path, 0)));
    // 256 palette entries: L = 8 + 4 * 256, four spare bytes at the end.
    std::string bytes = saved(SavePageFile(*pages.GetPage(1), path));
    ASSERT_EQ(6u + 4 + 8 + 4 + 4 + 1032 + 2, bytes.size());
    EXPECT_EQ(U32(1032), bytes.substr(22, 4));
    EXPECT_EQ(std::string("\0\3\0\1", 4), bytes.substr(26, 4)) << "version 0x300, 256 entries";
}

TEST_F(ClipFiles, ReadersCheckEveryLengthAgainstTheBytes)
{
    const std::string head = "VLMB1P\0"s;
    const std::string text = U32(1) + "Text\0"s + U32(2) + "hi";
    const std::string dib = U32(2) + "Bitmap\0"s + U32(0);
    auto dibHeader = [](LONG width, LONG height, WORD bits, DWORD compression, DWORD image) {
        BITMAPINFOHEADER header = {40, width, height, 1, bits, compression, image, 0, 0, 0, 0};
        return std::string((const char*)&header, sizeof header);
    };
    const struct {
        const char* what;
        std::string bytes;
        int dataFile;
        int complete;
        std::string loaded;
    } cases[] = {
        {"no final 0x01", head + text + "\xFE", 0, 1, "P:1=hi;"},
        {"the data file's magic", "VLMD1P\0"s + text + "\xFE\1", 0, 0, ""},
        {"a book's magic as data file", head + text + "\xFE\1", 1, 0, ""},
        {"a page without its 0xFE", head + text, 0, 0, "P:1=hi;"},
        {"a block past the end", head + U32(1) + "T\0"s + U32(0xFFFFFFFF) + "x\xFE\1", 0, 0, "P:;"},
        {"a second page damaged", head + text + "\xFEQ\0"s + U32(1) + "T\0"s + U32(9) + "\xFE", 0, 0,
         "P:1=hi;Q:;"},
        {"width x height x 12 beyond 32 bits", head + dib + U32(40) + dibHeader(0x10000, 0x10000, 32, 3, 0) + "\xFE",
         0, 0, "P:;"},
        {"biSizeImage beyond the block", head + dib + U32(40 + 8) + dibHeader(1, 1, 1, 0, 0xFFFFFFF0) +
         std::string(8, '\0') + "\xFE", 0, 0, "P:;"},
        {"an unknown bit count is kept without data", head + dib + U32(40) + dibHeader(1, 1, 3, 0, 0) + "\xFE\1", 0,
         1, "P:2=;"},
        {"palette entries beyond L", head + U32(9) + "Palette\0"s + U32(0) + U32(8) +
         "\0\3\2\0\0\0\0\0"s + "\xFE", 0, 0, "P:;"},
        {"metafile bits beyond the end", head + U32(3) + "M\0"s + U32(16) + U32(8) + U32(1) + U32(1) +
         U32(0x7FFFFFFF) + "\xFE", 0, 0, "P:;"},
        {"a broken enhanced metafile has no data", head + U32(14) + "E\0"s + U32(0) + U32(4) +
         "junk\xFE\1", 0, 1, "P:e=;"},
    };
    for (const auto& row : cases) {
        CClipBook book;
        EXPECT_EQ(row.complete, ParseBookBytes((const uint8_t*)row.bytes.data(), row.bytes.size(), row.dataFile, book))
            << row.what;
        EXPECT_EQ(row.loaded, Describe(book)) << row.what;
    }
}

TEST_F(ClipFiles, AFailedSaveLeavesThePreviousFileAndNoTemporaryFile)
{
    CClipBook book;
    book.Append(Page("New", {Block("Text", CF_TEXT, "new")}));
    std::string target = Path("book.cbf");
    WriteFileBytes(target, "old contents");
    // Another program holds the file open without letting it be replaced.
    // (A read-only target would do on Windows, where MoveFileExA refuses to
    // replace it; Wine 8 replaces it all the same.)
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(SaveBookFile(book, target.c_str(), 0));
    CloseHandle(held);
    EXPECT_EQ("old contents", ReadFileBytes(target));
    EXPECT_FALSE(SaveBookFile(book, Path("no such folder\\book.cbf").c_str(), 0));
    {
        CSafeFileWriter abandoned;
        ASSERT_TRUE(abandoned.Open(target.c_str()));
        ASSERT_TRUE(abandoned.Put("partial", 7));
    }
    EXPECT_EQ("old contents", ReadFileBytes(target)) << "a write that never completes replaces nothing";

    ASSERT_TRUE(SaveBookFile(book, target.c_str(), 0));
    EXPECT_EQ(std::string("VLMB1New\0", 9) + U32(1) + std::string("Text\0", 5) + U32(3) + "new\xFE\1",
              ReadFileBytes(target));
    EXPECT_FALSE(AnyFileMatches(Path("*.tmp").c_str())) << "temporary files are removed or renamed";
}

TEST_F(ClipFiles, AFormatWhoseLowestByteIsTheEndOfPageMarkerNeverBreaksTheBook)
{
    // A registered format is stored under the next identifier, since its
    // name carries its meaning; any other such format is left out.
    CClipBook book;
    book.Append(Page("P1", {Block("Text", CF_TEXT, "one")}));
    book.Append(Page("P2", {Block("Odd Name", 0xC2FE, "xyz"), Block("", 0x2FE, "private"),
                            Block("Text", CF_TEXT, "two")}));
    book.Append(Page("P3", {Block("Text", CF_TEXT, "three")}));
    ASSERT_TRUE(SaveBookFile(book, Path("odd.cbf").c_str(), 0));
    CClipBook loaded;
    ASSERT_TRUE(LoadBookFile(Path("odd.cbf").c_str(), 0, loaded));
    EXPECT_EQ("P1:1=one;P2:c2ff=xyz,1=two;P3:1=three;", Describe(loaded));
    EXPECT_STREQ("Odd Name", loaded.GetPage(1)->GetRecord(0)->GetName());
}

namespace {

// What each format on the clipboard holds, as comparable bytes.
std::vector<std::string> ClipboardContents(const std::vector<UINT>& formats)
{
    std::vector<std::string> contents;
    CClipboardLock lock(nullptr);
    for (UINT format : formats) {
        HANDLE handle = lock.IsOpen() ? GetClipboardData(format) : nullptr;
        std::string content;
        if (format == CF_BITMAP) {
            std::vector<DWORD> pixels = Pixels((HBITMAP)handle);
            content.assign((const char*)pixels.data(), pixels.size() * 4);
        } else if (format == CF_PALETTE) {
            std::vector<PALETTEENTRY> entries = Entries((HPALETTE)handle);
            content.assign((const char*)entries.data(), entries.size() * 4);
        } else if (format == CF_ENHMETAFILE) {
            content = EnhMetafileBits((HENHMETAFILE)handle);
        } else if (const char* block = (const char*)GlobalLock(handle)) {
            content.assign(block, GlobalSize(handle));
            if (format == CF_METAFILEPICT)
                content = content.substr(0, 12) + MetafileBits(((const METAFILEPICT*)block)->hMF);
            GlobalUnlock(handle);
        }
        contents.push_back(content);
    }
    return contents;
}

HGLOBAL MakeDib()
{
    BITMAPINFOHEADER header = {sizeof header, 3, 2, 1, 24, BI_RGB, 24, 0, 0, 0, 0};
    std::string block((const char*)&header, sizeof header);
    block += std::string("\x10\x20\x30\x40\x50\x60\x70\x80\x90\0\0\0\xA0\xB0\xC0\xD0\xE0\xF0\1\2\3\0\0\0", 24);
    return MakeGlobalBlock(block.data(), block.size());
}

} // namespace

TEST_F(ClipFiles, EveryKindOfDataSurvivesAPageFileAndABookFileAndDamageGetsAClearAnswer)
{
    UINT registered = RegisterClipboardFormatA("Vellmora Round Trip");
    const std::vector<UINT> formats = {CF_TEXT, CF_BITMAP, CF_DIB, CF_PALETTE, CF_METAFILEPICT, CF_ENHMETAFILE,
                                       registered};
    ASSERT_TRUE(PutOnClipboard({{CF_TEXT, MakeTextBlock("round trip")},
                                {CF_BITMAP, MakePatternBitmap(7, 5)},
                                {CF_DIB, MakeDib()},
                                {CF_PALETTE, MakePalette(16)},
                                {CF_METAFILEPICT, MakeMetafilePicture(MakeMetafile(), MM_ANISOTROPIC, 300, 200)},
                                {CF_ENHMETAFILE, MakeEnhMetafile()},
                                {registered, MakeGlobalBlock("\1\0\2\xFE", 4)}}));
    std::vector<std::string> original = ClipboardContents(formats);
    for (size_t i = 0; i < formats.size(); i++)
        ASSERT_FALSE(original[i].empty()) << "format " << formats[i];

    CClipBook book;
    book.Append(new CClipPage("All"));
    ASSERT_TRUE(book.GetPage(0)->TakeClipboard(m_owner));
    ASSERT_TRUE(SavePageFile(*book.GetPage(0), Path("all.cpf").c_str()));
    ASSERT_TRUE(SaveBookFile(book, Path("all.cbf").c_str(), 0));
    ASSERT_TRUE(EmptyClipboardAsOther());
    book.RemoveAll();

    // Every cut and every flipped byte of that book gets a clear answer;
    // only the final 0x01 may go missing.
    const std::string bytes = ReadFileBytes(Path("all.cbf"));
    for (size_t at = 0; at < bytes.size(); at++) {
        CClipBook cut, flipped;
        ASSERT_EQ(at == bytes.size() - 1, ParseBookBytes((const uint8_t*)bytes.data(), at, 0, cut)) << at;
        std::string changed = bytes;
        changed[at] ^= 0x5A;
        ParseBookBytes((const uint8_t*)changed.data(), changed.size(), 0, flipped);
        ASSERT_LE(flipped.GetCount(), 1) << "flip at " << at;
    }

    CClipPage fromPageFile("");
    ASSERT_TRUE(LoadPageFile(Path("all.cpf").c_str(), fromPageFile));
    ASSERT_TRUE(LoadBookFile(Path("all.cbf").c_str(), 0, book));
    ASSERT_EQ(1, book.GetCount());
    EXPECT_STREQ("All", book.GetPage(0)->GetName());
    for (const CClipPage* page : {&fromPageFile, book.GetPage(0)}) {
        // A view takes the picture record whole, on either build.
        for (int i = 0; i < page->GetCount(); i++) {
            const CClipFormat* record = page->GetRecord(i);
            EXPECT_TRUE(record->GetFormatId() != CF_METAFILEPICT || record->GetSize() >= sizeof(METAFILEPICT));
        }
        ASSERT_TRUE(page->PutOnClipboard(m_owner));
        std::vector<std::string> back = ClipboardContents(formats);
        for (size_t i = 0; i < formats.size(); i++)
            EXPECT_EQ(original[i], back[i].substr(0, original[i].size())) << "format " << formats[i];
        ASSERT_TRUE(EmptyClipboardAsOther());
    }
}

TEST_F(ClipFiles, TodaysFormatsKeepEveryByteThroughPagesFilesAndTheDataFile)
{
    const UINT png = RegisterClipboardFormatA("PNG"), html = RegisterClipboardFormatA("HTML Format"),
               group = RegisterClipboardFormatA("FileGroupDescriptorW");
    std::vector<BYTE> picture = MakePng(3, 2, {0xFFFF0000, 0x8000FF00, 0, 0xFF0000FF, 0x01020304, 0xFFFFFFFF});
    ASSERT_FALSE(picture.empty());
    const std::string htmlBytes = "Version:0.9\r\nStartHTML:71\r\nEndHTML:89\r\nStartFragment:77\r\n"
                                  "EndFragment:83\r\n<html>Gr\xC3\xBC\xC3\x9F" "e</html>";
    std::string dibV5(124 + 8, '\0'), descriptor(4 + 592, '\0');
    dibV5[0] = 124, dibV5[4] = 2, dibV5[8] = 1, dibV5[12] = 1, dibV5[14] = 32, dibV5[16] = BI_BITFIELDS;
    dibV5[53 + 2] = '\xFF', dibV5[124] = '\x7F', dibV5[131] = '\x80';
    descriptor[0] = 1, descriptor[4 + 72] = 'a', descriptor[4 + 74] = 'b';
    const std::vector<UINT> formats = {png, html, CF_DIBV5, group};
    ASSERT_TRUE(PutOnClipboard({{png, MakeGlobalBlock(picture.data(), picture.size())},
                                {html, MakeGlobalBlock(htmlBytes.data(), htmlBytes.size())},
                                {CF_DIBV5, MakeGlobalBlock(dibV5.data(), dibV5.size())},
                                {group, MakeGlobalBlock(descriptor.data(), descriptor.size())}}));
    std::vector<std::string> original = ClipboardContents(formats);
    EXPECT_EQ(std::string(picture.begin(), picture.end()), original[0]);

    CClipBook book;
    book.Append(new CClipPage("Today"));
    ASSERT_TRUE(book.GetPage(0)->TakeClipboard(m_owner));
    ASSERT_TRUE(SavePageFile(*book.GetPage(0), Path("today.cpf").c_str()));
    ASSERT_TRUE(SaveBookFile(book, Path("today.cbf").c_str(), 0));
    ASSERT_TRUE(SaveBookFile(book, Path("today.cbd").c_str(), 1));
    ASSERT_TRUE(EmptyClipboardAsOther());
    CClipPage fromPage("");
    CClipBook fromBook, fromData;
    ASSERT_TRUE(LoadPageFile(Path("today.cpf").c_str(), fromPage));
    ASSERT_TRUE(LoadBookFile(Path("today.cbf").c_str(), 0, fromBook));
    ASSERT_TRUE(LoadBookFile(Path("today.cbd").c_str(), 1, fromData));
    for (const CClipPage* page : {&fromPage, fromBook.GetPage(0), fromData.GetPage(0)}) {
        ASSERT_TRUE(page->PutOnClipboard(m_owner));
        std::vector<std::string> back = ClipboardContents(formats);
        for (size_t i = 0; i < formats.size(); i++)
            EXPECT_EQ(original[i], back[i]) << "format " << formats[i];
        ASSERT_TRUE(EmptyClipboardAsOther());
    }
}
