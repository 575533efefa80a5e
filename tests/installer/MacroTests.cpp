// Macro expansion against the prefix's own registry and directories.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "SetupScript.h"
#include "TestApp.h"

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Expanded(CSetupScript& script, const char* text)
{
    std::string expanded = text;
    EXPECT_EQ(1, script.ExpandMacros(expanded));
    return expanded;
}

// Changes one string value for the length of a test and puts back what was
// there before, or removes it again when there was nothing.
class CValueChange {
public:
    CValueChange(HKEY root, const char* path, const char* name) : m_root(root), m_path(path), m_name(name)
    {
        HKEY key;
        char buffer[1024];
        DWORD size = sizeof buffer;
        if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            m_existed = RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)buffer, &size) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
        if (m_existed)
            m_old.assign(buffer, size > 0 && buffer[size - 1] == 0 ? size - 1 : size);
    }
    ~CValueChange()
    {
        if (m_existed)
            Set(m_old.c_str());
        else
            Remove();
    }
    bool Set(const char* value)
    {
        HKEY key;
        if (RegCreateKeyExA(m_root, m_path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        LONG result = RegSetValueExA(key, m_name, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }
    void Remove()
    {
        HKEY key;
        if (RegOpenKeyExA(m_root, m_path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, m_name);
            RegCloseKey(key);
        }
    }
    const std::string& Old() const { return m_old; }

private:
    HKEY m_root;
    const char* m_path;
    const char* m_name;
    bool m_existed = false;
    std::string m_old;
};

} // namespace

TEST(Macros, DestinationLettersAndPercentSigns)
{
    CSetupScript script;
    script.m_destination = "C:\\Dest";
    script.m_programGroup = "C:\\Menu\\Group";
    EXPECT_EQ("C:\\Dest\\a.exe", Expanded(script, "%d\\a.exe"));
    EXPECT_EQ("C:\\Dest\\a.exe C:\\Dest", Expanded(script, "%D\\a.exe %d"));
    EXPECT_EQ("%C:\\Dest", Expanded(script, "%%d")) << "two percent signs: one stays";
    EXPECT_EQ("\"%1\" 50% %x %", Expanded(script, "\"%1\" 50% %x %"));
    EXPECT_EQ("C:\\Menu\\Group\\R.lnk", Expanded(script, "%I\\R.lnk"));
    EXPECT_EQ("", Expanded(script, ""));

    script.m_destination = "C:\\Dest\\";
    EXPECT_EQ("C:\\Dest\\Install.log", Expanded(script, "%d\\Install.log")) << "one backslash, not two";
    script.m_destination = "C:\\";
    EXPECT_EQ("C:\\Remove.exe", Expanded(script, "%d\\Remove.exe"));
    EXPECT_EQ("C:", Expanded(script, "%d"));

    script.m_destination = "C:\\100%d";
    EXPECT_EQ("C:\\100%d\\x", Expanded(script, "%d\\x")) << "an expansion is not expanded again";
    script.m_destination.clear();
    EXPECT_EQ("\\x", Expanded(script, "%d\\x"));
}

TEST(Macros, ProgramFilesAndDesktopComeFromTheRegistry)
{
    CSetupScript script;
    CValueChange programFiles(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");
    ASSERT_FALSE(programFiles.Old().empty()) << "the prefix has a program files directory";
    EXPECT_EQ(programFiles.Old() + "\\Vellmora", Expanded(script, "%p\\Vellmora"));

    ASSERT_TRUE(programFiles.Set("D:\\"));
    EXPECT_EQ("D:\\Vellmora", Expanded(script, "%p\\Vellmora")) << "a root directory ending in a backslash";
    programFiles.Remove();
    EXPECT_EQ("\\Vellmora", Expanded(script, "%p\\Vellmora")) << "a missing value inserts nothing";

    CValueChange desktop(HKEY_CURRENT_USER, kShellFolders, "Desktop");
    ASSERT_TRUE(desktop.Set("C:\\users\\tester\\Desktop"));
    EXPECT_EQ("C:\\users\\tester\\Desktop\\Vellmora.lnk", Expanded(script, "%t\\Vellmora.lnk"));
    desktop.Remove();
    EXPECT_EQ("\\Vellmora.lnk", Expanded(script, "%T\\Vellmora.lnk"));
}

TEST(Macros, SystemAndWindowsDirectories)
{
    char system[MAX_PATH] = "";
    char windows[MAX_PATH] = "";
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    CSetupScript script;
    EXPECT_EQ(std::string(system) + "\\comctl32.dll", Expanded(script, "%s\\comctl32.dll"));
    EXPECT_EQ(std::string(windows) + "\\wininit.ini", Expanded(script, "%W\\wininit.ini"));
}

TEST(Macros, ShortDestinationOnlyOnceItExists)
{
    std::string scratch = MakeScratchDirectory("macro");
    CSetupScript script;
    script.m_destination = scratch + "\\A Long Destination Name";
    EXPECT_EQ("\\Vellmora.exe", Expanded(script, "%m\\Vellmora.exe")) << "nothing while it does not exist";

    ASSERT_TRUE(CreateDirectoryA(script.m_destination.c_str(), nullptr));
    char shortPath[MAX_PATH] = "";
    ASSERT_GT(GetShortPathNameA(script.m_destination.c_str(), shortPath, MAX_PATH), 0u);
    std::string expanded = Expanded(script, "%m\\Vellmora.exe \"%1\"");
    EXPECT_EQ(std::string(shortPath) + "\\Vellmora.exe \"%1\"", expanded);
    EXPECT_EQ(std::string::npos, expanded.find("Long Destination")) << "the short form, whatever its hash";
    RemoveTree(scratch);
}
