#include "SetupScript.h"

#include <stdlib.h>
#include <string.h>

#include "AppThread.h"
#include "Registry.h"
#include "SpaceText.h"
#include "Text.h"

CSetupScript::CSetupScript()
    : m_numberFormat(), m_preparingDialog(nullptr), m_progressDialog(nullptr), m_carrier(nullptr),
      m_decimalSeparator(), m_thousandSeparator()
{
}

CSetupScript::~CSetupScript() {}

HMODULE CSetupScript::GetCarrier() const
{
    return m_carrier != nullptr ? m_carrier : GetModuleInstance();
}

CInstallProgress& CSetupScript::GetProgress()
{
    static CQuietProgress quiet;
    return m_progressDialog != nullptr ? *m_progressDialog : quiet;
}

int CSetupScript::LoadScript(const char* resourceName)
{
    HMODULE module = GetCarrier();
    HRSRC resource = FindResourceA(module, resourceName, "INSTALL");
    if (resource == nullptr)
        return 0;
    DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = size >= 2 ? LoadResource(module, resource) : nullptr;
    const char* bytes = loaded != nullptr ? (const char*)LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return 0;
    return ReadScript(bytes, size, *this, this, m_preparingDialog);
}

uint32_t CSetupScript::GetCarriedFileSize(const std::string& source)
{
    HMODULE module = GetCarrier();
    HRSRC resource = FindResourceA(module, source.c_str(), "FILES");
    return resource != nullptr ? SizeofResource(module, resource) : 0;
}

int CSetupScript::ExpandMacros(std::string& text)
{
    if (!text.empty())
        text = ExpandMacroText(text, *this);
    return 1;
}

std::string QueryRegistryText(HKEY root, const char* path, const char* name)
{
    CRegistryKey key;
    CText value;
    if (key.Open(root, path, kKeyOpenExisting | kKeyQueryValue) != ERROR_SUCCESS ||
        key.QueryString(name, value) == 0)
        return std::string();
    return value.GetString();
}

// A directory query of the GetSystemDirectoryA kind: the length it needs
// when the buffer is too small, 0 when it fails.
template <class Query>
static std::string QueryDirectory(Query query)
{
    std::string buffer(MAX_PATH, '\0');
    UINT length = query(&buffer[0], (UINT)buffer.size());
    if (length >= buffer.size()) {
        buffer.assign(length + 1, '\0');
        length = query(&buffer[0], (UINT)buffer.size());
    }
    if (length == 0 || length >= buffer.size())
        return std::string();
    buffer.resize(length);
    return buffer;
}

std::string CSetupScript::GetMacroText(char letter)
{
    switch (letter) {
    case 'd':
        return m_destination;
    case 'i':
        return m_programGroup;
    case 'p':
        return QueryRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    case 't':
        return QueryRegistryText(HKEY_CURRENT_USER,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop");
    case 's':
        return QueryDirectory([](char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); });
    case 'w':
        return QueryDirectory([](char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); });
    case 'm': {
        // Nothing while the destination does not exist yet.
        const char* path = m_destination.c_str();
        return QueryDirectory([path](char* buffer, UINT size) { return (UINT)GetShortPathNameA(path, buffer, size); });
    }
    default:
        return std::string();
    }
}

static UINT LocaleNumber(LCTYPE type)
{
    char text[16] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);
    return (UINT)atoi(text);
}

// "3;0" means groups of three throughout (3); "3;2;0" three, then twos (32);
// a list without the closing zero stops repeating its last group (30).
static UINT GroupingFromLocale()
{
    char text[16] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, text, sizeof text);
    UINT grouping = 0;
    for (const char* c = text; *c != 0; c++)
        if (*c >= '0' && *c <= '9')
            grouping = grouping * 10 + (UINT)(*c - '0');
    size_t length = strlen(text);
    if (length >= 2 && strcmp(text + length - 2, ";0") == 0)
        grouping /= 10;
    else
        grouping *= 10;
    return grouping;
}

void CSetupScript::FillNumberFormat()
{
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, m_decimalSeparator, sizeof m_decimalSeparator);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, m_thousandSeparator, sizeof m_thousandSeparator);
    m_numberFormat.NumDigits = 0;
    m_numberFormat.LeadingZero = LocaleNumber(LOCALE_ILZERO);
    m_numberFormat.Grouping = GroupingFromLocale();
    m_numberFormat.lpDecimalSep = m_decimalSeparator;
    m_numberFormat.lpThousandSep = m_thousandSeparator;
    m_numberFormat.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER);
}

int QueryFreeSpace(const std::string& path, uint64_t& bytes)
{
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExA(SpaceRoot(path).c_str(), &available, &total, &free))
        return 0;
    bytes = available.QuadPart;
    return 1;
}
