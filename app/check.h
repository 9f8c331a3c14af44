// The check cycle: how a check is asked for and queued, the one-second tick that starts checks by
// itself, and what the interface thread does with a finished snapshot. Requests made while a check
// runs collapse into one pending request, which runs right after the current hand-over.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/search_result.h"
#include "core/session.h"
#include "core/snapshot.h"

// What a start request does, decided on the interface thread. Returns 1 when the caller must start
// a worker now (the running flag was free and is now taken); 0 when the request was folded into
// the pending one. A request without network test never clears an earlier pending network test.
int check_request(CheckCycle* cycle, volatile long* running_flag, int with_network_test,
                  const wchar_t* address);

// Timer 1: counts the tick and says whether a check starts, and whether with network tests.
int check_tick(CheckCycle* cycle, int auto_check, int auto_net_test, int demo, uint64_t now_ms,
               int* with_network_test);

// The Heads-up and PROBLEM findings as one line, "[label] printer: title | " each.
void build_change_summary(const FindingList* list, const Snapshot* s, wchar_t* out, size_t cap);

// After a diagnosis: rebuilds the summary and, when it changed (or on the first hand-over), writes
// one log line per Heads-up or PROBLEM finding, or the no-problems line. Returns the lines written.
typedef void (*LogSink)(const wchar_t* line);
int log_change_summary(CheckCycle* cycle, const FindingList* list, const Snapshot* s, LogSink sink);

// Whether the automatic network search should start now: a TCP/IP printer was tested and did not
// resolve, or neither answered the ping nor had port 9100 open.
int wants_auto_search(const Snapshot* s);

// The Windows side (check_win.cpp), on the interface thread, over the session it is given.

// The one way to ask for a fresh check; address null or empty = every printer. The worker posts
// the snapshot to the main window of the interface services.
void start_check(Session* session, int with_network_test, const wchar_t* address);

// Called once at the end of the main window's creation: starts the first check (with network
// tests when "AutoNetTest" is on).
void check_cycle_start(Session* session);

// What a new snapshot or a new search result leads to: the found printers are matched to the
// installed ones, the identities of the answering printers remembered, and the diagnosis run.
// Shared by the hand-over, the end of a search and the headless modes.
void refresh_findings(Session* session);

// The hand-over (MsgCheckDone; takes the snapshot): returns the RefreshFlags the window must redraw.
uint32_t on_check_done(Session* session, Snapshot* s);

// Starts the network search of the session's snapshot unless one runs; in demonstration mode the
// made-up result is taken at once. Returns 1 when a search (or the demonstration result) started.
int start_network_search(Session* session, int show_view);

// The search's hand-over (MsgSearchDone; takes the result, null when the search failed): the kept
// result is matched again, the diagnosis runs, its figures are reported, and the view switches to
// Network Printers when the result asks for it. Returns the RefreshFlags still to do.
uint32_t on_search_done(Session* session, NetworkSearchResult* result);

// A reverse name that came after the search's hand-over (MsgSearchName; takes the block): filled
// into the kept result, which is matched again. Returns the RefreshFlags to do (0: nothing changed).
uint32_t on_search_name(Session* session, SearchName* name);

// Timer 1: starts a check when one is due.
void on_check_tick(Session* session);
