#include "TextView.h"

#include "resource.h"

const char* const CTextView::kClassName = "VIEWERTEXT";

int CTextView::CreateViewWindow(CMdiFrame* frame)
{
    return Create(kClassName, "", 0x50CF0000, nullptr, frame);
}

int CTextView::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_TEXT_VIEW);
    return 1;
}
