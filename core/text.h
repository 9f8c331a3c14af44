// Bounded text helpers. Every text in Vantrel lives in a fixed-capacity UTF-16 buffer; these are the
// only ways code writes into one. They always terminate, never write past the capacity they are
// given (call them with the buffer's own _countof), and truncate silently.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <wchar.h>

#ifndef _countof
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif

// Writes at most cap - 1 characters of the formatted text and always terminates.
void text_format(wchar_t* buf, size_t cap, const wchar_t* fmt, ...);
void text_vformat(wchar_t* buf, size_t cap, const wchar_t* fmt, va_list args);

// Adds the formatted text after what the buffer already holds, truncating at the capacity. Adds
// nothing when fewer than two characters of room remain, so a caller appending many pieces stops
// cleanly instead of leaving a half-written separator behind a full buffer.
void text_append(wchar_t* buf, size_t cap, const wchar_t* fmt, ...);

// Copies src (null counts as empty), truncating at the capacity.
void text_copy(wchar_t* buf, size_t cap, const wchar_t* src);

// Length of a text that may be unterminated within cap characters.
size_t text_length(const wchar_t* buf, size_t cap);

// Case-insensitive comparisons used for printer, port, driver and address names.
int text_compare_ci(const wchar_t* a, const wchar_t* b);
int text_equal_ci(const wchar_t* a, const wchar_t* b);
int text_starts_with_ci(const wchar_t* text, const wchar_t* prefix);
int text_contains_ci(const wchar_t* text, const wchar_t* part);

// The one time stamp shown, logged and reported: "%02d/%02d/%04d %d:%02d %ls" with month, day, year,
// the hour on the 12-hour clock (0 and 12 both show as 12), minute and "AM" for hours 0 to 11, else
// "PM".
void format_time_stamp(wchar_t* buf, size_t cap, int month, int day, int year, int hour, int minute);

// UTF-8 for files. Returns the bytes written (without a terminator); out is always terminated when
// cap > 0 and is cut only at a whole character. Unpaired surrogates become U+FFFD. With crlf set,
// each line feed not already preceded by a carriage return is written as CR LF.
size_t text_to_utf8(const wchar_t* src, char* out, size_t cap, int crlf);
