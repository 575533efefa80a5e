// Owned 8-bit and 16-bit text objects and the small text helpers.
#pragma once

#include <windows.h>

// Zero-terminated 8-bit text with its own buffer. The allocation rule is
// part of the contract: a buffer is kept while the new text fits in it and
// does not waste more than the slack, so repeated assignments of similar
// lengths never touch the heap.
class CText {
public:
    enum { kSlack = 10, kFormatLimit = 8096 };

    CText();
    CText(const char* text);
    CText(const char* text, int maximum);
    CText(const CText& other);
    ~CText();

    CText& operator=(const CText& other) { Assign(other); return *this; }
    CText& operator=(const char* text) { Assign(text); return *this; }

    void Assign(const char* text);
    void AssignPart(const char* text, int maximum);
    void Assign(const CText& other);
    void Append(const CText& other);
    void Append(const char* text);
    void AppendChar(char c);

    const char* GetString() const { return m_data ? m_data : ""; }
    int GetLength() const { return (int)m_length; }
    int GetCapacity() const { return (int)m_capacity; }
    int IsEmpty() const { return m_length == 0; }

    char GetAt(int index) const;
    int SetAt(int index, char c);
    int Find(char c) const;
    int ReverseFind(char c) const;
    CText Right(int count) const;
    void DeleteAt(int index);

    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    char* GetBuffer(int size, int keep);
    void ReleaseBuffer(int length = -1);
    void Empty();

    int Format(const char* format, ...);
    int FormatV(const char* format, va_list args);
    int FormatResource(UINT id, ...);
    int LoadString(UINT id);

private:
    void AssignBytes(const char* text, unsigned length, unsigned extra);
    void AppendBytes(const char* text, unsigned length);

    char* m_data;
    unsigned m_length;
    unsigned m_capacity;
    unsigned m_slack;
};

// Zero-terminated 16-bit text; capacities count characters.
class CWideText {
public:
    CWideText();
    CWideText(const CWideText&) = delete;
    CWideText& operator=(const CWideText&) = delete;
    ~CWideText();

    void Assign(const wchar_t* text);
    const wchar_t* GetString() const { return m_data ? m_data : L""; }
    int GetLength() const { return (int)m_length; }
    int GetCapacity() const { return (int)m_capacity; }
    void Empty();

private:
    wchar_t* m_data;
    unsigned m_length;
    unsigned m_capacity;
};

// The system's text for an error code without its line end, or
// "error <code>" when the system has none.
void SystemErrorText(DWORD error, CText& text);

// Compares two strings after lowering copies of both with CharLowerA.
int CompareNoCase(const char* left, const char* right);
int ReverseFindChar(const char* text, char c);
unsigned BitValue(int n);
// Bytes of a shell item-id list, its two-byte terminator included.
unsigned ItemIdListSize(const void* itemIdList);
// The same for a list that comes from outside (the clipboard, a file): 0
// when its terminator does not lie within the available bytes.
unsigned ItemIdListSizeWithin(const void* itemIdList, unsigned available);
