// The printer list, the bottom list, the verdict banner and the status line on screen: the texts
// and colours come from lists.h; this side copies them into the controls, writing only what
// changed so the 10-second refresh neither flickers nor loses the selection.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>

#include "ui/lists.h"

// The current snapshot, findings, search result, settings and flags.
ListSource current_list_source();

// Brings a list view to rows x columns of cells, writing only changed cells. Returns 1 when any
// row or cell changed (the list is then invalidated without erasing).
typedef void (*CellText)(const ListSource* src, int32_t view, int32_t row, int32_t column, wchar_t* out,
                         size_t cap);
int list_sync(HWND list, const ListSource* src, int32_t view, int32_t rows, int32_t columns, CellText cell);

// Adds the printer list's thirteen columns (once, at creation).
void build_printer_columns();
// Empties the bottom list, rebuilds its columns for the current view and sets the caption.
void build_bottom_columns();
// Refreshes both lists from the current state; nothing while there is no snapshot.
void fill_lists();
// The banner and the status line from the current state.
void show_verdict();
void set_banner(BannerColour colour, const wchar_t* text);
// The answer to NM_CUSTOMDRAW from either list.
LRESULT list_custom_draw(NMLVCUSTOMDRAW* draw);
