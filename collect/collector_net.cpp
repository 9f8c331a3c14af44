// The check's network tests: which addresses a request covers (each printer's once, then the pool
// ports no printer covers), running them side by side, and what each result becomes in the
// snapshot, directly or from the process-wide cache.
#include "collector.h"

#include <stdlib.h>
#include <string.h>

#include "core/parallel.h"
#include "core/text.h"

int32_t choose_network_tests(const Snapshot* s, const CheckRequest* request, const Settings* settings,
                             int32_t* which) {
    int32_t count = 0;
    for (int32_t i = 0; i < s->printerCount; i++) {
        const PrinterRecord* p = &s->printers[i];
        if (!p->address[0]) continue;
        if (p->isVirtual && !settings->checkVirtual) continue;
        if (request->onlyAddress[0] && !text_equal_ci(request->onlyAddress, p->address)) continue;
        int earlier = 0;
        for (int32_t k = 0; k < count && !earlier; k++)
            earlier = text_equal_ci(s->printers[which[k]].address, p->address);
        if (earlier) continue; // the cached copy gives it the same result
        which[count++] = i;
    }
    return count;
}

// Pool ports beyond the ones a printer's own address already covers, each address once, and none
// that a printer chosen for this pass is tested at.
int32_t choose_pool_tests(const Snapshot* s, const CheckRequest* request, const int32_t* printers,
                          int32_t printer_count, int32_t* which) {
    int32_t count = 0;
    for (int32_t m = 0; m < clamp_count(s->poolMemberCount, kMaxPoolMembers); m++) {
        const PoolMember* member = &s->poolMembers[m];
        if (!member->address[0]) continue;
        if (request->onlyAddress[0] && !text_equal_ci(request->onlyAddress, member->address)) continue;
        int earlier = 0;
        for (int32_t k = 0; k < printer_count && !earlier; k++)
            earlier = text_equal_ci(s->printers[printers[k]].address, member->address);
        for (int32_t k = 0; k < count && !earlier; k++)
            earlier = text_equal_ci(s->poolMembers[which[k]].address, member->address);
        if (!earlier) which[count++] = m;
    }
    return count;
}

void pool_member_result(PoolMember* member, const NetTestResult* n) {
    member->tested = n->tested;
    int answered = n->pingOk || n->rpcPortOpen;
    for (int i = 0; i < kPortProbeCount; i++)
        answered |= n->portOpen[i] != 0;
    member->answered = n->tested && n->resolved && answered;
}

namespace {
struct NetTests {
    const Snapshot* s;
    const Settings* settings;
    const CollectorPlatform* platform;
    const int32_t* which;   // printers first, then pool members
    int32_t printerTargets; // how many of which are printers
    NetTestResult* results;
};

void test_target(const NetTests* tests, int32_t k, NetTestResult* result) {
    void* ctx = tests->platform->ctx;
    if (k >= tests->printerTargets) {
        // A pool's other ports are only asked whether they answer at all.
        const PoolMember* m = &tests->s->poolMembers[tests->which[k]];
        tests->platform->net_test(ctx, result, m->address, 0, L"");
        return;
    }
    const PrinterRecord* p = &tests->s->printers[tests->which[k]];
    int ask_snmp = tests->settings->askPrinter && p->kind != KindShared;
    tests->platform->net_test(ctx, result, p->address, ask_snmp, p->snmpCommunity);
}

void run_one_network_test(void* arg, int k) {
    const NetTests* tests = static_cast<const NetTests*>(arg);
    test_target(tests, k, &tests->results[k]);
}
} // namespace

void run_network_tests(Snapshot* s, const CheckRequest* request, const Settings* settings,
                       const CollectorPlatform* platform) {
    s->networkTested = 1;
    if (!platform->net_test || s->printerCount <= 0) return;
    int32_t which[kMaxPrinters + kMaxPoolMembers]; // printerCount never exceeds the array it counts
    int32_t printers = choose_network_tests(s, request, settings, which);
    int32_t count = printers + choose_pool_tests(s, request, which, printers, which + printers);
    NetTestResult* results =
        static_cast<NetTestResult*>(calloc(count > 0 ? (size_t)count : 1, sizeof(NetTestResult)));
    NetTests tests = {s, settings, platform, which, printers, results};
    if (results) run_parallel(count, platform->netWorkers, run_one_network_test, &tests);
    for (int32_t k = 0; k < count; k++) {
        NetTestResult single;
        NetTestResult* result = results ? &results[k] : &single;
        if (!results) { // short of memory: one test at a time
            memset(&single, 0, sizeof(single));
            test_target(&tests, k, &single);
        }
        const wchar_t* address =
            k < printers ? s->printers[which[k]].address : s->poolMembers[which[k]].address;
        if (!result->tested) {
            // A test that gave up before filling anything still counts as tried at this address.
            text_copy(result->target, _countof(result->target), address);
            result->tested = 1;
            result->pageCount = -1;
        }
        platform->cache_put(platform->ctx, result);
        if (k < printers)
            s->printers[which[k]].net = *result;
        else
            pool_member_result(&s->poolMembers[which[k]], result);
    }
    free(results);
}

void merge_cached_results(Snapshot* s, const CollectorPlatform* platform) {
    for (int32_t i = 0; i < s->printerCount; i++) {
        PrinterRecord* p = &s->printers[i];
        if (p->address[0]) platform->cache_get(platform->ctx, p->address, &p->net);
    }
    NetTestResult cached;
    for (int32_t m = 0; m < clamp_count(s->poolMemberCount, kMaxPoolMembers); m++) {
        PoolMember* member = &s->poolMembers[m];
        if (member->address[0] && platform->cache_get(platform->ctx, member->address, &cached))
            pool_member_result(member, &cached);
    }
}
