// The full report and the summary. Pure text work over plain records; every piece goes through the
// bounded append, so a report longer than the buffer loses its last pieces, never its head.
#include "reports/report.h"

#include <stdarg.h>
#include <stdlib.h>
#include <wchar.h>

#include "core/classify.h"
#include "core/print_policy.h"
#include "core/text.h"
#include "net/addresses.h"
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

static void time_stamp(const LocalTime* t, wchar_t* out, size_t cap) {
    format_time_stamp(out, cap, t->month, t->day, t->year, t->hour, t->minute);
}

static const wchar_t* plural(int n) {
    return n == 1 ? L"" : L"s";
}

static const wchar_t* finding_printer_name(const Snapshot* s, const Finding* f) {
    if (f->printerIndex >= 0 && f->printerIndex < s->printerCount && f->printerIndex < kMaxPrinters)
        return s->printers[f->printerIndex].name;
    return L"This PC";
}

// The report's sections in order; a report that does not fit names what it left out by them.
enum ReportSection {
    SectionHeader,
    SectionFindings,
    SectionPrinters,
    SectionFound,
    SectionDrivers,
    SectionLog
};

// Appends whole pieces only. The last kReportClosingRoom characters of the buffer are kept for the
// closing line of a report that did not fit, so it never ends mid-word without saying so.
enum { kReportClosingRoom = 500 };
struct ReportWriter {
    wchar_t* buf;
    size_t len;   // the text's length, kept so a long report is not measured again for every piece
    size_t limit; // capacity for the pieces
    size_t cap;   // the whole buffer, closing line included
    int cut;      // a piece did not fit: nothing more is added
    ReportSection section;
    int32_t item; // the item of the section being written, -1 for its heading
    int32_t items;
};

// Drops what was written since mark and stops the report there.
static void writer_cut(ReportWriter* w, size_t mark) {
    if (mark < w->cap) w->buf[mark] = 0;
    w->len = mark;
    w->cut = 1;
}

// Takes in what another writer appended after the known text.
static void writer_rescan(ReportWriter* w) {
    w->len += text_length(w->buf + w->len, w->cap - w->len);
}

static int put(ReportWriter* w, const wchar_t* fmt, ...) {
    if (w->cut) return 0;
    size_t mark = w->len;
    if (mark + 2 < w->limit) {
        va_list args;
        va_start(args, fmt);
        text_vformat(w->buf + mark, w->limit - mark, fmt, args);
        va_end(args);
        writer_rescan(w);
    }
    // A piece that reached the end of the room may have been cut.
    if (w->len + 2 >= w->limit) {
        writer_cut(w, mark);
        return 0;
    }
    return 1;
}

// Starts item `item` of `items` in a section (-1: its heading); returns the mark to cut back to.
static size_t begin(ReportWriter* w, ReportSection section, int32_t item, int32_t items) {
    if (!w->cut) {
        w->section = section;
        w->item = item;
        w->items = items;
    }
    return w->len;
}

// An item made of several pieces is kept whole or left out whole.
static void end_item(ReportWriter* w, size_t mark) {
    if (w->cut) writer_cut(w, mark);
}

static void left_out_section(ReportSection section, int32_t from, int32_t items, wchar_t* out, size_t cap) {
    static const wchar_t* const kWhole[] = {L"the rest of the header",
                                            L"the findings",
                                            L"the printer pages",
                                            L"the printers found on the network",
                                            L"the installed printer drivers",
                                            L"Windows' print log"};
    static const wchar_t* const kSome[] = {L"",
                                           L"findings %d to %d",
                                           L"the pages of printers %d to %d",
                                           L"found printers %d to %d",
                                           L"drivers %d to %d",
                                           L"print log entries %d to %d"};
    wchar_t part[80];
    if (section != SectionHeader && from >= 0 && from < items)
        text_format(part, _countof(part), kSome[section], from + 1, items);
    else
        text_copy(part, _countof(part), kWhole[section]);
    text_append(out, cap, L"%ls%ls", out[0] ? L", " : L"", part);
}

// The closing line of a report that did not fit: what is missing, from the cut to the end.
static void close_cut_report(ReportWriter* w, int full) {
    wchar_t missing[400] = L"";
    ReportSection last = full ? SectionLog : SectionFindings;
    left_out_section(w->section, w->item, w->items, missing, _countof(missing));
    for (int next = w->section + 1; next <= last; next++)
        left_out_section((ReportSection)next, -1, 0, missing, _countof(missing));
    size_t len = w->len;
    if (len + 1 >= w->cap) return;
    text_format(w->buf + len, w->cap - len,
                L"\n*** This %ls is incomplete: it was too long to hold. Left out: %ls. ***\n",
                full ? L"report" : L"summary", missing);
}

