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

// Operations of the upper layers (the check cycle, the interface) that lower layers ask for. Each
// part fills in its entries when it starts; an empty entry does nothing, so the task and headless
// modes, which have no window, simply get no refreshes.
struct ProgramServices {
    void (*start_check)(int with_network_test, const wchar_t* address); // address null = every printer
    void (*status_text)(const wchar_t* text);      // one line in the status bar
    void (*refresh_lists)();                       // printer list, bottom list and verdict banner
    void (*refresh_banner)();
    void (*rebuild_ribbon)();
    void (*refresh_settings_page)();               // only while the page is open
    void (*set_topmost)(int topmost);              // the main window, without moving or activating it
};

extern ProgramServices g_services;
