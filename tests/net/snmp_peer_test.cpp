// The SNMP client against real agents on loopback: snmpsimd playing printers of several kinds, and
// a lying agent whose every object gets one kind of bad answer. Started by the net_peers fixture.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <string.h>

#include <memory>
#include <string>
#include <algorithm>
#include <thread>
#include <vector>

#include "net/ipv4.h"
#include "net/snmp.h"

namespace {
class Winsock : public ::testing::Environment {
  public:
    void SetUp() override {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
    }
    void TearDown() override { WSACleanup(); }
};
const auto* const g_winsock = ::testing::AddGlobalTestEnvironment(new Winsock);

uint32_t ip(const wchar_t* text) {
    uint32_t v = 0;
    parse_ipv4(text, &v);
    return v;
}

std::unique_ptr<NetTestResult> query(const wchar_t* address, const wchar_t* community,
                                     const wchar_t* mac = L"") {
    auto r = std::make_unique<NetTestResult>();
    memset(r.get(), 0, sizeof(NetTestResult));
    r->pageCount = -1;
    wcscpy(r->mac, mac);
    snmp_query_printer(r.get(), ip(address), community);
    return r;
}

struct Udp {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in to = {};
    explicit Udp(const wchar_t* address) {
        to.sin_family = AF_INET;
        to.sin_port = htons(161);
        to.sin_addr.s_addr = htonl(ip(address));
    }
    ~Udp() { closesocket(s); }
};

// Lines of the lying agent's log of the objects it was asked for.
int asked_count(const char* oid_prefix) {
    const char* dir = getenv("VANTREL_PEERS");
    if (!dir) return -1;
    std::string path = std::string("Z:") + dir + "/liar.log";
    FILE* f = fopen(path.c_str(), "r");
    if (!f) return -1;
    char line[256];
    int n = 0;
    while (fgets(line, sizeof(line), f))
        if (strncmp(line, oid_prefix, strlen(oid_prefix)) == 0) n++;
    fclose(f);
    return n;
}
} // namespace

TEST(SnmpPeer, AHealthyLaserTellsEverything) {
    auto r = query(L"127.0.0.21", L"");
    EXPECT_EQ(1, r->snmpAsked);
    ASSERT_EQ(1, r->snmpAnswered);
    EXPECT_STREQ(L"HP ETHERNET MULTI-ENVIRONMENT,ROM none,JETDIRECT,JD153", r->sysDescr);
    EXPECT_STREQ(L"HP LaserJet Pro M404dn", r->model);
    EXPECT_STREQ(L"LJ-RECEPTION", r->sysName);
    EXPECT_STREQ(L"PHBQK12345", r->serial);
    EXPECT_STREQ(L"3C-52-82-11-22-33", r->mac) << "interface 1 answers all zeros, interface 2 the real one";
    EXPECT_EQ(2, r->deviceStatus);
    EXPECT_EQ(3, r->printerStatus);
    EXPECT_EQ(1, r->haveErrorState);
    EXPECT_EQ(0, r->errorBits);
    EXPECT_EQ(48213, r->pageCount);
    ASSERT_EQ(3, r->supplyCount);
    EXPECT_STREQ(L"Black Cartridge HP 58A", r->supplies[0].description);
    EXPECT_EQ(64, r->supplies[0].level);
    EXPECT_EQ(100, r->supplies[0].maxCapacity);
    EXPECT_EQ(-3, r->supplies[1].level);
    EXPECT_EQ(30000, r->supplies[1].maxCapacity);
    EXPECT_STREQ(L"Fuser Kit", r->supplies[2].description);
    EXPECT_STREQ(L"", r->supplies[3].description);
}

TEST(SnmpPeer, AJammedCopierWithLowTonerAndAGapInItsSupplies) {
    auto r = query(L"127.0.0.22", L"public");
    ASSERT_EQ(1, r->snmpAnswered);
    EXPECT_EQ(199u, wcslen(r->sysDescr)) << "a 250-character sysDescr keeps its first 199";
    EXPECT_EQ(0, wcsncmp(L"KONICA MINOLTA bizhub C458 KONICA", r->sysDescr, 33));
    EXPECT_EQ(0x2400, r->errorBits) << "paper jam and toner low";
    EXPECT_EQ(3, r->deviceStatus);
    EXPECT_EQ(1204388, r->pageCount);
    EXPECT_STREQ(L"00-1B-A9-AA-BB-CC", r->mac);
    ASSERT_EQ(3, r->supplyCount) << "the walk stops at the empty fourth description";
    EXPECT_EQ(4, r->supplies[0].level);
    EXPECT_STREQ(L"Waste Toner Box", r->supplies[2].description);
}

