// The frame's own process-wide state: the command line, the module and the single-instance mutex,
// and the headless modes. The mode flags that other parts read too (demonstration, elevation, scan
// range) live in core/state.h; the window and its title in ui/.
#pragma once

#include <windows.h>

#include <stdint.h>

#include "app/cmdline.h"
#include "core/messages.h"

#define VANTREL_MUTEX_NAME L"Local\\Corvalen.Vantrel"

struct AppState {
    HINSTANCE instance;
    const wchar_t* rawCommandLine;
    CommandLine cmd;
    HANDLE instanceMutex;
};

extern AppState g_app;

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

// "/check" and "/fix" (fleet_win.cpp): one line on standard output, the exit code of fleet.h.
int run_fleet_mode(const CommandLine* cmd);

// The headless modes' checks, on the calling thread. The demonstration's first check: the made-up
// snapshot and search result, matched, remembered and diagnosed as the window does. A check of this
// PC: the snapshot (with network tests when asked), then with scan the network search the window
// would start from its Network Printers view, then the diagnosis. 0, or the Windows error code.
struct Session;
uint32_t demo_first_check(Session* session);
uint32_t pc_check_now(Session* session, int scan, int with_network_test);
