// SWEEPER.EXE and Remove.exe as processes, on hand-written logs: what they
// ask, what they delete from the prefix's files and registry, and what
// they leave.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <thread>
#include <vector>

#include "DialogDriver.h"
#include "ProcessRunner.h"
#include "RemoverApp.h"
#include "RemoverDialog.h"
#include "RemoverWorker.h"
#include "RemoverTestSupport.h"
#include "TestApp.h"

namespace {

const char kTestKey[] = "Software\\VellmoraRemoverTest";
const DWORD kAnswerWait = 20000;

// A copy of the removal program in a scratch folder of its own, as Remove
// writes it, started with the argument text.
class CSweeperRun {
public:
    bool Start(const std::string& arguments)
    {
        std::string copy = MakeScratchDirectory("sweeper") + "\\SWEEPER.EXE";
        return CopyFileA((TestBinaryDirectory() + "SWEEPER.exe").c_str(), copy.c_str(), FALSE) &&
               m_process.Start(copy, arguments);
    }
    DWORD Id() const { return m_process.GetProcessId(); }
    // Answers a box of the run, checking its text.
    void Answer(const char* caption, int button, const std::string& text, CDialogAnswer::Action action = nullptr,
                void* context = nullptr)
    {
        CDialogAnswer answer(caption, button, Id(), kAnswerWait, action, context);
        ASSERT_TRUE(answer.Wait()) << caption;
        EXPECT_EQ(text, answer.Text());
    }
    CChildProcess m_process;
};

class RemoverTest : public testing::Test {
protected:
    void SetUp() override { m_folder = MakeScratchDirectory("remover test"); }
    void TearDown() override
    {
        RemoveTree(m_folder);
        DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
    }
    std::string m_folder;
};

} // namespace

// A missing argument ends silently; a missing log or one that is not an
// install log gets its message; "No" to the question deletes nothing. In
// every case the program ends by itself.
TEST_F(RemoverTest, EndsWithoutDeletingOnEveryRefusal)
{
    const struct {
        const char* log;  // null: no log is written
        const char* caption;
        int button;
        const char* text;
    } cases[] = {
        {nullptr, nullptr, 0, ""},
        {nullptr, "Error", IDOK, "Install.log file not fount."},
        {"INSTALL]\nFILE=%v\n", "Error", IDOK, "Cannot read install.log file."},
        {"[INSTAL", "Error", IDOK, "Cannot read install.log file."},
        {"[INSTALL]\r\nTITLE=Test Program v2\nFILE=%v\n", "Removing", IDNO, "Do you want remove program Test Program v2."},
    };
    std::string victim = m_folder + "\\victim.txt";
    std::string logPath = m_folder + "\\log folder\\INSTALL.LOG";
    CreateDirectoryA((m_folder + "\\log folder").c_str(), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteTextFile(victim, "keep me");
        DeleteFileA(logPath.c_str());
        if (c.log != nullptr)
            WriteTextFile(logPath, ReplaceAll(c.log, "%v", victim));
        CSweeperRun run;
        ASSERT_TRUE(run.Start(c.caption == nullptr ? "" : logPath));
        if (c.caption != nullptr)
            run.Answer(c.caption, c.button, c.text);
        EXPECT_EQ(0, run.m_process.Wait(kAnswerWait));
        EXPECT_TRUE(PathExists(victim));
        EXPECT_EQ(c.log != nullptr, PathExists(logPath));
    }
}

