// The installation steps inside the test process: the walks' order and
// progress steps, the registry entry modes and free space.
#include <windows.h>
#include <objbase.h>

#include <fstream>

#include <gtest/gtest.h>

#include "InstallWalks.h"
#include "InstallerRun.h"
#include "SetupScript.h"
#include "TestApp.h"

namespace {

class CRecordingProgress : public CQuietProgress {
public:
    void Step() override { m_steps++; }

    int m_steps = 0;
};

class InstallSteps : public testing::Test {
protected:
    void SetUp() override
    {
        m_destination = MakeScratchDirectory("steps");
        m_script.m_destination = m_destination;
        m_script.m_progressDialog = &m_progress;
        m_script.OpenLog();
        HKEY tests = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VellmoraTests", 0, nullptr, 0, KEY_READ, nullptr, &tests, nullptr);
        RegCloseKey(tests);
    }
    void TearDown() override
    {
        m_script.CloseLog();
        RemoveTree(m_destination);
        for (const char* key : {"Walk", "WalkHeld", "Reg\\KeyOnly", "Reg\\New\\Deeper", "Reg\\New", "Reg"})
            RegDeleteKeyA(HKEY_CURRENT_USER, (std::string("Software\\VellmoraTests\\") + key).c_str());
    }
    // The log's lines behind its head, with "$D" for the destination.
    std::string Logged()
    {
        m_script.CloseLog();
        std::string lines;
        for (const std::string& line : ReadLines(m_destination + "\\Install.log"))
            lines += line + "\n";
        return lines.substr(lines.find("PATH=") + 6 + m_destination.size());
    }

    std::string m_destination;
    CSetupScript m_script;
    CRecordingProgress m_progress;
};

} // namespace

