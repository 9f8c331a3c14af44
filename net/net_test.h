// The network test of one printer, the way a technician checks one by hand: name lookup, then at
// once the reverse name, ping, ARP on a directly attached subnet, six TCP ports and, when asked,
// SNMP. Also the PC's own IPv4 subnets, which the network search sweeps.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "core/snapshot.h"
#include "net/netlogic.h"

// Fills result (zeroed first). Returns the name-lookup error code when target does not resolve,
// otherwise 0. target is a name or a dotted address; null or empty fails the lookup. community is
// the port's SNMP community, empty for the default.
int net_test_printer(NetTestResult* result, const wchar_t* target, int ask_snmp, const wchar_t* community);

// The IPv4 addresses of the adapters that are up, not loopback, not link-local; at most 16.
int list_local_subnets(LocalSubnet* entries);

// Whether ip (host byte order) is on one of those subnets.
int on_local_subnet(uint32_t ip);

// The six octets ARP gives for ip, as a MAC text; 0 when there is none (Wine always says so).
int arp_mac(uint32_t ip, wchar_t* out, size_t cap);
