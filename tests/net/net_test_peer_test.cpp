// The network test of one printer against loopback peers: a printer with open ports and SNMP, an
// address that refuses everything at once, and a silent range behind a DROP rule.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <string.h>

#include <memory>

#include "core/parallel.h"
#include "net/net_test.h"

namespace {
std::unique_ptr<NetTestResult> run(const wchar_t* target, int ask_snmp, const wchar_t* community, int* rc,
                                   ULONGLONG* ms) {
    auto r = std::make_unique<NetTestResult>();
    memset(r.get(), 0x5A, sizeof(NetTestResult)); // the test zeroes the record itself
    ULONGLONG start = GetTickCount64();
    *rc = net_test_printer(r.get(), target, ask_snmp, community);
    *ms = GetTickCount64() - start;
    return r;
}
} // namespace

TEST(NetTestPeer, AHealthyPrinterAnswersOnItsPortsAndOverSnmp) {
    int rc;
    ULONGLONG ms;
    auto r = run(L"127.0.0.21", 1, L"", &rc, &ms);
    EXPECT_EQ(0, rc);
    EXPECT_STREQ(L"127.0.0.21", r->target);
    EXPECT_EQ(1, r->tested);
    EXPECT_EQ(1, r->resolved);
    EXPECT_STREQ(L"127.0.0.21", r->ipText);
    int expected[kPortProbeCount] = {1, 0, 0, 1, 1, 0};
    for (int i = 0; i < kPortProbeCount; i++)
        EXPECT_EQ(expected[i], r->portOpen[i]) << kProbePorts[i];
    EXPECT_EQ(1, r->snmpAnswered);
    EXPECT_STREQ(L"HP LaserJet Pro M404dn", r->model);
    EXPECT_STREQ(L"3C-52-82-11-22-33", r->mac) << "no ARP on loopback; the MAC comes from SNMP";
    EXPECT_EQ(3, r->supplyCount);
}

TEST(NetTestPeer, WithoutSnmpNothingIsAsked) {
    int rc;
    ULONGLONG ms;
    auto r = run(L"127.0.0.22", 0, L"", &rc, &ms);
    EXPECT_EQ(0, rc);
    EXPECT_EQ(1, r->portOpen[0]);
    EXPECT_EQ(1, r->portOpen[1]);
    EXPECT_EQ(0, r->snmpAsked);
    EXPECT_STREQ(L"", r->model);
    EXPECT_EQ(-1, r->pageCount);
}

// Print servers: one answering on RPC (135) and Windows sharing (445), one on sharing only. 135 is
// knocked on in the same budget as the print ports, for every address.
TEST(NetTestPeer, PrintServersAnswerOnRpcAndSharing) {
    int rc;
    ULONGLONG ms;
    auto both = run(L"127.0.0.50", 0, L"", &rc, &ms);
    EXPECT_EQ(0, rc);
    EXPECT_EQ(1, both->rpcPortOpen);
    EXPECT_EQ(1, both->portOpen[5]);
    EXPECT_EQ(0, both->portOpen[0]);
    auto pipes = run(L"127.0.0.51", 0, L"", &rc, &ms);
    EXPECT_EQ(0, pipes->rpcPortOpen);
    EXPECT_EQ(1, pipes->portOpen[5]);
    auto printer = run(L"127.0.0.21", 0, L"", &rc, &ms);
    EXPECT_EQ(0, printer->rpcPortOpen);
}

TEST(NetTestPeer, RefusedPortsAreClosedAtOnceSilentOnesAfterTheBudget) {
    int rc;
    ULONGLONG ms;
    auto refused = run(L"127.0.0.40", 0, L"", &rc, &ms);
    EXPECT_EQ(0, rc);
    for (int i = 0; i < kPortProbeCount; i++)
        EXPECT_EQ(0, refused->portOpen[i]);
    EXPECT_LT(ms, 800u) << "every refusal comes at once";
    auto silent = run(L"127.0.99.1", 0, L"", &rc, &ms);
    EXPECT_EQ(0, rc);
    EXPECT_EQ(0, silent->pingOk);
    for (int i = 0; i < kPortProbeCount; i++)
        EXPECT_EQ(0, silent->portOpen[i]);
    EXPECT_EQ(0, silent->rpcPortOpen);
    EXPECT_GE(ms, 900u);
    EXPECT_LT(ms, 2 * 1000 + 900 + 1000) << "two echoes and one port budget";
}

TEST(NetTestPeer, NamesThatDoNotResolveEndTheTest) {
    for (const wchar_t* target : {L"", L"no-such-printer.invalid", (const wchar_t*)nullptr}) {
        int rc;
        ULONGLONG ms;
        auto r = run(target, 1, L"", &rc, &ms);
        EXPECT_NE(0, rc);
        EXPECT_EQ(1, r->tested);
        EXPECT_EQ(0, r->resolved);
        EXPECT_EQ(0, r->snmpAsked);
        EXPECT_STREQ(L"", r->ipText);
        EXPECT_EQ(-1, r->pageCount);
        EXPECT_LT(ms, 15000u);
    }
}

TEST(NetTestPeer, LocalSubnetsLeaveLoopbackOut) {
    LocalSubnet entries[kMaxLocalSubnets];
    int n = list_local_subnets(entries);
    EXPECT_GE(n, 0);
    EXPECT_LE(n, kMaxLocalSubnets);
    for (int i = 0; i < n; i++)
        EXPECT_NE(127u, entries[i].address >> 24);
    EXPECT_FALSE(on_local_subnet(0x7F000015));
}

// A check tests many printers at once and each test runs its own waits side by side: ten tests at
// once (each target twice) must give exactly what each gives alone.
TEST(NetTestPeer, ManyAtOnceGiveWhatEachGivesAlone) {
    struct Case {
        const wchar_t* target;
        int askSnmp;
        const wchar_t* community;
        int rc;
        NetTestResult result;
    };
    static Case alone[5] = {{L"127.0.0.21", 1, L"", 0, {}},
                            {L"127.0.0.22", 1, L"", 0, {}},
                            {L"127.0.0.24", 1, L"corpnet", 0, {}},
                            {L"127.0.0.40", 1, L"", 0, {}},
                            {L"127.0.99.1", 1, L"public", 0, {}}};
    static Case together[10];
    for (int i = 0; i < 10; ++i)
        together[i] = alone[i % 5];
    auto test = [](void* cases, int i) {
        Case* c = static_cast<Case*>(cases) + i;
        c->rc = net_test_printer(&c->result, c->target, c->askSnmp, c->community);
        c->result.pingMs = 0; // the one field that may differ from run to run
    };
    for (int i = 0; i < 5; ++i)
        test(alone, i);
    run_parallel(10, 10, test, together);
    for (int i = 0; i < 10; ++i) {
        const Case& a = alone[i % 5];
        EXPECT_EQ(a.rc, together[i].rc) << i;
        EXPECT_EQ(0, memcmp(&a.result, &together[i].result, sizeof(NetTestResult))) << i;
    }
    EXPECT_EQ(1, alone[0].result.snmpAnswered);
    EXPECT_STREQ(L"3C-52-82-11-22-33", alone[0].result.mac);
    EXPECT_EQ(1, alone[2].result.snmpAnswered) << "its own community";
    EXPECT_EQ(1, alone[4].result.snmpAsked);
    EXPECT_EQ(0, alone[4].result.snmpAnswered);
}
