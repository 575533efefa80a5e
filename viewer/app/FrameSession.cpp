// The frame at the edges of a run: the session ending under the program, a
// command line handed over by a later start, the children closed before the
// frame goes, and keys that belong to the window the user looks at.
#include "ViewerFrame.h"

#include "SingleInstance.h"
#include "resource.h"

int CViewerFrame::OnSessionMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer)
{
    switch (message) {
    case WM_QUERYENDSESSION: *answer = TRUE; return 1;
    case WM_ENDSESSION:
        OnEndSession((BOOL)wParam);
        *answer = 0;
        return 1;
    case WM_COPYDATA: {
        CText commandLine;
        if (!CSingleInstance::ReadHandOver(lParam, commandLine))
            return 0;
        OnHandOver(commandLine.GetString());
        *answer = TRUE;
        return 1;
    }
    default: return 0;
    }
}

// When the session ends the process is ended without its windows being
// destroyed: what a normal exit writes is written now.
void CViewerFrame::OnEndSession(BOOL ending)
{
    if (!ending)
        return;
    SaveSettings();
    m_clipBook.WriteDataFile();
}

void CViewerFrame::OnHandOver(const char* commandLine)
{
    if (IsIconic(m_hWnd))
        ShowWindow(m_hWnd, SW_RESTORE);
    SetForegroundWindow(m_hWnd);
    m_clipBook.QueueCommandLine(commandLine);
}

// The MDI client frees its list of children at its own WM_DESTROY, which
// comes before theirs; so the children go first, through the client. The
// clipbook goes last: it writes the data file.
void CViewerFrame::CloseChildren()
{
    for (CFormatViewEntry* node = m_views.GetHead(); node != nullptr; node = node->next)
        if (IsWindow(node->object->GetHandle()))
            node->object->Destroy();
    m_clipBook.Destroy();
}

int CViewerFrame::FilterKeyCommand(UINT command)
{
    if (command != ID_EDIT_COPY && command != ID_EDIT_CUT && command != ID_DELETE_KEY)
        return 0;
    // The copy keys in a Text view copy the user's selection: its control
    // answers WM_COPY.
    HWND focus = GetFocus();
    HWND view = focus ? GetParent(focus) : nullptr;
    if (command == ID_EDIT_COPY && view != nullptr && GetParent(view) == m_client &&
        GetDlgCtrlID(focus) == IDC_TEXT_EDIT) {
        SendMessageA(focus, WM_COPY, 0, 0);
        return 1;
    }
    return !m_clipBook.HasKeyboardFocus();
}
