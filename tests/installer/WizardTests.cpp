// The setup wizard run in this process on scripts of the tests' own and
// worked from a second thread as a user would: pages and buttons, the
// destination's questions, the component list, the program group, the
// options and Cancel. Then the background behind it, and the shipped
// Install.exe installing for real through it (machine registry, Start menu,
// desktop).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <stdio.h>

#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "../library/DialogWatchdog.h"
#include "BackgroundWindow.h"
#include "DialogDriver.h"
#include "InstallerRun.h"
#include "ScriptTestSupport.h"
#include "SetupScript.h"
#include "SetupWizard.h"
#include "SpaceText.h"
#include "TestApp.h"
#include "resource.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora";

// The target of a shortcut file, as the shell link reads it.
std::string ShortcutTarget(const std::string& path)
{
    char target[MAX_PATH] = "";
    WCHAR widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link);
    if (link && SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)) && SUCCEEDED(file->Load(widePath, 0)))
        link->GetPath(target, MAX_PATH, nullptr, 0);
    if (file)
        file->Release();
    if (link)
        link->Release();
    return target;
}

// The arguments of a command line as a started program reads them.
std::vector<std::wstring> SplitCommandLine(const std::string& command)
{
    int count = 0;
    WCHAR** split = CommandLineToArgvW(std::wstring(command.begin(), command.end()).c_str(), &count);
    std::vector<std::wstring> arguments(split, split + (split ? count : 0));
    LocalFree(split);
    return arguments;
}

HWND CurrentPage(HWND sheet)
{
    return (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

// The current page's template and the wizard buttons that can be pressed,
// as in "109 Back Next".
std::string WizardState(HWND sheet)
{
    const char *templates[] = {"101", "109", "133", "197"}, *names[] = {"Back", "Next", "Finish"};
    std::string state = templates[SendMessageA(sheet, PSM_HWNDTOINDEX, (WPARAM)CurrentPage(sheet), 0) & 3];
    for (int i = 0; i < 3; i++) {
        HWND button = GetDlgItem(sheet, 0x3023 + i);
        if (IsWindowVisible(button) && IsWindowEnabled(button))
            state += std::string(" ") + names[i];
    }
    return state;
}

// Whether the wizard comes to that state: the buttons are set by a posted
// message after the page changed.
testing::AssertionResult Shows(HWND sheet, const std::string& expected)
{
    std::string state;
    if (PumpUntil([&] { return (state = WizardState(sheet)) == expected; }, 10000))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the wizard shows \"" << state << "\", not \"" << expected << "\"";
}

// Posted: the page may answer with a message box.
void Press(HWND sheet, int button)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
}

BOOL CALLBACK AnswerYes(HWND window, LPARAM)
{
    PostMessageA(window, WM_COMMAND, IDYES, 0);
    return TRUE;
}

void ClickItem(HWND list, int index)
{
    RECT item = {};
    SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&item);
    LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
}

std::string Size(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

class Wizard : public testing::Test {
protected:
    void SetUp() override { m_directory = MakeScratchDirectory("wizard"); }
    void TearDown() override { RemoveTree(m_directory); }

    // Reads the script, with the carried files of these sizes, and runs the
    // wizard on this thread while the steps work it from another. A wizard
    // the steps leave open gets Yes to every question and Cancel, so that the
    // test fails instead of waiting for ever.
    int Run(CSetupScript& script, const std::string& text, std::function<void(HWND)> steps)
    {
        CFixedSizes sizes(m_sizes);
        ReadText(text, script, nullptr, &sizes);
        script.FillNumberFormat();
        script.m_destination = m_directory;
        std::thread driver([&steps] {
            HWND sheet = WaitForDialog("Enter destination path", GetCurrentProcessId(), 20000);
            if (sheet == nullptr)
                return;
            steps(sheet);
            if (WaitUntilGone(sheet, 15000))
                return;
            ADD_FAILURE() << "the wizard did not end";
            for (DWORD thread = GetWindowThreadProcessId(sheet, nullptr); IsWindow(sheet); Sleep(200)) {
                EnumThreadWindows(thread, AnswerYes, 0);
                Press(sheet, PSBTN_CANCEL);
            }
        });
        CDialogWatchdog watchdog(30000);
        int result = RunSetupWizard(script, nullptr);
        driver.join();
        script.CloseLog();
        return result;
    }

    // Next (or Finish) on the destination page, confirming the directory.
    static void Confirm(HWND sheet, int button = PSBTN_NEXT)
    {
        EXPECT_TRUE(Shows(sheet, button == PSBTN_NEXT ? "101 Next" : "101 Finish"));
        CDialogAnswer answer("Setup", IDYES);
        Press(sheet, button);
        answer.Wait();
    }

    std::string m_directory;
    std::map<std::string, uint32_t> m_sizes;
};

} // namespace