// Components that are off count nothing; conditions count in full whether
// they hold or not, and one that does not hold takes a single step.
TEST_F(InstallSteps, WalksVisitMainThenComponentsThenConditionsAndNeverStepPastTheCount)
{
    std::string text = Expanded("[MAIN]\nFILE=README.TXT,$D\\main.txt\nSELECTION=ON\nSELECTION=OFF\n"
                                "IF NOPE==TRUE,SKIPPED\nIF DESTINATIONPATH!=,HELD\nREG=HKCU,Software\\VellmoraTests\\Walk\n"
                                "ICON=$D\\main.lnk,$D\\main.txt\nICON=$D\\missing\\x.lnk,$D\\main.txt\nRUN=$D\\mark.bat\n"
                                "[ON]\nFILE=README.TXT,$D\\on.txt\nIF NOPE==TRUE,SKIPPED\n"
                                "[OFF]\nFILE=README.TXT,$D\\off.txt\nREG=HKCU,Software\\VellmoraTests\\WalkOff\n"
                                "[SKIPPED]\nFILE=README.TXT,$D\\s1.txt\nFILE=README.TXT,$D\\s2.txt\n"
                                "FILE=README.TXT,$D\\s3.txt\nRUN=$D\\never.bat\n"
                                "[HELD]\nFILE=README.TXT,$D\\held.txt\nREG=HKCU,Software\\VellmoraTests\\WalkHeld\n",
                                m_destination);
    ASSERT_EQ(1, ReadScript(text.data(), text.size(), m_script, nullptr, nullptr));
    m_script.SetComponentState(*m_script.m_components.GetHead()->m_next, kStateOff);
    m_script.m_programGroup = m_destination;
    // [MAIN] 1 file, 1 shortcut list, 1 registry list; ON 1 file and the
    // 3 of its condition; [MAIN]'s conditions 3, and 1 file and 1 list.
    EXPECT_EQ(12u, m_script.CountInstallSteps());
    std::ofstream(m_destination + "\\mark.bat") << "echo ran> \"" << m_destination << "\\ran.txt\"\r\n";

    ASSERT_EQ(1, WalkFiles(m_script));
    EXPECT_EQ(5, m_progress.m_steps) << "three files and the two conditions that do not hold";
    ASSERT_EQ(1, WalkRegistry(m_script));
    CoInitialize(nullptr);
    ASSERT_EQ(1, WalkShortcuts(m_script));
    CoUninitialize();
    ASSERT_EQ(1, WalkPrograms(m_script));
    EXPECT_EQ(8, m_progress.m_steps);
    EXPECT_EQ(Expanded("FILE=$D\\main.txt\nFILE=$D\\on.txt\nFILE=$D\\held.txt\nREG=HKCU,Software\\VellmoraTests\\Walk\n"
                       "REG=HKCU,Software\\VellmoraTests\\WalkHeld\nICON=$D\\main.lnk\nICON=$D\\missing\\x.lnk\n",
                       m_destination),
              Logged()) << "a shortcut whose folder is missing is logged all the same";
    for (const char* name : {"main.lnk", "s1.txt", "off.txt"})
        EXPECT_EQ(name[0] == 'm', GetFileAttributesA((m_destination + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(PumpUntil([this] { return GetFileAttributesA((m_destination + "\\ran.txt").c_str()) != INVALID_FILE_ATTRIBUTES; },
                          20000))
        << "the program to run was started";
}

TEST_F(InstallSteps, RegistryEntriesByMode)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Reg", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "Kept", 0, REG_SZ, (const BYTE*)"old", 4);
    RegSetValueExA(key, "Gone", 0, REG_SZ, (const BYTE*)"old", 4);
    struct Case {
        const char* line;  // behind "HKCU,Software\VellmoraTests\Reg"
        const char* value;
        DWORD type;  // 0: absent afterwards
        std::string data;
    } cases[] = {
        {"\\KeyOnly", "", 0, ""},
        {",Path,\"%d\\\\x\"", "Path", REG_SZ, "$D\\x"},
        {",Count,dword:1F", "Count", REG_DWORD, std::string("\x1f\0\0\0", 4)},
        {",Kept,\"new\",nochange", "Kept", REG_SZ, "old"},
        {",Fresh,\"new\",nochange", "Fresh", REG_SZ, "new"},
        {",Gone,\"x\",delete", "Gone", 0, ""},
        {",,\"Book\"", "", REG_SZ, "Book"},
        {"\\Missing,Gone,\"x\",delete", "Gone", 0, ""},
        {"\\New\\Deeper,Deep,\"x\"", "Deep", 0, ""},
    };
    for (const Case& c : cases) {
        CRegItem item;
        ParseRegLine(std::string("HKCU,Software\\VellmoraTests\\Reg") + c.line, item);
        EXPECT_EQ(1, m_script.ApplyRegItem(item));
        BYTE data[64] = {};
        DWORD type = 0, size = sizeof data;
        if (RegQueryValueExA(key, c.value, nullptr, &type, data, &size) != ERROR_SUCCESS)
            type = size = 0;
        EXPECT_EQ(c.type, type) << c.line;
        EXPECT_EQ(Expanded(c.data, m_destination), std::string((char*)data, type == REG_SZ ? size - 1 : size)) << c.line;
    }
    HKEY missing = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(key, "Missing", 0, KEY_READ, &missing)) << "a delete creates no key";
    RegCloseKey(key);
    EXPECT_EQ("REG=HKCU,Software\\VellmoraTests\\Reg\\KeyOnly\nREG=HKCU,Software\\VellmoraTests\\Reg,\"Path\"\n"
              "REG=HKCU,Software\\VellmoraTests\\Reg,\"Count\"\nREG=HKCU,Software\\VellmoraTests\\Reg,\"Fresh\"\n"
              "REG=HKCU,Software\\VellmoraTests\\Reg,\"\"\n"
              "REG=HKCU,Software\\VellmoraTests\\Reg\\New\nREG=HKCU,Software\\VellmoraTests\\Reg\\New\\Deeper,\"Deep\"\n",
              Logged()) << "values kept or deleted are not logged; a key made for a value is, once";
}
