// The diagnosis: turns the current snapshot (and the latest network search result) into the
// ordered finding list, and writes each printer's summary (worst severity, finding count, headline)
// back into the snapshot. Runs on the interface thread only.
#pragma once

#include <stdint.h>

#include "core/findings.h"

// One whole run over plain records. input->snapshot null only empties the list. Settings null means
// the built-in settings. now_utc is the current UTC time in 100 ns units since 1601-01-01 (the
// print-log rule counts the last 24 hours before it).
void diagnose_at(const DiagnosisInput* input, FindingList* list, uint64_t now_utc);

// The same with the PC's clock.
void diagnose_with(const DiagnosisInput* input, FindingList* list);

// Over a session: its snapshot and search result, with the process's settings and mode, into its
// finding list.
struct Session;
void diagnose(Session* session);

// The PC's current UTC time in 100 ns units since 1601-01-01.
uint64_t utc_now_100ns();
