#include "ScriptTestSupport.h"

#include <windows.h>

std::string ShippedScriptText()
{
    HRSRC resource = FindResourceA(nullptr, "SETUP.INS", "INSTALL");
    if (resource == nullptr)
        return std::string();
    HGLOBAL loaded = LoadResource(nullptr, resource);
    return std::string((const char*)LockResource(loaded), SizeofResource(nullptr, resource));
}
