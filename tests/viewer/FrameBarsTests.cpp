// The rebar with its two bands, the toolbar toggles, the status bar's menu
// help and clock, tool tips and the frame's layout.
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
    band.fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
    EXPECT_TRUE(frame->GetReBar().Send(RB_GETBANDINFOA, (WPARAM)index, (LPARAM)&band));
    return band;
}

UINT ToolBandHeight(const CViewerFrame* frame)
{
    int index = (int)frame->GetReBar().Send(RB_IDTOINDEX, IDC_TOOLBAR);
    return Band(frame, index).cyMinChild;
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
} // namespace

TEST_F(FrameTest, FirstStartShowsToolbarThenFormatBandWithEveryOption)
{
    EXPECT_EQ(15u, m_frame->GetToolbarStyle());
    ASSERT_EQ(2, (int)m_frame->GetReBar().Send(RB_GETBANDCOUNT));
    REBARBANDINFOA toolBand = Band(m_frame, 0);
    REBARBANDINFOA comboBand = Band(m_frame, 1);
    EXPECT_EQ((UINT)IDC_TOOLBAR, toolBand.wID);
    EXPECT_EQ(m_frame->GetToolBar().GetHandle(), toolBand.hwndChild);
    EXPECT_EQ(45u, toolBand.cyMinChild) << "labels, large and flat buttons";
    EXPECT_EQ((UINT)IDC_FORMAT_COMBO, comboBand.wID);
    EXPECT_EQ(m_frame->GetFormatCombo().GetHandle(), comboBand.hwndChild);
    EXPECT_EQ(22u, comboBand.cyMinChild);
    EXPECT_FALSE(comboBand.fStyle & RBBS_BREAK) << "both bands on one row";

    char label[32] = "";
    REBARBANDINFOA text = {};
    text.cbSize = sizeof text;
    text.fMask = RBBIM_TEXT;
    text.lpText = label;
    text.cch = sizeof label;
    m_frame->GetReBar().Send(RB_GETBANDINFOA, 1, (LPARAM)&text);
    EXPECT_STREQ("Format:", label);

    const CToolBar& toolBar = m_frame->GetToolBar();
    ASSERT_EQ(13, (int)toolBar.Send(TB_BUTTONCOUNT));
    const int commands[13] = {40002, 40003, 0, 40016, 40014, 40015, 40004, 0, 40019, 40020, 40021, 40022, 40023};
    for (int i = 0; i < 13; i++) {
        TBBUTTON button = {};
        toolBar.Send(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button);
        EXPECT_EQ(commands[i], button.idCommand) << "button " << i;
        EXPECT_EQ(commands[i] == 0, (button.fsStyle & TBSTYLE_SEP) != 0) << "button " << i;
    }
    char buttonText[32] = "";
    toolBar.Send(TB_GETBUTTONTEXTA, ID_EDIT_PASTE, (LPARAM)buttonText);
    EXPECT_STREQ("&Paste", buttonText);
    LONG_PTR style = GetWindowLongPtrA(toolBar.GetHandle(), GWL_STYLE);
    EXPECT_TRUE(style & TBSTYLE_FLAT);
    EXPECT_TRUE(style & TBSTYLE_TOOLTIPS);
    for (UINT command : {ID_TOOLBAR_FLAT, ID_TOOLBAR_LABELS, ID_TOOLBAR_TIPS, ID_TOOLBAR_LARGE})
        EXPECT_TRUE(PopupChecked(m_frame, command)) << command;
}

TEST_F(FrameTest, TogglesRebuildTheToolbarAndSetTheBandHeight)
{
    HWND client = m_frame->GetClient();
    LONG clientTop = ChildRect(Frame(), client).top;

    Command(ID_TOOLBAR_LABELS);
    EXPECT_EQ(30u, ToolBandHeight(m_frame));
    EXPECT_FALSE(PopupChecked(m_frame, ID_TOOLBAR_LABELS));
    EXPECT_LT(ChildRect(Frame(), client).top, clientTop) << "the MDI client moves up";
    RECT bar;
    GetClientRect(m_frame->GetReBar().GetHandle(), &bar);
    EXPECT_EQ(bar.bottom + 6, ChildRect(Frame(), client).top);

    HWND oldToolBar = m_frame->GetToolBar().GetHandle();
    Command(ID_TOOLBAR_FLAT);
    EXPECT_EQ(oldToolBar, m_frame->GetToolBar().GetHandle()) << "flat buttons only change the style";
    EXPECT_FALSE(GetWindowLongPtrA(oldToolBar, GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_EQ(30u, ToolBandHeight(m_frame)) << "the band keeps its height until a rebuild";

    Command(ID_TOOLBAR_LARGE);
    EXPECT_FALSE(IsWindow(oldToolBar));
    EXPECT_EQ(25u, ToolBandHeight(m_frame)) << "small buttons, not flat";

    Command(ID_TOOLBAR_TIPS);
    EXPECT_FALSE(GetWindowLongPtrA(m_frame->GetToolBar().GetHandle(), GWL_STYLE) & TBSTYLE_TOOLTIPS);
    EXPECT_EQ(0u, m_frame->GetToolbarStyle());
    for (UINT command : {ID_TOOLBAR_FLAT, ID_TOOLBAR_LABELS, ID_TOOLBAR_TIPS, ID_TOOLBAR_LARGE})
        EXPECT_FALSE(PopupChecked(m_frame, command)) << command;

    Command(ID_TOOLBAR_LABELS);
    EXPECT_EQ(40u, ToolBandHeight(m_frame));
    int index = (int)m_frame->GetReBar().Send(RB_IDTOINDEX, IDC_TOOLBAR);
    EXPECT_EQ(m_frame->GetToolBar().GetHandle(), Band(m_frame, index).hwndChild);
}

TEST_F(FrameTest, RebuiltToolbarKeepsTheViewModeAndPasteState)
{
    Command(ID_VIEW_PICTURE);
    Command(ID_TOOLBAR_LARGE);
    const CToolBar& toolBar = m_frame->GetToolBar();
    EXPECT_TRUE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_PICTURE));
    EXPECT_FALSE(toolBar.Send(TB_ISBUTTONCHECKED, ID_VIEW_AUTO));
    EXPECT_FALSE(toolBar.Send(TB_ISBUTTONENABLED, ID_EDIT_PASTE)) << "the clipboard is empty";
}

