// The frame follows the real clipboard: Display menu entries, combo box
// items, the Paste button and Auto Format, and the views it opens.
#include <shlobj.h>
#include <string.h>

#include <vector>

#include <gtest/gtest.h>

#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "TestApp.h"
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

std::string WindowTitle(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}
} // namespace

TEST_F(FrameTest, EmptyClipboardShowsOnlyAutoAndDisablesWhatNeedsAFormat)
{
    HMENU display = m_frame->GetDisplayMenu();
    EXPECT_EQ(7, GetMenuItemCount(display));
    ASSERT_EQ(1, ComboCount());
    EXPECT_EQ("Auto", ComboText(0));
    EXPECT_EQ(3, ComboImage(0)) << "the image of format 0";
    EXPECT_FALSE(IsWindowEnabled(m_frame->GetFormatCombo().GetHandle()));
    EXPECT_TRUE(GetMenuState(display, ID_DISPLAY_AUTO_FORMAT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(m_frame->GetToolBar().Send(TB_ISBUTTONENABLED, ID_EDIT_PASTE));

    Command(ID_DISPLAY_AUTO_FORMAT);
    EXPECT_EQ(0, ViewCount()) << "Auto Format with no format opens nothing";
}

TEST_F(FrameTest, ThreeFormatsGiveEntriesAfterASeparatorAndComboItems)
{
    UINT registered = RegisterClipboardFormatA("Vellmora &Test Alpha");
    ASSERT_TRUE(PutOnClipboard({{CF_DIF, MakeGlobalBlock("dif", 3)},
                                {CF_TIFF, MakeGlobalBlock("tiff", 4)},
                                {registered, MakeGlobalBlock("alpha", 5)}}));
    ASSERT_TRUE(WaitForComboCount(4));
    std::vector<UINT> formats = ClipboardFormats();
    ASSERT_EQ(3u, formats.size());

    HMENU display = m_frame->GetDisplayMenu();
    ASSERT_EQ(11, GetMenuItemCount(display));
    EXPECT_TRUE(GetMenuState(display, 7, MF_BYPOSITION) & MF_SEPARATOR);
    for (int k = 0; k < 3; k++) {
        EXPECT_EQ((UINT)(ID_FORMAT_FIRST + k), GetMenuItemID(display, 8 + k));
        EXPECT_EQ(formats[k], MenuItemData(display, 8 + k));
    }
    int registeredPosition = formats[0] == registered ? 0 : formats[1] == registered ? 1 : 2;
    EXPECT_EQ("Vellmora &Test Alpha", MenuText(display, 8 + registeredPosition)) << "the menu keeps the '&'";
    EXPECT_EQ("Vellmora Test Alpha", ComboText(1 + registeredPosition)) << "the combo box drops the first '&'";
    for (int k = 0; k < 3; k++) {
        if (formats[k] == CF_TIFF) {
            EXPECT_EQ("TIFF Bitmap", ComboText(1 + k));
        }
        EXPECT_EQ(3, ComboImage(1 + k));
    }

    EXPECT_TRUE(IsWindowEnabled(m_frame->GetFormatCombo().GetHandle()));
    EXPECT_FALSE(GetMenuState(display, ID_DISPLAY_AUTO_FORMAT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(m_frame->GetToolBar().Send(TB_ISBUTTONENABLED, ID_EDIT_PASTE));
    EXPECT_EQ(0, (int)SendMessageA(m_frame->GetFormatComboList(), CB_GETCURSEL, 0, 0));

    // Emptied by another program: back to the fixed entries.
    ASSERT_TRUE(EmptyClipboardAsOther());
    ASSERT_TRUE(WaitForComboCount(1));
    EXPECT_EQ(7, GetMenuItemCount(display));
    EXPECT_FALSE(m_frame->GetToolBar().Send(TB_ISBUTTONENABLED, ID_EDIT_PASTE));
}

// Wine, like Windows, adds CF_LOCALE, CF_OEMTEXT and CF_UNICODETEXT when
// CF_TEXT is put; each gets its name and icon.
TEST_F(FrameTest, SynthesizedTextFormatsAreListedWithNamesAndIcons)
{
    ASSERT_TRUE(PutTextOnClipboard("some text"));
    std::vector<UINT> formats = ClipboardFormats();
    ASSERT_GE(formats.size(), 4u);
    ASSERT_TRUE(WaitForComboCount((int)formats.size() + 1));
    EXPECT_EQ(CF_TEXT, formats[0]);
    EXPECT_EQ(8, ComboImage(0)) << "item 0 shows the first format's icon";
    for (size_t k = 0; k < formats.size(); k++) {
        const char* name = formats[k] == CF_TEXT ? "Text" : formats[k] == CF_LOCALE ? "Locale"
                         : formats[k] == CF_OEMTEXT ? "OEM Text" : formats[k] == CF_UNICODETEXT ? "Unicode Text" : "";
        EXPECT_EQ(name, ComboText((int)k + 1)) << "format " << formats[k];
        EXPECT_EQ(formats[k] == CF_LOCALE ? 11 : 8, ComboImage((int)k + 1)) << "format " << formats[k];
    }
    EXPECT_EQ("&Text", MenuText(m_frame->GetDisplayMenu(), 8));
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
    EXPECT_EQ("Text (Text)", WindowTitle(text->GetHandle()));
    EXPECT_EQ("hello world", ViewText(text));

    Command(ID_VIEW_BINARY);
    Command(ID_FORMAT_FIRST);
    ASSERT_EQ(2, ViewCount());
    CFormatView* binary = NewestView();
    EXPECT_EQ("VIEWERBINARY", ClassOf(binary->GetHandle()));
    EXPECT_EQ("Text (Binary)", WindowTitle(binary->GetHandle()));
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
    Command(IDC_FORMAT_COMBO, CBN_SELCHANGE);
    ASSERT_EQ(1, ViewCount()) << "item 0 acts as Auto Format";
    EXPECT_EQ(formats[0], NewestView()->GetFormat());

    int localeItem = -1;
    for (size_t k = 0; k < formats.size(); k++)
        if (formats[k] == CF_LOCALE)
            localeItem = (int)k + 1;
    ASSERT_GT(localeItem, 0);
    SendMessageA(list, CB_SETCURSEL, (WPARAM)localeItem, 0);
    Command(IDC_FORMAT_COMBO, CBN_SELCHANGE);
    ASSERT_EQ(2, ViewCount());
    EXPECT_EQ((UINT)CF_LOCALE, NewestView()->GetFormat());
    EXPECT_EQ((UINT)kViewInfo, NewestView()->GetKind()) << "Auto shows a locale as information";
    EXPECT_EQ("Locale (Locale Info)", WindowTitle(NewestView()->GetHandle()));
}

TEST_F(FrameTest, ViewModeIsCheckedInTheMenuAndPressedOnTheToolbar)
{
    HMENU menu = GetMenu(Frame());
    const CToolBar& toolBar = m_frame->GetToolBar();
    EXPECT_TRUE(GetMenuState(menu, ID_VIEW_AUTO, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_AUTO));

    Command(ID_VIEW_INFO);
    EXPECT_EQ((UINT)ID_VIEW_INFO, m_frame->GetViewMode());
    EXPECT_FALSE(GetMenuState(menu, ID_VIEW_AUTO, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, ID_VIEW_INFO, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_AUTO));
    EXPECT_TRUE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_INFO));

    Command(ID_VIEW_INFO);
    EXPECT_TRUE(GetMenuState(menu, ID_VIEW_INFO, MF_BYCOMMAND) & MF_CHECKED) << "choosing it again changes nothing";
    EXPECT_TRUE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_INFO));
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
    EXPECT_TRUE(PumpUntil([&] { return ViewCount() == 0; }));
}

