// The clipbook window inside a real frame: page rules, its tree and popups,
// the dialogs that open and save clip files, and what damaged files do on
// every way in.
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ClipDataSamples.h"
#include "ClipFileDialogs.h"
#include "ClipFiles.h"
#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "TestApp.h"
#include "resource.h"

using namespace std::string_literals;

namespace {

typedef std::vector<std::string> Names;

// What a dialog driver saw and typed.
struct Reply {
    std::string text;       // typed into the dialog
    std::string boxText;    // the message box that followed
    std::string shownPath;  // static 1015
    std::string proposed;   // the name the dialog proposed
    bool stayed = false;    // the dialog stayed open after the refusal
    std::string selection;  // the entry selected in a list
};

void TypeName(HWND dialog, void* context)
{
    SetDlgItemTextA(dialog, CInputDialog::kEditId, ((Reply*)context)->text.c_str());
}

HWND AnswerBox(const char* caption, Reply* reply)
{
    HWND box = WaitForDialog(caption);
    reply->boxText = MessageBoxText(box);
    PressButton(box, IDOK);
    WaitUntilGone(box);
    return box;
}

// Renames and answers the refusal that follows under the same caption.
void RenameIntoRefusal(HWND dialog, void* context)
{
    TypeName(dialog, context);
    PressButton(dialog, CDialogBox::kOkId);
    WaitUntilGone(dialog);
    AnswerBox("Rename Clipbook Page", (Reply*)context);
}

// Reads the clippage option dialog, is refused an empty name, then types
// the reply's name; the answer presses "Open".
void RefusedThenNamed(HWND dialog, void* context)
{
    Reply* reply = (Reply*)context;
    reply->shownPath = ControlText(dialog, IDC_OPTION_PATH);
    reply->proposed = ControlText(dialog, IDC_OPTION_PAGE_NAME);
    SetDlgItemTextA(dialog, IDC_OPTION_PAGE_NAME, "");
    PressButton(dialog, IDC_OPTION_OPEN);
    AnswerBox("Error", reply);
    reply->stayed = IsWindowVisible(dialog) != FALSE;
    SetDlgItemTextA(dialog, IDC_OPTION_PAGE_NAME, reply->text.c_str());
}

void ChooseReplace(HWND dialog, void* context)
{
    ((Reply*)context)->shownPath = ControlText(dialog, IDC_OPTION_PATH);
    CheckRadioButton(dialog, IDC_OPTION_IMPORT, IDC_OPTION_REPLACE, IDC_OPTION_REPLACE);
}

void ChooseClipboard(HWND dialog, void* context)
{
    CheckRadioButton(dialog, IDC_OPTION_TO_CLIPBOARD, IDC_OPTION_TO_CLIPBOOK, IDC_OPTION_TO_CLIPBOARD);
}

// A file dialog: reads list 1008's selection, ticks check box 1007 when
// asked (the reply's boxText says "tick"), and types the path.
void ChooseFile(HWND dialog, void* context)
{
    Reply* reply = (Reply*)context;
    HWND list = FindControl(dialog, IDC_SAVE_CHOICE);
    char entry[256] = "";
    if (list != nullptr)
        SendMessageA(list, CB_GETLBTEXT, SendMessageA(list, CB_GETCURSEL, 0, 0), (LPARAM)entry);
    reply->selection = entry;
    if (reply->boxText == "tick")
        SendMessageA(FindControl(dialog, IDC_OPEN_TO_CLIPBOOK), BM_CLICK, 0, 0);
    SetWindowTextA(FileNameField(dialog), reply->text.c_str());
}

class ClipBookTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        m_folder = MakeScratchDirectory("clipbook");
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        RemoveTree(m_folder);
        EmptyClipboardAsOther();
    }

    CClipBookWindow& Window() { return m_frame->GetClipBook(); }
    const CTreeView& Tree() { return Window().GetTree(); }
    std::string Path(const char* name) const { return m_folder + "\\" + name; }
    // A path in a folder whose name is long enough for any shortening.
    std::string LongPath(const char* name) const
    {
        std::string folder = Path("a folder with a name long enough to be shortened");
        CreateDirectoryA(folder.c_str(), nullptr);
        return folder + "\\" + name;
    }

    HTREEITEM Child(HTREEITEM parent, int index)
    {
        HTREEITEM item = Tree().GetChildItem(parent);
        while (item != nullptr && index-- > 0)
            item = Tree().GetNextSibling(item);
        return item;
    }
    HTREEITEM PageItem(int index) { return Child(Window().GetRootItem(), index); }
    Names Children(HTREEITEM parent)
    {
        Names names;
        for (HTREEITEM item = Tree().GetChildItem(parent); item != nullptr; item = Tree().GetNextSibling(item)) {
            CText text;
            Tree().GetItemText(item, text);
            names.push_back(text.GetString());
        }
        return names;
    }
    Names PageNames() { return Children(Window().GetRootItem()); }
    void Select(HTREEITEM item) { Tree().Send(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item); }

    // Runs a command whose modal dialog a driver answers.
    bool Answered(UINT command, const char* caption, int button, CDialogAnswer::Action action, Reply* reply)
    {
        CDialogAnswer answer(caption, button, 0, 15000, action, reply);
        Command(command);
        return answer.Wait();
    }
    void Paste(const char* name)
    {
        Reply reply;
        reply.text = name;
        ASSERT_TRUE(Answered(ID_EDIT_PASTE, "New Clipbook Page", CDialogBox::kOkId, TypeName, &reply)) << name;
    }
    // A clipbook file with two pages, "One" and "Two", one text each.
    std::string SaveTwoPages(const char* name)
    {
        CClipBook book;
        for (const char* title : {"One", "Two"}) {
            CClipPage* page = new CClipPage(title);
            CClipFormat* record = new CClipFormat("Text", CF_TEXT);
            record->SetBlock(title, 4);
            page->Append(record);
            book.Append(page);
        }
        EXPECT_TRUE(SaveBookFile(book, LongPath(name).c_str(), 0));
        return LongPath(name);
    }

    std::string m_folder;
};

} // namespace

