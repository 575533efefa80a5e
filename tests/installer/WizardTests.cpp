// The setup wizard run in this process on scripts of the tests' own and
// worked from a second thread as a user would: pages and buttons, the
// destination's questions, the component list, the program group, the
// options and Cancel.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "../library/DialogWatchdog.h"
#include "DialogDriver.h"
#include "Files.h"
#include "InstallerRun.h"
#include "ScriptTestSupport.h"
#include "SetupScript.h"
#include "SetupWizard.h"
#include "SpaceText.h"
#include "TestApp.h"
#include "WizardDriver.h"
#include "WizardPage.h"
#include "resource.h"

namespace {

template <class Condition>
bool WaitFor(Condition condition)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 10000)
            return false;
        Sleep(20);
    }
    return true;
}

BOOL CALLBACK AnswerYes(HWND window, LPARAM)
{
    PostMessageA(window, WM_COMMAND, IDYES, 0);
    return TRUE;
}

// Answers Yes to whatever the wizard still asks and cancels it, so that a
// test that went wrong fails instead of waiting for ever.
void EndWizard(HWND sheet)
{
    DWORD thread = GetWindowThreadProcessId(sheet, nullptr);
    while (IsWindow(sheet)) {
        EnumThreadWindows(thread, AnswerYes, 0);
        PressWizard(sheet, PSBTN_CANCEL);
        Sleep(200);
    }
}

class Wizard : public testing::Test {
protected:
    void SetUp() override { m_directory = MakeScratchDirectory("wizard"); }
    void TearDown() override { RemoveTree(m_directory); }

    void Load(CSetupScript& script, const std::string& text, std::map<std::string, uint32_t> sizes = {})
    {
        CFixedSizes fixed(sizes);
        ReadText(text, script, nullptr, &fixed);
        script.FillNumberFormat();
        script.m_destination = m_directory;
    }

    // Runs the wizard on this thread while the steps work it from another.
    static int Run(CSetupScript& script, std::function<void(HWND)> steps)
    {
        std::thread driver([&steps] {
            HWND sheet = WaitForWizard(GetCurrentProcessId());
            if (sheet == nullptr)
                return;
            steps(sheet);
            if (!WaitUntilGone(sheet, 15000)) {
                ADD_FAILURE() << "the wizard did not end";
                EndWizard(sheet);
            }
        });
        CDialogWatchdog watchdog(30000);
        int result = RunSetupWizard(script, nullptr);
        driver.join();
        script.CloseLog();
        return result;
    }

    // Next (or Finish) on the destination page, confirming the directory.
    static std::string Confirm(HWND sheet, int button = PSBTN_NEXT)
    {
        CDialogAnswer answer("Setup", IDYES);
        PressWizard(sheet, button);
        answer.Wait();
        return answer.Text();
    }

    std::string m_directory;
};

void ClickItem(HWND list, int index)
{
    RECT item = {};
    SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&item);
    LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
}

HWND WaitForComponentsDialog()
{
    HWND found = nullptr;
    WaitFor([&found] {
        for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", "Select Components"));)
            if (IsWindowVisible(window) && GetDlgItem(window, IDC_COMPONENTS_OK) != nullptr)
                found = window;
        return found != nullptr;
    });
    return found;
}

} // namespace

TEST_F(Wizard, ShowsThePagesThatHaveSomethingToAsk)
{
    const char kShortcut[] = "ICON=%i\\S.lnk,%d\\S.exe\n";
    const struct {
        std::string script;
        std::vector<std::string> states;
    } cases[] = {
        {"[MAIN]\n", {"101 Finish"}},
        {"[MAIN]\nCHECK=A,Alpha\n", {"101 Next", "197 Back Finish"}},
        {"[MAIN]\nSELECTION=S\n[S]\nTITLE=S\n", {"101 Next", "109 Back Finish"}},
        {"[MAIN]\nSELECTION=S\n[S]\n" + std::string(kShortcut), {"101 Next", "109 Back Next", "133 Back Finish"}},
        {"[MAIN]\nSELECTION=S\nCHECK=A,Alpha\n[S]\n" + std::string(kShortcut),
         {"101 Next", "109 Back Next", "133 Back Next", "197 Back Finish"}},
    };
    for (const auto& test : cases) {
        CSetupScript script;
        Load(script, test.script);
        std::vector<std::string> seen;
        int result = Run(script, [&test, &seen](HWND sheet) {
            for (size_t i = 0; i < test.states.size(); i++) {
                seen.push_back(WaitForState(sheet, test.states[i]));
                int button = i + 1 < test.states.size() ? PSBTN_NEXT : PSBTN_FINISH;
                if (i == 0)
                    Confirm(sheet, button);
                else
                    PressWizard(sheet, button);
            }
        });
        EXPECT_EQ(test.states, seen) << test.script;
        EXPECT_GT(result, 0);
        EXPECT_EQ(m_directory, script.m_destination);
    }
}

