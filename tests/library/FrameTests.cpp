#include <vector>

#include <gtest/gtest.h>

#include "AppThread.h"
#include "Frame.h"
#include "TestApp.h"
#include "TestResources.h"

namespace {

const char* const kFrameClass = "VLMTESTMDIFRAME";
const char* const kChildClass = "VLMTESTMDICHILD";

class CTestChild : public CMdiChild {
public:
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override
    {
        if (LOWORD(wParam) == ID_TEST_CHILD_ONLY) {
            m_commands.push_back(LOWORD(wParam));
            return 1;
        }
        return CMdiChild::OnCommand(wParam, code, control);
    }
    LRESULT OnNcActivate(BOOL active) override
    {
        m_ncActivations++;
        return CMdiChild::OnNcActivate(active);
    }
    std::vector<UINT> m_commands;
    int m_ncActivations = 0;
};

// Records the commands that fall through to the frame's own default.
class CTestFrame : public CMdiFrame {
public:
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND) {
            m_defaultCommands.push_back(LOWORD(wParam));
            return LOWORD(wParam) == ID_TEST_FRAME_ONLY;
        }
        return CMdiFrame::DefaultProc(message, wParam, lParam);
    }
    int OnCreateHook(CREATESTRUCTA* create) override { return m_refuseCreation ? 0 : CMdiFrame::OnCreateHook(create); }

    std::vector<UINT> m_defaultCommands;
    int m_refuseCreation = 0;
};

class MdiFrameTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        HCURSOR arrow = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        RegisterWindowClass(kFrameClass, 0, arrow, (HBRUSH)(COLOR_APPWORKSPACE + 1), nullptr);
        RegisterMdiChildClass(kChildClass, 0, arrow, (HBRUSH)(COLOR_WINDOW + 1), nullptr);
    }

    void CreateFrame(DWORD style = WS_OVERLAPPEDWINDOW, UINT menu = IDM_TEST_FRAME)
    {
        RECT rect = {0, 0, 640, 480};
        ASSERT_EQ(1, m_frame.CreateFrame(kFrameClass, "Frame", style | WS_CLIPCHILDREN, &rect, nullptr,
                                         MAKEINTRESOURCEA(menu), 0));
        ASSERT_NE(nullptr, m_frame.GetClient());
    }

    CTestChild* AddChild(DWORD style = WS_VISIBLE | WS_OVERLAPPEDWINDOW, DWORD exStyle = 0)
    {
        m_children.push_back(new CTestChild);
        CTestChild* child = m_children.back();
        EXPECT_EQ(1, child->Create(kChildClass, "Child", style, nullptr, &m_frame));
        if (exStyle != 0)
            child->ModifyExStyle(0, exStyle, SWP_FRAMECHANGED);
        return child;
    }

    HWND Active() const { return (HWND)SendMessageA(m_frame.GetClient(), WM_MDIGETACTIVE, 0, 0); }
    LONG_PTR ClientExStyle() const { return GetWindowLongPtrA(m_frame.GetClient(), GWL_EXSTYLE); }

    void TearDown() override
    {
        if (m_frame.GetHandle() != nullptr)
            DestroyWindow(m_frame.GetHandle());
        for (CTestChild* child : m_children)
            delete child;
    }

    CTestFrame m_frame;
    std::vector<CTestChild*> m_children;
};

} // namespace