TEST(ClipFileDialogs, PathsAreShortenedBeyondTheirLimitAndNamesComeFromTheTitle)
{
    // Paths of 40, 41, 45 and 46 characters against the limits 40 and 45.
    for (size_t extra : {0u, 1u, 5u, 6u}) {
        std::string path = "C:\\folder\\" + std::string(26 + extra, 'x') + ".cpf";
        for (int limit : {40, 45}) {
            CText shown;
            ShortenPath(path.c_str(), limit, shown);
            std::string expected = path.size() <= (size_t)limit ? path : "C:\\folder\\..." + path.substr(9);
            EXPECT_EQ(expected, shown.GetString()) << path.size() << " characters, limit " << limit;
        }
    }
    const char* const titles[][2] = {{"C:\\drop\\sample.cpf", "sample"}, {"a.b.cpf", "a.b"}, {".hidden", ".hidden"}};
    for (const auto& row : titles) {
        CText name;
        ProposePageName(row[0], name);
        EXPECT_STREQ(row[1], name.GetString()) << row[0];
    }
}

TEST_F(ClipBookTest, PasteCutCopyRenameAndDeleteFollowThePageRules)
{
    Command(ID_EDIT_PASTE);
    EXPECT_TRUE(PageNames().empty()) << "an empty clipboard asks nothing";
    ASSERT_TRUE(PutTextOnClipboard("page text"));
    for (const char* name : {"Page", "Page", "Page", "page"})
        Paste(name);
    EXPECT_EQ(Names({"Page", "Page(2)", "Page(3)", "page(4)"}), PageNames());
    Names formats = Children(PageItem(1));
    EXPECT_FALSE(formats.empty());
    EXPECT_EQ("Text", formats[0]);

    // Cut puts the page on the clipboard, so pasting brings it back.
    ASSERT_TRUE(EmptyClipboardAsOther());
    Select(PageItem(1));
    Command(ID_EDIT_CUT);
    EXPECT_EQ(Names({"Page", "Page(3)", "page(4)"}), PageNames());
    Paste("Page");
    EXPECT_EQ(Names({"Page", "Page(3)", "page(4)", "Page(2)"}), PageNames());
    EXPECT_EQ(formats, Children(PageItem(3)));
    EXPECT_STREQ("page text", (const char*)Window().GetBook().GetPage(3)->GetRecord(0)->GetData());

    Reply same, taken, fresh;
    same.text = "PAGE";
    taken.text = "page(3)";
    fresh.text = "Fresh";
    Select(PageItem(0));
    ASSERT_TRUE(Answered(ID_PAGE_RENAME, "Rename Clipbook Page", CDialogBox::kOkId, TypeName, &same));
    ASSERT_TRUE(Answered(ID_PAGE_RENAME, "Rename Clipbook Page", CDialogBox::kOkId, RenameIntoRefusal, &taken));
    EXPECT_EQ("Name page(3) already exist.", taken.boxText);
    EXPECT_EQ("Page", PageNames()[0]) << "neither a change of letter case nor a taken name renames";
    ASSERT_TRUE(Answered(ID_PAGE_RENAME, "Rename Clipbook Page", CDialogBox::kOkId, TypeName, &fresh));
    EXPECT_EQ("Fresh", PageNames()[0]);

    // The Delete key: nothing on the root, a format on a format, a page on
    // a page. A page without formats stays, and copying it empties the
    // clipboard.
    Select(Window().GetRootItem());
    Command(ID_DELETE_KEY);
    EXPECT_EQ(4u, PageNames().size());
    while (Tree().GetChildItem(PageItem(0)) != nullptr) {
        Select(Tree().GetChildItem(PageItem(0)));
        Command(ID_DELETE_KEY);
    }
    EXPECT_EQ(4u, PageNames().size());
    EXPECT_EQ(0, Window().GetBook().GetPage(0)->GetCount());
    Select(PageItem(0));
    Command(ID_EDIT_COPY);
    EXPECT_TRUE(ClipboardFormats().empty());
    Command(ID_DELETE_KEY);
    EXPECT_EQ(Names({"Page(3)", "page(4)", "Page(2)"}), PageNames());
}

