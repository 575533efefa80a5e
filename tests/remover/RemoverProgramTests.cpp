// SWEEPER.EXE and Remove.exe on hand-written logs in the prefix: what they
// ask, what they delete from its files and registry, and what they leave.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <thread>
#include <vector>

#include "DialogDriver.h"
#include "ProcessRunner.h"
#include "RemoverApp.h"
#include "RemoverDialog.h"
#include "RemoverTestSupport.h"
#include "RemoverWorker.h"
#include "TestApp.h"

namespace {

const char kTestKey[] = "Software\\VellmoraRemoverTest";
const char kGroup[] = "Vellmora Remover Test";
const DWORD kWait = 20000;

// A copy of the removal program in a scratch folder, as Remove writes it.
bool StartSweeper(CChildProcess& sweeper, const std::string& arguments)
{
    std::string copy = MakeScratchDirectory("sweeper") + "\\SWEEPER.EXE";
    return CopyFileA((TestBinaryDirectory() + "SWEEPER.exe").c_str(), copy.c_str(), FALSE) &&
           sweeper.Start(copy, arguments);
}

std::string Answer(DWORD process, const char* caption, int button, CDialogAnswer::Action action = nullptr)
{
    CDialogAnswer answer(caption, button, process, kWait, action);
    return answer.Wait() ? answer.Text() : std::string("no box ") + caption;
}

// The program group in the user's (0) and the common (1) Programs folder.
std::string GroupFolder(int common)
{
    char folder[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, folder, common ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, FALSE);
    return std::string(folder) + "\\" + kGroup;
}

class RemoverTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeScratchDirectory("remover test");
        for (int common : {0, 1})
            CreateDirectoryA(GroupFolder(common).c_str(), nullptr);
    }
    void TearDown() override
    {
        RemoveTree(m_folder);
        for (int common : {0, 1})
            RemoveDirectoryA(GroupFolder(common).c_str());
        DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
    }
    std::string m_folder;
};

} // namespace

// A missing argument ends silently; a missing log or one that is not an
// install log gets its message; "No" to the question deletes nothing. The
// program always ends by itself.
TEST_F(RemoverTest, EndsWithoutDeletingOnEveryRefusal)
{
    const struct {
        const char* log; // null: none is written
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
            WriteTextFile(logPath, Expand(c.log, {"%v", victim}));
        CChildProcess sweeper;
        ASSERT_TRUE(StartSweeper(sweeper, c.caption ? logPath : ""));
        if (c.caption != nullptr) {
            EXPECT_EQ(c.text, Answer(sweeper.GetProcessId(), c.caption, c.button));
        }
        EXPECT_EQ(0, sweeper.Wait(kWait));
        EXPECT_TRUE(PathExists(victim));
        EXPECT_EQ(c.log != nullptr, PathExists(logPath));
    }
}

namespace {
std::vector<int> g_progress;

// While "Program removed." is shown: only the last step's label is
// emphasised, and every bar has run to its end. The worker's last updates
// may still be on their way.
void ReadProgress(HWND box, void*)
{
    HWND dialog = GetWindow(box, GW_OWNER);
    HFONT fonts[] = {(HFONT)GetStockObject(ANSI_VAR_FONT), (HFONT)GetStockObject(SYSTEM_FONT)};
    PumpUntil([&] {
        g_progress.clear();
        const int items[][2] = {{1007, 1005}, {1010, 1006}, {1011, 1008}, {1012, 1009}};
        for (int i = 0; i < 4; i++) {
            HFONT font = (HFONT)SendDlgItemMessageA(dialog, items[i][0], WM_GETFONT, 0, 0);
            g_progress.push_back((font == fonts[i == 3] ? 1 : 0) + 10 * (int)SendDlgItemMessageA(dialog, items[i][1], PBM_GETPOS, 0, 0));
        }
        return g_progress == std::vector<int>{51, 41, 21, 41};
    }, 5000);
}
} // namespace

