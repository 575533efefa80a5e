#include "Settings.h"

#include "Registry.h"

const char* const kSettingsKey = "Software\\Brennwick\\Vellmora";
const char* const kToolbarSettingsKey = "Software\\Brennwick\\Vellmora\\Toolbars";

namespace {
// An existing key only, with query, notify and enumerate rights: reading
// never creates the key.
const DWORD kReadAccess = 0x69;
} // namespace

CToolbarSettings::CToolbarSettings() : style(kToolbarDefaultStyle)
{
    bands[0].flags = 0;
    bands[0].width = 282;
    bands[1].flags = kBandHoldsCombo;
    bands[1].width = 200;
}

int ToolbarBandHeight(DWORD style)
{
    int height = (style & kToolbarLabels) ? 37 : 22;
    if (style & kToolbarLarge)
        height += 8;
    if (!(style & kToolbarFlat))
        height += 3;
    return height;
}

int ReadSavedPosition(RECT* position, int* found)
{
    *found = 0;
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kSettingsKey, kReadAccess) != ERROR_SUCCESS)
        return 0;
    RECT stored;
    DWORD type = 0;
    if (key.QueryValue("Position", &stored, sizeof stored, &type) == sizeof stored) {
        *position = stored;
        *found = 1;
    }
    return 1;
}

int ReadToolbarSettings(CToolbarSettings& settings)
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kToolbarSettingsKey, kReadAccess) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0;
    DWORD style = 0;
    if (key.QueryValue("Style", &style, sizeof style, &type) == sizeof style)
        settings.style = style;
    const char* const names[2] = {"Band 1", "Band 2"};
    for (int i = 0; i < 2; i++) {
        CBandRecord record;
        if (key.QueryValue(names[i], &record, sizeof record, &type) == sizeof record)
            settings.bands[i] = record;
    }
    // Two bands with the same child would leave the other control without
    // a band (and put one window in two bands): such a pair is not used.
    if ((settings.bands[0].flags & kBandHoldsCombo) == (settings.bands[1].flags & kBandHoldsCombo)) {
        CToolbarSettings defaults;
        settings.bands[0] = defaults.bands[0];
        settings.bands[1] = defaults.bands[1];
    }
    return 1;
}

// A stored rectangle entirely off the screens would open the frame out of
// sight; such a rectangle is not used.
int IsOnSomeScreen(const RECT& rect)
{
    RECT screens = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screens.right = screens.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screens.bottom = screens.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT common;
    return IntersectRect(&common, &rect, &screens);
}

void WriteSavedPosition(const RECT& position)
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kSettingsKey, kKeyAllAccessCreate) == ERROR_SUCCESS)
        key.SetValue("Position", REG_BINARY, &position, sizeof position);
}

void WriteToolbarSettings(const CToolbarSettings& settings)
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kToolbarSettingsKey, kKeyAllAccessCreate) != ERROR_SUCCESS)
        return;
    key.SetValue("Style", REG_DWORD, &settings.style, sizeof settings.style);
    key.SetValue("Band 1", REG_BINARY, &settings.bands[0], sizeof settings.bands[0]);
    key.SetValue("Band 2", REG_BINARY, &settings.bands[1], sizeof settings.bands[1]);
}
