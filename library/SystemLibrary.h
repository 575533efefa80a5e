// Libraries of the system folder. A program that runs with administrator
// rights must never run code from a library that sits beside it (a
// downloads folder may hold anything): it imports only libraries that
// Windows always takes from its own folder, limits the search of later
// loads to the system folder, and loads any other library by its full path
// there.
#pragma once

#include <windows.h>

// Limits the search of libraries loaded from now on to the system folder;
// where Windows cannot do that, at least takes the current folder out of
// the search. 1 when the search is limited to the system folder.
int LimitLibrarySearch();

// The library of that name in the system folder, loaded by its full path;
// null when it cannot be loaded. It stays loaded for the life of the
// process.
HMODULE LoadSystemLibrary(const char* name);

// A function of a library of the system folder, cast to its type (for
// example decltype(&ImageList_Destroy)); null when either is missing.
template <class Function>
Function SystemFunction(const char* library, const char* name)
{
    HMODULE module = LoadSystemLibrary(library);
    return module != nullptr ? (Function)(void*)GetProcAddress(module, name) : nullptr;
}

// The full path of a process's program; 0 where it cannot be told (before
// Vista, or without the right to ask).
int ProcessImagePath(DWORD processId, char* path, DWORD capacity);

// The common controls of the system folder, with the window classes named
// by the ICC_ flags registered. 1 when they are.
int LoadCommonControls(DWORD classes);
