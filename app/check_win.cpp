// The check cycle's Windows side: starting the worker thread, the timers, and the hand-over of a
// finished snapshot on the interface thread.
#include <windows.h>

#include <stdlib.h>

#include "app/app.h"
#include "app/check.h"
#include "collect/collector_win.h"
#include "core/demo.h"
#include "core/diagnose.h"
#include "core/known.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "history/log_file.h"
#include "net/installed.h"
#include "net/search.h"

#define NETWORK_TEST_STATUS                                                                              \
    L"Testing network printers\x2026 (a printer that is switched off can take a few seconds to give up on)"

volatile long g_check_running;

static ULONGLONG g_next_update_check;
static int g_old_copy_attempts;

static void status(const wchar_t* text) {
    if (g_services.status_text) g_services.status_text(text);
}

static void demo_snapshot(Snapshot* s) {
    LocalTime now;
    uint64_t utc = 0;
    demo_clock(&now, &utc);
    build_demo_snapshot(s, &now, utc);
}

void refresh_findings() {
    if (g_snapshot) {
        if (g_search_result) mark_installed(g_search_result, g_snapshot);
        remember_known_printers(g_snapshot, g_search_result, g_process.demo);
    }
    diagnose();
}

void start_check(int with_network_test, const wchar_t* address) {
    if (!check_request(&g_check_cycle, &g_check_running, with_network_test, address)) return;
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    if (!request) {
        __atomic_exchange_n(&g_check_running, 0, __ATOMIC_SEQ_CST);
        return;
    }
    request->withNetworkTest = with_network_test ? 1 : 0;
    text_copy(request->onlyAddress, _countof(request->onlyAddress), address);
    if (with_network_test) g_check_cycle.lastNetworkTestStart = GetTickCount64();
    HANDLE thread = CreateThread(nullptr, 0, check_worker_thread, request, 0, nullptr);
    if (thread) {
        CloseHandle(thread);
    } else {
        free(request);
        __atomic_exchange_n(&g_check_running, 0, __ATOMIC_SEQ_CST);
    }
    if (with_network_test) status(NETWORK_TEST_STATUS);
}

static void log_summary_line(const wchar_t* line) { log_line(L"%ls", line); }

void on_check_done(Snapshot* s) {
    if (!s) return;
    Snapshot* old = g_snapshot;
    g_snapshot = s;
    snapshot_free(old);
    __atomic_exchange_n(&g_check_running, 0, __ATOMIC_SEQ_CST);

    if (g_process.demo && !g_search_result) g_search_result = new_demo_search_result();
    refresh_findings();
    if (g_services.refresh_lists) g_services.refresh_lists();

    log_change_summary(&g_check_cycle, &g_findings, g_snapshot, log_summary_line);

    if (g_settings.autoNetTest && !g_check_cycle.autoSearchStarted && !g_process.demo && !g_search_result &&
        wants_auto_search(g_snapshot)) {
        g_check_cycle.autoSearchStarted = 1;
        start_network_search(0);
    }

    if (g_check_cycle.pending) {
        int with_network_test = g_check_cycle.pendingNetworkTest;
        wchar_t address[200];
        text_copy(address, _countof(address), g_check_cycle.pendingAddress);
        g_check_cycle.pending = 0;
        g_check_cycle.pendingNetworkTest = 0;
        g_check_cycle.pendingAddress[0] = 0;
        start_check(with_network_test, address);
    }
}

static void delete_old_copy() {
    wchar_t path[MAX_PATH + 8];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    text_append(path, _countof(path), L".old");
    DeleteFileW(path);
}

void on_check_timer(HWND window, UINT_PTR id) {
    if (id == 1) {
        int with_network_test = 0;
        if (check_tick(&g_check_cycle, g_settings.autoCheck, g_settings.autoNetTest, g_process.demo, GetTickCount64(),
                       &with_network_test))
            start_check(with_network_test, nullptr);
    } else if (id == 2) {
        // The update check is started here once the updater exists; the schedule is kept already.
        if (g_settings.autoUpdate && GetTickCount64() >= g_next_update_check)
            g_next_update_check = GetTickCount64() + 21600000;
    } else if (id == 3) {
        delete_old_copy();
        if (++g_old_copy_attempts >= 5) KillTimer(window, 3);
    } else if (id == 4) {
        KillTimer(window, 4);
        start_check(0, nullptr);
    }
}

void check_cycle_start(HWND window) {
    CheckWorker worker = {};
    worker.window = window;
    worker.checkRunning = reinterpret_cast<volatile LONG*>(&g_check_running);
    worker.buildDemo = g_process.demo ? demo_snapshot : nullptr;
    check_worker_configure(&worker);
    g_services.start_check = start_check;

    NetworkSearchHooks hooks = g_search_hooks;
    hooks.window = window;
    hooks.demo_shown = [](int) {
        diagnose();
        if (g_services.refresh_lists) g_services.refresh_lists();
    };
    hooks.started = [] { status(VANTREL_SEARCH_STARTED_TEXT); };
    g_search_hooks = hooks;

    SetTimer(window, 1, 1000, nullptr);
    SetTimer(window, 2, 30000, nullptr);
    SetTimer(window, 3, 3000, nullptr);
    g_next_update_check = GetTickCount64() + 8000;
    log_line(L"Vantrel %ls started%ls", VANTREL_VERSION_TEXT, g_process.elevated ? L" (as administrator)" : L"");
    if (g_app.cmd.updated)
        log_line(L"Vantrel was updated from %ls to %ls", g_app.cmd.updatedFrom, VANTREL_VERSION_TEXT);
    start_check(g_settings.autoNetTest, nullptr);
}
