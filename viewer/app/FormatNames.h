// Names of clipboard formats as the Display menu shows them (with their
// '&'), remembered once read: a format's string resource or registered name
// does not change while the system runs, and looking a registered name up
// is a round trip to the window system on every clipboard change.
#pragma once

#include <windows.h>

#include <map>

#include "Text.h"

class CFormatNames {
public:
    const CText& Get(UINT format);

private:
    std::map<UINT, CText> m_names;
};
