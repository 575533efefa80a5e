// Tests that change what every test of the prefix shares: the shipped
// Install.exe installing for real (machine registry, Start menu, desktop)
// and the full-screen background.
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

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora";

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

} // namespace

TEST(InstallSystem, TheShippedInstallerInstallsVellmoraWithItsDefaults)
{
    std::string destination =
        QueryRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir") + "\\Vellmora";
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
    EXPECT_EQ(Expanded(Expanded(Expanded(Expanded(expected, kUninstall, "$U"), group, "$G"), desktop, "$T"), destination),
              log);

    for (const char* name : {"\\Vellmora.exe", "\\Remove.exe"})
        EXPECT_EQ(ReadWholeFile(TestBinaryDirectory() + name), ReadWholeFile(destination + name)) << name;
    EXPECT_EQ(0u, ReadWholeFile(destination + "\\ReadMe.txt").find("Vellmora 1.1\r\n"));
    // The carried files have the release stamp, 26 December 1998 01:10 local time.
    EXPECT_EQ(0x01be306c75912400ULL, LocalFileTime(destination + "\\ReadMe.txt"));
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(destination.c_str(), shortPath, MAX_PATH);
    EXPECT_EQ("\"" + destination + "\\Remove.exe\"", QueryRegistryText(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString"));
    EXPECT_EQ(std::string(shortPath) + "\\Vellmora.exe \"%1\"",
              QueryRegistryText(HKEY_CLASSES_ROOT, "VellmoraPage\\shell\\open\\command", ""));
    CoInitialize(nullptr);
    EXPECT_EQ(destination + "\\ReadMe.txt", ShortcutTarget(group + "\\Readme.lnk"));
    EXPECT_EQ(destination + "\\Vellmora.exe", ShortcutTarget(desktop + "\\Vellmora.lnk"));
    CoUninitialize();
    removeVellmora();
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
