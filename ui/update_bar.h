// The update bar without a window: its text and where its buttons go. update_bar_win.cpp only
// paints these texts and places the buttons there.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

// The first line of release notes as the bar shows it: leading spaces and bullet
// marks ("*", "-", U+2022) skipped, at most 150 characters up to the first line break.
void release_notes_first_line(const wchar_t* notes, wchar_t* out, size_t cap);

// The bar's text (cut at 599 characters when out has room for more).
void update_bar_text(const wchar_t* new_version, const wchar_t* running_version, const wchar_t* notes,
                     int32_t downloading, int32_t percent, wchar_t* out, size_t cap);

struct BarRect {
    int32_t left, top, right, bottom;
};

// The three buttons (index 0 "Update now", 1 "What's new", 2 "Later") and the text's rectangle,
// for a bar of the given client size.
void update_bar_buttons(int32_t width, int32_t height, int32_t dpi, BarRect out[3]);
BarRect update_bar_text_rect(int32_t width, int32_t height, int32_t dpi);
BarRect update_bar_glyph_rect(int32_t height, int32_t dpi);
