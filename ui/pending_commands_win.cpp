// Commands whose windows and actions are still being written. Each is one named function so the
// command table already routes to it; until it is filled it does nothing.
#include "ui/command_handlers.h"

void show_details() {}
void save_report() {}
void open_history_window() {}

void open_share_window() {}
void share_shortcut(int32_t) {}
void copy_share_link() {}
void show_help_notes(int32_t) {}
void show_about() {}
void show_whats_new() {}
