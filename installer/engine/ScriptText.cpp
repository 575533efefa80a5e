#include "ScriptText.h"

#include <string.h>

#include <map>
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

std::string LowerAnsi(const std::string& text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = LowerAnsiChar(c);
    return lowered;
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
    std::string lowered = LowerAnsi(word);
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
    std::string lowered = LowerAnsi(word);
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

// Reads [MAIN] and, depth first, every section its lines name.
class CScriptReader {
public:
    CScriptReader(const std::string& text, CFileSizeSource* sizes, CLoadProgress* progress)
        : m_text(text), m_sizes(sizes), m_progress(progress), m_reads(0)
    {
    }

    void ReadMain(CScriptModel& script)
    {
        size_t position = EnterSection("MAIN");
        if (position == kNoPosition)
            return;
        ForEachLine(position, [&](const std::string& key, const std::string& value) {
            ReadMainLine(script, key, value);
        });
        LeaveSection();
    }

private:
    template <class Handler>
    void ForEachLine(size_t position, Handler handle)
    {
        CKeyValue line;
        for (;;) {
            bool more = ReadKeyValue(m_text, position, line);
            if (line.key.empty())
                return;
            handle(LowerAnsi(line.key), line.value);
            if (!more)
                return;
            position = line.next;
        }
    }

    void ReadMainLine(CScriptModel& script, const std::string& key, const std::string& value)
    {
        uint32_t size = 0;
        if (ReadItemLine(key, value, script, size)) {
            script.m_requiredSize += size;
        } else if (key == "title") {
            script.m_title = value;
        } else if (key == "program") {
            script.m_programName = value;
        } else if (key == "backcolor") {
            script.m_backColor = ParseColor(value);
        } else if (key == "fadecolor") {
            script.m_fadeColor = ParseColor(value);
        } else if (key == "textcolor") {
            script.m_textColor = ParseColor(value);
        } else if (key == "shadecolor") {
            script.m_shadeColor = ParseColor(value);
        } else if (key == "defdirectory") {
            script.m_destination = value;
        } else if (key == "deficongroup") {
            script.m_programGroup = value;
        } else if (key == "selection") {
            script.m_requiredSize += ReadSelectionLine(value, script.m_components)->m_size;
        } else if (key == "check") {
            ParseCheckLine(value, *script.m_options.Append(new CCheckItem));
        }
    }

    void ReadComponentLine(CSelection& component, const std::string& key, const std::string& value)
    {
        uint32_t size = 0;
        if (ReadItemLine(key, value, component, size)) {
            component.m_size += size;
        } else if (key == "title") {
            component.m_title = value;
        } else if (key == "selection" && !component.IsRequired()) {
            component.m_size += ReadSelectionLine(value, component.m_components)->m_size;
        }
    }

    // The keys every kind of section knows. Answers false for other keys;
    // size receives the bytes of an appended FILE item.
    bool ReadItemLine(const std::string& key, const std::string& value, CItemLists& lists, uint32_t& size)
    {
        if (key == "file") {
            CFileItem* file = lists.m_files.Append(new CFileItem);
            ParseFileLine(value, *file);
            file->m_size = m_sizes != nullptr ? m_sizes->GetCarriedFileSize(file->m_source) : 0;
            if (file->m_size == kDirectorySize)
                file->m_size = 0;
            size = file->m_size;
        } else if (key == "directory") {
            CFileItem* directory = lists.m_files.Append(new CFileItem);
            directory->m_destination = value;
            directory->m_size = kDirectorySize;
        } else if (key == "icon") {
            ParseIconLine(value, *lists.m_shortcuts.Append(new CIconItem));
        } else if (key == "reg") {
            ParseRegLine(value, *lists.m_registry.Append(new CRegItem));
        } else if (key == "run") {
            lists.m_programs.Append(new CRunItem)->m_command = value;
        } else if (key == "if") {
            ReadIfLine(value, lists.m_conditions);
        } else {
            return false;
        }
        return true;
    }

    CSelection* ReadSelectionLine(const std::string& value, CItemList<CSelection>& components)
    {
        CSelection* component = components.Append(new CSelection);
        std::string section = ParseSelectionLine(value, *component);
        size_t position = EnterSection(section);
        if (position != kNoPosition) {
            ForEachLine(position, [&](const std::string& key, const std::string& line) {
                ReadComponentLine(*component, key, line);
            });
            LeaveSection();
        }
        Step();
        return component;
    }

    void ReadIfLine(const std::string& value, CItemList<CIfItem>& conditions)
    {
        CIfItem* condition = conditions.Append(new CIfItem);
        std::string section = ParseIfLine(value, *condition);
        if (section.empty())
            return;
        size_t position = EnterSection(section);
        if (position != kNoPosition) {
            uint32_t ignored = 0;
            ForEachLine(position, [&](const std::string& key, const std::string& line) {
                ReadItemLine(key, line, *condition, ignored);
            });
            LeaveSection();
        }
        Step();
    }

    // The position of the section's first line, the section now open; or
    // kNoPosition when it is missing or refused (already open further out,
    // nested too deep, or over the budget of reads).
    size_t EnterSection(const std::string& name)
    {
        std::string lowered = LowerAnsi(name);
        for (const std::string& open : m_open)
            if (open == lowered)
                return kNoPosition;
        if (m_open.size() >= (size_t)kMaxSectionNesting || m_reads >= kMaxSectionReads)
            return kNoPosition;
        auto found = m_found.find(lowered);
        size_t position = found != m_found.end() ? found->second : (m_found[lowered] = FindSection(m_text, name));
        if (position == kNoPosition)
            return kNoPosition;
        m_open.push_back(lowered);
        m_reads++;
        return position;
    }

    void LeaveSection() { m_open.pop_back(); }

    void Step()
    {
        if (m_progress != nullptr)
            m_progress->Step();
    }

    const std::string& m_text;
    CFileSizeSource* m_sizes;
    CLoadProgress* m_progress;
    std::vector<std::string> m_open;
    std::map<std::string, size_t> m_found;
    int m_reads;
};

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
        std::string start = LowerAnsi(fields.Next());
        if (start == "0" || start == "false")
            option.m_on = 0;
    }
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

    if (fields.Peek() == '"') {
        std::string text;
        fields.NextQuoted(text);
        SetStringData(entry, text);
    } else {
        std::string data = fields.Next();
        size_t colon = data.find(':');
        if (colon == std::string::npos) {
            SetStringData(entry, std::string());
            // Only an empty data field is followed by a mode.
            if (!data.empty())
                return;
        } else {
            std::string type = LowerAnsi(data.substr(0, colon));
            if (type == "dword") {
                SetDwordData(entry, ParseHexNumber(data.substr(colon + 1)));
            } else if (type == "hex") {
                entry.m_type = REG_BINARY;
                entry.m_data = ParseHexBytes(data.substr(colon + 1));
            } else {
                return;
            }
        }
    }
    if (fields.HasField())
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

