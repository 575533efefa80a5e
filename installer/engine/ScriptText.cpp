#include "ScriptText.h"

#include <vector>

namespace {

// A blank is a space, CR or LF; a tab is an ordinary character.
bool IsBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

size_t SkipBlanks(const std::string& text, size_t p)
{
    while (p < text.size() && IsBlank(text[p]))
        p++;
    return p;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool StartsWithHexPrefix(const std::string& text, size_t p)
{
    return p + 1 < text.size() && text[p] == '0' && (text[p + 1] == 'x' || text[p + 1] == 'X');
}

// The value's fields, separated by ",", taken exactly as written.
class CFieldReader {
public:
    explicit CFieldReader(const std::string& text) : m_text(text), m_position(0), m_hasField(true) {}

    // Whether a field is left: the first always is, every later one only
    // when a "," came before it.
    bool HasField() const { return m_hasField; }
    // The first character of the field to come; 0 at the end.
    char Peek() const { return m_position < m_text.size() ? m_text[m_position] : 0; }

    std::string Next()
    {
        if (!m_hasField)
            return std::string();
        size_t end = m_text.find(',', m_position);
        if (end == std::string::npos)
            end = m_text.size();
        std::string field = m_text.substr(m_position, end - m_position);
        MoveBehind(end);
        return field;
    }

    // Text up to the next "," that no backslash escapes, with the escapes
    // resolved and a backslash at the very end dropped.
    std::string NextEscaped()
    {
        std::string field;
        size_t p = m_position;
        if (!m_hasField)
            return field;
        while (p < m_text.size() && m_text[p] != ',') {
            if (m_text[p] == '\\') {
                if (++p >= m_text.size())
                    break;
                field += ResolveEscape(m_text[p++]);
            } else {
                field += m_text[p++];
            }
        }
        MoveBehind(p);
        return field;
    }

    // A double-quoted text starting at the current position; answers
    // whether the closing quote was found. Behind it a "," opens one more
    // field; without it nothing more is read.
    bool NextQuoted(std::string& field)
    {
        size_t p = m_position + 1;
        bool closed = false;
        while (p < m_text.size()) {
            char c = m_text[p++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\') {
                if (p >= m_text.size())
                    break;
                c = ResolveEscape(m_text[p++]);
            }
            field += c;
        }
        m_position = p;
        m_hasField = closed && p < m_text.size() && m_text[p] == ',';
        if (m_hasField)
            m_position++;
        return closed;
    }

    static char ResolveEscape(char c)
    {
        switch (c) {
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        default: return c;
        }
    }

private:
    void MoveBehind(size_t end)
    {
        m_hasField = end < m_text.size();
        m_position = m_hasField ? end + 1 : end;
    }

    const std::string& m_text;
    size_t m_position;
    bool m_hasField;
};

HKEY RootFromWord(const std::string& word)
{
    std::string lowered = LowerAnsiText(word);
    if (lowered == "hkcr")
        return HKEY_CLASSES_ROOT;
    if (lowered == "hkcu")
        return HKEY_CURRENT_USER;
    if (lowered == "hklm")
        return HKEY_LOCAL_MACHINE;
    if (lowered == "hku")
        return HKEY_USERS;
    return nullptr;
}

uint8_t ModeFromWord(const std::string& word)
{
    std::string lowered = LowerAnsiText(word);
    if (lowered == "nochange")
        return kRegKeep;
    if (lowered == "delete")
        return kRegDelete;
    return kRegWrite;
}

// Unsigned hexadecimal with leading spaces and an optional 0x; stops at the
// first other character; too large gives 0xFFFFFFFF.
uint32_t ParseHexNumber(const std::string& text)
{
    size_t p = 0;
    while (p < text.size() && text[p] == ' ')
        p++;
    if (StartsWithHexPrefix(text, p) && p + 2 < text.size() && HexDigitValue(text[p + 2]) >= 0)
        p += 2;
    uint64_t value = 0;
    for (; p < text.size() && HexDigitValue(text[p]) >= 0; p++) {
        value = value * 16 + (uint64_t)HexDigitValue(text[p]);
        if (value > 0xFFFFFFFFu)
            return 0xFFFFFFFFu;
    }
    return (uint32_t)value;
}

// Pairs of hex digits with one separator between pairs, as in 01 0a ff:
// byte i comes from the characters at 3i and 3i+1 of the text with one
// space appended, so an empty list gives one zero byte.
std::vector<unsigned char> ParseHexBytes(const std::string& list)
{
    std::string text = list + " ";
    std::vector<unsigned char> bytes;
    for (size_t offset = 0; offset < text.size(); offset += 3) {
        size_t p = offset;
        size_t end = offset + 2 < text.size() ? offset + 2 : text.size();
        while (p < end && text[p] == ' ')
            p++;
        unsigned value = 0;
        for (; p < end && HexDigitValue(text[p]) >= 0; p++)
            value = value * 16 + (unsigned)HexDigitValue(text[p]);
        bytes.push_back((unsigned char)value);
    }
    return bytes;
}

void SetStringData(CRegItem& entry, const std::string& text)
{
    entry.m_type = REG_SZ;
    entry.m_data.assign(text.begin(), text.end());
    entry.m_data.push_back(0);
}

void SetDwordData(CRegItem& entry, uint32_t value)
{
    entry.m_type = REG_DWORD;
    entry.m_data.clear();
    for (int i = 0; i < 4; i++)
        entry.m_data.push_back((unsigned char)(value >> (8 * i)));
}

} // namespace

size_t FindSection(const std::string& text, const std::string& name)
{
    size_t n = text.size();
    size_t p = 0;
    for (;;) {
        p = SkipBlanks(text, p);
        if (p >= n)
            return kNoPosition;
        if (text[p] != '[') {
            while (p < n && text[p] != '\n')
                p++;
            continue;
        }
        size_t start = ++p;
        while (p < n && text[p] != ']' && text[p] != '\n')
            p++;
        if (p >= n || text[p] == '\n')
            return kNoPosition;
        bool wanted = EqualNoCase(text.substr(start, p - start), name);
        p++;
        if (wanted)
            return SkipBlanks(text, p);
    }
}

bool ReadKeyValue(const std::string& text, size_t position, CKeyValue& line)
{
    size_t n = text.size();
    line.key.clear();
    line.value.clear();
    line.next = n;

    size_t p = SkipBlanks(text, position);
    while (p + 1 < n && text[p] == '/' && text[p + 1] == '/') {
        while (p < n && text[p] != '\n')
            p++;
        p = SkipBlanks(text, p);
    }
    if (p >= n)
        return false;

    size_t start = p;
    for (; p < n && text[p] != '=' && text[p] != ' '; p++) {
        if (text[p] == '[') {
            line.key.assign(text, start, p - start);
            return false;
        }
        if (IsLineBreak(text[p])) {
            line.key.assign(text, start, p - start);
            while (p < n && IsLineBreak(text[p]))
                p++;
            line.next = p;
            return true;
        }
    }
    line.key.assign(text, start, p - start);
    if (p >= n)
        return false;

    // "KEY = value" has its "=" right behind the space that ended the key.
    if (text[p] == ' ' && p + 1 < n && text[p + 1] == '=')
        p++;
    p++;
    while (p < n && text[p] == ' ')
        p++;
    size_t valueStart = p;
    while (p < n && !IsLineBreak(text[p]))
        p++;
    line.value.assign(text, valueStart, p - valueStart);
    if (p >= n)
        return false;
    while (p < n && IsLineBreak(text[p]))
        p++;
    line.next = p;
    return true;
}

uint32_t ParseColor(const std::string& value)
{
    if (value.size() > 8)
        return kNoColor;
    size_t p = 0;
    while (p < value.size() && (value[p] == ' ' || value[p] == '\t'))
        p++;
    bool negative = false;
    if (p < value.size() && (value[p] == '-' || value[p] == '+'))
        negative = value[p++] == '-';
    if (StartsWithHexPrefix(value, p))
        p += 2;
    uint64_t number = 0;
    for (; p < value.size() && HexDigitValue(value[p]) >= 0; p++)
        number = number * 16 + (uint64_t)HexDigitValue(value[p]);
    if ((negative && number != 0) || number > 0xFFFFFF)
        return kNoColor;
    uint32_t red = (uint32_t)(number >> 16) & 0xFF;
    uint32_t green = (uint32_t)(number >> 8) & 0xFF;
    uint32_t blue = (uint32_t)number & 0xFF;
    return red | (green << 8) | (blue << 16);
}

std::string ParseSelectionLine(const std::string& value, CSelection& component)
{
    CFieldReader fields(value);
    std::string section = fields.Next();
    char flag = fields.HasField() ? fields.Peek() : 0;
    component.m_state = (flag == 'R' || flag == 'r') ? kStateRequired : kStateOn;
    return section;
}

void ParseFileLine(const std::string& value, CFileItem& file)
{
    CFieldReader fields(value);
    file.m_source = fields.Next();
    file.m_destination = fields.Next();
    file.m_version = fields.Next();
    file.m_functions = fields.Next();
    if (file.m_destination.empty())
        file.m_destination = "%d\\" + file.m_source;
}

void ParseIconLine(const std::string& value, CIconItem& shortcut)
{
    CFieldReader fields(value);
    shortcut.m_shortcut = fields.Next();
    shortcut.m_target = fields.Next();
}

void ParseCheckLine(const std::string& value, CCheckItem& option)
{
    CFieldReader fields(value);
    option.m_name = fields.Next();
    option.m_caption = fields.NextEscaped();
    option.m_on = 1;
    if (fields.HasField()) {
        std::string start = LowerAnsiText(fields.Next());
        if (start == "0" || start == "false")
            option.m_on = 0;
    }
}

// The DATA field of a REG line, read by its first character. Answers
// whether a MODE field may follow it.
static bool ReadRegData(CFieldReader& fields, CRegItem& entry)
{
    if (fields.Peek() == '"') {
        std::string text;
        fields.NextQuoted(text);
        SetStringData(entry, text);
        return true;
    }
    std::string data = fields.Next();
    size_t colon = data.find(':');
    if (colon == std::string::npos) {
        // An empty field is an empty string; so is other text, which then
        // takes no mode.
        SetStringData(entry, std::string());
        return data.empty();
    }
    std::string type = LowerAnsiText(data.substr(0, colon));
    if (type == "dword") {
        SetDwordData(entry, ParseHexNumber(data.substr(colon + 1)));
    } else if (type == "hex") {
        entry.m_type = REG_BINARY;
        entry.m_data = ParseHexBytes(data.substr(colon + 1));
    } else {
        return false;
    }
    return true;
}

void ParseRegLine(const std::string& value, CRegItem& entry)
{
    CFieldReader fields(value);
    entry.m_root = RootFromWord(fields.Next());
    entry.m_keyPath = fields.Next();
    if (!fields.HasField())
        return;
    entry.m_valueName = fields.Next();
    if (!fields.HasField()) {
        SetStringData(entry, std::string());
        return;
    }
    if (ReadRegData(fields, entry) && fields.HasField())
        entry.m_mode = ModeFromWord(fields.Next());
}

std::string ParseIfLine(const std::string& value, CIfItem& condition)
{
    size_t n = value.size();
    size_t op = value.find_first_of("=!");
    if (op == std::string::npos) {
        condition.m_variable = value;
        return std::string();
    }
    condition.m_variable = value.substr(0, op);
    condition.m_test = value[op] == '!' ? 0 : 1;
    // Only the operator's first character counts; the second is skipped.
    size_t p = op + 2 < n ? op + 2 : n;
    size_t comma = value.find(',', p);
    condition.m_value = value.substr(p, (comma == std::string::npos ? n : comma) - p);
    if (comma == std::string::npos)
        return std::string();
    p = comma + 1;
    while (p < n && value[p] == ' ')
        p++;
    size_t end = value.find(' ', p);
    return value.substr(p, (end == std::string::npos ? n : end) - p);
}