TEST_F(Wizard, AsksAboutTheDestinationUntilItIsConfirmedAndNotAgain)
{
    CSetupScript script;
    Load(script, "[MAIN]\nCHECK=A,Alpha\n");
    std::string fresh = m_directory + "\\Fresh";
    const struct {
        std::string typed;
        int answer;
        std::string message;
        const char* state;
    } steps[] = {
        {m_directory + "\\Missing\\Nested", IDOK, "Path '" + m_directory + "\\Missing\\Nested' is not valid.", "101 Next"},
        // A wildcard would find some other folder.
        {m_directory + "\\F*", IDOK, "Path '" + m_directory + "\\F*' is not valid.", "101 Next"},
        {fresh, IDNO, "Directory '" + fresh + "' doesn't exist. Create directory?", "101 Next"},
        {m_directory, IDNO, "Directory '" + m_directory + "' exist. Overwrite?", "101 Next"},
        {fresh, IDYES, "Directory '" + fresh + "' doesn't exist. Create directory?", "197 Back Finish"},
    };
    std::vector<std::string> messages, expected, states, expectedStates;
    bool freshAfterNo = true;
    Run(script, [&](HWND sheet) {
        for (const auto& step : steps) {
            SetDlgItemTextA(CurrentPage(sheet), IDC_DESTINATION, step.typed.c_str());
            CDialogAnswer answer("Setup", step.answer);
            PressWizard(sheet, PSBTN_NEXT);
            answer.Wait();
            messages.push_back(answer.Text());
            states.push_back(WaitForState(sheet, step.state));
            if (step.answer == IDNO && step.typed == fresh)
                freshAfterNo = DirectoryExists(fresh.c_str());
        }
        PressWizard(sheet, PSBTN_BACK);
        states.push_back(WaitForState(sheet, "101 Next"));
        // Nothing was edited: no second question.
        PressWizard(sheet, PSBTN_NEXT);
        states.push_back(WaitForState(sheet, "197 Back Finish"));
        PressWizard(sheet, PSBTN_FINISH);
    });
    for (const auto& step : steps) {
        expected.push_back(step.message);
        expectedStates.push_back(step.state);
    }
    expectedStates.insert(expectedStates.end(), {"101 Next", "197 Back Finish"});
    EXPECT_EQ(expected, messages);
    EXPECT_EQ(expectedStates, states);
    EXPECT_FALSE(freshAfterNo) << "No removes the new directory again";
    EXPECT_TRUE(DirectoryExists(fresh.c_str()));
    EXPECT_EQ(fresh, script.m_destination);
}

TEST(WizardText, SizesInKilobytesAndTheRootsOfFreeSpace)
{
    CSetupScript script;
    script.FillNumberFormat();
    std::string thousands = script.m_numberFormat.lpThousandSep;
    const struct {
        uint64_t bytes;
        std::string shown;
    } sizes[] = {{0, "0 KB"}, {1, "1 KB"}, {1023, "1 KB"}, {1024, "2 KB"}, {1263615, "1" + thousands + "234 KB"},
                 {5ull << 40, "5" + thousands + "368" + thousands + "709" + thousands + "121 KB"}};
    for (const auto& size : sizes)
        EXPECT_EQ(size.shown, SizeText(script, size.bytes)) << size.bytes;
    const struct {
        const char* path;
        const char* root;
    } roots[] = {{"C:\\Program Files\\Vellmora", "C:\\"}, {"d", "d:\\"}, {"", ""},
                 {"\\\\server\\share\\Vellmora", "\\\\server\\share\\"}, {"\\\\server\\share", "\\\\server\\share\\"}};
    for (const auto& root : roots)
        EXPECT_EQ(root.root, SpaceRoot(root.path)) << root.path;
    uint64_t freeBytes = 0;
    EXPECT_EQ(1, QueryFreeSpace("C:\\Vellmora", freeBytes));
    EXPECT_GT(freeBytes, 0u);
    EXPECT_EQ(0, QueryFreeSpace("", freeBytes));
}