TEST_F(Wizard, ShowsThePagesThatHaveSomethingToAsk)
{
    const std::string shortcut = "ICON=%i\\S.lnk,%d\\S.exe\n";
    const struct {
        std::string script;
        std::vector<std::string> states;
    } cases[] = {
        {"[MAIN]\n", {"101 Finish"}},
        {"[MAIN]\nCHECK=A,Alpha\n", {"101 Next", "197 Back Finish"}},
        {"[MAIN]\nSELECTION=S\n[S]\nTITLE=S\n", {"101 Next", "109 Back Finish"}},
        {"[MAIN]\nSELECTION=S\n[S]\n" + shortcut, {"101 Next", "109 Back Next", "133 Back Finish"}},
        {"[MAIN]\nSELECTION=S\nCHECK=A,Alpha\n[S]\n" + shortcut,
         {"101 Next", "109 Back Next", "133 Back Next", "197 Back Finish"}},
    };
    for (const auto& test : cases) {
        CSetupScript script;
        int result = Run(script, test.script, [&test](HWND sheet) {
            RECT rect = {};
            GetWindowRect(sheet, &rect);
            EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2, rect.left) << "centred";
            EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2, rect.top) << "centred";
            EXPECT_FALSE(GetWindowLongPtrA(sheet, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
            for (size_t i = 0; i < test.states.size(); i++) {
                int button = i + 1 < test.states.size() ? PSBTN_NEXT : PSBTN_FINISH;
                EXPECT_TRUE(Shows(sheet, test.states[i])) << test.script;
                i == 0 ? Confirm(sheet, button) : Press(sheet, button);
            }
        });
        EXPECT_GT(result, 0);
        EXPECT_EQ(m_directory, script.m_destination);
    }
}

TEST_F(Wizard, AsksAboutTheDestinationUntilItIsConfirmedAndNotAgainAndCancelEmptiesIt)
{
    CSetupScript script;
    std::string fresh = m_directory + "\\Fresh", nested = m_directory + "\\Missing\\Nested";
    const struct {
        std::string typed;
        int answer;
        std::string message;
    } steps[] = {
        {nested, IDOK, "Path '" + nested + "' is not valid."},
        // A wildcard would find some other folder.
        {m_directory + "\\F*", IDOK, "Path '" + m_directory + "\\F*' is not valid."},
        // Relative to the current folder or drive, whatever they are.
        {"Vellmora", IDOK, "Path 'Vellmora' is not valid."},
        {"C:Vellmora", IDOK, "Path 'C:Vellmora' is not valid."},
        {"\\Vellmora", IDOK, "Path '\\Vellmora' is not valid."},
        {fresh, IDNO, "Directory '" + fresh + "' doesn't exist. Create directory?"},
        {m_directory + "\\", IDNO, "Directory '" + m_directory + "\\' exist. Overwrite?"},
        {fresh, IDYES, "Directory '" + fresh + "' doesn't exist. Create directory?"},
    };
    int result = Run(script, "[MAIN]\nCHECK=A,Alpha\n", [&](HWND sheet) {
        for (const auto& step : steps) {
            SetDlgItemTextA(CurrentPage(sheet), IDC_DESTINATION, step.typed.c_str());
            CDialogAnswer answer("Setup", step.answer);
            Press(sheet, PSBTN_NEXT);
            answer.Wait();
            EXPECT_EQ(step.message, answer.Text());
            EXPECT_TRUE(Shows(sheet, step.answer == IDYES ? "197 Back Finish" : "101 Next")) << step.typed;
            EXPECT_EQ(step.answer == IDYES, DirectoryExists(fresh.c_str())) << "No removes the new directory";
        }
        // Nothing was edited: Back and Next ask nothing.
        Press(sheet, PSBTN_BACK);
        EXPECT_TRUE(Shows(sheet, "101 Next"));
        Press(sheet, PSBTN_NEXT);
        EXPECT_TRUE(Shows(sheet, "197 Back Finish"));
        for (int answer : {IDNO, IDYES}) {
            CDialogAnswer question("Exit Setup", answer);
            Press(sheet, PSBTN_CANCEL);
            question.Wait();
            EXPECT_EQ("Setup is not complete. If you quit the Setup program now,\nthe program will not be installed."
                      "\n\nQuit the Setup program?",
                      question.Text());
        }
    });
    EXPECT_EQ(0, result);
    EXPECT_EQ("", script.m_destination) << "a cancelled wizard installs nothing";
}

