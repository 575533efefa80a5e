// A small library with a version resource and two exported functions: the
// kind of versioned system file a FILE line with VERSION and FUNCTIONS names.
#include <windows.h>

extern "C" __declspec(dllexport) int VlmFirst()
{
    return 1;
}

extern "C" __declspec(dllexport) int VlmSecond()
{
    return 2;
}
