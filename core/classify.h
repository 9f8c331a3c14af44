// What a printer's driver and port names say about it: the printer language the driver speaks, how
// the printer is connected (and at which address), and whether it is a "printer" that only makes
// files. Pure: the collector and the demonstration builder feed in names, the lists, reports and
// the diagnosis read the results.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/snapshot.h"

// Capacities of a Standard TCP/IP port's stored texts, terminator included: "HostName" and
// "IPAddress" hold at most 199 characters, "SNMP Community" at most 63. The collector reads them at
// these capacities, and "port-addr" refuses an address that would not be read back whole.
enum { kPortAddressCapacity = 200, kPortCommunityCapacity = 64 };

// What Windows stores for one Standard TCP/IP port. Zero fields mean "not stored".
struct TcpPortValues {
    wchar_t hostName[kPortAddressCapacity];        // "HostName"
    wchar_t ipAddress[kPortAddressCapacity];       // "IPAddress"
    int32_t portNumber;                            // "PortNumber"; 0 keeps 9100
    int32_t protocol;                              // "Protocol": 1 RAW, 2 LPR; 0 keeps RAW
    int32_t snmpEnabled;                           // "SNMP Enabled" (the port's "SNMP Status Enabled" box)
    wchar_t snmpCommunity[kPortCommunityCapacity]; // "SNMP Community"
};

// The port-derived fields of a PrinterRecord.
struct PortClass {
    ConnectionKind kind;
    wchar_t address[200];
    int32_t portNumber;
    int32_t protocol;
    int32_t snmpEnabled;
    wchar_t snmpCommunity[64];
};

DriverLanguage classify_driver_language(const wchar_t* driver_name);

// port_name may be a printer's whole portName: only the part before the first comma is used.
// monitor_name is the port monitor Windows lists for that port, or empty; tcp may be null.
void classify_port(const wchar_t* port_name, const wchar_t* monitor_name, const TcpPortValues* tcp,
                   const wchar_t* location, int is_connection, const wchar_t* server_name, PortClass* out);

// Fills the printer's kind, address, portNumber, protocol, snmpEnabled and snmpCommunity from its
// own portName, location, isConnection and serverName.
void classify_printer_port(PrinterRecord* printer, const wchar_t* monitor_name, const TcpPortValues* tcp);

// The same for a port name the caller already cut at its first comma (the collector's own copy).
void classify_printer_port_named(PrinterRecord* printer, const wchar_t* port_name,
                                 const wchar_t* monitor_name, const TcpPortValues* tcp);

int is_virtual_printer(const wchar_t* driver_name, int32_t kind);

// The part of a comma-separated port list before its first comma.
void first_port_name(const wchar_t* port_list, wchar_t* out, size_t cap);

// Labels shown in lists and reports; out-of-range values give "".
const wchar_t* driver_language_label(int32_t language);
const wchar_t* driver_language_explanation(int32_t language);
const wchar_t* connection_kind_label(int32_t kind);
