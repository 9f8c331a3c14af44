// Commands whose windows and actions are still being written. Each is one named function so the
// command table already routes to it; until it is filled it does nothing, and a block handed to it
// by a worker is freed here so nothing leaks.
#include <stdlib.h>

#include "ui/command_handlers.h"

void open_share_window() {}
void share_shortcut(int32_t) {}
void copy_share_link() {}
void show_help_notes(int32_t) {}
void show_about() {}
void show_whats_new() {}

void start_update_check(int32_t) {}
void start_update_download() {}
int32_t update_download_running() { return 0; }
void cancel_update_download() {}
void on_update_checked(void* result) { free(result); }
void on_download_progress(int32_t) {}
void on_download_done(wchar_t* error) { free(error); }
