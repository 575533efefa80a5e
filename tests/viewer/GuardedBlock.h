// A copy of some bytes that ends right where a no-access page begins, so
// that any read past the block faults at once.
#pragma once

#include <windows.h>

#include <string.h>

class CGuardedBlock {
public:
    CGuardedBlock(const void* bytes, size_t size) : m_size(size)
    {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        size_t page = system.dwPageSize, usable = (size + page - 1) / page * page;
        m_region = (BYTE*)VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(m_region + usable, page, PAGE_NOACCESS, &old);
        m_data = m_region + usable - size;
        if (size > 0)
            memcpy(m_data, bytes, size);
    }
    ~CGuardedBlock() { VirtualFree(m_region, 0, MEM_RELEASE); }
    CGuardedBlock(const CGuardedBlock&) = delete;
    CGuardedBlock& operator=(const CGuardedBlock&) = delete;

    const BYTE* Data() const { return m_data; }
    UINT Size() const { return (UINT)m_size; }

private:
    BYTE* m_region;
    BYTE* m_data;
    size_t m_size;
};