TEST(SnmpPeer, ADeviceWithoutThePrinterMibKeepsTheDefaults) {
    auto r = query(L"127.0.0.23", L"");
    ASSERT_EQ(1, r->snmpAnswered);
    EXPECT_STREQ(L"nas01", r->sysName);
    EXPECT_STREQ(L"", r->model);
    EXPECT_STREQ(L"", r->serial);
    EXPECT_STREQ(L"", r->mac);
    EXPECT_EQ(0, r->deviceStatus);
    EXPECT_EQ(0, r->printerStatus);
    EXPECT_EQ(0, r->haveErrorState);
    EXPECT_EQ(-1, r->pageCount);
    EXPECT_EQ(0, r->supplyCount);
}

TEST(SnmpPeer, AnotherCommunityAnswersOnlyWithItsOwnName) {
    ULONGLONG start = GetTickCount64();
    auto wrong = query(L"127.0.0.24", L"");
    ULONGLONG spent = GetTickCount64() - start;
    EXPECT_EQ(1, wrong->snmpAsked);
    EXPECT_EQ(0, wrong->snmpAnswered);
    EXPECT_STREQ(L"", wrong->sysDescr);
    EXPECT_GE(spent, 2300u) << "two 1200 ms tries";
    EXPECT_LT(spent, 4000u);
    auto right = query(L"127.0.0.24", L"corpnet");
    ASSERT_EQ(1, right->snmpAnswered);
    EXPECT_STREQ(L"Brother HL-L2350DW series", right->model);
    EXPECT_EQ(7301, right->pageCount);
}

TEST(SnmpPeer, TextsInUtf8AndInAnEightBitCodePage) {
    auto r = query(L"127.0.0.25", L"");
    ASSERT_EQ(1, r->snmpAnswered);
    EXPECT_STREQ(L"Imprimante r\x00E9seau Bureau ", r->sysDescr)
        << "0xE9 through the ANSI code page; tab and LF to spaces";
    EXPECT_STREQ(L"Drucker B\x00FCro Stra\x00DF"
                 L"e",
                 r->model);
    EXPECT_EQ(1, r->haveErrorState);
    EXPECT_EQ(0x0400, r->errorBits) << "one octet 0x04 is paper jam";
}

TEST(SnmpPeer, ALyingAgentLeavesEveryBadFieldAtItsDefault) {
    ULONGLONG start = GetTickCount64();
    auto r = query(L"127.0.0.30", L"");
    ULONGLONG spent = GetTickCount64() - start;
    ASSERT_EQ(1, r->snmpAnswered);
    EXPECT_STREQ(L"Liar agent", r->sysDescr);
    EXPECT_STREQ(L"", r->model) << "truncated";
    EXPECT_STREQ(L"", r->sysName) << "answered only from another host";
    EXPECT_STREQ(L"", r->serial) << "0x83 length form";
    EXPECT_STREQ(L"", r->mac) << "noSuchName, oversized, GetRequest, seven octets";
    EXPECT_EQ(0, r->deviceStatus) << "noSuchInstance";
    EXPECT_EQ(0, r->printerStatus) << "answered too late";
    // The late answer arrives while the error state is asked; it answers another request.
    EXPECT_EQ(0, r->haveErrorState) << "a stale answer is not taken for the next field";
    EXPECT_EQ(0, r->errorBits);
    EXPECT_EQ(12345, r->pageCount) << "five octets, the first shifted out";
    ASSERT_EQ(1, r->supplyCount) << "endOfMibView for the second description";
    EXPECT_STREQ(L"Black toner", r->supplies[0].description);
    EXPECT_EQ(-2, r->supplies[0].maxCapacity) << "six octets";
    EXPECT_EQ(-3, r->supplies[0].level);
    EXPECT_LT(spent, 8000u);
}

TEST(SnmpPeer, AKnownMacIsNotAskedAgain) {
    int before = asked_count("1.3.6.1.2.1.2.2.1.6.");
    ASSERT_GE(before, 0);
    auto r = query(L"127.0.0.30", L"", L"AA-BB-CC-DD-EE-FF");
    EXPECT_STREQ(L"AA-BB-CC-DD-EE-FF", r->mac);
    EXPECT_EQ(before, asked_count("1.3.6.1.2.1.2.2.1.6."));
    query(L"127.0.0.30", L"");
    EXPECT_EQ(before + 4, asked_count("1.3.6.1.2.1.2.2.1.6."));
}

