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
        if (m_pressCancel)
            PostMessageA(GetBrowseWindow(), WM_COMMAND, IDCANCEL, 0);
        else
            SelectFirstSubfolder();
        return 1;
    }

    // OK is pressed once the folder is the selection.
    int OnSelChanged(LPITEMIDLIST item) override
    {
        char path[MAX_PATH] = "";
        if (item != nullptr && SHGetPathFromIDListA(item, path) && lstrcmpiA(path, m_folder.c_str()) == 0) {
            selectionChanges++;
            PostMessageA(GetBrowseWindow(), WM_COMMAND, IDOK, 0);
        }
        return 1;
    }

    // Selects the root's first child in the browse window's tree, as a click
    // would. (Wine's browse window did not reliably act on BFFM_SETSELECTIONA
    // with a path: often no selection change followed.)
    void SelectFirstSubfolder()
    {
        HWND tree = FindWindowExA(GetBrowseWindow(), nullptr, WC_TREEVIEWA, nullptr);
        HTREEITEM root = TreeView_GetRoot(tree);
        TreeView_Expand(tree, root, TVE_EXPAND);
        TreeView_SelectItem(tree, TreeView_GetChild(tree, root));
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
    // one subfolder.
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
    EXPECT_EQ(1, browser.selectionChanges);
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
