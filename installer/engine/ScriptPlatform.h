// The few Win32 types and calls that the byte-level script code needs. The
// script reader also builds natively (the fuzz targets), where there is no
// windows.h: there the same names stand for the same values.
#pragma once

#include <stdint.h>

#if defined(_WIN32)
#include <windows.h>
#else
struct HKEY__;
typedef HKEY__* HKEY;
#define HKEY_CLASSES_ROOT ((HKEY)(intptr_t)INT32_MIN)
#define HKEY_CURRENT_USER ((HKEY)(intptr_t)(INT32_MIN + 1))
#define HKEY_LOCAL_MACHINE ((HKEY)(intptr_t)(INT32_MIN + 2))
#define HKEY_USERS ((HKEY)(intptr_t)(INT32_MIN + 3))
#define REG_SZ 1
#define REG_BINARY 3
#define REG_DWORD 4
#endif

// One character lowered as CharLowerA lowers it in the ANSI code page.
char LowerAnsiChar(char c);
