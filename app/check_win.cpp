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
#include "core/messages.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/thread_win.h"
#include "core/ui_services.h"
#include "history/log_file.h"
#include "net/installed.h"
#include "net/search.h"

#define NETWORK_TEST_STATUS                                                                                  \
    L"Testing network printers\x2026 (a printer that is switched off can take a few seconds to give up on)"

volatile long g_check_running;

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
    CheckStart* start = static_cast<CheckStart*>(calloc(1, sizeof(CheckStart)));
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    if (!start || !request) {
        free(start);
        free(request);
        __atomic_exchange_n(&g_check_running, 0, __ATOMIC_SEQ_CST);
        return;
    }
    request->withNetworkTest = with_network_test ? 1 : 0;
    text_copy(request->onlyAddress, _countof(request->onlyAddress), address);
    start->request = request;
    start->settings = g_settings;
    start->worker.window = static_cast<HWND>(g_ui.main_window());
    start->worker.checkRunning = reinterpret_cast<volatile LONG*>(&g_check_running);
    start->worker.buildDemo = g_process.demo ? demo_snapshot : nullptr;
    if (with_network_test) g_check_cycle.lastNetworkTestStart = GetTickCount64();
    if (!start_thread(check_worker_thread, start)) {
        free(request);
        free(start);
        __atomic_exchange_n(&g_check_running, 0, __ATOMIC_SEQ_CST);
    }
    if (with_network_test) g_ui.status_text(NETWORK_TEST_STATUS);
}

static void log_summary_line(const wchar_t* line) {
    log_line(L"%ls", line);
}

uint32_t on_check_done(Snapshot* s) {
    if (!s) return 0;
    Snapshot* old = g_snapshot;
    g_snapshot = s;
    snapshot_free(old);
    __atomic_exchange_n(&g_check_running, 0, __ATOMIC_SEQ_CST);

    if (g_process.demo && !g_search_result) g_search_result = new_demo_search_result();
    refresh_findings();
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
    return RefreshLists | RefreshBanner;
}

void on_check_timer(HWND window, UINT_PTR id) {
    if (id == TimerCheckTick) {
        int with_network_test = 0;
        if (check_tick(&g_check_cycle, g_settings.autoCheck, g_settings.autoNetTest, g_process.demo,
                       GetTickCount64(), &with_network_test))
            start_check(with_network_test, nullptr);
    } else if (id == TimerTestPage) {
        KillTimer(window, TimerTestPage);
        start_check(0, nullptr);
    }
}

void check_cycle_start() {
    start_check(g_settings.autoNetTest, nullptr);
}

uint32_t on_search_done(NetworkSearchResult* result) {
    network_search_finished();
    if (result) {
        search_result_free(g_search_result);
        g_search_result = result;
    }
    refresh_findings();
    uint32_t flags = RefreshLists | RefreshBanner | RefreshRibbon;
    const NetworkSearchResult* kept = g_search_result;
    if (!kept) return flags;
    int installed = 0;
    for (int32_t i = 0; i < kept->count && i < kMaxFoundPrinters; i++)
        installed += kept->printers[i].installedAs[0] != 0;
    wchar_t line[700];
    text_format(line, _countof(line),
                L"Network search done: %d printer%ls found among %d addresses (%ls); %d of them installed on "
                L"this PC.",
                kept->count, kept->count == 1 ? L"" : L"s", kept->addressesSwept, kept->rangesText,
                installed);
    g_ui.status_text(line);
    log_line(L"%ls", line);
    if (result && result->showView && g_settings.view != ViewNetworkPrinters)
        g_ui.switch_view(ViewNetworkPrinters);
    return flags;
}
