// The network test over Winsock and IP Helper. Every wait is bounded: two 1000 ms echoes at most,
// one 900 ms budget for all seven ports, and the SNMP query's own time-outs; after the name lookup
// they all run at once.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <windows.h>

#include <string.h>

#include "core/parallel.h"
#include "core/text.h"
#include "net/net_test.h"
#include "net/probe.h"
#include "net/snmp.h"

int list_local_subnets(LocalSubnet* entries) {
    ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16000;
    void* buffer = HeapAlloc(GetProcessHeap(), 0, size);
    if (!buffer) return 0;
    ULONG rc = GetAdaptersAddresses(AF_INET, flags, nullptr, (IP_ADAPTER_ADDRESSES*)buffer, &size);
    if (rc == ERROR_BUFFER_OVERFLOW) {
        HeapFree(GetProcessHeap(), 0, buffer);
        buffer = HeapAlloc(GetProcessHeap(), 0, size);
        if (!buffer) return 0;
        rc = GetAdaptersAddresses(AF_INET, flags, nullptr, (IP_ADAPTER_ADDRESSES*)buffer, &size);
    }
    int count = 0;
    if (rc == NO_ERROR) {
        // Plain records first, so the choice of what counts as a local subnet is testable alone.
        AdapterAddress raw[64];
        int n = 0;
        for (IP_ADAPTER_ADDRESSES* a = (IP_ADAPTER_ADDRESSES*)buffer; a && n < 64; a = a->Next) {
            for (IP_ADAPTER_UNICAST_ADDRESS* u = a->FirstUnicastAddress; u && n < 64; u = u->Next) {
                const SOCKADDR* sa = u->Address.lpSockaddr;
                raw[n].adapterUp = a->OperStatus == IfOperStatusUp;
                raw[n].adapterLoopback = a->IfType == IF_TYPE_SOFTWARE_LOOPBACK;
                raw[n].isIpv4 = sa && sa->sa_family == AF_INET;
                raw[n].address = raw[n].isIpv4 ? ntohl(((const sockaddr_in*)sa)->sin_addr.s_addr) : 0;
                raw[n].prefix = u->OnLinkPrefixLength;
                ++n;
            }
        }
        count = filter_local_subnets(raw, n, entries);
    }
    HeapFree(GetProcessHeap(), 0, buffer);
    return count;
}

int on_local_subnet(uint32_t ip) {
    LocalSubnet entries[kMaxLocalSubnets];
    int count = list_local_subnets(entries);
    return subnet_list_contains(entries, count, ip);
}

int arp_mac(uint32_t ip, wchar_t* out, size_t cap) {
    ULONG octets[2] = {0, 0};
    ULONG length = 6;
    if (SendARP(htonl(ip), 0, octets, &length) != NO_ERROR) return 0;
    return format_mac((const uint8_t*)octets, length, 0, out, cap);
}

static void ping(NetTestResult* result, uint32_t ip) {
    HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) return;
    char payload[16] = "Vantrel ping";
    alignas(8) unsigned char reply[104];
    for (int attempt = 0; attempt < 2; ++attempt) {
        memset(reply, 0, sizeof(reply));
        DWORD n =
            IcmpSendEcho(icmp, htonl(ip), payload, sizeof(payload), nullptr, reply, sizeof(reply), 1000);
        const ICMP_ECHO_REPLY* echo = (const ICMP_ECHO_REPLY*)reply;
        if (n > 0 && echo->Status == IP_SUCCESS) {
            result->pingOk = 1;
            result->pingMs = (int32_t)echo->RoundTripTime;
            break; // the first echo that answers wins
        }
    }
    IcmpCloseHandle(icmp);
}

// The waits of one test after the name lookup, each on its own thread: they write disjoint fields
// of the one result (the ARP answer goes to its own buffer until the SNMP query or the end of the
// test takes it), so the test lasts as long as its longest wait instead of their sum.
struct TestParts {
    NetTestResult* result;
    uint32_t ip;
    int askSnmp;
    const wchar_t* community;
    wchar_t arpMac[24];
    HANDLE arpDone; // set once arpMac is final; null when no event could be made
};

enum { PartSnmp, PartPing, PartReverseName, PartPorts, PartArp, PartCount }; // ARP last: see below

// Longer than any ARP request takes; the SNMP query goes on without the ARP answer after that.
static const DWORD kArpWaitMs = 10000;

