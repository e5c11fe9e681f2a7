#include "framework/backend/Backend.h"

namespace {
CBackend* g_pBackend = nullptr;
}

CBackend* AfxGetBackend() {
    return g_pBackend;
}

void AfxSetBackend(CBackend* backend) {
    g_pBackend = backend;
}
