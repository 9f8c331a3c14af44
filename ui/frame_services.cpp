// The defaults of the frame services.
#include "ui/frame_services.h"

#include <stdlib.h>

static void no_check(Session*, int, const wchar_t*) {}
static int no_search(Session*, int) {
    return 0;
}
static uint32_t take_snapshot(Session* session, Snapshot* snapshot) {
    session_take_snapshot(session, snapshot);
    return 0;
}
static uint32_t take_search(Session* session, NetworkSearchResult* result) {
    session_take_search(session, result);
    return 0;
}
static uint32_t drop_name(Session*, SearchName* name) {
    free(name);
    return 0;
}
static void no_tick(Session*) {}
static void no_instance() {}

static const FrameServices kDefaults = {no_check, no_search, take_snapshot, take_search, drop_name,
                                        no_tick,  no_tick,   no_instance,   no_instance};

FrameServices g_frame = kDefaults;

void frame_services_defaults(FrameServices* out) {
    *out = kDefaults;
}