namespace {
struct MenuSeen {
    HMENU menu;
    UINT defaultItem;
    UINT pictureState;
};
MenuSeen g_menuSeen;

// Notes the popup on screen and closes it: TrackPopupMenu runs this
// thread's timers in its own loop.
void CALLBACK ClosePopup(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup == nullptr || !IsWindowVisible(popup))
        return;
    g_menuSeen.menu = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
    g_menuSeen.defaultItem = GetMenuDefaultItem(g_menuSeen.menu, FALSE, 0);
    g_menuSeen.pictureState = GetMenuState(g_menuSeen.menu, ID_VIEW_PICTURE, MF_BYCOMMAND);
    EndMenu();
}
} // namespace

TEST_F(ClipBookTest, RightClickSelectsTheItemAndShowsItsPopup)
{
    ASSERT_TRUE(PutTextOnClipboard("popup"));
    Window().AddPageFromClipboard("P");
    HTREEITEM root = Window().GetRootItem();
    HTREEITEM format = Tree().GetChildItem(PageItem(0));
    HMENU popups = Window().GetPopupMenus();
    const struct {
        HTREEITEM item;
        HMENU popup;
    } cases[] = {{root, GetSubMenu(popups, 0)}, {PageItem(0), GetSubMenu(popups, 1)}, {format, GetSubMenu(popups, 2)},
                 {nullptr, nullptr}};
    for (const auto& row : cases) {
        Select(root);
        RECT rect = {};
        memcpy(&rect, &row.item, sizeof row.item);
        POINT point = {5, 5000};
        if (row.item != nullptr && Tree().Send(TVM_GETITEMRECT, TRUE, (LPARAM)&rect))
            point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(Tree().GetHandle(), &point);
        g_menuSeen = {};
        UINT_PTR timer = SetTimer(nullptr, 0, 50, ClosePopup);
        SendMessageA(Window().GetHandle(), WM_CONTEXTMENU, (WPARAM)Tree().GetHandle(), MAKELPARAM(point.x, point.y));
        KillTimer(nullptr, timer);
        EXPECT_EQ(row.popup, g_menuSeen.menu);
        EXPECT_EQ(row.item != nullptr ? row.item : root, Tree().GetSelection()) << "empty space selects nothing";
    }
    // The format popup of a text: Auto in bold, Picture grayed.
    Select(format);
    g_menuSeen = {};
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ClosePopup);
    TrackPopupMenu(GetSubMenu(popups, 2), TPM_RIGHTBUTTON, 10, 10, 0, Window().GetHandle(), nullptr);
    KillTimer(nullptr, timer);
    EXPECT_EQ((UINT)ID_VIEW_AUTO, g_menuSeen.defaultItem);
    EXPECT_TRUE(g_menuSeen.pictureState & MF_GRAYED);
}

