// The program entry of every program built on the library. Kept in an object
// of its own so that test executables can bring their own main.
#include "AppThread.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return RunProgramEntry(instance, previous, commandLine, showCommand);
}
