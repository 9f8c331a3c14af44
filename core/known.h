// The remembered identities of network printers: for every installed network printer, the MAC
// address and serial number it reported the last time it answered, so a printer that later moves
// to another address can be recognised in a network search. Stored per user under
// HKEY_CURRENT_USER "Software\Corvalen\Vantrel\Known", one "mac|serial" string per printer name.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/search_result.h"
#include "core/snapshot.h"

enum { kKnownValueCapacity = 200 }; // at most 199 characters

// The value to remember for one printer now ("mac|serial", a part unknown this time keeping its
// remembered value), or 0 when the printer is not remembered (virtual, no address, nothing known).
int known_value_for(const PrinterRecord* printer, const NetworkSearchResult* search, wchar_t* value,
                    size_t cap);

// Splits a stored value: the text after the first "|" is the serial, the text before it the MAC;
// without a "|" the whole value is the MAC.
void parse_known_value(const wchar_t* value, wchar_t* mac, size_t mac_cap, wchar_t* serial,
                       size_t serial_cap);

// Registry side. Reading fills the printer's knownMac and knownSerial from its stored value (both
// empty when there is none). Remembering writes every changed value; in demonstration mode nothing
// is written. Registry failures leave the store as it was.
void load_known_printer(PrinterRecord* printer);
void remember_known_printers(const Snapshot* snapshot, const NetworkSearchResult* search, int demo);

// The thin store itself: one value by printer name. Reading gives 0 and an empty buffer when absent.
int known_store_read(const wchar_t* printer_name, wchar_t* value, size_t cap);
void known_store_write(const wchar_t* printer_name, const wchar_t* value);
