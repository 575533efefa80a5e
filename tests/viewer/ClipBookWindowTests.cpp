// The clipbook window inside a real frame: page rules, its tree and popups,
// the dialogs that open and save clip files, and what damaged files do on
// every way in.
#include <string.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ClipDataSamples.h"
#include "ClipFileDialogs.h"
#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "TestApp.h"
#include "resource.h"

using namespace std::string_literals;

namespace {

typedef std::vector<std::string> Names;
// What a test does to a dialog before the answer presses its button; it
// runs on the answering thread.
typedef std::function<void(HWND dialog)> Driver;

void RunDriver(HWND dialog, void* driver) { (*(Driver*)driver)(dialog); }

// Runs work while another thread holds the clipboard open.
void WhileClipboardHeld(const std::function<void()>& work)
{
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        bool open = OpenClipboardRetry(nullptr);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        if (open)
            CloseClipboard();
    });
    WaitForSingleObject(opened, 5000);
    work();
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
}

Driver TypeName(const char* name)
{
    return [=](HWND dialog) { SetDlgItemTextA(dialog, CInputDialog::kEditId, name); };
}

// Fills in a file dialog: notes the entry chosen in list 1008, ticks check
// box 1007 when asked, and types the path.
Driver TypePath(const std::string& path, bool tick = false, std::string* chosen = nullptr)
{
    return [=](HWND dialog) {
        if (chosen != nullptr)
            *chosen = WindowText(FindControl(dialog, IDC_SAVE_CHOICE));
        if (tick)
            SendMessageA(FindControl(dialog, IDC_OPEN_TO_CLIPBOOK), BM_CLICK, 0, 0);
        SetWindowTextA(FileNameField(dialog), path.c_str());
    };
}

// Notes the path an option dialog shows and clicks a radio button (none
// keeps the dialog's choice).
Driver Choose(int radio, std::string* shown = nullptr)
{
    return [=](HWND dialog) {
        if (shown != nullptr)
            *shown = ControlText(dialog, IDC_OPTION_PATH);
        if (radio != 0)
            SendDlgItemMessageA(dialog, radio, BM_CLICK, 0, 0);
    };
}

class ClipBookTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        // A folder whose name is long enough for any shortened path.
        m_scratch = MakeScratchDirectory("clipbook");
        m_folder = m_scratch + "\\a folder with a name long enough to be shortened";
        CreateDirectoryA(m_folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        RemoveTree(m_scratch);
        EmptyClipboardAsOther();
    }

    CClipBookWindow& Window() { return m_frame->GetClipBook(); }
    const CTreeView& Tree() { return Window().GetTree(); }
    std::string Path(const char* name) const { return m_folder + "\\" + name; }
    HTREEITEM PageItem(int index)
    {
        HTREEITEM item = Tree().GetChildItem(Window().GetRootItem());
        while (item != nullptr && index-- > 0)
            item = Tree().GetNextSibling(item);
        return item;
    }
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

    // Starts something (a menu command, a drop) and answers the modal
    // dialog it brings up once the driver has filled it in.
    bool Answered(const char* caption, int button, Driver driver, const std::function<void()>& start)
    {
        CDialogAnswer answer(caption, button, 0, 15000, RunDriver, &driver);
        start();
        return answer.Wait();
    }
    // The message of the error that follows the answered dialog.
    std::string ErrorAfter(const char* caption, int button, Driver driver, const std::function<void()>& start)
    {
        CDialogAnswer error("Error", IDOK, GetCurrentProcessId());
        EXPECT_TRUE(Answered(caption, button, driver, start));
        return error.Wait() ? error.Text() : "<no error>";
    }
    std::function<void()> Menu(UINT command) { return [=] { Command(command); }; }
    // A file dropped on the frame, as the shell drops it.
    std::function<void()> Drop(const std::string& path)
    {
        return [=] {
            DROPFILES header = {sizeof header, {0, 0}, FALSE, FALSE};
            std::string files = std::string((const char*)&header, sizeof header) + path + std::string(2, '\0');
            SendMessageA(Frame(), WM_DROPFILES, (WPARAM)MakeGlobalBlock(files.data(), files.size()), 0);
        };
    }
    void Paste(const char* name)
    {
        ASSERT_TRUE(Answered("New Clipbook Page", CDialogBox::kOkId, TypeName(name), Menu(ID_EDIT_PASTE))) << name;
    }
    // A clipbook file with two pages, "One" and "Two", one text each.
    std::string SaveTwoPages()
    {
        CClipBook book;
        book.Append(Page("One", {Block("Text", CF_TEXT, "One\0"s)}));
        book.Append(Page("Two", {Block("Text", CF_TEXT, "Two\0"s)}));
        EXPECT_TRUE(SaveBookFile(book, Path("two.cbf").c_str(), 0));
        return Path("two.cbf");
    }

    std::string m_scratch, m_folder;
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
    ASSERT_FALSE(formats.empty());
    EXPECT_EQ("Text", formats[0]);

    // While another program holds the clipboard, Cut keeps the page.
    Select(PageItem(1));
    WhileClipboardHeld([&] { Command(ID_EDIT_CUT); });
    EXPECT_EQ(4u, PageNames().size());

    // Cut puts the page on the clipboard, so pasting brings it back.
    ASSERT_TRUE(EmptyClipboardAsOther());
    Select(PageItem(1));
    Command(ID_EDIT_CUT);
    EXPECT_EQ(Names({"Page", "Page(3)", "page(4)"}), PageNames());
    Paste("Page");
    EXPECT_EQ(Names({"Page", "Page(3)", "page(4)", "Page(2)"}), PageNames());
    EXPECT_EQ(formats, Children(PageItem(3)));
    EXPECT_STREQ("page text", (const char*)Window().GetBook().GetPage(3)->GetRecord(0)->GetData());

    // Neither a change of letter case nor a taken name renames.
    std::string refusal;
    Select(PageItem(0));
    ASSERT_TRUE(Answered("Rename Clipbook Page", CDialogBox::kOkId, TypeName("PAGE"), Menu(ID_PAGE_RENAME)));
    Driver refused = [&](HWND dialog) {
        TypeName("page(3)")(dialog);
        PressButton(dialog, CDialogBox::kOkId);
        WaitUntilGone(dialog);
        CDialogAnswer box("Rename Clipbook Page", IDOK);
        box.Wait();
        refusal = box.Text();
    };
    ASSERT_TRUE(Answered("Rename Clipbook Page", CDialogBox::kOkId, refused, Menu(ID_PAGE_RENAME)));
    EXPECT_EQ("Name page(3) already exist.", refusal);
    EXPECT_EQ("Page", PageNames()[0]);
    ASSERT_TRUE(Answered("Rename Clipbook Page", CDialogBox::kOkId, TypeName("Fresh"), Menu(ID_PAGE_RENAME)));
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
HMENU g_shownMenu;

// Notes the popup on screen and closes it: TrackPopupMenu runs this
// thread's timers in its own loop.
void CALLBACK ClosePopup(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup == nullptr || !IsWindowVisible(popup))
        return;
    g_shownMenu = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
    EndMenu();
}
} // namespace

