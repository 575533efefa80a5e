#include "LargeTextView.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "AppThread.h"
#include "ClipFormat.h"
#include "Drawing.h"

const char* const CLargeTextView::kClassName = "VIEWERLARGETEXT";

namespace {
const uint32_t kNoColumn = UINT32_MAX;

// The column after a unit that starts at column.
uint32_t NextColumn(uint32_t unit, uint32_t column)
{
    return unit == '\t' ? (column / CLargeTextView::kTabColumns + 1) * CLargeTextView::kTabColumns : column + 1;
}

int IsWordBreak(uint32_t unit) { return unit == ' ' || unit == '\t'; }

int KeyIsDown(int key) { return GetKeyState(key) < 0; }

// Sets a bar only when it changes, and leaves its drawing to the next paint
// of the frame: redrawing a bar at once costs more than indexing megabytes.
void SetBar(HWND window, int bar, int maximum, UINT page, int position)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    GetScrollInfo(window, bar, &info);
    if (info.nMin == 0 && info.nMax == maximum && info.nPage == page && info.nPos == position)
        return;
    info.nMin = 0;
    info.nMax = maximum;
    info.nPage = page;
    info.nPos = position;
    SetScrollInfo(window, bar, &info, FALSE);
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}
} // namespace

CLargeTextView::CLargeTextView()
    : m_codePage(CP_ACP), m_font((HFONT)GetStockObject(ANSI_FIXED_FONT)), m_charWidth(8), m_lineHeight(16),
      m_topLine(0), m_leftColumn(0), m_widestColumns(0), m_anchor(0), m_caret(0), m_goalColumn(0),
      m_wheelDelta(0), m_dragging(0), m_hasCaret(0)
{
}

int CLargeTextView::CreateView(HWND parent, UINT id, const RECT& place)
{
    // The dispatcher binds this object when the window is created.
    HWND window = CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "", kStyle & ~WS_VISIBLE, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, parent, (HMENU)(UINT_PTR)id,
                                  GetAppInstance(), this);
    if (window == nullptr)
        return 0;
    MeasureFont();
    return 1;
}

long long CLargeTextView::ShowText(const void* bytes, size_t maxUnits, int unitBytes, UINT codePage)
{
    m_codePage = codePage;
    int built = m_index.Build((const uint8_t*)bytes, maxUnits, unitBytes);
    m_topLine = m_leftColumn = m_anchor = m_caret = m_goalColumn = 0;
    m_widestColumns = m_index.GetLongest();
    if (m_hWnd != nullptr) {
        UpdateScrollBars();
        InvalidateRect(m_hWnd, nullptr, FALSE);
        PlaceCaret();
    }
    return built ? (long long)m_index.GetUnits() : -1;
}

void CLargeTextView::MeasureFont()
{
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, m_font);
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) {
        m_charWidth = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
        m_lineHeight = metrics.tmHeight > 0 ? metrics.tmHeight : 1;
    }
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);
}

int CLargeTextView::VisibleLines() const
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    int lines = client.bottom / m_lineHeight;
    return lines > 0 ? lines : 1;
}

int CLargeTextView::VisibleColumns() const
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    int columns = client.right / m_charWidth;
    return columns > 0 ? columns : 1;
}

void CLargeTextView::UpdateScrollBars()
{
    // Positions are 32 bits wide; scroll messages carry only 16, so the
    // track position is read from the bar (OnVScroll, OnHScroll).
    SetBar(m_hWnd, SB_VERT, m_index.GetCount() > 0 ? (int)(m_index.GetCount() - 1) : 0, (UINT)VisibleLines(),
           (int)m_topLine);
    // One column more than the widest line, for the caret after it.
    SetBar(m_hWnd, SB_HORZ, (int)m_widestColumns, (UINT)VisibleColumns(), (int)m_leftColumn);
}

void CLargeTextView::ScrollTo(long long topLine, long long leftColumn)
{
    long long lastTop = (long long)m_index.GetCount() - VisibleLines();
    long long lastLeft = (long long)m_widestColumns + 1 - VisibleColumns();
    topLine = std::max(0LL, std::min(topLine, lastTop));
    leftColumn = std::max(0LL, std::min(leftColumn, lastLeft));
    if ((uint32_t)topLine == m_topLine && (uint32_t)leftColumn == m_leftColumn)
        return;
    m_topLine = (uint32_t)topLine;
    m_leftColumn = (uint32_t)leftColumn;
    UpdateScrollBars();
    InvalidateRect(m_hWnd, nullptr, FALSE);
    PlaceCaret();
}

