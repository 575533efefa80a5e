#include "Text.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "AppThread.h"

CText::CText() : m_data(nullptr), m_length(0), m_capacity(0), m_slack(kSlack) {}

CText::CText(const char* text) : CText()
{
    Assign(text);
}

CText::CText(const char* text, int maximum) : CText()
{
    AssignPart(text, maximum);
}

CText::CText(const CText& other) : CText()
{
    if (!other.IsEmpty())
        AssignBytes(other.m_data, other.m_length, kSlack);
}

CText::~CText()
{
    free(m_data);
}

// The one place that applies the allocation rule: a buffer is replaced when
// the text does not fit or when it would leave more than the slack unused.
void CText::AssignBytes(const char* text, unsigned length, unsigned extra)
{
    if (m_data == nullptr || length >= m_capacity || length < m_capacity - kSlack) {
        char* fresh = (char*)malloc(length + extra);
        if (fresh == nullptr)
            return;
        free(m_data);
        m_data = fresh;
        m_capacity = length + extra;
    }
    memmove(m_data, text, length);
    m_data[length] = 0;
    m_length = length;
}

void CText::Assign(const char* text)
{
    if (text == nullptr) {
        Empty();
        return;
    }
    AssignBytes(text, (unsigned)strlen(text), kSlack);
}

void CText::AssignPart(const char* text, int maximum)
{
    if (text == nullptr || maximum <= 0) {
        Empty();
        return;
    }
    const char* end = (const char*)memchr(text, 0, (size_t)maximum);
    unsigned length = end ? (unsigned)(end - text) : (unsigned)maximum;
    AssignBytes(text, length, kSlack);
}

void CText::Assign(const CText& other)
{
    if (&other == this)
        return;
    if (other.IsEmpty()) {
        Empty();
        return;
    }
    AssignBytes(other.m_data, other.m_length, 2);
}

void CText::AppendBytes(const char* text, unsigned length)
{
    if (length == 0)
        return;
    unsigned combined = m_length + length;
    if (combined >= m_capacity) {
        char* grown = (char*)realloc(m_data, combined + kSlack);
        if (grown == nullptr)
            return;
        m_data = grown;
        m_capacity = combined + kSlack;
    }
    memmove(m_data + m_length, text, length);
    m_length = combined;
    m_data[m_length] = 0;
}

void CText::Append(const CText& other)
{
    if (&other == this) {
        CText copy(other);
        AppendBytes(copy.GetString(), copy.m_length);
        return;
    }
    AppendBytes(other.GetString(), other.m_length);
}

void CText::Append(const char* text)
{
    if (text != nullptr)
        AppendBytes(text, (unsigned)strlen(text));
}

void CText::AppendChar(char c)
{
    AppendBytes(&c, 1);
}

char CText::GetAt(int index) const
{
    if (m_data == nullptr || index < 0 || (unsigned)index >= m_capacity)
        return 0;
    return m_data[index];
}

int CText::SetAt(int index, char c)
{
    if (m_data != nullptr && index >= 0 && (unsigned)index < m_capacity)
        m_data[index] = c;
    return index;
}

int CText::Find(char c) const
{
    for (unsigned i = 0; i < m_length; i++)
        if (m_data[i] == c)
            return (int)i;
    return -1;
}

int CText::ReverseFind(char c) const
{
    for (unsigned i = m_length; i > 0; i--)
        if (m_data[i - 1] == c)
            return (int)(i - 1);
    return -1;
}

CText CText::Right(int count) const
{
    if (count <= 0)
        return CText();
    if ((unsigned)count > m_length)
        count = (int)m_length;
    return CText(m_data + m_length - count);
}

void CText::DeleteAt(int index)
{
    if (index < 0 || (unsigned)index >= m_length)
        return;
    memmove(m_data + index, m_data + index + 1, m_length - index);
    m_length--;
}

static int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int CText::Compare(const char* text) const
{
    if (IsEmpty())
        return (text == nullptr || *text == 0) ? 0 : -1;
    if (text == nullptr)
        return 1;
    return Sign(strcmp(m_data, text));
}

int CText::CompareNoCase(const char* text) const
{
    if (IsEmpty())
        return (text == nullptr || *text == 0) ? 0 : -1;
    if (text == nullptr)
        return 1;
    return ::CompareNoCase(m_data, text);
}

char* CText::GetBuffer(int size, int keep)
{
    if (size < 0) {
        if (m_data == nullptr) {
            m_data = (char*)calloc(2, 1);
            m_capacity = m_data ? 2 : 0;
            m_length = 0;
        }
        return m_data;
    }
    if (m_capacity < (unsigned)size + 1) {
        char* fresh = (char*)calloc((size_t)size + kSlack, 1);
        if (fresh == nullptr)
            return nullptr;
        // The old buffer is smaller than the request, so only what it holds
        // can be carried over.
        if (keep && m_data != nullptr)
            memcpy(fresh, m_data, m_length);
        free(m_data);
        m_data = fresh;
        m_capacity = (unsigned)size + kSlack;
    }
    m_length = (unsigned)size;
    m_data[size] = 0;
    return m_data;
}

