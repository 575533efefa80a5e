// The whole cycle, run by WholeCycle.sh in a Wine prefix of its own: the
// wizard of Install.exe with every option on, Vellmora from its shortcut and
// with a clipbook file through the open command of ".cbf", then the
// uninstall command: refused for a changed log, and then, with Vellmora
// still running, after which nothing the install log lists is left, while
// another program's ".cbf" and a sibling of Vellmora's settings key stay.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "ProcessRunner.h"
#include "RemovalLog.h"
#include "RemoverTestSupport.h"
#include "RemoverWorker.h"
#include "TestApp.h"

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora";
const DWORD kLongWait = 60000;

// Next on the destination (which asks to create its folder), components and
// program group pages of the shipped script; on the options page, where
// Finish shows, every check box (ids from 1000) on; Finish.
void InstallWithEveryOption()
{
    CChildProcess install;
    ASSERT_TRUE(install.Start("Install.exe"));
    DWORD id = install.GetProcessId();
    HWND sheet = WaitForDialog("Enter destination path", id, kLongWait);
    ASSERT_NE(nullptr, sheet);
    CDialogAnswer create("Setup", IDYES, id, kLongWait);
    HWND page = nullptr;
    for (int pages = 0; pages < 3; pages++) {
        HWND shown = page;
        ASSERT_TRUE(PumpUntil([&] {
            return (page = PropSheet_GetCurrentPageHwnd(sheet)) != shown && IsWindowEnabled(GetDlgItem(sheet, 0x3024));
        }, kLongWait));
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
    }
    HWND finish = GetDlgItem(sheet, 0x3025);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(finish) && IsWindowEnabled(finish); }, kLongWait));
    EXPECT_TRUE(create.Wait());
    HWND options = PropSheet_GetCurrentPageHwnd(sheet);
    for (int option = 1000; GetDlgItem(options, option) != nullptr; option++)
        if (SendDlgItemMessageA(options, option, BM_GETCHECK, 0, 0) != BST_CHECKED)
            SendDlgItemMessageA(options, option, BM_CLICK, 0, 0);
    // The wizard's modal loop notices its end when a message arrives.
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
    PostMessageA(sheet, WM_NULL, 0, 0);
    EXPECT_EQ("Installation complete.", Answer(id, "Install", IDOK));
    EXPECT_EQ(0, install.Wait(kLongWait));
}

// Waits for the top-level window of that class of a program started
// through the shell, closes it and waits for that program's end.
void CloseStartedProgram(const char* className)
{
    HWND window = nullptr;
    PumpUntil([&] { return (window = FindWindowA(className, nullptr)) != nullptr; }, kLongWait);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    ASSERT_NE(nullptr, process) << className;
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, kLongWait)) << className;
    CloseHandle(process);
}

// Everything the log lists, present or gone; a key line of `shared` (a
// level above Vellmora's own keys) is not looked at.
void ExpectListed(const CRemovalLog& log, bool present, const char* shared = "")
{
    for (const CLogFileEntry& entry : log.files)
        EXPECT_EQ(present, PathExists(entry.path)) << entry.path;
    for (const std::string& shortcut : log.shortcuts)
        EXPECT_EQ(present, PathExists(shortcut)) << shortcut;
    for (const CLogRegistryEntry& entry : log.registry) {
        if (entry.keyPath == shared)
            continue;
        EXPECT_EQ(present, RegistryHas(RootKeyOf(entry.root), entry.keyPath,
                                       entry.hasValue ? entry.valueName.c_str() : nullptr))
            << entry.keyPath << " " << entry.valueName;
    }
}

} // namespace

