// The viewer's application object: registers the window classes, creates
// the frame and runs it until the program ends.
#pragma once

#include "AppThread.h"

class CViewerApp : public CWinApp {
public:
    CViewerApp() : CWinApp("Vellmora") {}

    int Start() override;
    int Finish() override;
};

// Common controls and the six window classes, in their order; 0 as soon as
// one cannot be registered.
int PrepareViewerClasses();
