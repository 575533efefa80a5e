// The four views with real data in real windows: hex rows and their bars,
// information pages, pictures read back from the screen and text in the edit
// control, and the byte-level readers behind them. Byte blocks end at a guard
// page, hostile ones among them, and every view counts the access violations
// it caused.
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BinaryView.h"
#include "ClipFormat.h"
#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "InfoView.h"
#include "LineIndex.h"
#include "PictureView.h"
#include "PngMaker.h"
#include "TestApp.h"
#include "TextView.h"
#include "ViewBytes.h"
#include "resource.h"

namespace {
typedef std::vector<BYTE> Bytes;

Bytes Of(const void* bytes, size_t size) { return Bytes((const BYTE*)bytes, (const BYTE*)bytes + size); }

Bytes operator+(Bytes left, const Bytes& right)
{
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

// A DIB header of 40 bytes (saying headerBytes) and what follows it.
Bytes Dib(LONG width, LONG height, WORD bitCount, DWORD compression, const Bytes& rest, DWORD coloursUsed = 0,
          DWORD headerBytes = sizeof(BITMAPINFOHEADER))
{
    BITMAPINFOHEADER header = {headerBytes, width, height, 1, bitCount, compression, 0, 0, 0, coloursUsed, 0};
    return Of(&header, sizeof header) + rest;
}

Bytes DropFiles(DWORD listOffset, LONG x, LONG y, BOOL nonClient, BOOL wide, const Bytes& names)
{
    DROPFILES header = {listOffset, {x, y}, nonClient, wide};
    return Of(&header, sizeof header) + names;
}

// The page of a text: its type, length in bytes, lines, words, characters.
std::string TextPage(const char* type, int length, int lines, int words, int characters)
{
    char page[256];
    wsprintfA(page, "Type: %s      \nLenght %d bytes    \nLines: %d    \nWords: %d    \nCharacters %d    ", type,
              length, lines, words, characters);
    return page;
}

// A copy of some bytes that ends right where a no-access page begins, so
// that any read past the block faults at once.
class CGuardedBlock {
public:
    explicit CGuardedBlock(const Bytes& bytes) : m_size(bytes.size())
    {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        size_t page = system.dwPageSize, usable = (m_size + page - 1) / page * page;
        m_region = (BYTE*)VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(m_region + usable, page, PAGE_NOACCESS, &old);
        m_data = m_region + usable - m_size;
        std::copy(bytes.begin(), bytes.end(), m_data);
    }
    ~CGuardedBlock() { VirtualFree(m_region, 0, MEM_RELEASE); }
    CGuardedBlock(const CGuardedBlock&) = delete;
    CGuardedBlock& operator=(const CGuardedBlock&) = delete;

    const BYTE* Data() const { return m_data; }
    UINT Size() const { return (UINT)m_size; }

private:
    BYTE* m_region;
    BYTE* m_data;
    size_t m_size;
};

int HasStyle(HWND window, DWORD style) { return (GetWindowLongPtrA(window, GWL_STYLE) & style) != 0; }

void SetClientSize(HWND window, int width, int height)
{
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, width + outer.right - outer.left - client.right,
                 height + outer.bottom - outer.top - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(window);
}

// A pixel of a window as the screen shows it, after its paint.
COLORREF ScreenPixel(HWND window, int x, int y)
{
    UpdateWindow(window);
    HDC dc = GetDC(window);
    COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

LONG g_accessViolations = 0;
LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS* exception)
{
    if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        InterlockedIncrement(&g_accessViolations);
    return EXCEPTION_CONTINUE_SEARCH;
}

// A view window of the frame that shows a block ending at a guard page (or
// a handle) as its data, without taking a copy it would free.
template <class View>
class CGuardedView : public View {
public:
    CGuardedView(CMdiFrame* frame, UINT format, const Bytes& bytes, HANDLE handle = nullptr)
        : View(format), m_block(bytes)
    {
        static PVOID counting = AddVectoredExceptionHandler(1, CountAccessViolation);
        m_violations = counting ? g_accessViolations : -1;
        View::CreateViewWindow(frame);
        SetWindowPos(this->m_hWnd, HWND_TOP, 0, 0, 300, 300, 0);
        this->m_data = handle != nullptr ? (void*)handle : (void*)m_block.Data();
        this->m_size = handle != nullptr ? 0 : m_block.Size();
        this->OnDataChanged();
        UpdateWindow(this->m_hWnd);
    }
    ~CGuardedView() override
    {
        EXPECT_EQ(m_violations, g_accessViolations) << "reads past the block";
        this->m_data = nullptr;
        this->m_size = 0;
        this->Destroy();
    }

private:
    CGuardedBlock m_block;
    LONG m_violations;
};

// A key pressed in a window with Shift and Ctrl as given (the view reads
// them with GetKeyState).
void PressKey(HWND window, UINT key, bool shift = false, bool control = false)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(window, WM_KEYDOWN, key, 1);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEXTMETRICA FixedFontMetrics()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics;
}

// The block of a text as 8-bit units, or widened to UTF-16, with its zero.
Bytes TextBlock(const std::string& text, bool wide)
{
    if (!wide)
        return Of(text.c_str(), text.size() + 1);
    std::wstring units(text.begin(), text.end());
    for (wchar_t& unit : units)
        unit = (BYTE)unit; // Latin-1 is the first block of Unicode
    return Of(units.c_str(), (units.size() + 1) * 2);
}

std::string ClipboardText(UINT format)
{
    std::string bytes;
    if (!ReadClipboardBlock(format, &bytes))
        return "(none)";
    if (format == CF_TEXT)
        return bytes.c_str();
    std::wstring units((const wchar_t*)bytes.data());
    return std::string(units.begin(), units.end());
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
        CGuardedBlock block(Of(test.bytes.data(), test.bytes.size()));
        char row[kHexRowLength + 1] = "untouched";
        EXPECT_EQ(test.last, FormatHexRow(row, block.Data(), block.Size(), test.offset)) << test.row;
        EXPECT_STREQ(test.row, row);
    }
}