TEST_F(ClipBookTest, DoubleClickOpensAPageFormatInItsPageView)
{
    UINT fileNameW = RegisterClipboardFormatA("FileNameW");
    ASSERT_TRUE(PutOnClipboard({{fileNameW, MakeGlobalBlock(L"C:\\a.txt", 18)}}));
    Window().AddPageFromClipboard("Files");
    NMHDR click = {Tree().GetHandle(), IDC_CLIPBOOK_TREE, (UINT)NM_DBLCLK};
    Select(PageItem(0));
    SendMessageA(Window().GetHandle(), WM_NOTIFY, IDC_CLIPBOOK_TREE, (LPARAM)&click);
    EXPECT_EQ(0, ViewCount()) << "a page item opens nothing";
    Select(Tree().GetChildItem(PageItem(0)));
    for (int twice = 0; twice < 2; twice++)
        SendMessageA(Window().GetHandle(), WM_NOTIFY, IDC_CLIPBOOK_TREE, (LPARAM)&click);
    ASSERT_EQ(1, ViewCount()) << "the second double click activates the first view";
    EXPECT_EQ((UINT)kViewBinary, NewestView()->GetKind()) << "a page's FileNameW shows its bytes";
    EXPECT_EQ(Window().GetBook().GetPage(0), NewestView()->GetPage());
}

TEST_F(ClipBookTest, OptionDialogsOpenDroppedAndNamedFiles)
{
    ASSERT_TRUE(PutTextOnClipboard("dropped page"));
    CClipPage page("");
    ASSERT_TRUE(page.TakeClipboard(Frame()));
    std::string sample = LongPath("sample.cpf");
    ASSERT_TRUE(SavePageFile(page, sample.c_str()));
    std::string book = SaveTwoPages("two.cbf");

    // The page file proposes its title, refuses an empty name and stays.
    Reply named;
    named.text = "Chosen";
    {
        CDialogAnswer answer("Open Clippage File:", IDC_OPTION_OPEN, 0, 15000, RefusedThenNamed, &named);
        Window().OpenClippageFileByPath(sample.c_str());
        ASSERT_TRUE(answer.Wait());
    }
    EXPECT_EQ("sample", named.proposed);
    std::string shown = sample.substr(0, 10) + "...\\sample.cpf";
    EXPECT_EQ(shown, named.shownPath);
    EXPECT_EQ("Invalid page name.", named.boxText);
    EXPECT_TRUE(named.stayed);
    EXPECT_EQ(Names({"Chosen"}), PageNames());

    // A dropped book is imported, then replaces the book.
    Reply replace;
    for (int round = 0; round < 2; round++) {
        CDialogAnswer answer("Open ClipbookFile:", IDC_OPTION_OPEN, 0, 15000, round ? ChooseReplace : nullptr,
                             &replace);
        HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + book.size() + 2);
        DROPFILES* files = (DROPFILES*)GlobalLock(drop);
        files->pFiles = sizeof(DROPFILES);
        memcpy(files + 1, book.c_str(), book.size());
        GlobalUnlock(drop);
        SendMessageA(Frame(), WM_DROPFILES, (WPARAM)drop, 0);
        ASSERT_TRUE(answer.Wait());
    }
    EXPECT_EQ(book.substr(0, 10) + "...\\two.cbf", replace.shownPath);
    EXPECT_EQ(Names({"One", "Two"}), PageNames());
}

