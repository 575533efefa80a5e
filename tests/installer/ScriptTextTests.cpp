// The script's text rules: lines, sections, colours and item lines.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScriptText.h"

namespace {

// Every pair of a section, in order, as the section reader sees them.
std::vector<std::string> SectionLines(const std::string& text, const char* section)
{
    std::vector<std::string> lines;
    size_t position = FindSection(text, section);
    if (position == kNoPosition)
        return lines;
    CKeyValue line;
    for (;;) {
        bool more = ReadKeyValue(text, position, line);
        if (line.key.empty())
            break;
        lines.push_back(line.key + "|" + line.value);
        if (!more)
            break;
        position = line.next;
    }
    return lines;
}

std::vector<std::string> Lines(std::initializer_list<const char*> items)
{
    return std::vector<std::string>(items.begin(), items.end());
}

std::string Bytes(const CRegItem& entry)
{
    return std::string(entry.m_data.begin(), entry.m_data.end());
}

} // namespace

TEST(ScriptLines, ThreeKeyFormsReadTheSameAndTwoSpacesKeepTheEqualsSign)
{
    EXPECT_EQ(Lines({"A|value", "B|value", "C|value", "D|= value", "IF|X==TRUE,Y"}),
              SectionLines("[S]\nA=value\nB = value\nC value\nD  = value\nIF X==TRUE,Y\n", "S"));
    EXPECT_EQ(Lines({"KEY|value with  spaces  ", "E|", "F|"}),
              SectionLines("[S]\nKEY=   value with  spaces  \nE=\nF \n", "S"))
        << "spaces behind the value stay; an empty value after = or a space";
    EXPECT_EQ(Lines({"K|a=b=c", "T|\tx"}), SectionLines("[S]\nK=a=b=c\nT=\tx\n", "S"))
        << "only the first = splits; a tab is an ordinary character";
}

TEST(ScriptLines, CommentsBreaksAndALoneKey)
{
    std::string text = "[S]\r\n\r\n   // comment\r\n\t//not a comment\r\n//\r\n"
                       "A=x // not a comment\r\n/B=single slash\r\nTITLE\r\n\n\r\nC=last";
    EXPECT_EQ(Lines({"\t//not|a comment", "A|x // not a comment", "/B|single slash", "TITLE|", "C|last"}),
              SectionLines(text, "S"));

    CKeyValue line;
    size_t position = FindSection(text, "S");
    while (ReadKeyValue(text, position, line))
        position = line.next;
    EXPECT_EQ("C", line.key) << "the text ending inside a value still gives the pair";
    EXPECT_EQ("last", line.value);
    EXPECT_FALSE(ReadKeyValue(text, text.size(), line));
    EXPECT_TRUE(line.key.empty());
    EXPECT_FALSE(ReadKeyValue("// only a comment", 0, line));
    EXPECT_TRUE(line.key.empty());
}

TEST(ScriptLines, SectionEndsAtEqualsSignBracketOrNextHeader)
{
    EXPECT_EQ(Lines({"A|1"}), SectionLines("[S]\nA=1\n=2\nB=3\n", "S"));
    EXPECT_EQ(Lines({"A|1", "B|"}), SectionLines("[S]\nA=1\nB[2\nC=3\n", "S"))
        << "a [ inside a key ends the section, the key so far still counts";
    EXPECT_EQ(Lines({"A|1"}), SectionLines("[S]\nA=1\n  [T]\nB=2\n", "S"));
    EXPECT_EQ(Lines({"TAIL", "X"}), [] {
        CKeyValue line;
        std::vector<std::string> keys;
        ReadKeyValue("TAIL", 0, line);
        keys.push_back(line.key);
        ReadKeyValue("X[", 0, line);
        keys.push_back(line.key);
        return keys;
    }()) << "the text ending inside a key still gives the key";
}