TEST_F(Wizard, ComponentListTogglesOnASecondClickAndDetailsLeaveAPartlyChosenComponent)
{
    CSetupScript script;
    Load(script,
         "[MAIN]\nSELECTION=BASE\nSELECTION=CORE,R\nSELECTION=EXTRAS\n"
         "[BASE]\nTITLE=Base\nFILE=B\nSELECTION=HELP\nSELECTION=DOCS\n[HELP]\nTITLE=Help\nFILE=H\n"
         "[DOCS]\nTITLE=Docs\nFILE=D\n[CORE]\nTITLE=Core\nFILE=C\n[EXTRAS]\nTITLE=Extras\nFILE=E\n"
         "ICON=%i\\E.lnk,%d\\E.exe\n",
         {{"B", 2048}, {"H", 10240}, {"D", 20480}, {"C", 4096}, {"E", 1024}});
    CSelection* base = script.m_components.GetHead();
    CSelection* core = base->m_next;
    CSelection* extras = core->m_next;
    std::vector<std::string> seen;
    COLORREF partlyMark = 0;
    Run(script, [&](HWND sheet) {
        WaitForState(sheet, "101 Next");
        Confirm(sheet);
        seen.push_back(WaitForState(sheet, "109 Back Next"));
        HWND page = CurrentPage(sheet);
        HWND list = GetDlgItem(page, IDC_COMPONENT_LIST);
        seen.push_back(ControlText(page, IDC_SPACE_REQUIRED));
        // Item 0 is current from the start; a required item never changes.
        for (int index : {1, 1, 2, 2, 0, 0})
            ClickItem(list, index);
        seen.push_back(std::to_string(IsWindowEnabled(GetDlgItem(page, IDC_DETAILS))));
        seen.push_back(WaitForState(sheet, "109 Back Finish"));
        seen.push_back(ControlText(page, IDC_SPACE_REQUIRED));
        PressButton(page, IDC_DETAILS);
        HWND dialog = WaitForComponentsDialog();
        HWND subList = GetDlgItem(dialog, IDC_COMPONENT_LIST);
        // No sub-component has sub-components of its own: Details goes and
        // the list takes its room.
        RECT listRect = {};
        GetWindowRect(subList, &listRect);
        seen.push_back(std::to_string(IsWindowVisible(GetDlgItem(dialog, IDC_DETAILS))) + " " +
                       std::to_string(listRect.right - listRect.left) + "x" +
                       std::to_string(listRect.bottom - listRect.top) + " " +
                       std::to_string(SendMessageA(subList, LB_GETITEMHEIGHT, 0, 0)));
        ClickItem(subList, 0);
        seen.push_back(ControlText(dialog, IDC_SPACE_REQUIRED));
        PressButton(dialog, IDC_COMPONENTS_OK);
        WaitFor([&] { return base->m_state == kStatePartial && IsWindowVisible(sheet); });
        seen.push_back(WaitForState(sheet, "109 Back Finish"));
        seen.push_back(ControlText(page, IDC_SPACE_REQUIRED));
        RECT item = {};
        SendMessageA(list, LB_GETITEMRECT, 0, (LPARAM)&item);
        HDC dc = GetDC(list);
        partlyMark = GetPixel(dc, item.left + 4, item.top + 3);
        ReleaseDC(list, dc);
        PressWizard(sheet, PSBTN_FINISH);
    });
    EXPECT_EQ((std::vector<std::string>{"109 Back Next", "38 KB", "1", "109 Back Finish", "5 KB", "0 249x140 13", "11 KB",
                                        "109 Back Finish", "17 KB"}),
              seen);
    EXPECT_EQ(RGB(206, 212, 224), partlyMark) << "the partly chosen mark";
    EXPECT_EQ(kStateRequired, core->m_state);
    EXPECT_EQ(4096u, core->m_size);
    EXPECT_EQ(kStateOff, extras->m_state);
    EXPECT_EQ(0u, extras->m_size);
    EXPECT_EQ(kStatePartial, base->m_state);
    EXPECT_EQ(2048u + 10240u, base->m_size);
    EXPECT_EQ((std::vector<int>{kStateOn, kStateOff}),
              (std::vector<int>{base->m_components.GetHead()->m_state, base->m_components.GetHead()->m_next->m_state}));
    EXPECT_EQ(2048u + 10240u + 4096u, script.m_requiredSize);
}

