// Settings in the real registry of the prefix: written when the frame is
// destroyed, read when the next frame is created.
#include <gtest/gtest.h>

#include "FrameFixture.h"
#include "Registry.h"
#include "Settings.h"
#include "TestApp.h"
#include "resource.h"

namespace {
struct StoredValue {
    DWORD type = 0;
    DWORD size = 0;
    BYTE bytes[64] = {};
};

StoredValue ReadValue(const char* key, const char* name)
{
    StoredValue value;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &handle) == ERROR_SUCCESS) {
        value.size = sizeof value.bytes;
        if (RegQueryValueExA(handle, name, nullptr, &value.type, value.bytes, &value.size) != ERROR_SUCCESS)
            value.size = 0;
        RegCloseKey(handle);
    }
    return value;
}

void WriteValue(const char* key, const char* name, DWORD type, const void* data, DWORD size)
{
    CRegistryKey handle;
    ASSERT_EQ(ERROR_SUCCESS, handle.Open(HKEY_CURRENT_USER, key, kKeyAllAccessCreate));
    ASSERT_EQ(ERROR_SUCCESS, handle.SetValue(name, type, data, size));
}

int BandId(const CViewerFrame* frame, int index, DWORD* style = nullptr)
{
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_CHILDSIZE;
    frame->GetReBar().Send(RB_GETBANDINFOA, (WPARAM)index, (LPARAM)&band);
    if (style != nullptr)
        *style = band.fStyle;
    return (int)band.wID;
}
} // namespace

TEST(ToolbarBandHeight, FollowsLabelsSizeAndFlatness)
{
    const int expected[16] = {25, 40, 33, 48, 25, 40, 33, 48, 22, 37, 30, 45, 22, 37, 30, 45};
    for (DWORD style = 0; style < 16; style++)
        EXPECT_EQ(expected[style], ToolbarBandHeight(style)) << "style " << style;
}

