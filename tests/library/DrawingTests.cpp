#include <gtest/gtest.h>

#include "Drawing.h"
#include "TestApp.h"
#include "Text.h"
#include "UiTestResources.h"
#include "Window.h"

namespace {

// A memory context over a 64 by 32 colour bitmap, filled white.
class MemoryCanvas : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dc.CreateCompatible(nullptr));
        HDC screen = GetDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(screen, 64, 32);
        ReleaseDC(nullptr, screen);
        ASSERT_NE(nullptr, m_bitmap);
        m_old = m_dc.SelectObject(m_bitmap);
        RECT all = {0, 0, 64, 32};
        FillRect(m_dc.GetHandle(), &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }

    void TearDown() override
    {
        m_dc.SelectObject(m_old);
        EXPECT_EQ(1, m_dc.DeleteMemoryDC());
        DeleteObject(m_bitmap);
    }

    COLORREF Pixel(int x, int y) { return GetPixel(m_dc.GetHandle(), x, y); }

    CDrawContext m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

SIZE Measure(HDC dc, const char* text, int count)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, count, &size);
    return size;
}

} // namespace

TEST_F(MemoryCanvas, PensBrushesAndTextDrawnThroughTheWrappersReadBack)
{
    CBrush red(RGB(255, 0, 0));
    RECT block = {0, 0, 10, 10};
    FillRect(m_dc.GetHandle(), &block, red.GetBrush());
    EXPECT_EQ(RGB(255, 0, 0), Pixel(5, 5));

    CBrush blue;
    EXPECT_TRUE(blue.CreateSolid(RGB(0, 0, 255)));
    HGDIOBJ firstBlue = blue.GetHandle();
    EXPECT_TRUE(blue.CreateSolid(RGB(0, 0, 255)));
    EXPECT_NE(firstBlue, blue.GetHandle());
    RECT second = {10, 0, 20, 10};
    FillRect(m_dc.GetHandle(), &second, blue.GetBrush());
    EXPECT_EQ(RGB(0, 0, 255), Pixel(15, 5));

    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    HGDIOBJ oldPen = m_dc.SelectObject(green.GetPen());
    MoveToEx(m_dc.GetHandle(), 0, 20, nullptr);
    LineTo(m_dc.GetHandle(), 64, 20);
    m_dc.SelectObject(oldPen);
    EXPECT_EQ(RGB(0, 255, 0), Pixel(40, 20));

    // An opaque text rectangle takes the background colour.
    m_dc.SetBkColor(RGB(0, 0, 128));
    m_dc.SetTextColor(RGB(255, 255, 0));
    RECT opaque = {30, 0, 60, 12};
    EXPECT_TRUE(m_dc.ExtTextOut(30, 0, ETO_OPAQUE, &opaque, "", 0, nullptr));
    EXPECT_EQ(RGB(0, 0, 128), Pixel(55, 6));

    // Text in black on white: some pixel of the cell turned dark.
    RECT clear = {0, 22, 64, 32};
    FillRect(m_dc.GetHandle(), &clear, (HBRUSH)GetStockObject(WHITE_BRUSH));
    m_dc.SetTextColor(RGB(0, 0, 0));
    m_dc.SetBkColor(RGB(255, 255, 255));
    m_dc.SelectStockObject(SYSTEM_FONT);
    EXPECT_TRUE(m_dc.TextOut(0, 22, "WW", 2));
    int dark = 0;
    for (int y = 22; y < 32; y++)
        for (int x = 0; x < 20; x++)
            dark += Pixel(x, y) == RGB(0, 0, 0);
    EXPECT_GT(dark, 0);
}

TEST_F(MemoryCanvas, ViewportOriginMovesDrawingAndSaveRestoreBringsStateBack)
{
    EXPECT_EQ(0, m_dc.SetViewportOrg(5, 6).x);
    CPoint previous = m_dc.OffsetViewportOrg(10, 0);
    EXPECT_EQ(5, previous.x);
    EXPECT_EQ(6, previous.y);
    CBrush black(RGB(0, 0, 0));
    RECT dot = {0, 0, 1, 1};
    FillRect(m_dc.GetHandle(), &dot, black.GetBrush());
    m_dc.SetViewportOrg(0, 0);
    EXPECT_EQ(RGB(0, 0, 0), Pixel(15, 6));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(0, 0));

    int saved = m_dc.SaveDC();
    EXPECT_GT(saved, 0);
    m_dc.SetTextColor(RGB(1, 2, 3));
    EXPECT_EQ(MM_TEXT, m_dc.SetMapMode(MM_ANISOTROPIC));
    EXPECT_TRUE(m_dc.RestoreDC(saved));
    EXPECT_EQ(MM_TEXT, GetMapMode(m_dc.GetHandle()));
    EXPECT_NE(RGB(1, 2, 3), GetTextColor(m_dc.GetHandle()));
}

