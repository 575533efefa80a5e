// Rules for installed files that need no window: the names of replacement
// and backup files, and whether a script's VERSION is newer than a file's.
// Plain functions over text, so that they build natively for fuzzing.
#pragma once

#include <stdint.h>

#include <string>

// The path with everything from its last "." on replaced by the extension
// (".new", ".bak"); a path without "." gets the extension appended. The
// last "." may lie in a directory name when the file name has none.
std::string ReplaceFromLastDot(const std::string& path, const char* extension);

// Whether a VERSION text ("4.71.0.0") is greater than an existing file's
// four version parts. The text is read part by part up to four parts: each
// part is the decimal digits before the next "." (other characters are
// ignored; no digits read as 0). The first part that differs decides; a
// text that ends with all parts equal so far is not greater.
bool VersionIsNewer(const std::string& version, const uint16_t existing[4]);
