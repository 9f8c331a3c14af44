// The ribbon (window class "NSRibbon"): tabs, groups of large buttons and the version label across
// the top of the main window. It sends each button's command id to the main window as WM_COMMAND
// and posts WM_SIZE to it when the tab changes, so the main layout shows the lists or the Settings
// page.
#pragma once

#include <windows.h>

#include <stdint.h>

#include "ui/ribbon.h"

// Creates the ribbon and its tooltip as children/owned windows of parent, stores them in g_main and
// runs the first layout. The fonts and the white brush of g_main must exist.
void create_ribbon(HWND parent);

// Measures and places everything of the current tab again, re-registers the tooltips and repaints;
// call it whenever something the ribbon draws changed (view, expert tools, search running).
void ribbon_layout();

// The current tab: 0 Home, 1 Tools, 2 Settings, 3 Share, 4 Help.
int32_t ribbon_tab();

// Key tips (Alt): shown on the tabs with the keyboard focus on the ribbon, or taken away with the
// focus given back.
void ribbon_start_key_tips();
void ribbon_stop_key_tips();
int32_t ribbon_key_tips_shown();

// What the ribbon shows now, for its accessible object.
struct RibbonView {
    HWND window;
    const RibbonLayout* layout;
    const RibbonState* state;
    RibbonFlags flags;
    int32_t hasFocus;
};
RibbonView ribbon_view();
// Does an accessible item's default action (a tab is opened, a button pressed, a menu opened).
void ribbon_access_action(int32_t item);

// WM_GETOBJECT: the ribbon's own accessible object for OBJID_CLIENT (ribbon_access_win.cpp).
LRESULT ribbon_get_object(HWND window, WPARAM wparam, LPARAM lparam);
// The banner's live region: marks it once, and tells screen readers when its verdict changed.
void banner_mark_live(HWND banner);
void banner_announce(HWND banner);
