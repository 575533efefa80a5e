#include "SharedBytes.h"

#include <stdlib.h>
#include <string.h>

#include <new>

CSharedBytes* CSharedBytes::Copy(const void* source, size_t size)
{
    uint8_t* bytes = (uint8_t*)malloc(size > 2 ? size : 2);
    if (bytes == nullptr)
        return nullptr;
    CSharedBytes* shared = new (std::nothrow) CSharedBytes(bytes, size);
    if (shared == nullptr) {
        free(bytes);
        return nullptr;
    }
    memcpy(bytes, source, size);
    if (size < 2)
        memset(bytes + size, 0, 2 - size);
    return shared;
}

void CSharedBytes::Release()
{
    if (--m_holders == 0)
        delete this;
}

CSharedBytes::~CSharedBytes() { free(m_bytes); }
