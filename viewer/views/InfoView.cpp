#include "InfoView.h"

#include "resource.h"

const char* const CInfoView::kClassName = "VIEWERSPECIAL";

int CInfoView::CreateViewWindow(CMdiFrame* frame)
{
    return Create(kClassName, "", 0x50FF0000, nullptr, frame);
}

int CInfoView::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_INFO_VIEW);
    return 1;
}
