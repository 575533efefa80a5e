// The frame follows the real clipboard: Display menu entries, combo box
// items, the Paste button and Auto Format, and the views it opens.
#include <shlobj.h>
#include <string.h>

#include <algorithm>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "TestApp.h"
#include "TextView.h"
#include "resource.h"

namespace {
std::string MenuText(HMENU menu, int position)
{
    char text[256] = "";
    GetMenuStringA(menu, (UINT)position, text, sizeof text, MF_BYPOSITION);
    return text;
}

ULONG_PTR MenuItemData(HMENU menu, int position)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    GetMenuItemInfoA(menu, (UINT)position, TRUE, &item);
    return item.dwItemData;
}

std::string ViewText(const CFormatView* view)
{
    if (view == nullptr || view->GetSize() == 0)
        return std::string();
    const char* data = (const char*)view->GetData();
    return std::string(data, strnlen(data, view->GetSize()));
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool PutRegistered(const std::vector<UINT>& formats)
{
    std::vector<ClipboardEntry> entries;
    for (UINT format : formats)
        entries.push_back({format, MakeGlobalBlock("data", 4)});
    return PutOnClipboard(entries);
}

// Every entry of the menu bar and of its popups except Display, which is
// told apart by its title wherever it stands.
std::vector<std::string> MenusBesideDisplay(HWND frame, HMENU* display)
{
    std::vector<std::string> entries;
    HMENU bar = GetMenu(frame);
    for (int position = 0; position < GetMenuItemCount(bar); position++) {
        std::string title = MenuText(bar, position);
        HMENU popup = GetSubMenu(bar, position);
        if (title == "&Display") {
            *display = popup;
            continue;
        }
        entries.push_back(title);
        for (int k = 0; popup != nullptr && k < GetMenuItemCount(popup); k++)
            entries.push_back(title + ": " + MenuText(popup, k) + " " + std::to_string(GetMenuItemID(popup, k)) + " " +
                              std::to_string(GetMenuState(popup, (UINT)k, MF_BYPOSITION)));
    }
    return entries;
}
} // namespace

class FormatListTest : public FrameTest {
protected:
    // The Display menu's fixed entries before the separator of the formats.
    static const int kFixed = CViewerFrame::kFixedDisplayEntries;
    // The Display menu and the combo box list the clipboard's formats.
    void ExpectListed(const std::vector<UINT>& formats)
    {
        HMENU display = nullptr;
        MenusBesideDisplay(Frame(), &display);
        ASSERT_EQ(display, m_frame->GetDisplayMenu());
        bool any = !formats.empty();
        ASSERT_EQ(kFixed + (any ? 1 : 0) + (int)formats.size(), GetMenuItemCount(display));
        ASSERT_EQ(1 + (int)formats.size(), ComboCount());
        EXPECT_EQ("Auto", ComboText(0));
        EXPECT_EQ(any ? FormatIconIndex(formats[0]) : 3, ComboImage(0)) << "item 0 shows the first format's icon";
        EXPECT_EQ(any, IsWindowEnabled(m_frame->GetFormatCombo().GetHandle()) != 0);
        EXPECT_EQ(any, !(GetMenuState(display, ID_DISPLAY_AUTO_FORMAT, MF_BYCOMMAND) & MF_GRAYED));
        EXPECT_EQ(any, m_frame->GetToolBar().Send(TB_ISBUTTONENABLED, ID_EDIT_PASTE) != 0);
        if (any) {
            EXPECT_TRUE(GetMenuState(display, kFixed, MF_BYPOSITION) & MF_SEPARATOR);
        }
        for (size_t k = 0; k < formats.size(); k++) {
            int position = kFixed + 1 + (int)k;
            EXPECT_EQ((UINT)(ID_FORMAT_FIRST + k), GetMenuItemID(display, position));
            EXPECT_EQ(formats[k], MenuItemData(display, position));
            CText name;
            LoadFormatName(formats[k], name);
            EXPECT_EQ(name.GetString(), ComboText(1 + (int)k)) << "format " << formats[k];
            EXPECT_EQ(FormatIconIndex(formats[k]), ComboImage(1 + (int)k)) << "format " << formats[k];
        }
    }

