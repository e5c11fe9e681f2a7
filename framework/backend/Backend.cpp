#include "framework/backend/Backend.h"

#include <cstdio>
#include <cstdlib>

#include "framework/backend/ScreenScale.h"

namespace {
CBackend* g_pBackend = nullptr;
}

CBackend* AfxGetBackend() {
    return g_pBackend;
}

void AfxSetBackend(CBackend* backend) {
    g_pBackend = backend;
    CDeviceScale scale;
    if (backend) {
        CString strWarning;
        scale =
            AfxChooseScreenScale(backend->GetScreenSize(), getenv(SCREEN_SCALE_ENV), strWarning);
        if (!strWarning.IsEmpty())
            fprintf(stderr, "%s\n", strWarning.GetString());
    }
    AfxSetScreenScale(scale);
}
