#include "Utility.h"

#include <time.h>

#include "AppThread.h"

int CMenuHandle::Load(UINT resourceId)
{
    m_menu = LoadMenuResource(MAKEINTRESOURCEA(resourceId));
    return m_menu != nullptr;
}

int CMenuHandle::Destroy()
{
    if (!DestroyMenu(m_menu))
        return 0;
    m_menu = nullptr;
    return 1;
}

int CTimeValue::ToSystemTime(SYSTEMTIME* time) const
{
    time_t seconds = m_seconds;
    struct tm* local = localtime(&seconds);
    if (local == nullptr)
        return 0;
    time->wYear = (WORD)(local->tm_year + 1900);
    time->wMonth = (WORD)(local->tm_mon + 1);
    time->wDayOfWeek = (WORD)local->tm_wday;
    time->wDay = (WORD)local->tm_mday;
    time->wHour = (WORD)local->tm_hour;
    time->wMinute = (WORD)local->tm_min;
    time->wSecond = (WORD)local->tm_sec;
    time->wMilliseconds = m_milliseconds;
    return 1;
}

CTimeValue CTimeValue::FromFileTime(const FILETIME& time, int daylightSaving)
{
    FILETIME local;
    SYSTEMTIME system;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &system))
        return CTimeValue();
    struct tm broken = {};
    broken.tm_year = system.wYear - 1900;
    broken.tm_mon = system.wMonth - 1;
    broken.tm_mday = system.wDay;
    broken.tm_hour = system.wHour;
    broken.tm_min = system.wMinute;
    broken.tm_sec = system.wSecond;
    broken.tm_isdst = daylightSaving;
    time_t seconds = mktime(&broken);
    if (seconds == (time_t)-1)
        return CTimeValue();
    return CTimeValue((INT32)seconds, system.wMilliseconds);
}
