// The ribbon (window class "NSRibbon"): tabs, groups of large buttons and the version label across
// the top of the main window. It sends each button's command id to the main window as WM_COMMAND
// and posts WM_SIZE to it when the tab changes, so the main layout shows the lists or the Settings
// page.
#pragma once

#include <windows.h>

#include <stdint.h>

// Creates the ribbon and its tooltip as children/owned windows of parent, stores them in g_main and
// runs the first layout. The fonts and the white brush of g_main must exist.
void create_ribbon(HWND parent);

// Measures and places everything of the current tab again, re-registers the tooltips and repaints;
// call it whenever something the ribbon draws changed (view, expert tools, search running).
void ribbon_layout();

// The current tab: 0 Home, 1 Tools, 2 Settings, 3 Share, 4 Help.
int32_t ribbon_tab();
