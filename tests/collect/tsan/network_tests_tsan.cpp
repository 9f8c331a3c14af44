// Built natively with ThreadSanitizer by run_tsan.sh: the check's network tests run sixteen at a
// time must give the snapshot and the cache that one after another gives, on a PC with silent,
// refused, healthy and shared addresses, duplicates, a virtual printer and a check of one address,
// never running more at a time than allowed; and the SNMP request identifiers stay unique when many
// threads take them.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <thread>

#include "collect/collector.h"
#include "core/parallel.h"
#include "core/text.h"
#include "net/ber.h"

static int g_failures = 0;
#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition);                          \
            ++g_failures;                                                                                    \
        }                                                                                                    \
    } while (0)

namespace {
// The fake network: what an address answers depends on the address alone; how long it takes
// differs, so the tests end in another order than they start.
struct FakeNetwork {
    NetResultCache cache;
    std::atomic<int> running{0}, most{0}, tests{0};
};

int fake_test(void* ctx, NetTestResult* r, const wchar_t* target, int ask_snmp, const wchar_t* community) {
    FakeNetwork* net = static_cast<FakeNetwork*>(ctx);
    int now = ++net->running;
    for (int seen = net->most.load(); now > seen && !net->most.compare_exchange_weak(seen, now);) {
    }
    ++net->tests;
    const wchar_t* dot = wcsrchr(target, L'.');
    int last = dot ? (int)wcstol(dot + 1, nullptr, 10) : 0; // 0: a name that does not resolve
    memset(r, 0, sizeof(*r));
    text_copy(r->target, _countof(r->target), target);
    r->tested = 1;
    r->resolved = last > 0;
    r->pingOk = r->portOpen[last % 6] = last > 0 && last < 200; // 200 and above are silent
    r->snmpAsked = ask_snmp && r->resolved;
    r->snmpAnswered = ask_snmp && r->pingOk;
    r->pageCount = r->snmpAnswered ? 1000 + last : -1;
    text_copy(r->sysName, _countof(r->sysName), community);
    std::this_thread::sleep_for(std::chrono::milliseconds(last >= 200 ? 40 : 1 + last % 7));
    --net->running;
    return 0;
}

int fake_put(void* ctx, const NetTestResult* r) {
    return net_cache_store(&static_cast<FakeNetwork*>(ctx)->cache, r);
}

int fake_get(void* ctx, const wchar_t* target, NetTestResult* out) {
    const NetTestResult* hit = net_cache_find(&static_cast<FakeNetwork*>(ctx)->cache, target);
    if (hit) *out = *hit;
    return hit != nullptr;
}

void add_printer(Snapshot* s, const wchar_t* address, ConnectionKind kind = KindTcpIp, int is_virtual = 0) {
    PrinterRecord* p = &s->printers[s->printerCount++];
    text_format(p->name, _countof(p->name), L"Printer %d", s->printerCount);
    text_copy(p->address, _countof(p->address), address);
    text_format(p->snmpCommunity, _countof(p->snmpCommunity), L"community %d", s->printerCount % 3);
    p->kind = kind;
    p->isVirtual = is_virtual;
}

// A PC with every kind of address, 60 printers in all.
void build_pc(Snapshot* s) {
    add_printer(s, L"10.0.0.210");           // silent
    add_printer(s, L"10.0.0.5");             // healthy
    add_printer(s, L"printer.unknown");      // a name that does not resolve
    add_printer(s, L"10.0.0.5");             // the same address again
    add_printer(s, L"10.0.0.8", KindShared); // a PC sharing a printer: no SNMP
    add_printer(s, L"10.0.0.9", KindTcpIp, 1);
    add_printer(s, L"");
    add_printer(s, L"10.0.0.210");
    // A pool's other ports: one an address of its own, one a printer's address already tested.
    for (const wchar_t* address : {L"10.0.2.7", L"10.0.0.5"}) {
        PoolMember* m = &s->poolMembers[s->poolMemberCount++];
        m->printerIndex = 1;
        m->position = s->poolMemberCount;
        text_copy(m->address, _countof(m->address), address);
    }
    for (int i = 0; i < 52; ++i) {
        wchar_t address[32];
        text_format(address, _countof(address), L"10.0.1.%d", i * 5 % 256);
        add_printer(s, address);
    }
}

struct Outcome {
    std::unique_ptr<Snapshot> s{new Snapshot()};
    std::unique_ptr<FakeNetwork> net{new FakeNetwork()};
};

std::unique_ptr<Outcome> check(int workers, const wchar_t* only_address, const FakeNetwork* cache_before) {
    std::unique_ptr<Outcome> o(new Outcome());
    if (cache_before) o->net->cache = cache_before->cache;
    build_pc(o->s.get());
    CheckRequest request = {1, {}};
    text_copy(request.onlyAddress, _countof(request.onlyAddress), only_address);
    Settings settings = {};
    settings.askPrinter = 1;
    CollectorPlatform platform = {};
    platform.ctx = o->net.get();
    platform.net_test = fake_test;
    platform.cache_put = fake_put;
    platform.cache_get = fake_get;
    platform.netWorkers = workers;
    run_network_tests(o->s.get(), &request, &settings, &platform);
    merge_cached_results(o->s.get(), &platform);
    return o;
}

void same_outcome(const Outcome& a, const Outcome& b) {
    CHECK(memcmp(a.s->printers, b.s->printers, sizeof(a.s->printers)) == 0);
    CHECK(memcmp(a.s->poolMembers, b.s->poolMembers, sizeof(a.s->poolMembers)) == 0);
    CHECK(memcmp(&a.net->cache, &b.net->cache, sizeof(a.net->cache)) == 0);
    CHECK(a.net->tests.load() == b.net->tests.load());
}

void concurrent_checks_give_the_sequential_snapshot() {
    auto one = check(1, L"", nullptr), many = check(kNetworkWorkers, L"", nullptr);
    same_outcome(*one, *many);
    CHECK(one->net->most.load() == 1);
    CHECK(many->net->most.load() > 1 && many->net->most.load() <= kNetworkWorkers);
    // 60 printers less no address, a virtual one and two repeats, and the pool's own address.
    CHECK(many->net->tests.load() == 57);
    CHECK(many->s->poolMembers[0].tested == 1 && many->s->poolMembers[0].answered == 1);
    CHECK(many->s->poolMembers[1].answered == 1);
    CHECK(many->s->printers[3].net.pageCount == 1005 && many->s->printers[4].net.snmpAsked == 0);
    CHECK(many->s->printers[5].net.tested == 0);

    // A check of one address, after the full one: that address is tested again, the rest cached.
    auto only_one = check(1, L"10.0.0.210", many->net.get());
    auto only_many = check(kNetworkWorkers, L"10.0.0.210", many->net.get());
    same_outcome(*only_one, *only_many);
    CHECK(only_many->net->tests.load() == 1);
    CHECK(only_many->s->printers[1].net.tested == 1);
}

void request_ids_stay_unique_across_threads() {
    static uint32_t ids[8][2000];
    run_parallel(
        8, 8,
        [](void*, int t) {
            for (int i = 0; i < 2000; ++i)
                ids[t][i] = snmp_next_request_id();
        },
        nullptr);
    std::set<uint32_t> unique;
    for (auto& row : ids)
        for (uint32_t id : row)
            unique.insert(id);
    CHECK(unique.size() == 16000u);
}
} // namespace

int main() {
    concurrent_checks_give_the_sequential_snapshot();
    request_ids_stay_unique_across_threads();
    if (g_failures)
        fprintf(stderr, "%d check(s) failed\n", g_failures);
    else
        printf("all checks passed\n");
    return g_failures ? 1 : 0;
}
