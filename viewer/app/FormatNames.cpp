#include "FormatNames.h"

#include "AppThread.h"
#include "ClipFormat.h"

const CText& CFormatNames::Get(UINT format)
{
    std::map<UINT, CText>::iterator known = m_names.find(format);
    if (known != m_names.end())
        return known->second;
    char name[kFormatNameCapacity] = "";
    LoadFormatMenuName(format, name);
    return m_names[format] = name;
}
