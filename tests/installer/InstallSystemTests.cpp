// Tests that change what every test of the prefix shares: the shipped
// Install.exe installing for real (machine registry, Start menu, desktop),
// a replacement waiting for the next start, and the full-screen background.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <stdio.h>
#include <wctype.h>

#include <gtest/gtest.h>

#include "BackgroundWindow.h"
#include "DialogDriver.h"
#include "InstallerRun.h"
#include "SetupScript.h"
#include "TestApp.h"

namespace {

std::string RegistryText(HKEY root, const char* path, const char* name, DWORD* type = nullptr)
{
    char buffer[MAX_PATH] = "";
    DWORD size = sizeof buffer;
    if (SHGetValueA(root, path, name, type, buffer, &size) != ERROR_SUCCESS)
        return "(missing)";
    return buffer;
}

std::string ShortcutTarget(const std::string& path)
{
    std::string target;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    WCHAR widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link))) {
        char buffer[MAX_PATH] = "";
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)) && SUCCEEDED(file->Load(widePath, 0)) &&
            SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, 0)))
            target = buffer;
        if (file)
            file->Release();
        link->Release();
    }
    return target;
}

bool InstallerCarries(const char* name)
{
    HMODULE module = LoadLibraryExA((TestBinaryDirectory() + "Install.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    bool found = FindResourceA(module, name, "FILES") != nullptr;
    FreeLibrary(module);
    return found;
}

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace

TEST(InstallSystem, TheShippedInstallerInstallsVellmoraWithItsDefaults)
{
    std::string destination =
        RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir") +
        "\\Vellmora";
    std::string group = RegistryText(HKEY_CURRENT_USER, kShellFolders, "Programs") + "\\Vellmora";
    std::string desktop = RegistryText(HKEY_CURRENT_USER, kShellFolders, "Desktop");
    const char* classKeys[] = {".cbf", ".cpf", "VellmoraBook", "VellmoraPage"};
    for (const char* key : classKeys)
        SHDeleteKeyA(HKEY_CLASSES_ROOT, key);  // left by a run that did not finish
    RemoveTree(destination);
    HKEY settings = nullptr;
    bool hadSettings = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brennwick", 0, KEY_READ, &settings) == 0;
    RegCloseKey(settings);

    CInstallerRun run;
    bool remover = InstallerCarries("REMOVE.EXE");
    if (!remover)
        run.Answer("Error", IDYES);  // until the remover is built, the installer goes on without it
    ASSERT_EQ(0, run.Run(TestBinaryDirectory() + "Install.exe"));
    EXPECT_EQ("Installation complete.", run.ClosingText());
    // The wizard asked once, on its destination page.
    EXPECT_EQ(std::vector<std::string>{"Directory '" + destination + "' doesn't exist. Create directory?"},
              run.Texts("Setup"));

    std::string log = ReadWholeFile(destination + "\\Install.log");
    printf("Install.log after a default installation:\n%s", log.c_str());
    std::vector<std::string> expected = {"[INSTALL]", "TITLE=Vellmora v1.1", "PATH=" + destination,
                                         "ICONGROUP=Vellmora", "ICONUSERGROUP=YES"};
    if (remover)
        expected.push_back("FILE=" + destination + "\\Remove.exe");
    for (const char* line :
         {"FILE=$\\ReadMe.txt", "FILE=$\\Vellmora.exe", "REG=HKLM,@", "REG=HKLM,@,\"DisplayName\"",
          "REG=HKLM,@,\"UninstallString\"", "REG=HKCU,Software\\Brennwick\\Vellmora", "REG=HKCR,.cbf",
          "REG=HKCR,.cbf,\"\"", "REG=HKCR,VellmoraBook", "REG=HKCR,VellmoraBook,\"\"",
          "REG=HKCR,VellmoraBook\\DefaultIcon,\"\"", "REG=HKCR,VellmoraBook\\shell\\open\\command,\"\"",
          "REG=HKCR,.cpf", "REG=HKCR,.cpf,\"\"", "REG=HKCR,VellmoraPage", "REG=HKCR,VellmoraPage,\"\"",
          "REG=HKCR,VellmoraPage\\DefaultIcon,\"\"", "REG=HKCR,VellmoraPage\\shell\\open\\command,\"\""}) {
        std::string text = line;
        if (text.find('$') != std::string::npos)
            text.replace(text.find('$'), 1, destination);
        if (text.find('@') != std::string::npos)
            text.replace(text.find('@'), 1, kUninstallKey);
        expected.push_back(text);
    }
    expected.insert(expected.end(), {"ICON=" + group + "\\Readme.lnk", "ICON=" + group + "\\Vellmora.lnk",
                                     "ICON=" + desktop + "\\Vellmora.lnk"});
    EXPECT_EQ(expected, ReadLines(destination + "\\Install.log"));

    EXPECT_EQ(ReadWholeFile(TestBinaryDirectory() + "Vellmora.exe"), ReadWholeFile(destination + "\\Vellmora.exe"));
    EXPECT_EQ(0u, ReadWholeFile(destination + "\\ReadMe.txt").find("Vellmora 1.1\r\n"));
    // Every carried file has the release stamp, 26 December 1998 01:10 local time.
    FILETIME release = {0x75912400, 0x01be306c}, expectedTime, written;
    LocalFileTimeToFileTime(&release, &expectedTime);
    HANDLE file = CreateFileA((destination + "\\ReadMe.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    EXPECT_EQ(0, CompareFileTime(&expectedTime, &written));

    DWORD type = 0;
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(destination.c_str(), shortPath, MAX_PATH);
    EXPECT_EQ("Vellmora", RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", &type));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ("\"" + destination + "\\Remove.exe\"", RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    EXPECT_EQ("VellmoraBook", RegistryText(HKEY_CLASSES_ROOT, ".cbf", ""));
    EXPECT_EQ("Clipboard Page File", RegistryText(HKEY_CLASSES_ROOT, "VellmoraPage", ""));
    EXPECT_EQ(std::string(shortPath) + "\\Vellmora.exe,8", RegistryText(HKEY_CLASSES_ROOT, "VellmoraBook\\DefaultIcon", ""));
    EXPECT_EQ(std::string(shortPath) + "\\Vellmora.exe \"%1\"",
              RegistryText(HKEY_CLASSES_ROOT, "VellmoraPage\\shell\\open\\command", ""));

    CoInitialize(nullptr);
    EXPECT_EQ(destination + "\\ReadMe.txt", ShortcutTarget(group + "\\Readme.lnk"));
    EXPECT_EQ(destination + "\\Vellmora.exe", ShortcutTarget(group + "\\Vellmora.lnk"));
    EXPECT_EQ(destination + "\\Vellmora.exe", ShortcutTarget(desktop + "\\Vellmora.lnk"));
    CoUninitialize();

    RemoveTree(destination);
    RemoveTree(group);
    DeleteFileA((desktop + "\\Vellmora.lnk").c_str());
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    for (const char* key : classKeys)
        SHDeleteKeyA(HKEY_CLASSES_ROOT, key);
    if (!hadSettings)
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brennwick");
}

// The old file is held open as a running program holds its own: it can be
// read but not deleted.
TEST(InstallSystem, AFileInUseWaitsForTheNextStartWithABackup)
{
    const char* sessionKey = "System\\CurrentControlSet\\Control\\Session Manager";
    HKEY session = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, sessionKey, 0, KEY_ALL_ACCESS, &session);
    std::vector<BYTE> pending(1 << 16);
    DWORD pendingSize = (DWORD)pending.size();
    bool hadPending = RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr, pending.data(),
                                       &pendingSize) == ERROR_SUCCESS;

    std::string scratch = MakeScratchDirectory("inuse");
    std::string old = scratch + "\\inuse.dll";
    std::string library = ReadWholeFile(TestBinaryDirectory() + "VersionedLibrary.dll");
    CopyFileA((TestBinaryDirectory() + "VersionedLibrary.dll").c_str(), old.c_str(), FALSE);
    std::string script = "[MAIN]\nDEFDIRECTORY=" + scratch + "\nFILE=NEWLIB," + old + ",4.73\n";
    std::string installer = BuildInstaller(scratch, script.c_str(), {{"NEWLIB", "new library"}});
    HANDLE held = CreateFileA(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    CInstallerRun run;
    ASSERT_EQ(0, run.Run(installer)) << "the restart question is answered No";
    CloseHandle(held);
    EXPECT_EQ("You should restart your computer before you can use installed program. Restart computer?",
              run.ClosingText());
    EXPECT_EQ(library, ReadWholeFile(old));
    EXPECT_EQ("new library", ReadWholeFile(scratch + "\\inuse.new"));
    EXPECT_EQ(library, ReadWholeFile(scratch + "\\inuse.bak"));
    std::vector<std::string> log = ReadLines(scratch + "\\Install.log");
    EXPECT_EQ("FILE=" + scratch + "\\inuse.new", log.back()) << "the log names the file actually written";
    WCHAR names[4096] = L"";
    DWORD size = sizeof names - sizeof(WCHAR);
    RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr, (BYTE*)names, &size);
    std::wstring all(names, size / sizeof(WCHAR));
    for (auto& c : all)
        c = towlower(c);
    EXPECT_NE(std::wstring::npos, all.find(L"inuse.new")) << "the replacement waits for the next start";

    if (hadPending)
        RegSetValueExW(session, L"PendingFileRenameOperations", 0, REG_MULTI_SZ, pending.data(), pendingSize);
    else
        RegDeleteValueW(session, L"PendingFileRenameOperations");
    RegCloseKey(session);
    RemoveTree(scratch);
}

// Pixels read back from the window: the bands of a fade, a single fill, and
// the title over its shadow.
TEST(InstallSystem, TheBackgroundFadesInBandsAndShowsTheTitle)
{
    ASSERT_TRUE(CBackgroundWindow::Register());
    struct Case {
        uint32_t back, fade, text, shade;
    } cases[] = {
        {0x0000FF, 0x000000, 0xFFFFFF, 0x000000},  // red to black, white title with a black shadow
        {0xFF0000, kNoColor, 0x00FFFF, kNoColor},  // one blue fill, yellow title
    };
    for (const Case& c : cases) {
        CSetupScript script;
        script.m_title = "Install Title";
        script.m_backColor = c.back;
        script.m_fadeColor = c.fade;
        script.m_textColor = c.text;
        script.m_shadeColor = c.shade;
        CBackgroundWindow window(script);
        ASSERT_TRUE(window.Create("Setup"));
        KillTimer(window.GetHandle(), CBackgroundWindow::kWizardTimer);  // no wizard here
        UpdateWindow(window.GetHandle());
        RECT client;
        GetClientRect(window.GetHandle(), &client);
        int band = client.bottom / 128 + 1;
        HDC dc = GetDC(window.GetHandle());
        for (int i : {0, 1, 50, 100}) {
            COLORREF expected = c.fade == kNoColor ? c.back : RGB(255 - i, 0, 0);
            EXPECT_EQ(expected, GetPixel(dc, client.right - 5, i * band + band / 2)) << "band " << i;
        }
        int text = 0, shade = 0;
        for (int y = 20; y < 70; y++)
            for (int x = 20; x < 300; x++) {
                COLORREF pixel = GetPixel(dc, x, y);
                text += pixel == c.text;
                shade += pixel == c.shade;
            }
        EXPECT_GT(text, 200) << "the title is drawn";
        EXPECT_EQ(c.shade != kNoColor, shade > 100) << "the shadow is drawn only with a shade colour";
        ReleaseDC(window.GetHandle(), dc);
        DestroyWindow(window.GetHandle());
        PumpMessages(0);
    }
}
