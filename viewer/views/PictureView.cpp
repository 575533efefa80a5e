#include "PictureView.h"

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "AppThread.h"
#include "Drawing.h"
#include "Utility.h"
#include "ViewBytes.h"
#include "ViewGdi.h"
#include "resource.h"

const char* const CPictureView::kClassName = "VIEWERPICTURE";

namespace {
// A device-dependent bitmap of what the packed DIB holds within its block:
// the header and colours are copied into a record of known size, rows the
// block does not hold are left out (a bottom-up DIB keeps its lower rows),
// and run-length bits get an end mark, so no drawing reads past the block.
HBITMAP CreateBitmapFromPackedDib(HDC dc, const BYTE* bytes, UINT size)
{
    CDibParts parts;
    if (bytes == nullptr || !LocateDibParts(bytes, size, &parts) || parts.rowsPresent == 0)
        return nullptr;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[kMaxDibColours];
    } info = {};
    BITMAPINFOHEADER& header = info.header;
    header.biSize = sizeof header;
    header.biWidth = parts.header.width;
    header.biHeight = parts.header.height > 0 ? (LONG)parts.rowsPresent : -(LONG)parts.rowsPresent;
    header.biPlanes = 1;
    header.biBitCount = parts.header.bitCount;
    header.biCompression = parts.header.compression;
    header.biClrUsed = parts.colourCount;
    if (parts.masksOffset != 0)
        memcpy(info.colours, bytes + parts.masksOffset, kDibMaskBytes);
    else
        memcpy(info.colours, bytes + parts.coloursOffset, parts.colourCount * sizeof(RGBQUAD));

    const BYTE* bits = bytes + parts.bitsOffset;
    BYTE* marked = nullptr;
    if (parts.rowBytes == 0) {
        static const BYTE endOfBitmap[2] = {0, 1};
        marked = (BYTE*)malloc((size_t)parts.bitsPresent + sizeof endOfBitmap);
        if (marked == nullptr)
            return nullptr;
        memcpy(marked, bits, parts.bitsPresent);
        memcpy(marked + parts.bitsPresent, endOfBitmap, sizeof endOfBitmap);
        header.biSizeImage = parts.bitsPresent + sizeof endOfBitmap;
        bits = marked;
    }
    HBITMAP bitmap = CreateDIBitmap(dc, &header, CBM_INIT, bits, (const BITMAPINFO*)&info, DIB_RGB_COLORS);
    free(marked);
    return bitmap;
}

// A version 5 DIB whose pixels carry alpha, blended over background into
// a bitmap; null for any other DIB, which is drawn as a plain one.
HBITMAP CreateBlendedDib(const BYTE* bytes, UINT size, COLORREF background, UINT* width, UINT* height)
{
    CDibParts parts;
    CDibV5Fields fields;
    if (bytes == nullptr || !ReadDibV5Fields(bytes, size, &fields) || fields.alphaMask == 0 ||
        !LocateDibParts(bytes, size, &parts) || parts.header.bitCount != 32 || parts.rowsPresent == 0)
        return nullptr;
    if ((unsigned long long)parts.header.width * parts.rowsPresent * 4 > kPictureByteLimit)
        return nullptr;
    DWORD* pixels = nullptr;
    HBITMAP bitmap = CreatePixelBitmap((UINT)parts.header.width, parts.rowsPresent, &pixels);
    if (bitmap == nullptr)
        return nullptr;
    uint32_t backgroundBgr = (uint32_t)GetRValue(background) << 16 | GetGValue(background) << 8 | GetBValue(background);
    if (!BlendAlphaDib(bytes, size, parts, fields.alphaMask, backgroundBgr, (uint32_t*)pixels)) {
        DeleteObject(bitmap);
        return nullptr;
    }
    GdiFlush();
    *width = (UINT)parts.header.width;
    *height = parts.rowsPresent;
    return bitmap;
}
} // namespace

CPictureView::CPictureView(UINT format) : CFormatView(format, kViewPicture), m_dibBitmap(nullptr), m_isFile(0)
{
    CText name;
    if (GetRegisteredFormatName(format, name) > 0)
        m_isFile = CanShowAsPicture(format, name.GetString());
}