TEST(ViewBytes, LineIndexEndsLinesAtCrLfLfAndCr)
{
    const struct {
        std::string text;
        std::vector<std::pair<uint32_t, uint32_t>> lines; // start and end of each
    } cases[] = {
        {"", {{0, 0}}},
        {"ab", {{0, 2}}},
        {"ab\n", {{0, 2}, {3, 3}}},
        {"a\r\nb", {{0, 1}, {3, 4}}},
        {"a\rb\r", {{0, 1}, {2, 3}, {4, 4}}},
        {"\n\r\r\n\n", {{0, 0}, {1, 1}, {2, 2}, {4, 4}, {5, 5}}}, // LF, CR, CR LF, LF
        {"a\n\rb", {{0, 1}, {2, 2}, {3, 4}}},                        // LF CR is two line ends
        {std::string("ab\n\0c\nd", 7), {{0, 2}, {3, 3}}},             // the text ends at its zero
        {"x\r", {{0, 1}, {2, 2}}},                                       // CR at the block's end
    };
    for (const auto& test : cases) {
        for (int unitBytes = 1; unitBytes <= 2; unitBytes++) {
            Bytes bytes;
            for (char c : test.text) {
                bytes.push_back((BYTE)c);
                if (unitBytes == 2)
                    bytes.push_back(0);
            }
            CGuardedBlock block(bytes);
            CLineIndex index;
            ASSERT_TRUE(index.Build(block.Data(), block.Size() / unitBytes, unitBytes));
            SCOPED_TRACE(testing::Message() << unitBytes << "-byte units of \"" << test.text << "\"");
            ASSERT_EQ(test.lines.size(), index.GetCount());
            for (uint32_t line = 0; line < index.GetCount(); line++) {
                EXPECT_EQ(test.lines[line].first, index.GetStart(line)) << line;
                EXPECT_EQ(test.lines[line].second, index.GetEnd(line)) << line;
                EXPECT_EQ(line, index.LineOf(test.lines[line].second));
            }
        }
    }
}

