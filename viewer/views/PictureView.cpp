#include "PictureView.h"

#include "resource.h"

const char* const CPictureView::kClassName = "VIEWERPICTURE";

int CPictureView::CreateViewWindow(CMdiFrame* frame)
{
    DWORD style = 0x50CF0000;
    // Bitmaps are drawn at their own size and scroll; the others stretch.
    if (m_format == CF_BITMAP || m_format == CF_DIB)
        style |= WS_HSCROLL | WS_VSCROLL;
    return Create(kClassName, "", style, nullptr, frame);
}

int CPictureView::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_PICTURE_VIEW);
    return 1;
}
