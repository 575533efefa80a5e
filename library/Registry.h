// Registry keys.
#pragma once

#include <windows.h>

class CText;

// Access flags of CRegistryKey::Open.
enum : DWORD {
    kKeyAllAccessCreate = 0xFE,
    kKeyOpenExisting = 0x01,
    kKeyCreateLink = 0x02,
    kKeyCreateSubKey = 0x04,
    kKeyEnumerateSubKeys = 0x08,
    kKeyRead = 0x10,
    kKeyNotify = 0x20,
    kKeyQueryValue = 0x40,
    kKeySetValue = 0x80,
    kKeyVolatile = 0x100,
};

class CRegistryKey {
public:
    CRegistryKey() : m_key(nullptr) {}
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    virtual ~CRegistryKey();

    // Opens, or creates without kKeyOpenExisting; answers the Win32 result.
    LONG Open(HKEY root, const char* path, DWORD accessFlags, SECURITY_ATTRIBUTES* security = nullptr);
    LONG Close();
    DWORD QueryValue(const char* name, void* data, DWORD size, DWORD* type);
    DWORD QueryString(const char* name, CText& text);
    LONG SetValue(const char* name, DWORD type, const void* data, DWORD size);
    LONG DeleteValue(const char* name);

    HKEY GetHandle() const { return m_key; }

    // The REGSAM and options that the access flags stand for.
    static REGSAM SamFromFlags(DWORD accessFlags);

private:
    HKEY m_key;
};