TEST_F(Wizard, ProgramGroupIsCheckedAndLoggedButNeverLeftBehind)
{
    const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    std::string userPrograms = QueryRegistryText(HKEY_CURRENT_USER, kShellFolders, "Programs");
    std::string commonPrograms = QueryRegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
    ASSERT_FALSE(userPrograms.empty() || commonPrograms.empty());
    RemoveDirectoryA((userPrograms + "\\New Group").c_str());
    CreateDirectoryA((userPrograms + "\\VlmUserGroup").c_str(), nullptr);
    CreateDirectoryA((commonPrograms + "\\VlmCommonGroup").c_str(), nullptr);
    const struct {
        const char* picked;
        std::vector<const char*> typed;
        std::vector<std::string> seen;
        std::string group;
        std::string lines;
    } cases[] = {
        {"VlmUserGroup", {"Bad|Name", "New Group"}, {"Tests", "VlmUserGroup user", "'Bad|Name' is not valid group name."},
         userPrograms + "\\New Group", "ICONGROUP=New Group\nICONUSERGROUP=YES\n"},
        {"VlmCommonGroup", {}, {"Tests", "VlmCommonGroup common"}, commonPrograms + "\\VlmCommonGroup",
         "ICONGROUP=VlmCommonGroup\nICONUSERGROUP=NO\n"},
        {nullptr, {""}, {"Tests"}, "", ""},
    };
    for (const auto& test : cases) {
        CSetupScript script;
        Load(script, "[MAIN]\nPROGRAM=Wizard Test\nDEFICONGROUP=Tests\nICON=%i\\R.lnk,%d\\R.txt\n");
        std::vector<std::string> seen;
        Run(script, [&](HWND sheet) {
            WaitForState(sheet, "101 Next");
            Confirm(sheet);
            WaitForState(sheet, "133 Back Finish");
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
            // Every name but the last is refused.
            for (size_t i = 0; i < test.typed.size(); i++) {
                SetDlgItemTextA(page, IDC_GROUP_NAME, test.typed[i]);
                if (i + 1 < test.typed.size()) {
                    CDialogAnswer refusal("Setup", IDOK);
                    PressWizard(sheet, PSBTN_FINISH);
                    refusal.Wait();
                    seen.push_back(refusal.Text());
                }
            }
            PressWizard(sheet, PSBTN_FINISH);
        });
        EXPECT_EQ(test.seen, seen);
        EXPECT_EQ(test.group, script.m_programGroup);
        // Confirmed twice, the log has one head.
        EXPECT_EQ("[INSTALL]\nTITLE=Wizard Test\nPATH=" + m_directory + "\n" + test.lines,
                  ReadWholeFile(m_directory + "\\Install.log"));
    }
    EXPECT_FALSE(DirectoryExists((userPrograms + "\\New Group").c_str())) << "only tested, never left";
    RemoveDirectoryA((userPrograms + "\\VlmUserGroup").c_str());
    RemoveDirectoryA((commonPrograms + "\\VlmCommonGroup").c_str());
}