TEST(ViewBytes, DibBitsFollowMasksAndColours)
{
    const struct {
        Bytes dib;
        uint32_t bitsOffset = 0, colourCount = 0, rowsPresent = 0; // all 0: not drawn
    } cases[] = {
        {Dib(4, 2, 24, BI_RGB, Bytes(24, 0x5A)), 40, 0, 2},
        {Dib(4, 2, 24, BI_RGB, Bytes(23, 0x5A)), 40, 0, 1},            // a row short: the lower row only
        {Dib(4, -3, 32, BI_BITFIELDS, Bytes(12 + 48, 0x5A)), 52, 0, 3}, // masks, top-down
        {Dib(3, 1, 8, BI_RGB, Bytes(64 + 4, 0x5A), 16), 104, 16, 1},      // 16 colours used
        {Dib(3, 1, 8, BI_RGB, Bytes(1024 + 4, 0x5A)), 1064, 256, 1},
        {Dib(3, 1, 8, BI_RGB, Bytes(1023, 0x5A))},                      // colours cut off
        {Dib(3, 1, 1, BI_RGB, Bytes(1200 + 4, 0x5A), 300), 1240, 2, 1},   // more used than drawn
        {Dib(8, 2, 4, BI_RLE4, Bytes(64 + 6, 0x5A)), 104, 16, 2},
        {Dib(8, -2, 4, BI_RLE4, Bytes(64 + 6, 0x5A))},                  // top-down run lengths
        {Dib(0, 2, 24, BI_RGB, Bytes(24, 0x5A))},
        {Dib(4, 2, 2, BI_RGB, Bytes(24, 0x5A))},
        {Dib(4, 2, 24, BI_RGB, Bytes(24, 0x5A), 0x40000000)},
        {Dib(1, 1, 16, BI_BITFIELDS, Bytes(68 + 4, 0x5A), 0, 108), 108, 0, 1}, // masks inside a later header
    };
    for (const auto& test : cases) {
        CGuardedBlock block(test.dib);
        CDibParts parts;
        SCOPED_TRACE(testing::Message() << "bits at " << test.bitsOffset << " of " << test.dib.size());
        ASSERT_EQ(test.bitsOffset != 0, LocateDibParts(block.Data(), block.Size(), &parts));
        if (test.bitsOffset == 0)
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

TEST_F(FrameTest, BinaryRowsScrollAndFitTheirBars)
{
    Bytes bytes(300);
    for (size_t i = 0; i < bytes.size(); i++)
        bytes[i] = (BYTE)(i % 2 ? '&' : i);
    SetWindowPos(Frame(), HWND_TOPMOST, 0, 0, 900, 700, 0);
    CGuardedView<CBinaryView> view(m_frame, CF_DIF, bytes);
    HWND window = view.GetHandle();
    SetClientSize(window, 560, 200);
    HDC dc = GetDC(window), memory = CreateCompatibleDC(dc);
    SelectObject(memory, GetStockObject(ANSI_FIXED_FONT));
    SIZE cell;
    GetTextExtentPoint32A(memory, "0", 1, &cell);
    RECT client;
    GetClientRect(window, &client);
    const int rows = 25, rowWidth = (kHexRowLength + 1) * cell.cx - 2;

    SendMessageA(window, WM_VSCROLL, SB_BOTTOM, 0);
    UpdateWindow(window);
    EXPECT_EQ(rows - client.bottom / cell.cy, view.GetTopRow());
    // The first row shown, drawn beside it as the font draws it.
    char row[kHexRowLength + 1];
    FormatHexRow(row, bytes.data(), (uint32_t)bytes.size(), (uint32_t)view.GetTopRow() * kHexRowBytes);
    HGDIOBJ old = SelectObject(memory, CreateCompatibleBitmap(dc, client.right, cell.cy));
    FillRect(memory, &client, GetSysColorBrush(COLOR_WINDOW));
    TextOutA(memory, 0, 0, row, kHexRowLength);
    int differing = 0;
    for (int x = 0; x < client.right; x += 2)
        for (int y = 0; y < cell.cy; y += 2)
            differing += GetPixel(memory, x, y) != GetPixel(dc, x, y);
    EXPECT_EQ(0, differing) << "'&' is a character like any other";
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(window, dc);

    SetClientSize(window, rowWidth + 40, (rows + 1) * cell.cy);
    EXPECT_EQ(0, view.GetTopRow()) << "all rows fit: back to the first";
    EXPECT_FALSE(HasStyle(window, WS_VSCROLL));
    SetClientSize(window, rowWidth - 7, (rows + 1) * cell.cy);
    EXPECT_FALSE(HasStyle(window, WS_HSCROLL)) << "7 pixels of overflow are less than the bar's page";
    SetClientSize(window, rowWidth - 8, (rows + 1) * cell.cy);
    EXPECT_TRUE(HasStyle(window, WS_HSCROLL));
}

TEST_F(FrameTest, InformationPagesDescribeEachFormatWithinItsBytes)
{
    HBITMAP bitmap = CreateBitmap(3, 2, 1, 24, nullptr);
    BYTE paletteBytes[16] = {0x00, 0x03, 3, 0, 1, 2, 3, 0, 4, 5, 6, PC_RESERVED, 7, 8, 9, 6};
    HPALETTE palette = CreatePalette((LOGPALETTE*)paletteBytes);
    RECT frame = {0, 0, 1000, 500};
    HENHMETAFILE metafile = CloseEnhMetaFile(CreateEnhMetaFileA(nullptr, nullptr, &frame, "Vellmora\0Pictures\0"));
    // The desktop, then a virtual folder and a folder of the file system.
    LPITEMIDLIST computer = nullptr, windows = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
    SHGetSpecialFolderLocation(nullptr, CSIDL_WINDOWS, &windows);
    Bytes items = Bytes{2, 0, 0, 0, 16, 0, 0, 0, 18, 0, 0, 0, (BYTE)(18 + ItemIdListSize(computer)), 0, 0, 0, 0, 0} +
                  Of(computer, ItemIdListSize(computer)) + Of(windows, ItemIdListSize(windows));
    char windowsPath[MAX_PATH];
    GetWindowsDirectoryA(windowsPath, MAX_PATH);
    const wchar_t wideText[] = L"abc def\r\nxyz", wideName[] = L"C:\\w\0";
    const DWORD locale = 0x0409;
    const UINT itemList = RegisterClipboardFormatA("Shell IDList Array");

    struct Case {
        UINT format;
        Bytes bytes;
        HANDLE handle;
        std::string page; // the whole page, or its start when it ends in "..."
    } cases[] = {
        {CF_TEXT, Of("abc def\r\nxyz", 13), nullptr, TextPage("Ansi", 12, 2, 3, 10)},
        {CF_OEMTEXT, Of("", 1), nullptr, TextPage("Oem", 0, 1, 1, 0)},
        {CF_UNICODETEXT, Of(wideText, sizeof wideText), nullptr, TextPage("Unicode", 24, 2, 3, 10)},
        // The text ends at its first zero, or at the end of the block; a
        // trailing odd byte is no unit.
        {CF_TEXT, Of("no end", 6), nullptr, TextPage("Ansi", 6, 1, 2, 5)},
        {CF_TEXT, Of("one ", 4), nullptr, TextPage("Ansi", 4, 1, 2, 3)},
        {CF_TEXT, Of(" \n\nx\0tail", 9), nullptr, TextPage("Ansi", 4, 3, 1, 1)},
        {CF_UNICODETEXT, Of("abc", 3), nullptr, TextPage("Unicode", 2, 1, 1, 1)},
        {CF_BITMAP, Bytes(), bitmap,
         "Size: 3 x 2    \nColors / Gray Levels: 16.7M    \nCompression: Uncompressed      "},
        {CF_DIB, Dib(8, 2, 4, BI_RLE4, Bytes(64 + 4, 0)), nullptr,
         "Size: 8 x 2    \nColors / Gray Levels: 16    \nCompression: RLE (4bit)      "},
        {CF_DIB, Dib(2, -3, 24, BI_RGB, Bytes(24, 0)), nullptr, "Size: 2 x 3    \nColors / Gray Levels: 16.7M..."},
        {CF_DIB, Dib(2, 10, 24, BI_RGB, Bytes(4 * 8, 0)), nullptr, "Size: 2 x 10..."},
        {CF_PALETTE, Bytes(), palette,
         "Palette entries: 3    \nRGB Values:    \n  1. Red:   1 Green:   2 Blue:   3      "
         "\n  2. Red:   4 Green:   5 Blue:   6  (Reserved)    \n  3. Red:   7 Green:   8 Blue:   9      "},
        {CF_HDROP, DropFiles(20, 10, 20, TRUE, FALSE, Of("C:\\a.txt\0D:\\b\0", 15)), nullptr,
         "Drop point (Screen): 10.20    \nFiles:        \nC:\\a.txt        \nD:\\b    "},
        {CF_HDROP, DropFiles(20, -1, 0, FALSE, TRUE, Of(wideName, sizeof wideName)), nullptr,
         "Drop point (Client): -1.0    \nFiles:        \nC:\\w    "},
        {CF_HDROP, DropFiles(20, 1, 2, FALSE, FALSE, Of("C:\\cut", 6)), nullptr,
         "Drop point (Client): 1.2    \nFiles:        \nC:\\cut    "},
        {CF_HDROP, DropFiles(200, 1, 2, FALSE, TRUE, Bytes()), nullptr, "Drop point (Client): 1.2    \nFiles:    "},
        {CF_LOCALE, Of(&locale, sizeof locale), nullptr,
         "Language ID: 409          \nPrimary Language: 9          \nSub Language: 1          \nSort ID: 0          "},
        {CF_LOCALE, Of(&locale, 3), nullptr, ""},
        {itemList, items, nullptr, std::string("Files: 2        \n -     \n") + windowsPath},
        // Three items claimed: one list runs past the block, one starts
        // past it, and the third offset is cut off.
        {itemList, Of("\3\0\0\0\x10\0\0\0\x12\0\0\0\xF0\0\0\0\0\0\xFF\x7F\1\2", 22), nullptr,
         "Files: 3        \n -     \n -     \n - "},
        {CF_ENHMETAFILE, Bytes(), metafile,
         "Desciption: Vellmora    \nDimension rect (0.01 mm): 0,0 - 1000,500    \nVersion: 0x10000..."},
        {CF_METAFILEPICT, Bytes(8, 0xFF), nullptr, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.page);
        CGuardedView<CInfoView> view(m_frame, test.format, test.bytes, test.handle);
        std::string page = view.GetPage().GetString(), wanted = test.page.substr(0, test.page.find("..."));
        EXPECT_EQ(wanted, page.substr(0, wanted.size()));
        EXPECT_EQ(test.page.find("...") == std::string::npos, page.size() == wanted.size());
    }
    DeleteObject(bitmap);
    DeleteObject(palette);
    DeleteEnhMetaFile(metafile);
    CoTaskMemFree(computer);
    CoTaskMemFree(windows);
}

TEST_F(FrameTest, PicturesAppearAtTheTopLeftOrFillTheView)
{
    SetWindowPos(Frame(), HWND_TOPMOST, 0, 0, 900, 700, 0);
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    // Rows of two 24-bit pixels (blue, green, red bytes), padded to 8; the
    // short DIB claims ten rows and holds four, which are drawn.
    Bytes lower = {255, 0, 0, 0, 255, 0, 0, 0}, upper = {0, 0, 255, 255, 255, 255, 0, 0}, held(4 * 8, 0);
    for (int row = 0; row < 4; row++)
        held[row * 8 + 2] = (BYTE)(row * 60);
    const std::vector<COLORREF> twoByTwo = {RGB(255, 0, 0), RGB(0, 0, 255),     background,
                                            RGB(255, 255, 255), RGB(0, 255, 0), background};
    struct Case {
        Bytes dib;
        std::vector<COLORREF> column; // down the first column, then down the second
    } cases[] = {
        {Dib(2, 2, 24, BI_RGB, lower + upper), twoByTwo},
        {Dib(2, -2, 24, BI_RGB, upper + lower), twoByTwo},
        {Dib(2, 10, 24, BI_RGB, held), {RGB(180, 0, 0), RGB(120, 0, 0), RGB(60, 0, 0), 0, background}},
        {Dib(2, 2, 24, BI_RGB, Bytes(7, 0)), {background}},
    };
    for (const Case& test : cases) {
        CGuardedView<CPictureView> view(m_frame, CF_DIB, test.dib);
        size_t rows = test.column.size() == 6 ? 3 : test.column.size();
        for (size_t k = 0; k < test.column.size(); k++)
            EXPECT_EQ(test.column[k], ScreenPixel(view.GetHandle(), (int)(k / rows), (int)(k % rows))) << k;
    }

    BYTE paletteBytes[4 + 16 * 4] = {0x00, 0x03, 16, 0};
    PALETTEENTRY* entries = ((LOGPALETTE*)paletteBytes)->palPalEntry;
    for (int k = 0; k < 16; k++)
        entries[k] = {(BYTE)(k * 16), (BYTE)(255 - k * 16), (BYTE)(k % 2 * 200), 0};
    HPALETTE palette = CreatePalette((LOGPALETTE*)paletteBytes);
    {
        CGuardedView<CPictureView> view(m_frame, CF_PALETTE, Bytes(), palette);
        RECT client;
        GetClientRect(view.GetHandle(), &client);
        int cellWidth = client.right / 8, cellHeight = (client.bottom - 2) / 2;
        for (int k = 0; k < 16; k++)
            EXPECT_EQ(RGB(entries[k].peRed, entries[k].peGreen, entries[k].peBlue),
                      ScreenPixel(view.GetHandle(), k % 8 * cellWidth + 3 + cellWidth / 2,
                                  k / 8 * cellHeight + 1 + cellHeight / 2))
                << "8 by 2 swatches: " << k;
    }
    DeleteObject(palette);

    // A red rectangle over the whole picture, recorded both ways, covers
    // the whole view.
    RECT frame = {0, 0, 2000, 1000};
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr), oldRecorder = CreateMetaFileA(nullptr);
    SetWindowExtEx(oldRecorder, 100, 100, nullptr);
    for (HDC dc : {recorder, oldRecorder}) {
        SelectObject(dc, GetStockObject(NULL_PEN));
        SelectObject(dc, CreateSolidBrush(RGB(255, 0, 0)));
        Rectangle(dc, -10, -10, 2000, 2000);
    }
    HENHMETAFILE enhanced = CloseEnhMetaFile(recorder);
    METAFILEPICT picture = {MM_ANISOTROPIC, 2000, 1000, CloseMetaFile(oldRecorder)};
    {
        CGuardedView<CPictureView> enhancedView(m_frame, CF_ENHMETAFILE, Bytes(), enhanced);
        CGuardedView<CPictureView> pictureView(m_frame, CF_METAFILEPICT, Of(&picture, sizeof picture));
        CGuardedView<CPictureView> cutView(m_frame, CF_METAFILEPICT, Of(&picture, sizeof picture - 1));
        for (CPictureView* view : {(CPictureView*)&enhancedView, (CPictureView*)&pictureView}) {
            SetWindowPos(view->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetClientSize(view->GetHandle(), 240, 120);
            for (POINT corner : {POINT{2, 2}, POINT{237, 2}, POINT{2, 117}, POINT{237, 117}})
                EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(view->GetHandle(), corner.x, corner.y)) << view->GetFormat();
        }
    }
    DeleteEnhMetaFile(enhanced);
    DeleteMetaFile(picture.hMF);
}

TEST_F(FrameTest, TextReachesTheEditControlInTheAnsiCodePage)
{
    const char oem[] = "caf\x82 \x9a";
    char converted[sizeof oem];
    OemToCharBuffA(oem, converted, sizeof oem);
    const wchar_t wide[] = L"C:\\donn\xe9" L"es.txt";
    struct Case {
        UINT format;
        Bytes bytes;
        std::string text;
    } cases[] = {
        {CF_OEMTEXT, Of(oem, sizeof oem), converted},
        {RegisterClipboardFormatA("FileNameW"), Of(wide, sizeof wide), "C:\\donn\xe9" "es.txt"},
        {RegisterClipboardFormatA("FileName"), Of("C:\\a b.txt", 11), "C:\\a b.txt"},
        {CF_TEXT, Of("", 1), ""},
        {CF_TEXT, Of("no end", 6), "no end"},
        {CF_UNICODETEXT, Of(L"wide", 7), "wid"}, // the odd byte is no unit
    };
    for (const Case& test : cases) {
        CGuardedView<CTextView> view(m_frame, test.format, test.bytes);
        EXPECT_EQ(test.text, WindowText(view.GetEditControl()));
    }

    // From a page and from the clipboard, where a change replaces the text.
    CClipFormat record("", CF_OEMTEXT);
    record.SetBlock(oem, sizeof oem);
    ASSERT_TRUE(m_frame->OpenPageFormat(reinterpret_cast<const CClipPage*>(&record), "Texts", record, kViewText));
    EXPECT_EQ(converted, WindowText(static_cast<CTextView*>(NewestView())->GetEditControl()));
    EXPECT_STREQ(oem, (const char*)NewestView()->GetData()) << "the view keeps the OEM bytes";
    ASSERT_TRUE(PutTextOnClipboard("first text, rather long"));
    ASSERT_TRUE(WaitForComboCount(5));
    m_frame->OpenFormat(CF_TEXT);
    HWND edit = static_cast<CTextView*>(NewestView())->GetEditControl();
    EXPECT_EQ("first text, rather long", WindowText(edit));
    ASSERT_TRUE(PutTextOnClipboard("second"));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == "second"; }));
}