LRESULT CLargeTextView::OnPaint()
{
    uint32_t widest = m_widestColumns;
    {
        CPaintDC dc(this);
        HDC handle = dc.GetHandle();
        HGDIOBJ oldFont = dc.SelectObject(m_font);
        // The parent colours this view as it would a read-only edit control.
        HBRUSH brush = (HBRUSH)SendMessageA(GetParent(m_hWnd), WM_CTLCOLORSTATIC, (WPARAM)handle, (LPARAM)m_hWnd);
        if (brush == nullptr) {
            brush = GetSysColorBrush(COLOR_WINDOW);
            dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
            dc.SetBkColor(GetSysColor(COLOR_WINDOW));
        }
        COLORREF text = GetTextColor(handle), back = GetBkColor(handle);
        RECT client;
        GetClientRect(m_hWnd, &client);
        int y = 0;
        for (uint32_t line = m_topLine; line < m_index.GetCount() && y < client.bottom; line++, y += m_lineHeight) {
            if (y + m_lineHeight > dc.GetPaintStruct().rcPaint.top)
                DrawLine(handle, line, y, text, back);
        }
        RECT below = {0, y, client.right, client.bottom};
        if (below.top < below.bottom)
            FillRect(handle, &below, brush);
        dc.SelectObject(oldFont);
    }
    // Lines with tabs may be wider than their characters: the bar grows as
    // they come into sight.
    if (m_widestColumns != widest)
        UpdateScrollBars();
    return 0;
}

void CLargeTextView::DrawLine(HDC dc, uint32_t line, int y, COLORREF text, COLORREF back)
{
    uint32_t start = m_index.GetStart(line), end = m_index.GetEnd(line);
    uint32_t left = m_leftColumn, right = left + (uint32_t)VisibleColumns() + 1;
    uint32_t selectFrom = std::min(m_anchor, m_caret), selectTo = std::max(m_anchor, m_caret);
    uint32_t highlightFrom = selectFrom < start ? 0 : kNoColumn, highlightTo = selectTo < start ? 0 : kNoColumn;
    std::vector<wchar_t> cells;
    cells.reserve(right - left);
    uint32_t column = 0, i = start;
    for (; i < end && column < right; i++) {
        uint32_t unit = m_index.GetUnit(i), next = NextColumn(unit, column);
        if (i == selectFrom)
            highlightFrom = column;
        if (i == selectTo)
            highlightTo = column;
        for (uint32_t cell = std::max(column, left); cell < std::min(next, right); cell++)
            cells.push_back(unit == '\t' ? L' ' : (wchar_t)unit);
        column = next;
    }
    if (i == end) {
        if (column > m_widestColumns)
            m_widestColumns = column;
        if (selectFrom == end)
            highlightFrom = column;
        if (selectTo >= end)
            highlightTo = column;
    } else if (highlightTo == kNoColumn) {
        highlightTo = right;
    }
    RECT client;
    GetClientRect(m_hWnd, &client);
    RECT whole = {0, y, client.right, y + m_lineHeight};
    std::vector<INT> widths(cells.size() + 1, m_charWidth);
    std::vector<char> narrow;
    if (m_index.GetUnitBytes() == 1) {
        narrow.assign(cells.begin(), cells.end());
        if (m_codePage == CP_OEMCP && !narrow.empty())
            OemToCharBuffA(narrow.data(), narrow.data(), (DWORD)narrow.size());
    }
    auto draw = [&](const RECT& rect, UINT options, size_t first, size_t count) {
        int x = (int)first * m_charWidth;
        if (narrow.empty() && cells.empty())
            ExtTextOutA(dc, x, y, options, &rect, "", 0, nullptr);
        else if (!narrow.empty())
            ExtTextOutA(dc, x, y, options, &rect, narrow.data() + first, (UINT)count, widths.data());
        else
            ExtTextOutW(dc, x, y, options, &rect, cells.data() + first, (UINT)count, widths.data());
    };
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    draw(whole, ETO_OPAQUE, 0, cells.size());
    // The selection shows while the view has the focus, as in an edit
    // control.
    highlightFrom = std::max(highlightFrom, left);
    highlightTo = std::min(highlightTo, left + (uint32_t)cells.size());
    if (m_hasCaret && highlightFrom < highlightTo) {
        RECT selected = {(int)(highlightFrom - left) * m_charWidth, y, (int)(highlightTo - left) * m_charWidth,
                         y + m_lineHeight};
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        draw(selected, ETO_OPAQUE | ETO_CLIPPED, highlightFrom - left, highlightTo - highlightFrom);
    }
}

