#include "ScriptModel.h"

uint32_t AddSize(uint32_t total, uint32_t size)
{
    return size == kDirectorySize ? total : total + size;
}

std::string LowerAnsiText(const std::string& text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = LowerAnsiChar(c);
    return lowered;
}

bool EqualNoCase(const std::string& left, const std::string& right)
{
    if (left.size() != right.size())
        return false;
    for (size_t i = 0; i < left.size(); i++)
        if (LowerAnsiChar(left[i]) != LowerAnsiChar(right[i]))
            return false;
    return true;
}

// Out of line, where CIfItem is complete, so that the lists can delete it.
CItemLists::CItemLists() {}
CItemLists::~CItemLists() {}

uint32_t CItemLists::GetFilesSize() const
{
    uint32_t total = 0;
    for (const CFileItem* file : m_files)
        total = AddSize(total, file->m_size);
    return total;
}

int CItemLists::CountShortcutsWithConditions() const
{
    int count = m_shortcuts.GetCount();
    for (const CIfItem* condition : m_conditions)
        count += condition->CountShortcutsWithConditions();
    return count;
}

CScriptModel::CScriptModel()
    : m_backColor(0x00FF0000), m_fadeColor(kNoColor), m_textColor(0x00FFFFFF), m_shadeColor(kNoColor),
      m_requiredSize(0), m_installStatus(0)
{
}

CScriptModel::~CScriptModel() {}

std::string CScriptModel::GetVariable(const std::string& name) const
{
    if (EqualNoCase(name, "DESTINATIONPATH"))
        return m_destination;
    if (EqualNoCase(name, "ICONGROUP"))
        return m_programGroup;
    if (EqualNoCase(name, "RESTART"))
        return m_installStatus == 0 ? "FALSE" : "TRUE";
    for (const CCheckItem* option : m_options)
        if (EqualNoCase(name, option->m_name))
            return option->m_on ? "TRUE" : "FALSE";
    return std::string();
}

bool CScriptModel::ConditionHolds(const CIfItem& condition) const
{
    bool equal = EqualNoCase(GetVariable(condition.m_variable), condition.m_value);
    return condition.m_test ? equal : !equal;
}

static int CountComponentShortcuts(const CSelection& component, bool onlyChosen)
{
    if (onlyChosen && component.m_state == kStateOff)
        return 0;
    int count = component.CountShortcutsWithConditions();
    for (const CSelection* sub : component.m_components)
        count += CountComponentShortcuts(*sub, onlyChosen);
    return count;
}

int CScriptModel::GetShortcutCount(bool onlyChosen) const
{
    int count = CountShortcutsWithConditions();
    for (const CSelection* component : m_components)
        count += CountComponentShortcuts(*component, onlyChosen);
    return count;
}

bool CScriptModel::SetOption(uint32_t controlId, bool on)
{
    for (CCheckItem* option : m_options) {
        if (option->m_controlId == controlId) {
            option->m_on = on ? 1 : 0;
            return true;
        }
    }
    return false;
}

uint32_t CScriptModel::SetComponentState(CSelection& component, uint8_t state)
{
    if (component.IsRequired())
        return component.m_size;
    component.m_state = state;
    uint32_t size = state != kStateOff ? component.GetFilesSize() : 0;
    for (CSelection* sub : component.m_components)
        size += SetComponentState(*sub, state);
    component.m_size = size;
    return size;
}

uint32_t CScriptModel::GetChosenSize(const CSelection& component) const
{
    if (component.m_state == kStateOff)
        return 0;
    uint32_t size = component.GetFilesSize();
    for (const CSelection* sub : component.m_components)
        size += GetChosenSize(*sub);
    return size;
}

uint32_t CScriptModel::RecomputeRequiredSize()
{
    uint32_t size = GetFilesSize();
    for (const CSelection* component : m_components)
        size += GetChosenSize(*component);
    m_requiredSize = size;
    return size;
}

static uint32_t CountListSteps(const CItemLists& lists, bool withGroup)
{
    uint32_t steps = (uint32_t)lists.m_files.GetCount();
    if (withGroup && !lists.m_shortcuts.IsEmpty())
        steps++;
    if (!lists.m_registry.IsEmpty())
        steps++;
    for (const CIfItem* condition : lists.m_conditions)
        steps += CountListSteps(*condition, withGroup);
    return steps;
}

static uint32_t CountComponentSteps(const CSelection& component, bool withGroup)
{
    if (component.m_state == kStateOff)
        return 0;
    uint32_t steps = CountListSteps(component, withGroup);
    for (const CSelection* sub : component.m_components)
        steps += CountComponentSteps(*sub, withGroup);
    return steps;
}

uint32_t CScriptModel::CountInstallSteps() const
{
    bool withGroup = !m_programGroup.empty();
    uint32_t steps = CountListSteps(*this, withGroup);
    for (const CSelection* component : m_components)
        steps += CountComponentSteps(*component, withGroup);
    return steps;
}
