// The installation steps inside the test process: the walks' order and
// progress steps, the registry entry modes, and the file name and version
// rules.
#include <windows.h>
#include <objbase.h>

#include <fstream>

#include <gtest/gtest.h>

#include "FileRules.h"
#include "InstallWalks.h"
#include "InstallerRun.h"
#include "SetupScript.h"
#include "TestApp.h"

namespace {

class CRecordingProgress : public CQuietProgress {
public:
    void Step() override { m_steps++; }
    void SetItemText(const char* text) override { m_items.push_back(text); }

    int m_steps = 0;
    std::vector<std::string> m_items;
};

// The value's type and bytes; type 0 when it is absent.
DWORD QueryValue(const std::string& path, const char* name, std::string& data)
{
    HKEY key = nullptr;
    char buffer[64] = "";
    DWORD type = 0, size = sizeof buffer;
    data.clear();
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buffer, &size) != ERROR_SUCCESS)
        type = size = 0;
    RegCloseKey(key);
    data.assign(buffer, type == REG_SZ && size > 0 ? size - 1 : size);
    return type;
}

std::string Expanded(std::string text, const std::string& destination)
{
    for (size_t at = text.find("$D"); at != std::string::npos; at = text.find("$D", at))
        text.replace(at, 2, destination);
    return text;
}

class InstallSteps : public testing::Test {
protected:
    void SetUp() override
    {
        m_destination = MakeScratchDirectory("steps");
        m_script.m_destination = m_destination;
        m_script.m_progressDialog = &m_progress;
    }
    void TearDown() override
    {
        m_script.CloseLog();
        RemoveTree(m_destination);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Walk");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\WalkHeld");
    }
    std::vector<std::string> Log() { return ReadLines(m_destination + "\\Install.log"); }

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
                                "IF NOPE==TRUE,SKIPPED\nIF DESTINATIONPATH!=,HELD\n"
                                "REG=HKCU,Software\\VellmoraTests\\Walk\n"
                                "ICON=$D\\main.lnk,$D\\main.txt\nICON=$D\\missing\\x.lnk,$D\\main.txt\n"
                                "RUN=$D\\mark.bat\n"
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

    ASSERT_TRUE(m_script.OpenLog());
    ASSERT_EQ(1, WalkFiles(m_script));
    EXPECT_EQ(5, m_progress.m_steps) << "three files and the two conditions that do not hold";
    ASSERT_EQ(1, WalkRegistry(m_script));
    CoInitialize(nullptr);
    ASSERT_EQ(1, WalkShortcuts(m_script));
    CoUninitialize();
    std::ofstream(m_destination + "\\mark.bat") << "echo ran> \"" << m_destination << "\\ran.txt\"\r\n";
    ASSERT_EQ(1, WalkPrograms(m_script));
    EXPECT_EQ(8, m_progress.m_steps) << "programs take no steps";
    EXPECT_TRUE(PumpUntil([this] { return GetFileAttributesA((m_destination + "\\ran.txt").c_str()) !=
                                         INVALID_FILE_ATTRIBUTES; }, 20000)) << "the program was started";
    EXPECT_EQ(Expanded("$D\\main.txt|$D\\on.txt|$D\\held.txt|", m_destination),
              [this] { std::string all; for (auto& item : m_progress.m_items) all += item + "|"; return all; }());
    m_script.CloseLog();
    std::vector<std::string> expected = {"[INSTALL]", "TITLE=", "PATH=$D", "FILE=$D\\main.txt", "FILE=$D\\on.txt",
                                         "FILE=$D\\held.txt", "REG=HKCU,Software\\VellmoraTests\\Walk",
                                         "REG=HKCU,Software\\VellmoraTests\\WalkHeld", "ICON=$D\\main.lnk",
                                         "ICON=$D\\missing\\x.lnk"};
    for (std::string& line : expected)
        line = Expanded(line, m_destination);
    EXPECT_EQ(expected, Log());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_destination + "\\main.lnk").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_destination + "\\s1.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_destination + "\\off.txt").c_str()));
}

