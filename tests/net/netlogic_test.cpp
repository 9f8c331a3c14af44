// The network test's and search's decisions on plain records: local subnets from adapter records,
// the subnet test, MAC texts, ranges and sweep lists, progress, sorting and the search request.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <memory>
#include <string>
#include <utility>

#include "net/addresses.h"
#include "net/ipv4.h"
#include "net/netlogic.h"

namespace {
uint32_t ip(const wchar_t* text) {
    uint32_t v = 0;
    EXPECT_TRUE(parse_ipv4(text, &v)) << text;
    return v;
}

struct Sweep {
    std::unique_ptr<SweepList, decltype(&free)> list{static_cast<SweepList*>(calloc(1, sizeof(SweepList))),
                                                     &free};
    wchar_t ranges[400] = L"";
    void add(const wchar_t* address, int prefix) { add_range(list.get(), ranges, 400, ip(address), prefix); }
};
} // namespace

TEST(LocalSubnets, OnlyUpNonLoopbackIpv4AdaptersOutsideLinkLocalCount) {
    AdapterAddress a[] = {
        {1, 0, 1, ip(L"10.1.5.20"), 16},
        {0, 0, 1, ip(L"192.168.7.2"), 24},  // down
        {1, 1, 1, ip(L"127.0.0.1"), 8},     // loopback
        {1, 0, 0, 0, 64},                   // IPv6
        {1, 0, 1, ip(L"169.254.10.3"), 16}, // no DHCP answer
        {1, 0, 1, ip(L"192.168.1.20"), 23},
    };
    LocalSubnet out[kMaxLocalSubnets];
    ASSERT_EQ(2, filter_local_subnets(a, 6, out));
    EXPECT_EQ(ip(L"10.1.5.20"), out[0].address);
    EXPECT_EQ(16, out[0].prefix);
    EXPECT_EQ(ip(L"192.168.1.20"), out[1].address);
    AdapterAddress many[20];
    for (int i = 0; i < 20; i++)
        many[i] = {1, 0, 1, ip(L"10.0.0.1") + (uint32_t)i, 24};
    EXPECT_EQ(16, filter_local_subnets(many, 20, out));
}

TEST(LocalSubnets, AnAddressIsOnASubnetWhenItsTopBitsMatch) {
    LocalSubnet s[] = {
        {ip(L"10.1.5.20"), 16}, {ip(L"192.168.9.9"), 32}, {ip(L"172.16.0.1"), 0}, {ip(L"8.8.0.1"), 33}};
    EXPECT_TRUE(subnet_list_contains(s, 4, ip(L"10.1.200.7")));
    EXPECT_FALSE(subnet_list_contains(s, 4, ip(L"10.2.0.7")));
    EXPECT_TRUE(subnet_list_contains(s, 4, ip(L"192.168.9.9"))) << "a /32 matches its own address";
    EXPECT_FALSE(subnet_list_contains(s, 4, ip(L"192.168.9.8")));
    EXPECT_FALSE(subnet_list_contains(s, 4, ip(L"172.16.0.1"))) << "prefix 0 never matches";
    EXPECT_FALSE(subnet_list_contains(s, 4, ip(L"8.8.0.1"))) << "prefix above 32 never matches";
    EXPECT_FALSE(subnet_list_contains(s, 0, ip(L"10.1.5.20")));
    EXPECT_TRUE(subnet_list_is_own_address(s, 4, ip(L"10.1.5.20")));
    EXPECT_FALSE(subnet_list_is_own_address(s, 4, ip(L"10.1.5.21")));
}

TEST(Mac, SixOctetsUpperCaseAndNeverAllZerosFromSnmp) {
    wchar_t out[24] = L"unchanged";
    const uint8_t zeros[6] = {};
    EXPECT_FALSE(format_mac(zeros, 6, 1, out, 24));
    EXPECT_STREQ(L"unchanged", out);
    const uint8_t real[7] = {0x3c, 0x52, 0x82, 0x0a, 0xbb, 0x01, 0x99};
    EXPECT_FALSE(format_mac(real, 7, 1, out, 24));
    EXPECT_FALSE(format_mac(real, 5, 1, out, 24));
    EXPECT_TRUE(format_mac(real, 6, 1, out, 24));
    EXPECT_STREQ(L"3C-52-82-0A-BB-01", out);
    EXPECT_TRUE(format_mac(zeros, 6, 0, out, 24)) << "ARP's answer is taken as it comes";
}

