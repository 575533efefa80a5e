#include "FrameFixture.h"

#include <commctrl.h>

#include "ClipFiles.h"
#include "ClipboardHelper.h"
#include "TestApp.h"
#include "ViewerApp.h"
#include "resource.h"

void DeleteViewerSettings()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brennwick\\Vellmora\\Toolbars");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brennwick\\Vellmora");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brennwick");
}

void FrameTest::SetUpTestSuite()
{
    static int registered = PrepareViewerClasses();
    ASSERT_TRUE(registered);
}

void FrameTest::SetUp()
{
    DeleteViewerSettings();
    // Each frame starts with an empty clipbook; the data file lies beside
    // the test program.
    CText dataFile;
    GetDataFilePath(dataFile);
    DeleteFileA(dataFile.GetString());
    ASSERT_TRUE(EmptyClipboardAsOther());
    CreateFrame();
}

void FrameTest::TearDown()
{
    DestroyFrame();
    DeleteViewerSettings();
}

void FrameTest::CreateFrame()
{
    m_frame = new CViewerFrame;
    m_frame->LoadAccelerators(MAKEINTRESOURCEA(IDA_FRAME));
    ASSERT_TRUE(m_frame->CreateFrame(CViewerFrame::kClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr,
                                     nullptr, MAKEINTRESOURCEA(IDM_FRAME), 0));
    PumpMessages(30);
}

void FrameTest::DestroyFrame()
{
    if (m_frame == nullptr)
        return;
    if (IsWindow(m_frame->GetHandle()))
        DestroyWindow(m_frame->GetHandle());
    // The frame posts WM_QUIT on its way out; the pump takes it.
    PumpMessages(20);
    delete m_frame;
    m_frame = nullptr;
}

LRESULT FrameTest::Command(UINT id, UINT code)
{
    return SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(id, code), 0);
}

int FrameTest::ComboCount() const
{
    return (int)SendMessageA(m_frame->GetFormatComboList(), CB_GETCOUNT, 0, 0);
}

std::string FrameTest::ComboText(int index) const
{
    char text[256] = "";
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(m_frame->GetFormatCombo().GetHandle(), CBEM_GETITEMA, 0, (LPARAM)&item);
    return text;
}

int FrameTest::ComboImage(int index) const
{
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = index;
    SendMessageA(m_frame->GetFormatCombo().GetHandle(), CBEM_GETITEMA, 0, (LPARAM)&item);
    EXPECT_EQ(item.iImage, item.iSelectedImage);
    return item.iImage;
}

bool FrameTest::WaitForComboCount(int count)
{
    return PumpUntil([&] { return ComboCount() == count; });
}

std::string FrameTest::StatusText(int part) const
{
    char text[256] = "";
    SendMessageA(m_frame->GetStatusBar().GetHandle(), SB_GETTEXTA, (WPARAM)part, (LPARAM)text);
    return text;
}