TEST(WholeCycleTest, InstallUseAndRemove)
{
    // Another program registered ".cbf" first.
    SHSetValueA(HKEY_CLASSES_ROOT, ".cbf", nullptr, REG_SZ, "OtherApp.Book", 14);
    SHSetValueA(HKEY_CLASSES_ROOT, ".cbf\\OtherApp", "Kept", REG_SZ, "yes", 4);
    InstallWithEveryOption();
    if (HasFatalFailure())
        return;
    // The uninstall command names Remove.exe in the destination, quoted.
    char uninstall[MAX_PATH] = "";
    DWORD size = sizeof uninstall;
    SHGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", nullptr, uninstall, &size);
    std::string destination = std::string(uninstall).substr(1, std::string(uninstall).rfind('\\') - 1);
    EXPECT_EQ("\"" + destination + "\\Remove.exe\"", std::string(uninstall));
    // The options started Vellmora and opened the read-me where the system
    // has a program for ".txt": Windows has Notepad, a Wine prefix none
    // (ShellExecuteA answers SE_ERR_NOASSOC), so there nothing opens.
    CloseStartedProgram("VIEWERFRAME");
    char program[MAX_PATH] = "";
    if ((INT_PTR)FindExecutableA((destination + "\\ReadMe.txt").c_str(), nullptr, program) > 32)
        CloseStartedProgram("Notepad");

    std::string logText = ReadFileText(destination + "\\Install.log");
    printf("---- Install.log\n%s----\n", logText.c_str());
    CRemovalLog log;
    ReadRemovalLog(logText.data(), logText.size(), log);
    EXPECT_EQ(destination, log.path);
    ExpectListed(log, true);
    SHSetValueA(HKEY_CURRENT_USER, "Software\\Brennwick\\Other", "Kept", REG_SZ, "yes", 4);

    // A log changed after the installation removes nothing.
    WriteTextFile(destination + "\\Install.log", logText + "FILE=C:\\windows\\win.ini\n");
    CChildProcess refused;
    ASSERT_TRUE(refused.Start(destination + "\\Remove.exe"));
    EXPECT_EQ("Install.log was changed after Vellmora was installed. Nothing was removed.", Answer(0, "Error", IDOK));
    EXPECT_TRUE(PumpUntil([] { return FindWindowA(nullptr, "Removing...") == nullptr; }, kLongWait));
    ExpectListed(log, true);
    WriteTextFile(destination + "\\Install.log", logText);

    // Vellmora from its shortcut in the program group, then with a clipbook
    // file through its open command: asked how, it imports the book, and
    // keeps it in its clipbook beside the program once it is closed.
    std::string group = log.shortcuts.at(1).substr(0, log.shortcuts.at(1).rfind('\\'));
    ShellExecuteA(nullptr, nullptr, (group + "\\Vellmora.lnk").c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    CloseStartedProgram("VIEWERFRAME");
    DeleteFileA((destination + "\\Vellmora.cbd").c_str());
    std::string book = MakeScratchDirectory("cycle") + "\\cycle.cbf";
    static const char kBook[] = "VLMB1Cycle page\0\1\0\0\0Text\0\6\0\0\0hello\0\xFE\1";
    WriteTextFile(book, std::string(kBook, sizeof kBook - 1));
    CDialogAnswer how("Open ClipbookFile:", 1014, 0, kLongWait);
    ShellExecuteA(nullptr, "open", book.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_TRUE(how.Wait());

    // The uninstall command as the system runs it, with Vellmora running:
    // closed first, it writes its clipbook; then nothing the log lists is
    // left, the settings key among them. The user's clipbook is no file of
    // the installation: it stays, with the folder that holds it.
    CChildProcess remove;
    ASSERT_TRUE(remove.Start(destination + "\\Remove.exe"));
    EXPECT_EQ(0, remove.Wait());
    EXPECT_EQ("Do you want remove program " + log.title + ".", Answer(0, "Removing", IDYES));
    EXPECT_EQ("Vellmora is running. It has to be closed before it can be removed.\n\n"
              "Close Vellmora now and go on with the removal?",
              Answer(0, "Removing", IDYES));
    EXPECT_EQ("Program removed.", Answer(0, "Removing", IDOK));
    EXPECT_EQ(nullptr, FindWindowA("VIEWERFRAME", nullptr));
    RemoveTree(book.substr(0, book.rfind('\\')));
    EXPECT_NE(std::string::npos, ReadFileText(destination + "\\Vellmora.cbd").find("Cycle page"));
    ExpectListed(log, false, "Software\\Brennwick");
    EXPECT_FALSE(PathExists(destination + "\\Install.log") || PathExists(group));
    EXPECT_FALSE(RegistryHas(HKEY_LOCAL_MACHINE, kUninstallKey));

    // The other program's type and the vendor's other key stay; they are
    // taken away here, so that the prefix is as it was.
    EXPECT_TRUE(RegistryHas(HKEY_CLASSES_ROOT, ".cbf\\OtherApp", "Kept"));
    EXPECT_TRUE(RegistryHas(HKEY_CURRENT_USER, "Software\\Brennwick\\Other", "Kept"));
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".cbf");
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Brennwick");
}