TEST_F(FrameTest, TextsAboveOneMegabyteGoToTheLargeView)
{
    const size_t limit = CTextView::kLargeTextUnits;
    char oemConverted[2] = "";
    OemToCharBuffA("\x82", oemConverted, 1);
    struct Case {
        UINT format;
        size_t units;
        bool large;
        std::string start;
    } cases[] = {
        {CF_TEXT, limit - 1, false, "\xe9 line\r\n "},
        {CF_TEXT, limit, false, "\xe9 line\r\n "},
        {CF_TEXT, limit + 1, true, "\xe9 line\r\n "},
        {CF_OEMTEXT, limit + 1, true, std::string(oemConverted) + " line\r\n "},
        {CF_UNICODETEXT, limit + 1, true, "\xe9 line\r\n "},
    };
    for (const Case& test : cases) {
        std::string text = test.format == CF_OEMTEXT ? "\x82" : "\xe9";
        while (text.size() < test.units)
            text += " line\r\n";
        text.resize(test.units);
        CGuardedView<CTextView> view(m_frame, test.format, TextBlock(text, test.format == CF_UNICODETEXT));
        SCOPED_TRACE(testing::Message() << "format " << test.format << ", " << test.units << " units");
        HWND control = view.GetTextControl();
        EXPECT_EQ(IDC_TEXT_EDIT, GetDlgCtrlID(control));
        EXPECT_EQ(test.large ? nullptr : control, view.GetEditControl());
        EXPECT_EQ((LRESULT)test.units, SendMessageA(control, WM_GETTEXTLENGTH, 0, 0));
        char start[10] = "";
        EXPECT_EQ(9, SendMessageA(control, WM_GETTEXT, sizeof start, (LPARAM)start));
        EXPECT_EQ(test.start, start);
    }
}

