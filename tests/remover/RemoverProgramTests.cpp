// SWEEPER.EXE and Remove.exe on hand-written logs in the prefix: what they
// ask, and what of an installation's files and registry they delete.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <shlwapi.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "Digest.h"
#include "ProcessRunner.h"
#include "RemoverApp.h"
#include "RemoverTestSupport.h"
#include "RemoverWorker.h"
#include "TestApp.h"

namespace {

const char kTestKey[] = "Software\\VellmoraRemoverTest";
const char kGroup[] = "Vellmora Remover Test";
const char kTestUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VellmoraRemoverTest";

// The installation the logs are written for: files and folders (with "\")
// in its folder, keys and values ("key=name") below the test key, and its
// program group in the user's and in the common Programs folder.
const char* const kInstallation[] = {"INSTALL.LOG", "Kept\\", "Kept\\user data.txt", "Links\\", "Links\\one.lnk",
                                     "Remove.exe", "Sub\\", "Sub\\b.txt", "a.exe", "group common", "group user",
                                     "reg Default", "reg Default\\shell", "reg Other", "reg Tree", "reg Tree\\Sub1",
                                     "reg Values=", "reg Values=Gone", "reg Values=Stays", "..\\outside.txt"};

// The log in the folder, with the digest of the text in an uninstall entry
// whose command lies beside it; `changed` is appended after.
void WriteSealedLog(const std::string& folder, const std::string& text, const std::string& changed)
{
    std::string command = "\"" + folder + "\\Remove.exe\"", digest = Sha256Hex(text.data(), text.size());
    SHSetValueA(HKEY_LOCAL_MACHINE, kTestUninstall, "UninstallString", REG_SZ, command.c_str(), command.size() + 1);
    SHSetValueA(HKEY_LOCAL_MACHINE, kTestUninstall, kLogDigestValue, REG_SZ, digest.c_str(), digest.size() + 1);
    WriteTextFile(folder + "\\INSTALL.LOG", text + changed);
}

std::string GroupFolder(bool common)
{
    char folder[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, folder, common ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, FALSE);
    return std::string(folder) + "\\" + kGroup;
}

// A copy of the removal program in the folder, as Remove writes it.
bool StartSweeper(CChildProcess& sweeper, const std::string& folder, const std::string& arguments)
{
    std::string copy = folder + "\\SWEEPER.EXE";
    return CopyFileA((TestBinaryDirectory() + "SWEEPER.exe").c_str(), copy.c_str(), FALSE) &&
           sweeper.Start(copy, arguments);
}

// Starts Remove.exe with its temporary folder at `temp` (TMP comes first).
bool StartRemove(CChildProcess& remove, const std::string& program, const std::string& temp)
{
    char saved[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    SetEnvironmentVariableA("TMP", temp.c_str());
    bool started = remove.Start(program);
    SetEnvironmentVariableA("TMP", length ? saved : nullptr);
    return started;
}

// The paths waiting for deletion at the next start from the first'th on
// that begin with `under`, in their long form while they exist.
std::vector<std::string> PendingDeletions(size_t first, const std::string& under)
{
    const char key[] = "System\\CurrentControlSet\\Control\\Session Manager";
    DWORD size = 0;
    SHGetValueA(HKEY_LOCAL_MACHINE, key, "PendingFileRenameOperations", nullptr, nullptr, &size);
    std::string data(size + 2, '\0');
    if (SHGetValueA(HKEY_LOCAL_MACHINE, key, "PendingFileRenameOperations", nullptr, &data[0], &size) != 0)
        size = 0;
    // Pairs of a path after "\??\" and an empty new name.
    std::vector<std::string> paths;
    for (size_t p = 0; p < size; p += strlen(&data[p]) + 1) {
        char full[MAX_PATH] = "";
        if (strlen(&data[p]) > 4)
            paths.push_back(GetLongPathNameA(&data[p + 4], full, MAX_PATH) ? full : &data[p + 4]);
    }
    paths.erase(paths.begin(), paths.begin() + std::min(first, paths.size()));
    paths.erase(std::remove_if(paths.begin(), paths.end(), [&](const std::string& path) { return path.find(under) != 0; }),
                paths.end());
    return paths;
}

class RemoverTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeScratchDirectory("remover test");
        m_app = m_folder + "\\Spaced App";
    }
    void TearDown() override
    {
        Uninstall();
        RemoveTree(m_folder);
    }
    void Uninstall()
    {
        RemoveTree(m_app);
        for (bool common : {false, true})
            RemoveDirectoryA(GroupFolder(common).c_str());
        DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestUninstall);
    }
    // Every entry of the installation afresh, the log with the text (with
    // %a the installation folder and %k the test key) or none, its digest in
    // an uninstall entry for Remove.exe unless the log is changed after.
    void Install(const char* log, const char* changed = nullptr)
    {
        Uninstall();
        CreateDirectoryA(m_app.c_str(), nullptr);
        for (const char* entry : kInstallation)
            Entry(entry, true);
        CopyFileA((TestBinaryDirectory() + "Remove.exe").c_str(), (m_app + "\\Remove.exe").c_str(), FALSE);
        std::string text = Expand(log ? log : "");
        WriteSealedLog(m_app, text, Expand(changed ? changed : ""));
        if (log == nullptr)
            DeleteFileA((m_app + "\\INSTALL.LOG").c_str());
    }
    std::string Expand(std::string text)
    {
        const std::string pairs[][2] = {{"%a", m_app}, {"%k", kTestKey}};
        for (const auto& pair : pairs)
            for (size_t p; (p = text.find(pair[0])) != std::string::npos;)
                text.replace(p, 2, pair[1]);
        return text;
    }
    // Makes the entry, or tells whether it is there.
    bool Entry(const std::string& entry, bool make)
    {
        std::string path = m_app + "\\" + entry;
        if (entry.compare(0, 6, "group ") == 0)
            path = GroupFolder(entry == "group common") + "\\";
        if (entry.compare(0, 4, "reg ") == 0) {
            size_t equals = entry.find('=');
            std::string key = std::string(kTestKey) + "\\" + entry.substr(4, equals - 4);
            const char* name = equals == std::string::npos ? nullptr : entry.c_str() + equals + 1;
            return make ? SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, "x", 2) == 0
                        : RegistryHas(HKEY_CURRENT_USER, key, name);
        }
        if (make && path.back() == '\\')
            CreateDirectoryA(path.c_str(), nullptr);
        else if (make)
            WriteTextFile(path, "x");
        return PathExists(path);
    }
    // The entries of the installation that are not there, between "|".
    std::string Missing()
    {
        std::string missing;
        for (const char* entry : kInstallation)
            if (!Entry(entry, false))
                missing += (missing.empty() ? "" : "|") + std::string(entry);
        return missing;
    }
    std::string m_folder;
    std::string m_app;
};

} // namespace

