// History & Undo without Windows: texts, the undo of each change kind and the run's counters.
#include "fixes/undo_plan.h"

#include "core/text.h"
#include "fixes/actions.h"

// Windows' code for a prompt the user declined; the run stops there rather than asking again for
// every remaining row.
static const uint32_t kDeclined = 1223;

UndoStep undo_step(int32_t change_kind) {
    UndoStep s = {UndoTask, VerbNone, 0, 1};
    switch (change_kind) {
    case NothingToPutBack:
        s.how = UndoNothing;
        break;
    case SnmpSwitchedOff:
        s.verb = VerbSnmpOn;
        break;
    case OfflineUnticked:
        s.verb = VerbOffline;
        break;
    case PrinterResumed:
        s.verb = VerbPause;
        break;
    case PrinterPaused:
        s.verb = VerbResume;
        break;
    case WindowsDefaultOff:
        s.verb = VerbLegacyDefaultOff, s.useDetail = 0;
        break;
    case DefaultPrinterSet:
        s.verb = VerbSetDefault;
        break;
    case SpoolerStartTypeSet:
        s.verb = VerbSpoolAuto;
        break;
    case OperationalLogOn:
        s.verb = VerbOplogOff, s.useDetail = 0;
        break;
    case PortAddressSet:
        s.verb = VerbPortAddr;
        break;
    case NamedPipesPolicySet:
        s.verb = VerbRpcNamedPipes;
        break;
    case PointAndPrintSet:
        s.verb = VerbPointAndPrint;
        break;
    case RpcPrivacySet:
        s.verb = VerbRpcPrivacy;
        break;
    default:
        s.how = UndoUnknownKind, s.useDetail = 0;
        break;
    }
    if (s.how == UndoTask) s.needsAdmin = task_needs_admin(s.verb);
    return s;
}

void undo_change_plan(const UndoStep* step, const wchar_t* detail, const wchar_t* undid_description,
                      ChangePlan* out) {
    change_plan(out, step ? step->verb : VerbNone, detail, NothingToPutBack, L"", undid_description);
}

const wchar_t* undo_column_text(int32_t change_kind) {
    return change_kind != NothingToPutBack ? L"Yes \x2014 tick it and click Undo" : L"Nothing to put back";
}

void undo_count_line(int32_t record_count, wchar_t* out, size_t cap) {
    wchar_t line[200];
    if (record_count <= 0)
        text_copy(line, _countof(line), L"Vantrel has not changed anything on this PC yet.");
    else
        text_format(line, _countof(line), L"%d change%ls recorded. Newest first.", (int)record_count,
                    record_count == 1 ? L"" : L"s");
    text_copy(out, cap, line);
}

void undo_record_description(const wchar_t* description, wchar_t* out, size_t cap) {
    wchar_t text[560];
    text_format(text, _countof(text), L"Undid: %ls", description ? description : L"");
    text_copy(out, cap, text);
}

UndoTally undo_ticked_records(const ChangeList* list, const UndoOps* ops) {
    UndoTally t = {0, 0, 0, 0};
    if (!list || !ops) return t;
    for (int32_t i = 0; i < list->count && i < CHANGE_LIST_CAPACITY && !t.stopped; i++) {
        const int32_t ticked = ops->is_ticked(ops->context, i);
        if (ticked < 0) break;
        if (!ticked) continue;
        t.ticked++;
        const ChangeRecord* r = &list->records[i];
        const UndoStep step = undo_step(r->changeKind);
        if (step.how == UndoNothing) continue;
        if (step.how == UndoUnknownKind) {
            t.failed++;
            continue;
        }
        wchar_t undid[560];
        undo_record_description(r->description, undid, _countof(undid));
        const uint32_t result = ops->perform(ops->context, &step, step.useDetail ? r->detail : L"", undid);
        if (result == kDeclined) {
            t.stopped = 1;
        } else if (result != 0) {
            t.failed++;
        } else {
            // Demonstration mode never forgets: the history belongs to the real PC.
            if (!ops->demo) ops->forget(ops->context, r->valueName);
            t.putBack++;
        }
    }
    return t;
}

void undo_summary(const UndoTally* t, wchar_t* out, size_t cap) {
    wchar_t text[300];
    if (!t || t->ticked == 0)
        text_copy(text, _countof(text),
                  L"Tick the box at the start of each change you want to put back, then click Undo.");
    else if (t->failed > 0)
        text_format(text, _countof(text),
                    L"%d change%ls put back; %d could not be (the printer or port may no longer exist, or "
                    L"administrator permission was refused).",
                    (int)t->putBack, t->putBack == 1 ? L"" : L"s", (int)t->failed);
    else if (t->putBack > 0)
        text_format(text, _countof(text), L"%d change%ls put back.", (int)t->putBack,
                    t->putBack == 1 ? L"" : L"s");
    else
        text_copy(text, _countof(text),
                  L"The ticked rows have nothing to put back (they only cleared something away).");
    text_copy(out, cap, text);
}

int undo_wants_check(const UndoTally* t) {
    return t && t->putBack > 0;
}
