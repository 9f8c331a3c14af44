// The main window's layout as a function.
#include "ui/layout.h"

#include "core/dpi.h"

static LayoutRect rect(int32_t x, int32_t y, int32_t width, int32_t height) {
    return LayoutRect{x, y, width, height};
}

void main_layout(int32_t width, int32_t height, int32_t status_height, int32_t dpi, int32_t update_bar_shown,
                 int32_t tab, MainLayout* out) {
    *out = MainLayout{};
    auto s = [dpi](int32_t v) { return scale_to_dpi(v, dpi); };
    const int32_t m = s(8);
    const int32_t ribbon_height = s(30) + s(98) + s(1);
    out->ribbon = rect(0, 0, width, ribbon_height);
    int32_t y = ribbon_height;
    if (update_bar_shown) {
        out->updateBar = rect(0, y, width, s(44));
        y += s(44);
    }
    out->banner = rect(m, y + m, width - 2 * m, s(44));
    const int32_t top = y + m + s(44) + s(8);
    const int32_t bottom = height - status_height - m;
    if (tab == 2) {
        out->settingsShown = 1;
        out->settingsPage = rect(m, top, width - 2 * m, bottom - top);
        return;
    }
    const int32_t caption = s(18);
    int32_t list = (bottom - top - caption - s(8) - caption) * 42 / 100;
    if (list < s(90)) list = s(90);
    out->printerCaption = rect(m, top, width - 2 * m, caption);
    out->printerList = rect(m, top + caption, width - 2 * m, list);
    const int32_t y2 = top + caption + list + s(8);
    int32_t rest = bottom - y2 - caption;
    if (rest < s(60)) rest = s(60);
    out->bottomCaption = rect(m, y2, width - 2 * m, caption);
    out->bottomList = rect(m, y2 + caption, width - 2 * m, rest);
}

void main_window_placement(int32_t dpi, const LayoutRect& work, WindowPlacement* out) {
    auto capped = [](int32_t v, int32_t limit) { return limit > 0 && v > limit ? limit : v; };
    const int32_t width = capped(scale_to_dpi(1360, dpi), work.width);
    const int32_t height = capped(scale_to_dpi(880, dpi), work.height);
    out->window = rect(work.x + (work.width > width ? (work.width - width) / 2 : 0),
                       work.y + (work.height > height ? (work.height - height) / 2 : 0), width, height);
    out->minWidth = capped(scale_to_dpi(1120, dpi), work.width);
    out->minHeight = capped(scale_to_dpi(700, dpi), work.height);
}

LayoutRect secondary_window_place(const LayoutRect& lists, int32_t ribbon_bottom, const LayoutRect& work,
                                  int32_t width, int32_t height) {
    if (work.width > 0 && width > work.width) width = work.width;
    if (work.height > 0 && height > work.height) height = work.height;
    int32_t x = lists.x + (lists.width - width) / 2;
    int32_t y = lists.y + (lists.height - height) / 2;
    if (y < ribbon_bottom) y = ribbon_bottom;
    if (work.width > 0) {
        if (x + width > work.x + work.width) x = work.x + work.width - width;
        if (x < work.x) x = work.x;
    }
    if (work.height > 0) {
        // Kept inside the work area first; over the ribbon only when there is no room below it.
        if (y + height > work.y + work.height) y = work.y + work.height - height;
        if (y < work.y) y = work.y;
    }
    return rect(x, y, width, height);
}
