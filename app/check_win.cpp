// The check cycle's Windows side: starting the worker thread, the timers, and the hand-over of a
// finished snapshot or search result on the interface thread, over the session the window holds.
#include <windows.h>

#include <stdlib.h>

#include "app/check.h"
#include "collect/collector_win.h"
#include "core/demo.h"
#include "core/diagnose.h"
#include "core/known.h"
#include "core/log_file.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/thread_win.h"
#include "net/addresses.h"
#include "net/installed.h"
#include "net/netlogic.h"
#include "net/search.h"
#include "ui/ui_services.h"

#define NETWORK_TEST_STATUS                                                                                  \
    L"Testing network printers\x2026 (a printer that is switched off can take a few seconds to give up on)"

static void demo_snapshot(Snapshot* s) {
    LocalTime now;
    uint64_t utc = 0;
    demo_clock(&now, &utc);
    build_demo_snapshot(s, &now, utc);
}

void refresh_findings(Session* session) {
    if (session->snapshot) {
        if (session->search) mark_installed(session->search, session->snapshot);
        remember_known_printers(session->snapshot, session->search, g_process.demo);
    }
    diagnose(session);
}

// The checks run one at a time on one long-lived thread rather than a new thread each: under Wine
// a thread's start and end cost about 3 ms of CPU (every loaded DLL is told of both), a good part
// of what an idle check costs. The window's check-running flag keeps it to one check at a time,
// so one waiting start record is all the thread needs; it takes it when the event wakes it.
namespace {
HANDLE g_check_wake = nullptr;
void* volatile g_check_waiting = nullptr; // a CheckStart

DWORD WINAPI check_thread_loop(void*) {
    for (;;) {
        WaitForSingleObject(g_check_wake, INFINITE);
        void* taken = InterlockedExchangePointer(&g_check_waiting, nullptr);
        if (taken) check_worker_thread(taken);
    }
}

// 1 when the check was handed to a thread (which then owns start).
int run_check_on_thread(CheckStart* start) {
    if (!g_check_wake) {
        HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        HANDLE thread = wake ? CreateThread(nullptr, 0, check_thread_loop, nullptr, 0, nullptr) : nullptr;
        if (!thread) {
            if (wake) CloseHandle(wake);
            return start_thread(check_worker_thread, start); // a thread of its own, as before
        }
        CloseHandle(thread);
        g_check_wake = wake;
    }
    InterlockedExchangePointer(&g_check_waiting, start);
    SetEvent(g_check_wake);
    return 1;
}
} // namespace

void start_check(Session* session, int with_network_test, const wchar_t* address) {
    if (!check_request(&session->cycle, &session->checkRunning, with_network_test, address)) return;
    CheckStart* start = static_cast<CheckStart*>(calloc(1, sizeof(CheckStart)));
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    if (!start || !request) {
        free(start);
        free(request);
        __atomic_exchange_n(&session->checkRunning, 0, __ATOMIC_SEQ_CST);
        return;
    }
    request->withNetworkTest = with_network_test ? 1 : 0;
    text_copy(request->onlyAddress, _countof(request->onlyAddress), address);
    start->request = request;
    start->settings = g_settings;
    start->worker.window = static_cast<HWND>(g_ui.main_window());
    start->worker.checkRunning = reinterpret_cast<volatile LONG*>(&session->checkRunning);
    start->worker.buildDemo = g_process.demo ? demo_snapshot : nullptr;
    if (with_network_test) session->cycle.lastNetworkTestStart = GetTickCount64();
    if (!run_check_on_thread(start)) {
        free(request);
        free(start);
        __atomic_exchange_n(&session->checkRunning, 0, __ATOMIC_SEQ_CST);
    }
    if (with_network_test) g_ui.status_text(NETWORK_TEST_STATUS);
}

static void log_summary_line(const wchar_t* line) {
    log_line(L"%ls", line);
}

uint32_t on_check_done(Session* session, Snapshot* s) {
    if (!s) return 0;
    session_take_snapshot(session, s);
    __atomic_exchange_n(&session->checkRunning, 0, __ATOMIC_SEQ_CST);

    if (g_process.demo && !session->search) session->search = new_demo_search_result();
    refresh_findings(session);
    CheckCycle* cycle = &session->cycle;
    log_change_summary(cycle, &session->findings, session->snapshot, log_summary_line);

    if (g_settings.autoNetTest && !cycle->autoSearchStarted && !g_process.demo && !session->search &&
        wants_auto_search(session->snapshot)) {
        cycle->autoSearchStarted = 1;
        start_network_search(session, 0);
    }

    if (cycle->pending) {
        int with_network_test = cycle->pendingNetworkTest;
        wchar_t address[200];
        text_copy(address, _countof(address), cycle->pendingAddress);
        cycle->pending = 0;
        cycle->pendingNetworkTest = 0;
        cycle->pendingAddress[0] = 0;
        start_check(session, with_network_test, address);
    }
    return RefreshLists | RefreshBanner;
}

uint32_t on_search_name(Session* session, SearchName* name) {
    const int changed = fill_late_name(session->search, name);
    free(name);
    if (!changed) return 0;
    // The name can tie a found printer to an installed one (mark_installed matches short names).
    refresh_findings(session);
    return RefreshLists | RefreshBanner;
}

void on_check_tick(Session* session) {
    int with_network_test = 0;
    if (check_tick(&session->cycle, g_settings.autoCheck, g_settings.autoNetTest, g_process.demo,
                   GetTickCount64(), &with_network_test))
        start_check(session, with_network_test, nullptr);
}

void check_cycle_start(Session* session) {
    start_check(session, g_settings.autoNetTest, nullptr);
}

int start_network_search(Session* session, int show_view) {
    if (g_process.demo) {
        NetworkSearchResult* demo = new_demo_search_result();
        if (demo) {
            session_take_search(session, demo);
            if (session->snapshot) mark_installed(session->search, session->snapshot);
        }
        diagnose(session);
        g_ui.refresh(RefreshLists | RefreshBanner | RefreshRibbon);
        if (show_view) g_ui.switch_view(ViewNetworkPrinters);
        return 1;
    }
    // A scan range that does not parse is never widened into the PC's own networks: nothing is
    // swept, and the status line says which range was refused and why.
    wchar_t refused[200];
    if (scan_range_refusal(g_process.scanRange, refused, _countof(refused))) {
        g_ui.status_text(refused);
        return 0;
    }
    SearchRequest request = {};
    search_request_of(session->snapshot, show_view, g_settings.askPrinter, g_process.scanRange, &request);
    if (!start_search_thread(&request, static_cast<HWND>(g_ui.main_window()))) return 0;
    g_ui.status_text(VANTREL_SEARCH_STARTED_TEXT);
    g_ui.refresh(RefreshLists | RefreshRibbon);
    return 1;
}

uint32_t on_search_done(Session* session, NetworkSearchResult* result) {
    network_search_finished();
    session_take_search(session, result);
    refresh_findings(session);
    uint32_t flags = RefreshLists | RefreshBanner | RefreshRibbon;
    const NetworkSearchResult* kept = session->search;
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
