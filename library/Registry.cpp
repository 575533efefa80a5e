#include "Registry.h"

#include "Text.h"

CRegistryKey::~CRegistryKey()
{
    if (m_key != nullptr)
        RegCloseKey(m_key);
}

REGSAM CRegistryKey::SamFromFlags(DWORD accessFlags)
{
    if (accessFlags == kKeyAllAccessCreate)
        return KEY_ALL_ACCESS;
    REGSAM sam = 0;
    if (accessFlags & kKeyCreateLink) sam |= KEY_CREATE_LINK;
    if (accessFlags & kKeyCreateSubKey) sam |= KEY_CREATE_SUB_KEY;
    if (accessFlags & kKeyEnumerateSubKeys) sam |= KEY_ENUMERATE_SUB_KEYS;
    if (accessFlags & kKeyRead) sam |= KEY_READ;
    if (accessFlags & kKeyNotify) sam |= KEY_NOTIFY;
    if (accessFlags & kKeyQueryValue) sam |= KEY_QUERY_VALUE;
    if (accessFlags & kKeySetValue) sam |= KEY_SET_VALUE;
    return sam;
}

LONG CRegistryKey::Open(HKEY root, const char* path, DWORD accessFlags, SECURITY_ATTRIBUTES* security)
{
    if (m_key != nullptr)
        Close();
    REGSAM sam = SamFromFlags(accessFlags);
    LONG result;
    if (accessFlags != kKeyAllAccessCreate && (accessFlags & kKeyOpenExisting)) {
        result = RegOpenKeyExA(root, path, 0, sam, &m_key);
    } else {
        DWORD options = (accessFlags != kKeyAllAccessCreate && (accessFlags & kKeyVolatile)) ? REG_OPTION_VOLATILE
                                                                                             : REG_OPTION_NON_VOLATILE;
        result = RegCreateKeyExA(root, path, 0, nullptr, options, sam, security, &m_key, nullptr);
    }
    if (result != ERROR_SUCCESS)
        m_key = nullptr;
    return result;
}

LONG CRegistryKey::Close()
{
    if (m_key == nullptr)
        return ERROR_SUCCESS;
    LONG result = RegCloseKey(m_key);
    if (result == ERROR_SUCCESS)
        m_key = nullptr;
    return result;
}

DWORD CRegistryKey::QueryValue(const char* name, void* data, DWORD size, DWORD* type)
{
    if (RegQueryValueExA(m_key, name, nullptr, type, (BYTE*)data, &size) != ERROR_SUCCESS)
        return 0;
    return size;
}

DWORD CRegistryKey::QueryString(const char* name, CText& text)
{
    enum { kReserve = 2048 };
    char* buffer = text.GetBuffer(kReserve, 0);
    if (buffer == nullptr)
        return 0;
    DWORD size = kReserve;
    LONG result = RegQueryValueExA(m_key, name, nullptr, nullptr, (BYTE*)buffer, &size);
    if (result != ERROR_SUCCESS) {
        text.Empty();
        return 0;
    }
    // Registry strings need not carry their terminator.
    buffer[size < (DWORD)kReserve ? size : (DWORD)kReserve] = 0;
    text.ReleaseBuffer(-1);
    return size;
}

LONG CRegistryKey::SetValue(const char* name, DWORD type, const void* data, DWORD size)
{
    return RegSetValueExA(m_key, name, 0, type, (const BYTE*)data, size);
}

LONG CRegistryKey::DeleteValue(const char* name)
{
    return RegDeleteValueA(m_key, name);
}
