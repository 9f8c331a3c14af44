// Maker and model of an installed printer, from what the printer said over SNMP, the driver's name,
// the printer's name and the SNMP system description, each less reliable than the one before. The
// one guess behind the details page, the printer list, the driver search and the model match of
// moved printers, so they can never disagree. Pure: tables and text work only.
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
// "-" trimmed, leading blanks skipped; at most 199 characters (less when cap is smaller). Each word
// is removed until none is left, also one that a removal formed by joining two halves.
void clean_model_text(const wchar_t* text, wchar_t* out, size_t cap);

// First maker found in `text`: the maker table in order, then "HP" and "OKI" as whole words.
// Returns 1 and fills maker and domain (each may be null), else 0.
int find_maker(const wchar_t* text, wchar_t* maker, size_t maker_cap, wchar_t* domain, size_t domain_cap);

// The maker's name cut to 39 characters and before " (" ("HP (Samsung ...)" becomes "HP").
void short_maker_name(const wchar_t* maker, wchar_t* out, size_t cap);

// Most likely model, maker and maker domain of an installed printer. A null printer gives an empty
// guess. The record's texts are read within their capacities, so a damaged record is safe.
void identify_model(const PrinterRecord* printer, ModelGuess* out);
