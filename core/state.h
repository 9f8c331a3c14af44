// The process-wide state that many parts read: the mode flags fixed at start and what the
// interface thread currently shows. Only the interface thread changes the current snapshot and
// search result; worker threads never touch them.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "core/search_result.h"
#include "core/snapshot.h"

struct ProcessState {
    int32_t demo;          // "/demo": made-up printers, nothing on the PC is read or changed
    int32_t elevated;      // the process token reports elevation
    wchar_t scanRange[64]; // "/scanrange": the only range the network search sweeps; empty = none
};

extern ProcessState g_process;

// The current snapshot (null before the first hand-over) and the latest search result (null before
// the first search).
extern Snapshot* g_snapshot;
extern NetworkSearchResult* g_search_result;
