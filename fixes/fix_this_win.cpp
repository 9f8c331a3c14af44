// Fix This and the fix commands on the interface thread: the questions, the demonstration message,
// and the hand-over of each plan to the action runner. Message boxes and the runner's wait pump
// messages, so a re-check can replace the snapshot and the finding list while a question is open:
// a finding is copied before its question, and anything read afterwards comes from the new check.
#include "fix_this.h"

#include <windows.h>
#include <shellapi.h>

#include "core/messages.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui_services.h"
#include "fixes/actions.h"
#include "history/log_file.h"
#include "net/driver_search.h"
#include "net/search.h"
#include "ui/commands.h"

static HWND owner() {
    return static_cast<HWND>(g_ui.main_window());
}

static int32_t ask(const wchar_t* text, const wchar_t* title, uint32_t flags) {
    return g_ui.message_box(text, title, flags);
}

static void demo_message() {
    ask(VANTREL_DEMO_MESSAGE, L"Vantrel", MB_ICONINFORMATION);
}

// Runs a plan through the action runner. skip: the caller has asked its own question already.
static void run_plan(const FixPlan* plan, int skip) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    if (plan->confirmTitle && (!skip || plan->alwaysConfirm) &&
        ask(plan->confirmText, plan->confirmTitle, MB_ICONQUESTION | MB_OKCANCEL) != IDOK)
        return;
    uint32_t result = run_action(plan->verb, plan->argument, plan->needsAdmin);
    if (report_action(result, plan->changeKind, plan->detail, plan->description) && plan->offerTestPage)
        offer_test_page();
}

static void run_command(FixCommand command, const wchar_t* argument, int skip) {
    FixPlan plan;
    if (!fix_command_plan(command, argument, g_snapshot ? g_snapshot->jobCount : 0, &plan)) return;
    run_plan(&plan, skip);
}

void restart_spooler(int skip) {
    run_command(FixCommandRestartSpooler, nullptr, skip);
}
void clear_stuck_jobs() {
    run_command(FixCommandClearStuckJobs, nullptr, 0);
}
void pause_or_resume(const wchar_t* printer, int pause) {
    run_command(pause ? FixCommandPause : FixCommandResume, printer, 1);
}
void set_printer_offline(const wchar_t* printer, int currently_offline) {
    run_command(currently_offline ? FixCommandOnline : FixCommandOffline, printer, 1);
}
void cancel_all_jobs(const wchar_t* printer, int skip) {
    run_command(FixCommandCancelAllJobs, printer, skip);
}
void snmp_status_off(const wchar_t* port, int skip) {
    run_command(FixCommandSnmpOff, port, skip);
}
void add_pdf_printer(int skip) {
    run_command(FixCommandAddPdf, nullptr, skip);
}

void open_printer_window(const wchar_t* printer_name, const wchar_t* switch_text) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    wchar_t parameters[700];
    printer_window_parameters(printer_name, switch_text, parameters, _countof(parameters));
    ShellExecuteW(owner(), L"open", L"rundll32.exe", parameters, nullptr, SW_SHOWNORMAL);
}

void send_test_page(int32_t printer) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    if (!g_snapshot || printer < 0 || printer >= g_snapshot->printerCount) return;
    wchar_t name[260];
    text_copy(name, _countof(name), g_snapshot->printers[printer].name);
    open_printer_window(name, L"/k");
    log_line(L"Sent a Windows test page to \"%ls\"", name);
    wchar_t line[400];
    text_format(
        line, _countof(line),
        L"Sent a Windows test page to \"%ls\". If it prints, Windows, the driver and the connection are "
        L"all working.",
        name);
    g_ui.status_text(line);
    // The page takes a few seconds to reach the queue; the check then shows whether it went through.
    if (owner()) SetTimer(owner(), TimerTestPage, 4000, nullptr);
}

void offer_test_page() {
    if (g_process.demo || !g_snapshot) return;
    int32_t printer = test_page_printer(g_snapshot, g_ui.selected_printer());
    if (printer < 0) return;
    wchar_t name[260];
    text_copy(name, _countof(name), g_snapshot->printers[printer].name);
    wchar_t question[600];
    text_format(
        question, _countof(question),
        L"The Print Spooler is running again.\n\nSend a Windows test page to \"%ls\" now, to prove printing "
        L"works?",
        name);
    if (ask(question, L"Test Page", MB_ICONQUESTION | MB_YESNO) != IDYES) return;
    // The question pumped messages: a new snapshot may have moved the printer to another index.
    for (int32_t i = 0; g_snapshot && i < g_snapshot->printerCount; i++)
        if (text_equal_ci(g_snapshot->printers[i].name, name)) {
            send_test_page(i);
            return;
        }
}

