// "/report FILE [/summary] [/scan] [/json]": the full report (or the summary) written exactly as Save
// Report writes it, or with "/json" the JSON document (UTF-8 without a byte-order mark), with no
// window and no message box. On the PC it is one check with network tests, run
// on this thread, and with "/scan" the network search (of the "/scanrange" range when one is given)
// before the report, so the report lists the printers found and names a printer that moved. With
// "/demo" it reports the demonstration data as the window shows it after its first check: the
// demonstration search result exists, the known identities have been remembered and the diagnosis
// has run. Exit code 0, or the Windows error code of what failed (the file that could not be
// written, memory for the snapshot).
#include <winsock2.h>
#include <windows.h>

#include <stdlib.h>

#include "app/app.h"
#include "app/check.h"
#include "collect/collector_win.h"
#include "collect/net_cache.h"
#include "core/demo.h"
#include "core/settings.h"
#include "core/session.h"
#include "core/state.h"
#include "net/addresses.h"
#include "net/netlogic.h"
#include "net/search.h"
#include "reports/json_report.h"
#include "reports/report.h"

static Session g_report_session; // static: the finding list is far too large for the stack

// The window's first check, done on this thread: the snapshot becomes current, the search result is
// matched to it, identities are remembered, then the diagnosis runs.
uint32_t demo_first_check(Session* session) {
    Snapshot* s = snapshot_new();
    NetworkSearchResult* r = new_demo_search_result();
    if (!s || !r) {
        snapshot_free(s);
        free(r);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    LocalTime now = {};
    uint64_t now_utc = 0;
    demo_clock(&now, &now_utc);
    build_demo_snapshot(s, &now, now_utc);
    session_take_snapshot(session, s);
    session_take_search(session, r);
    refresh_findings(session);
    return 0;
}

uint32_t pc_check_now(Session* session, int scan, int with_network_test) {
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    if (!request) return ERROR_NOT_ENOUGH_MEMORY;
    request->withNetworkTest = with_network_test ? 1 : 0;
    Settings settings = g_settings;
    CheckWorker worker = {};
    worker.settings = &settings;
    Snapshot* s = collect_now(request, &worker);
    if (!s) return ERROR_NOT_ENOUGH_MEMORY;
    session_take_snapshot(session, s);
    if (scan) {
        SearchRequest search = {};
        search_request_of(session->snapshot, 0, g_settings.askPrinter, g_process.scanRange, &search);
        session_take_search(session, run_network_search(&search, nullptr)); // null: out of memory
    }
    refresh_findings(session);
    return 0;
}

// The window's first check on the PC, with network tests whatever AutoNetTest says (a report without
// them could not say whether the network printers answer).
static uint32_t pc_first_check(Session* session, int scan) {
    return pc_check_now(session, scan, 1);
}

int run_report_mode(const CommandLine* cmd) {
    const wchar_t* file = cmd->reportFile[0] ? cmd->reportFile : cmd->jsonFile;
    if (!file[0]) return ERROR_INVALID_PARAMETER;
    load_settings(&g_settings, g_process.demo);
    Session* session = &g_report_session;
    session_init(session);
    // A search asked for with a range that does not parse sweeps nothing; the report (and the
    // document) still says which range was refused and why, and the exit code says it was a bad
    // argument.
    const int range_refused = cmd->reportScan && scan_range_refusal(g_process.scanRange, nullptr, 0);
    uint32_t error = 0;
    if (g_process.demo) {
        error = demo_first_check(session);
    } else {
        WSADATA wsa;
        int sockets = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
        net_cache_init();
        error = pc_first_check(session, cmd->reportScan && !range_refused);
        if (sockets) WSACleanup();
    }
    if (error) return (int)error;
    if (cmd->reportJson) {
        // The document is always the whole report: a script picks out what it needs.
        wchar_t* json = build_json_report(session);
        if (!json) return ERROR_NOT_ENOUGH_MEMORY;
        error = write_json_file(file, json);
        free(json);
    } else {
        wchar_t* text = static_cast<wchar_t*>(malloc(kReportCapacity * sizeof(wchar_t)));
        if (!text) return ERROR_NOT_ENOUGH_MEMORY;
        build_report(session, cmd->reportSummary ? 0 : 1, text, kReportCapacity);
        error = write_report_file(file, text);
        free(text);
    }
    return (int)(error ? error : range_refused ? ERROR_INVALID_PARAMETER : 0);
}