TEST_F(Wizard, OptionsGetACheckBoxEachThatSetsTheirFlag)
{
    CSetupScript script;
    Load(script, "[MAIN]\nCHECK=ONE,One\nCHECK=TWO,Two\\nlines,FALSE\nCHECK=THREE,Three\\nfour\\nfive\n");
    std::vector<std::string> boxes;
    Run(script, [&](HWND sheet) {
        WaitForState(sheet, "101 Next");
        Confirm(sheet);
        WaitForState(sheet, "197 Back Finish");
        HWND page = CurrentPage(sheet);
        for (int id = IDC_FIRST_OPTION; id < IDC_FIRST_OPTION + 3; id++) {
            HWND box = GetDlgItem(page, id);
            RECT rect = {};
            GetWindowRect(box, &rect);
            MapWindowPoints(nullptr, page, (POINT*)&rect, 2);
            boxes.push_back(std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
                            std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top) +
                            (IsDlgButtonChecked(page, id) ? " on" : " off") +
                            (SendMessageA(box, WM_GETFONT, 0, 0) == (LRESULT)GetStockObject(DEFAULT_GUI_FONT) ? "" : " font?"));
        }
        SendMessageA(GetDlgItem(page, IDC_FIRST_OPTION), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(page, IDC_FIRST_OPTION + 1), BM_CLICK, 0, 0);
        PressWizard(sheet, PSBTN_FINISH);
    });
    EXPECT_EQ((std::vector<std::string>{"160,30 270x15 on", "160,55 270x29 off", "160,94 270x43 on"}), boxes);
    std::vector<std::string> options;
    for (const CCheckItem* option : script.m_options)
        options.push_back(option->m_name + " " + std::to_string(option->m_on) + " " + std::to_string(option->m_controlId));
    EXPECT_EQ((std::vector<std::string>{"ONE 0 1000", "TWO 1 1001", "THREE 1 1002"}), options);
}

TEST_F(Wizard, CancelAsksAndYesEmptiesTheDestination)
{
    CSetupScript script;
    Load(script, "[MAIN]\nCHECK=A,Alpha\n");
    std::vector<std::string> seen;
    RECT rect = {};
    LONG_PTR exStyle = 0;
    int result = Run(script, [&](HWND sheet) {
        WaitForState(sheet, "101 Next");
        GetWindowRect(sheet, &rect);
        exStyle = GetWindowLongPtrA(sheet, GWL_EXSTYLE);
        for (int answer : {IDNO, IDYES}) {
            CDialogAnswer question("Exit Setup", answer);
            PressWizard(sheet, PSBTN_CANCEL);
            question.Wait();
            seen.push_back(question.Text());
            seen.push_back(answer == IDNO ? WizardState(sheet) : std::to_string(WaitUntilGone(sheet)));
        }
    });
    std::string question = "Setup is not complete. If you quit the Setup program now,\nthe program will not be "
                           "installed.\n\nQuit the Setup program?";
    EXPECT_EQ((std::vector<std::string>{question, "101 Next", question, "1"}), seen);
    EXPECT_EQ(0, result);
    EXPECT_EQ("", script.m_destination);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2, rect.left) << "centred";
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2, rect.top);
    EXPECT_EQ(0, exStyle & WS_EX_CONTEXTHELP);
}

TEST_F(Wizard, InstallExeWithAnEmptyProgramGroupLogsNoGroupAndMakesNoShortcuts)
{
    std::string destination = m_directory + "\\App";
    std::string script = "[MAIN]\nPROGRAM=Group Test\nDEFDIRECTORY=" + destination +
                         "\nFILE=TEXT,%d\\Text.txt\nICON=%i\\Text.lnk,%d\\Text.txt\n";
    // The driver presses through the wizard, whose group name stays empty.
    CInstallerRun run;
    ASSERT_EQ(0, run.Run(BuildInstaller(m_directory, script.c_str(), {{"TEXT", "carried text"}})));
    EXPECT_EQ("Installation complete.", run.ClosingText());
    EXPECT_EQ(std::vector<std::string>{"Directory '" + destination + "' doesn't exist. Create directory?"},
              run.Texts("Setup"));
    EXPECT_EQ((std::vector<std::string>{"[INSTALL]", "TITLE=Group Test", "PATH=" + destination,
                                        "FILE=" + destination + "\\Text.txt"}),
              ReadLines(destination + "\\Install.log"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\Text.lnk"));
}
