// The pure decisions of the network test and search. Every list here is bounded by its capacity.
#include "net/netlogic.h"

#include <string.h>

#include "core/text.h"
#include "net/addresses.h"
#include "net/ipv4.h"

static uint32_t prefix_mask(int prefix) {
    if (prefix <= 0) return 0;
    if (prefix >= 32) return 0xFFFFFFFFu;
    return 0xFFFFFFFFu << (32 - prefix);
}

int filter_local_subnets(const AdapterAddress* addresses, int count, LocalSubnet* out) {
    int n = 0;
    for (int i = 0; i < count && n < kMaxLocalSubnets; ++i) {
        const AdapterAddress* a = &addresses[i];
        if (!a->adapterUp || a->adapterLoopback || !a->isIpv4) continue;
        if ((a->address & 0xFFFF0000u) == 0xA9FE0000u) continue; // 169.254.0.0/16: no DHCP answer
        out[n].address = a->address;
        out[n].prefix = a->prefix;
        ++n;
    }
    return n;
}

int subnet_list_contains(const LocalSubnet* entries, int count, uint32_t ip) {
    for (int i = 0; i < count; ++i) {
        int p = entries[i].prefix;
        if (p < 1 || p > 32) continue;
        uint32_t mask = prefix_mask(p);
        if ((entries[i].address & mask) == (ip & mask)) return 1;
    }
    return 0;
}

int subnet_list_is_own_address(const LocalSubnet* entries, int count, uint32_t ip) {
    for (int i = 0; i < count; ++i)
        if (entries[i].address == ip) return 1;
    return 0;
}

int format_mac(const uint8_t* octets, size_t length, int reject_zero, wchar_t* out, size_t cap) {
    if (!octets || length != 6) return 0;
    if (reject_zero) {
        int any = 0;
        for (int i = 0; i < 6; ++i)
            any |= octets[i];
        if (!any) return 0;
    }
    text_format(out, cap, L"%02X-%02X-%02X-%02X-%02X-%02X", octets[0], octets[1], octets[2], octets[3],
                octets[4], octets[5]);
    return 1;
}

void add_range(SweepList* list, wchar_t* ranges_text, size_t ranges_cap, uint32_t address, int prefix) {
    if (prefix <= 21) prefix = 24;
    if (prefix > 30) return;
    uint32_t mask = prefix_mask(prefix);
    uint32_t network = address & mask;
    if (list->rangeCount >= kMaxSweepRanges) return;
    // A range inside one already swept would only probe the same hosts twice.
    for (int i = 0; i < list->rangeCount; ++i) {
        int p = list->rangePrefixes[i];
        if (p <= prefix && (network & prefix_mask(p)) == list->ranges[i]) return;
    }
    list->ranges[list->rangeCount] = network;
    list->rangePrefixes[list->rangeCount] = prefix;
    list->rangeCount++;

    wchar_t net_text[20];
    format_ipv4(network, net_text, _countof(net_text));
    int first = ranges_text[0] == 0;
    text_append(ranges_text, ranges_cap, L"%ls%ls/%d", first ? L"" : L", ", net_text, prefix);

    uint32_t size = 1u << (32 - prefix);
    for (uint32_t host = 1; host + 1 < size; ++host) {
        if (list->count >= kMaxSweepAddresses) return;
        uint32_t ip = network + host;
        // A larger range added after a smaller one inside it must not list its hosts twice.
        int seen = 0;
        for (int i = 0; i < list->count && !seen; ++i)
            seen = list->addresses[i] == ip;
        if (seen) continue;
        list->addresses[list->count] = ip;
        list->masks[list->count] = 0;
        list->count++;
    }
}

int parse_scan_range(const wchar_t* text, uint32_t* address, int* prefix) {
    return check_scan_range(text, address, prefix, nullptr, 0);
}

void choose_ranges(SweepList* list, wchar_t* ranges_text, size_t ranges_cap, const wchar_t* scan_range,
                   const LocalSubnet* subnets, int subnet_count, const uint32_t* extra, int extra_count) {
    if (scan_range && scan_range[0]) {
        uint32_t address;
        int prefix;
        if (parse_scan_range(scan_range, &address, &prefix))
            add_range(list, ranges_text, ranges_cap, address, prefix);
        return;
    }
    for (int i = 0; i < subnet_count; ++i)
        add_range(list, ranges_text, ranges_cap, subnets[i].address, subnets[i].prefix);
    for (int i = 0; i < extra_count; ++i)
        add_range(list, ranges_text, ranges_cap, extra[i], 24);
}

int sweep_progress(int done_so_far, int total) {
    if (total <= 0) return 70;
    return (int)((int64_t)done_so_far * 70 / (3 * (int64_t)total));
}

int responder_progress(int processed, int responders) {
    if (responders <= 0) return 100;
    return 70 + (int)((int64_t)processed * 30 / responders);
}

void sort_found_printers(FoundPrinter* printers, int count) {
    static FoundPrinter moving; // one record is far too large for the stack of a worker thread
    for (int i = 1; i < count; ++i) {
        if (printers[i - 1].ipValue <= printers[i].ipValue) continue;
        moving = printers[i];
        int j = i;
        while (j > 0 && printers[j - 1].ipValue > moving.ipValue) {
            printers[j] = printers[j - 1];
            --j;
        }
        printers[j] = moving;
    }
}

int fill_late_name(NetworkSearchResult* result, const SearchName* name) {
    if (!result || !name || !name->hostName[0]) return 0;
    for (int32_t i = 0; i < result->count && i < kMaxFoundPrinters; ++i) {
        FoundPrinter* f = &result->printers[i];
        if (f->ipValue != name->ipValue) continue;
        if (f->hostName[0]) return 0;
        text_copy(f->hostName, _countof(f->hostName), name->hostName);
        return 1;
    }
    return 0;
}

void build_search_request(const Snapshot* snapshot, int show_view, SearchRequest* request) {
    memset(request, 0, sizeof(*request));
    request->showView = show_view;
    if (!snapshot) return;
    for (int k = 0; k < snapshot->printerCount && k < kMaxPrinters; ++k) {
        const PrinterRecord* p = &snapshot->printers[k];
        if (p->kind != KindTcpIp) continue;
        const wchar_t* text = p->net.ipText[0] ? p->net.ipText : p->address;
        uint32_t ip;
        if (!parse_ipv4(text, &ip)) continue;
        if (request->extraCount >= kMaxSearchExtraAddresses) break;
        request->extraAddresses[request->extraCount++] = ip;
    }
}
