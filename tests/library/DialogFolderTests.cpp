#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "DialogWatchdog.h"
#include "Dialogs.h"
#include "TestApp.h"

namespace {

// Chooses a folder from its own callback: once the browse window is up it
// selects the folder and presses OK.
class CFolderProbe : public CFolderBrowser {
public:
    explicit CFolderProbe(const std::string& folder)
        : CFolderBrowser("Select Folder"), m_folder(folder), initialised(0), selectionChanges(0)
    {
    }

    int OnInitialized() override
    {
        initialised++;
        windowSeen = GetBrowseWindow();
        SendMessageA(GetBrowseWindow(), BFFM_SETSELECTIONA, TRUE, (LPARAM)m_folder.c_str());
        PostMessageA(GetBrowseWindow(), WM_COMMAND, m_pressCancel ? IDCANCEL : IDOK, 0);
        return 1;
    }

    int OnSelChanged(LPITEMIDLIST item) override
    {
        if (item != nullptr)
            selectionChanges++;
        return 1;
    }

    std::string m_folder;
    bool m_pressCancel = false;
    int initialised, selectionChanges;
    HWND windowSeen = nullptr;
};

} // namespace

TEST(FolderBrowser, ChoosesTheFolderSelectedFromTheCallback)
{
    // The browse tree is rooted at a scratch folder; the callback selects its
    // subfolder. (Wine's browse window left the selection on the desktop
    // when asked for a folder several levels below a desktop root.)
    std::string root = MakeScratchDirectory("browse");
    std::string folder = root + "\\Chosen";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    CFolderProbe browser(folder);
    LPITEMIDLIST rootList = ILCreateFromPathA(root.c_str());
    ASSERT_NE(nullptr, rootList);
    browser.GetBrowseInfo().pidlRoot = rootList;
    CText path("unchanged");
    EXPECT_EQ(0, browser.GetPath(path));
    EXPECT_STREQ("unchanged", path.GetString());
    {
        CDialogWatchdog watchdog;
        EXPECT_EQ(1, browser.Browse(nullptr));
    }
    EXPECT_EQ(1, browser.initialised);
    EXPECT_NE(nullptr, browser.windowSeen);
    EXPECT_GE(browser.selectionChanges, 1);
    EXPECT_EQ(nullptr, browser.GetBrowseWindow());
    ASSERT_EQ(1, browser.GetPath(path));
    EXPECT_EQ(0, lstrcmpiA(folder.c_str(), path.GetString())) << path.GetString();
    // Windows gives the folder's display name; Wine gives its full path.
    EXPECT_NE(nullptr, strstr(browser.GetDisplayName(), "Chosen")) << browser.GetDisplayName();

    // Browsing again and cancelling leaves no folder.
    browser.m_pressCancel = true;
    {
        CDialogWatchdog watchdog;
        EXPECT_EQ(0, browser.Browse(nullptr));
    }
    EXPECT_EQ(0, browser.GetPath(path));
    ILFree(rootList);
    RemoveTree(root);
}
