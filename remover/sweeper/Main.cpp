// The one application object of the removal program; the library's entry
// point runs it.
#include "RemoverApp.h"

static CRemoverApp g_removerApp;