TEST_F(ClipBookTest, RightClickShowsTheItemsPopupAndDoubleClickOpensAFormat)
{
    ASSERT_TRUE(PutTextOnClipboard("popup"));
    Window().AddPageFromClipboard("P");
    HTREEITEM root = Window().GetRootItem(), format = Tree().GetChildItem(PageItem(0));
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
        g_shownMenu = nullptr;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, ClosePopup);
        SendMessageA(Window().GetHandle(), WM_CONTEXTMENU, (WPARAM)Tree().GetHandle(), MAKELPARAM(point.x, point.y));
        KillTimer(nullptr, timer);
        EXPECT_EQ(row.popup, g_shownMenu);
        EXPECT_EQ(row.item != nullptr ? row.item : root, Tree().GetSelection()) << "empty space selects nothing";
    }
    // The format popup as it was shown for a text: Auto in bold, Picture
    // grayed.
    EXPECT_EQ((UINT)ID_VIEW_AUTO, GetMenuDefaultItem(GetSubMenu(popups, 2), FALSE, 0));
    EXPECT_TRUE(GetMenuState(GetSubMenu(popups, 2), ID_VIEW_PICTURE, MF_BYCOMMAND) & MF_GRAYED);

    // A double click on a page opens nothing; on a format it opens the page's
    // format in Auto, and again it activates that view.
    NMHDR click = {Tree().GetHandle(), IDC_CLIPBOOK_TREE, (UINT)NM_DBLCLK};
    for (HTREEITEM item : {PageItem(0), format, format}) {
        Select(item);
        SendMessageA(Window().GetHandle(), WM_NOTIFY, IDC_CLIPBOOK_TREE, (LPARAM)&click);
    }
    ASSERT_EQ(1, ViewCount());
    EXPECT_EQ((UINT)kViewText, NewestView()->GetKind());
    EXPECT_EQ(Window().GetBook().GetPage(0), NewestView()->GetPage());
}

TEST_F(ClipBookTest, OptionDialogsOpenDroppedFiles)
{
    ASSERT_TRUE(PutTextOnClipboard("dropped page"));
    CClipPage page("");
    ASSERT_TRUE(page.TakeClipboard(Frame()));
    std::string sample = Path("sample.cpf"), book = SaveTwoPages();
    ASSERT_TRUE(SavePageFile(page, sample.c_str()));

    // The page file proposes its title, refuses an empty name and stays.
    std::string shown, proposed, refusal;
    bool stayed = false;
    Driver named = [&](HWND dialog) {
        shown = ControlText(dialog, IDC_OPTION_PATH);
        proposed = ControlText(dialog, IDC_OPTION_PAGE_NAME);
        SetDlgItemTextA(dialog, IDC_OPTION_PAGE_NAME, "");
        CDialogAnswer box("Error", IDOK);
        PressButton(dialog, IDC_OPTION_OPEN);
        box.Wait();
        refusal = box.Text();
        stayed = IsWindowVisible(dialog) != FALSE;
        SetDlgItemTextA(dialog, IDC_OPTION_PAGE_NAME, "Chosen");
    };
    ASSERT_TRUE(Answered("Open Clippage File:", IDC_OPTION_OPEN, named, Drop(sample)));
    EXPECT_EQ("sample", proposed);
    EXPECT_EQ(sample.substr(0, 10) + "...\\sample.cpf", shown);
    EXPECT_EQ("Invalid page name.", refusal);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(Names({"Chosen"}), PageNames());

    // A book is imported, then replaces the book.
    for (int radio : {0, IDC_OPTION_REPLACE})
        ASSERT_TRUE(Answered("Open ClipbookFile:", IDC_OPTION_OPEN, Choose(radio, &shown), Drop(book)));
    EXPECT_EQ(book.substr(0, 10) + "...\\two.cbf", shown);
    EXPECT_EQ(Names({"One", "Two"}), PageNames());
}