int CPictureView::CreateViewWindow(CMdiFrame* frame)
{
    DWORD style = 0x50CF0000;
    // Bitmaps are drawn at their own size and scroll; the others stretch.
    if (HasScrollBars())
        style |= WS_HSCROLL | WS_VSCROLL;
    return Create(kClassName, "", style, nullptr, frame);
}

int CPictureView::OnCreateHook(CREATESTRUCTA* create)
{
    if (HasScrollBars()) {
        m_verticalBar.Attach(m_hWnd, SB_VERT);
        m_horizontalBar.Attach(m_hWnd, SB_HORZ);
        m_verticalBar.SetInfo(0, 0, 1, 0, SIF_ALL, TRUE);
        m_horizontalBar.SetInfo(0, 0, 1, 0, SIF_ALL, TRUE);
    }
    SetWindowIcons(m_hWnd, IDI_PICTURE_VIEW);
    return 1;
}

LRESULT CPictureView::OnDestroy()
{
    DeleteDibBitmap();
    return CFormatView::OnDestroy();
}

void CPictureView::OnDataChanged()
{
    DeleteDibBitmap();
    CFormatView::OnDataChanged();
}

void CPictureView::DeleteDibBitmap()
{
    m_picture.Release();
    if (m_dibBitmap != nullptr)
        DeleteObject(m_dibBitmap);
    m_dibBitmap = nullptr;
}

LRESULT CPictureView::OnPaint()
{
    if (IsHidingPrivate())
        return PaintPrivateNotice();
    CPaintDC paint(this);
    HDC dc = paint.GetHandle();
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (m_data == nullptr)
        return 0;
    // Bitmaps, palettes and enhanced metafiles are handles (size 0); DIBs
    // and metafile pictures are the view's own bytes.
    int handle = m_size == 0;
    if (m_format == CF_PALETTE) {
        if (handle)
            DrawPalette(dc, client);
        return 0;
    }
    if ((m_isFile || m_format == CF_DIBV5) && !handle) {
        DrawDecoded(dc, client);
        return 0;
    }
    CWaitCursor wait;
    if (m_format == CF_BITMAP && handle)
        DrawBitmap(dc, (HBITMAP)m_data, client);
    else if (m_format == CF_DIB && !handle)
        DrawDib(dc, client);
    else if (m_format == CF_METAFILEPICT && !handle)
        DrawMetafilePicture(dc, client);
    else if (m_format == CF_ENHMETAFILE && handle)
        PlayEnhMetaFile(dc, (HENHMETAFILE)m_data, &client);
    return 0;
}

int CPictureView::FitBar(CScrollBarInfo& bar, int extent, int clientExtent)
{
    int position = bar.GetPos();
    if (position > kMaxPosition)
        position = 0;
    int overflow = extent - clientExtent;
    // The range ends a page beyond the overflow less one, so that the
    // thumb reaches the picture's last row and column.
    int maximum = overflow > 0 ? overflow + kBarPage - 1 : 0;
    if (overflow <= 0)
        position = 0;
    // A bar already so set is not set again: each setting redraws it.
    SCROLLINFO now = {};
    now.cbSize = sizeof now;
    now.fMask = SIF_ALL;
    GetScrollInfo(m_hWnd, bar.GetBar(), &now);
    if (now.nMin != 0 || now.nMax != maximum || now.nPage != kBarPage || now.nPos != position)
        bar.SetInfo(0, maximum, kBarPage, position, SIF_ALL, TRUE);
    return bar.GetPos();
}

void CPictureView::DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& client)
{
    BITMAPINFOHEADER header;
    if (!ReadBitmapHeader(dc, bitmap, &header))
        return;
    int width = header.biWidth;
    int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    int x = FitBar(m_horizontalBar, width, client.right);
    int y = FitBar(m_verticalBar, height, client.bottom);
    CDrawContext memory;
    if (!memory.CreateCompatible(dc))
        return;
    HGDIOBJ old = memory.SelectObject(bitmap);
    // Only the bitmap is copied; the rest of the view keeps its background.
    int copiedWidth = width - x < client.right ? width - x : client.right;
    int copiedHeight = height - y < client.bottom ? height - y : client.bottom;
    BitBlt(dc, 0, 0, copiedWidth, copiedHeight, memory.GetHandle(), x, y, SRCCOPY);
    memory.SelectObject(old);
    memory.DeleteMemoryDC();
}

