// A program with two application objects.
#include "AppThread.h"

class CFirstApp : public CWinApp {
public:
    CFirstApp() : CWinApp("First") {}
};

static CFirstApp g_first;
static CFirstApp g_second;
