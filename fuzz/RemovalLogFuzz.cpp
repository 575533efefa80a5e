// Feeds arbitrary bytes to the install log reader as the removal program
// reads a log, and to the line and registry readers on their own.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "RemovalLog.h"
#include "RemovalRules.h"

namespace {

bool HoldsLineEnd(const std::string& text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

void CheckRegistryEntry(const CLogRegistryEntry& entry, const std::string& value)
{
    if (entry.root < kRootNone || entry.root > kRootUsers)
        abort();
    // Never a whole predefined key: a root comes with a key path below it.
    if (entry.root != kRootNone && entry.keyPath.find_first_not_of('\\') == std::string::npos)
        abort();
    if (entry.keyPath.size() + entry.valueName.size() > value.size())
        abort();
}

// A part of the path made of dots and spaces alone: ".", "..", ". ".
bool ClimbsOrStays(const std::string& path)
{
    size_t start = 0;
    for (;;) {
        size_t end = path.find_first_of("\\/", start);
        std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty() && part.find_first_not_of(". ") == std::string::npos)
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const char* data = (const char*)bytes;
    size_t lines = 0;
    size_t position = 0;
    CLogLine line;
    while (ReadLogLine(data, size, position, line)) {
        if (position > size || HoldsLineEnd(line.key) || HoldsLineEnd(line.value) || ++lines > size)
            abort();
        if (line.key.find('[') != std::string::npos || line.key.find('=') != std::string::npos)
            abort();
        CheckRegistryEntry(ParseRegistryLine(line.value), line.value);
    }
    if (position > size)
        abort();

    if (!IsInstallLog(data, size))
        return 0;
    CRemovalLog log;
    ReadRemovalLog(data, size, log);
    size_t entries = log.files.size() + log.shortcuts.size() + log.registry.size();
    // Each entry takes a line of at least four bytes ("REG=" or "REG" and
    // a line break).
    if (entries * 4 > size || (log.userGroup != 0 && log.userGroup != 1))
        abort();
    for (const CLogFileEntry& entry : log.files) {
        if (HoldsLineEnd(entry.path))
            abort();
        // Nothing a removal may delete climbs out of the installation folder.
        if (MayDeleteFileEntry(entry, log.path) &&
            (!IsPlainFullPath(log.path) || ClimbsOrStays(entry.path)))
            abort();
    }
    std::vector<LogKeyRole> roles = KeyRoles(log.registry);
    if (roles.size() != log.registry.size())
        abort();
    for (const CLogRegistryEntry& entry : log.registry) {
        if (!IsProtectedKey(entry.root, entry.keyPath) && (entry.root == kRootNone || entry.keyPath.empty()))
            abort();
        LogMadeKey(log.registry, roles, entry.root, NamedSiblingKey(entry.keyPath, entry.valueName));
    }
    for (const CLogRegistryEntry& entry : log.registry)
        CheckRegistryEntry(entry, std::string(data, size));
    return 0;
}