TEST_F(MemoryCanvas, FailedCallsAnswerZeroValues)
{
    CDrawContext empty;
    EXPECT_EQ(0, empty.SetViewportOrg(3, 4).x);
    EXPECT_EQ(0, empty.SetWindowExt(3, 4).cx);
    EXPECT_EQ(0, empty.DeleteMemoryDC());
    EXPECT_FALSE(empty.TextOut(0, 0, "x", 1));
}

TEST_F(MemoryCanvas, TextExtentsMeasureTheTerminatorAndEveryLine)
{
    HDC dc = m_dc.GetHandle();
    m_dc.SelectStockObject(SYSTEM_FONT);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);

    // An empty text measures its terminating zero: it has the font's height.
    CSize empty = m_dc.GetTextExtent(CText(""));
    EXPECT_EQ(metrics.tmHeight, empty.cy);
    EXPECT_EQ(Measure(dc, "", 1).cx, empty.cx);

    CSize word = m_dc.GetTextExtent(CText("Clip"));
    EXPECT_EQ(Measure(dc, "Clip", 5).cx, word.cx);
    EXPECT_GT(word.cx, Measure(dc, "Cli", 3).cx);

    // "ab" with its line feed, then "c" with its terminator.
    CSize two = m_dc.GetMultiLineExtent(CText("ab\nc"));
    LONG widest = Measure(dc, "ab\n", 3).cx;
    if (Measure(dc, "c", 2).cx > widest)
        widest = Measure(dc, "c", 2).cx;
    EXPECT_EQ(widest, two.cx);
    EXPECT_EQ(2 * metrics.tmHeight, two.cy);

    CSize wideLast = m_dc.GetMultiLineExtent(CText("a\nWWWWWW"));
    EXPECT_EQ(Measure(dc, "WWWWWW", 7).cx, wideLast.cx);

    // A final line feed opens an empty last line; an empty text is one line.
    EXPECT_EQ(2 * metrics.tmHeight, m_dc.GetMultiLineExtent(CText("ab\n")).cy);
    EXPECT_EQ(3 * metrics.tmHeight, m_dc.GetMultiLineExtent(CText("\n\n")).cy);
    CSize none = m_dc.GetMultiLineExtent(CText(""));
    EXPECT_EQ(metrics.tmHeight, none.cy);
    EXPECT_EQ(empty.cx, none.cx);
}

TEST_F(MemoryCanvas, TabbedAndFormattedTextReportTheirExtents)
{
    m_dc.SelectStockObject(SYSTEM_FONT);
    TEXTMETRICA metrics;
    GetTextMetricsA(m_dc.GetHandle(), &metrics);
    int tabs[] = {40};
    CSize drawn = m_dc.TabbedTextOut(0, 0, "a\tb", 3, 1, tabs, 0);
    EXPECT_EQ(metrics.tmHeight, drawn.cy);
    EXPECT_EQ(40 + Measure(m_dc.GetHandle(), "b", 1).cx, drawn.cx);

    RECT rect = {0, 0, 64, 32};
    int height = m_dc.DrawText("one\ntwo", -1, &rect, DT_CALCRECT);
    EXPECT_EQ(2 * metrics.tmHeight, height);
}

TEST(DrawContext, CreateCompatibleReplacesTheHandleItHeld)
{
    CDrawContext dc;
    ASSERT_TRUE(dc.CreateCompatible(nullptr));
    HDC first = dc.GetHandle();
    ASSERT_TRUE(dc.CreateCompatible(nullptr));
    // The first memory context was deleted.
    if (first != dc.GetHandle()) {
        EXPECT_EQ(0u, (unsigned)GetObjectType(first));
    }
    EXPECT_EQ(1, dc.DeleteMemoryDC());
    EXPECT_EQ(nullptr, dc.GetHandle());
}

namespace {

// A window that paints through CPaintDC, once with drawing that fails.
class CPaintProbe : public CWindow {
public:
    CPaintProbe() : paints(0), failingDraw(false), drawResult(TRUE) {}

