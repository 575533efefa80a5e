// The rebar with its two bands, the toolbar toggles, menu help, tool tips,
// the clock, the layout and the About box.
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "FrameFixture.h"
#include "TestApp.h"
#include "resource.h"

namespace {
REBARBANDINFOA Band(const CViewerFrame* frame, int index)
{
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE;
    EXPECT_TRUE(frame->GetReBar().Send(RB_GETBANDINFOA, (WPARAM)index, (LPARAM)&band));
    return band;
}

UINT ToolBandHeight(const CViewerFrame* frame)
{
    return Band(frame, (int)frame->GetReBar().Send(RB_IDTOINDEX, IDC_TOOLBAR)).cyMinChild;
}

bool PopupChecked(const CViewerFrame* frame, UINT command)
{
    return (GetMenuState(frame->GetPopupMenus(), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

RECT ChildRect(HWND parent, HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, (POINT*)&rect, 2);
    return rect;
}

void CollectTexts(HWND dialog, void* context)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        *(std::string*)context += WindowText(child) + "|";
}
} // namespace

TEST_F(FrameTest, FirstStartShowsToolbarThenFormatBandWithEveryOption)
{
    EXPECT_EQ(15u, m_frame->GetToolbarStyle());
    EXPECT_NE(0, SendMessageA(Frame(), WM_GETICON, ICON_BIG, 0));
    ASSERT_EQ(2, (int)m_frame->GetReBar().Send(RB_GETBANDCOUNT));
    REBARBANDINFOA toolBand = Band(m_frame, 0), comboBand = Band(m_frame, 1);
    EXPECT_EQ(m_frame->GetToolBar().GetHandle(), toolBand.hwndChild);
    EXPECT_EQ(45u, toolBand.cyMinChild) << "labels, large and flat buttons";
    EXPECT_EQ(m_frame->GetFormatCombo().GetHandle(), comboBand.hwndChild);
    EXPECT_EQ(22u, comboBand.cyMinChild);
    EXPECT_FALSE(comboBand.fStyle & RBBS_BREAK) << "both bands on one row";

    const CToolBar& toolBar = m_frame->GetToolBar();
    ASSERT_EQ(13, (int)toolBar.Send(TB_BUTTONCOUNT));
    const int commands[13] = {40002, 40003, 0, 40016, 40014, 40015, 40004, 0, 40019, 40020, 40021, 40022, 40023};
    for (int i = 0; i < 13; i++) {
        TBBUTTON button = {};
        toolBar.Send(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button);
        EXPECT_EQ(commands[i], button.idCommand) << "button " << i;
    }
    char label[32] = "";
    toolBar.Send(TB_GETBUTTONTEXTA, ID_EDIT_PASTE, (LPARAM)label);
    EXPECT_STREQ("&Paste", label);
    EXPECT_TRUE(GetWindowLongPtrA(toolBar.GetHandle(), GWL_STYLE) & TBSTYLE_TOOLTIPS);
    for (UINT command : {ID_TOOLBAR_FLAT, ID_TOOLBAR_LABELS, ID_TOOLBAR_TIPS, ID_TOOLBAR_LARGE})
        EXPECT_TRUE(PopupChecked(m_frame, command)) << command;
}

TEST_F(FrameTest, TogglesRebuildTheToolbarAndSetTheBandHeight)
{
    HWND client = m_frame->GetClient();
    LONG clientTop = ChildRect(Frame(), client).top;
    Command(ID_VIEW_PICTURE);

    Command(ID_TOOLBAR_LABELS);
    EXPECT_EQ(30u, ToolBandHeight(m_frame));
    EXPECT_FALSE(PopupChecked(m_frame, ID_TOOLBAR_LABELS));
    RECT bar;
    GetClientRect(m_frame->GetReBar().GetHandle(), &bar);
    EXPECT_LT(ChildRect(Frame(), client).top, clientTop) << "the MDI client moves up";
    EXPECT_EQ(bar.bottom + 6, ChildRect(Frame(), client).top);

    HWND oldToolBar = m_frame->GetToolBar().GetHandle();
    Command(ID_TOOLBAR_FLAT);
    EXPECT_EQ(oldToolBar, m_frame->GetToolBar().GetHandle()) << "flat buttons only change the style";
    EXPECT_FALSE(GetWindowLongPtrA(oldToolBar, GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_EQ(30u, ToolBandHeight(m_frame)) << "the band keeps its height until a rebuild";

    Command(ID_TOOLBAR_LARGE);
    EXPECT_FALSE(IsWindow(oldToolBar));
    EXPECT_EQ(25u, ToolBandHeight(m_frame)) << "small buttons, not flat";
    const CToolBar& toolBar = m_frame->GetToolBar();
    EXPECT_TRUE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_PICTURE)) << "the new toolbar shows the view mode";
    EXPECT_FALSE(toolBar.Send(TB_ISBUTTONENABLED, ID_EDIT_PASTE)) << "and Paste's state";

    Command(ID_TOOLBAR_TIPS);
    EXPECT_FALSE(GetWindowLongPtrA(m_frame->GetToolBar().GetHandle(), GWL_STYLE) & TBSTYLE_TOOLTIPS);
    EXPECT_EQ(0u, m_frame->GetToolbarStyle());
    Command(ID_TOOLBAR_LABELS);
    EXPECT_EQ(40u, ToolBandHeight(m_frame));
}

TEST_F(FrameTest, ToolTipsAndMenuHelpComeFromTheStringTable)
{
    NMTTDISPINFOA tip = {};
    tip.hdr.idFrom = ID_EDIT_PASTE;
    tip.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(Frame(), WM_NOTIFY, ID_EDIT_PASTE, (LPARAM)&tip);
    ASSERT_TRUE(IS_INTRESOURCE(tip.lpszText));
    char text[128] = "";
    LoadStringA(tip.hinst, (UINT)(UINT_PTR)tip.lpszText, text, sizeof text);
    EXPECT_STREQ("Paste clipboard to clipbook", text);

    const struct {
        UINT item, flags;
        const char* help;
    } selections[] = {
        {ID_EDIT_PASTE, MF_STRING, "Paste clipboard to clipbook"},
        {ID_FORMAT_FIRST + 3, MF_STRING, "Shows clipboard as specific format"},
        {SC_MINIMIZE, MF_SYSMENU, "Reduces the window to an icon"},
        {2, MF_POPUP, ""},
        {41234, MF_STRING, ""},
    };
    for (const auto& selection : selections) {
        SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(selection.item, selection.flags), (LPARAM)GetMenu(Frame()));
        EXPECT_EQ(selection.help, StatusText(0)) << selection.item;
    }
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(ID_EDIT_PASTE, MF_STRING), (LPARAM)GetMenu(Frame()));
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(m_frame->GetClipboardStatus(), StatusText(0)) << "a closing menu brings the owner line back";
    EXPECT_EQ(0u, StatusText(0).find("Owner: ")) << StatusText(0);
}