namespace {

struct ProgressCheck {
    bool fontsRight = false;
    std::vector<int> positions;
};

// While "Program removed." is shown: the last step's label is emphasised,
// the others are not, and every bar has run to its end.
void ReadProgress(HWND box, void* context)
{
    ProgressCheck* check = (ProgressCheck*)context;
    const int labels[] = {1007, 1010, 1011, 1012};
    const int bars[] = {1005, 1006, 1008, 1009};
    HFONT normal = (HFONT)GetStockObject(ANSI_VAR_FONT);
    HFONT emphasised = (HFONT)GetStockObject(SYSTEM_FONT);
    HWND dialog = GetWindow(box, GW_OWNER);
    // The worker's last updates may still be on their way.
    PumpUntil([&] {
        check->fontsRight = true;
        check->positions.clear();
        for (int i = 0; i < 4; i++) {
            HFONT font = (HFONT)SendMessageA(GetDlgItem(dialog, labels[i]), WM_GETFONT, 0, 0);
            check->fontsRight = check->fontsRight && font == (i == 3 ? emphasised : normal);
            check->positions.push_back((int)SendMessageA(GetDlgItem(dialog, bars[i]), PBM_GETPOS, 0, 0));
        }
        return check->fontsRight && check->positions == std::vector<int>{5, 4, 2, 4};
    }, 5000);
}

} // namespace

// Files go before directories whatever their order in the log, a directory
// that still holds something stays, and so does the installation folder
// around it; the log goes although it is not listed. Registry lines delete
// a key with its subkeys, one value, or (",""") a whole key.
TEST_F(RemoverTest, RemovesWhatTheLogLists)
{
    std::string app = m_folder + "\\App";
    for (const char* folder : {"", "\\Sub", "\\Kept", "\\Links"})
        CreateDirectoryA((app + folder).c_str(), nullptr);
    for (const char* file : {"\\a.exe", "\\Sub\\b.txt", "\\Kept\\user data.txt", "\\Links\\one.lnk"})
        WriteTextFile(app + file, "x");
    std::string key = kTestKey;
    SetRegistryString(HKEY_CURRENT_USER, key + "\\Tree\\Sub1\\Sub2", "v", "1");
    SetRegistryString(HKEY_CURRENT_USER, key + "\\Tree", "v", "1");
    SetRegistryString(HKEY_CURRENT_USER, key + "\\Values", "Gone", "1");
    SetRegistryString(HKEY_CURRENT_USER, key + "\\Values", "Stays", "1");
    SetRegistryString(HKEY_CURRENT_USER, key + "\\Default", "", "type");
    SetRegistryString(HKEY_CURRENT_USER, key + "\\Default\\shell", "", "x");
    SetRegistryString(HKEY_CURRENT_USER, key + "\\Other", "", "stays");

    std::string logPath = app + "\\INSTALL.LOG";
    WriteTextFile(logPath, ReplaceAll("[INSTALL]\r\nTITLE=Hand Written\nPATH=%a\n"
                                      "DIRECTORY=%a\\Sub\nDIRECTORY=%a\\Kept\nFILE=%a\\Sub\\b.txt\nFILE=%a\\a.exe\n"
                                      "REG=HKCU,%k\\Tree\nREG=HKCU,%k\\Values,\"Gone\"\nREG=HKCU,%k\\Default,\"\"\n"
                                      "REG=HKCU,%k\\Missing,\"v\"\n"
                                      "ICON=%a\\Links\\one.lnk\nICON=%a\\Links\\missing.lnk\n",
                                      {{"%a", app}, {"%k", key}}));
    // The dialog runs in this process: Wine answers WM_GETFONT from another
    // process with 0, where Windows gives the font.
    ProgressCheck progress;
    std::string question;
    std::string done;
    std::thread answers([&] {
        CDialogAnswer yes("Removing", IDYES, GetCurrentProcessId(), kAnswerWait);
        yes.Wait();
        question = yes.Text();
        CDialogAnswer ok("Removing", IDOK, GetCurrentProcessId(), kAnswerWait, ReadProgress, &progress);
        ok.Wait();
        done = ok.Text();
    });
    CRemoverDialog dialog(logPath.c_str());
    dialog.DoModal(nullptr);
    answers.join();
    EXPECT_EQ(0, dialog.GetEndCode()) << "closed by itself";
    EXPECT_EQ("Do you want remove program Hand Written.", question);
    EXPECT_EQ("Program removed.", done);
    EXPECT_TRUE(progress.fontsRight);
    EXPECT_EQ((std::vector<int>{5, 4, 2, 4}), progress.positions);

    for (const char* gone : {"\\a.exe", "\\Sub", "\\Links\\one.lnk", "\\INSTALL.LOG"})
        EXPECT_FALSE(PathExists(app + gone)) << gone;
    for (const char* stays : {"", "\\Kept\\user data.txt", "\\Links"})
        EXPECT_TRUE(PathExists(app + stays)) << stays;
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, key + "\\Tree"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, key + "\\Default"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, key + "\\Values", "Gone"));
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, key + "\\Values", "Stays"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, key + "\\Other"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, key + "\\Missing"));
}