TEST(AddRange, PrefixRulesAndHostCounts) {
    Sweep a;
    a.add(L"10.1.5.20", 16);
    EXPECT_EQ(254, a.list->count) << "a /16 network sweeps the /24 around the address";
    EXPECT_EQ(ip(L"10.1.5.1"), a.list->addresses[0]);
    EXPECT_EQ(ip(L"10.1.5.254"), a.list->addresses[253]);
    EXPECT_STREQ(L"10.1.5.0/24", a.ranges);

    Sweep b;
    b.add(L"192.168.1.20", 23);
    EXPECT_EQ(510, b.list->count);
    EXPECT_EQ(ip(L"192.168.0.1"), b.list->addresses[0]);
    EXPECT_STREQ(L"192.168.0.0/23", b.ranges);

    Sweep c;
    c.add(L"10.0.0.9", 22);
    EXPECT_EQ(1022, c.list->count);
    c.add(L"10.9.0.9", 30);
    EXPECT_EQ(1024, c.list->count) << "a /30 gives 2";
    c.add(L"10.8.0.9", 31);
    c.add(L"10.8.0.9", 32);
    EXPECT_EQ(1024, c.list->count);
    EXPECT_STREQ(L"10.0.0.0/22, 10.9.0.8/30", c.ranges);
}

TEST(AddRange, NoSecondRangeForTheSameOrAContainedNetwork) {
    Sweep s;
    s.add(L"192.168.0.20", 23);
    s.add(L"192.168.0.77", 24); // a second adapter on the same network
    s.add(L"192.168.1.7", 24);  // a printer inside the /23
    EXPECT_EQ(510, s.list->count);
    EXPECT_EQ(1, s.list->rangeCount);
    s.add(L"10.2.0.7", 24); // a printer on another routed network
    EXPECT_EQ(764, s.list->count);
    EXPECT_STREQ(L"192.168.0.0/23, 10.2.0.0/24", s.ranges);
    Sweep w; // a wider range after a narrower one inside it lists no host twice
    w.add(L"10.0.1.1", 24);
    w.add(L"10.0.0.1", 22);
    EXPECT_EQ(1022, w.list->count);
}

TEST(AddRange, CapsAt2048AddressesAnd40Ranges) {
    Sweep s;
    for (int i = 0; i < 3; i++) {
        wchar_t a[20];
        swprintf(a, 20, L"10.%d.0.1", i * 4);
        s.add(a, 22);
    }
    EXPECT_EQ(2048, s.list->count);
    EXPECT_EQ(ip(L"10.8.0.4"), s.list->addresses[2047]);
    s.add(L"10.20.0.1", 24);
    EXPECT_EQ(2048, s.list->count) << "named, but no room for hosts";
    EXPECT_NE(nullptr, wcsstr(s.ranges, L"10.20.0.0/24"));
    Sweep r;
    for (int i = 0; i < 45; i++) {
        wchar_t a[20];
        swprintf(a, 20, L"10.%d.0.1", i);
        r.add(a, 30);
    }
    EXPECT_EQ(40, r.list->rangeCount);
    EXPECT_EQ(80, r.list->count);
    EXPECT_LE(wcslen(r.ranges), 399u);
}

TEST(Addresses, HostNamesAndIpv4AddressesOnly) {
    for (const wchar_t* good : {L"printer", L"PRN-01.office.example.com", L"printer.local.", L"10.0.0.5"})
        EXPECT_TRUE(is_name_or_ipv4(good)) << good;
    for (const wchar_t* bad : {L"", L"999.1.1.1", L"1.2.3", L"-printer", L"a..b", L"a b", L"printer:9100"})
        EXPECT_FALSE(is_name_or_ipv4(bad)) << bad;
    EXPECT_FALSE(is_host_name(std::wstring(64, L'a').c_str())) << "a label of 64";
}

