// Maker and model of an installed printer, from what the printer said over SNMP, the driver's name,
// the printer's name and the SNMP system description, each less reliable than the one before; the
// maker's own web domain for a driver search restricted to it; and the URL percent-encoding that the
// driver search and the share links use.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/snapshot.h"

struct ModelGuess {
    wchar_t model[200]; // best guess, with the maker's short name in front when it was missing
    wchar_t maker[80];  // full maker name from the maker table; empty = not recognised
    wchar_t domain[64]; // the maker's web domain; empty = not recognised
};

enum { kMakerTableRows = 27 };

struct MakerRow {
    const wchar_t* keyword;
    const wchar_t* maker;
    const wchar_t* domain;
};

// The maker table, searched in order (keywords match as case-insensitive substrings).
extern const MakerRow kMakerTable[kMakerTableRows];

// `word` occurs in `text`, ignoring case, with no letter or digit directly before or after it.
int contains_word(const wchar_t* text, const wchar_t* word);

// Parenthesised parts, printer-language and "Series"/"Driver" words removed; trailing blanks and
// "-" trimmed, leading blanks skipped; at most 199 characters (less when cap is smaller).
void clean_model_text(const wchar_t* text, wchar_t* out, size_t cap);

// First maker found in `text`: the maker table in order, then "HP" and "OKI" as whole words.
// Returns 1 and fills maker and domain (each may be null), else 0.
int find_maker(const wchar_t* text, wchar_t* maker, size_t maker_cap, wchar_t* domain, size_t domain_cap);

// The maker's name cut to 39 characters and before " (" ("HP (Samsung ...)" becomes "HP").
void short_maker_name(const wchar_t* maker, wchar_t* out, size_t cap);

// Most likely model, maker and maker domain of an installed printer. A null printer gives an empty
// guess.
void identify_model(const PrinterRecord* printer, ModelGuess* out);

// URL percent-encoding of the text's UTF-8 bytes: letters, digits and "-._~" stay, a carriage return
// is dropped, a line feed becomes "%0D%0A" with crlf set and "%0A" otherwise, every other byte
// "%XX". Encoding stops once the output reaches capacity - 8 characters, so the result has at most
// capacity - 3 characters; a capacity below 9 gives an empty text.
void percent_encode(const wchar_t* text, wchar_t* out, size_t capacity, int crlf);

// The web search for a model's driver: restricted to the maker's site when the domain is known.
#define VANTREL_SEARCH_ADDRESS L"https://www.google.com/search?q="
void driver_search_query(const wchar_t* model, const wchar_t* domain, wchar_t* out, size_t cap);
void driver_search_url(const wchar_t* model, const wchar_t* domain, wchar_t* out, size_t cap);
