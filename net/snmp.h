// A small read-only SNMP version 1 client: one GetRequest per object over UDP port 161, and the
// query of a printer's standard MIB objects into the SNMP fields of a NetTestResult. It never sets
// anything. Runs on worker threads; each query owns its socket and its result record.
#pragma once

#include <winsock2.h>

#include <stddef.h>
#include <stdint.h>

#include "core/snapshot.h"
#include "net/ber.h"

// The read-only community of SNMP version 1, used when none is configured.
#define VANTREL_SNMP_DEFAULT_COMMUNITY "public"

// One GetRequest and the reading of one answer within timeout_ms. destination has port 161
// already; community is 8-bit text; oid_text is dotted decimal. A datagram from any other address
// or port, or answering another request (its request-id differs), is not an answer and is ignored
// while the wait goes on. On success returns 1 with the value's tag and at most max_length value
// octets; the caller judges the tag (ber_tag_is_text, ber_tag_is_number).
int snmp_get(SOCKET s, const sockaddr_in* destination, const char* community, const char* oid_text,
             int timeout_ms, size_t max_length, uint8_t* tag, uint8_t* value, size_t* value_length);

// An INTEGER, Counter32 or Gauge32 value of 1 to 5 octets within 700 ms, else fallback.
int32_t snmp_get_int(SOCKET s, const sockaddr_in* destination, const char* community, const char* oid_text,
                     int32_t fallback);

// A text value (an OCTET STRING; any other type is no answer): UTF-8 if it is valid, else the ANSI
// code page; control characters become spaces. The field is emptied first. Returns 1 when the GET
// succeeded with a text, even an empty one.
int snmp_get_text(SOCKET s, const sockaddr_in* destination, const char* community, const char* oid_text,
                  int timeout_ms, wchar_t* field, size_t capacity);

// The community as it goes on the wire: in the ANSI code page when all its characters are there,
// otherwise in UTF-8; cut to 63 octets however long it is (never inside a UTF-8 character); the
// default community only when it is empty (or converts to nothing). out holds 64.
void snmp_community_octets(const wchar_t* community, char out[64]);

// Called once, just before the interfaces' physical addresses are asked, when the query got that
// far: the network test's ARP request runs beside the query, and its MAC, once known, is put into
// mac (capacity units) here, so that the query asks ifPhysAddress only when ARP gave none.
typedef void (*SnmpMacFromArp)(void* ctx, wchar_t* mac, size_t capacity);

// Asks the printer at address (host byte order) for its fixed list of objects and fills the SNMP
// fields of result, which the caller zeroed (pageCount -1). An empty community means the default.
void snmp_query_printer(NetTestResult* result, uint32_t address, const wchar_t* community,
                        SnmpMacFromArp mac_from_arp = nullptr, void* ctx = nullptr);
