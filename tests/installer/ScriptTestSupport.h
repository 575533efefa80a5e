// Helpers of the installer engine's tests.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "ScriptText.h"

// Records how the reader drives the preparing bar.
class CRecordedProgress : public CLoadProgress {
public:
    void SetRange(int high) override
    {
        m_high = high;
        m_rangeCalls++;
    }
    void Step() override { m_steps++; }

    int m_high = -1;
    int m_rangeCalls = 0;
    int m_steps = 0;
};

class CFixedSizes : public CFileSizeSource {
public:
    explicit CFixedSizes(std::map<std::string, uint32_t> sizes) : m_sizes(sizes) {}
    uint32_t GetCarriedFileSize(const std::string& source) override
    {
        auto found = m_sizes.find(source);
        return found != m_sizes.end() ? found->second : 0;
    }

private:
    std::map<std::string, uint32_t> m_sizes;
};

inline int ReadText(const std::string& text, CScriptModel& script, CLoadProgress* progress = nullptr,
                    CFileSizeSource* sizes = nullptr)
{
    return ReadScript(text.data(), text.size(), script, sizes, progress);
}

inline std::vector<std::string> Names(std::initializer_list<const char*> names)
{
    return std::vector<std::string>(names.begin(), names.end());
}

inline std::vector<std::string> Destinations(const CItemList<CFileItem>& files)
{
    std::vector<std::string> names;
    for (const CFileItem* file : files)
        names.push_back(file->m_destination);
    return names;
}

// RUN items of the component and everything below it.
inline int CountRuns(const CItemLists& lists)
{
    int count = lists.m_programs.GetCount();
    for (const CIfItem* condition : lists.m_conditions)
        count += CountRuns(*condition);
    return count;
}

inline int CountRuns(const CSelection& component)
{
    int count = CountRuns(static_cast<const CItemLists&>(component));
    for (const CSelection* sub : component.m_components)
        count += CountRuns(*sub);
    return count;
}

inline int CountRuns(const CScriptModel& script)
{
    int count = CountRuns(static_cast<const CItemLists&>(script));
    for (const CSelection* component : script.m_components)
        count += CountRuns(*component);
    return count;
}

// The shipped script as the test executable carries it.
std::string ShippedScriptText();
