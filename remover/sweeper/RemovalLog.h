// Reading the install log: its lines, the registry lines in it, and the
// whole log as the remover uses it. Plain functions over bytes with no
// window in them, so that they build natively too.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

// The value of the uninstall key that holds the digest the installer took
// of the log; the installer writes it under the same name.
const char kLogDigestValue[] = "InstallLogDigest";

// The predefined keys a registry line can name.
enum LogRoot { kRootNone = 0, kRootClassesRoot, kRootCurrentUser, kRootLocalMachine, kRootUsers };

// The word a registry line names the root with, like "HKCU"; "?" for none.
const char* RootWord(LogRoot root);

struct CLogFileEntry {
    std::string path;
    bool directory;
};

struct CLogRegistryEntry {
    LogRoot root = kRootNone;
    std::string keyPath;
    // Whether the line names a value (in double quotes; empty for the key's
    // default value) rather than the key.
    bool hasValue = false;
    std::string valueName;
};

// What an installation left behind, in the order the installer did it.
struct CRemovalLog {
    std::string path;
    std::string group;
    std::string title;
    // 0 when the program group lies in the common Programs folder.
    int userGroup = 1;
    std::vector<CLogFileEntry> files;
    std::vector<std::string> shortcuts;
    std::vector<CLogRegistryEntry> registry;
};

struct CLogLine {
    std::string key;
    std::string value;
};

// "[INSTALL]" and the one line break the installer writes after it.
const size_t kLogHeadSize = 10;

// Whether the bytes begin with the log's section header.
bool IsInstallLog(const char* data, size_t size);

// Reads the line at the position and moves the position behind it. False
// when the text has ended: at its end, at a zero byte, or at a "[" or a
// zero byte met before the line's "=". A line without "=" is all key.
bool ReadLogLine(const char* data, size_t size, size_t& position, CLogLine& line);

// The value of a REG line: root word, key path and the value name in
// double quotes; two double quotes name the key's default value.
CLogRegistryEntry ParseRegistryLine(const std::string& value);

// Reads every line after the head of a log that IsInstallLog accepted,
// until the text ends, a line begins with "[" or a line has no key.
void ReadRemovalLog(const char* data, size_t size, CRemovalLog& log);
