// The install log, written to real files and read back byte for byte.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "SetupScript.h"
#include "TestApp.h"

namespace {

std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(cannot be read)";
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

class InstallLog : public testing::Test {
protected:
    void SetUp() override
    {
        m_directory = MakeScratchDirectory("log");
        m_script.m_programName = "Vellmora v1.1";
        m_script.m_title = "Install Vellmora v1.1...";
        m_script.m_destination = m_directory;
    }
    void TearDown() override
    {
        m_script.CloseLog();
        RemoveTree(m_directory);
    }

    std::string LogPath() const { return m_directory + "\\Install.log"; }
    std::string Head() const { return "[INSTALL]\nTITLE=Vellmora v1.1\nPATH=" + m_script.m_destination + "\n"; }

    std::string m_directory;
    CSetupScript m_script;
};

} // namespace

TEST_F(InstallLog, RecordsEveryKindOfLineWithLineFeedsOnly)
{
    ASSERT_EQ(1, m_script.OpenLog());
    EXPECT_EQ(1, m_script.LogProgramGroup("Vellmora", true));
    EXPECT_EQ(1, m_script.LogLine("DIRECTORY", (m_directory + "\\Sub").c_str()));
    EXPECT_EQ(1, m_script.LogLine("FILE", (m_directory + "\\Remove.exe").c_str()));
    const char* const uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora";
    EXPECT_EQ(1, m_script.LogRegistry(HKEY_LOCAL_MACHINE, uninstall, nullptr));
    EXPECT_EQ(1, m_script.LogRegistry(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"));
    EXPECT_EQ(1, m_script.LogRegistry(HKEY_CLASSES_ROOT, ".cbf", ""));
    EXPECT_EQ(1, m_script.LogRegistry(HKEY_USERS, ".DEFAULT\\Software\\V", "Name"));
    EXPECT_EQ(1, m_script.LogRegistry(HKEY_CURRENT_USER, "Software\\Brennwick\\Vellmora", nullptr));
    EXPECT_EQ(1, m_script.LogRegistry(nullptr, "NoRoot", nullptr)) << "any other root is written as HKCU";
    EXPECT_EQ(1, m_script.LogRegistry(HKEY_CURRENT_CONFIG, "Config", nullptr));
    EXPECT_EQ(1, m_script.LogRegistry(HKEY_CURRENT_USER, "Key", "Say \"hi\", \\ there"));
    EXPECT_EQ(1, m_script.LogLine("ICON", "C:\\Group\\Vellmora.lnk"));
    EXPECT_EQ(1, m_script.LogLine("EMPTY", ""));
    EXPECT_EQ(1, m_script.CloseLog());

    EXPECT_EQ(Head() + "ICONGROUP=Vellmora\nICONUSERGROUP=YES\n"
                       "DIRECTORY=" + m_directory + "\\Sub\n"
                       "FILE=" + m_directory + "\\Remove.exe\n"
                       "REG=HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora\n"
                       "REG=HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora,\"DisplayName\"\n"
                       "REG=HKCR,.cbf,\"\"\n"
                       "REG=HKU,.DEFAULT\\Software\\V,\"Name\"\n"
                       "REG=HKCU,Software\\Brennwick\\Vellmora\n"
                       "REG=HKCU,NoRoot\n"
                       "REG=HKCU,Config\n"
                       "REG=HKCU,Key,\"Say \"hi\", \\ there\"\n"
                       "ICON=C:\\Group\\Vellmora.lnk\n"
                       "EMPTY=\n",
              ReadWholeFile(LogPath()));
}

TEST_F(InstallLog, DestinationEndingInABackslashStillNamesOneFile)
{
    m_script.m_destination = m_directory + "\\";
    ASSERT_EQ(1, m_script.OpenLog());
    m_script.CloseLog();
    EXPECT_EQ(Head(), ReadWholeFile(LogPath())) << "PATH is written as chosen";
}

TEST_F(InstallLog, ConfirmingTheGroupPageTwiceLeavesOneHead)
{
    ASSERT_EQ(1, m_script.OpenLog());
    m_script.LogProgramGroup("First", false);
    m_script.LogLine("FILE", "lost");
    ASSERT_EQ(1, m_script.OpenLog());
    m_script.LogProgramGroup("Second", false);
    m_script.CloseLog();
    EXPECT_EQ(Head() + "ICONGROUP=Second\nICONUSERGROUP=NO\n", ReadWholeFile(LogPath()));
}

TEST_F(InstallLog, AnEmptyGroupWritesNoGroupLines)
{
    ASSERT_EQ(1, m_script.OpenLog());
    EXPECT_EQ(0, m_script.LogProgramGroup("", true));
    EXPECT_EQ(0, m_script.LogProgramGroup(nullptr, false));
    m_script.CloseLog();
    EXPECT_EQ(Head(), ReadWholeFile(LogPath()));
}

TEST_F(InstallLog, WithoutAnOpenLogNothingIsWritten)
{
    EXPECT_EQ(0, m_script.LogLine("FILE", "x"));
    EXPECT_EQ(0, m_script.LogRegistry(HKEY_CURRENT_USER, "Key", nullptr));
    EXPECT_EQ(0, m_script.LogProgramGroup("Group", true));
    EXPECT_EQ(1, m_script.CloseLog());

    m_script.m_destination = m_directory + "\\Missing";
    EXPECT_EQ(0, m_script.OpenLog()) << "the destination does not exist";
    EXPECT_FALSE(m_script.IsLogOpen());
    EXPECT_EQ(0, m_script.LogLine("FILE", "x"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_directory + "\\Missing").c_str()));

    // A log that was open stays closed after a failed reopening, and keeps
    // what it had.
    m_script.m_destination = m_directory;
    ASSERT_EQ(1, m_script.OpenLog());
    m_script.LogLine("FILE", "kept");
    m_script.m_destination = m_directory + "\\Missing";
    EXPECT_EQ(0, m_script.OpenLog());
    EXPECT_EQ(0, m_script.LogLine("FILE", "x"));
    m_script.m_destination = m_directory;
    EXPECT_EQ(Head() + "FILE=kept\n", ReadWholeFile(LogPath()));
}