    LRESULT OnPaint() override
    {
        paints++;
        CPaintDC dc(this);
        paintedDc = dc.GetHandle();
        erase = dc.GetPaintStruct().rcPaint;
        if (failingDraw) {
            // A bad font handle and a rectangle call on a bad handle: the
            // drawing fails, and the function leaves early.
            CDrawContext broken;
            broken.Attach((HDC)(UINT_PTR)0x1234);
            drawResult = broken.TextOut(0, 0, "fails", 5);
            broken.Attach(nullptr);
            return 0;
        }
        dc.TextOut(0, 0, "ok", 2);
        return 0;
    }

    int paints;
    bool failingDraw;
    BOOL drawResult;
    HDC paintedDc = nullptr;
    RECT erase = {};
};

const char kPaintClass[] = "VellmoraUiPaintProbe";

} // namespace

TEST(PaintDC, EndsThePaintCycleEvenWhenDrawingFails)
{
    static bool registered = RegisterWindowClass(kPaintClass, CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                                                 (HBRUSH)(COLOR_WINDOW + 1), nullptr) != 0;
    ASSERT_TRUE(registered);
    CPaintProbe probe;
    HWND window = CreateWindowExA(0, kPaintClass, "Paint", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 150,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), &probe);
    ASSERT_NE(nullptr, window);
    PumpMessages(100);

    probe.failingDraw = true;
    int before = probe.paints;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(before + 1, probe.paints);
    EXPECT_FALSE(probe.drawResult);
    // The update region was validated, so no further WM_PAINT is pending.
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    PumpMessages(100);
    EXPECT_EQ(before + 1, probe.paints);
    // EndPaint gave the context back to the window cache: the next request
    // for the window's context gets that same free context. One still held
    // by an unfinished paint cycle could not be handed out again.
    HDC next = GetDC(window);
    EXPECT_EQ(probe.paintedDc, next);
    ReleaseDC(window, next);

    // The next cycle paints normally.
    probe.failingDraw = false;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(before + 2, probe.paints);
    EXPECT_NE(nullptr, probe.paintedDc);
    DestroyWindow(window);
}

TEST(ClientDC, TakesAndReleasesTheWindowsContext)
{
    HWND window = CreateWindowExA(0, "STATIC", "Client", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 150, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    CWindow object(window);
    {
        CClientDC dc(&object);
        EXPECT_NE(nullptr, dc.GetHandle());
        EXPECT_EQ(window, dc.GetWindow());
        EXPECT_EQ(window, WindowFromDC(dc.GetHandle()));
        EXPECT_EQ(0, dc.Release());
        EXPECT_EQ(nullptr, dc.GetHandle());
        EXPECT_EQ(nullptr, dc.GetWindow());
    }
    HDC kept = CClientDC(&object).GetHandle();
    EXPECT_EQ(0, ReleaseDC(window, kept)) << "the destructor gave the context back";
    {
        CClientDC screen(nullptr);
        EXPECT_NE(nullptr, screen.GetHandle());
        EXPECT_EQ(nullptr, screen.GetWindow());
        TEXTMETRICA metrics;
        EXPECT_TRUE(GetTextMetricsA(screen.GetHandle(), &metrics));
    }
    DestroyWindow(window);
}

TEST(GdiObject, DeleteHandleStockObjectsFontsAndBitmaps)
{
    CGdiObject none;
    EXPECT_EQ(0, none.DeleteHandle());

    CFont font;
    EXPECT_TRUE(font.UseStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), font.GetHandle());
    ASSERT_TRUE(font.CreateFont(-20, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial"));
    LOGFONTA described = {};
    ASSERT_TRUE(GetObjectA(font.GetFont(), sizeof described, &described));
    EXPECT_EQ(-20, described.lfHeight);
    EXPECT_EQ(FW_BOLD, described.lfWeight);
    EXPECT_TRUE(described.lfItalic);
    HGDIOBJ created = font.GetHandle();
    EXPECT_EQ(1, font.DeleteHandle());
    EXPECT_EQ(nullptr, font.GetHandle());
    EXPECT_EQ(0u, (unsigned)GetObjectType(created));

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_UI_STRIP));
    BITMAP info = {};
    ASSERT_TRUE(GetObjectA(bitmap.GetBitmap(), sizeof info, &info));
    EXPECT_EQ(64, info.bmWidth);
    EXPECT_EQ(16, info.bmHeight);
    HGDIOBJ first = bitmap.GetHandle();
    EXPECT_TRUE(bitmap.LoadBitmap(IDB_UI_STRIP));
    if (first != bitmap.GetHandle()) {
        EXPECT_EQ(0u, (unsigned)GetObjectType(first));
    }
    EXPECT_FALSE(bitmap.LoadBitmap(9999));
    EXPECT_EQ(nullptr, bitmap.GetHandle());

}
