// The install log's lines as the removal program reads them: the line rules
// and the registry lines.
#include <gtest/gtest.h>

#include "RemovalLog.h"

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
    }
}
