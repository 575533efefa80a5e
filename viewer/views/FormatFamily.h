// What today's programs mean by the names they register for clipboard
// formats: HTML, RTF, addresses, MIME types, pictures and virtual files.
// Plain functions over names, without windows; names compare without regard
// to letter case.
#pragma once

#include <stdint.h>

enum FormatFamily {
    kFamilyOther,
    kFamilyFileName,     // "FileName"
    kFamilyFileNameW,    // "FileNameW"
    kFamilyShellIdList,  // "Shell IDList Array"
    kFamilyHtml,         // "HTML Format": UTF-8 with a description header
    kFamilyRtf,          // "Rich Text Format": 8-bit RTF source
    kFamilyUrl,          // "UniformResourceLocator": ANSI
    kFamilyUrlW,         // "UniformResourceLocatorW": UTF-16
    kFamilyMimeText,     // "text/...": UTF-8 unless its charset says otherwise
    kFamilyImage,        // PNG, JPEG, GIF and BMP files, for the imaging codecs
    kFamilyFileGroup,    // "FileGroupDescriptor"
    kFamilyFileGroupW,   // "FileGroupDescriptorW"
};

// The family of a registered name; kFamilyOther for null.
FormatFamily FamilyOfRegisteredName(const char* name);
// Whether a registered name is one of names (a list ending in null), in
// any letter case; 0 for null.
int NameIsOneOf(const char* name, const char* const* names);

// The code pages a text format can be read in.
enum : uint32_t { kCodePageUtf16 = 1200, kCodePageUtf8 = 65001 };

// The code page of a "text/..." name: its charset parameter ("utf-8",
// "utf-16", "iso-8859-N", "windows-NNNN", "cpNNNN", "us-ascii"), UTF-8
// when there is none or it is not known.
uint32_t MimeTextCodePage(const char* name);
