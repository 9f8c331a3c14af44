// The session record's small operations.
#include "core/session.h"

#include <stdlib.h>
#include <string.h>

// Field by field: the finding list's 240 slots (780 KB) are written only as findings are added,
// and clearing or even reading them here would make every page of that block resident for the
// whole life of the window, under Windows and Wine alike (a page of fresh memory becomes the
// process's own at its first touch, read or write).
void session_init(Session* s) {
    s->snapshot = nullptr;
    s->search = nullptr;
    s->findings.count = 0;
    memset(&s->cycle, 0, sizeof(s->cycle));
    s->cycle.logNextSummary = 1;
    s->checkRunning = 0;
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
