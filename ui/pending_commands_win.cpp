// Commands whose windows and actions are still being written. Each is one named function so the
// command table already routes to it; until it is filled it does nothing, and a block handed to it
// by a worker is freed here so nothing leaks.
#include <stdlib.h>

#include "ui/command_handlers.h"

void fix_this() {}
void apply_fix(int32_t) {}
void show_details() {}
void save_report() {}
void open_history_window() {}
void restart_spooler(int32_t) {}
void clear_stuck_jobs() {}
void send_test_page(int32_t) {}
void open_printer_window(int32_t, const wchar_t*) {}
void open_printer_web_page(int32_t) {}
void find_driver(int32_t) {}
void pause_or_resume(int32_t, int32_t) {}
void set_printer_offline(int32_t, int32_t) {}
void cancel_all_jobs(int32_t, int32_t) {}
void snmp_status_off(const wchar_t*, int32_t) {}
void add_pdf_printer(int32_t) {}

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
