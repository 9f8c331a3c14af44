// The network printer search: sweeps whole IPv4 ranges for the three print ports, then learns each
// responder's name, MAC and (with AskPrinter on) SNMP identity, on a thread of its own. The thread
// posts its progress and, once, its NetworkSearchResult to the window set here; the window's
// handler owns the result from then on and frees it with search_result_free.
#pragma once

#include <windows.h>

#include "core/search_result.h"
#include "core/snapshot.h"

// Posted to the search window (the same values as the main window's MsgSearchDone and
// MsgSearchProgress): the result in lParam (0 when memory ran out), and the percentage in wParam.
enum : UINT {
    SearchMsgDone = WM_APP + 21,
    SearchMsgProgress = WM_APP + 22,
};

#define VANTREL_SEARCH_STARTED_TEXT L"Searching the network for printers\x2026 (about 5 to 30 seconds)"

// What the interface lends the search: the window that receives its messages and the refreshes
// that follow a start. Any of them may be null.
struct NetworkSearchHooks {
    HWND window;
    // After the demonstration result became current: diagnosis, lists, summary line and, with
    // show_view, the switch to the Network Printers view.
    void (*demo_shown)(int show_view);
    // A real search has started: the status text above and the ribbon.
    void (*started)();
};

extern NetworkSearchHooks g_search_hooks;

NetworkSearchResult* search_result_new();
void search_result_free(NetworkSearchResult* result);

// Starts a search of the current snapshot's network unless one runs. Returns 1 when a search (or
// the demonstration result) was started, 0 when one already runs or the thread could not start.
int start_network_search(int show_view);

// The in-progress flag; the window's handler of SearchMsgDone clears it.
int network_search_in_progress();
void network_search_finished();

// The search itself, synchronously on the calling thread: returns the sorted result (null when
// memory ran out), posting progress to progress_window when it is not null.
NetworkSearchResult* run_network_search(const SearchRequest* request, HWND progress_window);
