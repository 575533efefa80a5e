// Sizes and free-space roots as the wizard shows and queries them: plain
// functions over text, with no window in them.
#pragma once

#include <stdint.h>

#include <string>

// The kilobytes shown for a size: 0 for nothing, otherwise the whole
// kilobytes plus one, so that 1 to 1023 bytes show as 1 KB and 1024 bytes
// as 2 KB.
uint64_t KilobytesShown(uint64_t bytes);

// The root whose free space counts for a path: the share of a network path
// ("\\server\share\"), otherwise the drive of its first character ("C:\").
std::string SpaceRoot(const std::string& path);

// Wildcards match other folders in a search and are never part of a
// folder's name.
bool HasWildcards(const std::string& path);

// A full path: a drive letter with its backslash ("C:\...") or a network
// path ("\\server\share..."). Anything else would be taken relative to
// whatever the current folder and drive happen to be.
bool IsAbsolutePath(const std::string& path);
