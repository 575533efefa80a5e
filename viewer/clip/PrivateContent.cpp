#include "PrivateContent.h"

#include <windows.h>

#include <string.h>

#include "ClipFormat.h"
#include "Text.h"

namespace {
// Registered names compare without regard to case, as the clipboard
// registers them.
int SameName(const char* a, const char* b) { return CompareNoCase(a, b) == 0; }
} // namespace

PrivateMarker PrivateMarkerOf(const char* registeredName)
{
    if (registeredName == nullptr)
        return kNoMarker;
    if (SameName(registeredName, "ExcludeClipboardContentFromMonitorProcessing") ||
        SameName(registeredName, "Clipboard Viewer Ignore"))
        return kMarkerAlways;
    if (SameName(registeredName, "CanIncludeInClipboardHistory"))
        return kMarkerWhenZero;
    return kNoMarker;
}

int MarksContentPrivate(const char* registeredName, const uint8_t* data, size_t size)
{
    switch (PrivateMarkerOf(registeredName)) {
    case kMarkerAlways: return 1;
    // Only the value 0 excludes; 1 explicitly allows keeping the content.
    case kMarkerWhenZero:
        return data != nullptr && size >= 4 && (data[0] | data[1] | data[2] | data[3]) == 0;
    default: return 0;
    }
}

int OpenClipboardHoldsPrivateContent()
{
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        char name[kFormatNameCapacity] = "";
        if (!IsRegisteredFormat(format) || !ReadRegisteredFormatName(format, name))
            continue;
        PrivateMarker marker = PrivateMarkerOf(name);
        if (marker == kMarkerAlways)
            return 1;
        if (marker != kMarkerWhenZero)
            continue;
        HANDLE handle = GetClipboardData(format);
        DWORD size = ClipboardHandleSize(format, handle);
        const uint8_t* bytes = size > 0 ? (const uint8_t*)GlobalLock(handle) : nullptr;
        int marks = MarksContentPrivate(name, bytes, size);
        if (bytes != nullptr)
            GlobalUnlock(handle);
        if (marks)
            return 1;
    }
    return 0;
}