TEST_F(MdiFrameTest, ClientIsCreatedWithItsEdgeIdAndTheWindowMenu)
{
    CreateFrame();
    HWND client = m_frame.GetClient();
    EXPECT_EQ(CMdiFrame::kClientId, GetDlgCtrlID(client));
    EXPECT_TRUE(ClientExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(nullptr, m_frame.GetActiveChild());
    EXPECT_EQ(m_frame.GetHandle(), m_frame.GetActiveView());

    HMENU windowMenu = GetSubMenu(GetMenu(m_frame.GetHandle()), 1);
    EXPECT_EQ(windowMenu, m_frame.FindWindowMenu(GetMenu(m_frame.GetHandle())));
    int before = GetMenuItemCount(windowMenu);
    AddChild();
    EXPECT_GT(GetMenuItemCount(windowMenu), before) << "the client lists its children in the window menu";
}

TEST_F(MdiFrameTest, MenuWithoutWindowItemsStillGetsAClientAndUsesTheSecondLastPopup)
{
    CreateFrame(WS_OVERLAPPEDWINDOW, IDM_TEST_NO_WINDOW_ITEMS);
    HMENU menu = GetMenu(m_frame.GetHandle());
    EXPECT_EQ(nullptr, m_frame.FindWindowMenu(menu));
    EXPECT_EQ(nullptr, m_frame.FindWindowMenu(nullptr));
    HMENU secondLast = GetSubMenu(menu, 1);
    int before = GetMenuItemCount(secondLast);
    AddChild();
    EXPECT_GT(GetMenuItemCount(secondLast), before);
}

TEST_F(MdiFrameTest, ScrollBarStylesMoveFromTheFrameToTheClient)
{
    CreateFrame(WS_OVERLAPPEDWINDOW | WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongPtrA(m_frame.GetHandle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(GetWindowLongPtrA(m_frame.GetClient(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(MdiFrameTest, RefusedCreationHookFailsTheFrame)
{
    m_frame.m_refuseCreation = 1;
    EXPECT_EQ(0, m_frame.CreateFrame(kFrameClass, "Refused", WS_OVERLAPPEDWINDOW, nullptr, nullptr, nullptr, 0));
}

TEST_F(MdiFrameTest, CommandsGoToTheActiveChildFirst)
{
    CreateFrame();
    CTestChild* child = AddChild();
    EXPECT_EQ(child->GetHandle(), m_frame.GetActiveChild());

    EXPECT_EQ(1, SendMessageA(m_frame.GetHandle(), WM_COMMAND, ID_TEST_CHILD_ONLY, 0));
    EXPECT_EQ(1u, child->m_commands.size());
    EXPECT_TRUE(m_frame.m_defaultCommands.empty()) << "handled by the child, never seen by the frame";

    EXPECT_EQ(1, SendMessageA(m_frame.GetHandle(), WM_COMMAND, ID_TEST_FRAME_ONLY, 0));
    EXPECT_EQ(1u, m_frame.m_defaultCommands.size());
    EXPECT_EQ(0, SendMessageA(m_frame.GetHandle(), WM_COMMAND, ID_TEST_COMMAND, 0)) << "nobody handles it";

    EXPECT_EQ(0, SendMessageA(m_frame.GetHandle(), WM_COMMAND, IDOK, 0));
    EXPECT_EQ(2u, m_frame.m_defaultCommands.size()) << "id 1 never reaches OnCommand";
}

TEST_F(MdiFrameTest, WindowMenuChildIdsActivateThroughTheFrameDefault)
{
    CreateFrame();
    CTestChild* first = AddChild();
    CTestChild* second = AddChild();
    EXPECT_EQ(second->GetHandle(), Active());
    SendMessageA(m_frame.GetHandle(), WM_COMMAND, CMdiFrame::kFirstChildId, 0);
    EXPECT_EQ(first->GetHandle(), Active());
}

TEST_F(MdiFrameTest, FrameActivationReachesTheActiveChild)
{
    CreateFrame();
    CTestChild* child = AddChild();
    child->m_ncActivations = 0;
    SendMessageA(m_frame.GetHandle(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_GE(child->m_ncActivations, 1);
}

TEST_F(MdiFrameTest, MaximizedVisibleChildIsActivatedAndTheClientLosesItsEdge)
{
    CreateFrame();
    CTestChild* child = AddChild(WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW);
    BOOL maximized = FALSE;
    EXPECT_EQ(child->GetHandle(), m_frame.GetActiveChild(&maximized));
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(IsZoomed(child->GetHandle()));
    EXPECT_FALSE(ClientExStyle() & WS_EX_CLIENTEDGE) << "a maximized child without an edge of its own";

    ShowWindow(child->GetHandle(), SW_RESTORE);
    child->UpdateClientEdge();
    EXPECT_TRUE(ClientExStyle() & WS_EX_CLIENTEDGE) << "the edge returns with the restored child";
}

TEST_F(MdiFrameTest, MaximizedChildWithItsOwnEdgeKeepsTheClientEdge)
{
    CreateFrame();
    CTestChild* child = AddChild(WS_VISIBLE | WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE);
    ShowWindow(child->GetHandle(), SW_MAXIMIZE);
    child->UpdateClientEdge();
    EXPECT_TRUE(ClientExStyle() & WS_EX_CLIENTEDGE);
}

TEST_F(MdiFrameTest, HiddenChildrenAreNotActiveAndShowChoosesTheMaximizedState)
{
    CreateFrame();
    CTestChild* hidden = AddChild(WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(nullptr, m_frame.GetActiveChild()) << "an invisible child does not count";

    CTestChild* maximized = AddChild(WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(maximized->GetHandle(), m_frame.GetActiveChild());
    hidden->Show(-1);
    EXPECT_TRUE(IsWindowVisible(hidden->GetHandle()));
    EXPECT_TRUE(IsZoomed(hidden->GetHandle())) << "shown maximized like the active child";

    SendMessageA(m_frame.GetClient(), WM_MDIACTIVATE, (WPARAM)hidden->GetHandle(), 0);
    hidden->Show(SW_HIDE);
    EXPECT_NE(hidden->GetHandle(), m_frame.GetActiveChild()) << "hiding the active child moves activation on";
}

TEST_F(MdiFrameTest, DestroyRemovesTheChildAndKeepsTheFrameStyle)
{
    CreateFrame();
    CTestChild* child = AddChild(WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW);
    LONG_PTR frameStyle = GetWindowLongPtrA(m_frame.GetHandle(), GWL_STYLE);
    HWND window = child->GetHandle();
    EXPECT_EQ(1, child->Destroy());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(frameStyle, GetWindowLongPtrA(m_frame.GetHandle(), GWL_STYLE));
    EXPECT_EQ(0, child->Destroy()) << "no window left to destroy";
    EXPECT_TRUE(ClientExStyle() & WS_EX_CLIENTEDGE) << "no active child: the edge is back";
}

TEST(FrameWindow, AcceleratorsMenuAndTheLoopEndingOnQuit)
{
    static int registered = RegisterWindowClass("VLMTESTFRAME", 0, nullptr, (HBRUSH)(COLOR_WINDOW + 1), nullptr);
    ASSERT_EQ(1, registered);
    CFrameWindow frame;
    EXPECT_EQ(0, frame.LoadAccelerators(MAKEINTRESOURCEA(999)));
    EXPECT_EQ(1, frame.LoadAccelerators(MAKEINTRESOURCEA(IDA_TEST_FRAME)));
    PostQuitMessage(5);
    EXPECT_EQ(1, frame.CreateAndRun("VLMTESTFRAME", "Loop", WS_OVERLAPPEDWINDOW, nullptr, nullptr,
                                    MAKEINTRESOURCEA(IDM_TEST_FRAME), 0));
    EXPECT_NE(nullptr, frame.GetMenu());
    EXPECT_EQ(frame.GetMenu(), GetMenu(frame.GetHandle()));
    EXPECT_TRUE(IsWindowVisible(frame.GetHandle()));
    DestroyWindow(frame.GetHandle());

    CFrameWindow missing;
    EXPECT_EQ(0, missing.CreateAndRun("NO SUCH CLASS", "", WS_OVERLAPPEDWINDOW, nullptr, nullptr, nullptr, 0));
}
