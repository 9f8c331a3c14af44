// Save Report and the Details command: the save dialog and the file, and the details of whatever
// is selected in the notes window or, for a printer found on the network, in a message box that
// also puts its address on the clipboard.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <stdlib.h>

#include "core/findings.h"
#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "fixes/actions.h"
#include "reports/details.h"
#include "reports/details_command.h"
#include "reports/report.h"
#include "ui/command_handlers.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

enum { kDetailsCapacity = 30000 };
static wchar_t g_details_buffer[kDetailsCapacity];

void save_report() {
    const Session* session = g_main.session;
    if (!session || !session->snapshot) return;
    wchar_t computer[64] = L"PC";
    DWORD size = _countof(computer);
    if (!GetComputerNameW(computer, &size)) text_copy(computer, _countof(computer), L"PC");
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t path[260];
    report_file_name(computer, now.wYear, now.wMonth, now.wDay, path, _countof(path));

    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = g_main.window;
    ofn.lpstrFilter = L"Text file (*.txt)\0*.txt\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = _countof(path);
    ofn.lpstrDefExt = L"txt";
    ofn.lpstrTitle = L"Save the Vantrel report";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameW(&ofn)) return;

    wchar_t* report = static_cast<wchar_t*>(malloc(kReportCapacity * sizeof(wchar_t)));
    if (!report) return;
    build_report(session, 1, report, kReportCapacity);
    // The file is written whole or not at all, so a failure (a full disk, a folder that refuses
    // new files) leaves the old report in place; the user hears Windows' own reason.
    const uint32_t error = write_report_file(path, report);
    free(report);
    if (error) {
        wchar_t said[300], text[900];
        windows_error_text(error, said, _countof(said));
        report_not_saved_text(path, said, error, text, _countof(text));
        g_ui.message_box(text, L"Vantrel", MB_ICONWARNING);
        return;
    }
    wchar_t line[320];
    report_saved_status(path, line, _countof(line));
    g_ui.status_text(line);
}

static void show_found_printer(const FoundPrinter* f) {
    found_printer_text(f, g_details_buffer, kDetailsCapacity);
    g_ui.copy_to_clipboard(f->ip);
    const int32_t answer =
        g_ui.message_box(g_details_buffer, L"Vantrel \x2014 network printer", MB_ICONINFORMATION | MB_YESNO);
    if (answer != IDYES || g_process.demo) return;
    wchar_t address[40];
    text_format(address, _countof(address), L"http://%ls/", f->ip);
    ShellExecuteW(g_main.window, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void show_details() {
    const Session* session = g_main.session;
    const Snapshot* s = session ? session->snapshot : nullptr;
    if (!s) return;
    g_details_buffer[0] = 0;
    const DetailsChoice choice = choose_details(s, &session->findings, session->search, g_settings.view,
                                                g_ui.bottom_selection(), g_ui.selected_printer());
    switch (choice.show) {
    case DetailsNothing:
        return;
    case DetailsFixThis:
        apply_fix(choice.index);
        return;
    case DetailsFoundPrinter: {
        // A copy: the box pumps messages, and a search that ends meanwhile frees the result.
        const FoundPrinter found = session->search->printers[choice.index];
        show_found_printer(&found);
        return;
    }
    case DetailsLogEntry:
        log_entry_text(&s->logEntries[choice.index], g_details_buffer, kDetailsCapacity);
        g_ui.show_notes(L"Vantrel \x2014 Windows log entry", L"", g_details_buffer);
        return;
    case DetailsPrinter:
        break;
    }
    if (choice.index < 0) {
        g_ui.message_box(L"Click a printer in the top list first, then click this button again.", L"Vantrel",
                         MB_ICONINFORMATION);
        return;
    }
    printer_details(session, choice.index, g_details_buffer, kDetailsCapacity);
    g_ui.show_notes(L"Vantrel \x2014 Printer details", L"", g_details_buffer);
}
