// The commands the main window carries out itself (the rest live with the windows and actions that
// own them, see command_handlers.h). Each has the command table's handler shape: the command id
// and, for commands that need one, the selected printer.
#pragma once

#include <stdint.h>

#define VANTREL_DOWNLOAD_PAGE L"https://github.com/Corvalen/vantrel-releases/releases/latest"

void cmd_setting(int32_t id, int32_t printer);
void cmd_whats_new(int32_t id, int32_t printer);
void cmd_later(int32_t id, int32_t printer);
void cmd_check_now(int32_t id, int32_t printer);
void cmd_network_test(int32_t id, int32_t printer);
void cmd_test_page(int32_t id, int32_t printer);
void cmd_view(int32_t id, int32_t printer);
void cmd_copy_summary(int32_t id, int32_t printer);
void cmd_open_log(int32_t id, int32_t printer);
void cmd_find_printers(int32_t id, int32_t printer);
void cmd_shell(int32_t id, int32_t printer);
void cmd_troubleshooter(int32_t id, int32_t printer);
void cmd_pause_resume(int32_t id, int32_t printer);
void cmd_offline_online(int32_t id, int32_t printer);
void cmd_set_default(int32_t id, int32_t printer);
void cmd_cancel_all_jobs(int32_t id, int32_t printer);
void cmd_snmp_off(int32_t id, int32_t printer);
void cmd_remove_printer(int32_t id, int32_t printer);
void cmd_run_as_admin(int32_t id, int32_t printer);

// The bottom view a view command shows (207..210, 249), or -1.
int32_t view_of_command(int32_t id);

// The copy Copy Summary puts on the clipboard: every LF as CR LF, at most 39,990 characters.
void summary_for_clipboard(const wchar_t* text, wchar_t* out, size_t cap);
