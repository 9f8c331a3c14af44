// The command table: one row per command with what it needs first. on_command looks the id up
// here, so the demonstration message and the "click a printer first" message are decided in one
// place for the ribbon, the context menu, the update bar and the Settings page alike.
#include "ui/commands.h"

#include "core/session.h"
#include "core/text.h"
#include "ui/command_handlers.h"
#include "ui/main_commands.h"
#include "ui/main_window.h"

static const uint32_t P = CommandNeedsPrinter;
static const uint32_t D = CommandRefusedInDemo;

// A copy: opening a printer window is immediate, but a copy keeps the name safe from a re-check.
static const wchar_t* printer_name(int32_t p) {
    static wchar_t name[260];
    const PrinterRecord* printer = session_printer(g_main.session, p);
    text_copy(name, _countof(name), printer ? printer->name : L"");
    return name;
}

// Handlers that only forward to a named operation.
static void do_details(int32_t, int32_t) {
    show_details();
}
static void do_fix_this(int32_t, int32_t) {
    fix_this();
}
static void do_restart_spooler(int32_t, int32_t) {
    restart_spooler(0);
}
static void do_clear_stuck_jobs(int32_t, int32_t) {
    clear_stuck_jobs();
}
static void do_save_report(int32_t, int32_t) {
    save_report();
}
static void do_history(int32_t, int32_t) {
    open_history_window();
}
static void do_open_queue(int32_t, int32_t p) {
    open_printer_window(printer_name(p), L"/o");
}
static void do_properties(int32_t, int32_t p) {
    open_printer_window(printer_name(p), L"/p");
}
static void do_preferences(int32_t, int32_t p) {
    open_printer_window(printer_name(p), L"/e");
}
static void do_web_page(int32_t, int32_t p) {
    open_printer_web_page(p);
}
static void do_find_driver(int32_t, int32_t p) {
    find_driver(p);
}
static void do_add_pdf(int32_t, int32_t) {
    add_pdf_printer(0);
}
static void do_share(int32_t, int32_t) {
    open_share_window();
}
static void do_share_email(int32_t, int32_t) {
    share_shortcut(0);
}
static void do_share_messenger(int32_t, int32_t) {
    share_shortcut(4);
}
static void do_share_whatsapp(int32_t, int32_t) {
    share_shortcut(5);
}
static void do_share_text(int32_t, int32_t) {
    share_shortcut(6);
}
static void do_copy_link(int32_t, int32_t) {
    copy_share_link();
}
static void do_help_notes(int32_t id, int32_t) {
    show_help_notes(id);
}
static void do_update_check(int32_t, int32_t) {
    start_update_check(1);
}
static void do_update_now(int32_t, int32_t) {
    start_update_download();
}
static void do_about(int32_t, int32_t) {
    show_about();
}

const CommandRow kCommands[] = {
    {CmdAutoCheck, 0, cmd_setting},
    {CmdAutoNetTest, 0, cmd_setting},
    {CmdAskPrinter, 0, cmd_setting},
    {CmdCheckVirtual, 0, cmd_setting},
    {CmdReadEventLog, 0, cmd_setting},
    {CmdExpertTools, 0, cmd_setting},
    {CmdLogFile, 0, cmd_setting},
    {CmdTopmost, 0, cmd_setting},
    {CmdAutoUpdate, 0, cmd_setting},
    {CmdCheckUpdatesNow, 0, do_update_check},
    {CmdUpdateNow, 0, do_update_now},
    {CmdWhatsNew, 0, cmd_whats_new},
    {CmdLater, 0, cmd_later},
    {CmdCheckNow, 0, cmd_check_now},
    {CmdNetworkTest, D, cmd_network_test},
    {CmdDetails, 0, do_details},
    {CmdFixThis, 0, do_fix_this},
    {CmdRestartSpooler, 0, do_restart_spooler},
    {CmdClearStuckJobs, 0, do_clear_stuck_jobs},
    {CmdTestPage, P, cmd_test_page},
    {CmdViewProblems, 0, cmd_view},
    {CmdViewPrintQueue, 0, cmd_view},
    {CmdViewWindowsLog, 0, cmd_view},
    {CmdViewDrivers, 0, cmd_view},
    {CmdViewNetwork, 0, cmd_view},
    {CmdSaveReport, 0, do_save_report},
    {CmdCopySummary, 0, cmd_copy_summary},
    {CmdHistory, 0, do_history},
    {CmdOpenLog, 0, cmd_open_log},
    {CmdFindPrinters, 0, cmd_find_printers},
    {CmdOpenQueue, P, do_open_queue},
    {CmdProperties, P, do_properties},
    {CmdPreferences, P, do_preferences},
    {CmdFindDriver, P, do_find_driver},
    {CmdPrintersSettings, 0, cmd_shell},
    {CmdDevicesPrinters, 0, cmd_shell},
    {CmdAddPrinter, 0, cmd_shell},
    {CmdPrintServer, 0, cmd_shell},
    {CmdPrintManagement, 0, cmd_shell},
    {CmdWebPage, P, do_web_page},
    {CmdTroubleshooter, 0, cmd_troubleshooter},
    {CmdPauseResume, P, cmd_pause_resume},
    {CmdOfflineOnline, P, cmd_offline_online},
    {CmdSetDefault, P | D, cmd_set_default},
    {CmdCancelAllJobs, P, cmd_cancel_all_jobs},
    {CmdSnmpOff, P, cmd_snmp_off},
    {CmdAddPdf, 0, do_add_pdf},
    {CmdRemovePrinter, P | D, cmd_remove_printer},
    {CmdRunAsAdmin, 0, cmd_run_as_admin},
    {CmdShare, 0, do_share},
    {CmdShareEmail, 0, do_share_email},
    {CmdShareMessenger, 0, do_share_messenger},
    {CmdShareWhatsApp, 0, do_share_whatsapp},
    {CmdShareText, 0, do_share_text},
    {CmdCopyLink, 0, do_copy_link},
    {CmdHowToUse, 0, do_help_notes},
    {CmdDriverTypes, 0, do_help_notes},
    {CmdReleaseNotes, 0, do_help_notes},
    {CmdCheckUpdates, 0, do_update_check},
    {CmdDownloadPage, 0, cmd_shell},
    {CmdAbout, 0, do_about},
};

const int32_t kCommandCount = (int32_t)(sizeof(kCommands) / sizeof(kCommands[0]));

const CommandRow* command_row(int32_t id) {
    for (int32_t i = 0; i < kCommandCount; i++)
        if (kCommands[i].id == id) return &kCommands[i];
    return nullptr;
}

// A command that acts on a printer asks for one first; only then does demonstration mode refuse it,
// so the user learns to pick a printer before learning the button does nothing here.
CommandStep command_step(const CommandRow* row, int32_t demo, int32_t selected_printer) {
    if (!row) return StepUnknown;
    if ((row->flags & CommandNeedsPrinter) && selected_printer < 0) return StepAskPrinter;
    if ((row->flags & CommandRefusedInDemo) && demo) return StepRefuseDemo;
    return StepRun;
}