TEST(ScriptSections, HeaderTextCaseOrderAndBrokenHeaders)
{
    EXPECT_EQ(Lines({"A|1", "B|2"}), SectionLines("[s]   A=1\nB=2\n", "S")) << "text behind ] is the first line";
    EXPECT_EQ(Lines({"A|first"}), SectionLines("[T]\nX=1\n[Main]\nA=first\n[MAIN]\nA=second\n", "main"));
    EXPECT_EQ(kNoPosition, FindSection("[A]\nX=[MAIN]\n", "MAIN")) << "a [ inside a line is no header";
    EXPECT_EQ(kNoPosition, FindSection("[A\n[MAIN]\nX=1\n", "MAIN")) << "a header without ] hides the rest";
    EXPECT_EQ(kNoPosition, FindSection("[MAIN", "MAIN"));
    EXPECT_EQ(kNoPosition, FindSection("", "MAIN"));
    EXPECT_EQ(kNoPosition, FindSection("[MAINS]\n", "MAIN"));
    EXPECT_EQ(std::string("[MAIN]").size(), FindSection("[MAIN]", "MAIN")) << "an empty last section";
    EXPECT_EQ(Lines({"A|1"}), SectionLines("[A] B\n[OTHER]\n[MAIN]\nA=1", "MAIN"));
}

TEST(ScriptColors, ParseColorReadsRedGreenBlue)
{
    EXPECT_EQ(0xFF0000u, ParseColor("0000FF")) << "blue";
    EXPECT_EQ(0x0000FFu, ParseColor("FF0000")) << "red";
    EXPECT_EQ(0x00FF00u, ParseColor("0x00ff00"));
    EXPECT_EQ(0x563412u, ParseColor("123456"));
    EXPECT_EQ(0u, ParseColor("zz")) << "no digits is black";
    EXPECT_EQ(0u, ParseColor(""));
    EXPECT_EQ(0x0000FFu, ParseColor("FF0000zz"));
    EXPECT_EQ(kNoColor, ParseColor("0000000FF")) << "more than 8 characters";
    EXPECT_EQ(kNoColor, ParseColor("1000000")) << "above FFFFFF";
    EXPECT_EQ(kNoColor, ParseColor("FFFFFFFF"));
    EXPECT_EQ(kNoColor, ParseColor("-1")) << "negative";
    EXPECT_EQ(0xFFFFFFu, ParseColor("FFFFFF"));
}

TEST(ScriptItems, SelectionRequiredFlag)
{
    CSelection component;
    EXPECT_EQ("PART", ParseSelectionLine("PART,r", component));
    EXPECT_EQ(kStateRequired, component.m_state);
    ParseSelectionLine("PART,Required", component);
    EXPECT_EQ(kStateRequired, component.m_state);
    ParseSelectionLine("PART, R", component);
    EXPECT_EQ(kStateOn, component.m_state) << "a space behind the comma";
    EXPECT_EQ("PART", ParseSelectionLine("PART", component));
    EXPECT_EQ(kStateOn, component.m_state);
    EXPECT_EQ("PART ", ParseSelectionLine("PART ,R", component)) << "fields are taken as written";
}

TEST(ScriptItems, FileDestinationDefaultsAndVersionFields)
{
    CFileItem file;
    ParseFileLine("README.TXT", file);
    EXPECT_EQ("%d\\README.TXT", file.m_destination);
    ParseFileLine("README.TXT,", file);
    EXPECT_EQ("%d\\README.TXT", file.m_destination);
    EXPECT_EQ("", file.m_version);

    ParseFileLine("LIB.DLL,%s\\lib.dll,4.71.0.0,First Second,ignored", file);
    EXPECT_EQ("LIB.DLL", file.m_source);
    EXPECT_EQ("%s\\lib.dll", file.m_destination);
    EXPECT_EQ("4.71.0.0", file.m_version);
    EXPECT_EQ("First Second", file.m_functions);

    CIconItem shortcut;
    ParseIconLine("%i\\A.lnk,%d\\A.exe,ignored", shortcut);
    EXPECT_EQ("%i\\A.lnk", shortcut.m_shortcut);
    EXPECT_EQ("%d\\A.exe", shortcut.m_target);
    ParseIconLine("%i\\B.lnk", shortcut);
    EXPECT_EQ("", shortcut.m_target);
}

