// The frame in the clipboard viewer chain with other viewers that join and
// leave before and after it.
#include <gtest/gtest.h>

#include "ClipboardHelper.h"
#include "FrameFixture.h"
#include "TestApp.h"

namespace {
// A well-behaved viewer of another program: counts the notices it gets and
// passes notices and chain changes on.
class CTestViewer {
public:
    CTestViewer()
    {
        static ATOM atom = RegisterViewerClass();
        m_window = CreateWindowExA(0, MAKEINTATOM(atom), "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~CTestViewer()
    {
        Leave();
        DestroyWindow(m_window);
    }
    void Join()
    {
        m_next = SetClipboardViewer(m_window);
        m_joined = true;
        PumpMessages(20);
        notices = 0;
    }
    void Leave()
    {
        if (m_joined)
            ChangeClipboardChain(m_window, m_next);
        m_joined = false;
    }
    HWND Window() const { return m_window; }
    HWND Next() const { return m_next; }

    int notices = 0;
    HWND lastRemoved = nullptr;

private:
    static ATOM RegisterViewerClass()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VellmoraTestViewer";
        return ::RegisterClassA(&windowClass);
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CTestViewer* viewer = (CTestViewer*)GetWindowLongPtrA(window, GWLP_USERDATA);
        if (viewer == nullptr || (message != WM_DRAWCLIPBOARD && message != WM_CHANGECBCHAIN))
            return DefWindowProcA(window, message, wParam, lParam);
        if (message == WM_DRAWCLIPBOARD) {
            viewer->notices++;
        } else {
            viewer->lastRemoved = (HWND)wParam;
            if ((HWND)wParam == viewer->m_next) {
                viewer->m_next = (HWND)lParam;
                return 0;
            }
        }
        if (viewer->m_next != nullptr)
            SendMessageA(viewer->m_next, message, wParam, lParam);
        return 0;
    }

    HWND m_window = nullptr;
    HWND m_next = nullptr;
    bool m_joined = false;
};
} // namespace

TEST_F(FrameTest, ViewerJoiningAfterTheFramePassesNoticesOnToIt)
{
    CTestViewer later;
    later.Join();
    EXPECT_EQ(Frame(), later.Next());
    ASSERT_TRUE(PutTextOnClipboard("through the later viewer"));
    EXPECT_TRUE(PumpUntil([&] { return later.notices > 0 && ComboCount() > 1; }));

    later.Leave();
    EXPECT_EQ(Frame(), GetClipboardViewer());
    int notices = later.notices;
    ASSERT_TRUE(EmptyClipboardAsOther());
    EXPECT_TRUE(WaitForComboCount(1)) << "the frame, now first, still hears of changes";
    EXPECT_EQ(notices, later.notices);
}

TEST_F(FrameTest, FramePassesOnOthersChainChangesAndFollowsItsOwn)
{
    DestroyFrame();
    CTestViewer first, second;
    first.Join();
    second.Join();
    HWND beyond = first.Next();
    CreateFrame();
    ASSERT_EQ(second.Window(), m_frame->GetNextViewer()) << "the chain runs frame, second, first";

    first.Leave();
    EXPECT_EQ(first.Window(), second.lastRemoved) << "the frame sent the change on";
    EXPECT_EQ(second.Window(), m_frame->GetNextViewer());
    EXPECT_EQ(beyond, second.Next());

    second.Leave();
    EXPECT_EQ(beyond, m_frame->GetNextViewer()) << "the leaving viewer's successor";
    ASSERT_TRUE(PutTextOnClipboard("after both left"));
    EXPECT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));
    PumpMessages(30);
    EXPECT_EQ(0, first.notices + second.notices);
}

TEST_F(FrameTest, ClosedFrameLeavesTheChainToItsNextViewer)
{
    DestroyFrame();
    CTestViewer earlier;
    earlier.Join();
    CreateFrame();
    ASSERT_EQ(Frame(), GetClipboardViewer());

    DestroyFrame();
    EXPECT_EQ(earlier.Window(), GetClipboardViewer());
    ASSERT_TRUE(PutTextOnClipboard("no frame any more"));
    EXPECT_TRUE(PumpUntil([&] { return earlier.notices > 0; }));
}