TEST_F(FrameTest, LargeViewScrollsToTheLastLineOf64Megabytes)
{
    std::string text;
    text.reserve(64u << 20);
    while (text.size() < (64u << 20))
        text += std::string(62, ' ') + "\r\n";
    text += "LAST LINE";
    CGuardedView<CTextView> view(m_frame, CF_TEXT, TextBlock(text, false));
    HWND control = view.GetTextControl();
    SetFocus(control);
    PressKey(control, VK_END, false, true);
    UpdateWindow(control);

    int lineHeight = FixedFontMetrics().tmHeight;
    RECT client;
    GetClientRect(control, &client);
    LRESULT lines = SendMessageA(control, EM_GETLINECOUNT, 0, 0), top = lines - client.bottom / lineHeight;
    ASSERT_EQ((LRESULT)(64u << 20) / 64 + 1, lines);
    EXPECT_EQ(top, SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_EQ(top, GetScrollPos(control, SB_VERT)) << "the bar keeps all 32 bits";
    char last[32] = {sizeof last};
    EXPECT_EQ(9, SendMessageA(control, EM_GETLINE, lines - 1, (LPARAM)last));
    // On the screen: ink on the last line, none on the blank line above.
    auto inkPixels = [&](LRESULT line) {
        int count = 0, y = (int)(line - top) * lineHeight;
        COLORREF background = ScreenPixel(control, client.right - 2, y + 1);
        for (int row = y; row < y + lineHeight; row++)
            for (int x = 0; x < 10 * FixedFontMetrics().tmAveCharWidth; x++)
                count += ScreenPixel(control, x, row) != background;
        return count;
    };
    EXPECT_GT(inkPixels(lines - 1), 20);
    EXPECT_EQ(0, inkPixels(lines - 2));
}

TEST_F(FrameTest, LargeViewCopiesWhatMouseAndKeysSelect)
{
    // 20 bytes a line: the tab at column 13 reaches to column 16.
    std::string text;
    for (int line = 0; text.size() <= CTextView::kLargeTextUnits; line++) {
        char row[32];
        wsprintfA(row, "w%06d alpha\tbeta\r\n", line);
        text += row;
    }
    TEXTMETRICA font = FixedFontMetrics();
    auto at = [&](int column, int line) {
        return MAKELPARAM(column * font.tmAveCharWidth + 1, line * font.tmHeight + 1);
    };
    for (bool wide : {false, true}) {
        CGuardedView<CTextView> view(m_frame, wide ? CF_UNICODETEXT : CF_TEXT, TextBlock(text, wide));
        HWND control = view.GetTextControl();
        SCOPED_TRACE(wide ? "UTF-16" : "ANSI");
        auto expectCopied = [&](const std::string& expected) {
            EXPECT_EQ(expected, ClipboardText(CF_TEXT));
            EXPECT_EQ(expected, ClipboardText(CF_UNICODETEXT));
            EmptyClipboardAsOther();
        };
        // Click, then Shift+click on the tab's far side: Ctrl+C.
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at(2, 0));
        SendMessageA(control, WM_LBUTTONUP, 0, at(2, 0));
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(17, 1));
        SendMessageA(control, WM_LBUTTONUP, 0, at(17, 1));
        PressKey(control, 'C', false, true);
        expectCopied(text.substr(2, 20 + 15 - 2));
        // A drag over a word: WM_COPY, as the frame's accelerators send it.
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at(8, 2));
        SendMessageA(control, WM_MOUSEMOVE, MK_LBUTTON, at(13, 2));
        SendMessageA(control, WM_LBUTTONUP, 0, at(13, 2));
        SendMessageA(control, WM_COPY, 0, 0);
        expectCopied("alpha");
        // A double-click selects the word: Ctrl+Insert.
        SendMessageA(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at(3, 1));
        PressKey(control, VK_INSERT, false, true);
        expectCopied("w000001");
        // Keys: two right, then Shift+Down and Shift+Right.
        PressKey(control, VK_HOME, false, true);
        PressKey(control, VK_RIGHT);
        PressKey(control, VK_RIGHT);
        PressKey(control, VK_DOWN, true);
        PressKey(control, VK_RIGHT, true);
        PressKey(control, 'C', false, true);
        expectCopied(text.substr(2, 21));
        PressKey(control, 'A', false, true);
        SendMessageA(control, WM_COPY, 0, 0);
        EXPECT_TRUE(ClipboardText(CF_TEXT) == text) << "Ctrl+A selects the whole text";
        EmptyClipboardAsOther();
    }
}

