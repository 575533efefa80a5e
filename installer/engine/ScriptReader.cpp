#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "ScriptText.h"

namespace {

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
            handle(LowerAnsiText(line.key), line.value);
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
        std::string lowered = LowerAnsiText(name);
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
