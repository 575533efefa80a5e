#include "ViewerApp.h"

#include <commctrl.h>

#include "BinaryView.h"
#include "ClipBookWindow.h"
#include "InfoView.h"
#include "PictureView.h"
#include "TextView.h"
#include "ViewerFrame.h"
#include "resource.h"

int PrepareViewerClasses()
{
    InitCommonControls();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_COOL_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);

    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HBRUSH window = (HBRUSH)(COLOR_WINDOW + 1);
    return RegisterWindowClass(CViewerFrame::kClassName, CS_DBLCLKS, arrow, (HBRUSH)(COLOR_ACTIVEBORDER + 1),
                               nullptr) &&
           RegisterMdiChildClass(CClipBookWindow::kClassName, CS_DBLCLKS, arrow, window, nullptr) &&
           RegisterMdiChildClass(CTextView::kClassName, CS_DBLCLKS, arrow, window, nullptr) &&
           RegisterWindowClass(CLargeTextView::kClassName, CS_DBLCLKS, LoadCursorA(nullptr, IDC_IBEAM), nullptr,
                               nullptr) &&
           RegisterMdiChildClass(CBinaryView::kClassName, CS_HREDRAW | CS_VREDRAW, arrow, window, nullptr) &&
           RegisterMdiChildClass(CPictureView::kClassName, CS_HREDRAW | CS_VREDRAW, arrow, window, nullptr) &&
           RegisterMdiChildClass(CInfoView::kClassName, CS_HREDRAW | CS_VREDRAW, arrow, window, nullptr);
}

int CViewerApp::Start()
{
    if (!PrepareViewerClasses())
        return 0;
    CViewerFrame* frame = new CViewerFrame;
    SetMainWindow(frame);
    frame->LoadAccelerators(MAKEINTRESOURCEA(IDA_FRAME));
    frame->CreateAndRun(CViewerFrame::kClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, nullptr,
                        MAKEINTRESOURCEA(IDM_FRAME), 0);
    SetMainWindow(nullptr);
    delete frame;
    return 1;
}

int CViewerApp::Finish()
{
    CWinApp::Finish();
    return 0;
}