TEST_F(FrameTest, ClockShowsTheLocalTimeOnItsOwnTimer)
{
    EXPECT_EQ("", StatusText(1));
    SendMessageA(Frame(), WM_TIMER, 7, 0);
    EXPECT_EQ("", StatusText(1)) << "other timers are ignored";
    char before[100] = "", after[100] = "";
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, before, sizeof before);
    SendMessageA(Frame(), WM_TIMER, CViewerFrame::kClockTimer, 0);
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, after, sizeof after);
    std::string shown = StatusText(1);
    EXPECT_TRUE(shown == before || shown == after) << shown;
}

TEST_F(FrameTest, SizeLaysOutRebarClientAndStatusBar)
{
    SendMessageA(Frame(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    RECT bar;
    GetClientRect(m_frame->GetReBar().GetHandle(), &bar);
    RECT client = ChildRect(Frame(), m_frame->GetClient());
    EXPECT_EQ(0, client.left);
    EXPECT_EQ(bar.bottom + 6, client.top);
    EXPECT_EQ(600, client.right);
    EXPECT_EQ(382, client.bottom) << "height 400 - H - 24 from H + 6";
    EXPECT_EQ(382, ChildRect(Frame(), m_frame->GetStatusBar().GetHandle()).top);
    int edges[2] = {};
    ASSERT_EQ(2, (int)m_frame->GetStatusBar().Send(SB_GETPARTS, 2, (LPARAM)edges));
    EXPECT_EQ(540, edges[0]);
    EXPECT_EQ(600, edges[1]);

    SendMessageA(Frame(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(382, ChildRect(Frame(), m_frame->GetStatusBar().GetHandle()).top) << "minimising moves nothing";
}

TEST_F(FrameTest, ClickedViewButtonSetsTheModeAndAboutBoxEndsWithItsButton)
{
    HWND toolBar = m_frame->GetToolBar().GetHandle();
    RECT button;
    ASSERT_TRUE(SendMessageA(toolBar, TB_GETRECT, ID_VIEW_BINARY, (LPARAM)&button));
    LPARAM point = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(toolBar, WM_LBUTTONUP, 0, point);
    EXPECT_EQ((UINT)ID_VIEW_BINARY, m_frame->GetViewMode());

    std::string texts;
    CDialogAnswer about("About:", 1000, 0, 5000, CollectTexts, &texts);
    Command(ID_HELP_ABOUT);
    ASSERT_TRUE(about.Wait());
    EXPECT_NE(std::string::npos, texts.find("|Vellmora V1.1|OK|")) << texts;
}