// Going Back to another destination, and Cancel, take away the log the
// wizard started and the folder it made, and nothing that was there before.
TEST_F(Wizard, CancelAndBackLeaveNothingOfWhatTheWizardMade)
{
    std::string made = m_directory + "\\Made", other = m_directory + "\\Other", found = m_directory + "\\Found";
    CreateDirectoryA(found.c_str(), nullptr);
    std::vector<bool> logged;
    CSetupScript script;
    Run(script, "[MAIN]\nCHECK=A,Alpha\nICON=%i\\R.lnk,%d\\R.txt\n", [&](HWND sheet) {
        for (const std::string& folder : {made, other, found}) {
            SetDlgItemTextA(CurrentPage(sheet), IDC_DESTINATION, folder.c_str());
            Confirm(sheet);
            EXPECT_TRUE(Shows(sheet, "133 Back Next"));
            Press(sheet, PSBTN_NEXT);
            EXPECT_TRUE(Shows(sheet, "197 Back Finish"));
            logged.push_back(GetFileAttributesA((folder + "\\Install.log").c_str()) != INVALID_FILE_ATTRIBUTES);
            for (const char* state : {"133 Back Next", "101 Next"}) {
                Press(sheet, PSBTN_BACK);
                EXPECT_TRUE(Shows(sheet, state));
            }
        }
        CDialogAnswer question("Exit Setup", IDYES);
        Press(sheet, PSBTN_CANCEL);
        question.Wait();
    });
    EXPECT_EQ(std::vector<bool>({true, true, true}), logged);
    EXPECT_FALSE(DirectoryExists(made.c_str()) || DirectoryExists(other.c_str()));
    EXPECT_TRUE(DirectoryExists(found.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((found + "\\Install.log").c_str()));
}

// Sizes in kilobytes rounded up; free space asked of the root of the drive
// or share and counted in 64 bits: in 32 bits, more than 4 GB free wraps.
TEST(FreeSpace, KilobytesRootsAndDrivesBeyondFourGigabytes)
{
    CSetupScript script;
    script.FillNumberFormat();
    std::string comma = script.m_numberFormat.lpThousandSep;
    const std::pair<uint64_t, std::string> sizes[] = {
        {0, "0 KB"}, {1, "1 KB"}, {1023, "1 KB"}, {1024, "2 KB"}, {1263615, "1" + comma + "234 KB"},
        {5ull << 40, "5" + comma + "368" + comma + "709" + comma + "121 KB"}};
    for (const auto& size : sizes)
        EXPECT_EQ(size.second, SizeText(script, size.first)) << size.first;
    const std::pair<const char*, const char*> roots[] = {
        {"C:\\Program Files\\Vellmora", "C:\\"}, {"d", "d:\\"}, {"", ""},
        {"\\\\server\\share\\Vellmora", "\\\\server\\share\\"}, {"\\\\server\\share", "\\\\server\\share\\"}};
    for (const auto& root : roots)
        EXPECT_EQ(root.second, SpaceRoot(root.first)) << root.first;
    ULARGE_INTEGER available = {};
    uint64_t bytes = 0;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, nullptr, nullptr));
    ASSERT_TRUE(QueryFreeSpace("C:\\Program Files\\Vellmora", bytes));
    // Other tests write meanwhile; a count wrapped at 32 bits is 4 GB off.
    EXPECT_LT(bytes > available.QuadPart ? bytes - available.QuadPart : available.QuadPart - bytes, 1ull << 30);
    EXPECT_FALSE(QueryFreeSpace("Q:\\nowhere", bytes)) << "a drive that does not exist";
}

