// What an address or a range typed on the command line must look like before anything is sent to
// it: "/nettest" takes a host name or an IPv4 address, "/scanrange" an IPv4 address with an
// optional prefix. Anything else is refused with a reason a person can act on. Pure.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

// A host name: 1 to 253 characters (a final "." aside) of labels of 1 to 63 ASCII letters, digits,
// "-" and "_", no label beginning or ending with "-", and not all digits and dots (that would be a
// mistyped IPv4 address, not a name).
int is_host_name(const wchar_t* text);

// A host name or an IPv4 address (parse_ipv4).
int is_name_or_ipv4(const wchar_t* text);

// The scan range: an IPv4 address, optionally "/" and a prefix length of 0 to 32 (one or two
// digits). A prefix below 22 is narrowed to 22 and none means 24. Returns 1 with the address (host
// order) and the prefix; otherwise 0 with the reason in why (may be null), e.g. "\"999.1.1.1\" is
// not an IPv4 address".
int check_scan_range(const wchar_t* text, uint32_t* address, int* prefix, wchar_t* why, size_t why_cap);

// For a given range (not empty) that check_scan_range refuses: "The scan range \"%ls\" was refused:
// %ls." and 1. Otherwise out is emptied and 0 is returned. A range of blanks stands for one that was
// given empty.
int scan_range_refusal(const wchar_t* range, wchar_t* out, size_t cap);
