// Shows a format's bytes as a hex dump of 12 bytes a row: the offset, the
// bytes in two groups of six, and the printable characters.
#pragma once

#include "Controls.h"
#include "FormatView.h"

class CBinaryView : public CFormatView {
public:
    static const char* const kClassName;
    enum { kRowStep = 1, kRowPage = 5, kPixelStep = 8, kPixelPage = 24 };

    explicit CBinaryView(UINT format);

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    LRESULT OnPaint() override;
    LRESULT OnVScroll(UINT code, UINT position, HWND scrollBar) override;
    LRESULT OnHScroll(UINT code, UINT position, HWND scrollBar) override;

    int GetTopRow() const { return m_topRow; }

private:
    // The rows of the data, the last one possibly short.
    int CountRows() const;
    // Fits the vertical bar to the rows and the visible count; answers 1
    // when the top row had to move.
    int SettleTopRow(int rows, int visible);

    int m_topRow;
    CScrollBarInfo m_horizontalBar;
    CScrollBarInfo m_verticalBar;
};
