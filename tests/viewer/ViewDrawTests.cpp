// The four views with real data in real windows: hex rows and their bars,
// information pages, pictures read back from the screen, text in the edit
// control, and hostile blocks at a guard page in every view that takes them.
#include <shlobj.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BinaryView.h"
#include "ClipFormat.h"
#include "ClipboardHelper.h"
#include "FrameFixture.h"
#include "GuardedBlock.h"
#include "InfoView.h"
#include "PictureView.h"
#include "TestApp.h"
#include "TextView.h"
#include "ViewBytes.h"

namespace {
typedef std::vector<BYTE> Bytes;

// Each case opens its views on a page of its own.
const CClipPage* Page(const void* anything) { return reinterpret_cast<const CClipPage*>(anything); }

Bytes Of(const void* bytes, size_t size) { return Bytes((const BYTE*)bytes, (const BYTE*)bytes + size); }

// A record followed by the bytes that belong to it.
Bytes Join(const void* record, size_t size, const Bytes& rest)
{
    Bytes bytes(size + rest.size());
    memcpy(bytes.data(), record, size);
    if (!rest.empty())
        memcpy(bytes.data() + size, rest.data(), rest.size());
    return bytes;
}

Bytes Dib(int width, int height, WORD bitCount, DWORD compression, const Bytes& rest)
{
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, bitCount, compression, 0, 0, 0, 0, 0};
    return Join(&header, sizeof header, rest);
}

Bytes DropFiles(int x, int y, BOOL nonClient, BOOL wide, const Bytes& names)
{
    DROPFILES header = {sizeof header, {x, y}, nonClient, wide};
    return Join(&header, sizeof header, names);
}

std::string WindowText(HWND window)
{
    std::string text(GetWindowTextLengthA(window) + 1, 0);
    text.resize(GetWindowTextA(window, &text[0], (int)text.size()));
    return text;
}

int HasStyle(HWND window, DWORD style) { return (GetWindowLongPtrA(window, GWL_STYLE) & style) != 0; }

// Sizes a window so that its client area gets the given size.
void SetClientSize(HWND window, int width, int height)
{
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, width + (outer.right - outer.left) - client.right,
                 height + (outer.bottom - outer.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(window);
}

// The client area as the screen shows it.
class CClientPixels {
public:
    explicit CClientPixels(HWND window)
    {
        UpdateWindow(window);
        RECT client;
        GetClientRect(window, &client);
        m_width = client.right;
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC dc = GetDC(window), memory = CreateCompatibleDC(dc);
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, section);
        BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        m_pixels.assign((const DWORD*)bits, (const DWORD*)bits + client.right * client.bottom);
        SelectObject(memory, old);
        DeleteObject(section);
        DeleteDC(memory);
        ReleaseDC(window, dc);
    }
    COLORREF At(int x, int y) const
    {
        DWORD pixel = m_pixels[(size_t)y * m_width + x];
        return RGB(pixel >> 16 & 255, pixel >> 8 & 255, pixel & 255);
    }
    int Width() const { return m_width; }
    int Height() const { return m_width ? (int)m_pixels.size() / m_width : 0; }

private:
    int m_width;
    std::vector<DWORD> m_pixels;
};

// Reaches a view's data so that a test can hand it a block of its own,
// which the view must not free.
template <class View>
class CGuardedView : public View {
public:
    explicit CGuardedView(UINT format) : View(format) {}
    ~CGuardedView() override { Forget(); }
    LRESULT OnDestroy() override
    {
        Forget();
        return View::OnDestroy();
    }
    void Show(const CGuardedBlock& block)
    {
        this->ReleaseCopy();
        this->m_data = (void*)block.Data();
        this->m_size = block.Size();
        this->OnDataChanged();
        UpdateWindow(this->m_hWnd);
    }
    void Forget()
    {
        this->m_data = nullptr;
        this->m_size = 0;
    }
};

LONG g_accessViolations = 0;
LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS* exception)
{
    if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        InterlockedIncrement(&g_accessViolations);
    return EXCEPTION_CONTINUE_SEARCH;
}
} // namespace

