// The clipbook window's file commands: the File menu's opens and saves,
// files named on the command line or dropped, and the data file.
#include "ClipBookWindow.h"

#include <new>

#include "ClipFileDialogs.h"
#include "ClipFiles.h"
#include "ClipboardWatch.h"
#include "DataFileLocation.h"
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

void CClipBookWindow::SetDataFiles(const char* path, const char* startPath)
{
    m_dataFile.Assign(path);
    m_startFile.Assign(startPath);
}

void CClipBookWindow::LoadDataFile()
{
    if (m_dataFile.IsEmpty()) {
        GetDataFilePath(m_dataFile);
        m_startFile = m_dataFile;
    }
    CClipBook loaded;
    int complete = LoadBookFile(m_startFile.GetString(), 1, loaded);
    // What could be read is shown; the file itself is kept aside at once,
    // and again before the book is written over it if that failed.
    if (!complete && GetFileAttributesA(m_startFile.GetString()) != INVALID_FILE_ATTRIBUTES) {
        GetDataFileBackupPath(m_startFile.GetString(), m_keptFile);
        int copied = CopyFileA(m_startFile.GetString(), m_keptFile.GetString(), FALSE);
        if (!copied)
            m_keptFile = m_startFile;
        m_dataFileUnreadable = !copied && CompareNoCase(m_startFile.GetString(), m_dataFile.GetString()) == 0;
        m_reportUnreadable = 1;
    }
    AppendPages(loaded);
}

void CClipBookWindow::ReportUnreadableDataFile()
{
    CText text;
    text.FormatResource(IDS_DATA_FILE_UNREADABLE, m_startFile.GetString(), m_keptFile.GetString());
    CDataFileLocation::ShowMessage(text);
}

int CClipBookWindow::SaveDataFile(DWORD* error)
{
    if (m_dataFileUnreadable) {
        CText backup;
        GetDataFileBackupPath(m_dataFile.GetString(), backup);
        // A file that cannot even be copied aside is not written over.
        if (!CopyFileA(m_dataFile.GetString(), backup.GetString(), FALSE)) {
            DWORD copyError = GetLastError();
            if (GetFileAttributesA(m_dataFile.GetString()) != INVALID_FILE_ATTRIBUTES) {
                *error = copyError;
                return 0;
            }
        }
        m_dataFileUnreadable = 0;
    }
    return SaveBookFile(m_book, m_dataFile.GetString(), 1, error);
}

int CClipBookWindow::WriteDataFile()
{
    if (m_dataFile.IsEmpty())
        return 0;
    DWORD error = 0;
    if (SaveDataFile(&error))
        return 1;
    CText reason, text;
    SystemErrorText(error, reason);
    text.FormatResource(IDS_DATA_FILE_NOT_WRITTEN, m_dataFile.GetString(), reason.GetString());
    CDataFileLocation::ShowMessage(text);
    return 0;
}
