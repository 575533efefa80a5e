#include "FileRules.h"

std::string ReplaceFromLastDot(const std::string& path, const char* extension)
{
    size_t dot = path.rfind('.');
    return (dot == std::string::npos ? path : path.substr(0, dot)) + extension;
}

// One part of a VERSION text from the position on; the position moves behind
// the part's ".". Values beyond 16 bits stay beyond them.
static uint32_t ReadVersionPart(const std::string& version, size_t& position)
{
    uint32_t value = 0;
    while (position < version.size() && version[position] != '.') {
        char c = version[position++];
        if (c >= '0' && c <= '9')
            value = value > 0xFFFFF ? 0x100000 : value * 10 + (uint32_t)(c - '0');
    }
    if (position < version.size())
        position++;
    return value;
}

bool VersionIsNewer(const std::string& version, const uint16_t existing[4])
{
    size_t position = 0;
    for (int part = 0; part < 4 && position < version.size(); part++) {
        uint32_t value = ReadVersionPart(version, position);
        if (value != existing[part])
            return value > existing[part];
    }
    return false;
}