// ICONUSERGROUP "YES" names the user's Programs folder, anything but "NO"
// too, and "no" the common one; only the named group folder goes.
TEST_F(RemoverTest, GroupFolderOfTheUserOrOfAllUsers)
{
    char user[MAX_PATH] = "";
    char common[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, user, CSIDL_PROGRAMS, FALSE));
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, common, CSIDL_COMMON_PROGRAMS, FALSE));
    const char group[] = "Vellmora Remover Test Group";
    std::string userGroup = std::string(user) + "\\" + group;
    std::string commonGroup = std::string(common) + "\\" + group;
    const struct {
        const char* value;
        bool userGone;
    } cases[] = {{"YES", true}, {"no", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        CreateDirectoryA(userGroup.c_str(), nullptr);
        CreateDirectoryA(commonGroup.c_str(), nullptr);
        std::string logPath = m_folder + "\\INSTALL.LOG";
        WriteTextFile(logPath, std::string("[INSTALL]\nTITLE=Groups\nICONGROUP=") + group +
                                   "\nICONUSERGROUP=" + c.value + "\n");
        CSweeperRun run;
        ASSERT_TRUE(run.Start(logPath));
        run.Answer("Removing", IDYES, "Do you want remove program Groups.");
        run.Answer("Removing", IDOK, "Program removed.");
        EXPECT_EQ(0, run.m_process.Wait(kAnswerWait));
        EXPECT_EQ(c.userGone, !PathExists(userGroup));
        EXPECT_EQ(c.userGone, PathExists(commonGroup));
        RemoveDirectoryA(userGroup.c_str());
        RemoveDirectoryA(commonGroup.c_str());
    }
}

namespace {
// Presses the progress dialog's Cancel while the question is still open,
// so that the press waits for the worker's next item.
void PressCancelBehind(HWND box, void*) { PressButton(GetWindow(box, GW_OWNER), 1001); }

struct HeldWorker {
    int first = -1;
    int later = -2;
};

// The files bar while the cancel question is open, at first and a moment
// later.
void ReadHeldPosition(HWND box, void* context)
{
    HeldWorker* held = (HeldWorker*)context;
    HWND bar = GetDlgItem(GetWindow(box, GW_OWNER), 1006);
    held->first = (int)SendMessageA(bar, PBM_GETPOS, 0, 0);
    // A free worker deletes hundreds of entries in this time.
    Sleep(300);
    held->later = (int)SendMessageA(bar, PBM_GETPOS, 0, 0);
}
} // namespace

// The cancel question holds the worker at an item; "Yes" stops it there
// and keeps the log for a later removal, "No" lets it finish.
TEST_F(RemoverTest, CancelHoldsTheWorkerAtAnItem)
{
    std::string log = "[INSTALL]\nTITLE=Long\n";
    for (int i = 0; i < 1000; i++)
        log += "FILE=" + m_folder + "\\none" + std::to_string(i) + "\n";
    for (int cancel : {IDYES, IDNO}) {
        SCOPED_TRACE(cancel == IDYES ? "yes" : "no");
        std::string logPath = m_folder + "\\INSTALL.LOG";
        WriteTextFile(logPath, log);
        CSweeperRun run;
        ASSERT_TRUE(run.Start(logPath));
        run.Answer("Removing", IDYES, "Do you want remove program Long.", PressCancelBehind);
        HeldWorker held;
        run.Answer("Canceling...", cancel, "Programs is not removed correctly. Do you want cancel removing?",
                   ReadHeldPosition, &held);
        EXPECT_EQ(held.first, held.later) << "nothing is deleted while the question is open";
        EXPECT_LT(held.first, 1000);
        if (cancel == IDNO)
            run.Answer("Removing", IDOK, "Program removed.");
        EXPECT_EQ(0, run.m_process.Wait(kAnswerWait));
        EXPECT_EQ(cancel == IDYES, PathExists(logPath));
    }
}

