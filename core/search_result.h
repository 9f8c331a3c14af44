// What a network search found: one block handed from the search thread to the interface thread.
// The diagnosis (moved printers), the lists and the report read it; the search writes it.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "core/snapshot.h"

enum {
    kMaxFoundPrinters = 256,
    kMaxSearchExtraAddresses = 64,
};

// Bits of FoundPrinter::ports.
enum : int32_t {
    FoundPort9100 = 0x1,
    FoundPort515 = 0x2,
    FoundPort631 = 0x4,
};

struct FoundPrinter {
    wchar_t ip[20];           // "%lu.%lu.%lu.%lu"
    wchar_t mac[24];          // six upper-case hex pairs joined by "-", or empty
    wchar_t hostName[200];    // reverse lookup
    wchar_t sysName[100];     // SNMP sysName
    wchar_t model[200];       // SNMP hrDeviceDescr
    wchar_t description[200]; // SNMP sysDescr
    wchar_t serial[80];       // SNMP prtGeneralSerialNumber
    wchar_t installedAs[300]; // installed printers using this device, joined by "; "
    int32_t ports;            // FoundPort* bits
    int32_t pageCount;        // -1 = not reported
    uint32_t ipValue;         // host byte order; the sort key
};

struct NetworkSearchResult {
    FoundPrinter printers[kMaxFoundPrinters]; // sorted by ipValue, ascending
    int32_t count;
    int32_t addressesSwept;
    wchar_t rangesText[400];
    LocalTime startedAt;
    int32_t showView;
};

// A found printer's reverse name that came after the search had handed its result over: the
// window fills it into the result it holds (the printer with this address, when it has no name).
struct SearchName {
    uint32_t ipValue; // host byte order
    wchar_t hostName[200];
};

// What the search thread is handed.
struct SearchRequest {
    uint32_t extraAddresses[kMaxSearchExtraAddresses]; // host byte order
    int32_t extraCount;
    int32_t showView;
    int32_t askPrinter;    // the "AskPrinter" setting when the search started
    wchar_t scanRange[64]; // "/scanrange": the only range swept; empty = the PC's own networks
};
