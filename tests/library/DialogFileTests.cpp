#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "DialogWatchdog.h"
#include "Dialogs.h"
#include "TestApp.h"
#include "UiTestResources.h"

namespace {

std::string FilterBytes(const char* filter)
{
    char* list = MakeFilterList(filter);
    // The list ends at the first empty string.
    size_t length = 0;
    while (list[length] != 0 || list[length + 1] != 0)
        length++;
    std::string bytes(list, length + 2);
    free(list);
    return bytes;
}

std::vector<std::string> FilterComboItems(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, 0x470);
    std::vector<std::string> items;
    int count = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[256] = "";
        SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

} // namespace

TEST(FileDialogFilter, BarsBecomeZerosAndTheListEndsWithAnEmptyString)
{
    EXPECT_EQ(std::string("Desc\0*.x\0\0", 10), FilterBytes("Desc|*.x|"));
    EXPECT_EQ(std::string("Text\0*.txt;*.asc\0All\0*.*\0\0", 26), FilterBytes("Text|*.txt;*.asc|All|*.*|"));
    // Without a final bar the list still ends properly.
    EXPECT_EQ(std::string("Desc\0*.x\0\0", 10), FilterBytes("Desc|*.x"));
    EXPECT_EQ(std::string("\0\0", 2), FilterBytes(""));
}

TEST(FileDialogFilter, EveryPrefixOfAFilterGivesATerminatedList)
{
    const char filter[] = "Clip files|*.cpf||Books|*.cbf|";
    for (size_t cut = 0; cut < sizeof filter; cut++) {
        std::string text(filter, cut);
        char* list = MakeFilterList(text.c_str());
        ASSERT_NE(nullptr, list);
        // Both bytes after the text are zero, and no bar is left.
        EXPECT_EQ(0, list[cut]);
        EXPECT_EQ(0, list[cut + 1]);
        EXPECT_EQ(nullptr, memchr(list, '|', cut));
        free(list);
    }
}

namespace {

class CColourProbe : public CCommonDialog {
public:
    CColourProbe() : initialised(nullptr), cancels(0), oks(0) {}
    LRESULT OnInitDialog(HWND focus) override
    {
        initialised = m_hWnd;
        PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return 1;
    }
    void OnCancel() override { cancels++; }
    void OnOK() override { oks++; }

    HWND initialised;
    int cancels, oks;
};

} // namespace

TEST(CommonDialogHook, BindsAColourDialogAndPassesCancelToTheObject)
{
    CColourProbe probe;
    COLORREF custom[16] = {};
    CHOOSECOLORA record = {};
    record.lStructSize = sizeof record;
    record.lpCustColors = custom;
    record.Flags = CC_ENABLEHOOK;
    record.lpfnHook = CommonDialogHook;
    record.lCustData = (LPARAM)&probe;

    EXPECT_FALSE(ChooseColorA(&record));
    EXPECT_EQ(0u, CommDlgExtendedError());
    EXPECT_NE(nullptr, probe.initialised);
    EXPECT_EQ(1, probe.cancels);
    EXPECT_EQ(0, probe.oks);
    // A record of a size no common dialog has is never bound.
    EXPECT_EQ(-1, CommonDialogCustomDataOffset(12345));
}

TEST(CommonDialogHook, BindsAFontDialog)
{
    CColourProbe probe;
    LOGFONTA font = {};
    CHOOSEFONTA record = {};
    record.lStructSize = sizeof record;
    record.lpLogFont = &font;
    record.Flags = CF_ENABLEHOOK | CF_SCREENFONTS;
    record.lpfnHook = CommonDialogHook;
    record.lCustData = (LPARAM)&probe;

    EXPECT_FALSE(ChooseFontA(&record));
    EXPECT_NE(nullptr, probe.initialised);
    EXPECT_EQ(1, probe.cancels);
}

namespace {

const char kOpenTitle[] = "Choose UI Test File";

// Records what the open dialog tells its object. The first OK is refused
// by OnFileOk, the second accepted.
class COpenProbe : public CFileDialog {
public:
    COpenProbe()
        : CFileDialog(1, "cpf", nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                      "Clip files|*.cpf|All files|*.*|"),
          inits(0), initDones(0), fileOks(0), childCheckFound(false)
    {
        m_record.lpstrTitle = kOpenTitle;
    }

    LRESULT OnInitDialog(HWND focus) override
    {
        inits++;
        childCheckFound = GetDlgItem(m_hWnd, IDC_UI_CHILD_CHECK) != nullptr;
        return CFileDialog::OnInitDialog(focus);
    }

    LRESULT OnNotify(WPARAM id, NMHDR* header) override
    {
        codes.push_back((int)header->code);
        return CFileDialog::OnNotify(id, header);
    }

    void OnInitDone() override { initDones++; }

    int OnFileOk() override
    {
        fileOks++;
        CText path;
        GetPathName(path);
        pathsAtFileOk.push_back(path.GetString());
        return fileOks == 1 ? 1 : 0;
    }

    int inits, initDones, fileOks;
    bool childCheckFound;
    std::vector<int> codes;
    std::vector<std::string> pathsAtFileOk;
};

struct OpenDriver {
    std::string path;
    std::vector<std::string> filters;
    bool openAfterRefusal = false;
    bool childInDialog = false;
};

BOOL CALLBACK FindChildCheck(HWND child, LPARAM lParam)
{
    if (GetDlgCtrlID(child) == IDC_UI_CHILD_CHECK) {
        *(bool*)lParam = WindowText(child) == "Open to clipbook";
        return FALSE;
    }
    return TRUE;
}

} // namespace