namespace {
// Starts Remove.exe with the temporary folder of its environment at `temp`.
bool StartRemove(CChildProcess& remove, const std::string& program, const std::string& temp)
{
    char savedTemp[MAX_PATH] = "";
    char savedTmp[MAX_PATH] = "";
    GetEnvironmentVariableA("TEMP", savedTemp, MAX_PATH);
    GetEnvironmentVariableA("TMP", savedTmp, MAX_PATH);
    SetEnvironmentVariableA("TEMP", temp.c_str());
    SetEnvironmentVariableA("TMP", temp.c_str());
    bool started = remove.Start(program);
    SetEnvironmentVariableA("TEMP", savedTemp);
    SetEnvironmentVariableA("TMP", savedTmp);
    return started;
}
} // namespace

// Remove.exe and the temporary folder both with spaces in their paths: the
// removal program it starts reads the log beside it, deletes Remove.exe
// itself with the rest, and its own copy, in a fresh folder under the
// temporary folder, waits with that folder for deletion at the next start.
// Without a usable temporary folder Remove ends with 1.
TEST_F(RemoverTest, RemoveStartsTheRemovalFromAFolderOfItsOwn)
{
    std::string app = m_folder + "\\Program Files\\Spaced App";
    std::string temp = m_folder + "\\temp folder";
    for (const std::string& folder : {m_folder + "\\Program Files", app, temp})
        CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((TestBinaryDirectory() + "Remove.exe").c_str(), (app + "\\Remove.exe").c_str(), FALSE));
    WriteTextFile(app + "\\ReadMe.txt", "read me");
    WriteTextFile(app + "\\INSTALL.LOG", ReplaceAll("[INSTALL]\nTITLE=Spaced\nPATH=%a\nFILE=%a\\Remove.exe\n"
                                                    "FILE=%a\\ReadMe.txt\n",
                                                    {{"%a", app}}));
    std::vector<std::string> pendingBefore = PendingDeletions();

    CChildProcess remove;
    ASSERT_TRUE(StartRemove(remove, app + "\\Remove.exe", temp));
    EXPECT_EQ(0, remove.Wait());
    EXPECT_TRUE(AnswerRemoval("Spaced"));
    EXPECT_FALSE(PathExists(app)) << "everything listed, the log and the folder are gone";

    // The copy and then its folder: a fresh one directly under the
    // temporary folder.
    std::vector<std::string> added = NewEntries(pendingBefore, PendingDeletions());
    ASSERT_EQ(2u, added.size());
    std::string folder = LongPath(added[1]);
    EXPECT_EQ(folder + "\\SWEEPER.EXE", LongPath(added[0]));
    EXPECT_EQ(LongPath(temp), folder.substr(0, folder.rfind('\\')));
    EXPECT_EQ(0u, folder.compare(folder.rfind('\\') + 1, 3, "VLR"));

    CChildProcess failing;
    ASSERT_TRUE(StartRemove(failing, "Remove.exe", m_folder + "\\no such folder"));
    EXPECT_EQ(1, failing.Wait());
}

// Libraries beside the removal program are not loaded once it has limited
// the search, as it does before anything else.
TEST(RemoverLibrarySearchTest, LibrariesBesideTheProgramAreNotLoaded)
{
    HMODULE beside = LoadLibraryA("VersionedLibrary.dll");
    ASSERT_NE(nullptr, beside) << "the library lies beside the test";
    FreeLibrary(beside);
    ASSERT_TRUE(LimitLibrarySearch());
    EXPECT_EQ(nullptr, LoadLibraryA("VersionedLibrary.dll"));
    EXPECT_NE(nullptr, LoadLibraryA("version.dll"));
}
