// What a removal may delete of what an install log lists: files only inside
// the installation folder, shortcuts only in the Start menu's and the
// desktop's folders, and never a predefined key, a system key or a key that
// every file type shares. Plain functions over texts, without windows, so
// that they build natively too.
#pragma once

#include <string>
#include <vector>

#include "RemovalLog.h"

// A full path with no "." or ".." part, no stream or device syntax, and
// more than a drive's or a share's root: "C:\Vellmora" or
// "\\server\share\Vellmora". Forward slashes count as backslashes.
bool IsPlainFullPath(const std::string& path);

// Whether the path lies inside the folder (any depth below it), compared
// without regard to case of the ASCII letters. Both must be plain full paths.
bool IsInsideFolder(const std::string& path, const std::string& folder);

// Whether the key path is the key or lies below it, compared without regard
// to case of the ASCII letters.
bool IsSameOrBelowKey(const std::string& keyPath, const std::string& key);

// A FILE or DIRECTORY entry of the log may go: it lies inside the
// installation folder of the log's PATH (a DIRECTORY entry may also be that
// folder itself).
bool MayDeleteFileEntry(const CLogFileEntry& entry, const std::string& installFolder);

// An ICON entry may go: a ".lnk" file inside one of the folders.
bool MayDeleteShortcut(const std::string& path, const std::vector<std::string>& folders);

// Keys a removal never deletes nor changes: the predefined keys, the first
// level of every hive, the system's own trees, the keys under "Software"
// that Windows and its policies own (the uninstall and application path
// entries of programs apart), "Software\Classes" and the classes every file
// type shares.
bool IsProtectedKey(LogRoot root, const std::string& keyPath);

// The roles of a log's registry entries.
enum LogKeyRole {
    // A value line: that value only.
    kKeyValue,
    // A key the installation made for an entry: it goes with its subkeys.
    kKeyOwn,
    // A level the installation made above keys of its own, like a vendor
    // key: it goes only when it is empty after the removal.
    kKeyParent,
};
std::vector<LogKeyRole> KeyRoles(const std::vector<CLogRegistryEntry>& entries);

// Whether a key line of the entries made the key: it is one of them or lies
// inside one that goes with its subkeys.
bool LogMadeKey(const std::vector<CLogRegistryEntry>& entries, const std::vector<LogKeyRole>& roles, LogRoot root,
                const std::string& keyPath);

// The key a default value names when it is a class name, like the ProgID in
// ".cbf": a sibling of its key.
std::string NamedSiblingKey(const std::string& keyPath, const std::string& name);

// How the final message names an entry: "HKCU\Software\X" or
// "HKCU\Software\X, value".
std::string DescribeRegistryEntry(const CLogRegistryEntry& entry);
