// The diagnosis over the process state, and the clock it judges the print logs by.
#include "diagnose.h"

#include <windows.h>

#include "settings.h"
#include "state.h"

uint64_t utc_now_100ns() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return ((uint64_t)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
}

void diagnose_with(const DiagnosisInput* input, FindingList* list) {
    diagnose_at(input, list, utc_now_100ns());
}

void diagnose() {
    DiagnosisInput input = {g_snapshot, g_search_result, &g_settings, g_process.demo};
    diagnose_with(&input, &g_findings);
}
