// The commands the main window carries out itself: checks, views, the summary, the log file,
// Windows' own printer windows, and the expert tools that act on the selected printer.
#include <windows.h>
#include <shellapi.h>

#include <stdlib.h>

#include "core/log_file.h"
#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/print_policy.h"
#include "core/text.h"
#include "reports/report.h"
#include "res/version.h"
#include "ui/command_handlers.h"
#include "ui/commands.h"
#include "ui/frame_services.h"
#include "ui/main_commands.h"
#include "ui/main_window.h"
#include "ui/secondary_win.h"
#include "ui/ui_services.h"

static void info_box(const wchar_t* text) {
    g_ui.message_box(text, L"Vantrel", MB_ICONINFORMATION);
}

static const PrinterRecord* printer_at(int32_t printer) {
    return session_printer(g_main.session, printer);
}

static void shell_open(const wchar_t* file, const wchar_t* parameters) {
    ShellExecuteW(g_main.window, L"open", file, parameters, nullptr, SW_SHOWNORMAL);
}

int32_t view_of_command(int32_t id) {
    switch (id) {
    case CmdViewProblems:
        return ViewProblems;
    case CmdViewPrintQueue:
        return ViewPrintQueue;
    case CmdViewWindowsLog:
        return ViewWindowsLog;
    case CmdViewDrivers:
        return ViewDrivers;
    case CmdViewNetwork:
        return ViewNetworkPrinters;
    }
    return -1;
}

// The clipboard copy holds at most 39,990 characters. A summary longer than that is cut at the end
// of a whole line and says so on one last line, so nobody pastes a summary cut mid-word as if whole.
#define SUMMARY_CUT_LINE                                                                                     \
    L"*** This summary is incomplete: it was too long to copy. Save Report writes all of it.\r\n"

void summary_for_clipboard(const wchar_t* text, wchar_t* out, size_t cap) {
    if (!cap) return;
    const size_t limit = cap > 39991 ? 39991 : cap; // 39,990 characters and the terminator
    size_t n = 0, last_line_end = 0;
    int cut = 0;
    for (const wchar_t* p = text; p && *p; p++) {
        const size_t need = *p == L'\n' ? 2 : 1;
        if (n + need + 1 > limit) {
            cut = 1;
            break;
        }
        if (*p == L'\n') out[n++] = L'\r';
        out[n++] = *p;
        if (*p == L'\n') last_line_end = n;
    }
    out[n] = 0;
    if (!cut) return;
    const size_t note = wcslen(SUMMARY_CUT_LINE);
    size_t keep = last_line_end;
    while (keep > 0 && keep + note + 1 > limit) { // make room for the note at a line end
        keep--;
        while (keep > 0 && out[keep - 1] != L'\n')
            keep--;
    }
    out[keep] = 0;
    text_append(out, limit, L"%ls", SUMMARY_CUT_LINE);
}

void cmd_setting(int32_t id, int32_t) {
    on_setting_clicked(id);
}

void cmd_whats_new(int32_t, int32_t) {
    wchar_t header[200];
    text_format(header, _countof(header),
                L"Vantrel %ls is available (you have %ls)%ls%ls. What's new:\r\n\r\n",
                g_update_bar.newVersion, VANTREL_VERSION_TEXT,
                g_update_bar.releaseDate[0] ? L" \x2014 released " : L"", g_update_bar.releaseDate);
    show_notes(L"Vantrel update \x2014 what's new", header, g_update_bar.notes);
}

void cmd_later(int32_t, int32_t) {
    if (update_download_running())
        cancel_update_download();
    else
        show_update_bar(0);
}

void cmd_check_now(int32_t, int32_t) {
    g_frame.start_check(g_main.session, g_process.demo ? 0 : 1, nullptr);
}

void cmd_network_test(int32_t, int32_t) {
    const PrinterRecord* p = printer_at(g_ui.selected_printer());
    if (!p) {
        g_frame.start_check(g_main.session, 1, nullptr);
        return;
    }
    if (!p->address[0]) {
        info_box(
            L"This printer is not a network printer with a known address (it is connected by USB, uses a WSD "
            L"port that hides its address, or is built into Windows), so there is nothing on the network to "
            L"test.\n\nClick a network printer, or click away from the list and press Network Test again to "
            L"test every network printer.");
        return;
    }
    g_frame.start_check(g_main.session, 1, p->address);
}

void cmd_test_page(int32_t, int32_t printer) {
    send_test_page(printer);
}

void cmd_view(int32_t id, int32_t) {
    switch_view(view_of_command(id));
}

void cmd_copy_summary(int32_t, int32_t) {
    if (!g_main.session || !g_main.session->snapshot) return;
    wchar_t* report = static_cast<wchar_t*>(malloc(kReportCapacity * sizeof(wchar_t)));
    wchar_t* copy = static_cast<wchar_t*>(malloc(39991 * sizeof(wchar_t)));
    if (report && copy) {
        build_report(g_main.session, 0, report, kReportCapacity);
        summary_for_clipboard(report, copy, 39991);
        if (g_ui.copy_to_clipboard(copy))
            g_ui.status_text(L"Summary copied \x2014 paste it into a ticket, email or chat with Ctrl+V.");
    }
    free(report);
    free(copy);
}

