// The frame's own process-wide state and the services it offers every other part: the command
// line, the DPI every size is scaled by, and the windows that exist. The mode flags that pure code
// reads too (demonstration, elevation, scan range) live in core/state.h.
#pragma once

#include <windows.h>

#include <stdint.h>

#include "app/cmdline.h"
#include "core/messages.h"

#define VANTREL_VERSION_TEXT L"1.1.0"
#define VANTREL_MUTEX_NAME L"Local\\Corvalen.Vantrel"
#define VANTREL_MAIN_CLASS L"CorvalenVantrel"
#define VANTREL_TITLE L"Vantrel " VANTREL_VERSION_TEXT L" \x2014 Why Won't It Print?"

struct AppState {
    HINSTANCE instance;
    const wchar_t* rawCommandLine;
    CommandLine cmd;
    int32_t dpi; // screen DPI; 96 until read
    HANDLE instanceMutex;
    HWND shareWindow; // null unless open
    HWND undoWindow;  // null unless open
};

extern AppState g_app;

// A size written at 96 DPI, converted to the screen's DPI.
int scale_for_dpi(int value_at_96, int dpi);

// The main window's title with its "(Administrator)" and "[DEMO DATA]" marks.
void build_window_title(wchar_t* buf, size_t cap, int elevated, int demo);

// The main window's outer size at a DPI.
void main_window_size(int dpi, int* width, int* height);

// Whether the process token reports elevation.
int process_is_elevated();

// Takes the single-instance mutex. Returns 1 to go on starting; 0 when another copy holds it and
// has been asked to come to the front, in which case the caller exits with code 0.
int take_single_instance(int may_wait);

// Closes the mutex just before the program starts its own successor, and takes it again when that
// start failed.
void release_single_instance();
void retake_single_instance();

// Headless report ("/report FILE [/summary]"); returns 0 or the Windows error code.
int run_report_mode(const CommandLine* cmd);

// Headless network test of one address ("/nettest"); returns the exit code.
int run_nettest_mode(const CommandLine* cmd);
