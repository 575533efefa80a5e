#include "BinaryView.h"

#include "Drawing.h"
#include "ViewBytes.h"
#include "resource.h"

const char* const CBinaryView::kClassName = "VIEWERBINARY";

CBinaryView::CBinaryView(UINT format)
    : CFormatView(format, kViewBinary), m_topRow(0)
{
}

int CBinaryView::CreateViewWindow(CMdiFrame* frame)
{
    return Create(kClassName, "", 0x50FF0000, nullptr, frame);
}

int CBinaryView::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_BINARY_VIEW);
    m_horizontalBar.Attach(m_hWnd, SB_HORZ);
    m_verticalBar.Attach(m_hWnd, SB_VERT);
    return 1;
}

int CBinaryView::CountRows() const
{
    return (int)(m_size / kHexRowBytes) + (m_size % kHexRowBytes != 0 ? 1 : 0);
}

int CBinaryView::SettleTopRow(int rows, int visible)
{
    int overflow = rows - visible;
    int top = m_topRow;
    if (overflow > 0) {
        m_verticalBar.SetInfo(0, overflow, 1, m_topRow, SIF_ALL, TRUE);
        if (top > overflow)
            top = overflow;
    } else {
        m_verticalBar.SetInfo(0, 0, 1, 0, SIF_ALL, TRUE);
        top = 0;
    }
    int moved = top != m_topRow;
    m_topRow = top;
    return moved;
}

LRESULT CBinaryView::OnPaint()
{
    if (IsHidingPrivate())
        return PaintPrivateNotice();
    CPaintDC dc(this);
    HGDIOBJ oldFont = dc.SelectObject(GetStockObject(ANSI_FIXED_FONT));
    RECT client;
    GetClientRect(m_hWnd, &client);
    // Handles (size 0) have no bytes to dump.
    const BYTE* bytes = (const BYTE*)m_data;
    int rows = CountRows();

    char row[kHexRowLength + 1] = "";
    int last = FormatHexRow(row, bytes, m_size, (UINT)m_topRow * kHexRowBytes);
    // A row is measured with one more character cell, its zero.
    SIZE measured = {0, 0};
    GetTextExtentPoint32A(dc.GetHandle(), row, lstrlenA(row) + 1, &measured);
    int lineHeight = measured.cy > 0 ? measured.cy : 1;
    int visible = (client.bottom - client.top) / lineHeight;
    if (SettleTopRow(rows, visible)) {
        last = FormatHexRow(row, bytes, m_size, (UINT)m_topRow * kHexRowBytes);
        GetTextExtentPoint32A(dc.GetHandle(), row, lstrlenA(row) + 1, &measured);
    }

    FitScrollRange(SB_HORZ, measured.cx - 2, client.right - client.left, kPixelStep);
    // Only the left edge moves, so rows still reach the right of the view.
    RECT line = client;
    line.left -= m_horizontalBar.GetPos();
    line.top += dc.DrawText(row, -1, &line, DT_SINGLELINE | DT_NOPREFIX);
    for (int i = 1; !last && i < visible; i++) {
        last = FormatHexRow(row, bytes, m_size, (UINT)(m_topRow + i) * kHexRowBytes);
        dc.DrawText(row, -1, &line, DT_SINGLELINE | DT_NOPREFIX);
        line.top += lineHeight;
    }
    dc.SelectObject(oldFont);
    return 0;
}

LRESULT CBinaryView::OnVScroll(UINT code, UINT position, HWND scrollBar)
{
    m_topRow = ApplyScroll(SB_VERT, code, kRowStep, kRowPage);
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CBinaryView::OnHScroll(UINT code, UINT position, HWND scrollBar)
{
    ApplyScroll(SB_HORZ, code, kPixelStep, kPixelPage);
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}
