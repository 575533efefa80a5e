// The parsed setup script: components, options, conditions and the items the
// installation works through, with the queries the wizard and the worker put
// to them. Plain data over the standard library, so that it builds natively.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "ScriptPlatform.h"

// A singly linked list that owns its items and keeps the order in which they
// were appended. Items carry their own m_next link.
template <class T>
class CItemList {
public:
    class Iterator {
    public:
        explicit Iterator(T* item) : m_item(item) {}
        T* operator*() const { return m_item; }
        Iterator& operator++()
        {
            m_item = m_item->m_next;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return m_item != other.m_item; }

    private:
        T* m_item;
    };

    CItemList() : m_head(nullptr), m_tail(nullptr), m_count(0) {}
    CItemList(const CItemList&) = delete;
    CItemList& operator=(const CItemList&) = delete;
    ~CItemList() { RemoveAll(); }

    T* Append(T* item)
    {
        item->m_next = nullptr;
        if (m_tail != nullptr)
            m_tail->m_next = item;
        else
            m_head = item;
        m_tail = item;
        m_count++;
        return item;
    }

    void RemoveAll()
    {
        while (m_head != nullptr) {
            T* next = m_head->m_next;
            delete m_head;
            m_head = next;
        }
        m_tail = nullptr;
        m_count = 0;
    }

    T* GetHead() const { return m_head; }
    int GetCount() const { return m_count; }
    int IsEmpty() const { return m_count == 0; }
    Iterator begin() const { return Iterator(m_head); }
    Iterator end() const { return Iterator(nullptr); }

private:
    T* m_head;
    T* m_tail;
    int m_count;
};

enum : uint32_t {
    // The size of a DIRECTORY item: it has no bytes and never counts in sums.
    kDirectorySize = 0xFFFFFFFF,
    // A colour value that stands for "no colour".
    kNoColor = 0xFFFFFFFF,
};

// Component states.
enum : uint8_t { kStateOff = 0, kStateOn = 1, kStatePartial = 2, kStateRequired = 255 };

// What a registry entry does with its value.
enum : uint8_t { kRegWrite = 0, kRegDelete = 1, kRegKeep = 2 };

class CFileItem {
public:
    std::string m_source;
    std::string m_destination;
    std::string m_version;
    std::string m_functions;
    uint32_t m_size = 0;
    CFileItem* m_next = nullptr;

    int IsDirectory() const { return m_size == kDirectorySize; }
};

class CRegItem {
public:
    HKEY m_root = nullptr;
    std::string m_keyPath;
    std::string m_valueName;
    uint32_t m_type = REG_SZ;
    // Empty when the entry only creates its key: every value has at least
    // one byte (a string its terminator).
    std::vector<unsigned char> m_data;
    uint8_t m_mode = kRegWrite;
    CRegItem* m_next = nullptr;

    int HasData() const { return !m_data.empty(); }
    uint32_t GetDataLength() const { return (uint32_t)m_data.size(); }
};

class CIconItem {
public:
    std::string m_shortcut;
    std::string m_target;
    CIconItem* m_next = nullptr;
};

class CRunItem {
public:
    std::string m_command;
    CRunItem* m_next = nullptr;
};

class CCheckItem {
public:
    std::string m_caption;
    std::string m_name;
    uint8_t m_on = 1;
    uint32_t m_controlId = 0;
    CCheckItem* m_next = nullptr;
};

class CIfItem;

// The item lists that [MAIN], components and conditions all have.
class CItemLists {
public:
    CItemLists();
    ~CItemLists();
    CItemLists(const CItemLists&) = delete;
    CItemLists& operator=(const CItemLists&) = delete;

    // Bytes of the FILE items; directories do not count.
    uint32_t GetFilesSize() const;
    // ICON items here and in every condition below, held or not.
    int CountShortcutsWithConditions() const;

    CItemList<CFileItem> m_files;
    CItemList<CRegItem> m_registry;
    CItemList<CIconItem> m_shortcuts;
    CItemList<CIfItem> m_conditions;
    CItemList<CRunItem> m_programs;
};

class CIfItem : public CItemLists {
public:
    std::string m_variable;
    std::string m_value;
    // 1 holds on equality, 0 on inequality.
    uint8_t m_test = 1;
    CIfItem* m_next = nullptr;
};

class CSelection : public CItemLists {
public:
    uint8_t m_state = kStateOn;
    uint32_t m_size = 0;
    std::string m_title;
    CItemList<CSelection> m_components;
    CSelection* m_next = nullptr;

    int IsRequired() const { return m_state == kStateRequired; }
};

// Everything the script sets, and the user's choices that the wizard stores
// beside it.
class CScriptModel : public CItemLists {
public:
    CScriptModel();
    virtual ~CScriptModel();

    // The value of a condition's variable: the destination, the program
    // group, the restart flag or an option.
    std::string GetVariable(const std::string& name) const;
    bool ConditionHolds(const CIfItem& condition) const;

    int GetComponentCount() const { return m_components.GetCount(); }
    int GetOptionCount() const { return m_options.GetCount(); }
    // Shortcuts of [MAIN], of every condition and of every component; with
    // onlyChosen a component that is off counts nothing.
    int GetShortcutCount(bool onlyChosen) const;
    bool SetOption(uint32_t controlId, bool on);
    // Gives the component and everything below it the state, except where a
    // component is required; answers the component's new size.
    uint32_t SetComponentState(CSelection& component, uint8_t state);
    uint32_t GetChosenSize(const CSelection& component) const;
    uint32_t RecomputeRequiredSize();
    // Progress steps an installation expects: one per file item, one per
    // list of registry entries, one per list of shortcuts when there is a
    // program group; components that are off count nothing, conditions
    // count whether they hold or not.
    uint32_t CountInstallSteps() const;

    std::string m_title;
    std::string m_programName;
    uint32_t m_backColor;
    uint32_t m_fadeColor;
    uint32_t m_textColor;
    uint32_t m_shadeColor;
    uint32_t m_requiredSize;
    // 0 at start, 1 once a file waits for the next Windows start; raised by
    // 10 when the installation completed.
    uint8_t m_installStatus;
    std::string m_destination;
    std::string m_programGroup;
    CItemList<CSelection> m_components;
    CItemList<CCheckItem> m_options;
};

// Size sums ignore directories and wrap like the 32-bit sizes they are.
uint32_t AddSize(uint32_t total, uint32_t size);
// Lowers and compares under the ANSI lower-casing of the system.
std::string LowerAnsiText(const std::string& text);
bool EqualNoCase(const std::string& left, const std::string& right);