    // A clipboard change leaves every other menu alone and lists exactly the
    // new formats in Display, whose entries then open those formats.
    void ChangeAndChooseEachEntry(const std::vector<UINT>& formats)
    {
        HMENU display = nullptr;
        std::vector<std::string> beside = MenusBesideDisplay(Frame(), &display);
        ASSERT_TRUE(PutRegistered(formats));
        ASSERT_TRUE(WaitForComboCount(1 + (int)formats.size()));
        EXPECT_EQ(beside, MenusBesideDisplay(Frame(), &display));
        std::vector<UINT> listed = ClipboardFormats();
        ExpectListed(listed);
        for (size_t k = 0; k < listed.size(); k++) {
            Command(ID_FORMAT_FIRST + (UINT)k);
            CText name;
            LoadFormatName(listed[k], name);
            EXPECT_EQ(std::string(name.GetString()) + " (Binary)", WindowText(m_frame->GetActiveChild()));
        }
    }

    // A maximised child puts its system menu first in the menu bar. After
    // the maximised view has closed itself because its format left the
    // clipboard, the list follows the next change as well.
    void FollowChangesWhileMaximised(bool maximiseView)
    {
        std::vector<UINT> f;
        for (const char* name : {"Max A", "Max B", "Max C", "Max D", "Max E", "Max F", "Max G"})
            f.push_back(RegisterClipboardFormatA((std::string("Vellmora ") + name).c_str()));
        ASSERT_TRUE(PutRegistered({f[0], f[1]}));
        ASSERT_TRUE(WaitForComboCount(3));
        HWND maximised = m_frame->GetClipBook().GetHandle();
        if (maximiseView) {
            Command(ID_FORMAT_FIRST);
            ASSERT_EQ(1, ViewCount());
            maximised = NewestView()->GetHandle();
        }
        SendMessageA(m_frame->GetClient(), WM_MDIMAXIMIZE, (WPARAM)maximised, 0);
        ASSERT_TRUE(IsZoomed(maximised));
        ASSERT_NE("&Display", MenuText(GetMenu(Frame()), 2)) << "the child's system menu stands first";

        ChangeAndChooseEachEntry({f[0], f[2], f[3]});
        ASSERT_TRUE(PutRegistered({f[4]}));
        ASSERT_TRUE(PumpUntil([&] { return ViewCount() == 0; })) << "the views' formats are gone";
        ExpectListed(ClipboardFormats());
        ChangeAndChooseEachEntry({f[5], f[6]});
    }
};

TEST_F(FormatListTest, MaximisedViewLeavesTheOtherMenusAlone) { FollowChangesWhileMaximised(true); }

TEST_F(FormatListTest, MaximisedClipbookLeavesTheOtherMenusAlone) { FollowChangesWhileMaximised(false); }

TEST_F(FormatListTest, EntriesFollowTheClipboardFromEmptyToThreeFormatsAndBack)
{
    ExpectListed({});
    Command(ID_DISPLAY_AUTO_FORMAT);
    EXPECT_EQ(0, ViewCount()) << "Auto Format with no format opens nothing";

    UINT registered = RegisterClipboardFormatA("Vellmora &Test Alpha");
    ASSERT_TRUE(PutOnClipboard({{CF_DIF, MakeGlobalBlock("dif", 3)},
                                {CF_TIFF, MakeGlobalBlock("tiff", 4)},
                                {registered, MakeGlobalBlock("alpha", 5)}}));
    ASSERT_TRUE(WaitForComboCount(4));
    std::vector<UINT> formats = ClipboardFormats();
    ExpectListed(formats);
    size_t alpha = std::find(formats.begin(), formats.end(), registered) - formats.begin();
    EXPECT_EQ("Vellmora &Test Alpha", MenuText(m_frame->GetDisplayMenu(), kFixed + 1 + (int)alpha))
        << "the menu keeps '&'";

    ASSERT_TRUE(EmptyClipboardAsOther());
    ASSERT_TRUE(WaitForComboCount(1));
    ExpectListed({});
}

