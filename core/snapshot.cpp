// Allocation of snapshots, the bounded adders and the readable job status.
#include "snapshot.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "text.h"

const int kProbePorts[kPortProbeCount] = {9100, 515, 631, 80, 443, 445};

Snapshot* snapshot_new() {
    return static_cast<Snapshot*>(calloc(1, sizeof(Snapshot)));
}

void snapshot_free(Snapshot* s) {
    free(s);
}

template <typename T> static T* take_slot(T* items, int32_t* count, int32_t capacity, int32_t* left_out) {
    if (*count < 0 || *count >= capacity) {
        if (left_out && *left_out < INT32_MAX) ++*left_out;
        return nullptr;
    }
    T* item = &items[(*count)++];
    memset(item, 0, sizeof(*item));
    return item;
}

PrinterRecord* snapshot_add_printer(Snapshot* s) {
    PrinterRecord* p =
        s ? take_slot(s->printers, &s->printerCount, kMaxPrinters, &s->printersLeftOut) : nullptr;
    if (p) {
        p->driverIndex = -1;
        p->net.pageCount = -1;
    }
    return p;
}

JobRecord* snapshot_add_job(Snapshot* s) {
    return s ? take_slot(s->jobs, &s->jobCount, kMaxJobs, &s->jobsLeftOut) : nullptr;
}

DriverRecord* snapshot_add_driver(Snapshot* s) {
    return s ? take_slot(s->drivers, &s->driverCount, kMaxDrivers, &s->driversLeftOut) : nullptr;
}

LogEntry* snapshot_add_log_entry(Snapshot* s) {
    return s ? take_slot(s->logEntries, &s->logCount, kMaxLogEntries, nullptr) : nullptr;
}

PoolMember* snapshot_add_pool_member(Snapshot* s) {
    return s ? take_slot(s->poolMembers, &s->poolMemberCount, kMaxPoolMembers, nullptr) : nullptr;
}

static const struct {
    uint32_t bit;
    const wchar_t* name;
} kJobStatusNames[] = {
    {0x2, L"Error"},
    {0x4, L"Deleting"},
    {0x1, L"Paused"},
    {0x20, L"Printer offline"},
    {0x40, L"Out of paper"},
    {0x200, L"Blocked"},
    {0x400, L"Needs attention"},
    {0x8, L"Spooling"},
    {0x10, L"Printing"},
    {0x80, L"Printed"},
    {0x800, L"Restarting"},
    {0x1000, L"Sent to printer"},
    {0x2000, L"Kept"},
};

void job_status_text(wchar_t* out, size_t cap, const wchar_t* windows_text, uint32_t status) {
    if (!out || cap == 0) return;
    text_copy(out, cap, windows_text);
    for (const auto& entry : kJobStatusNames) {
        if (!(status & entry.bit)) continue;
        text_append(out, cap, L"%ls%ls", out[0] ? L", " : L"", entry.name);
    }
    if (!out[0]) text_copy(out, cap, L"Waiting");
}

const NetTestResult* net_cache_find(const NetResultCache* cache, const wchar_t* target) {
    if (!cache || !target || !target[0]) return nullptr;
    for (int32_t i = 0; i < cache->count && i < kNetCacheCapacity; i++)
        if (text_equal_ci(cache->entries[i].target, target)) return &cache->entries[i];
    return nullptr;
}

int net_cache_store(NetResultCache* cache, const NetTestResult* result) {
    if (!cache || !result || !result[0].target[0]) return 0;
    NetTestResult* slot = const_cast<NetTestResult*>(net_cache_find(cache, result->target));
    if (!slot) {
        if (cache->count < 0 || cache->count >= kNetCacheCapacity) return 0;
        slot = &cache->entries[cache->count++];
    }
    *slot = *result;
    return 1;
}
