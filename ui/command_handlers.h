// The handlers behind the command table. Those of the main window are in main_commands_win.cpp;
// the rest belong to the windows and actions that carry them out (Fix This, History & Undo, the
// report windows, sharing, help and updates) and are filled in where those live.
#pragma once

#include <stdint.h>
#include <wchar.h>

// Acting on findings and printers: Fix This, the fix commands and the driver search.
#include "ui/fix_commands.h"

void show_details();
void save_report();
void open_history_window();

// Sharing and help.
void open_share_window();
void share_shortcut(int32_t method);
void copy_share_link();
void show_help_notes(int32_t command);
void show_about();
void show_whats_new();

// Updates: the check, the download and their hand-overs (lParam blocks belong to the handler).
void start_update_check(int32_t manual);
void start_update_download();
int32_t update_download_running();
void cancel_update_download();
void on_update_checked(void* result);
void on_download_progress(int32_t percent);
void on_download_done(wchar_t* error);
