// The session record's small operations.
#include "core/session.h"

#include <stdlib.h>
#include <string.h>

void session_init(Session* s) {
    zero_record(s, sizeof(*s));
    s->cycle.logNextSummary = 1;
}

void session_take_snapshot(Session* s, Snapshot* snapshot) {
    if (!snapshot) return;
    Snapshot* old = s->snapshot;
    s->snapshot = snapshot;
    snapshot_free(old);
}

void session_take_search(Session* s, NetworkSearchResult* result) {
    if (!result) return;
    free(s->search);
    s->search = result;
}

const PrinterRecord* session_printer(const Session* s, int32_t index) {
    if (!s || !s->snapshot || index < 0 || index >= s->snapshot->printerCount || index >= kMaxPrinters)
        return nullptr;
    return &s->snapshot->printers[index];
}