TEST_F(InstallSteps, RegistryEntriesByMode)
{
    const char* base = "Software\\VellmoraTests\\Reg";
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, base, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "Kept", 0, REG_SZ, (const BYTE*)"old", 4);
    RegSetValueExA(key, "Gone", 0, REG_SZ, (const BYTE*)"old", 4);
    struct Case {
        const char* line;
        const char* keyPath;  // below the base
        const char* value;
        DWORD type;  // 0: the value is absent
        std::string data;
        const char* logged;  // null: not logged
    } cases[] = {
        {"HKCU,Software\\VellmoraTests\\Reg\\KeyOnly", "\\KeyOnly", "", 0, "",
         "REG=HKCU,Software\\VellmoraTests\\Reg\\KeyOnly"},
        {"HKCU,Software\\VellmoraTests\\Reg,Path,\"%d\\\\x\"", "", "Path", REG_SZ, "$D\\x",
         "REG=HKCU,Software\\VellmoraTests\\Reg,\"Path\""},
        {"HKCU,Software\\VellmoraTests\\Reg,Count,dword:1F", "", "Count", REG_DWORD, std::string("\x1f\0\0\0", 4),
         "REG=HKCU,Software\\VellmoraTests\\Reg,\"Count\""},
        {"HKCU,Software\\VellmoraTests\\Reg,Kept,\"new\",nochange", "", "Kept", REG_SZ, "old", nullptr},
        {"HKCU,Software\\VellmoraTests\\Reg,Fresh,\"new\",nochange", "", "Fresh", REG_SZ, "new",
         "REG=HKCU,Software\\VellmoraTests\\Reg,\"Fresh\""},
        {"HKCU,Software\\VellmoraTests\\Reg,Gone,\"x\",delete", "", "Gone", 0, "", nullptr},
        {"HKCU,Software\\VellmoraTests\\Reg,,\"Book\"", "", "", REG_SZ, "Book",
         "REG=HKCU,Software\\VellmoraTests\\Reg,\"\""},
        {"HKXX,Software\\VellmoraTests\\Reg,Nowhere,\"x\"", "", "Nowhere", 0, "", nullptr},
    };
    ASSERT_TRUE(m_script.OpenLog());
    std::vector<std::string> logged = {"[INSTALL]", "TITLE=", "PATH=" + m_destination};
    for (const Case& c : cases) {
        CRegItem item;
        ParseRegLine(c.line, item);
        EXPECT_EQ(1, m_script.ApplyRegItem(item));
        if (c.logged)
            logged.push_back(c.logged);
    }
    // A delete entry for a key that is not there creates nothing.
    CRegItem missing;
    ParseRegLine("HKCU,Software\\VellmoraTests\\Reg\\Missing,V,\"x\",delete", missing);
    m_script.ApplyRegItem(missing);
    HKEY created = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(key, "Missing", 0, KEY_READ, &created));
    m_script.CloseLog();
    EXPECT_EQ(logged, Log());

    std::string data;
    for (const Case& c : cases) {
        EXPECT_EQ(c.type, QueryValue(std::string(base) + c.keyPath, c.value, data)) << c.line;
        EXPECT_EQ(Expanded(c.data, m_destination), data) << c.line;
    }
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Reg\\KeyOnly");
    RegDeleteKeyA(HKEY_CURRENT_USER, base);
}

// Counted in 32 bits, the free space of a drive with more than 4 GB free
// would wrap.
TEST(FreeSpace, CountsBeyondFourGigabytes)
{
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
    if (available.QuadPart <= 0x100000000ULL)
        GTEST_SKIP() << "the drive has less than 4 GB free";
    uint64_t bytes = 0;
    ASSERT_TRUE(QueryFreeSpace("C:\\Program Files\\Vellmora", bytes));
    EXPECT_GT(bytes, 0xFFFFFFFFULL);
    EXPECT_FALSE(QueryFreeSpace("Q:\\nowhere", bytes)) << "a drive that does not exist";
}

TEST(FileRules, NewAndBackupNamesAndVersionComparison)
{
    EXPECT_EQ("C:\\Windows\\System\\comctl32.new", ReplaceFromLastDot("C:\\Windows\\System\\comctl32.dll", ".new"));
    EXPECT_EQ("C:\\app\\README.new", ReplaceFromLastDot("C:\\app\\README", ".new"));
    EXPECT_EQ("C:\\my.bak", ReplaceFromLastDot("C:\\my.app\\README", ".bak"));

    const uint16_t installed[4] = {4, 72, 0, 0};
    const uint16_t patched[4] = {4, 71, 3, 0};
    struct Case {
        const char* version;
        const uint16_t* existing;
        bool newer;
    } cases[] = {
        {"4.71.0.0", installed, false}, {"5.0.0.0", installed, true},  {"4.72", installed, false},
        {"4.73", installed, true},      {"4.71", patched, false},      {"4.72", patched, true},
        {" 4.x72", installed, false},   {"4.99999999", installed, true}, {"4.72.0.0.9", installed, false},
        {"", installed, false},         {"4..1", installed, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.newer, VersionIsNewer(c.version, c.existing)) << c.version;
}
