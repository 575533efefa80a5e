#include "Drawing.h"

#include "AppThread.h"
#include "Text.h"
#include "Window.h"

CDrawContext::~CDrawContext()
{
    if (m_window != nullptr)
        Release();
}

HGDIOBJ CDrawContext::SelectStockObject(int index)
{
    return ::SelectObject(m_hDC, GetStockObject(index));
}

void CDrawContext::Attach(HDC dc) { m_hDC = dc; }

int CDrawContext::ReleaseFrom(HWND window)
{
    ReleaseDC(window, m_hDC);
    m_hDC = nullptr;
    m_window = nullptr;
    return 0;
}

int CDrawContext::Release()
{
    ReleaseDC(m_window, m_hDC);
    m_hDC = nullptr;
    m_window = nullptr;
    return 0;
}

int CDrawContext::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDrawContext::RestoreDC(int savedState) { return ::RestoreDC(m_hDC, savedState); }
COLORREF CDrawContext::SetBkColor(COLORREF colour) { return ::SetBkColor(m_hDC, colour); }
COLORREF CDrawContext::SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }
int CDrawContext::SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }

// The previous value of an origin or extent setter, zero when it failed.
static CPoint Previous(BOOL done, const POINT& previous)
{
    return done ? CPoint(previous.x, previous.y) : CPoint();
}

static CSize Previous(BOOL done, const SIZE& previous)
{
    return done ? CSize(previous.cx, previous.cy) : CSize();
}

CPoint CDrawContext::SetViewportOrg(int x, int y)
{
    POINT previous = {0, 0};
    return Previous(SetViewportOrgEx(m_hDC, x, y, &previous), previous);
}

CPoint CDrawContext::OffsetViewportOrg(int dx, int dy)
{
    POINT previous = {0, 0};
    return Previous(OffsetViewportOrgEx(m_hDC, dx, dy, &previous), previous);
}

CSize CDrawContext::SetViewportExt(int cx, int cy)
{
    SIZE previous = {0, 0};
    return Previous(SetViewportExtEx(m_hDC, cx, cy, &previous), previous);
}

CSize CDrawContext::ScaleViewportExt(int xNumerator, int xDenominator, int yNumerator, int yDenominator)
{
    SIZE previous = {0, 0};
    return Previous(ScaleViewportExtEx(m_hDC, xNumerator, xDenominator, yNumerator, yDenominator, &previous),
                    previous);
}

CSize CDrawContext::SetWindowExt(int cx, int cy)
{
    SIZE previous = {0, 0};
    return Previous(SetWindowExtEx(m_hDC, cx, cy, &previous), previous);
}

CSize CDrawContext::ScaleWindowExt(int xNumerator, int xDenominator, int yNumerator, int yDenominator)
{
    SIZE previous = {0, 0};
    return Previous(ScaleWindowExtEx(m_hDC, xNumerator, xDenominator, yNumerator, yDenominator, &previous),
                    previous);
}

int CDrawContext::GetClipBox(RECT* rect) { return ::GetClipBox(m_hDC, rect); }
BOOL CDrawContext::PtVisible(int x, int y) { return ::PtVisible(m_hDC, x, y); }
BOOL CDrawContext::RectVisible(const RECT* rect) { return ::RectVisible(m_hDC, rect); }

BOOL CDrawContext::TextOut(int x, int y, const char* text, int count)
{
    return ::TextOutA(m_hDC, x, y, text, count);
}

BOOL CDrawContext::ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                              const INT* widths)
{
    return ::ExtTextOutA(m_hDC, x, y, options, rect, text, count, widths);
}

CSize CDrawContext::TabbedTextOut(int x, int y, const char* text, int count, int tabCount, const INT* tabPositions,
                                  int tabOrigin)
{
    LONG extent = ::TabbedTextOutA(m_hDC, x, y, text, count, tabCount, tabPositions, tabOrigin);
    return CSize(LOWORD(extent), HIWORD(extent));
}

int CDrawContext::DrawText(const char* text, int count, RECT* rect, UINT format)
{
    return ::DrawTextA(m_hDC, text, count, rect, format);
}

