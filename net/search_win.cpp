// The network search's thread. The sweep knocks on up to 250 addresses at a time per port with one
// 900 ms budget per batch, the three ports' passes side by side, so a silent /24 costs at most
// 2 batches x 0.9 s; responders are then learnt up to sixteen at a time, while their reverse
// lookups run beside them for at most 2 s (a name that comes later is posted on its own).
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <stdlib.h>
#include <string.h>

#include "core/parallel.h"
#include "core/text.h"
#include "core/thread_win.h"
#include "net/ipv4.h"
#include "net/net_test.h"
#include "net/netlogic.h"
#include "net/probe.h"
#include "net/reverse_names.h"
#include "net/search.h"
#include "net/snmp.h"

static std::atomic<int> g_in_progress{0};

// How long the search waits for a responder's reverse name before handing over without it.
static const DWORD kNameBoundMs = 2000;

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

// Progress comes from several threads; taking the count and posting under one lock keeps the
// percentages the window sees rising.
struct Progress {
    HWND window = nullptr;
    std::mutex lock;
    int done = 0;
};

static void post_progress(Progress* progress, int add, int (*percent)(int done, int total), int total) {
    std::lock_guard<std::mutex> hold(progress->lock);
    progress->done += add;
    if (progress->window)
        PostMessageW(progress->window, MsgSearchProgress, (WPARAM)percent(progress->done, total), 0);
}

// The three passes, one per port, sweep the list side by side; each keeps the addresses that
// answered in a list of its own, merged into the masks once all three have ended.
struct Sweep {
    SweepList* list;
    const LocalSubnet* own;
    int ownCount;
    uint8_t (*open)[kMaxSweepAddresses]; // [pass][address]
    Progress* progress;
};

static const uint16_t kSweepPorts[3] = {9100, 515, 631};
static const int32_t kSweepBits[3] = {FoundPort9100, FoundPort515, FoundPort631};

static void sweep_pass(void* arg, int pass) {
    Sweep* sweep = static_cast<Sweep*>(arg);
    const SweepList* list = sweep->list;
    TcpProbe probes[kSweepBatch];
    int index_of[kSweepBatch];
    for (int start = 0; start < list->count; start += kSweepBatch) {
        int end = start + kSweepBatch < list->count ? start + kSweepBatch : list->count;
        int n = 0;
        for (int i = start; i < end; ++i) {
            if (subnet_list_is_own_address(sweep->own, sweep->ownCount, list->addresses[i])) continue;
            probes[n].address = list->addresses[i];
            probes[n].port = kSweepPorts[pass];
            index_of[n] = i;
            ++n;
        }
        probe_tcp(probes, n, 900);
        for (int k = 0; k < n; ++k)
            if (probes[k].open) sweep->open[pass][index_of[k]] = 1;
        post_progress(sweep->progress, end - start, sweep_progress, list->count);
    }
}

static void sweep(SweepList* list, const LocalSubnet* own, int own_count, uint8_t (*open)[kMaxSweepAddresses],
                  Progress* progress) {
    Sweep work = {list, own, own_count, open, progress};
    run_parallel(3, 3, sweep_pass, &work);
    for (int pass = 0; pass < 3; ++pass)
        for (int i = 0; i < list->count; ++i)
            if (open[pass][i]) list->masks[i] |= kSweepBits[pass];
}

// Each responder is learnt on a worker of its own: its ARP request beside its SNMP query, which
// takes the MAC that ARP found. Workers write only their own FoundPrinter. The reverse lookups run
// apart (reverse_names_win.cpp), so a silent DNS server holds up nothing.
struct Responders {
    FoundPrinter* printers;
    const LocalSubnet* own;
    int ownCount;
    int askPrinter;
    int responders; // every address that answered, the 257th and later included
    Progress* progress;
};

static void learn_identity(FoundPrinter* f, const Responders* all) {
    if (subnet_list_contains(all->own, all->ownCount, f->ipValue))
        arp_mac(f->ipValue, f->mac, _countof(f->mac));
    if (!all->askPrinter) return;
    NetTestResult scratch = {};
    scratch.pageCount = -1;
    // With the MAC from ARP already known, the query does not ask ifPhysAddress.
    text_copy(scratch.mac, _countof(scratch.mac), f->mac);
    snmp_query_printer(&scratch, f->ipValue, L"");
    text_copy(f->model, _countof(f->model), scratch.model);
    text_copy(f->description, _countof(f->description), scratch.sysDescr);
    text_copy(f->serial, _countof(f->serial), scratch.serial);
    text_copy(f->sysName, _countof(f->sysName), scratch.sysName);
    text_copy(f->mac, _countof(f->mac), scratch.mac);
    f->pageCount = scratch.pageCount;
}

static void learn_responder(void* arg, int index) {
    const Responders* all = static_cast<const Responders*>(arg);
    learn_identity(&all->printers[index], all);
    post_progress(all->progress, 1, responder_progress, all->responders);
}

NetworkSearchResult* run_network_search(const SearchRequest* request, HWND progress_window) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    NetworkSearchResult* result = search_result_new();
    SweepList* list = static_cast<SweepList*>(calloc(1, sizeof(SweepList)));
    uint8_t(*open)[kMaxSweepAddresses] =
        static_cast<uint8_t(*)[kMaxSweepAddresses]>(calloc(3, sizeof(*open)));
    if (!result || !list || !open) {
        search_result_free(result);
        free(list);
        free(open);
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

    Progress sweep_progress_state;
    sweep_progress_state.window = progress_window;
    sweep(list, own, own_count, open, &sweep_progress_state);

    int responders = 0;
    for (int i = 0; i < list->count; ++i)
        if (list->masks[i]) ++responders;
    for (int i = 0; i < list->count && result->count < kMaxFoundPrinters; ++i) {
        if (!list->masks[i]) continue;
        FoundPrinter* f = &result->printers[result->count++];
        f->ports = list->masks[i];
        f->ipValue = list->addresses[i];
        f->pageCount = -1;
        format_ipv4(f->ipValue, f->ip, _countof(f->ip));
    }
    free(list);
    free(open);

    Progress responder_progress_state;
    responder_progress_state.window = progress_window;
    Responders all;
    all.printers = result->printers;
    all.own = own;
    all.ownCount = own_count;
    all.askPrinter = request ? request->askPrinter : 0;
    all.responders = responders;
    all.progress = &responder_progress_state;
    NameLookups* names = start_name_lookups(result->printers, result->count, progress_window, nullptr);
    run_parallel(result->count, kNetworkWorkers, learn_responder, &all);
    take_names(names, result->printers, result->count, kNameBoundMs);
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

void search_request_of(const Snapshot* s, int show_view, int ask_printer, const wchar_t* scan_range,
                       SearchRequest* request) {
    build_search_request(s, show_view, request);
    request->askPrinter = ask_printer;
    text_copy(request->scanRange, _countof(request->scanRange), scan_range);
}

int start_search_thread(const SearchRequest* request, HWND window) {
    int expected = 0;
    if (!g_in_progress.compare_exchange_strong(expected, 1)) return 0;
    SearchThreadStart* start = static_cast<SearchThreadStart*>(calloc(1, sizeof(SearchThreadStart)));
    if (!start) {
        g_in_progress.exchange(0);
        return 0;
    }
    start->request = *request;
    start->window = window;
    if (!start_thread(search_thread, start)) {
        free(start);
        g_in_progress.exchange(0);
        return 0;
    }
    return 1;
}