void CPictureView::DrawDib(HDC dc, const RECT& client)
{
    if (m_dibBitmap == nullptr)
        m_dibBitmap = CreateBitmapFromPackedDib(dc, (const BYTE*)m_data, m_size);
    if (m_dibBitmap != nullptr)
        DrawBitmap(dc, m_dibBitmap, client);
}

void CPictureView::DecodePicture()
{
    COLORREF background = GetSysColor(COLOR_WINDOW);
    if (m_isFile) {
        m_picture.Decode((const BYTE*)m_data, m_size, background);
        return;
    }
    UINT width = 0, height = 0;
    HBITMAP blended = CreateBlendedDib((const BYTE*)m_data, m_size, background, &width, &height);
    if (blended != nullptr)
        m_picture.Adopt(blended, width, height);
}

void CPictureView::DrawDecoded(HDC dc, const RECT& client)
{
    // Only decoding takes long enough for the wait cursor; a decoded
    // picture is drawn with one BitBlt.
    if (m_picture.GetState() == kPictureEmpty) {
        CWaitCursor wait;
        DecodePicture();
    }
    HDC memory = m_picture.GetState() == kPictureDecoded ? m_picture.GetMemoryDC(dc) : nullptr;
    if (memory != nullptr) {
        int width = (int)m_picture.GetWidth(), height = (int)m_picture.GetHeight();
        int x = FitBar(m_horizontalBar, width, client.right);
        int y = FitBar(m_verticalBar, height, client.bottom);
        BitBlt(dc, 0, 0, width - x < client.right ? width - x : client.right,
               height - y < client.bottom ? height - y : client.bottom, memory, x, y, SRCCOPY);
    } else if (m_isFile) {
        DrawNotice(dc, client);
    } else {
        CWaitCursor wait;
        DrawDib(dc, client); // a version 5 DIB without alpha
    }
}

void CPictureView::DrawNotice(HDC dc, const RECT& client)
{
    FitBar(m_horizontalBar, 0, client.right);
    FitBar(m_verticalBar, 0, client.bottom);
    char pattern[256] = "";
    CText notice;
    if (m_picture.GetState() == kPictureTooLarge) {
        LoadStringResource(IDS_PICTURE_TOO_LARGE, pattern, sizeof pattern);
        notice.Format(pattern, (int)m_picture.GetWidth(), (int)m_picture.GetHeight());
    } else {
        LoadStringResource(IDS_PICTURE_NOT_DECODED, pattern, sizeof pattern);
        notice = pattern;
    }
    RECT area = client;
    area.left += 4;
    area.top += 4;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc, notice.GetString(), notice.GetLength(), &area, DT_SINGLELINE | DT_NOPREFIX);
}

void CPictureView::DrawMetafilePicture(HDC dc, const RECT& client)
{
    HENHMETAFILE converted = ConvertMetafilePicture(m_data, m_size, dc);
    if (converted == nullptr)
        return;
    PlayEnhMetaFile(dc, converted, &client);
    DeleteEnhMetaFile(converted);
}

void CPictureView::DrawPalette(HDC dc, const RECT& client)
{
    std::vector<PALETTEENTRY> entries;
    if (!ReadPaletteEntries((HPALETTE)m_data, entries))
        return;
    UINT columns, rows;
    PaletteGrid((UINT)entries.size(), &columns, &rows);
    int cellWidth = client.right / (int)columns;
    int cellHeight = (client.bottom - 2) / (int)rows;
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    for (UINT k = 0; k < entries.size(); k++) {
        const PALETTEENTRY& entry = entries[k];
        CBrush brush(RGB(entry.peRed, entry.peGreen, entry.peBlue));
        SelectObject(dc, brush.GetHandle());
        int left = (int)(k % columns) * cellWidth + 3;
        int top = (int)(k / columns) * cellHeight + 1;
        Rectangle(dc, left, top, left + cellWidth, top + cellHeight - 2);
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

LRESULT CPictureView::OnVScroll(UINT code, UINT position, HWND scrollBar)
{
    ApplyScroll(SB_VERT, code, kPixelStep, kPixelPage);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CPictureView::OnHScroll(UINT code, UINT position, HWND scrollBar)
{
    ApplyScroll(SB_HORZ, code, kPixelStep, kPixelPage);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}