TEST_F(FrameTest, BinaryRowsScrollAndFitTheirBars)
{
    Bytes bytes(300);
    for (size_t i = 0; i < bytes.size(); i++)
        bytes[i] = (BYTE)(i % 2 ? '&' : i);
    CClipFormat record("", CF_DIF);
    ASSERT_TRUE(record.SetBlock(bytes.data(), (DWORD)bytes.size()));
    ASSERT_TRUE(m_frame->OpenPageFormat(Page(&bytes), "Dump", record, kViewBinary));
    CBinaryView* view = static_cast<CBinaryView*>(NewestView());
    HWND window = view->GetHandle();
    SetWindowPos(Frame(), HWND_TOPMOST, 0, 0, 900, 700, 0);
    SetClientSize(window, 560, 200);

    // One row as the font draws it, to measure with and to compare against.
    HDC dc = GetDC(window);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    SIZE cell;
    GetTextExtentPoint32A(dc, "0", 1, &cell);
    // The rows are narrower than the view: only the vertical bar stays.
    RECT client;
    GetClientRect(window, &client);
    const int rows = 25, visible = client.bottom / cell.cy, rowWidth = (kHexRowLength + 1) * cell.cx - 2;

    SendMessageA(window, WM_VSCROLL, SB_BOTTOM, 0);
    UpdateWindow(window);
    EXPECT_EQ(rows - visible, view->GetTopRow());
    char row[kHexRowLength + 1];
    FormatHexRow(row, bytes.data(), (uint32_t)bytes.size(), (uint32_t)view->GetTopRow() * kHexRowBytes);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP expected = CreateCompatibleBitmap(dc, 560, cell.cy);
    HGDIOBJ oldBitmap = SelectObject(memory, expected);
    RECT line = {0, 0, 560, cell.cy};
    FillRect(memory, &line, GetSysColorBrush(COLOR_WINDOW));
    SelectObject(memory, GetStockObject(ANSI_FIXED_FONT));
    TextOutA(memory, 0, 0, row, kHexRowLength);
    CClientPixels shown(window);
    int differing = 0;
    for (int y = 0; y < cell.cy; y++)
        for (int x = 0; x < shown.Width(); x++)
            differing += GetPixel(memory, x, y) != shown.At(x, y);
    EXPECT_EQ(0, differing) << "the last screen's first row, '&' included, as the font draws it";
    SelectObject(memory, oldBitmap);
    DeleteObject(expected);
    DeleteDC(memory);
    SelectObject(dc, oldFont);
    ReleaseDC(window, dc);

    SetClientSize(window, rowWidth + 40, (rows + 1) * cell.cy);
    EXPECT_EQ(0, view->GetTopRow()) << "all rows fit: back to the first";
    EXPECT_FALSE(HasStyle(window, WS_VSCROLL));
    SetClientSize(window, rowWidth - 7, (rows + 1) * cell.cy);
    EXPECT_FALSE(HasStyle(window, WS_HSCROLL)) << "7 pixels of overflow are less than the bar's page";
    SetClientSize(window, rowWidth - 8, (rows + 1) * cell.cy);
    EXPECT_TRUE(HasStyle(window, WS_HSCROLL));
    SetWindowPos(Frame(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TEST_F(FrameTest, InformationPagesDescribeEachFormat)
{
    HBITMAP bitmap = CreateBitmap(3, 2, 1, 24, nullptr);
    BYTE paletteBytes[sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY)] = {0x00, 0x03, 3, 0, 1, 2, 3, 0, 4, 5, 6, 1, 7, 8, 9, 6};
    HPALETTE palette = CreatePalette((LOGPALETTE*)paletteBytes);
    RECT frame = {0, 0, 1000, 500};
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, &frame, "Vellmora\0Pictures\0");
    HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    LPITEMIDLIST computer = nullptr, windows = nullptr;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer));
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_WINDOWS, &windows));
    UINT computerBytes = ItemIdListSize(computer), windowsBytes = ItemIdListSize(windows);
    Bytes items = {2, 0, 0, 0, 16, 0, 0, 0, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    items[12] = (BYTE)(18 + computerBytes);
    items.insert(items.end(), (BYTE*)computer, (BYTE*)computer + computerBytes);
    items.insert(items.end(), (BYTE*)windows, (BYTE*)windows + windowsBytes);
    char windowsPath[MAX_PATH];
    GetWindowsDirectoryA(windowsPath, MAX_PATH);
    const wchar_t wideText[] = L"abc def\r\nxyz";
    const wchar_t wideName[] = L"C:\\w\0";
    const DWORD locale = 0x0409;

    struct Case {
        UINT format;
        Bytes bytes;
        HANDLE handle;
        std::string page; // the whole page, or its start when it ends in "..."
    } cases[] = {
        {CF_TEXT, Of("abc def\r\nxyz", 13), nullptr,
         "Type: Ansi      \nLenght 12 bytes    \nLines: 2    \nWords: 3    \nCharacters 10    "},
        {CF_OEMTEXT, Of("", 1), nullptr,
         "Type: Oem      \nLenght 0 bytes    \nLines: 1    \nWords: 1    \nCharacters 0    "},
        {CF_UNICODETEXT, Of(wideText, sizeof wideText), nullptr,
         "Type: Unicode      \nLenght 24 bytes    \nLines: 2    \nWords: 3    \nCharacters 10    "},
        {CF_BITMAP, Bytes(), bitmap, "Size: 3 x 2    \nColors / Gray Levels: 16.7M    \nCompression: Uncompressed      "},
        {CF_DIB, Dib(8, 2, 4, BI_RLE4, Bytes(64 + 4, 0)), nullptr,
         "Size: 8 x 2    \nColors / Gray Levels: 16    \nCompression: RLE (4bit)      "},
        {CF_DIB, Dib(2, -3, 24, BI_RGB, Bytes(24, 0)), nullptr, "Size: 2 x 3    \nColors / Gray Levels: 16.7M..."},
        {CF_PALETTE, Bytes(), palette,
         "Palette entries: 3    \nRGB Values:    \n  1. Red:   1 Green:   2 Blue:   3      "
         "\n  2. Red:   4 Green:   5 Blue:   6  (Reserved)    \n  3. Red:   7 Green:   8 Blue:   9      "},
        {CF_HDROP, DropFiles(10, 20, TRUE, FALSE, Of("C:\\a.txt\0D:\\b\0", 15)), nullptr,
         "Drop point (Screen): 10.20    \nFiles:        \nC:\\a.txt        \nD:\\b    "},
        {CF_HDROP, DropFiles(-1, 0, FALSE, TRUE, Of(wideName, sizeof wideName)), nullptr,
         "Drop point (Client): -1.0    \nFiles:        \nC:\\w    "},
        {CF_LOCALE, Of(&locale, sizeof locale), nullptr,
         "Language ID: 409          \nPrimary Language: 9          \nSub Language: 1          \nSort ID: 0          "},
        {RegisterClipboardFormatA("Shell IDList Array"), items, nullptr,
         std::string("Files: 2        \n -     \n") + windowsPath},
        {CF_ENHMETAFILE, Bytes(), metafile,
         "Desciption: Vellmora    \nDimension rect (0.01 mm): 0,0 - 1000,500    \nVersion: 0x10000..."},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.page);
        CClipFormat record("", test.format);
        if (test.handle != nullptr)
            record.AttachHandle(test.handle);
        else
            ASSERT_TRUE(record.SetBlock(test.bytes.data(), (DWORD)test.bytes.size()));
        ASSERT_TRUE(m_frame->OpenPageFormat(Page(&test), "Facts", record, kViewInfo));
        std::string page = static_cast<CInfoView*>(NewestView())->GetPage().GetString();
        size_t dots = test.page.find("...");
        if (dots == std::string::npos)
            EXPECT_EQ(test.page, page);
        else
            EXPECT_EQ(test.page.substr(0, dots), page.substr(0, dots));
        // The record, like a page, owns the handle and deletes it.
        UpdateWindow(NewestView()->GetHandle());
    }
    CoTaskMemFree(computer);
    CoTaskMemFree(windows);
}

