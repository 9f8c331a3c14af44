// The release manifest (latest.json) and what one update check hands to the main window. The
// manifest is read with a deliberately small key scanner rather than a JSON parser: the file is
// ours, tiny and flat, and a scanner that cannot recurse cannot be made to misbehave by it.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

// The largest manifest accepted, in bytes.
#define UPDATE_MANIFEST_MAX 262144

// One check's result; allocated by the check thread, owned by the main window after the hand-over.
struct UpdateInfo {
    int32_t ok;     // the manifest was fetched and complete
    int32_t manual; // the user asked for this check
    wchar_t error[400];
    wchar_t version[32];
    wchar_t exeUrl[600];
    wchar_t sha256[80];
    wchar_t notes[3000];
    wchar_t published[40];
    uint32_t size; // bytes; 0 when the manifest gives none
};

// The UTF-8 bytes of the first value of "key" in text (see json_get_string), terminated. Returns
// the number of bytes written. out_cap must be at least 4 * capacity + 1.
size_t json_scan_value(const char* text, const char* key, size_t capacity, char* out, size_t out_cap);

// The value of "key" in field, at most capacity - 1 characters; empty when the key or its value is
// missing. First occurrence anywhere wins, nesting is not considered.
void json_get_string(const char* text, const char* key, wchar_t* field, size_t capacity);

// Digits at the start of the text as an unsigned 32-bit number; anything else gives 0.
uint32_t parse_unsigned(const wchar_t* text);

// Whether a version is a release number: 1 to 4 decimal parts of 1 to 5 digits, joined by dots,
// nothing else. The version names the download's file, so anything more (a "\\..\\" say) would let
// the manifest choose where on the disk the file goes.
int32_t is_release_version(const wchar_t* version);

// Whether an address begins with "https://" (in any case).
int32_t is_https_address(const wchar_t* url);

// Fills the manifest values of info from the text and sets ok; otherwise the error says why the
// manifest is refused: incomplete, a version that is not a release number, or a program file that is
// not on an HTTPS address.
void read_manifest(const char* text, UpdateInfo* info);
