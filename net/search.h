// The network printer search: sweeps whole IPv4 ranges for the three print ports, then learns each
// responder's name, MAC and (with AskPrinter on) SNMP identity, on a thread of its own. The thread
// posts its progress and, once, its NetworkSearchResult to the main window; the window's
// handler owns the result from then on and frees it with search_result_free.
#pragma once

#include <windows.h>

#include "core/search_result.h"
#include "core/messages.h"
#include "core/snapshot.h"

#define VANTREL_SEARCH_STARTED_TEXT L"Searching the network for printers\x2026 (about 5 to 30 seconds)"

NetworkSearchResult* search_result_new();
void search_result_free(NetworkSearchResult* result);

// The request of a search of this snapshot's network: its network printers, the "AskPrinter"
// setting and the scan range, copied so the thread reads nothing shared.
void search_request_of(const Snapshot* s, int show_view, int ask_printer, const wchar_t* scan_range,
                       SearchRequest* request);

// Starts the search thread unless one runs; it posts its progress and its result to window.
// Returns 1 when it started, 0 when one already runs or the thread could not start.
int start_search_thread(const SearchRequest* request, HWND window);

// The in-progress flag; the window's handler of SearchMsgDone clears it.
int network_search_in_progress();
void network_search_finished();

// The search itself, synchronously on the calling thread: returns the sorted result (null when
// memory ran out), posting progress to progress_window when it is not null.
NetworkSearchResult* run_network_search(const SearchRequest* request, HWND progress_window);
