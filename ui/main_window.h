// The main window's one state record and the operations the other windows of the interface use:
// fonts, brushes, the DPI, the main tooltip, the layout and the command handler. Everything here
// lives on the interface thread.
#pragma once

#include <windows.h>

#include <stdint.h>

#include "ui/layout.h"

struct Session;

struct MainWindow {
    HINSTANCE instance;
    Session* session; // the checks this window shows; never null once created
    HWND window;
    HWND ribbon, ribbonTooltip, mainTooltip;
    HWND updateBar, banner, printerCaption, printerList, bottomCaption, bottomList;
    HWND settingsPage, statusBar;
    HFONT normal, bold, bannerFont, glyphLarge, glyphSmall;
    HBRUSH white, paleYellow, bannerBrush;
    int32_t dpi;              // of the monitor the window is on
    int32_t systemDpi;        // the one the system's font sizes are given at
    int32_t layoutKey[6];     // what the last layout was made for (client size, status bar, DPI, bar, tab)
    int32_t layoutDone;       // 0 until the first layout of this window
    wchar_t lastOutcome[700]; // the last change's outcome with its time, kept in the status bar
    int32_t bottomLastUsed;   // the user last used the bottom list rather than the printer list
    int32_t highContrast;     // Windows' high contrast is on: the ribbon, banner and lists use system colours
    int32_t bannerColour;     // BannerColour; -1 until the first verdict
    wchar_t bannerText[800];
    HWND shareWindow;           // null unless open
    HWND undoWindow;            // null unless open
    const wchar_t* updatedFrom; // the version before a self-update, or null
    uint64_t nextUpdateCheck;   // GetTickCount64 time of the next automatic update check
    int32_t oldCopyAttempts;
};

extern MainWindow g_main;

// Points the interface services (ui/ui_services.h) at this window; done first at creation.
void install_ui_services();

// A size written at 96 DPI, at the window's DPI.
int scaled(int value_at_96);

// A tooltip window for owner's tools: wide enough for a paragraph, shown for 32 s after initial_ms.
HWND create_tooltip(HWND owner, int initial_ms);

// Adds a fixed tooltip to a control (a tool of the main tooltip).
void add_control_tooltip(HWND control, const wchar_t* text);

// The work area (the screen less the taskbar) of the monitor the window is on.
LayoutRect work_area_of(HWND window);

// Keeps what the last change came to ("Done: ...", a failure) in the status bar's right-hand part,
// with the time, until the next one: the check that follows rewrites only the left part.
void show_last_outcome(const wchar_t* text);

// Runs the layout again (after the update bar was shown or hidden, or the ribbon tab changed).
void layout_main_window();

// Shows or hides the update bar, lays out and redraws the whole window.
void show_update_bar(int show);

// The command handler every source sends its ids to (also reachable as WM_COMMAND).
void on_command(int32_t id);

// Whether Windows' high contrast is on (SPI_GETHIGHCONTRAST). Tests point it elsewhere: Wine always
// answers off.
extern int32_t (*g_high_contrast)();
// The system's colours or high contrast changed (WM_SYSCOLORCHANGE, WM_SETTINGCHANGE): reads high
// contrast again, hands the message on to the common controls, which do not get it themselves, and
// repaints everything in the new colours.
void apply_system_colours();

// The printer list's menu at a point on the screen.
void open_printer_menu(POINT at);
// What a double-click or Enter on a list row does: Fix on a problem, Details on anything else.
void activate_row(int32_t bottom, int32_t row);
// The message loop's keys (keyboard_win.cpp): 1 when msg was one the program handled itself.
int32_t main_window_key(MSG* msg);

// Switches the bottom list's view, stores it as "View", rebuilds the columns and refills.
void switch_view(int32_t view);
