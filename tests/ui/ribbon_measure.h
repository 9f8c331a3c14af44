// The ribbon's layout as a window makes it: its client width, measured with that font at 96 DPI.
#pragma once

#include <windows.h>

#include "ui/ribbon.h"

inline RibbonLayout ribbon_layout_with(HWND ribbon, HFONT font, int32_t tab, RibbonFlags flags,
                                       const wchar_t* version) {
    RECT client;
    GetClientRect(ribbon, &client);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RibbonMeasure m = {[](void* c, const wchar_t* t, int32_t n) {
                           SIZE s = {};
                           GetTextExtentPoint32W((HDC)c, t, n, &s);
                           return (int32_t)s.cx;
                       },
                       dc};
    RibbonLayout l;
    ribbon_layout_of(&m, client.right, 96, tab, &flags, version, &l);
    SelectObject(dc, old);
    DeleteDC(dc);
    return l;
}
