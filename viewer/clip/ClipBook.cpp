#include "ClipBook.h"

#include <string.h>

#include <algorithm>
#include <new>

#include "PrivateContent.h"

namespace {
// Takes an owned item out of a list and deletes it.
template <class T>
int RemoveOwned(std::vector<T*>& items, T* item)
{
    typename std::vector<T*>::iterator found = std::find(items.begin(), items.end(), item);
    if (found == items.end())
        return 0;
    items.erase(found);
    delete item;
    return 1;
}

template <class T>
void RemoveAllOwned(std::vector<T*>& items)
{
    for (T* item : items)
        delete item;
    items.clear();
}
} // namespace

CClipPage::CClipPage(const char* name) : m_name(name), m_treeItem(nullptr) {}

CClipPage::~CClipPage() { RemoveAll(); }

void CClipPage::Append(CClipFormat* record) { m_records.push_back(record); }

int CClipPage::Remove(CClipFormat* record) { return RemoveOwned(m_records, record); }

void CClipPage::RemoveAll() { RemoveAllOwned(m_records); }

int CClipPage::TakeClipboard(HWND owner, int* privateContent)
{
    if (privateContent != nullptr)
        *privateContent = 0;
    if (!OpenClipboardPatiently(owner))
        return 0;
    if (privateContent != nullptr && OpenClipboardHoldsPrivateContent()) {
        CloseClipboard();
        *privateContent = 1;
        return 0;
    }
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        HANDLE handle = GetClipboardData(format);
        if (handle == nullptr)
            continue;
        CClipFormat* record = new (std::nothrow) CClipFormat;
        if (record == nullptr)
            break;
        record->TakeFromClipboard(format, handle, ClipboardHandleSize(format, handle));
        Append(record);
    }
    CloseClipboard();
    return 1;
}

const CClipFormat* CClipPage::FindFormat(UINT formatId) const
{
    for (const CClipFormat* record : m_records)
        if (record->GetFormatId() == formatId)
            return record;
    return nullptr;
}

int CClipPage::PutOnClipboard(HWND owner) const
{
    if (!OpenClipboardPatiently(owner))
        return 0;
    EmptyClipboard();
    for (const CClipFormat* record : m_records)
        record->GiveToClipboard();
    CloseClipboard();
    return 1;
}

void CClipBook::Append(CClipPage* page) { m_pages.push_back(page); }

int CClipBook::Remove(CClipPage* page) { return RemoveOwned(m_pages, page); }

void CClipBook::RemoveAll() { RemoveAllOwned(m_pages); }

void CClipBook::TakePages(CClipBook& other)
{
    m_pages.insert(m_pages.end(), other.m_pages.begin(), other.m_pages.end());
    other.m_pages.clear();
}

CClipPage* CClipBook::Find(const char* name, int exact) const
{
    for (CClipPage* page : m_pages) {
        int same = exact ? strcmp(page->GetName(), name) == 0 : CompareNoCase(page->GetName(), name) == 0;
        if (same)
            return page;
    }
    return nullptr;
}

void CClipBook::MakeUniqueName(const char* wanted, CText& unique) const
{
    unique.Assign(wanted);
    for (int n = 2; Find(unique.GetString()) != nullptr; n++)
        unique.Format("%s(%d)", wanted, n);
}

int CClipBook::Contains(const CClipPage* page) const
{
    return std::find(m_pages.begin(), m_pages.end(), page) != m_pages.end();
}
