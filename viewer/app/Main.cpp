// The one application object of the program; the library's entry point
// runs it.
#include "ViewerApp.h"

static CViewerApp g_viewerApp;