TEST_F(ClipBookTest, FileMenuOpensAndSavesPagesAndBooks)
{
    ASSERT_TRUE(PutTextOnClipboard("menu page"));
    Window().AddPageFromClipboard("A");
    Window().AddPageFromClipboard("B");
    std::string chosen;
    Select(Tree().GetChildItem(PageItem(1)));
    ASSERT_TRUE(Answered("Save As", IDOK, TypePath(Path("b.cpf"), false, &chosen), Menu(ID_FILE_SAVE_AS)));
    EXPECT_EQ("B", chosen) << "the page of the selected format";
    CClipPage saved("");
    ASSERT_TRUE(LoadPageFile(Path("b.cpf").c_str(), saved));
    EXPECT_EQ(Window().GetBook().GetPage(1)->GetCount(), saved.GetCount());

    // Ticked and nameless: a page with the empty name, then "(2)".
    for (int twice = 0; twice < 2; twice++)
        ASSERT_TRUE(Answered("Open", IDOK, TypePath(Path("b.cpf"), true), Menu(ID_FILE_OPEN)));
    EXPECT_EQ(Names({"A", "B", "", "(2)"}), PageNames());

    // The list entry chosen names the page by its position: the page with
    // the empty name is saved, not the clipboard.
    ASSERT_TRUE(PutTextOnClipboard("clipboard now"));
    Select(PageItem(2));
    ASSERT_TRUE(Answered("Save As", IDOK, TypePath(Path("unnamed.cpf"), false, &chosen), Menu(ID_FILE_SAVE_AS)));
    EXPECT_EQ("", chosen);
    CClipPage reloaded("");
    ASSERT_TRUE(LoadPageFile(Path("unnamed.cpf").c_str(), reloaded));
    ASSERT_GT(reloaded.GetCount(), 0);
    EXPECT_STREQ("menu page", (const char*)reloaded.GetRecord(0)->GetData());

    ASSERT_TRUE(Answered("Save As", IDOK, TypePath(Path("book.cbf")), Menu(ID_FILE_SAVE_CLIPBOOK)));
    CClipBook reread;
    ASSERT_TRUE(LoadBookFile(Path("book.cbf").c_str(), 0, reread));
    EXPECT_EQ(4, reread.GetCount());
}

TEST_F(ClipBookTest, DamagedFilesGetTheirMessageOnEveryWayInAndLoseNothing)
{
    ASSERT_TRUE(PutTextOnClipboard("kept"));
    Window().AddPageFromClipboard("Kept");
    // Two pages "One" and "Two" of one text record each, and the page file
    // of the first: each damaged by a cut, a size too large, a wrong magic.
    std::string whole = ReadFileBytes(SaveTwoPages());
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
    std::string path = Path("damaged.cbf"), pagePath = Path("damaged.cpf");
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.what);
        WriteFileBytes(path, damage.bytes);
        WriteFileBytes(pagePath, damage.pageBytes);
        {
            // "Open Clipbook..." replaces only after a complete read.
            CDialogAnswer question("Open Clipbook", IDYES);
            EXPECT_EQ("Cannot load clipbook file.",
                      ErrorAfter("Open", IDOK, TypePath(path), Menu(ID_FILE_OPEN_CLIPBOOK)));
        }
        EXPECT_EQ(Names({"Kept"}), PageNames());
        // Dropped, the option dialog's replace choice keeps the book the same
        // way; a damaged page file puts nothing on the clipboard and adds no
        // page.
        EXPECT_EQ("Cannot load clipbook file.",
                  ErrorAfter("Open ClipbookFile:", IDC_OPTION_OPEN, Choose(IDC_OPTION_REPLACE), Drop(path)));
        EXPECT_EQ(Names({"Kept"}), PageNames());
        EXPECT_EQ("Cannot load clippage file.",
                  ErrorAfter("Open Clippage File:", IDC_OPTION_OPEN, Choose(IDC_OPTION_TO_CLIPBOARD), Drop(pagePath)));
        std::string bytes;
        EXPECT_TRUE(ReadClipboardBlock(CF_TEXT, &bytes));
        EXPECT_STREQ("kept", bytes.c_str());
        EXPECT_EQ(Names({"Kept"}), PageNames());
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
    CDialogAnswer told("Error", IDOK, GetCurrentProcessId());
    CreateFrame();
    PumpMessages(200);
    ASSERT_TRUE(told.Wait());
    EXPECT_EQ("The clipbook data file '"s + dataFile.GetString() + "' could not be read. It was kept as '" +
                  backup.GetString() + "'; Vellmora starts with the pages that could be read.",
              told.Text());
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