// One installation, a log for it and the boxes the removal shows: a refusal
// deletes nothing, a removal what the log lists up to its next section.
// Keys in any case, a later TITLE over an earlier one, unknown keys passed
// over. Files go before directories whatever their order in the log; a
// directory that still holds something stays, and the installation folder
// around it; the log goes although it is not listed; ICONUSERGROUP "YES"
// names the user's group, "no" in any case the common one. REG lines delete
// a key it made with its subkeys or a value; a default value (,"") of a key
// that was there only while it names a class the log made. A log changed
// after its digest was stored, or without one, removes nothing; entries
// outside the installation, its shortcut folders or on system keys are
// skipped and named; a file in use waits for the next start. Every run ends
// by itself, its copy waiting with its folder for deletion at the next
// start. Remove.exe, with spaces in its path and in the temporary folder's,
// starts the removal from a fresh folder of its own.
TEST_F(RemoverTest, DeletesWhatTheLogListsOrNothing)
{
    enum Start { kNoArgument, kSweeper, kRemove };
    const struct {
        Start start;
        const char* log; // null: none is written
        std::vector<std::pair<int, const char*>> boxes; // the button pressed and the text
        const char* missing;
        const char* changed = nullptr; // appended after the digest was taken
        const char* held = nullptr; // a file of the installation in use
    } cases[] = {
        {kNoArgument, "[INSTALL]\nFILE=%a\\a.exe\n", {}, ""},
        {kSweeper, nullptr, {{IDOK, "Error: Install.log file not fount."}}, "INSTALL.LOG"},
        {kSweeper, "[install]\nFILE=%a\\a.exe\n", {{IDOK, "Error: Cannot read install.log file."}}, ""},
        {kSweeper, "[INSTAL", {{IDOK, "Error: Cannot read install.log file."}}, ""},
        {kSweeper, "[INSTALL]\r\nTITLE=Test Program v2\nFILE=%a\\a.exe\n",
         {{IDNO, "Removing: Do you want remove program Test Program v2."}}, ""},
        {kSweeper,
         "[INSTALL]\r\ntitle=First\nPATH=%a\nICONGROUP=Vellmora Remover Test\nICONUSERGROUP=YES\nDIRECTORY=%a\\Sub\nDirectory=%a\\Kept\n"
         "UNKNOWN=x\nFILE=%a\\Sub\\b.txt\nfile=%a\\a.exe\nREG=HKCU,%k\\Tree\nREG=HKCU,%k\\Values,\"Gone\"\n"
         "REG=HKCU,%k\\Default,\"\"\nREG=HKCU,%k\\Missing,\"v\"\nICON=%a\\Links\\one.lnk\nICON=%a\\Links\\none.lnk\n"
         "TITLE=Hand Written\n[OTHER]\nFILE=%a\\Remove.exe\n",
         {{IDYES, "Removing: Do you want remove program Hand Written."},
          {IDOK, "Removing: Program removed.\n\nThese entries of Install.log lie outside the installation and were "
                 "left alone:\n\n%a\\Links\\one.lnk\n%a\\Links\\none.lnk\n"}},
         "INSTALL.LOG|Sub\\|Sub\\b.txt|a.exe|group user|reg Tree|reg Tree\\Sub1|reg Values=Gone"},
        {kSweeper, "[INSTALL]\nTITLE=T\nPATH=%a\nFILE=%a\\a.exe\n",
         {{IDOK, "Error: Install.log was changed after Vellmora was installed. Nothing was removed."}}, "",
         "FILE=%a\\Remove.exe\n"},
        {kSweeper, "[INSTALL]\nTITLE=Outside\nPATH=%a\nFILE=%a\\..\\outside.txt\nFILE=%a/../outside.txt\n"
                   "FILE=%a\\a.exe\nREG=HKCU,Software,\"x\"\nREG=HKCR,*,\"x\"\nREG=HKLM,SYSTEM\\x\n",
         {{IDYES, "Removing: Do you want remove program Outside."},
          {IDOK, "Removing: Program removed.\n\nThese entries of Install.log lie outside the installation and were "
                 "left alone:\n\n%a\\..\\outside.txt\n%a/../outside.txt\nHKCU\\Software, x\nHKCR\\*, x\n"
                 "HKLM\\SYSTEM\\x\n"}},
         "INSTALL.LOG|a.exe"},
        {kSweeper, "[INSTALL]\nTITLE=Held\nPATH=%a\nFILE=%a\\a.exe\nFILE=%a\\Remove.exe\n",
         {{IDYES, "Removing: Do you want remove program Held."},
          {IDOK, "Removing: The removal completes when Windows starts the next time: some files are still in use."}},
         "INSTALL.LOG|Remove.exe", nullptr, "a.exe"},
        {kRemove, "[INSTALL]\nTITLE=Spaced\nPATH=%a\nICONGROUP=Vellmora Remover Test\nICONUSERGROUP=nO\nFILE=%a\\Remove.exe\n",
         {{IDYES, "Removing: Do you want remove program Spaced."}, {IDOK, "Removing: Program removed."}},
         "INSTALL.LOG|Remove.exe|group common"},
    };
    std::string temp = m_folder + "\\temp folder";
    CreateDirectoryA(temp.c_str(), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log ? c.log : "no log");
        Install(c.log, c.changed);
        ASSERT_EQ(c.log ? "" : "INSTALL.LOG", Missing());
        HANDLE held = c.held ? CreateFileA((m_app + "\\" + c.held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr)
                             : INVALID_HANDLE_VALUE;
        size_t pending = PendingDeletions(0, "").size();
        CChildProcess program;
        std::string folder = c.start == kRemove ? temp + "\\VLR" : MakeScratchDirectory("sweeper");
        ASSERT_TRUE(c.start == kRemove ? StartRemove(program, m_app + "\\Remove.exe", temp)
                                       : StartSweeper(program, folder, c.start == kSweeper ? m_app + "\\INSTALL.LOG" : ""));
        for (const auto& box : c.boxes) {
            std::string caption(box.second, strcspn(box.second, ":"));
            EXPECT_EQ(Expand(box.second), caption + ": " + Answer(c.start == kRemove ? 0 : program.GetProcessId(),
                                                                  caption.c_str(), box.first));
        }
        EXPECT_EQ(0, program.Wait(30000));
        std::vector<std::string> added;
        PumpUntil([&] { return (added = PendingDeletions(pending, folder)).size() >= 2; }, 10000);
        added.resize(std::max<size_t>(added.size(), 2));
        EXPECT_EQ((std::vector<std::string>{added[1] + "\\SWEEPER.EXE", added[1]}), added) << "below " << folder;
        EXPECT_EQ(c.held != nullptr, !PendingDeletions(pending, m_app + "\\" + (c.held ? c.held : "")).empty());
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(c.missing, Missing());
    }
    CChildProcess failing;
    ASSERT_TRUE(StartRemove(failing, "Remove.exe", m_folder + "\\no such folder"));
    EXPECT_EQ(1, failing.Wait()) << "without a temporary folder";
}

