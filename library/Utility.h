// Small value types and services: points, sizes, rectangles, menus, the
// wait cursor, times and the owning list.
#pragma once

#include <windows.h>

struct CPoint {
    CPoint() : x(0), y(0) {}
    CPoint(LONG x, LONG y) : x(x), y(y) {}
    LONG x, y;
};

struct CSize {
    CSize() : cx(0), cy(0) {}
    CSize(LONG cx, LONG cy) : cx(cx), cy(cy) {}
    LONG cx, cy;
};

struct CRect {
    CRect() : left(0), top(0), right(0), bottom(0) {}
    CRect(LONG left, LONG top, LONG right, LONG bottom) : left(left), top(top), right(right), bottom(bottom) {}
    LONG left, top, right, bottom;
};

class CMenuHandle {
public:
    CMenuHandle() : m_menu(nullptr) {}
    void Attach(HMENU menu) { m_menu = menu; }
    int Load(UINT resourceId);
    int Destroy();
    HMENU GetHandle() const { return m_menu; }

private:
    HMENU m_menu;
};

// The wait cursor for the life of the object.
class CWaitCursor {
public:
    CWaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

// Seconds since 1 January 1970 and milliseconds.
class CTimeValue {
public:
    CTimeValue() : m_seconds(0), m_milliseconds(0) {}
    CTimeValue(INT32 seconds, WORD milliseconds) : m_seconds(seconds), m_milliseconds(milliseconds) {}

    // Local wall-clock time of the value.
    int ToSystemTime(SYSTEMTIME* time) const;
    // A file time taken as local wall-clock time; the flag is the
    // daylight-saving hint for mktime (-1: let the runtime decide).
    static CTimeValue FromFileTime(const FILETIME& time, int daylightSaving);

    INT32 GetSeconds() const { return m_seconds; }
    WORD GetMilliseconds() const { return m_milliseconds; }

private:
    INT32 m_seconds;
    WORD m_milliseconds;
};

// A doubly linked list that owns its objects: removing a node deletes the
// object through its virtual destructor.
template <class T>
class COwnedList {
public:
    struct Node {
        Node* next;
        Node* previous;
        T* object;
    };

    COwnedList() : m_head(nullptr), m_count(0) {}
    COwnedList(const COwnedList&) = delete;
    COwnedList& operator=(const COwnedList&) = delete;
    ~COwnedList() { RemoveAll(); }

    Node* AddHead(T* object)
    {
        Node* node = new Node{m_head, nullptr, object};
        if (m_head != nullptr)
            m_head->previous = node;
        m_head = node;
        m_count++;
        return node;
    }

    int RemoveNode(Node* node)
    {
        if (node->previous != nullptr)
            node->previous->next = node->next;
        else
            m_head = node->next;
        if (node->next != nullptr)
            node->next->previous = node->previous;
        m_count--;
        delete node->object;
        delete node;
        return 1;
    }

    void RemoveAll()
    {
        while (m_head != nullptr)
            RemoveNode(m_head);
    }

    Node* FindNode(const T* object) const
    {
        for (Node* node = m_head; node != nullptr; node = node->next)
            if (node->object == object)
                return node;
        return nullptr;
    }

    Node* GetHead() const { return m_head; }
    int GetCount() const { return m_count; }

private:
    Node* m_head;
    int m_count;
};
