// The printer details page: one plain-text page with everything Vantrel knows about one printer
// (verdict, what Windows says, driver, network test, what the printer itself reported, its jobs and
// the findings about it). The details window, the full report and the headless network test all
// show this same page. Lines end in LF; whoever writes it to a file or the clipboard converts.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/snapshot.h"

// Appends the page of printer `index` of `snapshot` to `buf` (capacity in characters), using the
// finding list for its findings and `check_virtual` (the CheckVirtual setting) for the verdict of a
// built-in printer. Appending is bounded: a piece that does not fit whole is cut at the capacity, and
// once the text is within two characters of the capacity nothing more is added. A null snapshot or
// an index outside the snapshot's printers appends nothing. `findings` may be null (no findings).
void printer_details_of(const Snapshot* snapshot, const FindingList* findings, int32_t check_virtual,
                        int32_t index, wchar_t* buf, size_t cap);

// The same page for a session's snapshot and finding list, with the process's settings.
struct Session;
void printer_details(const Session* session, int32_t index, wchar_t* buf, size_t cap);
