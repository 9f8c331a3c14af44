// The handlers behind the command table. Those of the main window are in main_commands_win.cpp;
// the rest belong to the windows and actions that carry them out (Fix This, History & Undo, the
// report windows, sharing, help and updates) and are filled in where those live.
#pragma once

#include <stdint.h>
#include <wchar.h>

// Acting on findings and printers.
void fix_this();
void apply_fix(int32_t finding_index);
void show_details();
void save_report();
void open_history_window();
void restart_spooler(int32_t quiet);
void clear_stuck_jobs();
void send_test_page(int32_t printer);
void open_printer_window(int32_t printer, const wchar_t* printui_switch);
void open_printer_web_page(int32_t printer);
void find_driver(int32_t printer);
void pause_or_resume(int32_t printer, int32_t pause);
void set_printer_offline(int32_t printer, int32_t use_offline);
void cancel_all_jobs(int32_t printer, int32_t quiet);
void snmp_status_off(const wchar_t* port_name, int32_t quiet);
void add_pdf_printer(int32_t quiet);

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