LRESULT CLargeTextView::OnSize(UINT type, UINT width, UINT height)
{
    UpdateScrollBars();
    ScrollTo(m_topLine, m_leftColumn);
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

// Where a scroll message moves a bar's position: both bars' codes share
// their values (SB_LINEUP is SB_LINELEFT, SB_TOP is SB_LEFT), and the
// thumb's 32-bit position comes from the bar itself. 0 for a code that
// moves nothing.
int CLargeTextView::ScrollTarget(int bar, UINT code, long long page, long long last, long long* position) const
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(m_hWnd, bar, &info);
    switch (code) {
    case SB_LINEUP: *position -= 1; return 1;
    case SB_LINEDOWN: *position += 1; return 1;
    case SB_PAGEUP: *position -= page; return 1;
    case SB_PAGEDOWN: *position += page; return 1;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: *position = info.nTrackPos; return 1;
    case SB_TOP: *position = 0; return 1;
    case SB_BOTTOM: *position = last; return 1;
    default: return 0;
    }
}

LRESULT CLargeTextView::OnVScroll(UINT code, UINT position, HWND scrollBar)
{
    long long top = m_topLine;
    if (ScrollTarget(SB_VERT, code, VisibleLines(), m_index.GetCount(), &top))
        ScrollTo(top, m_leftColumn);
    return 0;
}

LRESULT CLargeTextView::OnHScroll(UINT code, UINT position, HWND scrollBar)
{
    long long left = m_leftColumn;
    if (ScrollTarget(SB_HORZ, code, VisibleColumns(), m_widestColumns, &left))
        ScrollTo(m_topLine, left);
    return 0;
}

LRESULT CLargeTextView::OnMouseWheel(int delta)
{
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    m_wheelDelta += delta;
    int notches = m_wheelDelta / WHEEL_DELTA;
    m_wheelDelta -= notches * WHEEL_DELTA;
    long long step = lines == WHEEL_PAGESCROLL ? VisibleLines() : (long long)lines;
    ScrollTo((long long)m_topLine - notches * step, m_leftColumn);
    return 0;
}

uint32_t CLargeTextView::ColumnOf(uint32_t offset) const
{
    uint32_t column = 0;
    for (uint32_t i = m_index.GetStart(m_index.LineOf(offset)); i < offset; i++)
        column = NextColumn(m_index.GetUnit(i), column);
    return column;
}

uint32_t CLargeTextView::OffsetAtColumn(uint32_t line, uint32_t column) const
{
    uint32_t i = m_index.GetStart(line), end = m_index.GetEnd(line), at = 0;
    for (; i < end; i++) {
        uint32_t next = NextColumn(m_index.GetUnit(i), at);
        // The nearer edge of the character under the column.
        if (column < at + (next - at + 1) / 2)
            return i;
        at = next;
    }
    return end;
}

uint32_t CLargeTextView::OffsetAtPoint(int x, int y) const
{
    if (m_index.GetCount() == 0)
        return 0;
    long long line = (long long)m_topLine + (y < 0 ? -1 - (-y - 1) / m_lineHeight : y / m_lineHeight);
    line = std::max(0LL, std::min(line, (long long)m_index.GetCount() - 1));
    long long column = (long long)m_leftColumn + (x < 0 ? 0 : (x + m_charWidth / 2) / m_charWidth);
    return OffsetAtColumn((uint32_t)line, (uint32_t)std::min(column, (long long)UINT32_MAX - 1));
}

uint32_t CLargeTextView::NextOffset(uint32_t offset) const
{
    if (offset >= m_index.GetUnits())
        return m_index.GetUnits();
    uint32_t line = m_index.LineOf(offset);
    if (offset == m_index.GetEnd(line) && line + 1 < m_index.GetCount())
        return m_index.GetStart(line + 1);
    return offset + 1;
}

uint32_t CLargeTextView::PreviousOffset(uint32_t offset) const
{
    if (offset == 0)
        return 0;
    uint32_t line = m_index.LineOf(offset);
    if (offset == m_index.GetStart(line))
        return m_index.GetEnd(line - 1);
    return offset - 1;
}