TEST_F(FrameTest, ToolTipsAndMenuHelpComeFromTheStringTable)
{
    NMTTDISPINFOA tip = {};
    tip.hdr.hwndFrom = Frame();
    tip.hdr.idFrom = ID_EDIT_PASTE;
    tip.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(Frame(), WM_NOTIFY, ID_EDIT_PASTE, (LPARAM)&tip);
    ASSERT_TRUE(IS_INTRESOURCE(tip.lpszText));
    char text[128] = "";
    LoadStringA(tip.hinst, (UINT)(UINT_PTR)tip.lpszText, text, sizeof text);
    EXPECT_STREQ("Paste clipboard to clipbook", text);

    HMENU menu = GetMenu(Frame());
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(ID_EDIT_PASTE, MF_STRING), (LPARAM)menu);
    EXPECT_EQ("Paste clipboard to clipbook", StatusText(0));
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(ID_FORMAT_FIRST + 3, MF_STRING), (LPARAM)menu);
    EXPECT_EQ("Shows clipboard as specific format", StatusText(0));
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(SC_MINIMIZE, MF_STRING | MF_SYSMENU), (LPARAM)menu);
    EXPECT_EQ("Reduces the window to an icon", StatusText(0));
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(2, MF_POPUP), (LPARAM)menu);
    EXPECT_EQ("", StatusText(0)) << "popups show no help";
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(ID_EDIT_PASTE, MF_STRING), (LPARAM)menu);
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("", StatusText(0)) << "a closing menu clears the help";
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(41234, MF_STRING), (LPARAM)menu);
    EXPECT_EQ("", StatusText(0)) << "an id without a string";
}

TEST_F(FrameTest, ClockShowsTheLocalTimeAfterATick)
{
    EXPECT_EQ("", StatusText(1));
    char before[100] = "";
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, before, sizeof before);
    SendMessageA(Frame(), WM_TIMER, CViewerFrame::kClockTimer, 0);
    char after[100] = "";
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, after, sizeof after);
    std::string shown = StatusText(1);
    EXPECT_TRUE(shown == before || shown == after) << shown;
    EXPECT_NE("", shown);

    SendMessageA(m_frame->GetStatusBar().GetHandle(), SB_SETTEXTA, 1, (LPARAM)"unchanged");
    SendMessageA(Frame(), WM_TIMER, 7, 0);
    EXPECT_EQ("unchanged", StatusText(1)) << "other timers are ignored";
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
    RECT status = ChildRect(Frame(), m_frame->GetStatusBar().GetHandle());
    EXPECT_EQ(382, status.top);
    EXPECT_EQ(400, status.bottom);
    int edges[2] = {};
    ASSERT_EQ(2, (int)m_frame->GetStatusBar().Send(SB_GETPARTS, 2, (LPARAM)edges));
    EXPECT_EQ(540, edges[0]);
    EXPECT_EQ(600, edges[1]);

    SendMessageA(Frame(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(382, ChildRect(Frame(), m_frame->GetStatusBar().GetHandle()).top) << "minimising moves nothing";
}

namespace {
void CollectStaticTexts(HWND dialog, void* context)
{
    std::string* texts = (std::string*)context;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[64] = "";
        GetWindowTextA(child, text, sizeof text);
        *texts += std::string(text) + "|";
    }
}
} // namespace

TEST_F(FrameTest, AboutBoxShowsTheVersionAndEndsWithItsButton)
{
    std::string texts;
    CDialogAnswer about("About:", 1000, 0, 5000, CollectStaticTexts, &texts);
    Command(ID_HELP_ABOUT);
    ASSERT_TRUE(about.Wait());
    EXPECT_NE(std::string::npos, texts.find("Vellmora V1.1|")) << texts;
    EXPECT_NE(std::string::npos, texts.find("OK|")) << texts;
}

TEST_F(FrameTest, ClickedToolbarButtonReachesTheFrame)
{
    HWND toolBar = m_frame->GetToolBar().GetHandle();
    RECT button;
    ASSERT_TRUE(SendMessageA(toolBar, TB_GETRECT, ID_VIEW_BINARY, (LPARAM)&button));
    LPARAM point = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(toolBar, WM_LBUTTONUP, 0, point);
    PumpMessages(20);
    EXPECT_EQ((UINT)ID_VIEW_BINARY, m_frame->GetViewMode());
    EXPECT_TRUE(GetMenuState(GetMenu(Frame()), ID_VIEW_BINARY, MF_BYCOMMAND) & MF_CHECKED);
}