static void mac_from_arp(void* ctx, wchar_t* mac, size_t capacity) {
    TestParts* parts = static_cast<TestParts*>(ctx);
    if (parts->arpDone && WaitForSingleObject(parts->arpDone, kArpWaitMs) != WAIT_OBJECT_0) return;
    text_copy(mac, capacity, parts->arpMac);
}

static void reverse_name(NetTestResult* result, uint32_t ip) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ip);
    static thread_local wchar_t host[1025];
    if (GetNameInfoW((const SOCKADDR*)&address, sizeof(address), host, _countof(host), nullptr, 0,
                     NI_NAMEREQD) == 0)
        text_copy(result->hostName, _countof(result->hostName), host);
}

// The six ports and, in the same budget, TCP 135: a printer shared from a print server is reached
// through the server's RPC endpoint mapper there (RPC over TCP), or over 445 (named pipes on SMB).
static void probe_ports(NetTestResult* result, uint32_t ip) {
    TcpProbe probes[kPortProbeCount + 1];
    for (int i = 0; i <= kPortProbeCount; ++i) {
        probes[i].address = ip;
        probes[i].port = (uint16_t)(i < kPortProbeCount ? kProbePorts[i] : kRpcEndpointPort);
    }
    probe_tcp(probes, kPortProbeCount + 1, 900);
    for (int i = 0; i < kPortProbeCount; ++i)
        result->portOpen[i] = probes[i].open;
    result->rpcPortOpen = probes[kPortProbeCount].open;
}

static void run_part(void* arg, int part) {
    TestParts* parts = static_cast<TestParts*>(arg);
    NetTestResult* result = parts->result;
    switch (part) {
    case PartSnmp:
        if (parts->askSnmp) snmp_query_printer(result, parts->ip, parts->community, mac_from_arp, parts);
        break;
    case PartPing:
        ping(result, parts->ip);
        break;
    case PartReverseName:
        reverse_name(result, parts->ip);
        break;
    case PartArp:
        if (on_local_subnet(parts->ip)) arp_mac(parts->ip, parts->arpMac, _countof(parts->arpMac));
        if (parts->arpDone) SetEvent(parts->arpDone);
        break;
    case PartPorts:
        probe_ports(result, parts->ip);
        break;
    }
}

int net_test_printer(NetTestResult* result, const wchar_t* target, int ask_snmp, const wchar_t* community) {
    memset(result, 0, sizeof(*result));
    text_copy(result->target, _countof(result->target), target);
    result->tested = 1;
    result->pageCount = -1;

    // Windows answers an empty name with the PC's own addresses; testing the PC itself as its
    // printer would only mislead, so an empty target is a name that cannot be found.
    if (!result->target[0]) return WSAHOST_NOT_FOUND;
    ADDRINFOW hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* answers = nullptr;
    int rc = GetAddrInfoW(result->target, nullptr, &hints, &answers);
    if (rc != 0) return rc;
    uint32_t ip = 0;
    bool found = false;
    for (ADDRINFOW* a = answers; a; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr && a->ai_addrlen >= sizeof(sockaddr_in)) {
            ip = ntohl(((const sockaddr_in*)a->ai_addr)->sin_addr.s_addr);
            found = true;
            break;
        }
    }
    if (answers) FreeAddrInfoW(answers);
    if (!found) return 0;
    result->resolved = 1;
    text_format(result->ipText, _countof(result->ipText), L"%d.%d.%d.%d", (int)(ip >> 24),
                (int)((ip >> 16) & 255), (int)((ip >> 8) & 255), (int)(ip & 255));

    TestParts parts = {};
    parts.result = result;
    parts.ip = ip;
    parts.askSnmp = ask_snmp;
    parts.community = community;
    parts.arpDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Without the event the query could not wait for ARP, so ARP then runs first, on its own.
    if (!parts.arpDone) run_part(&parts, PartArp);
    run_parallel(parts.arpDone ? PartCount : PartArp, PartCount, run_part, &parts);
    if (parts.arpDone) CloseHandle(parts.arpDone);
    // ARP's answer wins over the printer's own; the query asked ifPhysAddress only without one.
    if (parts.arpMac[0]) text_copy(result->mac, _countof(result->mac), parts.arpMac);
    return 0;
}
