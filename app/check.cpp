// The check cycle's decisions, kept free of windows and threads so they can be driven directly.
#include "app/check.h"

#include <string.h>

#include "core/text.h"

int check_request(CheckCycle* cycle, volatile long* running_flag, int with_network_test,
                  const wchar_t* address) {
    long expected = 0;
    if (!__atomic_compare_exchange_n(running_flag, &expected, 1, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST)) {
        cycle->pending = 1;
        if (with_network_test) {
            cycle->pendingNetworkTest = 1;
            text_copy(cycle->pendingAddress, _countof(cycle->pendingAddress), address);
        }
        return 0;
    }
    return 1;
}

int check_tick(CheckCycle* cycle, int auto_check, int auto_net_test, int demo, uint64_t now_ms,
               int* with_network_test) {
    cycle->ticks++;
    *with_network_test = 0;
    if (!auto_check || demo || cycle->ticks % 10 != 0) return 0;
    *with_network_test = auto_net_test && now_ms - cycle->lastNetworkTestStart > kNetworkTestInterval;
    return 1;
}

static const wchar_t* finding_printer_name(const Finding* f, const Snapshot* s) {
    if (f->printerIndex < 0 || !s || f->printerIndex >= s->printerCount) return L"this PC";
    return s->printers[f->printerIndex].name;
}

static int is_logged_severity(const Finding* f) {
    return f->severity == SeverityHeadsUp || f->severity == SeverityProblem;
}

void build_change_summary(const FindingList* list, const Snapshot* s, wchar_t* out, size_t cap) {
    text_copy(out, cap, L"");
    if (!list) return;
    for (int32_t i = 0; i < list->count && i < kMaxFindings; i++) {
        const Finding* f = &list->items[i];
        if (!is_logged_severity(f)) continue;
        text_append(out, cap, L"[%ls] %ls: %ls | ", severity_label(f->severity), finding_printer_name(f, s),
                    f->title);
    }
}

int log_change_summary(CheckCycle* cycle, const FindingList* list, const Snapshot* s, LogSink sink) {
    build_change_summary(list, s, cycle->summary, _countof(cycle->summary));
    if (!cycle->logNextSummary && wcscmp(cycle->summary, cycle->lastLoggedSummary) == 0) return 0;
    cycle->logNextSummary = 0;
    text_copy(cycle->lastLoggedSummary, _countof(cycle->lastLoggedSummary), cycle->summary);
    wchar_t line[600];
    int written = 0;
    if (cycle->summary[0]) {
        for (int32_t i = 0; i < list->count && i < kMaxFindings; i++) {
            const Finding* f = &list->items[i];
            if (!is_logged_severity(f)) continue;
            text_format(line, _countof(line), L"Found [%ls] %ls: %ls", severity_label(f->severity),
                        finding_printer_name(f, s), f->title);
            if (sink) sink(line);
            written++;
        }
    } else {
        text_format(line, _countof(line), L"Check: no problems found (%d printers)", s ? s->printerCount : 0);
        if (sink) sink(line);
        written++;
    }
    return written;
}

int wants_auto_search(const Snapshot* s) {
    if (!s) return 0;
    for (int32_t i = 0; i < s->printerCount && i < kMaxPrinters; i++) {
        const PrinterRecord* p = &s->printers[i];
        if (p->kind != KindTcpIp || !p->net.tested) continue;
        if (!p->net.resolved || (!p->net.pingOk && !p->net.portOpen[0])) return 1;
    }
    return 0;
}
