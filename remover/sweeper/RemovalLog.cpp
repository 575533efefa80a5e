#include "RemovalLog.h"

#include <string.h>

namespace {

// The log's keys and root words are plain ASCII; no other letter of an
// ANSI code page lowers to one of them.
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& text, const char* word)
{
    size_t n = strlen(word);
    if (text.size() != n)
        return false;
    for (size_t i = 0; i < n; i++)
        if (LowerAscii(text[i]) != LowerAscii(word[i]))
            return false;
    return true;
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

size_t SkipLineBreaks(const char* data, size_t size, size_t p)
{
    while (p < size && IsLineBreak(data[p]))
        p++;
    return p;
}

struct CRootWord {
    LogRoot root;
    const char* word;
};
const CRootWord kRootWords[] = {
    {kRootClassesRoot, "HKCR"},
    {kRootCurrentUser, "HKCU"},
    {kRootLocalMachine, "HKLM"},
    {kRootUsers, "HKU"},
};

LogRoot RootFromWord(const std::string& word)
{
    for (const CRootWord& known : kRootWords)
        if (EqualNoCase(word, known.word))
            return known.root;
    return kRootNone;
}

// A key path of nothing but backslashes opens the predefined key itself.
bool NamesRootItself(const std::string& keyPath)
{
    return keyPath.find_first_not_of('\\') == std::string::npos;
}

} // namespace

const char* RootWord(LogRoot root)
{
    for (const CRootWord& known : kRootWords)
        if (known.root == root)
            return known.word;
    return "?";
}

bool IsInstallLog(const char* data, size_t size)
{
    return size >= 9 && memcmp(data, "[INSTALL]", 9) == 0;
}

bool ReadLogLine(const char* data, size_t size, size_t& position, CLogLine& line)
{
    size_t p = position;
    while (p < size && (IsLineBreak(data[p]) || data[p] == ' '))
        p++;
    position = p;
    if (p >= size || data[p] == 0)
        return false;
    size_t start = p;
    for (;; p++) {
        // The log's text ends at its end or at a zero byte, like a string.
        if (p >= size || data[p] == 0 || data[p] == '[')
            return false;
        if (data[p] == '=')
            break;
        if (IsLineBreak(data[p])) {
            line.key.assign(data + start, p - start);
            line.value.clear();
            position = SkipLineBreaks(data, size, p);
            return true;
        }
    }
    line.key.assign(data + start, p - start);
    size_t valueStart = ++p;
    while (p < size && data[p] != 0 && !IsLineBreak(data[p]))
        p++;
    line.value.assign(data + valueStart, p - valueStart);
    position = SkipLineBreaks(data, size, p);
    return true;
}

CLogRegistryEntry ParseRegistryLine(const std::string& value)
{
    CLogRegistryEntry entry;
    size_t p = value.find_first_not_of(' ');
    if (p == std::string::npos)
        return entry;
    size_t comma = value.find(',', p);
    std::string word;
    for (size_t i = p; i < value.size() && i != comma; i++)
        if (value[i] != ' ')
            word += value[i];
    entry.root = RootFromWord(word);
    if (comma == std::string::npos) {
        // Without a key path the line would name the whole predefined key.
        entry.root = kRootNone;
        return entry;
    }
    size_t pathStart = comma + 1;
    comma = value.find(',', pathStart);
    entry.keyPath = value.substr(pathStart, comma == std::string::npos ? std::string::npos : comma - pathStart);
    if (NamesRootItself(entry.keyPath))
        entry.root = kRootNone;
    if (comma == std::string::npos || comma + 1 >= value.size() || value[comma + 1] != '"')
        return entry;
    // The installer writes the name unescaped and last on the line, so a
    // name may hold double quotes of its own: it ends at the last one.
    size_t nameStart = comma + 2;
    size_t close = value.rfind('"');
    size_t nameEnd = close >= nameStart ? close : value.size();
    entry.hasValue = true;
    entry.valueName = value.substr(nameStart, nameEnd - nameStart);
    return entry;
}

void ReadRemovalLog(const char* data, size_t size, CRemovalLog& log)
{
    size_t position = kLogHeadSize;
    CLogLine line;
    while (ReadLogLine(data, size, position, line) && !line.key.empty()) {
        const std::string& key = line.key;
        if (EqualNoCase(key, "TITLE"))
            log.title = line.value;
        else if (EqualNoCase(key, "PATH"))
            log.path = line.value;
        else if (EqualNoCase(key, "ICONGROUP"))
            log.group = line.value;
        else if (EqualNoCase(key, "ICONUSERGROUP"))
            log.userGroup = EqualNoCase(line.value, "NO") ? 0 : 1;
        else if (EqualNoCase(key, "FILE"))
            log.files.push_back(CLogFileEntry{line.value, false});
        else if (EqualNoCase(key, "DIRECTORY"))
            log.files.push_back(CLogFileEntry{line.value, true});
        else if (EqualNoCase(key, "ICON"))
            log.shortcuts.push_back(line.value);
        else if (EqualNoCase(key, "REG"))
            log.registry.push_back(ParseRegistryLine(line.value));
    }
}