TEST(ScriptItems, CheckCaptionEscapesAndDefaults)
{
    CCheckItem option;
    ParseCheckLine("OPT,Line\\none\\, two\\ttab \\\\ \\q", option);
    EXPECT_EQ("OPT", option.m_name);
    EXPECT_EQ("Line\none, two\ttab \\ q", option.m_caption);
    EXPECT_EQ(1, option.m_on);
    ParseCheckLine("OPT,Caption\\", option);
    EXPECT_EQ("Caption", option.m_caption) << "a backslash at the very end is dropped";

    const char* const off[] = {"OPT,c,FALSE", "OPT,c,0", "OPT,c,false"};
    for (const char* line : off) {
        ParseCheckLine(line, option);
        EXPECT_EQ(0, option.m_on) << line;
    }
    const char* const on[] = {"OPT,c,TRUE", "OPT,c,", "OPT,c,no", "OPT"};
    for (const char* line : on) {
        ParseCheckLine(line, option);
        EXPECT_EQ(1, option.m_on) << line;
    }
    EXPECT_EQ("", option.m_caption);
}

TEST(ScriptItems, RegistryRootsKeysAndNames)
{
    struct {
        const char* line;
        HKEY root;
    } const roots[] = {{"HKCR,k", HKEY_CLASSES_ROOT},
                       {"hkcu,k", HKEY_CURRENT_USER},
                       {"HkLm,k", HKEY_LOCAL_MACHINE},
                       {"HKU,k", HKEY_USERS},
                       {"HKEY_USERS,k", nullptr},
                       {" HKCU,k", nullptr}};
    for (const auto& root : roots) {
        CRegItem entry;
        ParseRegLine(root.line, entry);
        EXPECT_EQ(root.root, entry.m_root) << root.line;
    }

    CRegItem rootOnly;
    ParseRegLine("HKCU", rootOnly);
    EXPECT_EQ("", rootOnly.m_keyPath);
    EXPECT_FALSE(rootOnly.HasData());

    CRegItem keyOnly;
    ParseRegLine("HKCR,.cbf", keyOnly);
    EXPECT_EQ(".cbf", keyOnly.m_keyPath);
    EXPECT_FALSE(keyOnly.HasData()) << "a key alone writes no value";

    CRegItem nameOnly;
    ParseRegLine("HKCR,Key,Name", nameOnly);
    EXPECT_EQ("Name", nameOnly.m_valueName);
    EXPECT_EQ((uint32_t)REG_SZ, nameOnly.m_type);
    EXPECT_EQ(std::string(1, '\0'), Bytes(nameOnly)) << "an empty string, its terminator counted";
}

TEST(ScriptItems, RegistryNumbersAndBytes)
{
    CRegItem entry;
    ParseRegLine("HKCU,Key,Value,dword:1F", entry);
    EXPECT_EQ((uint32_t)REG_DWORD, entry.m_type);
    EXPECT_EQ(std::string("\x1F\0\0\0", 4), Bytes(entry)) << "31, little-endian";

    struct {
        const char* data;
        uint32_t value;
    } const numbers[] = {{"dword:  0x12345678", 0x12345678u}, {"DWORD:ffffffff", 0xFFFFFFFFu},
                         {"dword:1FFFFFFFF", 0xFFFFFFFFu},   {"dword:12zz", 0x12u},
                         {"dword:", 0u},                      {"dword:0x", 0u}};
    for (const auto& number : numbers) {
        CRegItem dword;
        ParseRegLine(std::string("HKCU,Key,Value,") + number.data, dword);
        ASSERT_EQ(4u, dword.GetDataLength()) << number.data;
        uint32_t value = dword.m_data[0] | dword.m_data[1] << 8 | dword.m_data[2] << 16 | (uint32_t)dword.m_data[3] << 24;
        EXPECT_EQ(number.value, value) << number.data;
    }

    struct {
        const char* data;
        const char* bytes;
        size_t length;
    } const lists[] = {{"hex:01 02 ff", "\x01\x02\xff", 3}, {"hex:", "\0", 1},
                       {"HEX:0a-0B", "\x0a\x0b", 2},        {"hex:0102", "\x01\x02", 2},
                       {"hex:1  zz 3", "\x01\x00\x03", 3},   {"hex:f", "\x0f", 1}};
    for (const auto& list : lists) {
        CRegItem binary;
        ParseRegLine(std::string("HKCU,Key,Value,") + list.data + ",delete", binary);
        EXPECT_EQ((uint32_t)REG_BINARY, binary.m_type) << list.data;
        EXPECT_EQ(std::string(list.bytes, list.length), Bytes(binary)) << list.data;
        EXPECT_EQ(kRegDelete, binary.m_mode) << list.data;
    }
}

