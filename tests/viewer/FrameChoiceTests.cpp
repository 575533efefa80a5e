// Where the frame's choices land: the format combo box opens a format only
// when one is chosen, and a view opened beside a maximised one opens
// maximised.
#include <gtest/gtest.h>

#include "ClipboardHelper.h"
#include "FrameFixture.h"
#include "TestApp.h"
#include "resource.h"

TEST_F(FrameTest, TheOpenComboListBrowsesAndAChoiceOpensEvenTheSameEntryAgain)
{
    ASSERT_TRUE(PutTextOnClipboard("browse"));
    ASSERT_TRUE(WaitForComboCount(5));
    HWND list = m_frame->GetFormatComboList();
    for (int again = 0; again < 2; again++) {
        SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
        if (again == 0) {
            SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
            SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
        }
        EXPECT_EQ(0, ViewCount()) << "browsing opens nothing";
        SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_EQ(1, ViewCount()) << "Enter chooses";
        EXPECT_EQ(2, (int)SendMessageA(list, CB_GETCURSEL, 0, 0));
        SendMessageA(NewestView()->GetHandle(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return ViewCount() == 0; }));
    }
}

TEST_F(FrameTest, AViewOpenedBesideAMaximisedChildOpensMaximised)
{
    ASSERT_TRUE(PutTextOnClipboard("maximised"));
    ASSERT_TRUE(WaitForComboCount(5));
    HWND client = m_frame->GetClient(), clipbook = m_frame->GetClipBook().GetHandle();
    SendMessageA(client, WM_MDIMAXIMIZE, (WPARAM)clipbook, 0);
    ASSERT_TRUE(IsZoomed(clipbook));
    Command(ID_DISPLAY_AUTO_FORMAT);
    ASSERT_EQ(1, ViewCount());
    HWND view = NewestView()->GetHandle();
    BOOL maximized = FALSE;
    EXPECT_EQ(view, m_frame->GetActiveChild(&maximized));
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(IsZoomed(view));
}
