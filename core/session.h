// What the interface thread currently works from: the snapshot of the last check, the findings
// diagnosed from it, the latest network search result and the state of the check cycle. One record,
// owned by whoever runs the checks (the window, or a headless mode on its own thread), and passed to
// every function that reads it. Worker threads never see it: they get copies of what they need.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/search_result.h"
#include "core/snapshot.h"

enum {
    kChangeSummaryCapacity = 4000,
    kNetworkTestInterval = 119999, // ms: the automatic checks test the network when more has passed
};

// The check cycle: requests made while a check runs collapse into one pending request, which runs
// right after the current hand-over.
struct CheckCycle {
    int32_t pending;
    int32_t pendingNetworkTest;
    wchar_t pendingAddress[200];
    uint64_t lastNetworkTestStart; // tick count (ms) of the last check started with network tests
    uint32_t ticks;                // one-second timer ticks
    wchar_t summary[kChangeSummaryCapacity];
    wchar_t lastLoggedSummary[kChangeSummaryCapacity];
    int32_t logNextSummary; // starts at 1: the first hand-over always logs
    int32_t autoSearchStarted;
};

struct Session {
    Snapshot* snapshot;          // null before the first hand-over
    NetworkSearchResult* search; // null before the first search
    FindingList findings;        // rebuilt by every diagnosis
    CheckCycle cycle;
    volatile long checkRunning; // set by compare-and-swap when a check starts, cleared by exchange
};

// A fresh session: nothing checked yet, the first hand-over logs its summary.
void session_init(Session* s);

// Takes a new snapshot (freeing the one it replaces) or a new search result (likewise; null keeps
// the one there is).
void session_take_snapshot(Session* s, Snapshot* snapshot);
void session_take_search(Session* s, NetworkSearchResult* result);

// The snapshot's printer at index, or null when there is no snapshot or no such printer.
const PrinterRecord* session_printer(const Session* s, int32_t index);
