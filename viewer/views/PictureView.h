// Draws bitmaps, DIBs and picture files (PNG, JPEG, GIF, BMP) at their own
// size with scroll bars, metafile pictures and enhanced metafiles stretched
// over the view, and palettes as a grid of colour swatches.
#pragma once

#include "Controls.h"
#include "FormatView.h"
#include "WicPicture.h"

class CPictureView : public CFormatView {
public:
    static const char* const kClassName;
    enum { kPixelStep = 3, kPixelPage = 10, kBarPage = 2, kMaxPosition = 0xFFFF };

    explicit CPictureView(UINT format);

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    LRESULT OnDestroy() override;
    LRESULT OnPaint() override;
    LRESULT OnVScroll(UINT code, UINT position, HWND scrollBar) override;
    LRESULT OnHScroll(UINT code, UINT position, HWND scrollBar) override;

    // How far the picture file or version 5 DIB got when it was drawn.
    PictureState GetPictureState() const { return m_picture.GetState(); }

protected:
    void OnDataChanged() override;

private:
    int HasScrollBars() const { return m_format == CF_BITMAP || m_format == CF_DIB || m_format == CF_DIBV5 || m_isFile; }
    // Fits a bar to the picture's extent and answers the offset to draw from.
    int FitBar(CScrollBarInfo& bar, int extent, int clientExtent);
    void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& client);
    void DrawDib(HDC dc, const RECT& client);
    // Picture files and version 5 DIBs with alpha, decoded once for each
    // new data; a notice when there is nothing to draw.
    void DrawDecoded(HDC dc, const RECT& client);
    void DecodePicture();
    void DrawNotice(HDC dc, const RECT& client);
    void DrawMetafilePicture(HDC dc, const RECT& client);
    void DrawPalette(HDC dc, const RECT& client);
    void DeleteDibBitmap();

    CScrollBarInfo m_verticalBar;
    CScrollBarInfo m_horizontalBar;
    // The DIB made drawable, once for each new data rather than at every
    // paint, which each scroll step causes.
    HBITMAP m_dibBitmap;
    // The format is a registered picture file format.
    int m_isFile;
    CDecodedPicture m_picture;
};