void cmd_open_log(int32_t, int32_t) {
    wchar_t path[MAX_PATH + 40];
    log_file_path(path, _countof(path));
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        info_box(g_settings.logFile
                     ? L"The log file is empty so far. Vantrel writes to it whenever what it finds "
                       L"changes, and whenever it changes something."
                     : L"The log file is switched off (Settings tab \x2192 Keep a log file).");
        return;
    }
    shell_open(path, nullptr);
}

void cmd_find_printers(int32_t, int32_t) {
    g_frame.start_search(g_main.session, 1);
    if (!g_process.demo) switch_view(ViewNetworkPrinters);
}

void cmd_shell(int32_t id, int32_t) {
    switch (id) {
    case CmdPrintersSettings:
        shell_open(L"ms-settings:printers", nullptr);
        break;
    case CmdDevicesPrinters:
        shell_open(L"explorer.exe", L"shell:::{A8A91A66-3A7D-4424-8D24-04E180695C7A}");
        break;
    case CmdAddPrinter:
        shell_open(L"rundll32.exe", L"printui.dll,PrintUIEntry /im");
        break;
    case CmdPrintServer:
        shell_open(L"rundll32.exe", L"printui.dll,PrintUIEntry /s /t2");
        break;
    case CmdDownloadPage:
        shell_open(VANTREL_DOWNLOAD_PAGE, nullptr);
        break;
    case CmdPrintManagement:
        if ((INT_PTR)ShellExecuteW(g_main.window, L"open", L"printmanagement.msc", nullptr, nullptr,
                                   SW_SHOWNORMAL) <= 32)
            info_box(
                L"Print Management is not on this PC. It is part of Windows Pro and Enterprise, not Windows "
                L"Home.\n\nUse Print Server (next button) for drivers and ports, and Printers & Scanners for "
                L"adding and removing printers.");
        break;
    }
}

void cmd_troubleshooter(int32_t, int32_t) {
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, _countof(system));
    wchar_t path[MAX_PATH + 20];
    text_format(path, _countof(path), L"%ls\\msdt.exe", system);
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        shell_open(L"ms-settings:troubleshoot", nullptr);
    else
        shell_open(path, L"/id PrinterDiagnostic");
}

// The printer's name is copied first: a question pumps messages, and a re-check may free the
// snapshot meanwhile.
void cmd_pause_resume(int32_t, int32_t printer) {
    const PrinterRecord* p = printer_at(printer);
    if (!p) return;
    wchar_t name[260];
    text_copy(name, _countof(name), p->name);
    pause_or_resume(name, (p->status & 0x1) ? 0 : 1);
}

void cmd_offline_online(int32_t, int32_t printer) {
    const PrinterRecord* p = printer_at(printer);
    if (!p) return;
    wchar_t name[260];
    text_copy(name, _countof(name), p->name);
    set_printer_offline(name, p->useOffline);
}

void cmd_cancel_all_jobs(int32_t, int32_t printer) {
    const PrinterRecord* p = printer_at(printer);
    if (!p) return;
    wchar_t name[260];
    text_copy(name, _countof(name), p->name);
    cancel_all_jobs(name, 0);
}

void cmd_snmp_off(int32_t, int32_t printer) {
    const PrinterRecord* p = printer_at(printer);
    if (!p) return;
    if (p->kind != KindTcpIp) {
        info_box(L"SNMP status only exists on Standard TCP/IP ports. This printer uses a different kind of "
                 L"connection.");
        return;
    }
    if (!p->snmpEnabled) {
        info_box(L"SNMP status is already switched off for this printer's port.");
        return;
    }
    if (is_pooled_printer(p)) {
        info_box(
            L"This printer is a pool of several printers. Windows needs SNMP status on a pool's ports to "
            L"send each job to a printer that is free, so Vantrel does not switch it off.");
        return;
    }
    wchar_t port[260];
    text_copy(port, _countof(port), p->portName);
    snmp_status_off(port, p->name, 0);
}

void cmd_set_default(int32_t, int32_t printer) {
    const PrinterRecord* p = printer_at(printer);
    if (!p) return;
    FixPlan plan;
    set_default_plan(p->name, g_main.session->snapshot->defaultPrinter, &plan);
    run_fix_plan(&plan, 1);
}

void cmd_remove_printer(int32_t, int32_t printer) {
    const PrinterRecord* p = printer_at(printer);
    if (!p) return;
    FixPlan plan;
    remove_printer_plan(p->name, &plan);
    // Its own box: a warning with Cancel as the default button, as for nothing else.
    if (g_ui.message_box(plan.confirmText, plan.confirmTitle, MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) !=
        IDOK)
        return;
    run_fix_plan(&plan, 1);
}

void cmd_run_as_admin(int32_t, int32_t) {
    if (g_process.elevated) {
        info_box(L"Vantrel is already running as administrator.");
        return;
    }
    wchar_t program[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, program, _countof(program));
    if (n == 0 || n >= _countof(program)) return;
    g_frame.release_instance();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = g_main.window;
    info.lpVerb = L"runas";
    info.lpFile = program;
    info.lpParameters = g_process.demo ? L"/admin /demo" : L"/admin";
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) {
        DestroyWindow(g_main.window);
        return;
    }
    g_frame.retake_instance();
}
