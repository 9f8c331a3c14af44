// The decisions of the network test and the network search, on plain records: which adapter
// addresses count as local subnets, whether an address is on one, how a MAC is written, how the
// sweep list is built from ranges, and which installed printers use a found device. No sockets.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/search_result.h"
#include "core/snapshot.h"

enum {
    kMaxLocalSubnets = 16,
    kMaxSweepAddresses = 2048,
    kMaxSweepRanges = 40,
    kSweepBatch = 250,
};

// One IPv4 address of the PC with its on-link prefix length.
struct LocalSubnet {
    uint32_t address; // host byte order
    int32_t prefix;   // 0 to 32
};

// One unicast address of one adapter, as the adapter list reports it.
struct AdapterAddress {
    int32_t adapterUp;       // operational status is up
    int32_t adapterLoopback; // software loopback adapter
    int32_t isIpv4;
    uint32_t address; // host byte order
    int32_t prefix;
};

// Keeps, in the given order, the IPv4 addresses of adapters that are up and not loopback, leaving
// out link-local 169.254.0.0/16; at most kMaxLocalSubnets entries. Returns the count.
int filter_local_subnets(const AdapterAddress* addresses, int count, LocalSubnet* out);

// Whether ip shares the top p bits with some entry of prefix p from 1 to 32.
int subnet_list_contains(const LocalSubnet* entries, int count, uint32_t ip);

// Whether ip is one of the entries' own addresses.
int subnet_list_is_own_address(const LocalSubnet* entries, int count, uint32_t ip);

// "%02X-%02X-%02X-%02X-%02X-%02X" from exactly six octets. With reject_zero, six zero octets are not
// an address either. Returns 1 when out was written; otherwise out is untouched.
int format_mac(const uint8_t* octets, size_t length, int reject_zero, wchar_t* out, size_t cap);

// The work list of one search: every address to probe with its port bits, and the ranges added.
struct SweepList {
    uint32_t addresses[kMaxSweepAddresses];
    int32_t masks[kMaxSweepAddresses]; // FoundPort* bits
    int32_t count;
    uint32_t ranges[kMaxSweepRanges]; // network addresses already added
    int32_t rangePrefixes[kMaxSweepRanges];
    int32_t rangeCount;
};

// Adds one range: a prefix of 21 or less is taken as 24, one above 30 adds nothing; a network
// already added or lying inside a range already added (or the 41st) adds nothing; otherwise the
// range is named in ranges_text and its hosts (not the network and broadcast addresses) that are
// not in the list yet are appended, up to 2048 addresses in all.
void add_range(SweepList* list, wchar_t* ranges_text, size_t ranges_cap, uint32_t address, int prefix);

// The scan range given on the command line: check_scan_range (net/addresses.h) without the reason.
int parse_scan_range(const wchar_t* text, uint32_t* address, int* prefix);

// Fills the sweep list the way the search chooses its ranges: the scan range alone when one is
// given (non-empty), else every local subnet with its own prefix and then every extra address as
// its /24.
void choose_ranges(SweepList* list, wchar_t* ranges_text, size_t ranges_cap, const wchar_t* scan_range,
                   const LocalSubnet* subnets, int subnet_count, const uint32_t* extra, int extra_count);

// Progress of the sweep after done_so_far addresses (all passes counted) of 3 * total, as 0 to 70;
// and of the responder walk after processed of responders, as 70 to 100.
int sweep_progress(int done_so_far, int total);
int responder_progress(int processed, int responders);

// Stable insertion sort by ipValue, ascending.
void sort_found_printers(FoundPrinter* printers, int count);

// A reverse name that came after the result was handed over: written into the found printer with
// that address when it has no name yet. Returns 1 when the result changed.
int fill_late_name(NetworkSearchResult* result, const SearchName* name);

// The request of a search: the IPv4 address of every network (TCP/IP) printer of the snapshot, from
// its test result or else its port's address, at most 64.
void build_search_request(const Snapshot* snapshot, int show_view, SearchRequest* request);
