// The diagnosis over the process state, and the clock it judges the print logs by.
#include "diagnose.h"

#include <windows.h>

#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"

uint64_t utc_now_100ns() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return ((uint64_t)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
}

void diagnose_with(const DiagnosisInput* input, FindingList* list) {
    diagnose_at(input, list, utc_now_100ns());
}

void diagnose(Session* session) {
    if (!session) return;
    DiagnosisInput input = {session->snapshot, session->search, &g_settings, g_process.demo,
                            g_process.headless};
    diagnose_with(&input, &session->findings);
}
