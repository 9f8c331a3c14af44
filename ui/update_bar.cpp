// The update bar's text and button places.
#include "ui/update_bar.h"

#include "core/dpi.h"
#include "core/text.h"

void release_notes_first_line(const wchar_t* notes, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    if (!notes) return;
    const wchar_t* p = notes;
    while (*p == L' ' || *p == L'*' || *p == L'-' || *p == L'\u2022')
        p++;
    size_t n = 0;
    // A carriage return ends the line too: notes written on Windows carry CR LF, and the bar draws one line.
    while (p[n] && p[n] != L'\n' && p[n] != L'\r' && n < 150 && n + 1 < cap) {
        out[n] = p[n];
        n++;
    }
    out[n] = 0;
}

void update_bar_text(const wchar_t* new_version, const wchar_t* running_version, const wchar_t* notes,
                     int32_t downloading, int32_t percent, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t limit = cap < 600 ? cap : 600;
    if (downloading) {
        text_format(out, limit,
                    L"Downloading Vantrel %ls\u2026 %d%%   (Vantrel will restart by itself when it's done)",
                    new_version ? new_version : L"", percent < 0 ? 0 : (int)percent);
        return;
    }
    wchar_t first[151];
    release_notes_first_line(notes, first, _countof(first));
    text_format(out, limit, L"Vantrel %ls is available (you have %ls).   %ls",
                new_version ? new_version : L"", running_version ? running_version : L"", first);
}

void update_bar_buttons(int32_t width, int32_t height, int32_t dpi, BarRect out[3]) {
    int32_t w = scale_to_dpi(104, dpi), h = scale_to_dpi(28, dpi);
    int32_t top = (height - h) / 2;
    int32_t right = width - scale_to_dpi(10, dpi);
    for (int32_t i = 2; i >= 0; i--) {
        out[i] = {right - w, top, right, top + h};
        right = right - w - scale_to_dpi(6, dpi);
    }
}

BarRect update_bar_text_rect(int32_t width, int32_t height, int32_t dpi) {
    return {scale_to_dpi(42, dpi), 0, width - scale_to_dpi(350, dpi), height};
}

BarRect update_bar_glyph_rect(int32_t height, int32_t dpi) {
    return {scale_to_dpi(10, dpi), 0, scale_to_dpi(40, dpi), height};
}