// Wine, like Windows, adds CF_LOCALE, CF_OEMTEXT and CF_UNICODETEXT when
// CF_TEXT is put.
TEST_F(FormatListTest, SynthesizedTextFormatsAreListedWithTheirNamesAndIcons)
{
    ASSERT_TRUE(PutTextOnClipboard("some text"));
    std::vector<UINT> formats = ClipboardFormats();
    ASSERT_GE(formats.size(), 4u);
    ASSERT_TRUE(WaitForComboCount((int)formats.size() + 1));
    ExpectListed(formats);
    EXPECT_EQ("&Text", MenuText(m_frame->GetDisplayMenu(), kFixed + 1));
    EXPECT_EQ("Text", ComboText(1));
}

TEST_F(FormatListTest, ChangedTailOfTheListIsReplacedInPlace)
{
    UINT alpha = RegisterClipboardFormatA("Vellmora List Alpha");
    UINT beta = RegisterClipboardFormatA("Vellmora List Beta");
    UINT gamma = RegisterClipboardFormatA("Vellmora List Gamma");
    ASSERT_TRUE(PutRegistered({alpha, beta, gamma}));
    ASSERT_TRUE(WaitForComboCount(4));
    std::vector<UINT> first = ClipboardFormats();
    ExpectListed(first);

    const std::vector<std::vector<UINT>> changes = {{first[0], first[1]}, {first[0], first[2], first[1]}, {gamma}};
    for (const std::vector<UINT>& change : changes) {
        ASSERT_TRUE(PutRegistered(change));
        ASSERT_TRUE(WaitForComboCount(1 + (int)change.size()));
        ExpectListed(ClipboardFormats());
    }
}

TEST_F(FrameTest, SameFormatAndKindActivatesTheOpenViewAnotherKindOpensASecond)
{
    ASSERT_TRUE(PutTextOnClipboard("hello world"));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));

    Command(ID_FORMAT_FIRST);
    ASSERT_EQ(1, ViewCount());
    CFormatView* text = NewestView();
    EXPECT_EQ((UINT)kViewText, text->GetKind()) << "Auto picks Text for CF_TEXT";
    EXPECT_EQ("VIEWERTEXT", ClassOf(text->GetHandle()));
    EXPECT_EQ("Text (Text)", WindowText(text->GetHandle()));
    EXPECT_EQ("hello world", ViewText(text));

    Command(ID_VIEW_BINARY);
    Command(ID_FORMAT_FIRST);
    ASSERT_EQ(2, ViewCount());
    CFormatView* binary = NewestView();
    EXPECT_EQ("VIEWERBINARY", ClassOf(binary->GetHandle()));
    EXPECT_EQ("Text (Binary)", WindowText(binary->GetHandle()));
    EXPECT_EQ(binary->GetHandle(), m_frame->GetActiveChild());

    Command(ID_VIEW_TEXT);
    Command(ID_FORMAT_FIRST);
    EXPECT_EQ(2, ViewCount()) << "the text view is reused";
    EXPECT_EQ(text->GetHandle(), m_frame->GetActiveChild());
}

TEST_F(FrameTest, LiveViewReloadsOnceOnChangeAndClosesWhenItsFormatIsGone)
{
    ASSERT_TRUE(PutTextOnClipboard("first"));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));
    Command(ID_DISPLAY_AUTO_FORMAT);
    ASSERT_EQ(1, ViewCount());
    CFormatView* view = NewestView();
    EXPECT_EQ("first", ViewText(view));

    unsigned long copies = CFormatView::GetCopyCount();
    ASSERT_TRUE(PutTextOnClipboard("second, longer"));
    ASSERT_TRUE(PumpUntil([&] { return ViewText(view) == "second, longer"; }));
    PumpMessages(50);
    EXPECT_EQ(copies + 1, CFormatView::GetCopyCount()) << "one copy per view and change";

    ASSERT_TRUE(PutOnClipboard({{CF_DIF, MakeGlobalBlock("dif", 3)}}));
    EXPECT_TRUE(PumpUntil([&] { return ViewCount() == 0; })) << "closed, and its entry removed";
}

