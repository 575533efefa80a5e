#include "ViewerApp.h"

#include <commctrl.h>

#include "BinaryView.h"
#include "ClipBookWindow.h"
#include "DataFileLocation.h"
#include "InfoView.h"
#include "PictureView.h"
#include "SingleInstance.h"
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
    CDataFileLocation dataFile;
    dataFile.DecideForProgram();
    // A later start with the same data file leaves its files to the running
    // one; the mutex is given up only after the book is written.
    CSingleInstance instance;
    CSingleInstance::ClaimResult claim = instance.Claim(dataFile.GetPath(), GetCommandLine());
    if (claim == CSingleInstance::kNoAnswer)
        CSingleInstance::ReportNoAnswer(dataFile.GetPath());
    if (claim != CSingleInstance::kClaimed)
        return 1;

    CViewerFrame* frame = new CViewerFrame;
    frame->GetClipBook().SetDataFiles(dataFile.GetPath(), dataFile.GetStartPath());
    SetMainWindow(frame);
    frame->LoadAccelerators(MAKEINTRESOURCEA(IDA_FRAME));
    if (frame->CreateFrame(CViewerFrame::kClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, nullptr,
                           MAKEINTRESOURCEA(IDM_FRAME), 0)) {
        instance.Listen(frame->GetHandle());
        RunMessageLoop(frame->GetHandle(), frame->GetAccelerators());
    }
    SetMainWindow(nullptr);
    delete frame;
    return 1;
}

int CViewerApp::Finish()
{
    CWinApp::Finish();
    return 0;
}