namespace {
std::string g_many;
int g_held[2];

// The worker deletes the files in their order: the number of the first one
// left.
int FirstLeft()
{
    int i = 0;
    while (i < 1000 && !PathExists(g_many + std::to_string(i)))
        i++;
    return i;
}

// Presses the progress dialog's Cancel while the question is still open, so
// that the press waits for the worker's next item.
// Esc asks as the Cancel button does.
bool g_escape;
void PressCancelBehind(HWND box, void*)
{
    HWND dialog = GetWindow(box, GW_OWNER);
    if (g_escape)
        PostMessageA(GetDlgItem(dialog, 1001), WM_KEYDOWN, VK_ESCAPE, 0);
    else
        PressButton(dialog, 1001);
}

// The first file left when the cancel question opens and a moment later: a
// worker that is not held deletes hundreds meanwhile.
void ReadHeldFiles(HWND, void*)
{
    g_held[0] = FirstLeft();
    Sleep(300);
    g_held[1] = FirstLeft();
}
} // namespace

// The cancel question, asked for the Cancel button and for Esc, holds the
// worker at an item; "Yes" stops it there and keeps the log for a later
// removal, "No" lets it finish.
TEST_F(RemoverTest, CancelHoldsTheWorkerAtAnItem)
{
    g_many = m_folder + "\\many ";
    std::string log = "[INSTALL]\nTITLE=Long\nPATH=" + m_folder + "\n", logPath = m_folder + "\\INSTALL.LOG";
    for (int i = 0; i < 1000; i++)
        log += "FILE=" + g_many + std::to_string(i) + "\n";
    for (int cancel : {IDYES, IDNO}) {
        for (int i = 0; i < 1000; i++)
            WriteTextFile(g_many + std::to_string(i), "");
        WriteSealedLog(m_folder, log, "");
        g_escape = cancel == IDYES;
        CChildProcess sweeper;
        ASSERT_TRUE(StartSweeper(sweeper, MakeScratchDirectory("sweeper"), logPath));
        DWORD id = sweeper.GetProcessId();
        EXPECT_EQ("Do you want remove program Long.", Answer(id, "Removing", IDYES, PressCancelBehind));
        EXPECT_EQ("Programs is not removed correctly. Do you want cancel removing?",
                  Answer(id, "Canceling...", cancel, ReadHeldFiles));
        EXPECT_EQ(g_held[0], g_held[1]) << "nothing is deleted while the question is open";
        EXPECT_LT(g_held[0], 1000);
        if (cancel == IDNO) {
            EXPECT_EQ("Program removed.", Answer(id, "Removing", IDOK));
        }
        EXPECT_EQ(0, sweeper.Wait(30000));
        EXPECT_EQ(cancel == IDYES, PathExists(logPath));
        EXPECT_EQ(cancel == IDNO, FirstLeft() == 1000);
    }
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
