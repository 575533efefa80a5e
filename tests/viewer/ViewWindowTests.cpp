// Format views of clipbook pages beside views of the live clipboard: Auto,
// reuse per page, titles, private copies and their independence from
// clipboard changes.
#include <string.h>

#include <gtest/gtest.h>

#include "BinaryView.h"
#include "ClipFormat.h"
#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "TestApp.h"
#include "resource.h"

namespace {
std::string Title(const CFormatView* view)
{
    char text[256] = "";
    GetWindowTextA(view->GetHandle(), text, sizeof text);
    return text;
}

// Pages are told apart by identity only.
int g_pageA, g_pageB;
const CClipPage* const kPageA = reinterpret_cast<const CClipPage*>(&g_pageA);
const CClipPage* const kPageB = reinterpret_cast<const CClipPage*>(&g_pageB);
} // namespace

TEST_F(FrameTest, PageViewsAreReusedPerPageAndIgnoreClipboardChanges)
{
    CClipFormat record("Text", CF_TEXT);
    ASSERT_TRUE(record.SetBlock("page text", 10));

    ASSERT_TRUE(m_frame->OpenPageFormat(kPageA, "Alpha", record, kViewAuto));
    ASSERT_EQ(1, ViewCount());
    CFormatView* alpha = NewestView();
    EXPECT_EQ((UINT)kViewText, alpha->GetKind());
    EXPECT_EQ("Text (Text) in Alpha", Title(alpha));
    EXPECT_EQ(10u, alpha->GetSize());
    EXPECT_NE(record.GetData(), alpha->GetData()) << "the view holds its own copy";
    EXPECT_STREQ("page text", (const char*)alpha->GetData());
    EXPECT_NE(0, SendMessageA(alpha->GetHandle(), WM_GETICON, ICON_SMALL, 0)) << "each view sets its icons";

    ASSERT_TRUE(m_frame->OpenPageFormat(kPageA, "Alpha", record, kViewText));
    EXPECT_EQ(1, ViewCount()) << "same format, kind and page";
    ASSERT_TRUE(m_frame->OpenPageFormat(kPageB, "Beta", record, kViewAuto));
    ASSERT_EQ(2, ViewCount());
    EXPECT_EQ("Text (Text) in Beta", Title(NewestView()));

    ASSERT_TRUE(PutTextOnClipboard("clipboard text"));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 1; }));
    Command(ID_FORMAT_FIRST);
    ASSERT_EQ(3, ViewCount()) << "the clipboard's CF_TEXT is not a page's";
    CFormatView* live = NewestView();

    ASSERT_TRUE(EmptyClipboardAsOther());
    ASSERT_TRUE(PumpUntil([&] { return ViewCount() == 2; })) << "only the live view closes";
    EXPECT_NE(live, NewestView());
    EXPECT_STREQ("page text", (const char*)alpha->GetData());
}

TEST_F(FrameTest, WideFileNameIsTextOnTheClipboardButBinaryOnAPage)
{
    UINT wideName = RegisterClipboardFormatA("FileNameW");
    const wchar_t path[] = L"C:\\notes.txt";
    ASSERT_TRUE(PutOnClipboard({{wideName, MakeGlobalBlock(path, sizeof path)}}));
    ASSERT_TRUE(WaitForComboCount(2));
    Command(ID_FORMAT_FIRST);
    ASSERT_EQ(1, ViewCount());
    EXPECT_EQ((UINT)kViewText, NewestView()->GetKind());
    EXPECT_EQ("FileNameW (Text)", Title(NewestView()));

    CClipFormat record("FileNameW", wideName);
    ASSERT_TRUE(record.SetBlock(path, sizeof path));
    m_frame->OpenPageFormat(kPageA, "Files", record, kViewAuto);
    ASSERT_EQ(2, ViewCount());
    EXPECT_EQ((UINT)kViewBinary, NewestView()->GetKind());
    EXPECT_EQ("FileNameW (Binary) in Files", Title(NewestView()));
}

