// The five bottom views: one row per record of the chosen section, or the one row that explains why
// the section is empty, and the colour each row is drawn in.
#include "ui/lists.h"

#include <wchar.h>

#include "core/classify.h"
#include "core/text.h"
#include "ui/list_parts.h"

static int32_t data_rows(const ListSource* src, int32_t view) {
    const Snapshot* s = src->snapshot;
    switch (view) {
    case ViewProblems:
        return src->findings ? clamp_count(src->findings->count, kMaxFindings) : 0;
    case ViewPrintQueue:
        return s ? clamp_count(s->jobCount, kMaxJobs) : 0;
    case ViewWindowsLog:
        return s ? clamp_count(s->logCount, kMaxLogEntries) : 0;
    case ViewDrivers:
        return s ? clamp_count(s->driverCount, kMaxDrivers) : 0;
    default:
        return src->searchRunning ? 0 : list_found_count(src->search);
    }
}

int32_t bottom_row_count(const ListSource* src, int32_t view) {
    if (!src) return 0;
    int32_t rows = data_rows(src, view);
    if (rows > 0) return rows;
    // The views that would otherwise look broken when empty carry one explaining row.
    switch (view) {
    case ViewProblems:
    case ViewDrivers:
        return 0;
    case ViewPrintQueue:
    case ViewWindowsLog:
        return src->snapshot ? 1 : 0;
    default:
        return 1;
    }
}

static void placeholder_cell(const ListSource* src, int32_t view, int32_t column, wchar_t* out, size_t cap) {
    const Snapshot* s = src->snapshot;
    if (view == ViewPrintQueue) {
        if (column == 0) list_put(out, cap, L"(no jobs are waiting on any printer)");
    } else if (view == ViewWindowsLog) {
        if (column != 3) return;
        if (!list_settings(src)->readEventLog)
            list_put(out, cap, L"(reading Windows' print log is switched off on the Settings tab)");
        else if (s && s->adminLogRead)
            list_put(out, cap, L"(Windows has not recorded any print errors)");
        else
            list_put(out, cap, L"(Windows' print log could not be read on this PC)");
    } else if (column == 3) {
        if (src->searchRunning)
            list_put(out, cap, L"(searching the network…)");
        else if (!src->search)
            list_put(out, cap, L"(click Find Printers on the Home tab to search the network)");
        else
            text_format(out, cap, L"(no printers answered among %d addresses: %ls)",
                        src->search->addressesSwept, src->search->rangesText);
    }
}

static void problem_cell(const ListSource* src, const Finding* f, int32_t column, wchar_t* out, size_t cap) {
    const PrinterRecord* p = list_printer_at(src->snapshot, f->printerIndex);
    const wchar_t* printer = f->printerIndex == -1 ? L"(this PC)" : p ? p->name : L"";
    const wchar_t* texts[] = {severity_label(f->severity), printer, f->title,
                              f->fix == NoFix ? L"—" : fix_label(f->fix)};
    if (column >= 0 && column < (int32_t)_countof(texts)) list_put(out, cap, texts[column]);
}

static void job_cell(const ListSource* src, const JobRecord* j, int32_t column, wchar_t* out, size_t cap) {
    const PrinterRecord* p = list_printer_at(src->snapshot, j->printerIndex);
    const wchar_t* texts[] = {p ? p->name : L"", j->document, j->userName, j->statusText};
    if (column == 4)
        text_format(out, cap, L"%lu", (unsigned long)(uint32_t)j->totalPages);
    else if (column == 5)
        job_size_text(j->size, out, cap);
    else if (column == 6)
        waiting_text(j->ageMinutes, out, cap);
    else if (column >= 0 && column < (int32_t)_countof(texts))
        list_put(out, cap, texts[column]);
}

static void log_cell(const LogEntry* e, int32_t column, wchar_t* out, size_t cap) {
    const wchar_t* channel = e->channel == 1 ? L"Detailed" : e->channel == 0 ? L"Error" : L"";
    const wchar_t* texts[] = {e->timeText, channel, nullptr, e->message};
    if (column == 2)
        text_format(out, cap, L"%lu", (unsigned long)(uint32_t)e->eventId);
    else if (column >= 0 && column < (int32_t)_countof(texts))
        list_put(out, cap, texts[column]);
}

