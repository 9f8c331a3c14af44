// The SNMP client's exchange over Winsock and the printer query built on it. The messages
// themselves are made and checked by the BER codec (ber.cpp).
#include "net/snmp.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "core/text.h"
#include "net/ber.h"
#include "net/netlogic.h"

// Waits for readability at most ms; 1 readable, 0 not in time or an error.
static int wait_readable(SOCKET s, DWORD ms) {
    fd_set read_set;
    FD_ZERO(&read_set);
    FD_SET(s, &read_set);
    timeval tv;
    tv.tv_sec = (long)(ms / 1000);
    tv.tv_usec = (long)((ms % 1000) * 1000);
    return select(0, &read_set, nullptr, nullptr, &tv) == 1;
}

int snmp_get(SOCKET s, const sockaddr_in* destination, const char* community, const char* oid_text,
             int timeout_ms, size_t max_length, uint8_t* tag, uint8_t* value, size_t* value_length) {
    if (value_length) *value_length = 0;
    if (s == INVALID_SOCKET || !destination || !community || !oid_text) return 0;
    uint8_t request[kBerMaxMessage];
    const uint32_t request_id = snmp_next_request_id();
    size_t request_length = ber_encode_get_request(request, sizeof(request), (const uint8_t*)community,
                                                   strlen(community), oid_text, request_id);
    if (request_length == 0) return 0;
    if (sendto(s, (const char*)request, (int)request_length, 0, (const sockaddr*)destination,
               sizeof(*destination)) != (int)request_length)
        return 0;

    ULONGLONG deadline = GetTickCount64() + (ULONGLONG)(timeout_ms > 0 ? timeout_ms : 0);
    // A bounded number of stray datagrams, each within the one deadline.
    for (int attempt = 0; attempt < 64; ++attempt) {
        ULONGLONG now = GetTickCount64();
        if (now >= deadline) return 0;
        if (!wait_readable(s, (DWORD)(deadline - now))) return 0;
        static thread_local uint8_t answer[kBerMaxMessage];
        sockaddr_in from = {};
        int from_length = sizeof(from);
        int n = recvfrom(s, (char*)answer, (int)sizeof(answer), 0, (sockaddr*)&from, &from_length);
        if (n <= 0) return 0;
        // Anyone can send to our port: only the printer asked, from its agent's port, answers.
        if (from_length < (int)sizeof(from) || from.sin_family != AF_INET ||
            from.sin_addr.s_addr != destination->sin_addr.s_addr || from.sin_port != destination->sin_port)
            continue;
        BerValue v;
        if (!ber_decode_get_response(answer, (size_t)n, &v)) return 0;
        // A late answer to an earlier question (its time-out passed, the next one was asked) is not
        // this one's: it is skipped and the wait goes on, so it never lands in the wrong field.
        if (v.requestId != request_id) continue;
        size_t cut = v.length < max_length ? v.length : max_length;
        if (tag) *tag = v.tag;
        if (value && cut) memcpy(value, v.octets, cut);
        if (value_length) *value_length = cut;
        return 1;
    }
    return 0;
}

int32_t snmp_get_int(SOCKET s, const sockaddr_in* destination, const char* community, const char* oid_text,
                     int32_t fallback) {
    uint8_t tag = 0, value[16];
    size_t length = 0;
    if (!snmp_get(s, destination, community, oid_text, 700, sizeof(value), &tag, value, &length) ||
        !ber_tag_is_number(tag))
        return fallback;
    return ber_read_int(value, length, fallback);
}

// The 8-bit code page for texts that are not UTF-8. A system set to UTF-8 as its ANSI code page
// has no 8-bit one, so Western European is the most useful guess there.
static UINT eight_bit_code_page() {
    UINT acp = GetACP();
    return acp == CP_UTF8 ? 1252 : CP_ACP;
}

int snmp_get_text(SOCKET s, const sockaddr_in* destination, const char* community, const char* oid_text,
                  int timeout_ms, wchar_t* field, size_t capacity) {
    if (!field || capacity == 0) return 0;
    field[0] = 0;
    uint8_t tag = 0, value[399];
    size_t length = 0;
    if (!snmp_get(s, destination, community, oid_text, timeout_ms, sizeof(value), &tag, value, &length) ||
        !ber_tag_is_text(tag))
        return 0;
    if (length == 0) return 1;
    wchar_t wide[400];
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, (const char*)value, (int)length, wide,
                                _countof(wide));
    if (n <= 0)
        n = MultiByteToWideChar(eight_bit_code_page(), 0, (const char*)value, (int)length, wide,
                                _countof(wide));
    if (n <= 0) return 1;
    size_t keep = (size_t)n < capacity - 1 ? (size_t)n : capacity - 1;
    for (size_t i = 0; i < keep; ++i)
        field[i] = wide[i] <= 31 ? L' ' : wide[i];
    field[keep] = 0;
    return 1;
}

