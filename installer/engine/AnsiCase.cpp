#include "ScriptPlatform.h"

#if defined(_WIN32)

char LowerAnsiChar(char c)
{
    // With a zero high word CharLowerA takes the character itself and
    // answers the lowered one in the low byte.
    return (char)(BYTE)(ULONG_PTR)CharLowerA((LPSTR)(ULONG_PTR)(BYTE)c);
}

#else

// Code page 1252, the ANSI code page of Western European Windows, as
// CharLowerA maps it.
char LowerAnsiChar(char c)
{
    unsigned char u = (unsigned char)c;
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return (char)(u + 0x20);
    switch (u) {
    case 0x8A: return (char)0x9A;
    case 0x8C: return (char)0x9C;
    case 0x8E: return (char)0x9E;
    case 0x9F: return (char)0xFF;
    default: return c;
    }
}

#endif