TEST_F(FrameTest, LiveViewsOfOneFormatShareOneCopyOfEachChange)
{
    ASSERT_TRUE(PutTextOnClipboard("first"));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));
    // Views of one format and kind are normally reused: several are made
    // directly, beside a Binary view of the same format.
    std::vector<CFormatView*> views;
    for (UINT kind : {kViewText, kViewText, kViewText, kViewBinary}) {
        CFormatView* view = CreateFormatView(CF_TEXT, kind);
        view->SetListEntry(m_frame->GetViewList().AddHead(view));
        ASSERT_TRUE(view->CreateViewWindow(m_frame));
        view->ReloadFromClipboard();
        views.push_back(view);
    }
    unsigned long copies = CFormatView::GetCopyCount();
    ASSERT_TRUE(PutTextOnClipboard("second"));
    ASSERT_TRUE(PumpUntil([&] { return ViewText(views[0]) == "second"; }));
    PumpMessages(50);
    EXPECT_EQ(copies + 1, CFormatView::GetCopyCount()) << "one read and copy for all the views of the format";
    for (CFormatView* view : views) {
        EXPECT_EQ(views[0]->GetData(), view->GetData());
        if (view->GetKind() == kViewText) {
            EXPECT_EQ("second", WindowText(static_cast<CTextView*>(view)->GetTextControl()));
        }
    }
    // A view that goes leaves the others their shared copy.
    SendMessageA(views[0]->GetHandle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return ViewCount() == 3; }));
    EXPECT_EQ("second", ViewText(views[1]));
}

TEST_F(FrameTest, BusyClipboardKeepsTheListAndLiveViewsThenIsReadAgainWhenFree)
{
    ASSERT_TRUE(PutTextOnClipboard("kept"));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));
    Command(ID_DISPLAY_AUTO_FORMAT);
    ASSERT_EQ(1, ViewCount());
    CFormatView* view = NewestView();
    int listed = ComboCount();

    // Another owner changes the clipboard and, before this thread can read
    // it, holds it open for longer than the frame's retry of each open.
    CForeignClipboardOwner holder;
    UINT extra = RegisterClipboardFormatA("Vellmora Busy Extra");
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hold([&] {
        holder.Put({{CF_TEXT, MakeTextBlock("changed")}, {extra, MakeGlobalBlock("x", 1)}});
        holder.Run([&](HWND owner) {
            bool open = OpenClipboardRetry(owner);
            SetEvent(opened);
            WaitForSingleObject(release, 5000);
            if (open)
                CloseClipboard();
            return open;
        });
    });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(opened, 5000));
    PumpMessages(300);
    EXPECT_EQ(listed, ComboCount()) << "a busy clipboard is not an empty one";
    EXPECT_TRUE(IsWindow(view->GetHandle())) << "the live view stays open";
    EXPECT_EQ("kept", ViewText(view));

    // Released, with no further change, the frame reads it again by itself.
    SetEvent(release);
    hold.join();
    CloseHandle(opened);
    CloseHandle(release);
    std::vector<UINT> formats = ClipboardFormats();
    EXPECT_TRUE(PumpUntil([&] { return ComboCount() == (int)formats.size() + 1; }, 10000));
    EXPECT_TRUE(PumpUntil([&] { return ViewText(view) == "changed"; }, 10000));
    EXPECT_FALSE(KillTimer(Frame(), CViewerFrame::kClipboardRetryTimer)) << "no retry left once read";
}

TEST_F(FrameTest, KindThatCannotShowTheFormatShowsTheMessageAndOpensNothing)
{
    ASSERT_TRUE(PutOnClipboard({{CF_DIF, MakeGlobalBlock("dif", 3)}}));
    ASSERT_TRUE(WaitForComboCount(2));
    Command(ID_VIEW_PICTURE);
    CDialogAnswer answer("Error", IDOK);
    Command(ID_FORMAT_FIRST);
    ASSERT_TRUE(answer.Wait());
    EXPECT_EQ("Specifid type is not supported.", answer.Text());
    EXPECT_EQ(0, ViewCount());
}

