// "Save Format As...": one format's data written to a file of the type a
// user expects to open (see FormatFileBytes.h), chosen in the common save
// dialog and written through a temporary file in the same folder.
#pragma once

#include <windows.h>

#include <string>

#include "Text.h"

class CFormatSaver {
public:
    enum Result { kNotSaved = 0, kSaved = 1, kPrivate = 2 };

    CFormatSaver() : m_format(0), m_ready(0) {}

    // Takes the bytes of a format copy now.
    int TakeCopy(UINT format, const char* name, const void* data, DWORD size);
    // Takes the bytes from the clipboard now; content marked private is
    // taken only when allowPrivate is set. Answers a Result.
    int TakeFromClipboard(HWND owner, UINT format, int allowPrivate);
    // Asks for the file (suggesting "<format name>.<extension>") and writes
    // it. Failures are shown to the user. Answers 1 when a file was written.
    int AskAndWrite(HWND owner);

    const char* GetExtension() const;

private:
    UINT m_format;
    CText m_name;
    std::string m_bytes;
    int m_ready;
};

