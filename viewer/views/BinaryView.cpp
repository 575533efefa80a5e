#include "BinaryView.h"

#include "resource.h"

const char* const CBinaryView::kClassName = "VIEWERBINARY";

int CBinaryView::CreateViewWindow(CMdiFrame* frame)
{
    return Create(kClassName, "", 0x50FF0000, nullptr, frame);
}

int CBinaryView::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_BINARY_VIEW);
    return 1;
}
