// The install log's lines as the removal program reads them: the line rules
// and the registry lines.
#include <gtest/gtest.h>

#include <string.h>

#include "Digest.h"
#include "RemovalLog.h"
#include "RemovalRules.h"

namespace {

// The lines of a text as <key|value>, the value empty without "=".
std::string Lines(const std::string& text)
{
    std::string result;
    size_t position = 0;
    CLogLine line;
    while (ReadLogLine(text.data(), text.size(), position, line))
        result += "<" + line.key + "|" + line.value + ">";
    return result;
}

} // namespace

TEST(RemoverLogTest, LineRules)
{
    const struct {
        std::string text;
        const char* lines;
    } cases[] = {
        {"A=1\nB=2\n", "<A|1><B|2>"},
        {"  \r\n\r\nA=1\r\n\r\n  B=x y=z \n", "<A|1><B|x y=z >"},
        {"A=last without a break", "<A|last without a break>"},
        {"NOVALUE\nA=1\n", "<NOVALUE|><A|1>"},
        {"A=1\n[NEXT]\nB=2\n", "<A|1>"},
        {"A=1\nB[x=2\nC=3\n", "<A|1>"},
        {std::string("A=1\nB\0=2\nC=3\n", 12), "<A|1>"},
        {std::string("A=1\0\nB=2\n", 10), "<A|1>"},
        {"A=[1]\n=empty\nB=2\n", "<A|[1]><|empty><B|2>"},
        {"A=1\nTRAILING", "<A|1>"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.lines, Lines(c.text)) << c.text;
}

TEST(RemoverLogTest, RegistryLines)
{
    const struct {
        const char* value;
        LogRoot root;
        const char* keyPath;
        const char* valueName;
    } cases[] = {
        {"HKCR,.cbf", kRootClassesRoot, ".cbf", ""},
        {"HKCR,.cbf,\"\"", kRootClassesRoot, ".cbf", ""},
        {"HKLM,SOFTWARE\\X,\"DisplayName\"", kRootLocalMachine, "SOFTWARE\\X", "DisplayName"},
        {"  h kc u ,Software\\A B,\"Value name\"", kRootCurrentUser, "Software\\A B", "Value name"},
        {"hku,.DEFAULT\\K,Unquoted", kRootUsers, ".DEFAULT\\K", ""},
        {"HKCU,K,\"quote\"inside\"", kRootCurrentUser, "K", "quote\"inside"},
        {"HKCU,K,\"unclosed", kRootCurrentUser, "K", "unclosed"},
        {"HKPD,K", kRootNone, "K", ""},
        // Lines that would name a whole predefined key name nothing.
        {"HKCU", kRootNone, "", ""},
        {"HKCU,", kRootNone, "", ""},
        {"HKLM,\\\\,\"v\"", kRootNone, "\\\\", "v"},
        {"", kRootNone, "", ""},
    };
    for (const auto& c : cases) {
        CLogRegistryEntry entry = ParseRegistryLine(c.value);
        EXPECT_EQ(c.root, entry.root) << c.value;
        EXPECT_EQ(c.keyPath, entry.keyPath) << c.value;
        EXPECT_EQ(c.valueName, entry.valueName) << c.value;
        EXPECT_EQ(strchr(c.value, '"') != nullptr, entry.hasValue) << c.value;
    }
}

// Files inside the installation folder, shortcuts in the shortcut folders,
// keys off the system's own: paths that climb, streams, devices, roots and
// look-alike folders are refused.
TEST(RemoverLogTest, WhatARemovalMayDelete)
{
    const std::string app = "C:\\Program Files\\Vellmora";
    const struct {
        const char* path;
        bool file, directory;
    } files[] = {
        {"C:\\Program Files\\Vellmora\\Vellmora.exe", true, true},
        {"c:/program files/VELLMORA/sub/x", true, true},
        {"C:\\Program Files\\Vellmora", false, true},
        {"C:\\Program Files\\Vellmora\\", false, false},
        {"C:\\Program Files\\Vellmora2\\x", false, false},
        {"C:\\Program Files\\Vellmora\\..\\x", false, false},
        {"C:\\Program Files\\Vellmora\\.. \\x", false, false},
        {"C:\\Program Files\\Vellmora\\x:stream", false, false},
        {"C:\\Program Files\\Vellmora\\\\x", false, false},
        {"\\\\?\\C:\\Program Files\\Vellmora\\x", false, false},
        {"C:\\Windows\\win.ini", false, false},
        {"Vellmora\\x", false, false},
    };
    for (const auto& f : files) {
        EXPECT_EQ(f.file, MayDeleteFileEntry({f.path, false}, app)) << f.path;
        EXPECT_EQ(f.directory, MayDeleteFileEntry({f.path, true}, app)) << f.path;
    }
    EXPECT_FALSE(MayDeleteFileEntry({"C:\\x", false}, "C:\\")) << "a drive's root is no installation folder";
    EXPECT_TRUE(MayDeleteFileEntry({"\\\\server\\share\\App\\x", false}, "\\\\server\\share\\App"));
    EXPECT_FALSE(MayDeleteFileEntry({"\\\\server\\share\\x", false}, "\\\\server\\share"));

    const std::vector<std::string> folders = {"C:\\Menu\\Programs", "C:\\Desktop"};
    EXPECT_TRUE(MayDeleteShortcut("C:\\Menu\\Programs\\Vellmora\\Readme.LNK", folders));
    EXPECT_TRUE(MayDeleteShortcut("C:\\Desktop\\Vellmora.lnk", folders));
    EXPECT_FALSE(MayDeleteShortcut("C:\\Desktop\\Vellmora.exe", folders));
    EXPECT_FALSE(MayDeleteShortcut("C:\\Menu\\Vellmora.lnk", folders));

    const struct {
        LogRoot root;
        const char* key;
        bool protectedKey;
    } keys[] = {
        {kRootCurrentUser, "Software\\Brennwick", false},
        {kRootCurrentUser, "Software\\Brennwick\\Vellmora", false},
        {kRootLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora", false},
        {kRootLocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\V.exe", false},
        {kRootLocalMachine, "SOFTWARE\\Classes\\.cbf", false},
        {kRootUsers, ".DEFAULT\\Software\\Brennwick", false},
        {kRootClassesRoot, ".cbf", false},
        {kRootClassesRoot, "CLSID\\{0}", false},
        {kRootClassesRoot, "", true},
        {kRootClassesRoot, "CLSID", true},
        {kRootClassesRoot, "*", true},
        {kRootClassesRoot, "exefile", true},
        {kRootCurrentUser, "Software", true},
        {kRootCurrentUser, "Control Panel\\Desktop", true},
        {kRootLocalMachine, "SOFTWARE\\Classes", true},
        {kRootLocalMachine, "software\\classes\\lnkfile", true},
        {kRootLocalMachine, "SOFTWARE\\Microsoft", true},
        {kRootLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true},
        {kRootLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        {kRootLocalMachine, "SOFTWARE\\Policies\\Brennwick", true},
        {kRootLocalMachine, "SOFTWARE\\Wow6432Node", true},
        {kRootLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\x", true},
        {kRootLocalMachine, "SOFTWARE\\\\Brennwick", true},
        {kRootUsers, ".DEFAULT", true},
        {kRootUsers, "S-1-5-18\\Software", true},
        {kRootNone, "Software\\Brennwick", true},
    };
    for (const auto& k : keys)
        EXPECT_EQ(k.protectedKey, IsProtectedKey(k.root, k.key)) << k.key;
}

// The shipped script's log over a ".cbf" of another program and an existing
// vendor key's sibling: the vendor level waits until it is empty, the keys
// made go whole, and ".cbf"'s default value goes while it names the ProgID
// made.
TEST(RemoverLogTest, KeyRolesOfAnInstallation)
{
    const std::string text = "[INSTALL]\nREG=HKCU,Software\\Brennwick\nREG=HKCU,Software\\Brennwick\\Vellmora\n"
                             "REG=HKCR,.cbf,\"\"\nREG=HKCR,VellmoraBook\nREG=HKCR,VellmoraBook,\"\"\n"
                             "REG=HKCR,VellmoraBook\\DefaultIcon,\"\"\n";
    CRemovalLog log;
    ReadRemovalLog(text.data(), text.size(), log);
    std::vector<LogKeyRole> roles = KeyRoles(log.registry);
    EXPECT_EQ((std::vector<LogKeyRole>{kKeyParent, kKeyOwn, kKeyValue, kKeyOwn, kKeyValue, kKeyValue}), roles);
    EXPECT_TRUE(LogMadeKey(log.registry, roles, kRootClassesRoot, NamedSiblingKey(".cbf", "vellmorabook")));
    EXPECT_TRUE(LogMadeKey(log.registry, roles, kRootClassesRoot, "VellmoraBook\\DefaultIcon"));
    EXPECT_FALSE(LogMadeKey(log.registry, roles, kRootClassesRoot, NamedSiblingKey(".cbf", "OtherBook")));
    EXPECT_FALSE(LogMadeKey(log.registry, roles, kRootClassesRoot, ".cbf"));
    EXPECT_FALSE(LogMadeKey(log.registry, roles, kRootCurrentUser, "Software\\Brennwick\\Other"));
    EXPECT_EQ("Software\\Classes\\VellmoraBook", NamedSiblingKey("Software\\Classes\\.cbf", "VellmoraBook"));
    EXPECT_EQ("HKCR\\.cbf, (default)", DescribeRegistryEntry(log.registry[2]));
}

TEST(RemoverLogTest, DigestOfKnownBytes)
{
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", Sha256Hex("abc", 3));
    EXPECT_EQ("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855", Sha256Hex("", 0));
}