void open_printer_web_page(int32_t printer) {
    if (printer < 0 || !g_snapshot) return;
    if (g_process.demo) {
        demo_message();
        return;
    }
    wchar_t url[300];
    if (printer_web_address(g_snapshot, printer, url, _countof(url)))
        ShellExecuteW(owner(), L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
    else
        ask(VANTREL_NO_WEB_PAGE, L"Vantrel", MB_ICONINFORMATION);
}

// The port's current address as Windows' standard TCP/IP monitor keeps it; empty when unknown.
static void read_port_address(const wchar_t* port, wchar_t* out, size_t cap) {
    text_copy(out, cap, L"");
    wchar_t path[400];
    text_format(path, _countof(path),
                L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\%ls",
                port);
    const wchar_t* names[] = {L"HostName", L"IPAddress"};
    for (const wchar_t* name : names) {
        wchar_t value[200] = L"";
        DWORD bytes = sizeof(value) - sizeof(wchar_t), type = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, path, name, RRF_RT_REG_SZ, &type, value, &bytes) !=
            ERROR_SUCCESS)
            value[0] = 0;
        value[_countof(value) - 1] = 0;
        if (value[0]) {
            text_copy(out, cap, value);
            return;
        }
    }
}

static void point_to_new_address(const wchar_t* subject) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    wchar_t port[260], address[260], old_address[200];
    if (!split_port_subject(subject, port, _countof(port), address, _countof(address))) return;
    read_port_address(port, old_address, _countof(old_address));
    FixPlan plan;
    port_address_plan(subject, port, address, old_address, &plan);
    run_plan(&plan, 1);
}

static void keep_default_printer() {
    if (g_process.demo) {
        demo_message();
        return;
    }
    HKEY key = nullptr;
    LONG result =
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        DWORD one = 1;
        result = RegSetValueExW(key, L"LegacyDefaultPrinterMode", 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&one), sizeof(one));
        RegCloseKey(key);
    }
    report_action((uint32_t)result, 5, L"", L"Switched off \"Let Windows manage my default printer\"");
}

static void run_own_task(FixKind fix) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    FixPlan plan;
    if (own_task_plan(fix, g_snapshot, &plan)) run_plan(&plan, 1);
}

static void network_test_of(int32_t printer) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    if (!g_snapshot || printer < 0 || printer >= g_snapshot->printerCount) return;
    g_ui.start_check(1, g_snapshot->printers[printer].address);
}

static void carry_out(const Finding* f) {
    switch (f->fix) {
    case StartSpooler:
    case SpoolerAutoStart:
    case EnableDetailedLog:
        run_own_task(f->fix);
        break;
    case RestartSpooler:
        restart_spooler(1);
        break;
    case ClearStuckJobs:
        clear_stuck_jobs();
        break;
    case CancelPrinterJobs:
        cancel_all_jobs(f->subject, 1);
        break;
    case ResumePrinter:
        pause_or_resume(f->subject, 0);
        break;
    case UseOfflineOff:
        set_printer_offline(f->subject, 1);
        break;
    case SnmpStatusOff:
        snmp_status_off(f->subject, 1);
        break;
    case AddPdfPrinter:
        add_pdf_printer(1);
        break;
    case KeepDefaultPrinter:
        keep_default_printer();
        break;
    case RunNetworkTest:
        network_test_of(f->printerIndex);
        break;
    case OpenWebPage:
        open_printer_web_page(f->printerIndex);
        break;
    case OpenPrintersSettings:
        ShellExecuteW(owner(), L"open", L"ms-settings:printers", nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case ShowPrintLog:
        g_ui.switch_view(ViewWindowsLog);
        break;
    case FindDriver:
        find_driver(f->printerIndex);
        break;
    case PointToNewAddress:
        point_to_new_address(f->subject);
        break;
    case SearchNetwork:
        start_network_search(1);
        g_ui.switch_view(ViewNetworkPrinters);
        break;
    default:
        break;
    }
}

void apply_fix(int32_t row) {
    if (row < 0 || row >= g_findings.count || row >= kMaxFindings) return;
    // The user answers about the finding they were shown, even if a re-check replaces the list meanwhile.
    Finding finding = g_findings.items[row];
    wchar_t caption[400], text[2200];
    fix_caption(&finding, g_snapshot, caption, _countof(caption));
    uint32_t flags = fix_question(&finding, text, _countof(text));
    int32_t answer = ask(text, caption, flags);
    if (finding.fix == NoFix || answer != IDYES) return;
    carry_out(&finding);
}

void fix_this() {
    FixSelection selection = {};
    selection.bottomRow = g_ui.bottom_selection();
    selection.bottomLastUsed = selection.bottomRow >= 0;
    selection.view = g_settings.view;
    selection.printerRow = g_ui.selected_printer();
    FixChoice choice = choose_fix(&g_findings, &selection);
    if (choice.row >= 0)
        apply_fix(choice.row);
    else
        ask(choice.message, L"Vantrel", MB_ICONINFORMATION);
}
