// The search's reverse lookups, each on a thread of its own so that a DNS server that does not
// answer holds up nothing: the search takes the names that came within their bound, and every
// name that comes later is posted to the window on its own (MsgSearchName with a SearchName), to
// fill in the result the window already holds.
#pragma once

#include <windows.h>

#include "core/search_result.h"

// One address's reverse lookup; 1 with the name in out, 0 when it has none. Replaceable so the
// tests can hold a lookup back.
typedef int (*ReverseLookup)(uint32_t address, wchar_t* out, size_t cap);

// The real one: GetNameInfoW with NI_NAMEREQD.
int reverse_lookup(uint32_t address, wchar_t* out, size_t cap);

struct NameLookups;

// Starts the lookups of the printers' addresses (at most kMaxFoundPrinters); late names go to
// late_window (none: they are dropped). Null when memory ran out (the printers then get no names).
NameLookups* start_name_lookups(const FoundPrinter* printers, int count, HWND late_window,
                                ReverseLookup lookup);

// Waits until every lookup has answered or bound_ms have passed since they started, copies the
// names that came into the printers' hostName, and lets the block go: from here on a lookup that
// answers posts its name instead. Returns the number of lookups still running.
int take_names(NameLookups* lookups, FoundPrinter* printers, int count, DWORD bound_ms);
