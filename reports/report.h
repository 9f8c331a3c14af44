// The full report (everything of the current check, for a ticket) and the summary (header, counts
// and the serious findings, for the clipboard). Both append to one large buffer; the caller empties
// it first. Lines end in LF; Save Report and the headless report mode write them as CR LF.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/search_result.h"
#include "core/snapshot.h"

// Room for the longest report the records allow (every text field and every list at its capacity,
// about 1.5 million characters), so the full report and the summary always fit whole. A smaller
// buffer gets whole pieces only and a closing line naming what was left out.
enum { kReportCapacity = 1700000 };

// What the report's header says about the PC, read from Windows by report_read_pc_info.
struct ReportPcInfo {
    wchar_t computerName[64];
    wchar_t userName[128];
    wchar_t productName[120];   // "ProductName" of Windows NT\CurrentVersion
    wchar_t displayVersion[40]; // "DisplayVersion"
    wchar_t currentBuild[40];   // "CurrentBuild"
};

struct ReportInput {
    const Snapshot* snapshot;
    const FindingList* findings;       // null: no findings
    const NetworkSearchResult* search; // null: the network was not searched
    int32_t demo;
    int32_t elevated;
    int32_t checkVirtual;
    const wchar_t* version;   // the running version text
    const wchar_t* scanRange; // "/scanrange" as given; null or empty when none was
    ReportPcInfo pc;
};

// The "Windows: ..." text: "%ls %ls (build %ls)" of product name, display version and build, with a
// "Windows 10" product name reported as "Windows 11" on builds above 21999 (Windows 11 still calls
// itself Windows 10 in the registry).
void windows_version_text(const ReportPcInfo* pc, wchar_t* out, size_t cap);

// Appends the full report (full set) or the summary to buf. A null snapshot appends nothing. A report
// that does not fit keeps its whole pieces up to the first one that does not and ends with the line
// "*** This report is incomplete: ... Left out: ... ***" naming every part it lacks.
void build_report_of(const ReportInput* input, int full, wchar_t* buf, size_t cap);

// Over a session (its snapshot, finding list and search result, with the process's flags and
// settings) into the caller's buffer, which it empties first; kReportCapacity always holds it whole.
struct Session;
void build_report(const Session* session, int full, wchar_t* buf, size_t cap);

// Reads the computer and user names and the Windows version (report_win.cpp). Anything that
// cannot be read stays empty.
void report_read_pc_info(ReportPcInfo* pc);

// Writes a report as Save Report does: UTF-8 with a byte-order mark and CR LF line ends, the whole
// text however long, whole or not at all (write_whole_file). Returns 0, or the Windows error code.
uint32_t write_report_file(const wchar_t* path, const wchar_t* text);

// Creates (or replaces) the file with exactly these bytes, whole or not at all: they are written to
// a temporary file in the same folder, which replaces the target only once every byte is written.
// On failure the temporary file is removed and a file already at path is left as it was. Returns 0,
// or the Windows error code of the create, write, flush, close or rename that failed (112 for a
// full disk).
uint32_t write_whole_file(const wchar_t* path, const char* bytes, size_t count);

// The CR LF copy of a report: every LF becomes CR LF. Copying stops only when out is full, and never
// between the CR and the LF of a pair. out is always terminated.
void report_to_crlf(const wchar_t* text, wchar_t* out, size_t cap);
