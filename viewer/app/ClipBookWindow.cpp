#include "ClipBookWindow.h"

#include "AppThread.h"
#include "CommandLine.h"
#include "FormatView.h"
#include "Text.h"
#include "ViewerFrame.h"
#include "resource.h"

const char* const CClipBookWindow::kClassName = "VIEWERCLIPBOOK";

CClipBookWindow::CClipBookWindow() {}

int CClipBookWindow::CreateWindowIn(CMdiFrame* frame)
{
    RECT rect = {10, 10, 400, 200};
    return Create(kClassName, "", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, &rect, frame);
}

LRESULT CClipBookWindow::OnCreate(CREATESTRUCTA* create)
{
    CText title;
    title.LoadString(IDS_CLIPBOOK);
    SetText(title.GetString());
    SendMessageA(GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
    m_popups.Load(IDM_POPUPS);
    return CMdiChild::OnCreate(create);
}

int CClipBookWindow::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_CLIPBOOK);
    // The command line waits for the first tick, when the frame and this
    // window are complete.
    SetTimer(m_hWnd, kCommandLineTimer, kCommandLineDelay, nullptr);
    return 1;
}

LRESULT CClipBookWindow::OnTimer(UINT_PTR id)
{
    if (id != kCommandLineTimer)
        return 0;
    KillTimer(m_hWnd, kCommandLineTimer);
    ProcessCommandLine();
    return 0;
}

// The clipbook stays for the whole run: closing it only puts it aside.
LRESULT CClipBookWindow::OnClose()
{
    ShowWindow(m_hWnd, SW_MINIMIZE);
    return 0;
}

void CClipBookWindow::ProcessCommandLine()
{
    CViewerFrame* frame = (CViewerFrame*)m_frame;
    const char* cursor = GetApp() ? GetApp()->GetCommandLine() : nullptr;
    CText argument;
    while ((cursor = NextCommandArgument(cursor, argument)) != nullptr)
        frame->OpenClipFileByName(argument.GetString());
}

int CClipBookWindow::CopyPage() { return 0; }
int CClipBookWindow::CutPage() { return 0; }
int CClipBookWindow::PasteClipboard() { return 0; }
int CClipBookWindow::OpenClippageWithOptions() { return 0; }
int CClipBookWindow::SaveClippageWithChoice() { return 0; }
int CClipBookWindow::OpenClipbook() { return 0; }
int CClipBookWindow::SaveClipbook() { return 0; }
int CClipBookWindow::OpenClippageFileByPath(const char* path) { return 1; }
int CClipBookWindow::OpenClipbookFileByPath(const char* path) { return 1; }
