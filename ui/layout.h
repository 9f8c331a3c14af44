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
