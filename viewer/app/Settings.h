// The viewer's saved settings: the frame's window rectangle and the toolbar
// options with the layout of the two rebar bands, kept under the current
// user's key.
#pragma once

#include <windows.h>

extern const char* const kSettingsKey;
extern const char* const kToolbarSettingsKey;

// Toolbar style flags.
enum : DWORD {
    kToolbarLabels = 1,
    kToolbarLarge = 2,
    kToolbarTips = 4,
    kToolbarFlat = 8,
    kToolbarDefaultStyle = 15,
};

// Band record flags.
enum : DWORD {
    kBandHoldsCombo = 1, // clear: the band holds the toolbar
    kBandBreak = 2,      // the band starts a new row
};

// One rebar band as stored: 8 bytes, the same on every build.
struct CBandRecord {
    DWORD flags;
    LONG width;
};
static_assert(sizeof(CBandRecord) == 8, "band records are stored as 8 bytes");

struct CToolbarSettings {
    CToolbarSettings();
    DWORD style;
    CBandRecord bands[2];
};

// The minimum height of the toolbar band for a style.
int ToolbarBandHeight(DWORD style);

// Each answers 1 when the key opened. Missing values keep what is there;
// a "Position" of any size but 16 bytes is ignored.
int ReadSavedPosition(RECT* position, int* found);
int ReadToolbarSettings(CToolbarSettings& settings);
// Whether a rectangle lies at least partly on the screens.
int IsOnSomeScreen(const RECT& rect);
// Write failures are not reported: settings are a convenience.
void WriteSavedPosition(const RECT& position);
void WriteToolbarSettings(const CToolbarSettings& settings);
