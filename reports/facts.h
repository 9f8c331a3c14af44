// The facts that more than one report states: the words for the spooler's state, what the details
// page says about a printer's status, driver, model, supplies and network answers, and the verdict
// the banner shows. The text report, the details page and the JSON report all take them from here,
// so a script reading the JSON and a person reading the text are never told different things.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/snapshot.h"

// "running" (4), "STOPPED" (1), "unknown" (0), "changing state" (anything else).
const wchar_t* spooler_state_text(int32_t state);
// "automatic" (2), "manual" (3), "DISABLED" (4), "unknown" (anything else).
const wchar_t* start_type_text(int32_t type);

// Windows' product name as the report gives it: "Windows 10 ..." becomes "Windows 11 ..." on a build
// above 21999, because Windows 11 still calls itself Windows 10 in the registry.
void windows_product_text(const wchar_t* product_name, const wchar_t* current_build, wchar_t* out,
                          size_t cap);

// "Use Printer Offline is ON", then the names of the set status bits joined by ", "; "Ready" when
// that leaves nothing.
void printer_status_text(const PrinterRecord* p, wchar_t* out, size_t cap);

// What the details page adds after the driver's name.
enum DriverNote : int32_t { DriverNoteNone = 0, DriverNoteNotInstalled, DriverNoteFilesMissing };
DriverNote printer_driver_note(const Snapshot* s, const PrinterRecord* p);

// False for a built-in "printer" while CheckVirtual is off: its health is then "not checked".
int printer_is_checked(const PrinterRecord* p, int32_t check_virtual);

// The community the port asks with: its own, or SNMP version 1's conventional read-only one.
const wchar_t* printer_snmp_community(const PrinterRecord* p);

// How this PC reaches print servers: "RPC over TCP", "named pipes (RpcUseNamedPipeProtocol is 1)" or
// "named pipes"; null when neither the Windows build nor the policy is known.
const wchar_t* print_connections_text(const Snapshot* s);
// Whether the snapshot has a connection to a printer on a print server.
int has_printer_connection(const Snapshot* s);
// A pool port's state on the details page: "answers", "does NOT answer" or "not tested".
const wchar_t* pool_member_state(const PoolMember* m);

// "(the newer, simpler kind)" for type 4, "(traditional manufacturer driver)" for 3, else "".
const wchar_t* driver_type_note(int32_t version);

// The MAC the details page shows: the network test's, else the one remembered from the last time
// the printer answered (remembered set), else null.
const wchar_t* printer_mac(const PrinterRecord* p, int* remembered);
// The host name: the reverse lookup's, else the printer's own SNMP name, else null.
const wchar_t* printer_host_name(const PrinterRecord* p);

// A supply's fill level in percent (level x 100 / capacity, not clamped); false when the printer
// did not give both numbers.
int supply_percent(const SupplyLevel* s, int32_t* percent);
// "Black: 64%", "Black: some left (...)" or "Black: level not reported".
void supply_text(const SupplyLevel* s, wchar_t* out, size_t cap);

// The verdict banner: its colour, counts and sentence.
enum VerdictColour : int32_t { VerdictGray = 0, VerdictRed, VerdictAmber, VerdictGreen, VerdictBlue };
struct Verdict {
    VerdictColour colour;
    int32_t problems;    // findings of severity PROBLEM
    int32_t headsUps;    // findings of severity Heads-up
    int32_t mostSerious; // the finding the sentence names; -1 = none
    wchar_t text[700];   // the sentence, without the banner's leading blanks
};
// A null snapshot gives the gray "still checking" verdict; findings may be null.
void verdict_of_records(const Snapshot* s, const FindingList* findings, int32_t demo, Verdict* out);
// "gray", "red", "amber", "green", "blue".
const wchar_t* verdict_colour_name(VerdictColour colour);

// How many of a kind of record the reports show: "68 printers", "1 printer", or, when the snapshot
// had to leave some out, "64 of 68 printers shown" (many_shown is the plural used then, so jobs
// can read "200 of 230 waiting jobs shown" beside "5 jobs waiting").
void shown_count_text(int32_t shown, int32_t left_out, const wchar_t* one, const wchar_t* many,
                      const wchar_t* many_shown, wchar_t* out, size_t cap);
