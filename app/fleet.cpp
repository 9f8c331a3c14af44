// The fleet modes' line.
#include "app/fleet.h"

#include <wctype.h>

#include "core/text.h"
#include "reports/facts.h"

int fleet_exit_code(const FindingList* findings) {
    if (!findings) return 0;
    for (int32_t i = 0; i < findings->count && i < kMaxFindings; i++)
        if (findings->items[i].severity == SeverityProblem) return 1;
    return 0;
}

static const wchar_t* plural(int32_t n, const wchar_t* one, const wchar_t* many) {
    return n == 1 ? one : many;
}

// "RED: 3 problems, 1 heads-up" and the most serious finding, or the verdict's own words when
// nothing is wrong.
static void verdict_part(const Snapshot* s, const FindingList* findings, int32_t demo, const wchar_t* between,
                         wchar_t* out, size_t cap) {
    Verdict v;
    verdict_of_records(s, findings, 0, &v);
    wchar_t colour[16];
    text_copy(colour, _countof(colour), verdict_colour_name(v.colour));
    for (wchar_t* c = colour; *c; c++)
        *c = (wchar_t)towupper(*c);
    text_format(out, cap, L"%ls: %ls%d %ls, %d %ls", colour, between, v.problems,
                plural(v.problems, L"problem", L"problems"), v.headsUps,
                plural(v.headsUps, L"heads-up", L"heads-ups"));
    if (v.mostSerious >= 0 && findings) {
        const Finding* f = &findings->items[v.mostSerious];
        const wchar_t* who = L"this PC";
        if (s && f->printerIndex >= 0 && f->printerIndex < s->printerCount && f->printerIndex < kMaxPrinters)
            who = s->printers[f->printerIndex].name;
        text_append(out, cap, L". Most serious: %ls - %ls (%ls)", who, f->title, f->rule);
    } else if (v.text[0]) {
        text_append(out, cap, L". %ls", v.text);
    }
    if (demo) text_append(out, cap, L" [DEMO DATA]");
}

void check_line(const Snapshot* s, const FindingList* findings, int32_t demo, wchar_t* out, size_t cap) {
    verdict_part(s, findings, demo, L"", out, cap);
}

// "fixed 2 (use-printer-offline: Front Desk; printer-paused: Back)".
static void fixes_of(const UnattendedRun* run, int (*wanted)(ActionStatus), const wchar_t* label,
                     wchar_t* out, size_t cap) {
    int32_t n = 0;
    for (int32_t i = 0; i < run->count; i++)
        n += wanted(run->fixes[i].status);
    text_append(out, cap, L"%ls %d", label, n);
    if (!n) return;
    const wchar_t* open = L" (";
    for (int32_t i = 0; i < run->count; i++) {
        const UnattendedFix* f = &run->fixes[i];
        if (!wanted(f->status)) continue;
        text_append(out, cap, L"%ls%ls: %ls", open, f->rule, f->printer);
        if (f->status == ActionFailed) text_append(out, cap, L", error %lu", (unsigned long)f->result);
        open = L"; ";
    }
    text_append(out, cap, L")");
}

static int was_done(ActionStatus s) {
    return s == ActionDone;
}
static int needs_admin(ActionStatus s) {
    return s == ActionNeedsAdmin;
}
static int failed(ActionStatus s) {
    return s == ActionFailed || s == ActionCanceled;
}

void fix_line(const Snapshot* s, const FindingList* findings, const UnattendedRun* run, int32_t demo,
              wchar_t* out, size_t cap) {
    static const UnattendedRun kNone = {};
    if (!run) run = &kNone;
    wchar_t done[1200] = L"";
    if (demo && run->refused) {
        text_copy(done, _countof(done), L"nothing changed (demonstration data). ");
    } else {
        fixes_of(run, was_done, L"fixed", done, _countof(done));
        if (run->needAdmin) fixes_of(run, needs_admin, L"; needs administrator", done, _countof(done));
        if (run->failed) fixes_of(run, failed, L"; could not fix", done, _countof(done));
        text_append(done, _countof(done), L". Now ");
    }
    verdict_part(s, findings, demo, done, out, cap);
}

void error_line(const wchar_t* what, uint32_t code, wchar_t* out, size_t cap) {
    text_format(out, cap, L"ERROR: %ls (Windows error %lu)", what ? what : L"", (unsigned long)code);
}
