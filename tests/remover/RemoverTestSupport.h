// Files, registry entries and pending deletions as the remover tests set
// them up and look at them.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

void WriteTextFile(const std::string& path, const std::string& text);
// The whole file; empty when it cannot be read.
std::string ReadFileText(const std::string& path);
bool PathExists(const std::string& path);
std::string ReplaceAll(std::string text, const std::vector<std::pair<std::string, std::string>>& replacements);
inline std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to)
{
    return ReplaceAll(text, {{from, to}});
}

// Creates the key as needed.
void SetRegistryString(HKEY root, const std::string& key, const char* name, const char* data);
bool RegistryKeyExists(HKEY root, const std::string& key);
bool RegistryValueExists(HKEY root, const std::string& key, const char* name);

// The paths waiting for deletion at the next start, in their order.
std::vector<std::string> PendingDeletions();
// What `after` holds beyond `before`.
std::vector<std::string> NewEntries(const std::vector<std::string>& before, const std::vector<std::string>& after);
// The long form of a path, without the "\??\" prefix and a trailing
// backslash.
std::string LongPath(const std::string& path);

// Answers a removal program that some other program started: "Yes" to its
// question about the program of that title and "OK" to "Program removed.",
// then waits for its end. False when a box did not come or said otherwise.
bool AnswerRemoval(const std::string& title);
