// The machine-readable report ("/report FILE /json"): the same knowledge as the full text report,
// as one JSON document for scripts and remote-management tools. Numbers are numbers, flags are
// booleans, anything absent is null. The field-by-field description is docs/report-json.md; a field
// is only ever added, and a change of meaning raises kJsonFormatVersion.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "reports/json_writer.h"
#include "reports/report.h"

enum { kJsonFormatVersion = 1 };

struct JsonReportInput {
    ReportInput report;       // the records and facts the text report is built from
    int32_t utcOffsetMinutes; // local time minus UTC when the check ran, for the time stamps
};

// Builds the document into buf and returns its length in characters. When that is cap or more the
// buffer was too small: it then holds a cut document, and a buffer of the returned length plus one
// holds the whole. A null input or snapshot gives an empty text and 0.
size_t build_json_report_of(const JsonReportInput* in, wchar_t* buf, size_t cap);

// ISO 8601 local time with its offset ("2026-03-05T07:00:00+01:00").
void iso_time_text(const LocalTime* t, int32_t utc_offset_minutes, wchar_t* out, size_t cap);
// ISO 8601 UTC time ("2026-03-05T06:00:00Z") of a Windows file time (100 ns units since 1601).
void iso_utc_text(uint64_t file_time, wchar_t* out, size_t cap);

// The fields a driver has both in the "drivers" array and as a printer's driver: its index in that
// array, name, maker, version, date, type and language.
void json_driver_fields(JsonWriter* w, int32_t index, const DriverRecord* d);

// The printer's object of the "printers" array (json_printer.cpp).
void json_printer(JsonWriter* w, const JsonReportInput* in, int32_t index);

// The text report's inputs over a session: its snapshot, finding list and search result, with the
// process's flags and settings, the version and the PC's names (report_current.cpp).
struct Session;
void report_input_of(const Session* session, ReportInput* input);

// Over a session (json_report_win.cpp): the document in a block of its own that the caller frees
// with free(); null when memory ran out. The caller guarantees a snapshot.
wchar_t* build_json_report(const Session* session);

// UTF-8 without a byte-order mark, the text as it is. Returns 0, or the Windows error code of what
// failed.
uint32_t write_json_file(const wchar_t* path, const wchar_t* text);
