// The frame's watch over the clipboard beyond its formats: content marked
// private, the owner and holder line of the status bar, and saving the
// active view's format.
#include "ViewerFrame.h"

#include "ClipboardWatch.h"
#include "FormatSaver.h"
#include "resource.h"

void CViewerFrame::UpdateClipboardStatus(int readDone)
{
    if (readDone)
        ComposeOwnerLine(m_clipboardStatus);
    else
        ComposeHolderLine(m_clipboardStatus);
    if (!m_menuOpen)
        ShowClipboardStatus();
}

void CViewerFrame::ShowClipboardStatus()
{
    if (m_statusBar.GetHandle() != nullptr)
        m_statusBar.SetPartText(0, m_clipboardStatus.GetString(), SBT_NOBORDERS);
}

// Checked while revealed; there is nothing to reveal without a marker.
void CViewerFrame::UpdatePrivateCommand()
{
    HMENU display = GetDisplayMenu();
    EnableMenuItem(display, ID_DISPLAY_SHOW_PRIVATE, MF_BYCOMMAND | (m_privateContent ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(display, ID_DISPLAY_SHOW_PRIVATE,
                  MF_BYCOMMAND | (m_privateContent && m_privateRevealed ? MF_CHECKED : MF_UNCHECKED));
}

void CViewerFrame::TogglePrivateContent()
{
    m_privateRevealed = m_privateContent && !m_privateRevealed;
    UpdatePrivateCommand();
    RefreshLiveViews();
}

CFormatView* CViewerFrame::GetActiveFormatView() const
{
    HWND active = GetActiveChild();
    for (CFormatViewEntry* node = m_views.GetHead(); active != nullptr && node != nullptr; node = node->next)
        if (node->object->GetHandle() == active)
            return node->object;
    return nullptr;
}

// A live view's format is read from the clipboard anew (a hidden view holds
// nothing); a page view saves the page's copy under the record's own name.
int CViewerFrame::SaveActiveFormat()
{
    CFormatView* view = GetActiveFormatView();
    if (view == nullptr)
        return 0;
    CFormatSaver saver;
    if (view->GetPage() == nullptr) {
        if (saver.TakeFromClipboard(m_hWnd, view->GetFormat(), m_privateRevealed) == CFormatSaver::kPrivate) {
            ShowPrivateContentRefusal(m_hWnd);
            return 0;
        }
    } else {
        const CClipFormat* record = view->GetPage()->FindFormat(view->GetFormat());
        saver.TakeCopy(view->GetFormat(), record ? record->GetName() : "", view->GetData(), view->GetSize());
    }
    return saver.AskAndWrite(m_hWnd);
}

LRESULT CViewerFrame::OnInitMenuPopup(HMENU menu, UINT index, BOOL systemMenu)
{
    if (!systemMenu && GetMenuState(menu, ID_FILE_SAVE_FORMAT, MF_BYCOMMAND) != (UINT)-1) {
        int pageFormat = GetActiveChild() == m_clipBook.GetHandle() && m_clipBook.GetSelectedRecord(nullptr) != nullptr;
        int enable = pageFormat || GetActiveFormatView() != nullptr;
        EnableMenuItem(menu, ID_FILE_SAVE_FORMAT, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    }
    return CMdiFrame::OnInitMenuPopup(menu, index, systemMenu);
}