TEST(ScanRange, TheCommandLineRangeIsTheOnlyOne) {
    uint32_t a;
    int p;
    ASSERT_TRUE(parse_scan_range(L"10.0.0.0/16", &a, &p));
    EXPECT_EQ(22, p);
    ASSERT_TRUE(parse_scan_range(L"10.0.0.5", &a, &p));
    EXPECT_EQ(24, p);
    EXPECT_EQ(ip(L"10.0.0.5"), a);
    EXPECT_FALSE(parse_scan_range(L"printer.local/24", &a, &p));
    EXPECT_FALSE(parse_scan_range(L"", &a, &p));
    ASSERT_TRUE(parse_scan_range(L"10.0.0.0/31", &a, &p)) << "a range too small to sweep still parses";

    // What does not parse is refused with the reason.
    const std::pair<const wchar_t*, const wchar_t*> refused[] = {
        {L"999.1.1.1/24", L"\"999.1.1.1\" is not an IPv4 address"},
        {L"127.0.0.0/-1", L"\"-1\" is not a prefix length from 0 to 32"},
        {L"127.0.0.0/", L"there is no prefix length after the \"/\""},
        {L"/24/24", L"there is no address before the \"/\""},
        {L"a,b", L"\"a,b\" is not an IPv4 address"},
        {L" ", L"the range is empty"},
    };
    for (const auto& r : refused) {
        wchar_t why[120];
        EXPECT_FALSE(check_scan_range(r.first, &a, &p, why, _countof(why))) << r.first;
        EXPECT_STREQ(r.second, why);
    }
    wchar_t sentence[200] = L"x";
    EXPECT_FALSE(scan_range_refusal(L"", sentence, _countof(sentence))) << "none given";
    EXPECT_STREQ(L"", sentence);

    LocalSubnet own[] = {{ip(L"192.168.3.4"), 24}};
    uint32_t extra[] = {ip(L"10.2.0.7"), ip(L"192.168.3.77")};
    Sweep s;
    choose_ranges(s.list.get(), s.ranges, 400, L"10.0.0.0/16", own, 1, extra, 2);
    EXPECT_EQ(1022, s.list->count);
    EXPECT_STREQ(L"10.0.0.0/22", s.ranges);
    Sweep t;
    choose_ranges(t.list.get(), t.ranges, 400, L"10.0.0.0/31", own, 1, extra, 2);
    EXPECT_EQ(0, t.list->count);
    Sweep bad;
    choose_ranges(bad.list.get(), bad.ranges, 400, L"nonsense", own, 1, extra, 2);
    EXPECT_EQ(0, bad.list->count) << "an unparsable scan range sweeps nothing";
    Sweep local;
    choose_ranges(local.list.get(), local.ranges, 400, L"", own, 1, extra, 2);
    EXPECT_STREQ(L"192.168.3.0/24, 10.2.0.0/24", local.ranges);
    EXPECT_EQ(508, local.list->count);
}

TEST(SearchProgress, SeventyForTheSweepThirtyForTheResponders) {
    EXPECT_EQ(0, sweep_progress(0, 254));
    EXPECT_EQ(22, sweep_progress(250, 254));
    EXPECT_EQ(70, sweep_progress(762, 254));
    EXPECT_EQ(70, sweep_progress(0, 0));
    EXPECT_EQ(80, responder_progress(1, 3));
    EXPECT_EQ(100, responder_progress(3, 3));
}

TEST(SearchSort, StableByAddress) {
    auto r = std::unique_ptr<NetworkSearchResult, decltype(&free)>(
        static_cast<NetworkSearchResult*>(calloc(1, sizeof(NetworkSearchResult))), &free);
    uint32_t values[] = {30, 10, 20, 10, 5};
    for (int i = 0; i < 5; i++) {
        r->printers[i].ipValue = values[i];
        r->printers[i].ports = i;
    }
    sort_found_printers(r->printers, 5);
    EXPECT_EQ(5u, r->printers[0].ipValue);
    EXPECT_EQ(1, r->printers[1].ports) << "equal keys keep their order";
    EXPECT_EQ(3, r->printers[2].ports);
    EXPECT_EQ(30u, r->printers[4].ipValue);
}

TEST(SearchRequest, NetworkPrintersAddressesFromTheirTestOrTheirPort) {
    auto s = std::unique_ptr<Snapshot, decltype(&snapshot_free)>(snapshot_new(), &snapshot_free);
    PrinterRecord* a = snapshot_add_printer(s.get());
    a->kind = KindTcpIp;
    wcscpy(a->address, L"printer.office");
    wcscpy(a->net.ipText, L"10.2.0.7");
    PrinterRecord* b = snapshot_add_printer(s.get());
    b->kind = KindTcpIp;
    wcscpy(b->address, L"192.168.3.50");
    PrinterRecord* c = snapshot_add_printer(s.get());
    c->kind = KindWsd;
    wcscpy(c->address, L"192.168.3.51");
    PrinterRecord* d = snapshot_add_printer(s.get());
    d->kind = KindTcpIp;
    wcscpy(d->address, L"unresolved-name");
    SearchRequest r;
    build_search_request(s.get(), 1, &r);
    ASSERT_EQ(2, r.extraCount);
    EXPECT_EQ(ip(L"10.2.0.7"), r.extraAddresses[0]);
    EXPECT_EQ(ip(L"192.168.3.50"), r.extraAddresses[1]);
    EXPECT_EQ(1, r.showView);
    build_search_request(nullptr, 0, &r);
    EXPECT_EQ(0, r.extraCount);
}