TEST_F(ClipBookTest, FileMenuOpensAndSavesPagesAndBooks)
{
    ASSERT_TRUE(PutTextOnClipboard("menu page"));
    Window().AddPageFromClipboard("A");
    Window().AddPageFromClipboard("B");
    Reply save, open, openAgain, book;
    save.text = Path("b.cpf");
    Select(Child(PageItem(1), 0));
    ASSERT_TRUE(Answered(ID_FILE_SAVE_AS, "Save As", IDOK, ChooseFile, &save));
    EXPECT_EQ("B", save.selection) << "the page of the selected format";
    CClipPage saved("");
    ASSERT_TRUE(LoadPageFile(save.text.c_str(), saved));
    EXPECT_EQ(Window().GetBook().GetPage(1)->GetCount(), saved.GetCount());

    // Ticked and nameless: a page with the empty name, then "(2)".
    open.text = openAgain.text = save.text;
    open.boxText = openAgain.boxText = "tick";
    ASSERT_TRUE(Answered(ID_FILE_OPEN, "Open", IDOK, ChooseFile, &open));
    ASSERT_TRUE(Answered(ID_FILE_OPEN, "Open", IDOK, ChooseFile, &openAgain));
    EXPECT_EQ(Names({"A", "B", "", "(2)"}), PageNames());

    // The list entry chosen names the page by its position: the page with
    // the empty name is saved, not the clipboard.
    Reply unnamed;
    unnamed.text = Path("unnamed.cpf");
    ASSERT_TRUE(PutTextOnClipboard("clipboard now"));
    Select(PageItem(2));
    ASSERT_TRUE(Answered(ID_FILE_SAVE_AS, "Save As", IDOK, ChooseFile, &unnamed));
    EXPECT_EQ("", unnamed.selection);
    CClipPage reloaded("");
    ASSERT_TRUE(LoadPageFile(unnamed.text.c_str(), reloaded));
    ASSERT_GT(reloaded.GetCount(), 0);
    EXPECT_STREQ("menu page", (const char*)reloaded.GetRecord(0)->GetData());

    book.text = Path("book.cbf");
    ASSERT_TRUE(Answered(ID_FILE_SAVE_CLIPBOOK, "Save As", IDOK, ChooseFile, &book));
    CClipBook reread;
    ASSERT_TRUE(LoadBookFile(book.text.c_str(), 0, reread));
    EXPECT_EQ(4, reread.GetCount());
}

