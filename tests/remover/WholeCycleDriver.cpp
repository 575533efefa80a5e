// The whole cycle, run by WholeCycle.sh in a Wine prefix of its own:
// Install.exe installs Vellmora, Vellmora starts from its shortcut and
// opens a clipbook file through its registered open command, and the
// uninstall command removes everything the install log lists.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "DialogDriver.h"
#include "ProcessRunner.h"
#include "WizardDriver.h"
#include "RemovalLog.h"
#include "RemoverTestSupport.h"
#include "RemoverWorker.h"
#include "TestApp.h"

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora";
const char kSettingsKey[] = "Software\\Brennwick\\Vellmora";
const DWORD kLongWait = 60000;

std::string RegistryText(HKEY root, const char* key, const char* name)
{
    char data[1024] = "";
    DWORD size = sizeof data - 1;
    HKEY handle;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return std::string();
    RegQueryValueExA(handle, name, nullptr, nullptr, (BYTE*)data, &size);
    RegCloseKey(handle);
    return data;
}

std::string ShortcutTarget(const std::string& link)
{
    char target[MAX_PATH] = "";
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   (void**)&shellLink))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, (void**)&file))) {
            wchar_t wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ)))
                shellLink->GetPath(target, MAX_PATH, nullptr, 0);
            file->Release();
        }
        shellLink->Release();
    }
    return target;
}

// Everything the log lists, as it stands: present or gone.
void ExpectListed(const CRemovalLog& log, bool present)
{
    for (const CLogFileEntry& entry : log.files)
        EXPECT_EQ(present, PathExists(entry.path)) << entry.path;
    for (const std::string& shortcut : log.shortcuts)
        EXPECT_EQ(present, PathExists(shortcut)) << shortcut;
    for (const CLogRegistryEntry& entry : log.registry) {
        HKEY root = RootKeyOf(entry.root);
        if (entry.valueName.empty())
            EXPECT_EQ(present, RegistryKeyExists(root, entry.keyPath)) << entry.keyPath;
        else
            EXPECT_EQ(present, RegistryValueExists(root, entry.keyPath, entry.valueName.c_str()))
                << entry.keyPath << " " << entry.valueName;
    }
}

// Starts the viewer with a command line and closes it again. A clipbook
// file on the command line asks how to open it: "Import file".
void RunViewer(const std::string& program, const std::string& arguments, bool opensBook)
{
    CChildProcess viewer;
    ASSERT_TRUE(viewer.Start(program, arguments)) << program;
    if (opensBook) {
        CDialogAnswer how("Open ClipbookFile:", 1014, viewer.GetProcessId(), kLongWait);
        EXPECT_TRUE(how.Wait());
    }
    HWND frame = viewer.WaitForWindow("VIEWERFRAME", kLongWait);
    ASSERT_NE(nullptr, frame);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, viewer.Wait(kLongWait));
}

// The names in a folder.
std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data))
        if (strcmp(data.cFileName, ".") != 0 && strcmp(data.cFileName, "..") != 0)
            names.push_back(data.cFileName);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return names;
}

// A clipbook file of one page that holds "hello" as text.
void WriteClipbook(const std::string& path)
{
    static const char book[] = "VLMB1Cycle page\0\1\0\0\0Text\0\6\0\0\0hello\0\xFE\1";
    WriteTextFile(path, std::string(book, sizeof book - 1));
}

// The wizard's page after the current one, once it shows.
std::string WaitForNextPage(HWND sheet, const std::string& state)
{
    std::string next = WizardState(sheet);
    for (DWORD start = GetTickCount(); next.substr(0, 3) == state.substr(0, 3) && GetTickCount() - start < kLongWait;
         next = WizardState(sheet))
        Sleep(20);
    // The buttons of a new page are set by a posted message.
    return WaitForState(sheet, next.compare(0, 3, "197") == 0 ? "197 Back Finish" : next);
}

// Through the wizard as a user who takes the defaults and turns every
// option on: Next on each page (the destination page asks to create its
// folder), every check box of the options page on, Finish.
void InstallWithEveryOption()
{
    CChildProcess install;
    ASSERT_TRUE(install.Start("Install.exe"));
    DWORD id = install.GetProcessId();
    HWND sheet = WaitForWizard(id);
    ASSERT_NE(nullptr, sheet);
    CDialogAnswer create("Setup", IDYES, id, kLongWait);
    std::string state = WizardState(sheet);
    for (int pages = 0; state.compare(0, 3, "197") != 0 && pages < 4; pages++) {
        PressWizard(sheet, PSBTN_NEXT);
        state = WaitForNextPage(sheet, state);
    }
    ASSERT_EQ("197 Back Finish", state);
    EXPECT_TRUE(create.Wait());
    HWND page = CurrentPage(sheet);
    for (int option = 1000; GetDlgItem(page, option) != nullptr; option++)
        if (SendMessageA(GetDlgItem(page, option), BM_GETCHECK, 0, 0) != BST_CHECKED)
            SendMessageA(GetDlgItem(page, option), BM_CLICK, 0, 0);
    CDialogAnswer complete("Install", IDOK, id, kLongWait);
    PressWizard(sheet, PSBTN_FINISH);
    PostMessageA(sheet, WM_NULL, 0, 0);
    ASSERT_TRUE(complete.Wait());
    EXPECT_EQ("Installation complete.", complete.Text());
    EXPECT_EQ(0, install.Wait(kLongWait));
}

