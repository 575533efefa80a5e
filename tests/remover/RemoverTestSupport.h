// Files, registry entries and pending deletions as the remover tests set
// them up and look at them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadFileText(const std::string& path);
bool PathExists(const std::string& path);
// Every "%k" of the text replaced by the text for k.
std::string Expand(std::string text, const std::vector<std::string>& pairs);

// Creates the key as needed.
void SetRegistryString(HKEY root, const std::string& key, const char* name, const char* data);
bool RegistryKeyExists(HKEY root, const std::string& key);
bool RegistryValueExists(HKEY root, const std::string& key, const char* name);

// The paths that wait for deletion at the next start which `before` did
// not hold, in their order and in their long form.
std::vector<std::string> PendingDeletions(const std::vector<std::string>& before = {});

// Answers a removal program that another program started: "Yes" to its
// question about the program of that title and "OK" to "Program removed.",
// then waits for its end. False when a box did not come or said otherwise.
bool AnswerRemoval(const std::string& title);