namespace {
std::wstring WideWindowText(HWND window)
{
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], (int)text.size()));
    return text;
}

Bytes Html(const std::string& body, const char* offsets)
{
    std::string block = std::string("Version:0.9\r\n") + offsets + "SourceURL:https://example.org/a?b\r\n" + body;
    return Of(block.data(), block.size());
}

// A file group descriptor of count entries, ANSI or wide, each named
// after its index, with a size and a write time.
Bytes FileGroup(uint32_t claimed, uint32_t present, bool wide)
{
    Bytes block = Of(&claimed, 4);
    for (uint32_t k = 0; k < present; k++) {
        Bytes entry(FileDescriptorBytes(wide), 0);
        DWORD flags = k == 0 ? kFdFileSize | kFdWriteTime : 0;
        FILETIME written = {0x2A69C000, 0x01D9B5F1}; // a day in July 2023
        ULARGE_INTEGER size = {{0x1000, 1}};
        memcpy(&entry[0], &flags, 4);
        memcpy(&entry[56], &written, 8);
        memcpy(&entry[64], &size.HighPart, 4);
        memcpy(&entry[68], &size.LowPart, 4);
        entry[72] = (BYTE)('a' + k);
        entry[72 + (wide ? 2 : 1)] = '.';
        block = block + entry;
    }
    return block;
}

// A version 5 header of a 32-bit DIB with masks and an alpha mask, and
// its rows.
Bytes DibV5(LONG width, LONG height, DWORD alphaMask, const std::vector<DWORD>& pixels)
{
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof header;
    header.bV5Width = width;
    header.bV5Height = height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = alphaMask;
    header.bV5CSType = 0x73524742; // LCS_sRGB, "sRGB"
    header.bV5Intent = LCS_GM_IMAGES;
    return Of(&header, sizeof header) + Of(pixels.data(), pixels.size() * 4);
}