TEST_F(Wizard, ComponentListTogglesOnASecondClickAndDetailsLeaveAPartlyChosenComponent)
{
    CSetupScript script;
    m_sizes = {{"B", 2048}, {"H", 10240}, {"D", 20480}, {"C", 4096}, {"E", 1024}};
    std::vector<std::string> seen;
    COLORREF partlyMark = 0;
    const char* text = "[MAIN]\nSELECTION=BASE\nSELECTION=CORE,R\nSELECTION=EXTRAS\n"
                       "[BASE]\nTITLE=Base\nFILE=B\nSELECTION=HELP\nSELECTION=DOCS\n[HELP]\nTITLE=Help\nFILE=H\n"
                       "[DOCS]\nTITLE=Docs\nFILE=D\n[CORE]\nTITLE=Core\nFILE=C\n[EXTRAS]\nTITLE=Extras\nFILE=E\n"
                       "ICON=%i\\E.lnk,%d\\E.exe\n";
    Run(script, text, [&](HWND sheet) {
        Confirm(sheet);
        EXPECT_TRUE(Shows(sheet, "109 Back Next"));
        HWND page = CurrentPage(sheet);
        HWND list = GetDlgItem(page, IDC_COMPONENT_LIST);
        seen.push_back(ControlText(page, IDC_SPACE_REQUIRED));
        // Item 0 is current from the start; a required item never changes.
        for (int index : {1, 1, 2, 2, 0, 0})
            ClickItem(list, index);
        seen.push_back(std::to_string(IsWindowEnabled(GetDlgItem(page, IDC_DETAILS))));
        EXPECT_TRUE(Shows(sheet, "109 Back Finish")) << "no shortcut left to place";
        seen.push_back(ControlText(page, IDC_SPACE_REQUIRED));
        PressButton(page, IDC_DETAILS);
        HWND dialog = nullptr;
        PumpUntil([&] { return (dialog = WaitForDialog("Select Components")) != sheet && dialog != nullptr; }, 10000);
        // No sub-component has sub-components: Details goes, the list grows.
        HWND subList = GetDlgItem(dialog, IDC_COMPONENT_LIST);
        seen.push_back(std::to_string(IsWindowVisible(GetDlgItem(dialog, IDC_DETAILS))) + " " + Size(subList) + " " +
                       std::to_string(SendMessageA(subList, LB_GETITEMHEIGHT, 0, 0)));
        ClickItem(subList, 0);
        seen.push_back(ControlText(dialog, IDC_SPACE_REQUIRED));
        PressButton(dialog, IDC_COMPONENTS_OK);
        PumpUntil([&] { return script.m_components.GetHead()->m_state == kStatePartial && IsWindowVisible(sheet); },
                  10000);
        seen.push_back(ControlText(page, IDC_SPACE_REQUIRED));
        RECT item = {};
        SendMessageA(list, LB_GETITEMRECT, 0, (LPARAM)&item);
        HDC dc = GetDC(list);
        partlyMark = GetPixel(dc, item.left + 4, item.top + 3);
        ReleaseDC(list, dc);
        Press(sheet, PSBTN_FINISH);
    });
    EXPECT_EQ((std::vector<std::string>{"38 KB", "1", "5 KB", "0 249x140 13", "11 KB", "17 KB"}), seen);
    EXPECT_EQ(RGB(206, 212, 224), partlyMark) << "the partly chosen mark";
    CSelection* base = script.m_components.GetHead();
    std::vector<std::string> states;
    for (const CSelection* component : {base, base->m_components.GetHead(), base->m_components.GetHead()->m_next,
                                        base->m_next, base->m_next->m_next})
        states.push_back(component->m_title + " " + std::to_string(component->m_state) + " " +
                         std::to_string(component->m_size));
    EXPECT_EQ((std::vector<std::string>{"Base 2 12288", "Help 1 10240", "Docs 0 0", "Core 255 4096", "Extras 0 0"}),
              states);
}

