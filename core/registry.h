// Reading Windows' own registry keys (printing, policies, versions). Any failure leaves the caller
// with a clear answer and never with a half-read value.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

// Accepts REG_SZ and REG_EXPAND_SZ (not expanded) of at most capacity - 1 characters. On success the
// buffer holds the value, terminated, and the result says whether it is non-empty; on any failure
// (missing, wrong type, too long) the buffer is emptied and the result is 0.
int read_registry_string(HKEY root, const wchar_t* path, const wchar_t* name, wchar_t* buf, size_t cap);

// 1 and the value when a 4-byte REG_DWORD of that name exists; otherwise 0 and out untouched.
int read_registry_dword(HKEY root, const wchar_t* path, const wchar_t* name, uint32_t* out);

// Shared by the readers above and the settings store: a string value of one of the accepted types
// into room for `room` characters including its terminator. Returns 1 when it fitted.
int registry_query_string(HKEY key, const wchar_t* name, wchar_t* buf, size_t room, int accept_expand);
