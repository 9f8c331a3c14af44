// The demonstration data ("/demo"): a small car-dealership office with seven made-up printers,
// chosen so that almost every kind of finding arises at once, and a made-up network search result
// in which one of them turns up at a new address. Pure: the caller passes the clock.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "core/search_result.h"
#include "core/snapshot.h"

#define DEMO_DOMAIN L"rivermotors.local"

// Appends a printer with its own driver record (see the .cpp for every field set). Returns the new
// printer for further setting, or null when the snapshot's printers are full (nothing is added then;
// with the drivers full the printer is added without a driver).
PrinterRecord* add_demo_printer(Snapshot* s, const wchar_t* name, const wchar_t* driver_name,
                                const wchar_t* port_name, ConnectionKind kind, const wchar_t* address);

// Appends a job of the printer and counts it on that printer; null when the jobs are full or the
// printer index is outside the snapshot.
JobRecord* add_demo_job(Snapshot* s, int32_t printer_index, const wchar_t* document, const wchar_t* owner,
                        uint32_t status, int32_t pages, int32_t age_minutes);

// Appends an Admin-log error entry stamped now_utc; null when the log entries are full.
LogEntry* add_demo_log_entry(Snapshot* s, const wchar_t* time_text, int32_t event_id, const wchar_t* message,
                             uint64_t now_utc);

// Fills a zeroed snapshot (as snapshot_new gives it) with the whole demonstration; the pages it
// does not fill stay untouched.
// now_local becomes checkTime; now_utc stamps the log entries.
void build_demo_snapshot(Snapshot* s, const LocalTime* now_local, uint64_t now_utc);

// Fills a zeroed block (as new_demo_search_result's calloc gives it) with the fixed demonstration
// search result; now_local is its start time.
void build_demo_search_result(NetworkSearchResult* r, const LocalTime* now_local);

// The demonstration search result as the window, Find Printers and the headless report show it: a
// new zeroed block (freed with free(), as search_result_free does) built at the demonstration clock's
// time. Null when memory ran out.
NetworkSearchResult* new_demo_search_result();

// The clock the two builders want, from the C library (local time and UTC 100 ns since 1601).
void demo_clock(LocalTime* now_local, uint64_t* now_utc);