TEST_F(ClipBookTest, DamagedFilesGetTheirMessageOnEveryWayInAndLoseNothing)
{
    ASSERT_TRUE(PutTextOnClipboard("kept"));
    Window().AddPageFromClipboard("Kept");
    // Two pages "One" and "Two" of one text record each, and the page file
    // of the first: each damaged by a cut, a size too large, a wrong magic.
    std::string whole = ReadFileBytes(SaveTwoPages("two.cbf"));
    std::string page = "VLMP1\0"s + whole.substr(9, whole.find('\xFE') - 9) + "\xFE\1";
    std::string oversized = whole, oversizedPage = page;
    oversized[whole.size() - 8] = '\x7F';
    oversizedPage[6 + 4 + 5 + 2] = '\x7F';
    const struct {
        const char* what;
        std::string bytes;
        std::string pageBytes;
    } damages[] = {{"truncated", whole.substr(0, whole.size() - 5), page.substr(0, page.size() - 3)},
                   {"oversized", oversized, oversizedPage},
                   {"wrong magic", "VLMX1" + whole.substr(5), "VLMX1" + page.substr(5)}};
    for (const auto& damage : damages) {
        std::string path = Path("damaged.cbf");
        WriteFileBytes(path, damage.bytes);
        Reply yes, reply;
        yes.text = path;
        {
            // "Open Clipbook..." replaces only after a complete read.
            CDialogAnswer question("Open Clipbook", IDYES);
            CDialogAnswer error("Error", IDOK);
            ASSERT_TRUE(Answered(ID_FILE_OPEN_CLIPBOOK, "Open", IDOK, ChooseFile, &yes));
            ASSERT_TRUE(error.Wait()) << damage.what;
            EXPECT_EQ("Cannot load clipbook file.", error.Text());
        }
        EXPECT_EQ(Names({"Kept"}), PageNames()) << damage.what;
        {
            // The option dialog's replace choice keeps the book the same way.
            CDialogAnswer answer("Open ClipbookFile:", IDC_OPTION_OPEN, 0, 15000, ChooseReplace, &reply);
            CDialogAnswer error("Error", IDOK);
            Window().OpenClipbookFileByPath(path.c_str());
            ASSERT_TRUE(error.Wait()) << damage.what;
        }
        EXPECT_EQ(Names({"Kept"}), PageNames()) << damage.what;

        // A damaged page file puts nothing on the clipboard and adds no page.
        std::string pagePath = Path("damaged.cpf");
        WriteFileBytes(pagePath, damage.pageBytes);
        {
            CDialogAnswer answer("Open Clippage File:", IDC_OPTION_OPEN, 0, 15000, ChooseClipboard, &reply);
            CDialogAnswer error("Error", IDOK);
            Window().OpenClippageFileByPath(pagePath.c_str());
            ASSERT_TRUE(error.Wait()) << damage.what;
            EXPECT_EQ("Cannot load clippage file.", error.Text());
        }
        std::string bytes;
        EXPECT_TRUE(ReadClipboardBlock(CF_TEXT, &bytes));
        EXPECT_STREQ("kept", bytes.c_str());
        EXPECT_EQ(Names({"Kept"}), PageNames()) << damage.what;
    }
}

TEST_F(ClipBookTest, AnUnreadableDataFileIsKeptAsideBeforeTheBookIsWritten)
{
    CText dataFile, backup;
    GetDataFilePath(dataFile);
    GetDataFileBackupPath(dataFile.GetString(), backup);
    DeleteFileA(backup.GetString());
    DestroyFrame();
    const std::string damaged = "VLMD1Lost\0"s + "\1\0\0\0Text\0\x40\0\0\0short";
    WriteFileBytes(dataFile.GetString(), damaged);
    CreateFrame();
    EXPECT_EQ(Names({"Lost"}), PageNames()) << "what could be read is shown";
    ASSERT_TRUE(PutTextOnClipboard("new"));
    Window().AddPageFromClipboard("New");
    DestroyFrame();
    EXPECT_EQ(damaged, ReadFileBytes(backup.GetString()));

    // The next start reads the book written at the end of the last run.
    CreateFrame();
    EXPECT_EQ(Names({"Lost", "New"}), PageNames());
    DestroyFrame();
    EXPECT_EQ(damaged, ReadFileBytes(backup.GetString())) << "a readable data file is not kept aside";
    DeleteFileA(backup.GetString());
    CreateFrame();
}
