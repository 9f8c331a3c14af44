// What the interface asks of the program around it: the check cycle (start a check or a search,
// take a finished snapshot or search result, the one-second tick, the first check) and the
// single-instance mutex. The entry point fills the table before it creates the main window; the
// defaults do nothing harmful (no check starts, a hand-over is freed), so a window made without
// the frame, as some tests make it, still works.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "core/session.h"

struct FrameServices {
    void (*start_check)(Session* session, int with_network_test, const wchar_t* address);
    int (*start_search)(Session* session, int show_view);                   // 1 when a search started
    uint32_t (*check_done)(Session* session, Snapshot* snapshot);           // RefreshFlags to do
    uint32_t (*search_done)(Session* session, NetworkSearchResult* result); // RefreshFlags to do
    uint32_t (*search_name)(Session* session, SearchName* name);            // RefreshFlags to do
    void (*check_tick)(Session* session);
    void (*first_check)(Session* session);
    void (*release_instance)();
    void (*retake_instance)();
};

extern FrameServices g_frame;

void frame_services_defaults(FrameServices* out);
