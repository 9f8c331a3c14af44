// Small pieces shared by the printer list, the bottom views and the banner; not for other callers.
#pragma once

#include "ui/lists.h"

// A cell or line never holds more than the list view's 700-character read-back buffer.
size_t list_cell_cap(size_t cap);
void list_put(wchar_t* out, size_t cap, const wchar_t* text);

// "" for exactly one, "s" otherwise.
const wchar_t* list_plural(int32_t count);

// The source's settings, or the built-in ones when it has none.
const Settings* list_settings(const ListSource* src);

const PrinterRecord* list_printer_at(const Snapshot* s, int32_t index); // null outside the snapshot
int32_t list_found_count(const NetworkSearchResult* r);

// A built-in "printer" that is left unchecked while CheckVirtual is off.
int list_hidden_virtual(const ListSource* src, const PrinterRecord* p);
