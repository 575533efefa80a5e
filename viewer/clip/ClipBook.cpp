#include "ClipBook.h"

#include <string.h>

#include <algorithm>
#include <new>

CClipPage::CClipPage(const char* name) : m_name(name), m_treeItem(nullptr) {}

CClipPage::~CClipPage() { RemoveAll(); }

void CClipPage::Append(CClipFormat* record) { m_records.push_back(record); }

int CClipPage::Remove(CClipFormat* record)
{
    std::vector<CClipFormat*>::iterator found = std::find(m_records.begin(), m_records.end(), record);
    if (found == m_records.end())
        return 0;
    m_records.erase(found);
    delete record;
    return 1;
}

void CClipPage::RemoveAll()
{
    for (CClipFormat* record : m_records)
        delete record;
    m_records.clear();
}

int CClipPage::TakeClipboard(HWND owner)
{
    if (!OpenClipboardPatiently(owner))
        return 0;
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

int CClipBook::Remove(CClipPage* page)
{
    std::vector<CClipPage*>::iterator found = std::find(m_pages.begin(), m_pages.end(), page);
    if (found == m_pages.end())
        return 0;
    m_pages.erase(found);
    delete page;
    return 1;
}

void CClipBook::RemoveAll()
{
    for (CClipPage* page : m_pages)
        delete page;
    m_pages.clear();
}

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
