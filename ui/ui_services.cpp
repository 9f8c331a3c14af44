// The defaults of the interface services.
#include "ui/ui_services.h"

static void* no_window() {
    return nullptr;
}
static void no_text(const wchar_t*) {}
static int32_t no_box(const wchar_t*, const wchar_t*, uint32_t) {
    return 0;
}
static int32_t no_printer() {
    return -1;
}
static void no_notes(const wchar_t*, const wchar_t*, const wchar_t*) {}
static int32_t no_clipboard(const wchar_t*) {
    return 0;
}
static void no_refresh(uint32_t) {}
static void no_view(int32_t) {}
static void no_topmost(int32_t) {}

static const UiServices kDefaults = {no_window, no_text,  no_text,      no_box,     no_printer, no_printer,
                                     no_view,   no_notes, no_clipboard, no_refresh, no_topmost};

void ui_services_defaults(UiServices* out) {
    *out = kDefaults;
}

UiServices g_ui = kDefaults;