BOOL CDrawContext::GrayString(HBRUSH brush, GRAYSTRINGPROC output, LPARAM data, int count, int x, int y, int width,
                              int height)
{
    return ::GrayStringA(m_hDC, brush, output, data, count, x, y, width, height);
}

int CDrawContext::Escape(int escape, int inputSize, const char* input, void* output)
{
    return ::Escape(m_hDC, escape, inputSize, input, output);
}

int CDrawContext::CreateCompatible(HDC reference)
{
    if (m_window != nullptr)
        Release();
    else if (m_hDC != nullptr)
        DeleteDC(m_hDC);
    m_hDC = CreateCompatibleDC(reference);
    return m_hDC != nullptr;
}

int CDrawContext::DeleteMemoryDC()
{
    if (m_hDC == nullptr || !DeleteDC(m_hDC))
        return 0;
    m_hDC = nullptr;
    return 1;
}

CSize CDrawContext::GetTextExtent(const CText& text)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(m_hDC, text.GetString(), text.GetLength() + 1, &size);
    return CSize(size.cx, size.cy);
}

CSize CDrawContext::GetMultiLineExtent(const CText& text)
{
    const char* line = text.GetString();
    const char* end = line + text.GetLength();
    CSize extent;
    for (;;) {
        const char* feed = line;
        while (feed < end && *feed != '\n')
            feed++;
        // A line is measured with the character that ends it: its line
        // feed, or the terminating zero for the last one.
        SIZE size = {0, 0};
        GetTextExtentPoint32A(m_hDC, line, (int)(feed - line) + 1, &size);
        if (size.cx > extent.cx)
            extent.cx = size.cx;
        extent.cy += size.cy;
        if (feed == end)
            break;
        line = feed + 1;
    }
    return extent;
}

CClientDC::CClientDC(CWindow* window)
{
    m_window = window ? window->GetHandle() : nullptr;
    m_hDC = GetDC(m_window);
    m_screen = m_window == nullptr && m_hDC != nullptr;
}

// A window's context is released by the base destructor, once. A screen
// context is a shared resource of the system too; keeping it would exhaust
// the few common contexts of older Windows.
CClientDC::~CClientDC()
{
    if (m_screen && m_window == nullptr && m_hDC != nullptr) {
        ReleaseDC(nullptr, m_hDC);
        m_hDC = nullptr;
    }
}

CPaintDC::CPaintDC(CWindow* window) : m_painted(window->GetHandle())
{
    m_hDC = BeginPaint(m_painted, &m_paint);
}

CPaintDC::~CPaintDC()
{
    EndPaint(m_painted, &m_paint);
    m_hDC = nullptr;
}

CGdiObject::~CGdiObject()
{
    if (m_handle != nullptr)
        DeleteObject(m_handle);
}

int CGdiObject::DeleteHandle()
{
    if (m_handle == nullptr || !DeleteObject(m_handle))
        return 0;
    m_handle = nullptr;
    return 1;
}

int CGdiObject::UseStockObject(int index)
{
    if (m_handle != nullptr)
        DeleteHandle();
    m_handle = GetStockObject(index);
    return m_handle != nullptr;
}

CPen::CPen(int style, int width, COLORREF colour) : CGdiObject(CreatePen(style, width, colour)) {}

CBrush::CBrush(COLORREF colour) : CGdiObject(CreateSolidBrush(colour)) {}

int CBrush::CreateSolid(COLORREF colour)
{
    if (m_handle != nullptr)
        DeleteHandle();
    m_handle = CreateSolidBrush(colour);
    return m_handle != nullptr;
}

int CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                      DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outputPrecision, DWORD clipPrecision,
                      DWORD quality, DWORD pitchAndFamily, const char* faceName)
{
    if (m_handle != nullptr)
        DeleteHandle();
    m_handle = ::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                             outputPrecision, clipPrecision, quality, pitchAndFamily, faceName);
    return m_handle != nullptr;
}

int CBitmap::LoadBitmap(UINT resourceId)
{
    if (m_handle != nullptr)
        DeleteHandle();
    m_handle = LoadBitmapResource(MAKEINTRESOURCEA(resourceId));
    return m_handle != nullptr;
}
