// The viewer: opens the display, then runs the collection appended to its own file.
#include <cstdio>

#include "app/ViewerApp.h"
#include "framework/backend/sdl/SdlBackend.h"
#include "framework/system/TempFile.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

CViewerApp theApp;

int main(int argc, char* argv[]) {
    RegisterProgramResources();
    CString strTitle;
    strTitle.LoadString(IDS_APP_TITLE);
    CSdlBackend backend;
    if (!backend.Open(strTitle)) {
        fprintf(stderr, "%s: cannot open the display: %s\n", argv[0], backend.GetError().GetString());
        return 1;
    }
    // After the display library, which sets handlers of its own for the same signals.
    AfxInstallTempFileCleanup();
    AfxSetBackend(&backend);
    const int nExit = AfxWinMain(argc, argv);
    AfxSetBackend(nullptr);
    return nExit;
}
