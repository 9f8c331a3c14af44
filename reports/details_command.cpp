// Choosing and writing the Details texts, and the names Save Report uses.
#include "details_command.h"

#include "core/settings.h"
#include "core/text.h"

DetailsChoice choose_details(const Snapshot* s, const FindingList* findings,
                             const NetworkSearchResult* search, int32_t view, int32_t bottom_row,
                             int32_t selected_printer) {
    if (!s) return {DetailsNothing, -1};
    if (bottom_row >= 0) {
        if (view == ViewProblems && findings && bottom_row < findings->count &&
            findings->items[bottom_row].printerIndex < 0)
            return {DetailsFixThis, bottom_row};
        if (view == ViewNetworkPrinters && search && bottom_row < search->count &&
            bottom_row < kMaxFoundPrinters)
            return {DetailsFoundPrinter, bottom_row};
        if (view == ViewWindowsLog && bottom_row < s->logCount && bottom_row < kMaxLogEntries)
            return {DetailsLogEntry, bottom_row};
    }
    const int32_t printer =
        selected_printer >= 0 && selected_printer < s->printerCount ? selected_printer : -1;
    return {DetailsPrinter, printer};
}

void log_entry_text(const LogEntry* e, wchar_t* out, size_t cap) {
    if (!e) {
        text_copy(out, cap, L"");
        return;
    }
    const unsigned long id = (unsigned long)(uint32_t)e->eventId;
    text_format(
        out, cap,
        L"Windows print log entry\n\nWhen: %ls\nLog: %ls\nEvent number: %lu\n\n%ls\n\nTip: searching the web "
        L"for \"PrintService event %lu\" usually finds what it means.",
        e->timeText,
        e->channel == 1 ? L"detailed log (PrintService/Operational)" : L"error log (PrintService/Admin)", id,
        e->message, id);
}

static const wchar_t* or_text(const wchar_t* value, const wchar_t* otherwise) {
    return value && value[0] ? value : otherwise;
}

void found_printer_text(const FoundPrinter* f, wchar_t* out, size_t cap) {
    if (!f) {
        text_copy(out, cap, L"");
        return;
    }
    wchar_t pages[16];
    if (f->pageCount >= 0)
        text_format(pages, _countof(pages), L"%d", (int)f->pageCount);
    else
        text_copy(pages, _countof(pages), L"not reported");
    const wchar_t* unreported = L"not reported";
    text_format(
        out, cap,
        L"Found on the network\n\nIP address: %ls\nMAC address: %ls\nHost name: %ls\nIts own name: %ls\n"
        L"Model: %ls\nDescription: %ls\nSerial number: %ls\nPrint ports open: %ls%ls%ls\nLifetime pages: "
        L"%ls\nInstalled on this PC as: %ls\n\nTo add it to this PC: Tools \x2192 Add a Printer \x2192 "
        L"\"The printer that I want isn't listed\" \x2192 \"Add a printer using an IP address or "
        L"hostname\", and type %ls (copied for you \x2014 paste with Ctrl+V).\n\nOpen its web page now?",
        f->ip, or_text(f->mac, L"not known"), or_text(f->hostName, L"none in DNS"),
        or_text(f->sysName, unreported), or_text(f->model, unreported), or_text(f->description, unreported),
        or_text(f->serial, unreported), (f->ports & FoundPort9100) ? L"9100 " : L"",
        (f->ports & FoundPort515) ? L"515 " : L"", (f->ports & FoundPort631) ? L"631" : L"", pages,
        or_text(f->installedAs, L"not installed"), f->ip);
}

void report_file_name(const wchar_t* computer_name, int year, int month, int day, wchar_t* out, size_t cap) {
    wchar_t name[260];
    text_format(name, _countof(name), L"Vantrel-%ls-%04d-%02d-%02d.txt", or_text(computer_name, L"PC"), year,
                month, day);
    text_copy(out, cap, name);
}

void report_saved_status(const wchar_t* path, wchar_t* out, size_t cap) {
    wchar_t line[320];
    text_format(line, _countof(line), L"Report saved to %ls", path ? path : L"");
    text_copy(out, cap, line);
}

void report_not_saved_text(const wchar_t* path, const wchar_t* windows_text, uint32_t code, wchar_t* out,
                           size_t cap) {
    text_format(out, cap,
                L"The report could not be saved to %ls.\n\nWindows said: %ls (error %lu)\n\nNothing was "
                L"changed there. Try the Desktop or Documents folder.",
                path ? path : L"", windows_text ? windows_text : L"", (unsigned long)code);
}