TEST_F(Wizard, ProgramGroupIsCheckedAndLoggedButNeverLeftBehind)
{
    std::string user = QueryRegistryText(HKEY_CURRENT_USER, kShellFolders, "Programs");
    std::string common = QueryRegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
    ASSERT_FALSE(user.empty() || common.empty());
    RemoveDirectoryA((user + "\\New Group").c_str());
    CreateDirectoryA((user + "\\VlmUserGroup").c_str(), nullptr);
    CreateDirectoryA((common + "\\VlmCommonGroup").c_str(), nullptr);
    const struct {
        const char* picked;
        std::vector<const char*> typed;  // all but the last are refused
        std::vector<std::string> seen;
        std::string group, lines;
    } cases[] = {
        {"VlmUserGroup", {"Bad|Name", "New Group"}, {"Tests", "VlmUserGroup user", "'Bad|Name' is not valid group name."},
         user + "\\New Group", "ICONGROUP=New Group\nICONUSERGROUP=YES\n"},
        {"VlmCommonGroup", {}, {"Tests", "VlmCommonGroup common"}, common + "\\VlmCommonGroup",
         "ICONGROUP=VlmCommonGroup\nICONUSERGROUP=NO\n"},
        {nullptr, {""}, {"Tests"}, "", ""},
    };
    for (const auto& test : cases) {
        CSetupScript script;
        std::vector<std::string> seen;
        Run(script, "[MAIN]\nPROGRAM=Wizard Test\nDEFICONGROUP=Tests\nICON=%i\\R.lnk,%d\\R.txt\n", [&](HWND sheet) {
            Confirm(sheet);
            EXPECT_TRUE(Shows(sheet, "133 Back Finish"));
            HWND page = CurrentPage(sheet);
            // Windows NT has groups for every user.
            seen.push_back(ControlText(page, IDC_GROUP_NAME) +
                           (IsWindowEnabled(GetDlgItem(page, IDC_COMMON_GROUP)) ? "" : " (no owner)"));
            if (test.picked != nullptr) {
                HWND list = GetDlgItem(page, IDC_GROUP_LIST);
                SendMessageA(list, LB_SETCURSEL, SendMessageA(list, LB_FINDSTRINGEXACT, -1, (LPARAM)test.picked), 0);
                SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_GROUP_LIST, LBN_SELCHANGE), (LPARAM)list);
                seen.push_back(ControlText(page, IDC_GROUP_NAME) +
                               (IsDlgButtonChecked(page, IDC_COMMON_GROUP) ? " common" : " user"));
            }
            for (size_t i = 0; i < test.typed.size(); i++) {
                SetDlgItemTextA(page, IDC_GROUP_NAME, test.typed[i]);
                if (i + 1 < test.typed.size()) {
                    CDialogAnswer refusal("Setup", IDOK);
                    Press(sheet, PSBTN_FINISH);
                    refusal.Wait();
                    seen.push_back(refusal.Text());
                }
            }
            Press(sheet, PSBTN_FINISH);
        });
        EXPECT_EQ(test.seen, seen);
        EXPECT_EQ(test.group, script.m_programGroup);
        // Confirmed twice, the log has one head.
        EXPECT_EQ("[INSTALL]\nTITLE=Wizard Test\nPATH=" + m_directory + "\n" + test.lines,
                  ReadWholeFile(m_directory + "\\Install.log"));
    }
    EXPECT_FALSE(DirectoryExists((user + "\\New Group").c_str())) << "only tested, never left";
    RemoveDirectoryA((user + "\\VlmUserGroup").c_str());
    RemoveDirectoryA((common + "\\VlmCommonGroup").c_str());
}