// The community in the ANSI code page when every character has its own form there, else in UTF-8
// (as printers' web pages store a community typed with such characters); never with '?' or a
// look-alike in place of a character. Returns the octets written, 0 when nothing converts.
static int community_bytes(const wchar_t* community, int units, char* out, int cap) {
    if (GetACP() != CP_UTF8) {
        // WC_NO_BEST_FIT_CHARS: a character without an exact form takes the default character, and
        // used_default reports it, instead of a silent look-alike ("e" for "\x0113").
        BOOL used_default = FALSE;
        const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, community, units, out, cap, nullptr,
                                          &used_default);
        if (n > 0 && !used_default) return n;
    }
    // CP_UTF8 takes neither flags nor the default-character arguments.
    return WideCharToMultiByte(CP_UTF8, 0, community, units, out, cap, nullptr, nullptr);
}

void snmp_community_octets(const wchar_t* community, char out[64]) {
    out[0] = 0;
    if (community && community[0]) {
        // Every UTF-16 unit but half a surrogate pair gives at least one octet, so the first 126
        // units always hold the first 63 octets; converting only those keeps a community of any
        // length from overflowing the conversion (which would fall back to the default and show
        // another community's answers as this one's).
        int units = (int)wcsnlen(community, 126);
        char longer[126 * 4 + 1];
        int n = community_bytes(community, units, longer, (int)sizeof(longer) - 1);
        if (n > 0) {
            size_t keep = (size_t)n < 63 ? (size_t)n : 63;
            // A cut inside a UTF-8 sequence would send half a character: end before its lead octet.
            if ((size_t)n > keep && ((unsigned char)longer[keep] & 0xC0) == 0x80)
                while (keep > 0 && ((unsigned char)longer[keep] & 0xC0) == 0x80)
                    keep--;
            memcpy(out, longer, keep);
            out[keep] = 0;
        }
    }
    if (!out[0]) memcpy(out, VANTREL_SNMP_DEFAULT_COMMUNITY, sizeof(VANTREL_SNMP_DEFAULT_COMMUNITY));
}

void snmp_query_printer(NetTestResult* result, uint32_t address, const wchar_t* community,
                        SnmpMacFromArp mac_from_arp, void* ctx) {
    char name[64];
    snmp_community_octets(community, name);

    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return;
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(161);
    to.sin_addr.s_addr = htonl(address);
    result->snmpAsked = 1;

    if (!snmp_get_text(s, &to, name, "1.3.6.1.2.1.1.1.0", 1200, result->sysDescr,
                       _countof(result->sysDescr)) &&
        !snmp_get_text(s, &to, name, "1.3.6.1.2.1.1.1.0", 1200, result->sysDescr,
                       _countof(result->sysDescr))) {
        result->snmpAnswered = 0;
        closesocket(s);
        return;
    }
    result->snmpAnswered = 1;

    snmp_get_text(s, &to, name, "1.3.6.1.2.1.25.3.2.1.3.1", 700, result->model, _countof(result->model));
    snmp_get_text(s, &to, name, "1.3.6.1.2.1.1.5.0", 600, result->sysName, _countof(result->sysName));
    snmp_get_text(s, &to, name, "1.3.6.1.2.1.43.5.1.1.17.1", 600, result->serial, _countof(result->serial));

    if (mac_from_arp && !result->mac[0]) mac_from_arp(ctx, result->mac, _countof(result->mac));
    for (int i = 1; i <= 4 && !result->mac[0]; ++i) {
        char oid[40];
        snprintf(oid, sizeof(oid), "1.3.6.1.2.1.2.2.1.6.%d", i);
        uint8_t tag, octets[16];
        size_t length = 0;
        if (snmp_get(s, &to, name, oid, 500, sizeof(octets), &tag, octets, &length) && ber_tag_is_text(tag))
            format_mac(octets, length, 1, result->mac, _countof(result->mac));
    }

    result->deviceStatus = snmp_get_int(s, &to, name, "1.3.6.1.2.1.25.3.2.1.5.1", 0);
    result->printerStatus = snmp_get_int(s, &to, name, "1.3.6.1.2.1.25.3.5.1.1.1", 0);

    uint8_t tag, bits[8];
    size_t bits_length = 0;
    if (snmp_get(s, &to, name, "1.3.6.1.2.1.25.3.5.1.2.1", 700, sizeof(bits), &tag, bits, &bits_length) &&
        ber_tag_is_text(tag) && bits_length >= 1) {
        result->haveErrorState = 1;
        result->errorBits = bits[0] * 256 + (bits_length >= 2 ? bits[1] : 0);
    }

    result->pageCount = snmp_get_int(s, &to, name, "1.3.6.1.2.1.43.10.2.1.4.1.1", -1);

    for (int j = 1; j <= kMaxSupplies && result->supplyCount < kMaxSupplies; ++j) {
        SupplyLevel* supply = &result->supplies[result->supplyCount];
        char oid[48];
        snprintf(oid, sizeof(oid), "1.3.6.1.2.1.43.11.1.1.6.1.%d", j);
        if (!snmp_get_text(s, &to, name, oid, 600, supply->description, _countof(supply->description)) ||
            !supply->description[0]) {
            supply->description[0] = 0;
            break;
        }
        snprintf(oid, sizeof(oid), "1.3.6.1.2.1.43.11.1.1.8.1.%d", j);
        supply->maxCapacity = snmp_get_int(s, &to, name, oid, -2);
        snprintf(oid, sizeof(oid), "1.3.6.1.2.1.43.11.1.1.9.1.%d", j);
        supply->level = snmp_get_int(s, &to, name, oid, -2);
        result->supplyCount++;
    }
    closesocket(s);
}