uint32_t CLargeTextView::OffsetOnLine(long long line) const
{
    if (m_index.GetCount() == 0)
        return 0;
    line = std::max(0LL, std::min(line, (long long)m_index.GetCount() - 1));
    return OffsetAtColumn((uint32_t)line, m_goalColumn);
}

void CLargeTextView::MoveCaret(uint32_t offset, int extend, int keepGoalColumn)
{
    m_caret = offset;
    if (!extend)
        m_anchor = offset;
    if (!keepGoalColumn)
        m_goalColumn = ColumnOf(offset);
    ScrollCaretIntoView();
    InvalidateRect(m_hWnd, nullptr, FALSE);
    PlaceCaret();
}

void CLargeTextView::SelectWordAt(uint32_t offset)
{
    if (m_index.GetCount() == 0)
        return;
    uint32_t line = m_index.LineOf(offset), start = m_index.GetStart(line), end = m_index.GetEnd(line);
    if (offset == end && offset > start)
        offset--;
    uint32_t from = offset, to = offset;
    if (offset < end) {
        int breaks = IsWordBreak(m_index.GetUnit(offset));
        while (from > start && IsWordBreak(m_index.GetUnit(from - 1)) == breaks)
            from--;
        while (to < end && IsWordBreak(m_index.GetUnit(to)) == breaks)
            to++;
    }
    MoveCaret(from, 0);
    MoveCaret(to, 1);
}

void CLargeTextView::ScrollCaretIntoView()
{
    long long line = m_index.LineOf(m_caret), top = m_topLine, lines = VisibleLines();
    if (line < top)
        top = line;
    else if (line >= top + lines)
        top = line - lines + 1;
    uint32_t column = ColumnOf(m_caret);
    if (column > m_widestColumns) {
        m_widestColumns = column;
        UpdateScrollBars();
    }
    long long left = m_leftColumn, columns = VisibleColumns();
    if (column < left)
        left = column;
    else if (column >= left + columns)
        left = column - columns + 1;
    ScrollTo(top, left);
}

void CLargeTextView::PlaceCaret()
{
    if (!m_hasCaret)
        return;
    long long line = m_index.LineOf(m_caret) - (long long)m_topLine;
    long long column = (long long)ColumnOf(m_caret) - m_leftColumn;
    // A caret outside the client area is kept out of sight.
    if (line < 0 || line > VisibleLines() || column < 0 || column > VisibleColumns())
        SetCaretPos(-1000, -1000);
    else
        SetCaretPos((int)column * m_charWidth, (int)line * m_lineHeight);
}

LRESULT CLargeTextView::OnKeyDown(WPARAM key, LPARAM keyData)
{
    int shift = KeyIsDown(VK_SHIFT), control = KeyIsDown(VK_CONTROL);
    long long line = m_index.LineOf(m_caret), page = VisibleLines();
    switch (key) {
    case VK_LEFT: MoveCaret(PreviousOffset(m_caret), shift); break;
    case VK_RIGHT: MoveCaret(NextOffset(m_caret), shift); break;
    case VK_UP: MoveCaret(OffsetOnLine(line - 1), shift, 1); break;
    case VK_DOWN: MoveCaret(OffsetOnLine(line + 1), shift, 1); break;
    case VK_PRIOR:
        ScrollTo((long long)m_topLine - page, m_leftColumn);
        MoveCaret(OffsetOnLine(line - page), shift, 1);
        break;
    case VK_NEXT:
        ScrollTo((long long)m_topLine + page, m_leftColumn);
        MoveCaret(OffsetOnLine(line + page), shift, 1);
        break;
    case VK_HOME: MoveCaret(control ? 0 : m_index.GetStart((uint32_t)line), shift); break;
    case VK_END: MoveCaret(control ? m_index.GetUnits() : m_index.GetEnd((uint32_t)line), shift); break;
    case 'A':
        if (control) {
            MoveCaret(0, 0);
            MoveCaret(m_index.GetUnits(), 1);
        }
        break;
    case 'C': case VK_INSERT:
        if (control)
            OnCopy();
        break;
    default: return DefaultProc(WM_KEYDOWN, key, keyData);
    }
    return 0;
}

