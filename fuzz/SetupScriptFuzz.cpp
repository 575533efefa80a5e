// Feeds arbitrary bytes to the setup script reader, then puts every query
// the wizard and the worker use to the model it built, and the file rules
// to its file items.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "FileRules.h"
#include "ScriptText.h"

namespace {

// Sizes that depend on the name, so that sums are exercised.
class CHashedSizes : public CFileSizeSource {
public:
    uint32_t GetCarriedFileSize(const std::string& source) override
    {
        uint32_t hash = 2166136261u;
        for (char c : source)
            hash = (hash ^ (unsigned char)c) * 16777619u;
        return hash % 3 == 0 ? 0 : hash % 100000;
    }
};

class CCheckedProgress : public CLoadProgress {
public:
    void SetRange(int high) override
    {
        if (m_rangeCalls++ != 0 || m_steps != 0 || high < 2)
            abort();
    }
    void Step() override
    {
        if (m_rangeCalls != 1)
            abort();
        m_steps++;
    }
    int m_rangeCalls = 0;
    int m_steps = 0;
};

class CFixedMacros : public CMacroSource {
public:
    std::string GetMacroText(char letter) override
    {
        switch (letter) {
        case 'd': return "C:\\Program Files\\Dest\\";
        case 'p': return "C:\\";
        case 'm': return std::string();
        default: return std::string(1, letter) + ":\\dir";
        }
    }
};

void Expand(const std::string& text)
{
    CFixedMacros macros;
    std::string expanded = ExpandMacroText(text, macros);
    // Every letter expands to at most 21 characters.
    if (expanded.size() > text.size() * 11 + 1)
        abort();
}

// The ".new" name keeps everything before the last "."; a version is never
// newer than itself.
void CheckFileRules(const CFileItem& file)
{
    std::string renamed = ReplaceFromLastDot(file.m_destination, ".new");
    size_t kept = renamed.size() - 4;
    if (renamed.compare(kept, 4, ".new") != 0 || file.m_destination.compare(0, kept, renamed, 0, kept) != 0)
        abort();
    const uint16_t parts[4] = {4, 71, 0, (uint16_t)file.m_size};
    bool newer = VersionIsNewer(file.m_version, parts);
    const uint16_t highest[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    if (newer && file.m_version.empty())
        abort();
    VersionIsNewer(file.m_version, highest);
}

// Components and conditions met, each of which may have stepped the bar.
int g_visited = 0;

void VisitConditions(const CScriptModel& script, const CItemList<CIfItem>& conditions, int depth)
{
    if (depth > kMaxSectionNesting)
        abort();
    for (const CIfItem* condition : conditions) {
        g_visited++;
        script.ConditionHolds(*condition);
        for (const CFileItem* file : condition->m_files)
            Expand(file->m_destination);
        for (const CRegItem* entry : condition->m_registry)
            if (entry->HasData() && entry->m_type == REG_SZ && entry->m_data.back() != 0)
                abort();
        VisitConditions(script, condition->m_conditions, depth + 1);
    }
}

void VisitComponents(CScriptModel& script, CItemList<CSelection>& components, int depth)
{
    if (depth > kMaxSectionNesting)
        abort();
    for (CSelection* component : components) {
        g_visited++;
        for (const CFileItem* file : component->m_files) {
            Expand(file->m_destination);
            CheckFileRules(*file);
        }
        for (const CIconItem* shortcut : component->m_shortcuts)
            Expand(shortcut->m_shortcut);
        VisitConditions(script, component->m_conditions, depth + 1);
        VisitComponents(script, component->m_components, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CHashedSizes sizes;
    CCheckedProgress progress;
    CScriptModel script;
    if (ReadScript((const char*)data, size, script, &sizes, &progress) != 1)
        abort();
    // Every component starts chosen, so the loaded size is the chosen size.
    if (script.RecomputeRequiredSize() != script.m_requiredSize)
        abort();
    Expand(script.m_destination);
    for (const CFileItem* file : script.m_files) {
        Expand(file->m_destination);
        CheckFileRules(*file);
    }
    for (const CRunItem* program : script.m_programs)
        Expand(program->m_command);
    g_visited = 0;
    VisitComponents(script, script.m_components, 0);
    VisitConditions(script, script.m_conditions, 0);
    // The bar takes the first and the last step and at most one for each
    // component and condition.
    if (progress.m_steps < 2 || progress.m_steps > 2 + g_visited)
        abort();

    int all = script.GetShortcutCount(false);
    uint32_t id = 100;
    for (CCheckItem* option : script.m_options)
        option->m_controlId = id++;
    script.SetOption(100, false);
    for (CSelection* component : script.m_components)
        script.SetComponentState(*component, kStateOff);
    if (script.GetShortcutCount(true) > all)
        abort();
    for (CSelection* component : script.m_components)
        if (script.SetComponentState(*component, kStateOn) != script.GetChosenSize(*component))
            abort();
    script.RecomputeRequiredSize();

    // The line readers on their own, from every start the text offers.
    std::string text((const char*)data, size);
    size_t position = FindSection(text, text.substr(0, size < 8 ? size : 8));
    CKeyValue line;
    for (int lines = 0; position != kNoPosition && lines < 1000; lines++) {
        if (position > text.size())
            abort();
        if (!ReadKeyValue(text, position, line))
            break;
        if (line.next <= position)
            abort();
        position = line.next;
    }
    ParseColor(text);
    return 0;
}