TEST_F(FrameTest, ExitWritesSettingsWithTheirTypesAndSizes)
{
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key))
        << "reading the settings never creates the key";
    SetWindowPos(Frame(), nullptr, 100, 80, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    Command(ID_TOOLBAR_LABELS);
    RECT window;
    GetWindowRect(Frame(), &window);
    DestroyFrame();

    StoredValue position = ReadValue(kSettingsKey, "Position");
    EXPECT_EQ((DWORD)REG_BINARY, position.type);
    ASSERT_EQ(16u, position.size);
    EXPECT_EQ(0, memcmp(&window, position.bytes, 16));

    StoredValue style = ReadValue(kToolbarSettingsKey, "Style");
    EXPECT_EQ((DWORD)REG_DWORD, style.type);
    ASSERT_EQ(4u, style.size);
    EXPECT_EQ(14u, *(DWORD*)style.bytes);

    StoredValue band1 = ReadValue(kToolbarSettingsKey, "Band 1");
    StoredValue band2 = ReadValue(kToolbarSettingsKey, "Band 2");
    EXPECT_EQ((DWORD)REG_BINARY, band1.type);
    ASSERT_EQ(8u, band1.size);
    ASSERT_EQ(8u, band2.size);
    EXPECT_EQ(0u, ((CBandRecord*)band1.bytes)->flags) << "toolbar first, same row";
    EXPECT_EQ(1u, ((CBandRecord*)band2.bytes)->flags);
    EXPECT_GT(((CBandRecord*)band1.bytes)->width, 0);

    CreateFrame();
    RECT restored;
    GetWindowRect(Frame(), &restored);
    EXPECT_EQ(0, memcmp(&window, &restored, sizeof restored)) << "the window comes back where it was";
    EXPECT_EQ(14u, m_frame->GetToolbarStyle());
    EXPECT_FALSE(GetMenuState(m_frame->GetPopupMenus(), ID_TOOLBAR_LABELS, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(m_frame->GetPopupMenus(), ID_TOOLBAR_LARGE, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(FrameTest, SwappedBandsComeBackInTheirOrderAndRow)
{
    DestroyFrame();
    CBandRecord comboFirst = {kBandHoldsCombo, 250};
    CBandRecord toolsBelow = {kBandBreak, 300};
    DWORD style = kToolbarLarge;
    WriteValue(kToolbarSettingsKey, "Band 1", REG_BINARY, &comboFirst, sizeof comboFirst);
    WriteValue(kToolbarSettingsKey, "Band 2", REG_BINARY, &toolsBelow, sizeof toolsBelow);
    WriteValue(kToolbarSettingsKey, "Style", REG_DWORD, &style, sizeof style);
    CreateFrame();

    DWORD secondStyle = 0;
    EXPECT_EQ(IDC_FORMAT_COMBO, BandId(m_frame, 0));
    EXPECT_EQ(IDC_TOOLBAR, BandId(m_frame, 1, &secondStyle));
    EXPECT_TRUE(secondStyle & RBBS_BREAK);
    EXPECT_FALSE(GetWindowLongPtrA(m_frame->GetToolBar().GetHandle(), GWL_STYLE) & TBSTYLE_FLAT);

    DestroyFrame();
    StoredValue band1 = ReadValue(kToolbarSettingsKey, "Band 1");
    StoredValue band2 = ReadValue(kToolbarSettingsKey, "Band 2");
    EXPECT_EQ((DWORD)kBandHoldsCombo, ((CBandRecord*)band1.bytes)->flags);
    EXPECT_EQ((DWORD)kBandBreak, ((CBandRecord*)band2.bytes)->flags);
    CreateFrame();
}

TEST_F(FrameTest, UnusableStoredValuesLeaveTheDefaults)
{
    DestroyFrame();
    LONG shortPosition[3] = {5, 5, 300};
    WriteValue(kSettingsKey, "Position", REG_BINARY, shortPosition, sizeof shortPosition);
    CBandRecord toolbar = {0, 100};
    WriteValue(kToolbarSettingsKey, "Band 1", REG_BINARY, &toolbar, sizeof toolbar);
    WriteValue(kToolbarSettingsKey, "Band 2", REG_BINARY, &toolbar, sizeof toolbar);
    WriteValue(kToolbarSettingsKey, "Style", REG_BINARY, "\x01", 1);
    CreateFrame();

    RECT window;
    GetWindowRect(Frame(), &window);
    EXPECT_FALSE(window.left == 5 && window.right == 300) << "a 12-byte position is ignored";
    EXPECT_EQ(15u, m_frame->GetToolbarStyle()) << "a 1-byte style is ignored";
    EXPECT_EQ(IDC_TOOLBAR, BandId(m_frame, 0)) << "two toolbar bands fall back to the default pair";
    EXPECT_EQ(IDC_FORMAT_COMBO, BandId(m_frame, 1));

    DestroyFrame();
    RECT away = {-32000, -32000, -31840, -31976};
    WriteValue(kSettingsKey, "Position", REG_BINARY, &away, sizeof away);
    CreateFrame();
    GetWindowRect(Frame(), &window);
    EXPECT_GT(window.right, 0) << "a position off every screen is not used";
    EXPECT_GT(window.bottom, 0);
}

// Wine places a minimised unmanaged window at the bottom of the screen
// rather than at -32000 as Windows does; either way the icon's rectangle is
// not what the next start should open.
TEST_F(FrameTest, MinimisedFrameSavesTheRectangleItRestoresTo)
{
    SetWindowPos(Frame(), nullptr, 120, 90, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT normal;
    GetWindowRect(Frame(), &normal);
    ShowWindow(Frame(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(Frame()));
    DestroyFrame();

    StoredValue position = ReadValue(kSettingsKey, "Position");
    ASSERT_EQ(16u, position.size);
    EXPECT_EQ(0, memcmp(&normal, position.bytes, 16));
}