static void findings_section(const ReportInput* in, int full, ReportWriter* w) {
    const Snapshot* s = in->snapshot;
    const FindingList* list = in->findings;
    int32_t count = list ? clamp_count(list->count, kMaxFindings) : 0;
    begin(w, SectionFindings, -1, count);
    put(w, L"\n===== FINDINGS =====\n");
    int serious = 0;
    for (int32_t i = 0; i < count; i++)
        if (list->items[i].severity >= SeverityHeadsUp) serious = 1;
    for (int32_t i = 0; i < count && !w->cut; i++) {
        const Finding* f = &list->items[i];
        if (!full && serious && f->severity < SeverityHeadsUp) continue;
        size_t mark = begin(w, SectionFindings, i, count);
        put(w, L"[%ls] %ls%ls%ls\n", severity_label(f->severity), finding_printer_name(s, f), L": ",
            f->title);
        if (full) put(w, L"    %ls\n\n", f->text);
        end_item(w, mark);
    }
}

static void printers_section(const ReportInput* in, ReportWriter* w) {
    const Snapshot* s = in->snapshot;
    int32_t count = clamp_count(s->printerCount, kMaxPrinters);
    begin(w, SectionPrinters, -1, count);
    put(w, L"\n===== PRINTERS =====\n");
    for (int32_t i = 0; i < count && !w->cut; i++) {
        size_t mark = begin(w, SectionPrinters, i, count);
        if (!put(w, L"\n----------------------------------------\n")) break;
        printer_details_of(s, in->findings, in->checkVirtual, i, w->buf, w->limit);
        writer_rescan(w);
        if (w->len + 2 >= w->limit) writer_cut(w, mark);
    }
}

static void found_printers_section(const ReportInput* in, ReportWriter* w) {
    const NetworkSearchResult* r = in->search;
    int32_t count = r ? clamp_count(r->count, kMaxFoundPrinters) : 0;
    begin(w, SectionFound, -1, count);
    put(w, L"\n===== PRINTERS FOUND ON THE NETWORK =====\n");
    wchar_t refused[200];
    if (scan_range_refusal(in->scanRange, refused, _countof(refused))) {
        put(w, L"%ls%ls\n", refused, r ? L"" : L" The network was not searched.");
        if (!r) return;
    }
    if (!r) {
        put(w, L"(the network was not searched; use Find Printers on the Home tab)\n");
        return;
    }
    wchar_t when[40];
    time_stamp(&r->startedAt, when, _countof(when));
    put(w, L"Searched %d addresses (%ls) at %ls\n", r->addressesSwept, r->rangesText, when);
    for (int32_t i = 0; i < count && !w->cut; i++) {
        const FoundPrinter* f = &r->printers[i];
        begin(w, SectionFound, i, count);
        put(w, L"%-16ls %-18ls %-30ls %-34ls serial %-14ls %ls\n", f->ip, f->mac[0] ? f->mac : L"-",
            f->hostName[0]  ? f->hostName
            : f->sysName[0] ? f->sysName
                            : L"-",
            f->model[0]         ? f->model
            : f->description[0] ? f->description
                                : L"-",
            f->serial[0] ? f->serial : L"-", f->installedAs[0] ? f->installedAs : L"(not installed)");
    }
}

static void drivers_section(const Snapshot* s, ReportWriter* w) {
    int32_t count = clamp_count(s->driverCount, kMaxDrivers);
    begin(w, SectionDrivers, -1, count);
    put(w, L"\n===== PRINTER DRIVERS INSTALLED =====\n");
    for (int32_t i = 0; i < count && !w->cut; i++) {
        const DriverRecord* d = &s->drivers[i];
        begin(w, SectionDrivers, i, count);
        put(w,
            L"%ls   [%ls, version %ls, dated %ls, type %lu, %ls, language %ls]   used by %d printer%ls%ls\n",
            d->name, d->maker[0] ? d->maker : L"maker not stated", d->versionText[0] ? d->versionText : L"?",
            d->date[0] ? d->date : L"?", (unsigned long)(uint32_t)d->version, d->environment,
            driver_language_label(d->language), d->printerCount, plural(d->printerCount),
            d->fileMissing ? L"   FILES MISSING" : L"");
    }
}

static void log_section(const Snapshot* s, ReportWriter* w) {
    int32_t count = clamp_count(s->logCount, kMaxLogEntries);
    begin(w, SectionLog, -1, count);
    put(w, L"\n===== WINDOWS PRINT LOG (newest first) =====\n");
    if (!s->adminLogRead) put(w, L"(not read)\n");
    for (int32_t i = 0; i < count && !w->cut; i++) {
        const LogEntry* e = &s->logEntries[i];
        begin(w, SectionLog, i, count);
        put(w, L"%ls   %ls   event %lu   %ls\n", e->timeText, e->channel == 1 ? L"detail" : L"error ",
            (unsigned long)(uint32_t)e->eventId, e->message);
    }
}