// Files go before directories whatever their order in the log; a directory
// that still holds something stays, and so does the installation folder
// around it; the log goes although it is not listed; ICONUSERGROUP "YES"
// names the user's group. Registry lines delete a key with its subkeys, a
// value, or with ,"" a whole key.
TEST_F(RemoverTest, RemovesWhatTheLogLists)
{
    std::string app = m_folder + "\\App";
    for (const char* folder : {"", "\\Sub", "\\Kept", "\\Links"})
        CreateDirectoryA((app + folder).c_str(), nullptr);
    for (const char* file : {"\\a.exe", "\\Sub\\b.txt", "\\Kept\\user data.txt", "\\Links\\one.lnk"})
        WriteTextFile(app + file, "x");
    std::string key = kTestKey;
    for (const char* path : {"\\Tree\\Sub1\\Sub2", "\\Tree", "\\Default\\shell", "\\Other"})
        SetRegistryString(HKEY_CURRENT_USER, key + path, "", "x");
    for (const char* value : {"", "Gone", "Stays"})
        SetRegistryString(HKEY_CURRENT_USER, key + "\\Values", value, "x");
    std::string logPath = app + "\\INSTALL.LOG";
    WriteTextFile(logPath, Expand("[INSTALL]\r\nTITLE=Hand Written\nPATH=%a\nICONGROUP=%g\nICONUSERGROUP=YES\n"
                                  "DIRECTORY=%a\\Sub\nDIRECTORY=%a\\Kept\nFILE=%a\\Sub\\b.txt\nFILE=%a\\a.exe\n"
                                  "REG=HKCU,%k\\Tree\nREG=HKCU,%k\\Values,\"Gone\"\nREG=HKCU,%k\\Default,\"\"\n"
                                  "REG=HKCU,%k\\Missing,\"v\"\nICON=%a\\Links\\one.lnk\nICON=%a\\Links\\none.lnk\n",
                                  {"%a", app, "%k", key, "%g", kGroup}));

    // In this process: Wine answers WM_GETFONT from another process with 0,
    // where Windows gives the font.
    std::string question, done;
    std::thread answers([&] {
        question = Answer(GetCurrentProcessId(), "Removing", IDYES);
        done = Answer(GetCurrentProcessId(), "Removing", IDOK, ReadProgress);
    });
    CRemoverDialog dialog(logPath.c_str());
    dialog.DoModal(nullptr);
    answers.join();
    EXPECT_EQ(0, dialog.GetEndCode()) << "closed by itself";
    EXPECT_EQ("Do you want remove program Hand Written.", question);
    EXPECT_EQ("Program removed.", done);
    EXPECT_EQ((std::vector<int>{51, 41, 21, 41}), g_progress) << "bar positions times 10, plus 1 for the right font";

    for (const char* gone : {"\\a.exe", "\\Sub", "\\Links\\one.lnk", "\\INSTALL.LOG"})
        EXPECT_FALSE(PathExists(app + gone)) << gone;
    for (const char* stays : {"\\Kept\\user data.txt", "\\Links"})
        EXPECT_TRUE(PathExists(app + stays)) << stays;
    EXPECT_FALSE(PathExists(GroupFolder(0)));
    EXPECT_TRUE(PathExists(GroupFolder(1)));
    for (const char* gone : {"\\Tree", "\\Default"})
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, key + gone)) << gone;
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, key + "\\Values", "Gone"));
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, key + "\\Values", "Stays"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, key + "\\Other"));
}

namespace {
std::string g_many;
int g_held[2];

int CountFiles(const std::string& folder)
{
    int count = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*.txt").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data))
        count++;
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return count;
}

// Presses the progress dialog's Cancel while the question is still open, so
// that the press waits for the worker's next item.
void PressCancelBehind(HWND box, void*) { PressButton(GetWindow(box, GW_OWNER), 1001); }

// The files left while the cancel question is open, at first and a moment
// later: a worker that is not held deletes hundreds meanwhile.
void CountHeldFiles(HWND, void*)
{
    g_held[0] = CountFiles(g_many);
    Sleep(300);
    g_held[1] = CountFiles(g_many);
}
} // namespace

