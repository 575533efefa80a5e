// Tests that change what every test of the prefix shares: the shipped
// Install.exe installing for real (machine registry, Start menu, desktop),
// a replacement waiting for the next start, and the full-screen background.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <stdio.h>

#include <gtest/gtest.h>

#include "BackgroundWindow.h"
#include "InstallerRun.h"
#include "SetupScript.h"
#include "TestApp.h"

namespace {

std::string RegistryText(HKEY root, const char* path, const char* name)
{
    char buffer[MAX_PATH] = "";
    DWORD size = sizeof buffer;
    return SHGetValueA(root, path, name, nullptr, buffer, &size) == ERROR_SUCCESS ? buffer : "(missing)";
}

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

std::string Replaced(std::string text, const char* mark, const std::string& by)
{
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, 2, by);
    return text;
}

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace

TEST(InstallSystem, TheShippedInstallerInstallsVellmoraWithItsDefaults)
{
    std::string destination =
        RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir") + "\\Vellmora";
    std::string group = RegistryText(HKEY_CURRENT_USER, kShellFolders, "Programs") + "\\Vellmora";
    std::string desktop = RegistryText(HKEY_CURRENT_USER, kShellFolders, "Desktop");
    const char* classKeys[] = {".cbf", ".cpf", "VellmoraBook", "VellmoraPage"};
    for (const char* key : classKeys)
        SHDeleteKeyA(HKEY_CLASSES_ROOT, key);  // left by a run that did not finish
    RemoveTree(destination);
    HKEY settings = nullptr;
    bool hadSettings = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brennwick", 0, KEY_READ, &settings) == 0;
    RegCloseKey(settings);
    HMODULE program = LoadLibraryExA((TestBinaryDirectory() + "Install.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    bool remover = FindResourceA(program, "REMOVE.EXE", "FILES") != nullptr;
    FreeLibrary(program);

    CInstallerRun run;
    run.Answer("Error", IDYES);  // until the remover is built, the installer goes on without it
    ASSERT_EQ(0, run.Run(TestBinaryDirectory() + "Install.exe"));
    EXPECT_EQ("Installation complete.", run.ClosingText());
    // The wizard asked once, on its destination page.
    EXPECT_EQ(std::vector<std::string>{"Directory '" + destination + "' doesn't exist. Create directory?"},
              run.Texts("Setup"));
    EXPECT_EQ(remover ? 0u : 1u, run.Texts("Error").size());

    std::string log = ReadWholeFile(destination + "\\Install.log");
    printf("Install.log after a default installation:\n%s", log.c_str());
    std::string expected = "[INSTALL]\nTITLE=Vellmora v1.1\nPATH=$D\nICONGROUP=Vellmora\nICONUSERGROUP=YES\n" +
                           std::string(remover ? "FILE=$D\\Remove.exe\n" : "") +
                           "FILE=$D\\ReadMe.txt\nFILE=$D\\Vellmora.exe\nREG=HKLM,$U\nREG=HKLM,$U,\"DisplayName\"\n"
                           "REG=HKLM,$U,\"UninstallString\"\n" +
                           // The vendor key that the settings key made is logged too.
                           std::string(hadSettings ? "" : "REG=HKCU,Software\\Brennwick\n") +
                           "REG=HKCU,Software\\Brennwick\\Vellmora\n";
    for (const char* name : {".cbf", "VellmoraBook", ".cpf", "VellmoraPage"}) {
        std::string key = std::string("REG=HKCR,") + name;
        expected += key + "\n" + key + ",\"\"\n";
        if (name[0] != '.')
            expected += key + "\\DefaultIcon,\"\"\n" + key + "\\shell\\open\\command,\"\"\n";
    }
    expected += "ICON=$G\\Readme.lnk\nICON=$G\\Vellmora.lnk\nICON=$T\\Vellmora.lnk\n";
    expected = Replaced(Replaced(Replaced(Replaced(expected, "$U", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora"),
                                          "$G", group),
                                 "$T", desktop),
                        "$D", destination);
    EXPECT_EQ(expected, log);

    EXPECT_EQ(ReadWholeFile(TestBinaryDirectory() + "Vellmora.exe"), ReadWholeFile(destination + "\\Vellmora.exe"));
    EXPECT_EQ(0u, ReadWholeFile(destination + "\\ReadMe.txt").find("Vellmora 1.1\r\n"));
    // The carried files have the release stamp, 26 December 1998 01:10 local time.
    FILETIME release = {0x75912400, 0x01be306c}, expectedTime, written;
    LocalFileTimeToFileTime(&release, &expectedTime);
    HANDLE file = CreateFileA((destination + "\\ReadMe.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    EXPECT_EQ(0, CompareFileTime(&expectedTime, &written));

    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(destination.c_str(), shortPath, MAX_PATH);
    EXPECT_EQ("\"" + destination + "\\Remove.exe\"",
              RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora",
                           "UninstallString"));
    EXPECT_EQ(std::string(shortPath) + "\\Vellmora.exe \"%1\"",
              RegistryText(HKEY_CLASSES_ROOT, "VellmoraPage\\shell\\open\\command", ""));
    CoInitialize(nullptr);
    EXPECT_EQ(destination + "\\ReadMe.txt", ShortcutTarget(group + "\\Readme.lnk"));
    EXPECT_EQ(destination + "\\Vellmora.exe", ShortcutTarget(desktop + "\\Vellmora.lnk"));
    CoUninitialize();

    RemoveTree(destination);
    RemoveTree(group);
    DeleteFileA((desktop + "\\Vellmora.lnk").c_str());
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora");
    for (const char* key : classKeys)
        SHDeleteKeyA(HKEY_CLASSES_ROOT, key);
    if (!hadSettings)
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brennwick");
}

// The restart question is answered No.
TEST(InstallSystem, AFileInUseWaitsForTheNextStartWithABackup)
{
    HKEY session = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_ALL_ACCESS, &session);
    WCHAR pending[8192] = L"";
    DWORD pendingSize = sizeof pending - sizeof(WCHAR);
    bool hadPending = RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr, (BYTE*)pending,
                                       &pendingSize) == ERROR_SUCCESS;

    std::string scratch = MakeScratchDirectory("inuse"), old = scratch + "\\inuse.dll";
    std::string library = ReadWholeFile(TestBinaryDirectory() + "VersionedLibrary.dll");
    HANDLE held = nullptr;
    std::string installer = BuildReplacingInstaller(scratch, old, &held);
    CInstallerRun run;
    ASSERT_EQ(0, run.Run(installer));
    CloseHandle(held);
    EXPECT_EQ("You should restart your computer before you can use installed program. Restart computer?",
              run.ClosingText());
    EXPECT_EQ(library, ReadWholeFile(old));
    EXPECT_EQ("new library", ReadWholeFile(scratch + "\\inuse.new"));
    EXPECT_EQ(library, ReadWholeFile(scratch + "\\inuse.bak"));
    EXPECT_EQ("FILE=" + scratch + "\\inuse.new", ReadLines(scratch + "\\Install.log").back());
    WCHAR names[8192] = L"";
    DWORD size = sizeof names - sizeof(WCHAR);
    RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr, (BYTE*)names, &size);
    CharLowerBuffW(names, size / sizeof(WCHAR));
    EXPECT_NE(std::wstring::npos, std::wstring(names, size / sizeof(WCHAR)).find(L"inuse.new"))
        << "the replacement waits for the next start";

    if (hadPending)
        RegSetValueExW(session, L"PendingFileRenameOperations", 0, REG_MULTI_SZ, (BYTE*)pending, pendingSize);
    else
        RegDeleteValueW(session, L"PendingFileRenameOperations");
    RegCloseKey(session);
    RemoveTree(scratch);
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
