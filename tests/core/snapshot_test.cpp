// Capacities, the fresh-record defaults and the readable job status.
#include <gtest/gtest.h>

#include <string>

#include "collect/net_cache.h"
#include "core/snapshot.h"
#include "core/text.h"

namespace {
struct SnapshotHolder {
    Snapshot* s = snapshot_new();
    ~SnapshotHolder() { snapshot_free(s); }
};
} // namespace

TEST(Snapshot, StartsAsOneZeroBlock) {
    SnapshotHolder h;
    ASSERT_NE(nullptr, h.s);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(h.s);
    size_t nonzero = 0;
    for (size_t i = 0; i < sizeof(Snapshot); i++)
        nonzero += bytes[i] != 0;
    EXPECT_EQ(0u, nonzero);
}

TEST(Snapshot, DropsEntriesBeyondEveryCapacity) {
    SnapshotHolder h;
    for (int i = 0; i < kMaxPrinters; i++)
        ASSERT_NE(nullptr, snapshot_add_printer(h.s));
    EXPECT_EQ(nullptr, snapshot_add_printer(h.s)) << "the 65th printer";
    EXPECT_EQ(64, h.s->printerCount);
    for (int i = 0; i < kMaxJobs; i++)
        ASSERT_NE(nullptr, snapshot_add_job(h.s));
    EXPECT_EQ(nullptr, snapshot_add_job(h.s)) << "the 201st job";
    EXPECT_EQ(200, h.s->jobCount);
    for (int i = 0; i < kMaxDrivers; i++)
        ASSERT_NE(nullptr, snapshot_add_driver(h.s));
    EXPECT_EQ(nullptr, snapshot_add_driver(h.s)) << "the 151st driver";
    EXPECT_EQ(150, h.s->driverCount);
    for (int i = 0; i < kMaxLogEntries; i++)
        ASSERT_NE(nullptr, snapshot_add_log_entry(h.s));
    EXPECT_EQ(nullptr, snapshot_add_log_entry(h.s)) << "the 81st log entry";
    EXPECT_EQ(80, h.s->logCount);

    EXPECT_EQ(nullptr, snapshot_add_printer(nullptr));
    h.s->jobCount = -3; // a corrupted count must not index before the array
    EXPECT_EQ(nullptr, snapshot_add_job(h.s));
}

TEST(Snapshot, ANewPrinterHasNoDriverAndNoPageCount) {
    SnapshotHolder h;
    PrinterRecord* p = snapshot_add_printer(h.s);
    EXPECT_EQ(-1, p->driverIndex);
    EXPECT_EQ(-1, p->net.pageCount);
    EXPECT_EQ(0, p->net.tested);
    EXPECT_STREQ(L"", p->net.target);
}

TEST(Snapshot, TextFieldsKeepTheirTerminatorWhenOverfilled) {
    SnapshotHolder h;
    PrinterRecord* p = snapshot_add_printer(h.s);
    std::wstring longName(1000, L'n');
    text_copy(p->name, _countof(p->name), longName.c_str());
    EXPECT_EQ(259u, wcslen(p->name));
    text_copy(p->net.mac, _countof(p->net.mac), longName.c_str());
    EXPECT_EQ(23u, wcslen(p->net.mac));
    EXPECT_EQ(-1, p->driverIndex) << "the neighbouring fields are untouched";
}

static std::wstring status_text(const wchar_t* windows_text, uint32_t status) {
    wchar_t out[160];
    job_status_text(out, _countof(out), windows_text, status);
    return out;
}

TEST(JobStatus, NamesTheBitsInTheirFixedOrder) {
    EXPECT_EQ(L"Waiting", status_text(L"", 0));
    EXPECT_EQ(L"Waiting", status_text(nullptr, 0x40000000)) << "an unknown bit alone";
    EXPECT_EQ(L"Error, Deleting", status_text(L"", 0x4 | 0x2));
    EXPECT_EQ(L"Error, Deleting, Paused, Printer offline, Out of paper, Blocked, Needs attention, Spooling, "
              L"Printing, Printed, Restarting, Sent to printer, Kept",
              status_text(L"", 0x3FFF));
    EXPECT_EQ(L"Paper jam, Paused", status_text(L"Paper jam", 0x1));
    EXPECT_EQ(L"Paper jam", status_text(L"Paper jam", 0));
}

TEST(JobStatus, StopsAppendingWhenTheFieldIsFull) {
    std::wstring windows(300, L'w');
    std::wstring full = status_text(windows.c_str(), 0x2);
    EXPECT_EQ(std::wstring(159, L'w'), full) << "Windows' text is cut to 159 and nothing fits behind it";

    std::wstring almost(157, L'w');
    EXPECT_EQ(almost + L", ", status_text(almost.c_str(), 0x2))
        << "two characters of room take the separator";
}

TEST(NetCache, KeysByTargetWithoutCaseAndStopsAt64) {
    static NetResultCache cache; // large: keep it off the stack
    cache = NetResultCache{};
    NetTestResult r = {};
    text_copy(r.target, _countof(r.target), L"Printer-A");
    r.pingMs = 5;
    EXPECT_TRUE(net_cache_store(&cache, &r));
    r.pingMs = 9;
    text_copy(r.target, _countof(r.target), L"PRINTER-a");
    EXPECT_TRUE(net_cache_store(&cache, &r));
    EXPECT_EQ(1, cache.count) << "the same address is overwritten";
    ASSERT_NE(nullptr, net_cache_find(&cache, L"printer-A"));
    EXPECT_EQ(9, net_cache_find(&cache, L"printer-A")->pingMs);

    for (int i = 1; i < kNetCacheCapacity; i++) {
        text_format(r.target, _countof(r.target), L"10.0.0.%d", i);
        EXPECT_TRUE(net_cache_store(&cache, &r));
    }
    text_copy(r.target, _countof(r.target), L"10.0.1.1");
    EXPECT_FALSE(net_cache_store(&cache, &r)) << "the 65th address";
    EXPECT_EQ(nullptr, net_cache_find(&cache, L"10.0.1.1"));
    text_copy(r.target, _countof(r.target), L"10.0.0.5");
    r.pingMs = 77;
    EXPECT_TRUE(net_cache_store(&cache, &r)) << "a full cache still refreshes a known address";
    EXPECT_EQ(77, net_cache_find(&cache, L"10.0.0.5")->pingMs);
    EXPECT_EQ(nullptr, net_cache_find(&cache, L""));
}

TEST(NetCache, TheProcessWideCacheCopiesUnderItsLock) {
    net_cache_init();
    net_cache_init(); // a second call must not re-create a lock in use
    NetTestResult r = {};
    text_copy(r.target, _countof(r.target), L"127.0.0.9");
    r.tested = 1;
    ASSERT_TRUE(net_cache_put(&r));
    NetTestResult out = {};
    ASSERT_TRUE(net_cache_get(L"127.0.0.9", &out));
    EXPECT_EQ(1, out.tested);
    out.pingMs = 123;
    EXPECT_FALSE(net_cache_get(L"127.0.0.10", &out));
    EXPECT_EQ(123, out.pingMs) << "a miss leaves the caller's record alone";
}