// A PNG's header chunk rewritten to claim another size, its checksum made
// good, so only the size is wrong.
Bytes ClaimSize(Bytes png, DWORD width, DWORD height)
{
    for (int k = 0; k < 4; k++) {
        png[16 + k] = (BYTE)(width >> (24 - 8 * k));
        png[20 + k] = (BYTE)(height >> (24 - 8 * k));
    }
    DWORD crc = 0xFFFFFFFF;
    for (size_t i = 12; i < 29; i++) {
        crc ^= png[i];
        for (int bit = 0; bit < 8; bit++)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    crc = ~crc;
    for (int k = 0; k < 4; k++)
        png[29 + k] = (BYTE)(crc >> (24 - 8 * k));
    return png;
}

COLORREF Blend(COLORREF colour, int alpha, COLORREF background)
{
    auto mix = [&](int front, int back) { return (front * alpha + back * (255 - alpha) + 127) / 255; };
    return RGB(mix(GetRValue(colour), GetRValue(background)), mix(GetGValue(colour), GetGValue(background)),
               mix(GetBValue(colour), GetBValue(background)));
}

bool Near(COLORREF wanted, COLORREF seen, int tolerance)
{
    return abs(GetRValue(wanted) - GetRValue(seen)) <= tolerance &&
           abs(GetGValue(wanted) - GetGValue(seen)) <= tolerance &&
           abs(GetBValue(wanted) - GetBValue(seen)) <= tolerance;
}
} // namespace

TEST_F(FrameTest, TodaysTextFormatsOpenAsTextFromTheClipboard)
{
    const wchar_t unicode[] = L"\x0395\x03BB\x03BB\x03B7\x03BD\x03B9\x03BA\x03AC \x4E2D\x6587 \xD83D\xDE00";
    const wchar_t address[] = L"https://example.org/\x00FC";
    const wchar_t sixteen[] = L"<b>\x00E9</b>";
    const Bytes html = Html("<p>Gr\xC3\xBC\xC3\x9F" "e</p>\n<p>zwei</p>", "StartHTML:0\r\nEndHTML:0\r\n");
    struct Case {
        const char* name; // registered, or null for CF_UNICODETEXT
        Bytes bytes;
        std::wstring text;
    } cases[] = {
        {nullptr, Of(unicode, sizeof unicode), unicode},
        {"HTML Format", html, L"Version:0.9\r\nStartHTML:0\r\nEndHTML:0\r\nSourceURL:https://example.org/a?b\r\n"
                              L"<p>Gr\x00FC\x00DF" L"e</p>\r\n<p>zwei</p>"},
        {"Rich Text Format", Of("{\\rtf1 caf\xE9}", 13), L"{\\rtf1 caf\x00E9}"},
        {"UniformResourceLocator", Of("https://example.org/", 21), L"https://example.org/"},
        {"UniformResourceLocatorW", Of(address, sizeof address), address},
        {"text/plain;charset=utf-8", Of("Gr\xC3\xBC\xC3\x9F" "e\nzwei", 12), L"Gr\x00FC\x00DF" L"e\r\nzwei"},
        {"text/uri-list", Of("file:///tmp/a%20b\r\n", 20), L"file:///tmp/a%20b\r\n"},
        {"text/plain;charset=ISO-8859-1", Of("caf\xE9", 4), L"caf\x00E9"},
        {"text/html;charset=utf-16", Of(sixteen, sizeof sixteen), sixteen},
    };
    for (const Case& test : cases) {
        UINT format = test.name ? RegisterClipboardFormatA(test.name) : CF_UNICODETEXT;
        SCOPED_TRACE(test.name ? test.name : "CF_UNICODETEXT");
        ASSERT_TRUE(PutOnClipboard({{format, MakeGlobalBlock(test.bytes.data(), test.bytes.size())}}));
        m_frame->OpenFormat(format);
        ASSERT_EQ((UINT)kViewText, NewestView()->GetKind()) << "Auto picks the text view";
        HWND edit = static_cast<CTextView*>(NewestView())->GetEditControl();
        EXPECT_TRUE(IsWindowUnicode(edit));
        EXPECT_EQ(test.text, WideWindowText(edit));
        SendMessageA(NewestView()->GetHandle(), WM_CLOSE, 0, 0);
    }
}

