// The mode flags fixed at start, which many parts read. What the checks found lives in the session
// record (core/session.h), not here.
#pragma once

#include <stdint.h>
#include <wchar.h>

struct ProcessState {
    int32_t demo;          // "/demo": made-up printers, nothing on the PC is read or changed
    int32_t elevated;      // the process token reports elevation
    int32_t headless;      // "/check" or "/fix": no window, nobody to ask
    wchar_t scanRange[64]; // "/scanrange": the only range the network search sweeps; empty = none
};

extern ProcessState g_process;
