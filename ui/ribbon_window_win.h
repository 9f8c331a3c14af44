// The ribbon window's own record, shared by its window procedure (ribbon_win.cpp) and its painting
// (ribbon_paint_win.cpp); nothing else in the program sees it.
#pragma once

#include <windows.h>

#include <stdint.h>

#include "ui/ribbon.h"

struct RibbonWindow {
    HWND window, tooltip;
    HWND focusBeforeTips; // where the keyboard focus goes back to when the key tips end
    RibbonState state;
    RibbonLayout layout;
    int32_t lastTab; // the tab the last layout was made for; -1 before the first
    int32_t tracking;
    int32_t tooltipCount;
    int32_t hasFocus;
    wchar_t version[40];
};

extern RibbonWindow g_rb;

// The flags the ribbon is drawn and laid out with, from the settings and the program's state.
RibbonFlags ribbon_flags_now();
// WM_PAINT: everything, double-buffered, in the ribbon's colours or high contrast's.
void ribbon_paint(HWND window);
