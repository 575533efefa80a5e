// A viewer frame created inside the test executable, with the program's
// resources linked in, so that its menus, combo box and views can be read.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "ViewerFrame.h"

// Removes the viewer's settings key with its subkey.
void DeleteViewerSettings();

class FrameTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    void CreateFrame();
    void DestroyFrame();
    HWND Frame() const { return m_frame->GetHandle(); }
    LRESULT Command(UINT id, UINT code = 0);

    int ComboCount() const;
    std::string ComboText(int index) const;
    int ComboImage(int index) const;
    // Waits until the combo box shows the given number of items.
    bool WaitForComboCount(int count);
    std::string StatusText(int part) const;
    int ViewCount() { return m_frame->GetViewList().GetCount(); }
    CFormatView* NewestView()
    {
        CFormatViewEntry* head = m_frame->GetViewList().GetHead();
        return head ? head->object : nullptr;
    }

    CViewerFrame* m_frame = nullptr;
};
