// Install.exe: the setup script it carries, and the application that runs
// the installation from it. The library's program entry starts the
// application; the script is built first and outlives it.
#include "InstallApp.h"
#include "SetupScript.h"

static CSetupScript g_script;
static CInstallApp g_application(g_script);