// Closes the top-level window of that class that a program started by the
// installer shows, and waits for that program's end.
void CloseStartedProgram(const char* className)
{
    HWND window = nullptr;
    for (DWORD start = GetTickCount(); window == nullptr && GetTickCount() - start < kLongWait; Sleep(20))
        window = FindWindowA(className, nullptr);
    ASSERT_NE(nullptr, window) << className;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, kLongWait)) << className;
    CloseHandle(process);
}

} // namespace

TEST(WholeCycleTest, InstallUseAndRemove)
{
    CoInitialize(nullptr);
    InstallWithEveryOption();
    if (HasFatalFailure())
        return;
    // The uninstall command names Remove.exe in the destination, quoted.
    std::string uninstall = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
    ASSERT_GT(uninstall.size(), 2u);
    std::string destination = uninstall.substr(1, uninstall.rfind('\\') - 1);
    EXPECT_EQ("\"" + destination + "\\Remove.exe\"", uninstall);
    // The options started Vellmora and opened the read-me, where the system
    // has a program for ".txt": Windows has Notepad, a Wine prefix has none
    // (ShellExecuteA answers SE_ERR_NOASSOC), so there nothing opens.
    CloseStartedProgram("VIEWERFRAME");
    char program[MAX_PATH] = "";
    if ((INT_PTR)FindExecutableA((destination + "\\ReadMe.txt").c_str(), nullptr, program) > 32)
        CloseStartedProgram("Notepad");

    std::string logText = ReadFileText(destination + "\\Install.log");
    printf("---- Install.log\n%s----\n", logText.c_str());
    CRemovalLog log;
    ASSERT_TRUE(IsInstallLog(logText.data(), logText.size()));
    ReadRemovalLog(logText.data(), logText.size(), log);
    EXPECT_EQ(destination, log.path);
    ExpectListed(log, true);

    // Vellmora from the target of its shortcut in the program group, then
    // with a clipbook file through the open command of ".cbf".
    std::string groupShortcut;
    for (const std::string& shortcut : log.shortcuts)
        if (shortcut.find("\\Start Menu\\") != std::string::npos && shortcut.find("Vellmora.lnk") != std::string::npos)
            groupShortcut = shortcut;
    std::string target = ShortcutTarget(groupShortcut);
    EXPECT_EQ(destination + "\\Vellmora.exe", target);
    RunViewer(target, "", false);
    std::string type = RegistryText(HKEY_CLASSES_ROOT, ".cbf", "");
    std::string command = RegistryText(HKEY_CLASSES_ROOT, (type + "\\shell\\open\\command").c_str(), "");
    size_t space = command.find(' ');
    ASSERT_NE(std::string::npos, space) << command;
    std::string scratch = MakeScratchDirectory("cycle");
    WriteClipbook(scratch + "\\cycle.cbf");
    RunViewer(command.substr(0, space), ReplaceAll(command.substr(space + 1), "%1", scratch + "\\cycle.cbf"), true);
    RemoveTree(scratch);
    // Vellmora keeps its clipbook beside its program: the imported page is
    // in it.
    EXPECT_NE(std::string::npos, ReadFileText(destination + "\\Vellmora.cbd").find("Cycle page"));

    // The uninstall command as the system runs it.
    std::vector<std::string> pendingBefore = PendingDeletions();
    CChildProcess remove;
    ASSERT_TRUE(remove.Start(destination + "\\Remove.exe"));
    EXPECT_EQ(0, remove.Wait());
    EXPECT_TRUE(AnswerRemoval(log.title));
    ExpectListed(log, false);
    EXPECT_FALSE(PathExists(destination + "\\Install.log"));
    // The user's clipbook is no file of the installation: it stays, and so
    // does the folder that holds it.
    EXPECT_EQ(std::vector<std::string>{"Vellmora.cbd"}, FolderEntries(destination));
    EXPECT_FALSE(PathExists(groupShortcut.substr(0, groupShortcut.rfind('\\')))) << "the program group";
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    std::vector<std::string> added = NewEntries(pendingBefore, PendingDeletions());
    ASSERT_EQ(2u, added.size());
    EXPECT_EQ(LongPath(added[1]) + "\\SWEEPER.EXE", LongPath(added[0]));
    CoUninitialize();
}
