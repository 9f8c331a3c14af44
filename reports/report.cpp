// The full report and the summary. Pure text work over plain records; every piece goes through the
// bounded append, so a report longer than the buffer loses its last pieces, never its head.
#include "reports/report.h"

#include <stdlib.h>
#include <wchar.h>

#include "core/classify.h"
#include "core/text.h"
#include "reports/details.h"
#include "reports/append.h"
#include "reports/facts.h"

void windows_version_text(const ReportPcInfo* pc, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    if (!pc) return;
    wchar_t product[120];
    windows_product_text(pc->productName, pc->currentBuild, product, _countof(product));
    text_format(out, cap < 400 ? cap : 400, L"%ls %ls (build %ls)", product, pc->displayVersion,
                pc->currentBuild);
}

void report_time_stamp(const LocalTime* t, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    if (!t) return;
    int hour = t->hour % 12;
    text_format(out, cap, L"%02d/%02d/%04d %d:%02d %ls", t->month, t->day, t->year, hour == 0 ? 12 : hour,
                t->minute, t->hour < 12 ? L"AM" : L"PM");
}

static const wchar_t* plural(int n) {
    return n == 1 ? L"" : L"s";
}

static const wchar_t* finding_printer_name(const Snapshot* s, const Finding* f) {
    if (f->printerIndex >= 0 && f->printerIndex < s->printerCount && f->printerIndex < kMaxPrinters)
        return s->printers[f->printerIndex].name;
    return L"This PC";
}

static void findings_section(const ReportInput* in, int full, wchar_t* buf, size_t cap) {
    const Snapshot* s = in->snapshot;
    const FindingList* list = in->findings;
    report_append(buf, cap, L"\n===== FINDINGS =====\n");
    if (!list) return;
    int32_t count = list->count < 0 ? 0 : list->count > kMaxFindings ? kMaxFindings : list->count;
    int serious = 0;
    for (int32_t i = 0; i < count; i++)
        if (list->items[i].severity >= SeverityHeadsUp) serious = 1;
    for (int32_t i = 0; i < count; i++) {
        const Finding* f = &list->items[i];
        if (!full && serious && f->severity < SeverityHeadsUp) continue;
        report_append(buf, cap, L"[%ls] %ls%ls%ls\n", severity_label(f->severity), finding_printer_name(s, f),
                      L": ", f->title);
        if (full) report_append(buf, cap, L"    %ls\n\n", f->text);
    }
}

static void found_printers_section(const ReportInput* in, wchar_t* buf, size_t cap) {
    report_append(buf, cap, L"\n===== PRINTERS FOUND ON THE NETWORK =====\n");
    const NetworkSearchResult* r = in->search;
    if (!r) {
        report_append(buf, cap, L"(the network was not searched; use Find Printers on the Home tab)\n");
        return;
    }
    wchar_t when[40];
    report_time_stamp(&r->startedAt, when, _countof(when));
    report_append(buf, cap, L"Searched %d addresses (%ls) at %ls\n", r->addressesSwept, r->rangesText, when);
    int32_t count = r->count < 0 ? 0 : r->count > kMaxFoundPrinters ? kMaxFoundPrinters : r->count;
    for (int32_t i = 0; i < count; i++) {
        const FoundPrinter* f = &r->printers[i];
        report_append(
            buf, cap, L"%-16ls %-18ls %-30ls %-34ls serial %-14ls %ls\n", f->ip, f->mac[0] ? f->mac : L"-",
            f->hostName[0]  ? f->hostName
            : f->sysName[0] ? f->sysName
                            : L"-",
            f->model[0]         ? f->model
            : f->description[0] ? f->description
                                : L"-",
            f->serial[0] ? f->serial : L"-", f->installedAs[0] ? f->installedAs : L"(not installed)");
    }
}

