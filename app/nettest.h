// The one-printer snapshot of the headless network test: the address stands in for an installed
// network printer on a RAW port 9100 with a driver, so only network findings can arise.
#pragma once

#include "core/findings.h"
#include "core/snapshot.h"

#define VANTREL_NETTEST_FILE L"Vantrel-nettest.txt"

void build_nettest_snapshot(Snapshot* s, const wchar_t* address);

// The text written for the tested printer: its details page, with the findings about it.
void build_nettest_text(const Snapshot* s, const FindingList* findings, wchar_t* out, size_t cap);

// For an address that is neither a host name nor an IPv4 address (an empty one included): the text
// written and shown instead of a test, and 1; otherwise out is emptied and 0 is returned.
int nettest_refusal_text(const wchar_t* address, wchar_t* out, size_t cap);