TEST_F(FrameTest, PicturesAppearAtTheTopLeftOrFillTheView)
{
    SetWindowPos(Frame(), HWND_TOPMOST, 0, 0, 900, 700, 0);
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    // Two rows of two 24-bit pixels (blue, green, red bytes), padded to 8.
    Bytes lower = {255, 0, 0, 0, 255, 0, 0, 0}, upper = {0, 0, 255, 255, 255, 255, 0, 0};
    Bytes bottomUp = lower, topDown = upper;
    bottomUp.insert(bottomUp.end(), upper.begin(), upper.end());
    topDown.insert(topDown.end(), lower.begin(), lower.end());
    for (int height : {2, -2}) {
        CClipFormat record("", CF_DIB);
        Bytes dib = Dib(2, height, 24, BI_RGB, height > 0 ? bottomUp : topDown);
        record.SetBlock(dib.data(), (DWORD)dib.size());
        ASSERT_TRUE(m_frame->OpenPageFormat(Page(&dib), "Pictures", record, kViewPicture));
        CClientPixels shown(NewestView()->GetHandle());
        EXPECT_EQ(RGB(255, 0, 0), shown.At(0, 0)) << height;
        EXPECT_EQ(RGB(255, 255, 255), shown.At(1, 0));
        EXPECT_EQ(RGB(0, 0, 255), shown.At(0, 1));
        EXPECT_EQ(RGB(0, 255, 0), shown.At(1, 1));
        EXPECT_EQ(background, shown.At(2, 0));
        EXPECT_EQ(background, shown.At(0, 2));
    }

    BYTE paletteBytes[sizeof(LOGPALETTE) + 15 * sizeof(PALETTEENTRY)] = {0x00, 0x03, 16, 0};
    PALETTEENTRY* entries = ((LOGPALETTE*)paletteBytes)->palPalEntry;
    for (int k = 0; k < 16; k++)
        entries[k] = {(BYTE)(k * 16), (BYTE)(255 - k * 16), (BYTE)(k % 2 * 200), 0};
    HPALETTE palette = CreatePalette((LOGPALETTE*)paletteBytes);
    CClipFormat swatches("", CF_PALETTE);
    swatches.AttachHandle(palette);
    ASSERT_TRUE(m_frame->OpenPageFormat(Page(&swatches), "Pictures", swatches, kViewPicture));
    CClientPixels grid(NewestView()->GetHandle());
    int cellWidth = grid.Width() / 8, cellHeight = (grid.Height() - 2) / 2;
    for (int k = 0; k < 16; k++) {
        int x = k % 8 * cellWidth + 3 + cellWidth / 2, y = k / 8 * cellHeight + 1 + cellHeight / 2;
        EXPECT_EQ(RGB(entries[k].peRed, entries[k].peGreen, entries[k].peBlue), grid.At(x, y)) << "swatch " << k;
    }

    // A red rectangle over the whole picture, recorded both ways, covers
    // the whole view.
    RECT frame = {0, 0, 2000, 1000};
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(recorder, red);
    SelectObject(recorder, GetStockObject(NULL_PEN));
    Rectangle(recorder, -10, -10, 2000, 2000);
    CClipFormat enhanced("", CF_ENHMETAFILE);
    enhanced.AttachHandle(CloseEnhMetaFile(recorder));
    HDC oldRecorder = CreateMetaFileA(nullptr);
    SetWindowExtEx(oldRecorder, 100, 100, nullptr);
    SelectObject(oldRecorder, red);
    SelectObject(oldRecorder, GetStockObject(NULL_PEN));
    Rectangle(oldRecorder, -5, -5, 106, 106);
    CClipFormat picture("", CF_METAFILEPICT);
    picture.SetMetafilePicture(MM_ANISOTROPIC, 2000, 1000, CloseMetaFile(oldRecorder), 0);
    for (CClipFormat* record : {&enhanced, &picture}) {
        ASSERT_TRUE(m_frame->OpenPageFormat(Page(record), "Pictures", *record, kViewPicture));
        HWND window = NewestView()->GetHandle();
        SetClientSize(window, 240, 120);
        CClientPixels stretched(window);
        for (POINT corner : {POINT{2, 2}, POINT{237, 2}, POINT{2, 117}, POINT{237, 117}})
            EXPECT_EQ(RGB(255, 0, 0), stretched.At(corner.x, corner.y)) << record->GetFormatId();
    }
    DeleteObject(red);
    SetWindowPos(Frame(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TEST_F(FrameTest, TextReachesTheEditControlInTheAnsiCodePage)
{
    const char oem[] = "caf\x82 \x9a";
    char expected[sizeof oem];
    OemToCharBuffA(oem, expected, sizeof oem);
    const wchar_t wide[] = L"C:\\donn\xe9" L"es.txt";
    struct Case {
        UINT format;
        Bytes bytes;
        std::string text;
    } cases[] = {
        {CF_OEMTEXT, Of(oem, sizeof oem), expected},
        {RegisterClipboardFormatA("FileNameW"), Of(wide, sizeof wide), "C:\\donn\xe9" "es.txt"},
        {RegisterClipboardFormatA("FileName"), Of("C:\\a b.txt", 11), "C:\\a b.txt"},
        {CF_TEXT, Of("", 1), ""},
    };
    for (const Case& test : cases) {
        CClipFormat record("", test.format);
        record.SetBlock(test.bytes.data(), (DWORD)test.bytes.size());
        ASSERT_TRUE(m_frame->OpenPageFormat(Page(&test), "Texts", record, kViewText));
        CTextView* view = static_cast<CTextView*>(NewestView());
        EXPECT_EQ(test.text, WindowText(view->GetEditControl()));
        EXPECT_EQ(0, memcmp(view->GetData(), test.bytes.data(), test.bytes.size())) << "the view keeps the bytes";
    }

    ASSERT_TRUE(PutTextOnClipboard("first text, rather long"));
    ASSERT_TRUE(WaitForComboCount(5));
    m_frame->OpenFormat(CF_TEXT);
    HWND edit = static_cast<CTextView*>(NewestView())->GetEditControl();
    EXPECT_EQ("first text, rather long", WindowText(edit));
    ASSERT_TRUE(PutTextOnClipboard("second"));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == "second"; })) << "a reload replaces the whole text";
}

