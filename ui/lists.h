// What the printer list, the five bottom views, the verdict banner and the status line show, as
// functions of plain records. No window here: the Win32 side only copies these texts and colours
// into the controls.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/search_result.h"
#include "core/settings.h"
#include "core/snapshot.h"

// Everything a list, the banner or the status line is made from. Any pointer may be null.
struct ListSource {
    const Snapshot* snapshot;
    const FindingList* findings;
    const NetworkSearchResult* search; // the latest search result
    const Settings* settings;
    int32_t searchRunning;
    int32_t demo;
    const wchar_t* scanRange; // "/scanrange" as given; the status line names it when it is refused
};

struct ColumnDef {
    const wchar_t* header;
    int32_t width96;
};

struct ViewDef {
    const wchar_t* caption;
    const ColumnDef* columns;
    int32_t columnCount;
};

enum { kPrinterColumnCount = 13, kCellCapacity = 700 };

extern const ColumnDef kPrinterColumns[kPrinterColumnCount];

// The bottom view's caption and columns; any value other than 0 to 3 gives Network Printers.
const ViewDef* bottom_view(int32_t view);

// Rows of the printer list and of a bottom view (placeholder rows included).
int32_t printer_row_count(const ListSource* src);
int32_t bottom_row_count(const ListSource* src, int32_t view);

// One cell's text, cut to cap - 1 characters; empty for a cell beyond the data.
void printer_cell(const ListSource* src, int32_t row, int32_t column, wchar_t* out, size_t cap);
void bottom_cell(const ListSource* src, int32_t view, int32_t row, int32_t column, wchar_t* out, size_t cap);

// Row colours. A colour is 0x00BBGGRR (a COLORREF).
enum RowColourName : int32_t { RowPlain = 0, RowRed, RowAmber, RowBlue, RowGreen, RowGray };
struct RowColour {
    int32_t apply; // 0: the list's own colours
    uint32_t text;
    int32_t hasBack;
    uint32_t back;
};
RowColour row_colour_of(RowColourName name);
// A selected row's colours, the same whether or not its list has the focus: its own text colour
// (the severity stays readable; darkened a little where it would fall below a 4.5 : 1 contrast) on
// its background tinted a quarter of the way to the system's highlight colour (0x00BBGGRR, as
// Windows gives it).
RowColour selected_row_colour(RowColour row, uint32_t highlight);
// WCAG's contrast ratio of two 0x00BBGGRR colours (1 to 21).
double contrast_ratio(uint32_t a, uint32_t b);
RowColourName printer_row_colour(const ListSource* src, int32_t row);
RowColourName bottom_row_colour(const ListSource* src, int32_t view, int32_t row);

// The verdict banner.
enum BannerColour : int32_t { BannerGray = 0, BannerRed, BannerAmber, BannerGreen, BannerBlue };
uint32_t banner_rgb(BannerColour colour);
// The banner's colour and text (without the three leading spaces); the text is cut at cap - 1.
BannerColour verdict_of(const ListSource* src, wchar_t* out, size_t cap);

// The status line (without the two leading spaces); empty with no snapshot.
void status_line_of(const ListSource* src, wchar_t* out, size_t cap);

// Cell pieces, for the edge cases.
void job_size_text(int32_t size, wchar_t* out, size_t cap);       // "%lu KB" / "%.1f MB"
void waiting_text(int32_t age_minutes, wchar_t* out, size_t cap); // "just now" / "%d min" / "%d hours"
void clock_text(const LocalTime* t, wchar_t* out, size_t cap);    // "%d:%02d:%02d %ls", 12-hour

// The three tooltip texts.
extern const wchar_t* const kBannerTooltip;
extern const wchar_t* const kPrinterCaptionTooltip;
extern const wchar_t* const kBottomCaptionTooltip;
