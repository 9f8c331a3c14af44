// Where every part of the main window goes, as integer rectangles from the client size, the status
// bar's height and the DPI. Each 96-DPI constant is scaled on its own and the scaled values added,
// so the result matches what Windows draws at any DPI.
#pragma once

#include <stdint.h>

struct LayoutRect {
    int32_t x, y, width, height;
};

struct MainLayout {
    LayoutRect ribbon, updateBar, banner;
    LayoutRect settingsPage;                // only when settingsShown
    LayoutRect printerCaption, printerList; // only when !settingsShown
    LayoutRect bottomCaption, bottomList;
    int32_t settingsShown;
};

// tab 2 (Settings) shows the Settings page instead of the captions and lists.
void main_layout(int32_t width, int32_t height, int32_t status_height, int32_t dpi, int32_t update_bar_shown,
                 int32_t tab, MainLayout* out);

// Where the main window opens and how small it may be made, on a monitor whose work area (the
// screen less the taskbar) is work. The sizes at 96 DPI are scaled, then capped to the work area so
// the whole window, its ribbon and its status bar stay on the screen; the window is centred in it.
struct WindowPlacement {
    LayoutRect window;
    int32_t minWidth, minHeight;
};
void main_window_placement(int32_t dpi, const LayoutRect& work, WindowPlacement* out);

// A secondary window (notes, details) of width x height over the main window: centred on the lists,
// its top never above the ribbon's bottom edge, and moved (then shrunk) to stay inside the work
// area. All in screen coordinates.
LayoutRect secondary_window_place(const LayoutRect& lists, int32_t ribbon_bottom, const LayoutRect& work,
                                  int32_t width, int32_t height);