void build_report_of(const ReportInput* in, int full, wchar_t* buf, size_t cap) {
    if (!in || !in->snapshot || !buf || cap == 0) return;
    const Snapshot* s = in->snapshot;
    const FindingList* list = in->findings;

    int problems = 0, heads_ups = 0;
    if (list)
        for (int32_t i = 0; i < list->count && i < kMaxFindings; i++) {
            if (list->items[i].severity == SeverityProblem) problems++;
            if (list->items[i].severity == SeverityHeadsUp) heads_ups++;
        }
    wchar_t when[40];
    report_time_stamp(&s->checkTime, when, _countof(when));
    report_append(buf, cap, L"VANTREL %ls%ls \x2014 %ls\nPC: %ls   User: %ls%ls\n",
                  full ? L"REPORT" : L"SUMMARY", in->demo ? L" (DEMO DATA)" : L"", when, in->pc.computerName,
                  in->pc.userName, in->elevated ? L" (administrator)" : L"");
    if (full) {
        wchar_t windows[400];
        windows_version_text(&in->pc, windows, _countof(windows));
        report_append(buf, cap, L"Windows: %ls\nVantrel version: %ls\n", windows,
                      in->version ? in->version : L"");
    }
    report_append(buf, cap, L"Result: %d problem%ls, %d heads-up%ls, %d printer%ls, %d job%ls waiting\n",
                  problems, plural(problems), heads_ups, plural(heads_ups), s->printerCount,
                  plural(s->printerCount), s->jobCount, plural(s->jobCount));
    report_append(buf, cap, L"Print Spooler: %ls, startup %ls\n", spooler_state_text(s->spoolerState),
                  start_type_text(s->spoolerStartType));
    report_append(buf, cap, L"Default printer: %ls\n", s->defaultPrinter[0] ? s->defaultPrinter : L"(none)");
    const wchar_t* note =
        L"NOTE: running as %ls; the person signed in is %ls (their own printers may be missing)\n";
    if (s->runningAsSystem)
        report_append(buf, cap, note, L"SYSTEM", s->sessionUserName[0] ? s->sessionUserName : L"nobody");
    else if (s->sessionUserName[0] && !text_equal_ci(s->sessionUserName, s->userName))
        report_append(buf, cap, note, s->userName, s->sessionUserName);
    if (s->operationalLogKnown)
        report_append(buf, cap, L"Windows' detailed print log: %ls\n",
                      s->operationalLogEnabled ? L"on" : L"off");

    findings_section(in, full, buf, cap);
    if (!full) return;

    report_append(buf, cap, L"\n===== PRINTERS =====\n");
    for (int32_t i = 0; i < s->printerCount && i < kMaxPrinters; i++) {
        report_append(buf, cap, L"\n----------------------------------------\n");
        printer_details_of(s, list, in->checkVirtual, i, buf, cap);
    }

    found_printers_section(in, buf, cap);

    report_append(buf, cap, L"\n===== PRINTER DRIVERS INSTALLED =====\n");
    for (int32_t i = 0; i < s->driverCount && i < kMaxDrivers; i++) {
        const DriverRecord* d = &s->drivers[i];
        report_append(
            buf, cap,
            L"%ls   [%ls, version %ls, dated %ls, type %lu, %ls, language %ls]   used by %d printer%ls%ls\n",
            d->name, d->maker[0] ? d->maker : L"maker not stated", d->versionText[0] ? d->versionText : L"?",
            d->date[0] ? d->date : L"?", (unsigned long)(uint32_t)d->version, d->environment,
            driver_language_label(d->language), d->printerCount, plural(d->printerCount),
            d->fileMissing ? L"   FILES MISSING" : L"");
    }

    report_append(buf, cap, L"\n===== WINDOWS PRINT LOG (newest first) =====\n");
    if (!s->adminLogRead) report_append(buf, cap, L"(not read)\n");
    for (int32_t i = 0; i < s->logCount && i < kMaxLogEntries; i++) {
        const LogEntry* e = &s->logEntries[i];
        report_append(buf, cap, L"%ls   %ls   event %lu   %ls\n", e->timeText,
                      e->channel == 1 ? L"detail" : L"error ", (unsigned long)(uint32_t)e->eventId,
                      e->message);
    }
    report_append(buf, cap, L"\n--- end of report ---\n");
}

void report_to_crlf(const wchar_t* text, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t n = 0;
    for (const wchar_t* p = text ? text : L""; *p && n <= 199989; p++) {
        if (*p == L'\n') {
            if (n + 2 >= cap) break;
            out[n++] = L'\r';
        } else if (n + 1 >= cap) {
            break;
        }
        out[n++] = *p;
    }
    out[n] = 0;
}
