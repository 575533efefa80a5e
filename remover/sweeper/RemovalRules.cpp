#include "RemovalRules.h"

#include <string.h>

namespace {

// Paths and key names are compared without regard to the case of ASCII
// letters; a name that differs only in other letters is not taken for the
// same, so such an entry is left rather than deleted.
std::string LowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return text;
}

std::string WithBackslashes(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::vector<std::string> SplitAt(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

// Windows drops trailing dots and spaces of a name, so "..", ". " and the
// like all climb or stay; wildcards, streams and quotes name no one file.
bool IsPlainName(const std::string& name)
{
    if (name.find_first_not_of(". ") == std::string::npos)
        return false;
    for (char c : name)
        if ((unsigned char)c < 32 || strchr(":*?\"<>|", c) != nullptr)
            return false;
    return true;
}

bool AreKeyPartsPlain(const std::vector<std::string>& parts)
{
    for (const std::string& part : parts)
        if (part.empty())
            return false;
    return true;
}

// First-level class keys that every file type or object shares, and the
// types of the programs themselves.
const char* const kSharedClasses[] = {
    "*", "allfilesystemobjects", "appid", "applications", "clsid", "directory", "drive", "folder", "interface",
    "mime", "protocols", "systemfileassociations", "typelib", "unknown", ".exe", "exefile", ".lnk", "lnkfile",
    ".dll", "dllfile", ".bat", "batfile", ".cmd", "cmdfile", ".com", "comfile",
};

bool IsProtectedClass(const std::vector<std::string>& parts, size_t first)
{
    if (parts.size() <= first)
        return true;
    if (parts.size() > first + 1)
        return false;
    for (const char* shared : kSharedClasses)
        if (parts[first] == shared)
            return true;
    return false;
}

// Below "Software": a vendor's keys may go; Windows' and its policies' only
// as a program's own uninstall or application path entry.
bool IsProtectedSoftwareKey(const std::vector<std::string>& parts)
{
    if (parts.size() < 2 || parts[0] != "software")
        return true;
    size_t i = 1;
    if (parts[1] == "wow6432node") {
        if (parts.size() < 3)
            return true;
        i = 2;
    }
    if (parts[i] == "classes")
        return IsProtectedClass(parts, i + 1);
    if (parts[i] == "microsoft" || parts[i] == "policies")
        return !(parts.size() >= i + 5 && parts[i] == "microsoft" && parts[i + 1] == "windows" &&
                 parts[i + 2] == "currentversion" && (parts[i + 3] == "uninstall" || parts[i + 3] == "app paths"));
    return false;
}

bool IsBelowKey(const std::string& path, const std::string& key)
{
    return path.size() > key.size() && path.compare(0, key.size(), key) == 0 && path[key.size()] == '\\';
}

} // namespace

bool IsPlainFullPath(const std::string& rawPath)
{
    std::string path = WithBackslashes(rawPath);
    std::vector<std::string> parts;
    if (path.compare(0, 2, "\\\\") == 0) {
        parts = SplitAt(path.substr(2), '\\');
        // A server, a share and a name below them; "\\?\" and "\\.\" are
        // not shares.
        if (parts.size() < 3 || parts[0] == "?" || parts[0] == ".")
            return false;
    } else {
        if (path.size() < 4 || !((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') || path[1] != ':' ||
            path[2] != '\\')
            return false;
        parts = SplitAt(path.substr(3), '\\');
    }
    for (const std::string& part : parts)
        if (!IsPlainName(part))
            return false;
    return true;
}

bool IsInsideFolder(const std::string& path, const std::string& folder)
{
    if (!IsPlainFullPath(path) || !IsPlainFullPath(folder))
        return false;
    return IsBelowKey(LowerAscii(WithBackslashes(path)), LowerAscii(WithBackslashes(folder)));
}

bool IsSameOrBelowKey(const std::string& keyPath, const std::string& key)
{
    std::string path = LowerAscii(keyPath), lowerKey = LowerAscii(key);
    return path == lowerKey || IsBelowKey(path, lowerKey);
}

bool MayDeleteFileEntry(const CLogFileEntry& entry, const std::string& installFolder)
{
    if (IsInsideFolder(entry.path, installFolder))
        return true;
    return entry.directory && IsPlainFullPath(entry.path) && IsPlainFullPath(installFolder) &&
           LowerAscii(WithBackslashes(entry.path)) == LowerAscii(WithBackslashes(installFolder));
}

bool MayDeleteShortcut(const std::string& path, const std::vector<std::string>& folders)
{
    if (path.size() < 4 || LowerAscii(path.substr(path.size() - 4)) != ".lnk")
        return false;
    for (const std::string& folder : folders)
        if (IsInsideFolder(path, folder))
            return true;
    return false;
}

bool IsProtectedKey(LogRoot root, const std::string& keyPath)
{
    std::vector<std::string> parts = SplitAt(LowerAscii(keyPath), '\\');
    if (root == kRootNone || !AreKeyPartsPlain(parts))
        return true;
    if (root == kRootClassesRoot)
        return IsProtectedClass(parts, 0);
    // Below HKU the first level is a user's whole hive.
    if (root == kRootUsers) {
        if (parts.size() < 2)
            return true;
        parts.erase(parts.begin());
    }
    return IsProtectedSoftwareKey(parts);
}

std::vector<LogKeyRole> KeyRoles(const std::vector<CLogRegistryEntry>& entries)
{
    std::vector<LogKeyRole> roles(entries.size(), kKeyOwn);
    for (size_t i = 0; i < entries.size(); i++) {
        if (entries[i].hasValue) {
            roles[i] = kKeyValue;
            continue;
        }
        std::string key = LowerAscii(entries[i].keyPath);
        for (const CLogRegistryEntry& other : entries)
            if (!other.hasValue && other.root == entries[i].root && IsBelowKey(LowerAscii(other.keyPath), key))
                roles[i] = kKeyParent;
    }
    return roles;
}

bool LogMadeKey(const std::vector<CLogRegistryEntry>& entries, const std::vector<LogKeyRole>& roles, LogRoot root,
                const std::string& keyPath)
{
    std::string key = LowerAscii(keyPath);
    for (size_t i = 0; i < entries.size() && i < roles.size(); i++) {
        if (roles[i] == kKeyValue || entries[i].root != root)
            continue;
        std::string made = LowerAscii(entries[i].keyPath);
        if (made == key || (roles[i] == kKeyOwn && IsBelowKey(key, made)))
            return true;
    }
    return false;
}

std::string NamedSiblingKey(const std::string& keyPath, const std::string& name)
{
    if (name.empty() || name.find('\\') != std::string::npos)
        return std::string();
    size_t slash = keyPath.rfind('\\');
    return slash == std::string::npos ? name : keyPath.substr(0, slash + 1) + name;
}

std::string DescribeRegistryEntry(const CLogRegistryEntry& entry)
{
    std::string text = std::string(RootWord(entry.root)) + "\\" + entry.keyPath;
    if (entry.hasValue)
        text += ", " + (entry.valueName.empty() ? std::string("(default)") : entry.valueName);
    return text;
}
