// The viewer: opens the display, then runs the collection appended to its own file.
#include <cstdio>
#include <cstring>

#include "app/ViewerApp.h"
#include "framework/backend/sdl/SdlBackend.h"
#include "framework/system/TempFile.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

CViewerApp theApp;

namespace {
// What the two options a user tries first answer; any other argument is ignored, as always.
bool AnswerOption(const char* arg) {
    if (strcmp(arg, "--version") == 0) {
        printf("slideshow %s\n", SLIDESHOW_VERSION);
        return true;
    }
    if (strcmp(arg, "--help") != 0 && strcmp(arg, "-h") != 0)
        return false;
    printf("Usage: slideshow [--help | --version]\n"
           "Shows the collection appended to this file, full screen: PREVIOUS and NEXT (or\n"
           "the Left and Right keys) walk it, Escape ends it. Make such a file with\n"
           "  slideshow-pack build FOLDER -o FILE\n"
           "SLIDESHOW_SCREEN=1024x768 runs it in a window of that size.\n"
           "SLIDESHOW_SCALE=1 draws it at its own size on a large screen, 2 twice as large.\n");
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && AnswerOption(argv[1]))
        return 0;
    RegisterProgramResources();
    CString strTitle;
    strTitle.LoadString(IDS_APP_TITLE);
    CSdlBackend backend;
    if (!backend.Open(strTitle)) {
        fprintf(stderr, "%s: %s\n", argv[0], backend.GetError().GetString());
        return 1;
    }
    // After the display library, which sets handlers of its own for the same signals.
    AfxInstallTempFileCleanup();
    AfxSetBackend(&backend);
    const int nExit = AfxWinMain(argc, argv);
    AfxSetBackend(nullptr);
    return nExit;
}