TEST_F(FrameTest, ComboSelectionOpensLikeTheMenu)
{
    ASSERT_TRUE(PutTextOnClipboard("combo"));
    std::vector<UINT> formats = ClipboardFormats();
    ASSERT_TRUE(WaitForComboCount((int)formats.size() + 1));
    HWND list = m_frame->GetFormatComboList();

    SendMessageA(list, CB_SETCURSEL, 0, 0);
    Command(IDC_FORMAT_COMBO, CBN_SELENDOK);
    ASSERT_EQ(1, ViewCount()) << "item 0 acts as Auto Format";
    EXPECT_EQ(formats[0], NewestView()->GetFormat());

    size_t locale = std::find(formats.begin(), formats.end(), (UINT)CF_LOCALE) - formats.begin();
    ASSERT_LT(locale, formats.size());
    SendMessageA(list, CB_SETCURSEL, locale + 1, 0);
    Command(IDC_FORMAT_COMBO, CBN_SELENDOK);
    ASSERT_EQ(2, ViewCount());
    EXPECT_EQ((UINT)kViewInfo, NewestView()->GetKind()) << "Auto shows a locale as information";
    EXPECT_EQ("Locale (Locale Info)", WindowText(NewestView()->GetHandle()));
}

TEST_F(FrameTest, TheOpenComboListBrowsesAndAChoiceOpensEvenTheSameEntryAgain)
{
    ASSERT_TRUE(PutTextOnClipboard("browse"));
    ASSERT_TRUE(WaitForComboCount(5));
    HWND list = m_frame->GetFormatComboList();
    for (int downs : {2, 0}) {
        SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
        for (int k = 0; k < downs; k++)
            SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(0, ViewCount()) << "browsing opens nothing";
        SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_EQ(1, ViewCount()) << "Enter chooses";
        EXPECT_EQ(2, (int)SendMessageA(list, CB_GETCURSEL, 0, 0));
        SendMessageA(NewestView()->GetHandle(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return ViewCount() == 0; }));
    }
}

TEST_F(FrameTest, ViewModeIsCheckedInTheMenuAndPressedOnTheToolbar)
{
    HMENU menu = GetMenu(Frame());
    const CToolBar& toolBar = m_frame->GetToolBar();
    EXPECT_TRUE(GetMenuState(menu, ID_VIEW_AUTO, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_AUTO));

    for (int twice = 0; twice < 2; twice++) {
        Command(ID_VIEW_INFO);
        EXPECT_EQ((UINT)ID_VIEW_INFO, m_frame->GetViewMode());
        EXPECT_FALSE(GetMenuState(menu, ID_VIEW_AUTO, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_TRUE(GetMenuState(menu, ID_VIEW_INFO, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_FALSE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_AUTO));
        EXPECT_TRUE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_INFO));
    }
}

TEST_F(FrameTest, DestroyNoticeRemovesOnlyEntriesOfTheList)
{
    ASSERT_TRUE(PutTextOnClipboard("notice"));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));
    Command(ID_DISPLAY_AUTO_FORMAT);
    ASSERT_EQ(1, ViewCount());

    // Any program can post a registered message: a made-up entry is ignored.
    PostMessageA(Frame(), m_frame->GetDestroyMessage(), 0, 0);
    PostMessageA(Frame(), m_frame->GetDestroyMessage(), 0, (LPARAM)0x12345678);
    PumpMessages(30);
    EXPECT_EQ(1, ViewCount());

    SendMessageA(NewestView()->GetHandle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(1, ViewCount()) << "the entry goes when the notice arrives";
    Command(ID_DISPLAY_AUTO_FORMAT);
    ASSERT_EQ(2, ViewCount()) << "a closed view still listed is not reused";
    EXPECT_TRUE(PumpUntil([&] { return ViewCount() == 1; }));
    EXPECT_TRUE(IsWindow(NewestView()->GetHandle()));
}

TEST_F(FrameTest, EditDeleteEmptiesTheClipboardAndDroppedFilesRestoreTheCursor)
{
    ASSERT_TRUE(PutTextOnClipboard("to be deleted"));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));
    Command(ID_EDIT_DELETE);
    EXPECT_TRUE(ClipboardFormats().empty());
    EXPECT_TRUE(WaitForComboCount(1));

    const char names[] = "C:\\notes.txt\0ab\0C:\\archive.cbf.bak\0";
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof names);
    DROPFILES* drop = (DROPFILES*)GlobalLock(block);
    drop->pFiles = sizeof(DROPFILES);
    memcpy(drop + 1, names, sizeof names);
    GlobalUnlock(block);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    SendMessageA(Frame(), WM_DROPFILES, (WPARAM)block, 0);
    EXPECT_EQ(arrow, GetCursor());
}
