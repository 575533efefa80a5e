// A read-only view of a text too large for an edit control to lay out at
// every change: it indexes where the lines start in one pass and draws only
// the lines on the screen. It selects, copies and answers WM_GETTEXT like a
// read-only edit control, and takes its colours from the parent the same
// way (WM_CTLCOLORSTATIC). The text is the owner's: 8-bit units in the ANSI
// or OEM code page, or UTF-16 units, never copied.
#pragma once

#include <windows.h>

#include "LineIndex.h"
#include "Window.h"

class CLargeTextView : public CWindow {
public:
    static const char* const kClassName;
    enum { kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, kTabColumns = 8 };

    CLargeTextView();

    // Created hidden in its place, so that its text, bars and frame are
    // drawn once, when the owner shows it.
    int CreateView(HWND parent, UINT id, const RECT& place);
    // Shows maxUnits units of 1 or 2 bytes (up to their first zero), which
    // stay alive until the next call or the window's end; codePage is
    // CP_ACP or CP_OEMCP for 8-bit text. Answers the text's units, or -1
    // when memory ran out.
    long long ShowText(const void* bytes, size_t maxUnits, int unitBytes, UINT codePage);

    uint32_t GetTopLine() const { return m_topLine; }
    const CLineIndex& GetIndex() const { return m_index; }

    LRESULT OnPaint() override;
    LRESULT OnSize(UINT type, UINT width, UINT height) override;
    LRESULT OnVScroll(UINT code, UINT position, HWND scrollBar) override;
    LRESULT OnHScroll(UINT code, UINT position, HWND scrollBar) override;
    LRESULT OnKeyDown(WPARAM key, LPARAM keyData) override;
    LRESULT OnKillFocus(HWND gaining) override;
    LRESULT OnMouseMove(WPARAM keys, UINT x, UINT y) override;
    LRESULT OnNcDestroy() override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnSetFocus();
    LRESULT OnLButtonDown(WPARAM keys, int x, int y, int doubleClick);
    LRESULT OnLButtonUp();
    LRESULT OnMouseWheel(int delta);
    LRESULT OnGetText(size_t capacity, char* buffer);
    LRESULT OnGetTextLength();
    LRESULT OnSetFont(HFONT font, BOOL redraw);
    LRESULT OnCopy();

    void MeasureFont();
    int VisibleLines() const;
    int ScrollTarget(int bar, UINT code, long long page, long long last, long long* position) const;
    int VisibleColumns() const;
    void UpdateScrollBars();
    void ScrollTo(long long topLine, long long leftColumn);
    void DrawLine(HDC dc, uint32_t line, int y, COLORREF text, COLORREF back);
    // Columns with tabs expanded: of an offset within its line, and the
    // offset nearest to a column.
    uint32_t ColumnOf(uint32_t offset) const;
    uint32_t OffsetAtColumn(uint32_t line, uint32_t column) const;
    uint32_t OffsetAtPoint(int x, int y) const;
    // Steps over a whole line end, so the caret never stands inside CR LF.
    uint32_t NextOffset(uint32_t offset) const;
    uint32_t PreviousOffset(uint32_t offset) const;
    uint32_t OffsetOnLine(long long line) const;
    void MoveCaret(uint32_t offset, int extend, int keepGoalColumn = 0);
    void SelectWordAt(uint32_t offset);
    void ScrollCaretIntoView();
    void PlaceCaret();
    // Characters from..to as zero-terminated text in the ANSI code page
    // (written when buffer is not null, at most capacity - 1 bytes):
    // answers the bytes it takes.
    size_t CopyAnsi(uint32_t from, uint32_t to, char* buffer, size_t capacity) const;
    size_t CopyWide(uint32_t from, uint32_t to, wchar_t* buffer) const;

    CLineIndex m_index;
    UINT m_codePage;
    HFONT m_font;
    int m_charWidth;
    int m_lineHeight;
    uint32_t m_topLine;
    uint32_t m_leftColumn;
    uint32_t m_widestColumns;
    uint32_t m_anchor;
    uint32_t m_caret;
    uint32_t m_goalColumn;
    int m_wheelDelta;
    int m_dragging;
    int m_hasCaret;
};