TEST(ScriptItems, RegistryQuotedTextAndModes)
{
    CRegItem entry;
    ParseRegLine("HKCU,Key,Value,\"a, b\",nochange", entry);
    EXPECT_EQ(std::string("a, b\0", 5), Bytes(entry));
    EXPECT_EQ(kRegKeep, entry.m_mode);

    CRegItem escapes;
    ParseRegLine("HKCR,K,,\"%m\\\\Vellmora.exe \\\"%1\\\"\\n\\r\\t\\x\"", escapes);
    EXPECT_EQ("", escapes.m_valueName) << "the default value";
    EXPECT_EQ(std::string("%m\\Vellmora.exe \"%1\"\n\r\tx\0", 25), Bytes(escapes));
    EXPECT_EQ(kRegWrite, escapes.m_mode);

    CRegItem unclosed;
    ParseRegLine("HKCU,Key,Value,\"open, text,nochange\\", unclosed);
    EXPECT_EQ(std::string("open, text,nochange\0", 20), Bytes(unclosed))
        << "an unclosed quote runs to the end and its last backslash is dropped";
    EXPECT_EQ(kRegWrite, unclosed.m_mode) << "no mode behind an unclosed quote";

    CRegItem notDirectlyBehind;
    ParseRegLine("HKCU,Key,Value,\"text\" ,delete", notDirectlyBehind);
    EXPECT_EQ(kRegWrite, notDirectlyBehind.m_mode);

    CRegItem emptyData;
    ParseRegLine("HKCU,Key,Value,,DELETE", emptyData);
    EXPECT_EQ(std::string(1, '\0'), Bytes(emptyData));
    EXPECT_EQ(kRegDelete, emptyData.m_mode);

    CRegItem plainText;
    ParseRegLine("HKCU,Key,Value,plain,delete", plainText);
    EXPECT_EQ(std::string(1, '\0'), Bytes(plainText)) << "unquoted text is an empty string";
    EXPECT_EQ(kRegWrite, plainText.m_mode) << "and no mode follows it";

    CRegItem unknownType;
    ParseRegLine("HKCU,Key,Value,sz:text,delete", unknownType);
    EXPECT_FALSE(unknownType.HasData()) << "an unknown type word only creates the key";
    EXPECT_EQ(kRegWrite, unknownType.m_mode);

    CRegItem otherMode;
    ParseRegLine("HKCU,Key,Value,dword:1,sometimes", otherMode);
    EXPECT_EQ(kRegWrite, otherMode.m_mode);
}

TEST(ScriptItems, ConditionLines)
{
    CIfItem condition;
    EXPECT_EQ("OPENREADME", ParseIfLine("OPENREADME==TRUE,OPENREADME", condition));
    EXPECT_EQ("OPENREADME", condition.m_variable);
    EXPECT_EQ("TRUE", condition.m_value);
    EXPECT_EQ(1, condition.m_test);

    EXPECT_EQ("SECTION", ParseIfLine("NAME!=,   SECTION tail", condition));
    EXPECT_EQ("NAME", condition.m_variable);
    EXPECT_EQ("", condition.m_value);
    EXPECT_EQ(0, condition.m_test);

    EXPECT_EQ("S", ParseIfLine("A=!B,S", condition)) << "only the first character of the operator counts";
    EXPECT_EQ(1, condition.m_test);
    EXPECT_EQ("B", condition.m_value);

    EXPECT_EQ("", ParseIfLine("NAME==VALUE", condition)) << "no section without a comma";
    EXPECT_EQ("VALUE", condition.m_value);
    EXPECT_EQ("", ParseIfLine("NOOPERATOR,SECTION", condition));
    EXPECT_EQ("NOOPERATOR,SECTION", condition.m_variable);
    EXPECT_EQ("", ParseIfLine("NAME=", condition)) << "an operator cut short reads nothing behind the text";
    EXPECT_EQ("NAME", condition.m_variable);
    EXPECT_EQ("", condition.m_value);
    EXPECT_EQ("", ParseIfLine("!", condition));
    EXPECT_EQ(0, condition.m_test);
}