TEST_F(Wizard, OptionsGetACheckBoxEachThatSetsTheirFlag)
{
    CSetupScript script;
    std::vector<std::string> boxes;
    const char* text = "[MAIN]\nCHECK=ONE,One\nCHECK=TWO,Two\\nlines,FALSE\nCHECK=THREE,Three\\nfour\\nfive\n";
    Run(script, text, [&](HWND sheet) {
        Confirm(sheet);
        EXPECT_TRUE(Shows(sheet, "197 Back Finish"));
        HWND page = CurrentPage(sheet);
        for (int id = IDC_FIRST_OPTION; id < IDC_FIRST_OPTION + 3; id++) {
            HWND box = GetDlgItem(page, id);
            POINT corner = {};
            MapWindowPoints(box, page, &corner, 1);
            bool guiFont = SendMessageA(box, WM_GETFONT, 0, 0) == (LRESULT)GetStockObject(DEFAULT_GUI_FONT);
            boxes.push_back(std::to_string(corner.x) + "," + std::to_string(corner.y) + " " + Size(box) +
                            (IsDlgButtonChecked(page, id) ? " on" : " off") + (guiFont ? "" : " other font"));
        }
        SendMessageA(GetDlgItem(page, IDC_FIRST_OPTION), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(page, IDC_FIRST_OPTION + 1), BM_CLICK, 0, 0);
        Press(sheet, PSBTN_FINISH);
    });
    EXPECT_EQ((std::vector<std::string>{"160,30 270x15 on", "160,55 270x29 off", "160,94 270x43 on"}), boxes);
    std::string flags;
    for (const CCheckItem* option : script.m_options)
        flags += std::to_string(option->m_on);
    EXPECT_EQ("011", flags);
}

// Pixels read back from the window: the bands of a fade from red to black,
// a single blue fill, and the title over its shadow.
TEST(InstallSystem, TheBackgroundFadesInBandsAndShowsTheTitle)
{
    ASSERT_TRUE(CBackgroundWindow::Register());
    const uint32_t cases[][4] = {{0x0000FF, 0x000000, 0xFFFFFF, 0x000000}, {0xFF0000, kNoColor, 0x00FFFF, kNoColor}};
    for (const uint32_t* c : cases) {
        CSetupScript script;
        script.m_title = "Install Title";
        script.m_backColor = c[0], script.m_fadeColor = c[1], script.m_textColor = c[2], script.m_shadeColor = c[3];
        CBackgroundWindow window(script);
        ASSERT_TRUE(window.Create("Setup"));
        KillTimer(window.GetHandle(), CBackgroundWindow::kWizardTimer);  // no wizard here
        UpdateWindow(window.GetHandle());
        RECT client;
        GetClientRect(window.GetHandle(), &client);
        int band = client.bottom / 128 + 1, text = 0, shade = 0;
        HDC dc = GetDC(window.GetHandle());
        for (int i : {0, 1, 50, 100})
            EXPECT_EQ(c[1] == kNoColor ? c[0] : RGB(255 - i, 0, 0), GetPixel(dc, client.right - 5, i * band + band / 2));
        for (int y = 20; y < 70; y++)
            for (int x = 20; x < 300; x++)
                text += GetPixel(dc, x, y) == c[2], shade += GetPixel(dc, x, y) == c[3];
        EXPECT_GT(text, 200) << "the title is drawn";
        EXPECT_EQ(c[3] != kNoColor, shade > 100) << "the shadow is drawn only with a shade colour";
        ReleaseDC(window.GetHandle(), dc);
        DestroyWindow(window.GetHandle());
        PumpMessages(0);
    }
}

