// Clipbook pages and the clipbook: a page is a named list of format
// copies, the book an ordered list of pages. The clipbook window shows them
// in its tree; each page and record keeps its own tree item.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ClipFormat.h"
#include "Text.h"

class CClipPage {
public:
    explicit CClipPage(const char* name);
    ~CClipPage();
    CClipPage(const CClipPage&) = delete;
    CClipPage& operator=(const CClipPage&) = delete;

    // Takes ownership of the record and appends it.
    void Append(CClipFormat* record);
    // Frees the record and takes it out of the page.
    int Remove(CClipFormat* record);
    void RemoveAll();
    // Takes a copy of every format on the clipboard that has data, in
    // EnumClipboardFormats order. Answers 0 when the clipboard could not
    // be opened. With privateContent given, content marked private is not
    // copied: the answer is 0 and *privateContent is set.
    int TakeClipboard(HWND owner, int* privateContent = nullptr);
    // Empties the clipboard and gives it a copy of every record in order.
    int PutOnClipboard(HWND owner) const;

    const char* GetName() const { return m_name.GetString(); }
    void SetName(const char* name) { m_name.Assign(name); }
    int GetCount() const { return (int)m_records.size(); }
    CClipFormat* GetRecord(int index) const { return m_records[(size_t)index]; }
    // The first record of the format, or null.
    const CClipFormat* FindFormat(UINT formatId) const;
    HTREEITEM GetTreeItem() const { return m_treeItem; }
    void SetTreeItem(HTREEITEM item) { m_treeItem = item; }

private:
    CText m_name;
    std::vector<CClipFormat*> m_records;
    HTREEITEM m_treeItem;
};

class CClipBook {
public:
    CClipBook() {}
    ~CClipBook() { RemoveAll(); }
    CClipBook(const CClipBook&) = delete;
    CClipBook& operator=(const CClipBook&) = delete;

    // Takes ownership of the page and appends it.
    void Append(CClipPage* page);
    // Frees the page and takes it out of the book.
    int Remove(CClipPage* page);
    void RemoveAll();
    // Moves every page of the other book to the end of this one.
    void TakePages(CClipBook& other);

    // The first page whose name equals the text, without regard to case, or
    // with it when exact is set; null when there is none.
    CClipPage* Find(const char* name, int exact = 0) const;
    // The wanted name if no page has it, else the first free of
    // "name(2)", "name(3)", ...; names compare without regard to case.
    void MakeUniqueName(const char* wanted, CText& unique) const;
    int Contains(const CClipPage* page) const;

    int GetCount() const { return (int)m_pages.size(); }
    CClipPage* GetPage(int index) const { return m_pages[(size_t)index]; }

private:
    std::vector<CClipPage*> m_pages;
};