TEST(SnmpPeer, SingleGetsOfNullExceptionsEmptyAndLongValues) {
    Udp u(L"127.0.0.30");
    uint8_t tag = 0, value[16];
    size_t length = 99;
    EXPECT_FALSE(snmp_get(u.s, &u.to, "public", "1.3.9999.1", 700, 16, &tag, value, &length)) << "NULL";
    EXPECT_FALSE(snmp_get(u.s, &u.to, "public", "1.3.9999.2", 700, 16, &tag, value, &length))
        << "noSuchObject";
    EXPECT_EQ(-1, snmp_get_int(u.s, &u.to, "public", "1.3.9999.3", 7));
    EXPECT_FALSE(snmp_get(u.s, &u.to, "public", "1.3.9999.4", 700, 16, &tag, value, &length))
        << "empty datagram";
    EXPECT_FALSE(snmp_get(u.s, &u.to, "public", "1.3.9999.5", 700, 16, &tag, value, &length))
        << "0x80 length";
    wchar_t text[10] = L"old";
    EXPECT_TRUE(snmp_get_text(u.s, &u.to, "public", "1.3.9999.6", 700, text, 10));
    EXPECT_STREQ(L"AAAAAAAAA", text);
    ASSERT_TRUE(snmp_get(u.s, &u.to, "public", "1.3.9999.6", 700, 16, &tag, value, &length));
    EXPECT_EQ(16u, length) << "cut to the maximum";
    EXPECT_EQ(0x04, tag);
    wcscpy(text, L"old");
    EXPECT_TRUE(snmp_get_text(u.s, &u.to, "public", "1.3.9999.7", 700, text, 10))
        << "an empty text is an answer";
    EXPECT_STREQ(L"", text);
    wcscpy(text, L"old");
    EXPECT_FALSE(snmp_get_text(u.s, &u.to, "public", "1.3.9999.1", 700, text, 10));
    EXPECT_STREQ(L"", text) << "a failed read leaves the field empty";
    EXPECT_FALSE(snmp_get(u.s, &u.to, "public", "not an oid", 700, 16, &tag, value, &length));
}

TEST(SnmpPeer, AValueOfTheWrongTypeOrForAnotherRequestIsNoAnswer) {
    Udp u(L"127.0.0.30");
    wchar_t text[40] = L"old";
    EXPECT_FALSE(snmp_get_text(u.s, &u.to, "public", "1.3.9999.8", 700, text, 40)) << "a SEQUENCE";
    EXPECT_STREQ(L"", text) << "nothing of the raw message, community included, is shown";
    EXPECT_FALSE(snmp_get_text(u.s, &u.to, "public", "1.3.9999.9", 700, text, 40)) << "an INTEGER";
    EXPECT_EQ(-7, snmp_get_int(u.s, &u.to, "public", "1.3.9999.10", -7)) << "a text for a number";
    EXPECT_EQ(7, snmp_get_int(u.s, &u.to, "public", "1.3.9999.11", -7)) << "Gauge32 is a number";
    EXPECT_TRUE(snmp_get_text(u.s, &u.to, "public", "1.3.9999.12", 700, text, 40));
    EXPECT_STREQ(L"FRESH", text) << "the stale answer before it is skipped";
    EXPECT_FALSE(snmp_get_text(u.s, &u.to, "public", "1.3.9999.13", 700, text, 40)) << "only a stale one";
}

TEST(SnmpPeer, NothingThereCostsTwoBoundedTries) {
    for (const wchar_t* address : {L"127.0.0.40", L"127.0.99.1"}) {
        ULONGLONG start = GetTickCount64();
        auto r = query(address, L"");
        EXPECT_EQ(1, r->snmpAsked);
        EXPECT_EQ(0, r->snmpAnswered);
        EXPECT_EQ(-1, r->pageCount);
        EXPECT_LT(GetTickCount64() - start, 3500u) << address;
    }
}

TEST(SnmpPeer, RequestIdentifiersAreUniqueAcrossThreads) {
    uint32_t first = snmp_next_request_id();
    EXPECT_GT(first, 4096u);
    std::vector<uint32_t> ids(4000);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; t++)
        threads.emplace_back([&ids, t] {
            for (int i = 0; i < 1000; i++)
                ids[t * 1000 + i] = snmp_next_request_id();
        });
    for (auto& t : threads)
        t.join();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids.end(), std::adjacent_find(ids.begin(), ids.end()));
    EXPECT_EQ(first + 1, ids.front());
    EXPECT_EQ(first + 4000, ids.back());
}