TEST_F(FrameTest, HandleFormatsAreKeptAsHandlesWithoutACopy)
{
    HBITMAP bitmap = CreateBitmap(1600, 1200, 1, 32, nullptr);
    CClipFormat record("Bitmap", CF_BITMAP);
    record.AttachHandle(bitmap);
    unsigned long copies = CFormatView::GetCopyCount();

    ASSERT_TRUE(m_frame->OpenPageFormat(kPageA, "Pictures", record, kViewAuto));
    CFormatView* picture = NewestView();
    EXPECT_EQ((UINT)kViewPicture, picture->GetKind());
    EXPECT_EQ((const void*)bitmap, picture->GetData());
    EXPECT_EQ(0u, picture->GetSize());
    EXPECT_EQ(copies, CFormatView::GetCopyCount());
    UpdateWindow(picture->GetHandle());
    LONG_PTR style = GetWindowLongPtrA(picture->GetHandle(), GWL_STYLE);
    EXPECT_TRUE((style & (WS_HSCROLL | WS_VSCROLL)) == (WS_HSCROLL | WS_VSCROLL)) << "a large bitmap scrolls";

    ASSERT_TRUE(m_frame->OpenPageFormat(kPageA, "Pictures", record, kViewInfo));
    EXPECT_EQ("Bitmap (Bitmap Info) in Pictures", Title(NewestView()));

    // Closing the views leaves the page's bitmap alone.
    SendMessageA(picture->GetHandle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return ViewCount() == 1; }));
    BITMAP facts;
    EXPECT_EQ((int)sizeof facts, GetObjectA(bitmap, sizeof facts, &facts));
}

TEST_F(FrameTest, ClipboardViewsOfUnnamedAndHandleFormats)
{
    HENHMETAFILE metafile = CloseEnhMetaFile(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(PutOnClipboard({{CF_DSPTEXT, MakeGlobalBlock("display", 7)}, {CF_ENHMETAFILE, metafile}}));
    ASSERT_TRUE(PumpUntil([&] { return ComboCount() > 2; }));
    m_frame->OpenFormat(CF_DSPTEXT);
    ASSERT_EQ(1, ViewCount());
    EXPECT_EQ("Display Text (Binary)", Title(NewestView())) << "a standard format without a name of its number";
    EXPECT_EQ(7u, NewestView()->GetSize());

    Command(ID_VIEW_BINARY);
    unsigned long copies = CFormatView::GetCopyCount();
    m_frame->OpenFormat(CF_ENHMETAFILE);
    ASSERT_EQ(2, ViewCount());
    EXPECT_EQ(0u, NewestView()->GetSize()) << "an enhanced metafile is kept as its handle";
    EXPECT_NE(nullptr, NewestView()->GetData());
    EXPECT_EQ(copies, CFormatView::GetCopyCount());
}

namespace {
// Reaches the scrolling model that the drawn views share.
class CScrollProbe : public CBinaryView {
public:
    CScrollProbe() : CBinaryView(CF_DIF) {}
    using CFormatView::ApplyScroll;
    using CFormatView::FitScrollRange;
};

SCROLLINFO BarInfo(HWND window, int bar)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    return info;
}
} // namespace

TEST_F(FrameTest, ScrollBarsFollowContentAndScrollMessages)
{
    CScrollProbe probe;
    ASSERT_TRUE(probe.CreateViewWindow(m_frame));
    HWND window = probe.GetHandle();

    probe.FitScrollRange(SB_VERT, 500, 100, 13);
    SCROLLINFO info = BarInfo(window, SB_VERT);
    EXPECT_EQ(0, info.nMin);
    EXPECT_EQ(400, info.nMax);
    EXPECT_EQ(13u, info.nPage);
    EXPECT_EQ(39, probe.ApplyScroll(SB_VERT, SB_PAGEDOWN, 13, 39));
    EXPECT_EQ(26, probe.ApplyScroll(SB_VERT, SB_LINEUP, 13, 39));
    EXPECT_EQ(400 - 13 + 1, probe.ApplyScroll(SB_VERT, SB_BOTTOM, 13, 39)) << "the bar's own limit";

    probe.FitScrollRange(SB_VERT, 600, 100, 13);
    EXPECT_EQ(388, BarInfo(window, SB_VERT).nPos) << "a new range keeps the position";
    probe.FitScrollRange(SB_VERT, 80, 100, 13);
    info = BarInfo(window, SB_VERT);
    EXPECT_TRUE(info.nMax == 0 && info.nPos == 0 && info.nPage == 1) << "content that fits resets the bar";
    probe.Destroy();
}

TEST_F(FrameTest, AViewOpenedBesideAMaximisedChildOpensMaximised)
{
    ASSERT_TRUE(PutTextOnClipboard("maximised"));
    ASSERT_TRUE(WaitForComboCount(5));
    SendMessageA(m_frame->GetClient(), WM_MDIMAXIMIZE, (WPARAM)m_frame->GetClipBook().GetHandle(), 0);
    Command(ID_DISPLAY_AUTO_FORMAT);
    ASSERT_EQ(1, ViewCount());
    EXPECT_TRUE(IsZoomed(NewestView()->GetHandle()));
}