void CText::ReleaseBuffer(int length)
{
    if (m_data == nullptr) {
        m_length = 0;
        return;
    }
    unsigned measured = length < 0 ? (unsigned)strnlen(m_data, m_capacity ? m_capacity - 1 : 0)
                                   : (unsigned)length;
    if (m_capacity && measured >= m_capacity)
        measured = m_capacity - 1;
    unsigned exact = measured + 1 < 2 ? 2 : measured + 1;
    char* fitted = (char*)realloc(m_data, exact);
    if (fitted != nullptr) {
        m_data = fitted;
        m_capacity = exact;
    }
    m_data[measured] = 0;
    m_length = measured;
}

void CText::Empty()
{
    free(m_data);
    m_data = nullptr;
    m_length = 0;
    m_capacity = 0;
}

int CText::FormatV(const char* format, va_list args)
{
    char buffer[kFormatLimit];
    int written = vsnprintf(buffer, sizeof buffer, format, args);
    if (written < 0)
        buffer[0] = 0;
    buffer[sizeof buffer - 1] = 0;
    Assign(buffer);
    return (int)m_length;
}

int CText::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int length = FormatV(format, args);
    va_end(args);
    return length;
}

int CText::FormatResource(UINT id, ...)
{
    char format[kFormatLimit];
    if (LoadStringResource(id, format, sizeof format) <= 0)
        format[0] = 0;
    va_list args;
    va_start(args, id);
    int length = FormatV(format, args);
    va_end(args);
    return length;
}

int CText::LoadString(UINT id)
{
    char buffer[kFormatLimit];
    int count = LoadStringResource(id, buffer, sizeof buffer);
    if (count <= 0)
        Empty();
    else
        Assign(buffer);
    return 1;
}

CWideText::CWideText() : m_data(nullptr), m_length(0), m_capacity(0) {}

CWideText::~CWideText()
{
    free(m_data);
}

void CWideText::Assign(const wchar_t* text)
{
    if (text == nullptr) {
        Empty();
        return;
    }
    unsigned length = (unsigned)wcslen(text);
    if (m_data == nullptr || length >= m_capacity || length < m_capacity - 5) {
        wchar_t* fresh = (wchar_t*)malloc((length + 5) * sizeof(wchar_t));
        if (fresh == nullptr)
            return;
        free(m_data);
        m_data = fresh;
        m_capacity = length + 5;
    }
    memmove(m_data, text, (length + 1) * sizeof(wchar_t));
    m_length = length;
}

void CWideText::Empty()
{
    free(m_data);
    m_data = nullptr;
    m_length = 0;
    m_capacity = 0;
}

int CompareNoCase(const char* left, const char* right)
{
    char* a = _strdup(left ? left : "");
    char* b = _strdup(right ? right : "");
    if (a == nullptr || b == nullptr) {
        free(a);
        free(b);
        LibraryError(2);
        return 0;
    }
    CharLowerA(a);
    CharLowerA(b);
    int result = Sign(strcmp(a, b));
    free(a);
    free(b);
    return result;
}

int ReverseFindChar(const char* text, char c)
{
    const char* last = strrchr(text, c);
    return (last && c) ? (int)(last - text) : -1;
}

unsigned BitValue(int n)
{
    return 1u << ((unsigned)n % 32u);
}

unsigned ItemIdListSize(const void* itemIdList)
{
    const BYTE* item = (const BYTE*)itemIdList;
    unsigned total = 0;
    for (;;) {
        USHORT size;
        memcpy(&size, item + total, sizeof size);
        if (size == 0)
            return total + 2;
        total += size;
    }
}

unsigned ItemIdListSizeWithin(const void* itemIdList, unsigned available)
{
    const BYTE* item = (const BYTE*)itemIdList;
    unsigned total = 0;
    while (available >= 2 && total <= available - 2) {
        USHORT size;
        memcpy(&size, item + total, sizeof size);
        if (size == 0)
            return total + 2;
        // An item's size counts its own two-byte field.
        if (size < 2)
            return 0;
        total += size;
    }
    return 0;
}

void SystemErrorText(DWORD error, CText& text)
{
    char buffer[512] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  buffer, sizeof buffer, nullptr);
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' || buffer[length - 1] == ' '))
        buffer[--length] = 0;
    if (length == 0)
        text.Format("error %lu", (unsigned long)error);
    else
        text.Assign(buffer);
}
