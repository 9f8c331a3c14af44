// The network search's thread. The sweep knocks on up to 250 addresses at a time with one 900 ms
// budget per batch, so a silent /24 costs at most 3 passes x 2 batches x 0.9 s; responders are then
// asked one after the other.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <stdlib.h>
#include <string.h>

#include "core/demo.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui_services.h"
#include "core/diagnose.h"
#include "net/installed.h"
#include "net/ipv4.h"
#include "net/net_test.h"
#include "net/netlogic.h"
#include "net/probe.h"
#include "net/search.h"
#include "net/snmp.h"

static std::atomic<int> g_in_progress{0};

NetworkSearchResult* search_result_new() {
    return static_cast<NetworkSearchResult*>(calloc(1, sizeof(NetworkSearchResult)));
}

void search_result_free(NetworkSearchResult* result) {
    free(result);
}

int network_search_in_progress() {
    return g_in_progress.load();
}

void network_search_finished() {
    g_in_progress.exchange(0);
}

static void post_progress(HWND window, int percent) {
    if (window) PostMessageW(window, MsgSearchProgress, (WPARAM)percent, 0);
}

static void sweep(SweepList* list, const LocalSubnet* own, int own_count, HWND window) {
    static const uint16_t ports[3] = {9100, 515, 631};
    static const int32_t bits[3] = {FoundPort9100, FoundPort515, FoundPort631};
    TcpProbe probes[kSweepBatch];
    int index_of[kSweepBatch];
    int done = 0;
    for (int pass = 0; pass < 3; ++pass) {
        for (int start = 0; start < list->count; start += kSweepBatch) {
            int end = start + kSweepBatch < list->count ? start + kSweepBatch : list->count;
            int n = 0;
            for (int i = start; i < end; ++i) {
                if (subnet_list_is_own_address(own, own_count, list->addresses[i])) continue;
                probes[n].address = list->addresses[i];
                probes[n].port = ports[pass];
                index_of[n] = i;
                ++n;
            }
            probe_tcp(probes, n, 900);
            for (int k = 0; k < n; ++k)
                if (probes[k].open) list->masks[index_of[k]] |= bits[pass];
            done += end - start;
            post_progress(window, sweep_progress(done, list->count));
        }
    }
}

static void learn_responder(FoundPrinter* f, const LocalSubnet* own, int own_count, int ask_printer,
                            NetTestResult* scratch) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(f->ipValue);
    static wchar_t host[1025];
    if (GetNameInfoW((const SOCKADDR*)&address, sizeof(address), host, _countof(host), nullptr, 0,
                     NI_NAMEREQD) == 0)
        text_copy(f->hostName, _countof(f->hostName), host);
    if (subnet_list_contains(own, own_count, f->ipValue)) arp_mac(f->ipValue, f->mac, _countof(f->mac));
    if (!ask_printer) return;
    memset(scratch, 0, sizeof(*scratch));
    scratch->pageCount = -1;
    // With the MAC from ARP already known, the query does not ask ifPhysAddress.
    text_copy(scratch->mac, _countof(scratch->mac), f->mac);
    snmp_query_printer(scratch, f->ipValue, L"");
    text_copy(f->model, _countof(f->model), scratch->model);
    text_copy(f->description, _countof(f->description), scratch->sysDescr);
    text_copy(f->serial, _countof(f->serial), scratch->serial);
    text_copy(f->sysName, _countof(f->sysName), scratch->sysName);
    text_copy(f->mac, _countof(f->mac), scratch->mac);
    f->pageCount = scratch->pageCount;
}

NetworkSearchResult* run_network_search(const SearchRequest* request, HWND progress_window) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    NetworkSearchResult* result = search_result_new();
    SweepList* list = static_cast<SweepList*>(calloc(1, sizeof(SweepList)));
    NetTestResult* scratch = static_cast<NetTestResult*>(calloc(1, sizeof(NetTestResult)));
    if (!result || !list || !scratch) {
        search_result_free(result);
        free(list);
        free(scratch);
        return nullptr;
    }
    static_assert(sizeof(LocalTime) == sizeof(SYSTEMTIME), "LocalTime is laid out like SYSTEMTIME");
    memcpy(&result->startedAt, &now, sizeof(now));
    result->showView = request ? request->showView : 0;

    LocalSubnet own[kMaxLocalSubnets];
    int own_count = list_local_subnets(own);
    choose_ranges(list, result->rangesText, _countof(result->rangesText), request ? request->scanRange : L"",
                  own, own_count, request ? request->extraAddresses : nullptr,
                  request ? request->extraCount : 0);
    result->addressesSwept = list->count;

    sweep(list, own, own_count, progress_window);

    int responders = 0;
    for (int i = 0; i < list->count; ++i)
        if (list->masks[i]) ++responders;
    int processed = 0;
    for (int i = 0; i < list->count && result->count < kMaxFoundPrinters; ++i) {
        if (!list->masks[i]) continue;
        FoundPrinter* f = &result->printers[result->count++];
        f->ports = list->masks[i];
        f->ipValue = list->addresses[i];
        f->pageCount = -1;
        format_ipv4(f->ipValue, f->ip, _countof(f->ip));
        learn_responder(f, own, own_count, request ? request->askPrinter : 0, scratch);
        post_progress(progress_window, responder_progress(++processed, responders));
    }
    free(list);
    free(scratch);
    sort_found_printers(result->printers, result->count);
    return result;
}

struct SearchThreadStart {
    SearchRequest request;
    HWND window;
};

static DWORD WINAPI search_thread(void* param) {
    SearchThreadStart* start = static_cast<SearchThreadStart*>(param);
    HWND window = start->window;
    NetworkSearchResult* result = run_network_search(&start->request, window);
    free(start);
    // The poster frees the block only when nobody took it.
    if (!window || !PostMessageW(window, MsgSearchDone, 0, (LPARAM)result)) {
        search_result_free(result);
        network_search_finished();
    }
    return 0;
}

void search_request_now(int show_view, SearchRequest* request) {
    build_search_request(g_snapshot, show_view, request);
    request->askPrinter = g_settings.askPrinter;
    text_copy(request->scanRange, _countof(request->scanRange), g_process.scanRange);
}

int start_network_search(int show_view) {
    if (g_process.demo) {
        NetworkSearchResult* demo = new_demo_search_result();
        if (demo) {
            search_result_free(g_search_result);
            g_search_result = demo;
            if (g_snapshot) mark_installed(g_search_result, g_snapshot);
        }
        diagnose();
        g_ui.refresh(RefreshLists | RefreshBanner | RefreshRibbon);
        if (show_view) g_ui.switch_view(ViewNetworkPrinters);
        return 1;
    }
    int expected = 0;
    if (!g_in_progress.compare_exchange_strong(expected, 1)) return 0;
    SearchThreadStart* start = static_cast<SearchThreadStart*>(calloc(1, sizeof(SearchThreadStart)));
    if (!start) {
        g_in_progress.exchange(0);
        return 0;
    }
    search_request_now(show_view, &start->request);
    start->window = static_cast<HWND>(g_ui.main_window());
    HANDLE thread = CreateThread(nullptr, 0, search_thread, start, 0, nullptr);
    if (!thread) {
        free(start);
        g_in_progress.exchange(0);
        return 0;
    }
    CloseHandle(thread);
    g_ui.status_text(VANTREL_SEARCH_STARTED_TEXT);
    g_ui.refresh(RefreshLists | RefreshRibbon);
    return 1;
}
