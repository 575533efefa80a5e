// The clipbook window's file commands: the File menu's opens and saves,
// files named on the command line or dropped, and the data file.
#include "ClipBookWindow.h"

#include <new>

#include "ClipFileDialogs.h"
#include "ClipFiles.h"
#include "ClipboardWatch.h"
#include "Utility.h"
#include "ViewerFrame.h"
#include "resource.h"

void CClipBookWindow::ShowError(UINT textId) { ResourceMessageBox(textId, IDS_ERROR, MB_ICONERROR); }

int CClipBookWindow::LoadClippage(const char* path, int toClipbook, const char* pageName)
{
    CClipPage* page = new (std::nothrow) CClipPage("");
    if (page == nullptr)
        return 0;
    if (!LoadPageFile(path, *page)) {
        delete page;
        return 0;
    }
    if (!toClipbook) {
        int put = page->PutOnClipboard(m_hWnd);
        delete page;
        return put;
    }
    CText unique;
    m_book.MakeUniqueName(pageName, unique);
    page->SetName(unique.GetString());
    AppendPage(page);
    return 1;
}

int CClipBookWindow::LoadClipbook(const char* path, int replace)
{
    // The whole file is read before the book changes, so a replacing load
    // that fails leaves the book as it was.
    CClipBook loaded;
    int complete = LoadBookFile(path, 0, loaded);
    if (replace) {
        if (!complete)
            return 0;
        RemoveAllPages();
    }
    AppendPages(loaded);
    return complete;
}

int CClipBookWindow::OpenClippageWithOptions()
{
    COpenClippageDialog dialog;
    CText path;
    if (!dialog.DoModal(m_frame->GetHandle()) || !dialog.GetPathName(path))
        return 0;
    if (LoadClippage(path.GetString(), dialog.IsToClipbook(), dialog.GetPageName()))
        return 1;
    ShowError(IDS_LOAD_CLIPPAGE_FAILED);
    return 0;
}

int CClipBookWindow::SaveClippageWithChoice()
{
    int preselected = -1;
    if (m_frame->GetActiveChild() == m_hWnd) {
        CClipPage* page = GetSelectedPage();
        if (page == nullptr)
            GetSelectedRecord(&page);
        for (int i = 0; page != nullptr && i < m_book.GetCount(); i++)
            if (m_book.GetPage(i) == page)
                preselected = i;
    }
    CSaveClippageDialog dialog(m_book, preselected);
    CText path;
    if (!dialog.DoModal(m_frame->GetHandle()) || !dialog.GetPathName(path))
        return 0;
    CClipPage* page = dialog.GetChosenPage();
    if (page != nullptr && !m_book.Contains(page)) {
        ShowError(IDS_UNKNOWN_ERROR);
        return 0;
    }
    // A clipboard held by another program is not saved as an empty page
    // over the chosen file.
    CClipPage clipboard("");
    int privateContent = 0;
    if (page == nullptr && clipboard.TakeClipboard(m_frame->GetHandle(), &privateContent))
        page = &clipboard;
    if (privateContent) {
        ShowPrivateContentRefusal(m_frame->GetHandle());
        return 0;
    }
    if (page != nullptr && SavePageFile(*page, path.GetString()))
        return 1;
    ShowError(IDS_SAVE_CLIPPAGE_FAILED);
    return 0;
}

int CClipBookWindow::OpenClipbook()
{
    CClipFileDialog dialog(1, IDS_FILTER_OPEN_CLIPBOOK);
    CText path;
    if (!dialog.DoModal(m_frame->GetHandle()) || !dialog.GetPathName(path))
        return 0;
    if (ResourceMessageBox(IDS_OPEN_CLIPBOOK_QUESTION, IDS_OPEN_CLIPBOOK_CAPTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    if (LoadClipbook(path.GetString(), 1))
        return 1;
    ShowError(IDS_LOAD_CLIPBOOK_FAILED);
    return 0;
}

int CClipBookWindow::SaveClipbook()
{
    CClipFileDialog dialog(0, IDS_FILTER_SAVE_CLIPBOOK);
    CText path;
    if (!dialog.DoModal(m_frame->GetHandle()) || !dialog.GetPathName(path))
        return 0;
    if (SaveBookFile(m_book, path.GetString(), 0))
        return 1;
    ShowError(IDS_SAVE_CLIPBOOK_FAILED);
    return 0;
}

int CClipBookWindow::OpenClippageFileByPath(const char* path)
{
    CWaitCursor wait;
    CClippageOptionDialog dialog(path);
    dialog.DoModal(m_hWnd);
    int choice = dialog.GetChoice();
    if (choice == CClippageOptionDialog::kCancelled)
        return 1;
    if (!LoadClippage(path, choice == CClippageOptionDialog::kToClipbook, dialog.GetPageName()))
        ShowError(IDS_LOAD_CLIPPAGE_FAILED);
    return 1;
}

int CClipBookWindow::OpenClipbookFileByPath(const char* path)
{
    CWaitCursor wait;
    CClipbookOptionDialog dialog(path);
    dialog.DoModal(m_hWnd);
    int choice = dialog.GetChoice();
    if (choice == CClipbookOptionDialog::kCancelled)
        return 1;
    if (!LoadClipbook(path, choice == CClipbookOptionDialog::kReplace))
        ShowError(IDS_LOAD_CLIPBOOK_FAILED);
    return 1;
}

void CClipBookWindow::LoadDataFile()
{
    CText path;
    GetDataFilePath(path);
    CClipBook loaded;
    int complete = LoadBookFile(path.GetString(), 1, loaded);
    // What could be read is shown; the file itself is kept aside before
    // the book is written over it.
    m_dataFileUnreadable = !complete && GetFileAttributesA(path.GetString()) != INVALID_FILE_ATTRIBUTES;
    AppendPages(loaded);
}

int CClipBookWindow::SaveDataFile()
{
    CText path;
    GetDataFilePath(path);
    if (m_dataFileUnreadable) {
        CText backup;
        GetDataFileBackupPath(path.GetString(), backup);
        // A file that cannot even be copied aside is not written over.
        if (!CopyFileA(path.GetString(), backup.GetString(), FALSE) &&
            GetFileAttributesA(path.GetString()) != INVALID_FILE_ATTRIBUTES)
            return 0;
        m_dataFileUnreadable = 0;
    }
    return SaveBookFile(m_book, path.GetString(), 1);
}