// The cancel question holds the worker at an item; "Yes" stops it there
// and keeps the log for a later removal, "No" lets it finish.
TEST_F(RemoverTest, CancelHoldsTheWorkerAtAnItem)
{
    g_many = m_folder + "\\many";
    CreateDirectoryA(g_many.c_str(), nullptr);
    std::string log = "[INSTALL]\nTITLE=Long\n";
    for (int i = 0; i < 1000; i++)
        log += "FILE=" + g_many + "\\" + std::to_string(i) + ".txt\n";
    std::string logPath = m_folder + "\\INSTALL.LOG";
    for (int cancel : {IDYES, IDNO}) {
        for (int i = 0; i < 1000; i++)
            WriteTextFile(g_many + "\\" + std::to_string(i) + ".txt", "");
        WriteTextFile(logPath, log);
        CChildProcess sweeper;
        ASSERT_TRUE(StartSweeper(sweeper, logPath));
        DWORD id = sweeper.GetProcessId();
        EXPECT_EQ("Do you want remove program Long.", Answer(id, "Removing", IDYES, PressCancelBehind));
        EXPECT_EQ("Programs is not removed correctly. Do you want cancel removing?",
                  Answer(id, "Canceling...", cancel, CountHeldFiles));
        EXPECT_EQ(g_held[0], g_held[1]) << "nothing is deleted while the question is open";
        EXPECT_GT(g_held[0], 0);
        if (cancel == IDNO) {
            EXPECT_EQ("Program removed.", Answer(id, "Removing", IDOK));
        }
        EXPECT_EQ(0, sweeper.Wait(kWait));
        EXPECT_EQ(cancel == IDYES, PathExists(logPath));
        EXPECT_EQ(cancel == IDNO, CountFiles(g_many) == 0);
    }
}

namespace {
// Starts Remove.exe with its temporary folder at `temp`.
bool StartRemove(CChildProcess& remove, const std::string& program, const std::string& temp)
{
    char saved[2][MAX_PATH] = {};
    const char* names[] = {"TEMP", "TMP"};
    for (int i = 0; i < 2; i++) {
        GetEnvironmentVariableA(names[i], saved[i], MAX_PATH);
        SetEnvironmentVariableA(names[i], temp.c_str());
    }
    bool started = remove.Start(program);
    for (int i = 0; i < 2; i++)
        SetEnvironmentVariableA(names[i], saved[i]);
    return started;
}
} // namespace

// Remove.exe, and the temporary folder, with spaces in their paths: the
// removal program it starts reads the log beside it and deletes Remove.exe
// with the rest (ICONUSERGROUP "no": the common group); its own copy, in a
// fresh folder under the temporary folder, waits with that folder for
// deletion at the next start. Without a temporary folder Remove ends with 1.
TEST_F(RemoverTest, RemoveStartsTheRemovalFromAFolderOfItsOwn)
{
    std::string app = m_folder + "\\Program Files\\Spaced App";
    std::string temp = m_folder + "\\temp folder";
    for (const std::string& folder : {m_folder + "\\Program Files", app, temp})
        CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((TestBinaryDirectory() + "Remove.exe").c_str(), (app + "\\Remove.exe").c_str(), FALSE));
    WriteTextFile(app + "\\INSTALL.LOG", Expand("[INSTALL]\nTITLE=Spaced\nPATH=%a\nICONGROUP=%g\nICONUSERGROUP=no\n"
                                                "FILE=%a\\Remove.exe\n",
                                                {"%a", app, "%g", kGroup}));
    std::vector<std::string> pendingBefore = PendingDeletions();

    CChildProcess remove;
    ASSERT_TRUE(StartRemove(remove, app + "\\Remove.exe", temp));
    EXPECT_EQ(0, remove.Wait());
    EXPECT_TRUE(AnswerRemoval("Spaced"));
    EXPECT_FALSE(PathExists(app)) << "what the log lists, the log and the folder are gone";
    EXPECT_TRUE(PathExists(GroupFolder(0)));
    EXPECT_FALSE(PathExists(GroupFolder(1)));
    std::vector<std::string> added = PendingDeletions(pendingBefore);
    ASSERT_EQ(2u, added.size());
    EXPECT_EQ(added[1] + "\\SWEEPER.EXE", added[0]);
    EXPECT_EQ(0u, added[1].find(temp + "\\VLR")) << added[1];

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