static void driver_cell(const DriverRecord* d, int32_t column, wchar_t* out, size_t cap) {
    const wchar_t* texts[] = {d->name,       d->maker,       driver_language_label(d->language),
                              d->date,       d->versionText, nullptr,
                              d->environment};
    if (column == 5)
        text_format(out, cap, L"Type %lu", (unsigned long)(uint32_t)d->version);
    else if (column == 7 && d->printerCount == 0)
        list_put(out, cap, L"not used");
    else if (column == 7)
        text_format(out, cap, L"%d printer%ls", d->printerCount, list_plural(d->printerCount));
    else if (column == 8)
        text_format(out, cap, L"%ls%ls", d->fileMissing ? L"MISSING: " : L"", d->driverPath);
    else if (column >= 0 && column < (int32_t)_countof(texts))
        list_put(out, cap, texts[column]);
}

static void found_cell(const FoundPrinter* f, int32_t column, wchar_t* out, size_t cap) {
    const wchar_t* texts[] = {f->ip,
                              f->mac,
                              f->hostName[0] ? f->hostName : f->sysName,
                              f->model[0] ? f->model : f->description,
                              f->serial,
                              nullptr,
                              f->installedAs[0] ? f->installedAs : L"(not installed on this PC)"};
    if (column == 5)
        text_format(out, cap, L"%ls%ls%ls", (f->ports & FoundPort9100) ? L"9100 " : L"",
                    (f->ports & FoundPort515) ? L"515 " : L"", (f->ports & FoundPort631) ? L"631" : L"");
    else if (column >= 0 && column < (int32_t)_countof(texts))
        list_put(out, cap, texts[column]);
}

void bottom_cell(const ListSource* src, int32_t view, int32_t row, int32_t column, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    if (!src || row < 0 || row >= bottom_row_count(src, view)) return;
    size_t c = list_cell_cap(cap);
    if (row >= data_rows(src, view)) {
        placeholder_cell(src, view, column, out, c);
        return;
    }
    const Snapshot* s = src->snapshot;
    switch (view) {
    case ViewProblems:
        problem_cell(src, &src->findings->items[row], column, out, c);
        break;
    case ViewPrintQueue:
        job_cell(src, &s->jobs[row], column, out, c);
        break;
    case ViewWindowsLog:
        log_cell(&s->logEntries[row], column, out, c);
        break;
    case ViewDrivers:
        driver_cell(&s->drivers[row], column, out, c);
        break;
    default:
        found_cell(&src->search->printers[row], column, out, c);
        break;
    }
}

// A found printer that a "point Windows at the new address" finding names is the one to act on.
static int named_by_move_finding(const ListSource* src, const FoundPrinter* f) {
    if (!src->findings) return 0;
    for (int32_t i = 0; i < clamp_count(src->findings->count, kMaxFindings); i++) {
        const Finding* finding = &src->findings->items[i];
        if (finding->fix == PointToNewAddress && wcsstr(finding->subject, f->ip)) return 1;
    }
    return 0;
}

RowColourName bottom_row_colour(const ListSource* src, int32_t view, int32_t row) {
    if (!src || !src->snapshot || row < 0 || row >= data_rows(src, view)) return RowPlain;
    switch (view) {
    case ViewProblems: {
        static const RowColourName kBySeverity[] = {RowGreen, RowBlue, RowAmber, RowRed};
        int32_t severity = src->findings->items[row].severity;
        return severity >= 0 && severity <= SeverityProblem ? kBySeverity[severity] : RowPlain;
    }
    case ViewWindowsLog: {
        int32_t level = src->snapshot->logEntries[row].level;
        return level == 1 || level == 2 ? RowRed : level == 3 ? RowAmber : RowPlain;
    }
    case ViewPrintQueue:
    case ViewDrivers:
        return RowPlain;
    default: {
        const FoundPrinter* f = &src->search->printers[row];
        if (named_by_move_finding(src, f)) return RowAmber;
        return f->installedAs[0] ? RowGreen : RowPlain;
    }
    }
}
