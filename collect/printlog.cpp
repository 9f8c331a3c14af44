// The print-log reader's logic over rendered events: limits, one-line messages, time texts and the
// newest-first order.
#include "printlog.h"

#include "core/text.h"

void print_log_message(wchar_t* out, size_t cap, int ok, const wchar_t* message) {
    if (ok && message && text_length(message, cap) < cap)
        text_copy(out, cap, message);
    else
        text_copy(out, cap, VANTREL_NO_LOG_MESSAGE);
    for (wchar_t* c = out; *c; c++)
        if (*c == L'\t' || *c == L'\n' || *c == L'\r') *c = L' ';
}

void read_print_log(Snapshot* s, const PrintLogSource* source, const wchar_t* channel_path, int32_t channel,
                    int32_t limit) {
    void* query = source->open_query(source->ctx, channel_path);
    if (!query) return;
    if (channel == 0) s->adminLogRead = 1;
    int32_t added = 0;
    // Each fetch waits at most 2 s; a log of nothing but unreadable events still ends.
    for (int32_t fetched = 0;
         limit > 0 && added < limit && s->logCount < kMaxLogEntries && fetched < kMaxEventsFetched;
         fetched++) {
        RenderedEvent ev = {};
        if (!source->next_event(source->ctx, query, &ev)) break;
        if (ev.propertyCount < kEventPropertiesNeeded) continue; // skipped without counting
        LogEntry* e = snapshot_add_log_entry(s);
        if (!e) break;
        e->eventId = ev.eventId;
        e->level = ev.level;
        e->time = ev.time;
        e->channel = channel;
        if (ev.localValid)
            format_time_stamp(e->timeText, _countof(e->timeText), ev.local.month, ev.local.day, ev.local.year,
                              ev.local.hour, ev.local.minute);
        print_log_message(e->message, _countof(e->message), ev.messageOk, ev.message);
        added++;
    }
    source->close_query(source->ctx, query);
}

void sort_log_entries(Snapshot* s) {
    // Insertion sort: at most 80 entries, and equal times must keep the order they were read in.
    for (int32_t i = 1; i < s->logCount && i < kMaxLogEntries; i++) {
        LogEntry moving = s->logEntries[i];
        int32_t k = i;
        while (k > 0 && s->logEntries[k - 1].time < moving.time) {
            s->logEntries[k] = s->logEntries[k - 1];
            k--;
        }
        s->logEntries[k] = moving;
    }
}

void read_print_logs(Snapshot* s, const PrintLogSource* source) {
    int enabled = 0;
    if (source->operational_enabled(source->ctx, &enabled)) {
        s->operationalLogKnown = 1;
        s->operationalLogEnabled = enabled ? 1 : 0;
    }
    read_print_log(s, source, VANTREL_ADMIN_LOG, 0, kAdminLogLimit);
    if (s->operationalLogEnabled)
        read_print_log(s, source, VANTREL_OPERATIONAL_LOG, 1, kMaxLogEntries - s->logCount);
    sort_log_entries(s);
}
