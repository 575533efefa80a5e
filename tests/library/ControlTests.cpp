#include <gtest/gtest.h>

#include <string>

#include "Controls.h"
#include "TestApp.h"
#include "Text.h"
#include "UiTestResources.h"

namespace {

// A visible top-level window to hold the controls of one test.
class ControlParent : public testing::Test {
protected:
    void SetUp() override
    {
        m_parent = CreateWindowExA(0, "STATIC", "Control parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 500,
                                   400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    std::string ClassOf(HWND window)
    {
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        return name;
    }

    HWND m_parent = nullptr;
};

const RECT kRect = {10, 20, 210, 140};

} // namespace

TEST_F(ControlParent, EachWrapperCreatesItsControlWithIdPlaceAndStyle)
{
    CEditControl edit;
    CStatusBar status;
    CReBar rebar;
    CToolBar toolbar;
    CTreeView tree;
    CComboBoxEx combo;
    const DWORD style = WS_CHILD | WS_VISIBLE;
    ASSERT_TRUE(edit.Create(style | ES_AUTOHSCROLL, kRect, m_parent, 101));
    ASSERT_TRUE(status.Create(style | CCS_NORESIZE, kRect, m_parent, 102));
    ASSERT_TRUE(rebar.Create(style | CCS_NORESIZE | CCS_NOPARENTALIGN, kRect, m_parent, 107));
    ASSERT_TRUE(toolbar.Create(style | CCS_NORESIZE | CCS_NOPARENTALIGN, kRect, m_parent, 104));
    ASSERT_TRUE(tree.Create(style | TVS_HASLINES, kRect, m_parent, 106));
    ASSERT_TRUE(combo.Create(style | CBS_DROPDOWNLIST, kRect, m_parent, 105));

    const struct {
        HWND window;
        const char* className;
        int id;
    } expected[] = {
        {edit.GetHandle(), "Edit", 101},          {status.GetHandle(), STATUSCLASSNAMEA, 102},
        {rebar.GetHandle(), REBARCLASSNAMEA, 107}, {toolbar.GetHandle(), TOOLBARCLASSNAMEA, 104},
        {tree.GetHandle(), WC_TREEVIEWA, 106},    {combo.GetHandle(), WC_COMBOBOXEXA, 105},
    };
    for (const auto& control : expected) {
        SCOPED_TRACE(control.className);
        EXPECT_EQ(0, lstrcmpiA(control.className, ClassOf(control.window).c_str()));
        EXPECT_EQ(control.id, GetDlgCtrlID(control.window));
        EXPECT_EQ(m_parent, GetParent(control.window));
        EXPECT_EQ(0, GetWindowTextLengthA(control.window));
    }
    // Only the edit field has the sunken edge.
    EXPECT_TRUE(GetWindowLongA(edit.GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(GetWindowLongA(tree.GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    // Position and size come from the rectangle's corners.
    RECT placed;
    GetWindowRect(edit.GetHandle(), &placed);
    MapWindowPoints(nullptr, m_parent, (POINT*)&placed, 2);
    EXPECT_EQ(10, placed.left);
    EXPECT_EQ(20, placed.top);
    EXPECT_EQ(200, placed.right - placed.left);
    EXPECT_EQ(120, placed.bottom - placed.top);
}

TEST_F(ControlParent, ToolbarKnowsTheButtonRecordSizeOfThisBuild)
{
    CToolBar toolbar;
    RECT rect = {0, 0, 300, 40};
    ASSERT_TRUE(toolbar.Create(WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, rect, m_parent, 104));
    // With a wrong record size the control would step through the array at
    // the wrong stride and read the second button from the wrong bytes.
    TBBUTTON buttons[3] = {};
    const int ids[] = {40015, 40016, 40017};
    for (int i = 0; i < 3; i++) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = ids[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_BUTTON;
        buttons[i].dwData = 0x1234 + i;
    }
    ASSERT_TRUE(toolbar.Send(TB_ADDBUTTONSA, 3, (LPARAM)buttons));
    EXPECT_EQ(3, (int)toolbar.Send(TB_BUTTONCOUNT));
    for (int i = 0; i < 3; i++) {
        TBBUTTON read = {};
        ASSERT_TRUE(toolbar.Send(TB_GETBUTTON, i, (LPARAM)&read));
        EXPECT_EQ(ids[i], read.idCommand);
        EXPECT_EQ((DWORD_PTR)(0x1234 + i), read.dwData);
    }
    EXPECT_TRUE(toolbar.CheckButton(40016, 1));
    EXPECT_TRUE(toolbar.Send(TB_ISBUTTONCHECKED, 40016));
    EXPECT_TRUE(toolbar.EnableButton(40017, 0));
    EXPECT_FALSE(toolbar.Send(TB_ISBUTTONENABLED, 40017));
}

namespace {

int g_structSizeMessages = 0;

LRESULT CALLBACK CountStructSize(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && ((CWPSTRUCT*)lParam)->message == TB_BUTTONSTRUCTSIZE)
        g_structSizeMessages++;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK RefuseToolbars(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        char name[64] = "";
        GetClassNameA((HWND)wParam, name, sizeof name);
        if (lstrcmpiA(name, TOOLBARCLASSNAMEA) == 0)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(ControlParent, FailedCreationReturnsZeroLeavesNoHandleAndSendsNothing)
{
    HHOOK calls = SetWindowsHookExA(WH_CALLWNDPROC, CountStructSize, nullptr, GetCurrentThreadId());
    HHOOK refusal = SetWindowsHookExA(WH_CBT, RefuseToolbars, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, calls);
    ASSERT_NE(nullptr, refusal);
    g_structSizeMessages = 0;

    CToolBar refused;
    EXPECT_EQ(0, refused.Create(WS_CHILD | WS_VISIBLE, kRect, m_parent, 104));
    EXPECT_EQ(nullptr, refused.GetHandle());
    EXPECT_EQ(0, g_structSizeMessages);
    UnhookWindowsHookEx(refusal);

    // The same hook sees the message of a creation that succeeds.
    CToolBar created;
    EXPECT_EQ(1, created.Create(WS_CHILD | WS_VISIBLE, kRect, m_parent, 104));
    EXPECT_EQ(1, g_structSizeMessages);
    UnhookWindowsHookEx(calls);

    // A parent that is no window fails every wrapper the same way.
    CTreeView orphan;
    EXPECT_EQ(0, orphan.Create(WS_CHILD, kRect, (HWND)(UINT_PTR)0x7ff0, 106));
    EXPECT_EQ(nullptr, orphan.GetHandle());
}

TEST_F(ControlParent, TreeViewInsertsReadsRenamesAndHitTestsItems)
{
    CTreeView tree;
    RECT rect = {0, 0, 300, 300};
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS, rect, m_parent, 106));
    HTREEITEM root = tree.InsertTextItem("Clipbook", 0, 5, TVI_ROOT, TVI_LAST);
    ASSERT_NE(nullptr, root);
    HTREEITEM page = tree.InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE, "Page 1", 1, 2, 0, 0,
                                     (LPARAM)0xBEEF, root, TVI_LAST);
    HTREEITEM second = tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "Page 2", 0, 0, 0, 0, 77, root, TVI_LAST);
    ASSERT_NE(nullptr, page);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ((LPARAM)0xBEEF, tree.GetItemData(page));
    EXPECT_EQ(77, tree.GetItemData(second));

    // The text item's selected image is not in its mask, so the control
    // keeps its default.
    TVITEMA item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = root;
    tree.Send(TVM_GETITEMA, 0, (LPARAM)&item);
    EXPECT_EQ(0, item.iImage);
    EXPECT_EQ(0, item.iSelectedImage);

    EXPECT_TRUE(tree.SetItemText(page, "Renamed page"));
    CText text;
    EXPECT_EQ(12, tree.GetItemText(page, text));
    EXPECT_STREQ("Renamed page", text.GetString());

    EXPECT_EQ(root, tree.GetRoot());
    EXPECT_EQ(page, tree.GetChildItem(root));
    EXPECT_EQ(second, tree.GetNextSibling(page));
    EXPECT_EQ(root, tree.GetParentItem(second));
    EXPECT_TRUE(tree.Expand(root));
    EXPECT_TRUE(tree.SelectItem(second));
    EXPECT_EQ(second, tree.GetSelection());

    RECT itemRect;
    ASSERT_TRUE(TreeView_GetItemRect(tree.GetHandle(), page, &itemRect, TRUE));
    POINT inside = {(itemRect.left + itemRect.right) / 2, (itemRect.top + itemRect.bottom) / 2};
    EXPECT_EQ(page, tree.HitTest(inside, nullptr));
    UINT flags = 0;
    EXPECT_EQ(page, tree.HitTest(inside, &flags));
    EXPECT_TRUE(flags & TVHT_ONITEMLABEL);
    POINT below = {10, 290};
    flags = 0;
    EXPECT_EQ(nullptr, tree.HitTest(below, &flags));
    EXPECT_TRUE(flags & TVHT_NOWHERE);

    EXPECT_TRUE(tree.DeleteItem(second));
    EXPECT_EQ(nullptr, tree.GetNextSibling(page));
    EXPECT_EQ(-1, tree.GetItemText(second, text));
}

TEST_F(ControlParent, ComboBoxExHoldsItemsAndShowsItsInnerCombo)
{
    CComboBoxEx combo;
    RECT rect = {0, 0, 200, 200};
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, rect, m_parent, 105));
    HWND inner = combo.GetComboControl();
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(combo.GetHandle(), GetParent(inner));
    CImageList images;
    ASSERT_TRUE(images.Load(IDB_UI_STRIP, 16, 0, RGB(192, 192, 192)));
    combo.SetImageList(images.GetHandle());
    EXPECT_EQ(images.GetHandle(), (HIMAGELIST)combo.Send(CBEM_GETIMAGELIST));
    EXPECT_EQ(0, combo.InsertItem(-1, "Text", 0, 0, 1));
    EXPECT_EQ(1, combo.InsertItem(-1, "Bitmap", 1, 1, 2));
    EXPECT_EQ(0, combo.InsertItem(0, "First", 2, 2, 3));
    EXPECT_EQ(3, (int)SendMessageA(inner, CB_GETCOUNT, 0, 0));
    combo.SetImageList(nullptr);
}

TEST_F(ControlParent, ListBoxTextOfItemsLongShortAndMissing)
{
    HWND window = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 200, m_parent, (HMENU)1012,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    std::string longText(700, 'x');
    longText += "end";
    SendMessageA(window, LB_ADDSTRING, 0, (LPARAM)"Accessories");
    SendMessageA(window, LB_ADDSTRING, 0, (LPARAM)"");
    SendMessageA(window, LB_ADDSTRING, 0, (LPARAM)longText.c_str());
    CListBox list(window);
    CText text("stale");
    EXPECT_EQ(11, list.GetText(0, text));
    EXPECT_STREQ("Accessories", text.GetString());
    EXPECT_EQ(0, list.GetText(1, text));
    EXPECT_STREQ("", text.GetString());
    EXPECT_EQ((int)longText.size(), list.GetText(2, text));
    EXPECT_EQ(longText, text.GetString());
    EXPECT_EQ(LB_ERR, list.GetText(3, text));
    EXPECT_STREQ("", text.GetString());
    EXPECT_EQ(LB_ERR, list.GetText(-1, text));
}

TEST_F(ControlParent, ScrollBarInfoSetsAndReadsRangeAndPosition)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 200, 200,
                                  m_parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    CScrollBarInfo vertical(window, SB_VERT);
    CScrollBarInfo horizontal(window, SB_HORZ);
    vertical.SetInfo(0, 100, 10, 30, SIF_ALL, TRUE);
    EXPECT_EQ(30, vertical.GetPos());
    EXPECT_EQ(100, vertical.GetMax());
    // Positions are kept within maximum - page + 1.
    vertical.SetPos(500, TRUE);
    EXPECT_EQ(91, vertical.GetPos());
    vertical.SetPos(-5, FALSE);
    EXPECT_EQ(0, vertical.GetPos());
    // The bars are separate.
    horizontal.SetInfo(0, 40, 0, 7, SIF_RANGE | SIF_POS, TRUE);
    EXPECT_EQ(7, horizontal.GetPos());
    EXPECT_EQ(100, vertical.GetMax());
    EXPECT_EQ(40, horizontal.GetMax());
    // A window that is gone answers zeros.
    DestroyWindow(window);
    EXPECT_EQ(0, vertical.GetPos());
    EXPECT_EQ(0, vertical.GetMax());
}

TEST_F(ControlParent, StatusBarPartTextAndControlStyleChanges)
{
    CStatusBar status;
    ASSERT_TRUE(status.Create(WS_CHILD | WS_VISIBLE | CCS_NORESIZE, kRect, m_parent, 102));
    EXPECT_TRUE(status.SetPartText(0, "Ready", SBT_NOBORDERS));
    char text[32] = "";
    LRESULT answer = status.Send(SB_GETTEXTA, 0, (LPARAM)text);
    EXPECT_STREQ("Ready", text);
    EXPECT_EQ(SBT_NOBORDERS, (int)HIWORD(answer));

    CEditControl edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, kRect, m_parent, 101));
    EXPECT_TRUE(edit.ModifyStyle(0, ES_READONLY, 0));
    EXPECT_TRUE(GetWindowLongA(edit.GetHandle(), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(edit.ModifyStyle(WS_VISIBLE, 0, SWP_FRAMECHANGED));
    EXPECT_FALSE(IsWindowVisible(edit.GetHandle()));
}

TEST(ImageList, LoadTwiceFreesTheFirstListAndDestroyEmpties)
{
    CImageList images;
    EXPECT_EQ(1, images.Destroy());
    ASSERT_EQ(1, images.Load(IDB_UI_STRIP, 16, 0, RGB(192, 192, 192)));
    HIMAGELIST first = images.GetHandle();
    EXPECT_EQ(4, ImageList_GetImageCount(first));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(first, &cx, &cy);
    EXPECT_EQ(16, cx);
    EXPECT_EQ(16, cy);

    ASSERT_EQ(1, images.Load(IDB_UI_STRIP, 32, 0, RGB(192, 192, 192)));
    HIMAGELIST second = images.GetHandle();
    EXPECT_EQ(2, ImageList_GetImageCount(second));
    // The first list is gone: destroying it again fails (unless the new
    // list took over its memory).
    if (second != first) {
        EXPECT_FALSE(ImageList_Destroy(first));
    }

    EXPECT_EQ(1, images.Destroy());
    EXPECT_EQ(nullptr, images.GetHandle());
    EXPECT_EQ(1, images.Destroy());
    // A missing resource leaves no list.
    EXPECT_EQ(0, images.Load(9999, 16, 0, RGB(192, 192, 192)));
    EXPECT_EQ(nullptr, images.GetHandle());
}
