// Many TCP connects in flight at once on non-blocking sockets, with one wait that learns for each
// whether it connected, was refused or is still pending. The network test knocks on six ports of
// one printer this way and the network search on up to 250 addresses at a time.
#pragma once

#include <stdint.h>

enum { kMaxProbes = 250 };

struct TcpProbe {
    uint32_t address; // host byte order
    uint16_t port;
    int32_t open; // out: 1 when the connect completed before the deadline
};

// Starts every connect at once and waits at most budget_ms for all of them together. A socket that
// cannot be made is left closed; at most kMaxProbes probes are made.
void probe_tcp(TcpProbe* probes, int count, int budget_ms);