TEST_F(FrameTest, TodaysPicturesAreDecodedAndBlendedOverTheBackground)
{
    SetWindowPos(Frame(), HWND_TOPMOST, 0, 0, 900, 700, 0);
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    // Top row: opaque red, blue at half alpha; bottom row: opaque green,
    // nothing. Lossy codecs get one colour all over.
    const std::vector<DWORD> quarters = {0xFFFF0000, 0x800000FF, 0xFF00FF00, 0x00000000};
    const std::vector<DWORD> red(16 * 16, 0xFFFF0000);
    const Bytes png = MakePng(2, 2, quarters);
    const std::vector<std::pair<POINT, COLORREF>> quartersSeen = {
        {{0, 0}, RGB(255, 0, 0)}, {{1, 0}, Blend(RGB(0, 0, 255), 128, background)},
        {{0, 1}, RGB(0, 255, 0)}, {{1, 1}, background}, {{2, 0}, background}};
    const std::vector<std::pair<POINT, COLORREF>> redSeen = {{{8, 8}, RGB(255, 0, 0)}, {{16, 8}, background}};
    // Bottom-up rows, the lower first.
    const Bytes dibV5 = DibV5(2, 2, 0xFF000000, {quarters[2], quarters[3], quarters[0], quarters[1]});
    struct Case {
        const char* name; // registered, or null for CF_DIBV5
        Bytes bytes;
        std::vector<std::pair<POINT, COLORREF>> seen;
        int tolerance;
        const char* facts; // the start of the information page
    } cases[] = {
        {"PNG", png, quartersSeen, 1, "\nSize: 2 x 2    \nBits per pixel: 32    \nAlpha channel: Yes    "},
        {"image/png", png, quartersSeen, 1, "\nSize: 2 x 2"},
        {"JFIF", MakeImageFile(GUID_ContainerFormatJpeg, 16, 16, red), redSeen, 24, "\nSize: 16 x 16"},
        {"image/bmp", MakeImageFile(GUID_ContainerFormatBmp, 16, 16, red), redSeen, 1, "\nSize: 16 x 16"},
        // The encoder's palette holds a red near enough.
        {"GIF", MakeImageFile(GUID_ContainerFormatGif, 16, 16, red), redSeen, 8, "\nSize: 16 x 16"},
        {nullptr, dibV5, quartersSeen, 1,
         "Size: 2 x 2    \nColors / Gray Levels: 16.7M    \nCompression: Uncompressed      "
         "\nColor space: sRGB    \nRendering intent: Images    "},
    };
    for (const Case& test : cases) {
        UINT format = test.name ? RegisterClipboardFormatA(test.name) : CF_DIBV5;
        SCOPED_TRACE(test.name ? test.name : "CF_DIBV5");
        ASSERT_FALSE(test.bytes.empty()) << "the codecs made no such file";
        ASSERT_TRUE(PutOnClipboard({{format, MakeGlobalBlock(test.bytes.data(), test.bytes.size())}}));
        m_frame->OpenFormat(format);
        CFormatView* view = NewestView();
        ASSERT_EQ((UINT)kViewPicture, view->GetKind()) << "Auto picks the picture view";
        SetWindowPos(view->GetHandle(), HWND_TOP, 0, 0, 200, 200, 0);
        for (const auto& point : test.seen) {
            COLORREF seen = ScreenPixel(view->GetHandle(), point.first.x, point.first.y);
            EXPECT_TRUE(Near(point.second, seen, test.tolerance))
                << point.first.x << "," << point.first.y << " shows " << std::hex << seen;
        }
        SendMessageA(view->GetHandle(), WM_CLOSE, 0, 0);
        CGuardedView<CInfoView> info(m_frame, format, test.bytes);
        std::string page = info.GetPage().GetString();
        EXPECT_NE(std::string::npos, page.find(test.facts)) << page;
    }

    // Hostile pictures: a cut PNG, one claiming 100000 by 100000 pixels, a
    // version 5 header whose rows are missing; a notice or what the block
    // holds, no read past it.
    const UINT pngFormat = RegisterClipboardFormatA("PNG");
    const Bytes cut(png.begin(), png.begin() + png.size() / 2), huge = ClaimSize(png, 100000, 100000);
    const struct {
        UINT format;
        Bytes bytes;
        PictureState state;
    } hostile[] = {
        {pngFormat, cut, kPictureNotDecoded},
        {pngFormat, Bytes(png.begin(), png.begin() + 8), kPictureNotDecoded},
        {pngFormat, huge, kPictureTooLarge},
        {CF_DIBV5, DibV5(2, 100000, 0xFF000000, {0xFF0000FF}), kPictureEmpty},
        {CF_DIBV5, DibV5(40000, 40000, 0xFF000000, {}), kPictureEmpty},
    };
    for (const auto& test : hostile) {
        CGuardedView<CPictureView> view(m_frame, test.format, test.bytes);
        EXPECT_EQ(test.state, view.GetPictureState());
    }
}

TEST_F(FrameTest, HtmlHeadersAndFileGroupsAreDescribedWithoutFollowingBadOffsets)
{
    const UINT html = RegisterClipboardFormatA("HTML Format");
    const std::string body = "<html><!--StartFragment-->Hi<!--EndFragment--></html>";
    const char* const source = "\nSource URL: https://example.org/a?b    ";
    FILETIME written = {0x2A69C000, 0x01D9B5F1}, local;
    SYSTEMTIME time;
    FileTimeToLocalFileTime(&written, &local);
    FileTimeToSystemTime(&local, &time);
    char date[64], clock[64];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock);
    const std::string when = std::string(date) + " " + clock + "    ";
    struct Case {
        UINT format;
        Bytes bytes;
        std::string page;
    } cases[] = {
        {html, Html(body, "StartHTML:105\r\nEndHTML:159\r\nStartFragment:131\r\nEndFragment:133\r\n"),
         "Version: 0.9    \nStartHTML: 105    \nEndHTML: 159    \nStartFragment: 131    \nEndFragment: 133    "
         "\nFragment length: 2 bytes    " + std::string(source)},
        {html, Html(body, "StartHTML:105\r\nEndHTML:99999999999\r\nStartFragment:140\r\nEndFragment:131\r\n"),
         "Version: 0.9    \nStartHTML: 105    \nEndHTML: 99999999999 (outside the data)    \nStartFragment: 140 "
         "(out of order)    \nEndFragment: 131 (out of order)    " + std::string(source)},
        {html, Html(body, "StartHTML:-1\r\nEndHTML:x\r\n"),
         "Version: 0.9    \nStartHTML: none    \nEndHTML: none    \nStartFragment: none    \nEndFragment: none    " +
             std::string(source)},
        {html, Of("<html>no header</html>", 22), "No HTML description header    "},
        {RegisterClipboardFormatA("FileGroupDescriptorW"), FileGroup(2, 2, true),
         "Files: 2    \na.    4294971392 bytes    " + when + "\nb.    "},
        {RegisterClipboardFormatA("FileGroupDescriptor"), FileGroup(1, 1, false),
         "Files: 1    \na.    4294971392 bytes    " + when},
        {RegisterClipboardFormatA("FileGroupDescriptorW"), FileGroup(0x7FFFFFFF, 1, true),
         "Files: 2147483647    \nThe count is more than the data holds (596 bytes).    "},
    };
    for (const Case& test : cases) {
        CGuardedView<CInfoView> view(m_frame, test.format, test.bytes);
        EXPECT_EQ(test.page, view.GetPage().GetString());
    }
    for (const Case& test : {cases[0], cases[4]}) {
        ASSERT_TRUE(PutOnClipboard({{test.format, MakeGlobalBlock(test.bytes.data(), test.bytes.size())}}));
        m_frame->OpenFormat(test.format);
        EXPECT_EQ((UINT)(test.format == html ? kViewText : kViewInfo), NewestView()->GetKind());
    }
}
