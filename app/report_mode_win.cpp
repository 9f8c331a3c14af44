// "/report FILE [/summary]": the full report (or the summary) written exactly as Save Report writes
// it, with no window and no message box. With "/demo" it reports the demonstration data as the
// window shows it after its first check: the demonstration search result exists, the known
// identities have been remembered and the diagnosis has run. Exit code 0, or the Windows error code
// of the file that could not be written.
#include <windows.h>

#include <stdlib.h>

#include "app/app.h"
#include "core/demo.h"
#include "core/diagnose.h"
#include "core/known.h"
#include "core/settings.h"
#include "core/state.h"
#include "net/installed.h"
#include "reports/report.h"

// The window's first check, done on this thread: the snapshot becomes current, the search result is
// matched to it, identities are remembered, then the diagnosis runs.
static uint32_t demo_first_check() {
    Snapshot* s = snapshot_new();
    NetworkSearchResult* r = static_cast<NetworkSearchResult*>(calloc(1, sizeof(NetworkSearchResult)));
    if (!s || !r) {
        snapshot_free(s);
        free(r);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    LocalTime now = {};
    uint64_t now_utc = 0;
    demo_clock(&now, &now_utc);
    build_demo_snapshot(s, &now, now_utc);
    build_demo_search_result(r, &now);
    g_snapshot = s;
    g_search_result = r;
    mark_installed(g_search_result, g_snapshot);
    remember_known_printers(g_snapshot, g_search_result, g_process.demo);
    diagnose();
    return 0;
}

int run_report_mode(const CommandLine* cmd) {
    if (!cmd->reportFile[0]) return ERROR_INVALID_PARAMETER;
    // Until this build can read the PC's own printers, only the demonstration can be reported; a
    // report of an empty snapshot would claim the PC has no printers.
    if (!g_process.demo) return ERROR_NOT_SUPPORTED;
    load_settings(&g_settings, g_process.demo);
    uint32_t error = demo_first_check();
    if (error) return (int)error;
    g_report_buffer[0] = 0;
    build_report(cmd->reportSummary ? 0 : 1);
    return (int)write_report_file(cmd->reportFile, g_report_buffer);
}