LRESULT CLargeTextView::OnSetFocus()
{
    CreateCaret(m_hWnd, nullptr, 1, m_lineHeight);
    m_hasCaret = 1;
    PlaceCaret();
    ShowCaret(m_hWnd);
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CLargeTextView::OnKillFocus(HWND gaining)
{
    if (m_hasCaret)
        DestroyCaret();
    m_hasCaret = 0;
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CLargeTextView::OnLButtonDown(WPARAM keys, int x, int y, int doubleClick)
{
    SetFocus(m_hWnd);
    uint32_t offset = OffsetAtPoint(x, y);
    if (doubleClick) {
        SelectWordAt(offset);
        return 0;
    }
    SetCapture(m_hWnd);
    m_dragging = 1;
    MoveCaret(offset, (keys & MK_SHIFT) != 0);
    return 0;
}

LRESULT CLargeTextView::OnMouseMove(WPARAM keys, UINT x, UINT y)
{
    // Outside the window while captured, the coordinates are negative.
    if (m_dragging && (keys & MK_LBUTTON))
        MoveCaret(OffsetAtPoint((short)x, (short)y), 1);
    return 0;
}

LRESULT CLargeTextView::OnLButtonUp()
{
    if (m_dragging)
        ReleaseCapture();
    m_dragging = 0;
    return 0;
}

size_t CLargeTextView::CopyAnsi(uint32_t from, uint32_t to, char* buffer, size_t capacity) const
{
    if (buffer != nullptr && capacity == 0)
        return 0;
    const uint8_t* data = m_index.GetData();
    if (m_index.GetUnitBytes() == 1) {
        size_t count = to - from;
        if (buffer == nullptr)
            return count;
        count = std::min(count, capacity - 1);
        if (m_codePage == CP_OEMCP)
            OemToCharBuffA((const char*)data + from, buffer, (DWORD)count);
        else
            memcpy(buffer, data + from, count);
        buffer[count] = 0;
        return count;
    }
    // Wide units may lie at any address: they are converted a piece at a
    // time through an aligned buffer, keeping surrogate pairs together.
    enum { kPiece = 2048 };
    wchar_t units[kPiece];
    char converted[kPiece * 2];
    size_t written = 0;
    for (uint32_t at = from; at < to;) {
        uint32_t count = std::min<uint32_t>(to - at, kPiece);
        if (count == kPiece && (m_index.GetUnit(at + count - 1) & 0xFC00) == 0xD800)
            count--;
        memcpy(units, data + 2 * (size_t)at, count * 2);
        int bytes = WideCharToMultiByte(CP_ACP, 0, units, (int)count, converted, sizeof converted, nullptr, nullptr);
        at += count;
        if (buffer != nullptr) {
            size_t room = capacity - 1 - written;
            size_t taken = std::min(room, (size_t)bytes);
            memcpy(buffer + written, converted, taken);
            written += taken;
            if (taken < (size_t)bytes)
                break;
        } else {
            written += (size_t)bytes;
        }
    }
    if (buffer != nullptr)
        buffer[written] = 0;
    return written;
}

size_t CLargeTextView::CopyWide(uint32_t from, uint32_t to, wchar_t* buffer) const
{
    const uint8_t* data = m_index.GetData();
    if (m_index.GetUnitBytes() == 2) {
        if (buffer != nullptr) {
            memcpy(buffer, data + 2 * (size_t)from, 2 * (size_t)(to - from));
            buffer[to - from] = 0;
        }
        return to - from;
    }
    int count = MultiByteToWideChar(m_codePage, 0, (const char*)data + from, (int)(to - from), buffer,
                                    buffer != nullptr ? (int)(to - from) : 0);
    if (buffer != nullptr)
        buffer[count] = 0;
    return (size_t)count;
}

LRESULT CLargeTextView::OnCopy()
{
    uint32_t from = std::min(m_anchor, m_caret), to = std::max(m_anchor, m_caret);
    if (from == to)
        return 0;
    size_t wideUnits = CopyWide(from, to, nullptr), ansiBytes = CopyAnsi(from, to, nullptr, 0);
    HGLOBAL wide = GlobalAlloc(GMEM_MOVEABLE, (wideUnits + 1) * sizeof(wchar_t));
    HGLOBAL ansi = GlobalAlloc(GMEM_MOVEABLE, ansiBytes + 1);
    if (wide == nullptr || ansi == nullptr || !OpenClipboardPatiently(m_hWnd)) {
        GlobalFree(wide);
        GlobalFree(ansi);
        return 0;
    }
    CopyWide(from, to, (wchar_t*)GlobalLock(wide));
    GlobalUnlock(wide);
    CopyAnsi(from, to, (char*)GlobalLock(ansi), ansiBytes + 1);
    GlobalUnlock(ansi);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, wide);
    SetClipboardData(CF_TEXT, ansi);
    // Closing tells the clipboard viewers, the frame among them, which may
    // replace this view's text at once: nothing of it is read from here on.
    CloseClipboard();
    return 1;
}

LRESULT CLargeTextView::OnGetText(size_t capacity, char* buffer)
{
    if (buffer == nullptr || capacity == 0)
        return 0;
    return (LRESULT)CopyAnsi(0, m_index.GetUnits(), buffer, capacity);
}

LRESULT CLargeTextView::OnGetTextLength() { return (LRESULT)CopyAnsi(0, m_index.GetUnits(), nullptr, 0); }

LRESULT CLargeTextView::OnSetFont(HFONT font, BOOL redraw)
{
    m_font = font != nullptr ? font : (HFONT)GetStockObject(SYSTEM_FONT);
    MeasureFont();
    UpdateScrollBars();
    if (redraw)
        InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CLargeTextView::OnNcDestroy()
{
    LRESULT result = CWindow::OnNcDestroy();
    m_hWnd = nullptr;
    m_hasCaret = 0;
    return result;
}

LRESULT CLargeTextView::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (message) {
    case WM_SETFOCUS: return OnSetFocus();
    case WM_LBUTTONDOWN: return OnLButtonDown(wParam, x, y, 0);
    case WM_LBUTTONDBLCLK: return OnLButtonDown(wParam, x, y, 1);
    case WM_LBUTTONUP: return OnLButtonUp();
    case WM_MOUSEWHEEL: return OnMouseWheel((short)HIWORD(wParam));
    case WM_GETTEXT: return OnGetText(wParam, (char*)lParam);
    case WM_GETTEXTLENGTH: return OnGetTextLength();
    case WM_SETTEXT: return FALSE; // the text is the owner's
    case WM_SETFONT: return OnSetFont((HFONT)wParam, LOWORD(lParam));
    case WM_GETFONT: return (LRESULT)m_font;
    case WM_COPY: return OnCopy();
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND: return 1; // every pixel is painted
    // The read-only edit control's questions, with 32-bit positions.
    case EM_GETSEL:
        if (wParam != 0)
            *(DWORD*)wParam = std::min(m_anchor, m_caret);
        if (lParam != 0)
            *(DWORD*)lParam = std::max(m_anchor, m_caret);
        return std::max(m_anchor, m_caret) > 0xFFFF ? -1 : MAKELONG(std::min(m_anchor, m_caret), std::max(m_anchor, m_caret));
    case EM_SETSEL: {
        uint32_t units = m_index.GetUnits();
        if ((int)wParam == -1) {
            MoveCaret(m_caret, 0);
            return 0;
        }
        uint32_t from = std::min<uint32_t>((uint32_t)wParam, units);
        uint32_t to = (int)lParam == -1 ? units : std::min<uint32_t>((uint32_t)lParam, units);
        MoveCaret(from, 0);
        MoveCaret(to, 1);
        return 0;
    }
    case EM_GETFIRSTVISIBLELINE: return m_topLine;
    case EM_GETLINECOUNT: return m_index.GetCount();
    case EM_LINEINDEX: {
        uint32_t line = (int)wParam == -1 ? m_index.LineOf(m_caret) : (uint32_t)wParam;
        return line < m_index.GetCount() ? (LRESULT)m_index.GetStart(line) : -1;
    }
    case EM_GETLINE: {
        // The first WORD of the buffer gives its size; no zero is added.
        if (wParam >= m_index.GetCount() || lParam == 0)
            return 0;
        char* buffer = (char*)lParam;
        WORD capacity = *(WORD*)buffer;
        if (capacity == 0)
            return 0;
        std::vector<char> line(capacity + 1);
        size_t copied = CopyAnsi(m_index.GetStart((uint32_t)wParam), m_index.GetEnd((uint32_t)wParam), line.data(),
                                 line.size());
        memcpy(buffer, line.data(), copied);
        return (LRESULT)copied;
    }
    default: return CWindow::DefaultProc(message, wParam, lParam);
    }
}
