// The collector's one door to the classification of ports, drivers and virtual printers, so the
// collector keeps its own record of what the port monitor stored and hands classification only
// what it needs.
#pragma once

#include <wchar.h>

#include "collect/collector.h"
#include "core/snapshot.h"

// Fills kind, address, portNumber, protocol, snmpEnabled and snmpCommunity of the printer from the
// port name (already cut at its first comma), its monitor and the stored TCP/IP values.
void link_classify_port(PrinterRecord* p, const wchar_t* port_name, const wchar_t* monitor,
                        const RawTcpPort* tcp);
// The kind and address of one port of a printer pool: the same classification as a printer's own
// port, for a port that belongs to no connection and has no location.
void link_classify_pool_port(const wchar_t* port_name, const wchar_t* monitor, const RawTcpPort* tcp,
                             ConnectionKind* kind, wchar_t* address, size_t cap);
int link_is_virtual_printer(const wchar_t* driver_name, ConnectionKind kind);
DriverLanguage link_classify_driver_language(const wchar_t* driver_name);