int ReadScript(const char* bytes, size_t length, CScriptModel& script, CFileSizeSource* sizes,
               CLoadProgress* progress)
{
    const char* zero = length != 0 ? (const char*)memchr(bytes, 0, length) : nullptr;
    std::string text(bytes, zero != nullptr ? (size_t)(zero - bytes) : length);

    size_t headers = 0;
    for (char c : text)
        if (c == '[')
            headers++;
    if (progress != nullptr) {
        progress->SetRange(headers < 0x7FFFFFF0u ? (int)headers + 2 : 0x7FFFFFFF);
        progress->Step();
    }
    CScriptReader(text, sizes, progress).ReadMain(script);
    if (progress != nullptr)
        progress->Step();
    return 1;
}

std::string ExpandMacroText(const std::string& text, CMacroSource& source)
{
    std::string expanded;
    for (size_t p = 0; p < text.size(); p++) {
        char letter = p + 1 < text.size() ? text[p + 1] : 0;
        if (letter >= 'A' && letter <= 'Z')
            letter = (char)(letter - 'A' + 'a');
        if (text[p] != '%' || letter == 0 || strchr("diptswm", letter) == nullptr) {
            expanded += text[p];
            continue;
        }
        expanded += source.GetMacroText(letter);
        // Directories may come with a trailing backslash; the script writes
        // its own behind the macro.
        if (!expanded.empty() && expanded.back() == '\\')
            expanded.pop_back();
        p++;
    }
    return expanded;
}