void build_report_of(const ReportInput* in, int full, wchar_t* buf, size_t cap) {
    if (!in || !in->snapshot || !buf || cap == 0) return;
    const Snapshot* s = in->snapshot;
    const FindingList* list = in->findings;
    if (text_length(buf, cap) >= cap) buf[cap - 1] = 0;
    ReportWriter writer = {buf,
                           text_length(buf, cap),
                           cap > kReportClosingRoom ? cap - kReportClosingRoom : 0,
                           cap,
                           0,
                           SectionHeader,
                           -1,
                           0};
    ReportWriter* w = &writer;

    int problems = 0, heads_ups = 0;
    if (list)
        for (int32_t i = 0; i < list->count && i < kMaxFindings; i++) {
            if (list->items[i].severity == SeverityProblem) problems++;
            if (list->items[i].severity == SeverityHeadsUp) heads_ups++;
        }
    wchar_t when[40];
    time_stamp(&s->checkTime, when, _countof(when));
    put(w, L"VANTREL %ls%ls \x2014 %ls\nPC: %ls   User: %ls%ls\n", full ? L"REPORT" : L"SUMMARY",
        in->demo ? L" (DEMO DATA)" : L"", when, in->pc.computerName, in->pc.userName,
        in->elevated ? L" (administrator)" : L"");
    if (full) {
        wchar_t windows[400];
        windows_version_text(&in->pc, windows, _countof(windows));
        put(w, L"Windows: %ls\nVantrel version: %ls\n", windows, in->version ? in->version : L"");
    }
    wchar_t printers[80], jobs[80];
    shown_count_text(s->printerCount, s->printersLeftOut, L"printer", L"printers", L"printers", printers,
                     _countof(printers));
    shown_count_text(s->jobCount, s->jobsLeftOut, L"job waiting", L"jobs waiting", L"waiting jobs", jobs,
                     _countof(jobs));
    put(w, L"Result: %d problem%ls, %d heads-up%ls, %ls, %ls\n", problems, plural(problems), heads_ups,
        plural(heads_ups), printers, jobs);
    if (s->driversLeftOut > 0) {
        wchar_t drivers[80];
        shown_count_text(s->driverCount, s->driversLeftOut, L"driver", L"drivers", L"drivers", drivers,
                         _countof(drivers));
        put(w, L"Printer drivers: %ls\n", drivers);
    }
    put(w, L"Print Spooler: %ls, startup %ls\n", spooler_state_text(s->spoolerState),
        start_type_text(s->spoolerStartType));
    put(w, L"Default printer: %ls\n", s->defaultPrinter[0] ? s->defaultPrinter : L"(none)");
    const wchar_t* note =
        L"NOTE: running as %ls; the person signed in is %ls (their own printers may be missing)\n";
    if (s->runningAsSystem)
        put(w, note, L"SYSTEM", s->sessionUserName[0] ? s->sessionUserName : L"nobody");
    else if (s->sessionUserName[0] && !text_equal_ci(s->sessionUserName, s->userName))
        put(w, note, s->userName, s->sessionUserName);
    if (s->operationalLogKnown)
        put(w, L"Windows' detailed print log: %ls\n", s->operationalLogEnabled ? L"on" : L"off");
    // The print settings are stated when they matter: a connection to name the way it goes, a
    // protection that is off, a spooler that crashed.
    const wchar_t* connections = print_connections_text(s);
    if (connections && has_printer_connection(s)) put(w, L"Connections to print servers: %ls\n", connections);
    if (point_and_print_unprotected(s))
        put(w, L"Point and Print: ANY USER may install printer drivers without a prompt\n");
    if (s->rpcAuthnLevelPrivacy.present && s->rpcAuthnLevelPrivacy.value == 0)
        put(w, L"RPC privacy for print connections to this PC: OFF (RpcAuthnLevelPrivacyEnabled is 0)\n");
    if (s->serviceLogRead && s->spoolerCrashCount > 0)
        put(w, L"Print Spooler crashes in the last 24 hours: %d, the last at %ls\n",
            (int)s->spoolerCrashCount,
            s->lastSpoolerCrashText[0] ? s->lastSpoolerCrashText : L"an unknown time");

    findings_section(in, full, w);
    if (full) {
        printers_section(in, w);
        found_printers_section(in, w);
        drivers_section(s, w);
        log_section(s, w);
        // A report that got this far whole has its end marker; the closing room always holds it.
        w->limit = w->cap;
        put(w, L"\n--- end of report ---\n");
    }
    if (w->cut) close_cut_report(w, full);
}

void report_to_crlf(const wchar_t* text, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t n = 0;
    for (const wchar_t* p = text ? text : L""; *p; p++) {
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
