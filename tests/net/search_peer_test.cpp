// The network search over a loopback /24 in which five printers listen: the sweep finds exactly
// them, sorted, with their SNMP identities; and the thread's messages reach a window.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "net/search.h"

namespace {
struct ScanRange {
    explicit ScanRange(const wchar_t* range) {
        text_copy(g_process.scanRange, _countof(g_process.scanRange), range);
    }
    ~ScanRange() { g_process.scanRange[0] = 0; }
};
using Result = std::unique_ptr<NetworkSearchResult, decltype(&search_result_free)>;

Result search() {
    SearchRequest request = {};
    search_request_of(nullptr, 0, g_settings.askPrinter, g_process.scanRange, &request);
    return Result(run_network_search(&request, nullptr), &search_result_free);
}

std::vector<int> g_progress;
NetworkSearchResult* g_done = nullptr;
HWND g_test_window = nullptr;
int g_done_count = 0;

LRESULT CALLBACK receiver(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == MsgSearchProgress) g_progress.push_back((int)wp);
    if (m == MsgSearchDone) {
        g_done = (NetworkSearchResult*)lp;
        g_done_count++;
        network_search_finished();
    }
    return DefWindowProcW(w, m, wp, lp);
}
} // namespace

TEST(SearchPeer, ALoopbackSlash24FindsExactlyItsPrintersSorted) {
    ScanRange range(L"127.0.0.0/24");
    g_settings.askPrinter = 1;
    Result r = search();
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(254, r->addressesSwept);
    EXPECT_STREQ(L"127.0.0.0/24", r->rangesText);
    ASSERT_EQ(5, r->count);
    const wchar_t* ips[] = {L"127.0.0.21", L"127.0.0.22", L"127.0.0.23", L"127.0.0.24", L"127.0.0.25"};
    int ports[] = {FoundPort9100, FoundPort9100 | FoundPort515, FoundPort631, FoundPort9100,
                   FoundPort9100 | FoundPort631};
    for (int i = 0; i < 5; i++) {
        EXPECT_STREQ(ips[i], r->printers[i].ip);
        EXPECT_EQ(ports[i], r->printers[i].ports) << i;
        EXPECT_EQ(0x7F000015u + i, r->printers[i].ipValue);
        EXPECT_STREQ(L"", r->printers[i].installedAs);
    }
    EXPECT_STREQ(L"HP LaserJet Pro M404dn", r->printers[0].model);
    EXPECT_STREQ(L"PHBQK12345", r->printers[0].serial);
    EXPECT_STREQ(L"LJ-RECEPTION", r->printers[0].sysName);
    EXPECT_STREQ(L"3C-52-82-11-22-33", r->printers[0].mac);
    EXPECT_EQ(48213, r->printers[0].pageCount);
    EXPECT_STREQ(L"KONICA MINOLTA bizhub C458", r->printers[1].model);
    EXPECT_EQ(0, wcsncmp(L"Linux nas01", r->printers[2].description, 11));
    EXPECT_STREQ(L"", r->printers[3].model) << "the default community is not this printer's";
    EXPECT_EQ(-1, r->printers[3].pageCount);
    EXPECT_EQ(1, r->startedAt.year >= 2000);
}

TEST(SearchPeer, WithAskPrinterOffOnlyThePortsAreLearnt) {
    ScanRange range(L"127.0.0.20/30");
    g_settings.askPrinter = 0;
    Result r = search();
    g_settings.askPrinter = 1;
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(2, r->addressesSwept);
    ASSERT_EQ(2, r->count);
    EXPECT_STREQ(L"", r->printers[0].model);
    EXPECT_STREQ(L"", r->printers[0].description);
    EXPECT_STREQ(L"", r->printers[0].serial);
    EXPECT_STREQ(L"", r->printers[0].sysName);
    EXPECT_EQ(-1, r->printers[0].pageCount);
}

TEST(SearchPeer, AnUnusableRangeSweepsNothing) {
    ScanRange range(L"127.0.0.0/31");
    Result r = search();
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(0, r->addressesSwept);
    EXPECT_EQ(0, r->count);
}

TEST(SearchPeer, OneSearchAtATimeAndItsMessagesReachTheWindow) {
    ScanRange range(L"127.0.0.20/30");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = receiver;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VantrelSearchTest";
    RegisterClassW(&wc);
    HWND w =
        CreateWindowW(L"VantrelSearchTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, w);
    g_test_window = w;
    SearchRequest request = {};
    search_request_of(nullptr, 1, g_settings.askPrinter, g_process.scanRange, &request);
    ASSERT_EQ(1, start_search_thread(&request, w));
    EXPECT_EQ(1, network_search_in_progress());
    EXPECT_EQ(0, start_search_thread(&request, w)) << "a second start during a search is ignored";
    ULONGLONG end = GetTickCount64() + 30000;
    MSG m;
    while (!g_done_count && GetTickCount64() < end) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
        Sleep(20);
    }
    ASSERT_EQ(1, g_done_count);
    ASSERT_NE(nullptr, g_done);
    EXPECT_EQ(2, g_done->count);
    EXPECT_EQ(1, g_done->showView);
    EXPECT_EQ(0, network_search_in_progress());
    ASSERT_FALSE(g_progress.empty());
    for (size_t i = 1; i < g_progress.size(); i++)
        EXPECT_LE(g_progress[i - 1], g_progress[i]);
    EXPECT_EQ(100, g_progress.back());
    search_result_free(g_done);
    DestroyWindow(w);
}
