// Content that the program which put it on the clipboard marks private:
// password managers add a marker format beside the secret. Vellmora keeps
// no copy of such content and shows it only when the user asks.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The markers, by registered name (any letter case):
// "ExcludeClipboardContentFromMonitorProcessing" and "Clipboard Viewer
// Ignore" with any data, "CanIncludeInClipboardHistory" holding the DWORD 0.
enum PrivateMarker { kNoMarker, kMarkerAlways, kMarkerWhenZero };
PrivateMarker PrivateMarkerOf(const char* registeredName);

// Whether a format with this name and these bytes marks the content
// private. data may be null (no data could be read).
int MarksContentPrivate(const char* registeredName, const uint8_t* data, size_t size);

// Whether the open clipboard holds a marker; the caller opened it.
int OpenClipboardHoldsPrivateContent();