TEST_F(FrameTest, EditDeleteEmptiesTheClipboard)
{
    ASSERT_TRUE(PutTextOnClipboard("to be deleted"));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));
    Command(ID_EDIT_DELETE);
    EXPECT_TRUE(ClipboardFormats().empty());
    EXPECT_TRUE(WaitForComboCount(1));
}

TEST_F(FrameTest, DroppedFilesOfOtherKindsAreIgnoredAndTheCursorComesBack)
{
    const char names[] = "C:\\notes.txt\0ab\0C:\\archive.cbf.bak\0";
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof names);
    ASSERT_NE(nullptr, block);
    DROPFILES* drop = (DROPFILES*)GlobalLock(block);
    drop->pFiles = sizeof(DROPFILES);
    memcpy(drop + 1, names, sizeof names);
    GlobalUnlock(block);

    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    SendMessageA(Frame(), WM_DROPFILES, (WPARAM)block, 0);
    EXPECT_EQ(arrow, GetCursor());
    EXPECT_EQ(0, ViewCount());
}

TEST_F(FrameTest, ChangedTailOfTheFormatListIsReplacedInPlace)
{
    UINT alpha = RegisterClipboardFormatA("Vellmora List Alpha");
    UINT beta = RegisterClipboardFormatA("Vellmora List Beta");
    UINT gamma = RegisterClipboardFormatA("Vellmora List Gamma");
    auto put = [](std::vector<UINT> formats) {
        std::vector<ClipboardEntry> entries;
        for (UINT format : formats)
            entries.push_back({format, MakeGlobalBlock("data", 4)});
        return PutOnClipboard(entries);
    };
    auto expectList = [&](const std::vector<UINT>& expected) {
        HMENU display = m_frame->GetDisplayMenu();
        ASSERT_EQ(8 + (int)expected.size(), GetMenuItemCount(display));
        EXPECT_TRUE(GetMenuState(display, 7, MF_BYPOSITION) & MF_SEPARATOR);
        ASSERT_EQ(1 + (int)expected.size(), ComboCount());
        EXPECT_EQ("Auto", ComboText(0));
        for (size_t k = 0; k < expected.size(); k++) {
            EXPECT_EQ((UINT)(ID_FORMAT_FIRST + k), GetMenuItemID(display, 8 + (int)k));
            EXPECT_EQ(expected[k], MenuItemData(display, 8 + (int)k));
            char name[100] = "";
            GetClipboardFormatNameA(expected[k], name, sizeof name);
            EXPECT_EQ(name, ComboText(1 + (int)k));
        }
    };

    ASSERT_TRUE(put({alpha, beta, gamma}));
    ASSERT_TRUE(WaitForComboCount(4));
    std::vector<UINT> first = ClipboardFormats();
    expectList(first);

    ASSERT_TRUE(put({first[0], first[1]}));
    ASSERT_TRUE(WaitForComboCount(3));
    expectList(ClipboardFormats());

    ASSERT_TRUE(put({first[0], first[2], first[1]}));
    ASSERT_TRUE(WaitForComboCount(4));
    expectList(ClipboardFormats());

    ASSERT_TRUE(put({gamma}));
    ASSERT_TRUE(WaitForComboCount(2));
    expectList(ClipboardFormats());
}
