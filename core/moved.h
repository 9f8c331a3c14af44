// Moved printers: when a network printer stops answering at its address, the latest network search
// result is searched for it, first by the MAC address and serial number it reported before, then by
// model. Pure; the known identities come in through the PrinterRecord (knownMac, knownSerial).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/findings.h"
#include "core/search_result.h"
#include "core/snapshot.h"

// Adds one finding for the printer (moved, same model found, or not found). Does nothing without a
// search result or for an index outside the snapshot.
void match_moved_printer(const Snapshot* snapshot, int32_t printer_index, const NetworkSearchResult* search,
                         FindingList* list);

// The model key that the model match looks for: the first run of letters and digits that starts
// with 1 to 4 letters followed directly by at least 2 digits, cut after those two digits ("M404dn"
// gives "M40", "MFC-L2750DW" gives "L27"). Returns 0 and an empty key when there is none.
int model_key(const wchar_t* model, wchar_t* key, size_t cap);