TEST_F(FrameTest, HostileBlocksStayInsideTheirBytes)
{
    PVOID handler = AddVectoredExceptionHandler(1, CountAccessViolation);
    g_accessViolations = 0;
    // Ten rows claimed, four held: the lower four are drawn.
    Bytes rows(4 * 8, 0);
    for (int row = 0; row < 4; row++)
        rows[row * 8 + 2] = (BYTE)(row * 60);
    Bytes shortDib = Dib(2, 10, 24, BI_RGB, rows);
    Bytes farList = DropFiles(1, 2, FALSE, TRUE, Bytes());
    farList[0] = 200;
    Bytes runaway = {3, 0, 0, 0, 16, 0, 0, 0, 18, 0, 0, 0, 0xF0, 0, 0, 0, 0, 0, 0xFF, 0x7F, 1, 2};
    const UINT itemList = RegisterClipboardFormatA("Shell IDList Array");
    struct Case {
        UINT kind, format;
        Bytes bytes;
        std::string shows; // the information page, or the edit control's text
    } cases[] = {
        {kViewText, CF_TEXT, Of("no end", 6), "no end"},
        {kViewText, CF_UNICODETEXT, Of(L"wide", 7), "wid"},
        {kViewInfo, CF_TEXT, Of("no end", 6), "Type: Ansi      \nLenght 6 bytes..."},
        {kViewBinary, CF_TEXT, Of("thirteen byte", 13), ""},
        {kViewPicture, CF_DIB, shortDib, ""},
        {kViewInfo, CF_DIB, shortDib, "Size: 2 x 10..."},
        {kViewInfo, CF_HDROP, farList, "Drop point (Client): 1.2    \nFiles:    "},
        {kViewInfo, itemList, runaway, "Files: 3        \n -     \n -     \n - "},
        {kViewPicture, CF_METAFILEPICT, Bytes(8, 0xFF), ""},
        {kViewInfo, CF_METAFILEPICT, Bytes(8, 0xFF), ""},
        {kViewInfo, CF_LOCALE, Bytes(3, 9), ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << test.kind << " format " << test.format);
        CGuardedBlock block(test.bytes.data(), test.bytes.size());
        CGuardedView<CTextView> text(test.format);
        CGuardedView<CBinaryView> binary(test.format);
        CGuardedView<CPictureView> picture(test.format);
        CGuardedView<CInfoView> info(test.format);
        CFormatView* views[] = {&text, &binary, &picture, &info};
        CFormatView* view = views[test.kind - kViewText];
        ASSERT_TRUE(view->CreateViewWindow(m_frame));
        SetWindowPos(view->GetHandle(), HWND_TOP, 0, 0, 300, 300, 0);
        if (view == &text) {
            text.Show(block);
            EXPECT_EQ(test.shows, WindowText(text.GetEditControl()));
        } else if (view == &binary) {
            binary.Show(block);
        } else if (view == &picture) {
            picture.Show(block);
            CClientPixels shown(picture.GetHandle());
            for (int row = 0; row < 5 && test.format == CF_DIB; row++)
                EXPECT_EQ(row < 4 ? RGB((3 - row) * 60, 0, 0) : GetSysColor(COLOR_WINDOW), shown.At(0, row));
        } else {
            info.Show(block);
            std::string page = info.GetPage().GetString(), wanted = test.shows.substr(0, test.shows.find("..."));
            EXPECT_EQ(wanted, page.substr(0, wanted.size()));
            EXPECT_EQ(test.shows.find("...") == std::string::npos, page.size() == wanted.size());
        }
        EXPECT_EQ(0, g_accessViolations);
        view->Destroy();
    }
    RemoveVectoredExceptionHandler(handler);
}
