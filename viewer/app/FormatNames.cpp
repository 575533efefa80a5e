#include "FormatNames.h"

#include "AppThread.h"
#include "ClipFormat.h"

const CText& CFormatNames::Get(UINT format)
{
    std::map<UINT, CText>::iterator known = m_names.find(format);
    if (known != m_names.end())
        return known->second;
    char name[kFormatNameCapacity] = "";
    if (IsRegisteredFormat(format))
        GetClipboardFormatNameA(format, name, sizeof name);
    else if (format != 0)
        LoadStringResource(format, name, sizeof name);
    return m_names[format] = name;
}
