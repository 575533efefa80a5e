// A block of bytes that views only read, shared by every view that shows the
// same data: one clipboard read and one copy serve all the live views of a
// format. The block is freed when its last holder lets go. Views live on one
// thread, so the count of holders needs no locking.
#pragma once

#include <stddef.h>
#include <stdint.h>

class CSharedBytes {
public:
    // A copy of size bytes, held once by the caller; at least two bytes
    // are kept, zeros past size, so that a short text still ends in a
    // zero. Null when memory ran out.
    static CSharedBytes* Copy(const void* source, size_t size);

    CSharedBytes(const CSharedBytes&) = delete;
    CSharedBytes& operator=(const CSharedBytes&) = delete;

    void Hold() { m_holders++; }
    void Release();

    const uint8_t* GetBytes() const { return m_bytes; }
    size_t GetSize() const { return m_size; }

private:
    CSharedBytes(uint8_t* bytes, size_t size) : m_holders(1), m_size(size), m_bytes(bytes) {}
    ~CSharedBytes();

    unsigned long m_holders;
    size_t m_size;
    uint8_t* m_bytes;
};