TEST(FileDialog, OpenDialogWithChildTemplateRunsTheHandlersAndReturnsTheTypedPath)
{
    std::string directory = MakeScratchDirectory("filedlg");
    std::string path = directory + "\\typed.cpf";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);

    COpenProbe dialog;
    dialog.GetRecord().lpstrInitialDir = directory.c_str();
    dialog.SetTemplate(MAKEINTRESOURCEA(IDD_UI_FILE_CHILD));
    EXPECT_TRUE(dialog.GetRecord().Flags & OFN_ENABLETEMPLATE);
    OpenDriver driver;
    driver.path = path;
    CDialogAnswer answer(kOpenTitle, IDOK, 0, 15000, [](HWND window, void* context) {
        OpenDriver* driver = (OpenDriver*)context;
        driver->filters = FilterComboItems(window);
        EnumChildWindows(window, FindChildCheck, (LPARAM)&driver->childInDialog);
        SetWindowTextA(FileNameField(window), "typed.cpf");
        PressButton(window, IDOK);
        Sleep(500);
        driver->openAfterRefusal = IsWindow(window) && IsWindowVisible(window);
        SetWindowTextA(FileNameField(window), driver->path.c_str());
    }, &driver);

    CDialogWatchdog watchdog;
    EXPECT_EQ(1, dialog.DoModal(nullptr));
    ASSERT_TRUE(answer.Wait());

    EXPECT_EQ(1, dialog.inits);
    EXPECT_TRUE(dialog.childCheckFound);
    EXPECT_TRUE(driver.childInDialog);
    EXPECT_EQ(1, dialog.initDones);
    EXPECT_EQ((std::vector<std::string>{"Clip files", "All files"}), driver.filters);
    // Refused once by OnFileOk, so the dialog stayed; accepted the second time.
    EXPECT_TRUE(driver.openAfterRefusal);
    EXPECT_EQ(2, dialog.fileOks);
    // While the dialog runs, a name typed in the initial folder is completed
    // to its full path. (Wine also prefixes its current folder to a full
    // path typed into the field, where Windows answers the path itself; so
    // the second, typed path is checked only after the dialog closed.)
    ASSERT_EQ(2u, dialog.pathsAtFileOk.size());
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), dialog.pathsAtFileOk[0].c_str())) << dialog.pathsAtFileOk[0];
    bool sawInitDone = false, sawFileOk = false;
    for (int code : dialog.codes) {
        sawInitDone |= code == (int)CDN_INITDONE;
        sawFileOk |= code == (int)CDN_FILEOK;
    }
    EXPECT_TRUE(sawInitDone);
    EXPECT_TRUE(sawFileOk);

    CText chosen;
    dialog.GetPathName(chosen);
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), chosen.GetString())) << chosen.GetString();
    EXPECT_STREQ("typed.cpf", dialog.GetFileTitle());
    EXPECT_EQ(nullptr, dialog.GetHandle());
    RemoveTree(directory);
}

namespace {

struct OwnerDriver {
    HWND owner;
    bool ownerEnabledDuring = true;
    std::string name;
};

} // namespace

TEST(FileDialog, CancelledSaveDialogKeepsTheInitialNameAndReenablesTheOwner)
{
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    CFileDialog dialog(0, "cbf", "initial.cbf", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Books|*.cbf|");
    dialog.GetRecord().lpstrTitle = "Save UI Test File";
    EXPECT_FALSE(dialog.IsOpenDialog());
    OwnerDriver driver;
    driver.owner = owner;
    CDialogAnswer answer("Save UI Test File", IDCANCEL, 0, 15000, [](HWND window, void* context) {
        OwnerDriver* driver = (OwnerDriver*)context;
        driver->ownerEnabledDuring = IsWindowEnabled(driver->owner) != FALSE;
        driver->name = WindowText(FileNameField(window));
    }, &driver);

    CDialogWatchdog watchdog;
    EXPECT_EQ(0, dialog.DoModal(owner));
    ASSERT_TRUE(answer.Wait());
    EXPECT_FALSE(driver.ownerEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ("initial.cbf", driver.name);
    CText path;
    EXPECT_EQ(11, dialog.GetPathName(path));
    EXPECT_STREQ("initial.cbf", path.GetString());
    DestroyWindow(owner);
}

TEST(FileDialog, SetTemplateNullRemovesTheChildTemplate)
{
    CFileDialog dialog(1, nullptr, nullptr, 0, nullptr);
    const OPENFILENAMEA& record = dialog.GetRecord();
    EXPECT_EQ((DWORD)OPENFILENAME_SIZE_VERSION_400A, record.lStructSize);
    EXPECT_EQ((DWORD)(OFN_EXPLORER | OFN_ENABLEHOOK), record.Flags);
    EXPECT_EQ((LPARAM)&dialog, record.lCustData);
    dialog.SetTemplate("NAMED");
    EXPECT_STREQ("NAMED", record.lpTemplateName);
    EXPECT_TRUE(record.Flags & OFN_ENABLETEMPLATE);
    dialog.SetTemplate(nullptr);
    EXPECT_EQ(nullptr, record.lpTemplateName);
    EXPECT_FALSE(record.Flags & OFN_ENABLETEMPLATE);
}
