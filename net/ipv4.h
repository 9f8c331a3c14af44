// Dotted IPv4 addresses as text and as host-order numbers. Pure: no sockets needed.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

// Parses exactly four decimal numbers 0..255 joined by dots, nothing before or after (no blanks,
// no leading "+", at most three digits each). Returns 1 and the host-order value on success.
int parse_ipv4(const wchar_t* text, uint32_t* value);

// Writes "%lu.%lu.%lu.%lu".
void format_ipv4(uint32_t value, wchar_t* out, size_t cap);
