#include "FormatFamily.h"

#include <stdlib.h>
#include <string.h>

#include <string>

namespace {
std::string Lowered(const char* text)
{
    std::string lowered(text);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c + 32);
    return lowered;
}

// The number after a prefix, when the rest is all digits; 0 otherwise.
uint32_t NumberAfter(const std::string& text, const char* prefix)
{
    size_t length = strlen(prefix);
    if (text.compare(0, length, prefix) != 0 || text.size() == length || text.size() > length + 5)
        return 0;
    uint32_t value = 0;
    for (size_t i = length; i < text.size(); i++) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        value = value * 10 + (uint32_t)(text[i] - '0');
    }
    return value;
}
} // namespace

FormatFamily FamilyOfRegisteredName(const char* name)
{
    if (name == nullptr)
        return kFamilyOther;
    static const struct {
        const char* name;
        FormatFamily family;
    } known[] = {
        {"filename", kFamilyFileName},
        {"filenamew", kFamilyFileNameW},
        {"shell idlist array", kFamilyShellIdList},
        {"html format", kFamilyHtml},
        {"rich text format", kFamilyRtf},
        {"uniformresourcelocator", kFamilyUrl},
        {"uniformresourcelocatorw", kFamilyUrlW},
        {"png", kFamilyImage},
        {"image/png", kFamilyImage},
        {"jfif", kFamilyImage},
        {"image/jpeg", kFamilyImage},
        {"gif", kFamilyImage},
        {"image/gif", kFamilyImage},
        {"image/bmp", kFamilyImage},
        {"filegroupdescriptor", kFamilyFileGroup},
        {"filegroupdescriptorw", kFamilyFileGroupW},
    };
    std::string lowered = Lowered(name);
    for (const auto& entry : known)
        if (lowered == entry.name)
            return entry.family;
    return lowered.compare(0, 5, "text/") == 0 ? kFamilyMimeText : kFamilyOther;
}

int NameIsOneOf(const char* name, const char* const* names)
{
    if (name == nullptr)
        return 0;
    std::string lowered = Lowered(name);
    for (; *names != nullptr; names++)
        if (lowered == Lowered(*names))
            return 1;
    return 0;
}

uint32_t MimeTextCodePage(const char* name)
{
    std::string lowered = Lowered(name);
    size_t found = lowered.find("charset=");
    if (found == std::string::npos)
        return kCodePageUtf8;
    std::string charset = lowered.substr(found + 8);
    charset = charset.substr(0, charset.find_first_of("; "));
    if (charset.size() >= 2 && charset.front() == '"' && charset.back() == '"')
        charset = charset.substr(1, charset.size() - 2);
    if (charset == "utf-16" || charset == "utf-16le" || charset == "ucs-2")
        return kCodePageUtf16;
    if (charset == "us-ascii" || charset == "ascii")
        return 20127;
    if (charset == "latin1")
        return 28591;
    uint32_t part = NumberAfter(charset, "iso-8859-");
    if (part >= 1 && part <= 16)
        return 28590 + part;
    uint32_t windows = NumberAfter(charset, "windows-");
    if (windows == 0)
        windows = NumberAfter(charset, "cp");
    if (windows >= 437 && windows <= 1258)
        return windows;
    return kCodePageUtf8;
}