TEST(InstallSystem, TheShippedInstallerInstallsVellmoraWithItsDefaults)
{
    const char kVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    std::string destination = QueryRegistryText(HKEY_LOCAL_MACHINE, kVersion, "ProgramFilesDir") + "\\Vellmora";
    std::string group = QueryRegistryText(HKEY_CURRENT_USER, kShellFolders, "Programs") + "\\Vellmora";
    std::string desktop = QueryRegistryText(HKEY_CURRENT_USER, kShellFolders, "Desktop");
    HKEY settings = nullptr;
    bool hadSettings = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brennwick", 0, KEY_READ, &settings) == 0;
    RegCloseKey(settings);
    // Before (what a run that did not finish left) and after.
    auto removeVellmora = [&] {
        RemoveTree(destination);
        RemoveTree(group);
        DeleteFileA((desktop + "\\Vellmora.lnk").c_str());
        for (const char* key : {kUninstall, ".cbf", ".cpf", "VellmoraBook", "VellmoraPage"})
            SHDeleteKeyA(key[0] == 'S' ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT, key);
        if (!hadSettings)
            SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brennwick");
    };
    removeVellmora();

    CInstallerRun run;
    ASSERT_EQ(0, run.Run(TestBinaryDirectory() + "Install.exe"));
    EXPECT_EQ("Installation complete.", run.ClosingText());
    // The wizard asked once, on its destination page.
    EXPECT_EQ(std::vector<std::string>{"Directory '" + destination + "' doesn't exist. Create directory?"},
              run.Texts("Setup"));

    std::string log = ReadWholeFile(destination + "\\Install.log");
    printf("Install.log after a default installation:\n%s", log.c_str());
    // The vendor key that the settings key made is logged too.
    std::string expected = "[INSTALL]\nTITLE=Vellmora v1.1\nPATH=$D\nICONGROUP=Vellmora\nICONUSERGROUP=YES\n"
                           "FILE=$D\\Remove.exe\nFILE=$D\\ReadMe.txt\nFILE=$D\\Vellmora.exe\n"
                           "REG=HKLM,$U\nREG=HKLM,$U,\"DisplayName\"\nREG=HKLM,$U,\"UninstallString\"\n" +
                           std::string(hadSettings ? "" : "REG=HKCU,Software\\Brennwick\n") +
                           "REG=HKCU,Software\\Brennwick\\Vellmora\n"
                           "REG=HKCR,.cbf\nREG=HKCR,.cbf,\"\"\nREG=HKCR,VellmoraBook\nREG=HKCR,VellmoraBook,\"\"\n"
                           "REG=HKCR,VellmoraBook\\DefaultIcon,\"\"\nREG=HKCR,VellmoraBook\\shell\\open\\command,\"\"\n"
                           "REG=HKCR,.cpf\nREG=HKCR,.cpf,\"\"\nREG=HKCR,VellmoraPage\nREG=HKCR,VellmoraPage,\"\"\n"
                           "REG=HKCR,VellmoraPage\\DefaultIcon,\"\"\nREG=HKCR,VellmoraPage\\shell\\open\\command,\"\"\n"
                           "ICON=$G\\Readme.lnk\nICON=$G\\Vellmora.lnk\nICON=$T\\Vellmora.lnk\n";
    expected = Expanded(Expanded(Expanded(expected, kUninstall, "$U"), group, "$G"), desktop, "$T");
    EXPECT_EQ(Expanded(expected, destination), log);

    for (const char* name : {"\\Vellmora.exe", "\\Remove.exe"})
        EXPECT_EQ(ReadWholeFile(TestBinaryDirectory() + name), ReadWholeFile(destination + name)) << name;
    EXPECT_EQ(0u, ReadWholeFile(destination + "\\ReadMe.txt").find("Vellmora 1.1\r\n"));
    // The carried files have the release stamp, 26 December 1998 01:10 local time.
    EXPECT_EQ(0x01be306c75912400ULL, LocalFileTime(destination + "\\ReadMe.txt"));
    EXPECT_EQ("\"" + destination + "\\Remove.exe\"",
              QueryRegistryText(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString"));
    // "Program Files" has a space: with short names off, an unquoted program
    // path would split there.
    for (const char* type : {"VellmoraBook", "VellmoraPage"}) {
        std::string command = QueryRegistryText(HKEY_CLASSES_ROOT, (type + std::string("\\shell\\open\\command")).c_str(), "");
        std::string program = destination + "\\Vellmora.exe";
        EXPECT_EQ((std::vector<std::wstring>{std::wstring(program.begin(), program.end()), L"%1"}),
                  SplitCommandLine(command))
            << type;
    }
    CoInitialize(nullptr);
    EXPECT_EQ(destination + "\\ReadMe.txt", ShortcutTarget(group + "\\Readme.lnk"));
    EXPECT_EQ(destination + "\\Vellmora.exe", ShortcutTarget(desktop + "\\Vellmora.lnk"));
    CoUninitialize();
    removeVellmora();
}
