// Choosing and making the unattended fixes.
#include "fixes/unattended.h"

#include "core/rule_catalog.h"
#include "core/text.h"

// The next id of a comma-separated list, blanks trimmed; returns where the one after it starts,
// or null at the end.
static const wchar_t* next_id(const wchar_t* p, wchar_t* id, size_t cap) {
    text_copy(id, cap, L"");
    if (!p || !*p) return nullptr;
    while (*p == L' ' || *p == L',')
        p++;
    if (!*p) return nullptr;
    size_t n = 0;
    while (*p && *p != L',') {
        if (n + 1 < cap) id[n++] = *p;
        p++;
    }
    while (n > 0 && id[n - 1] == L' ')
        n--;
    id[n] = 0;
    return p;
}

int rule_in_list(const wchar_t* list, const wchar_t* rule) {
    if (!list || !list[0]) return 1;
    wchar_t id[kRuleIdCapacity + 8];
    for (const wchar_t* p = next_id(list, id, _countof(id)); p; p = next_id(p, id, _countof(id)))
        if (rule && wcscmp(id, rule) == 0) return 1;
    return 0;
}

int unknown_rule_in_list(const wchar_t* list, wchar_t* out, size_t cap) {
    text_copy(out, cap, L"");
    wchar_t id[kRuleIdCapacity + 8];
    for (const wchar_t* p = next_id(list, id, _countof(id)); p; p = next_id(p, id, _countof(id))) {
        if (!rule_info(id)) {
            text_copy(out, cap, id);
            return 1;
        }
    }
    return 0;
}

int unattended_plan(const Finding* f, const Snapshot* s, const wchar_t* old_port_address, FixPlan* out) {
    if (!f) return 0;
    const RuleInfo* rule = rule_info(f->rule);
    // The rule decides, not the fix kind alone: "snmp-not-answered" offers the same SNMP fix as
    // "snmp-false-offline" but only for a printer that may show Offline, and a same-model match is a
    // guess a person has to check.
    if (!rule || !rule->unattended) return 0;
    switch (f->fix) {
    case UseOfflineOff:
    case ResumePrinter:
    case SnmpStatusOff:
    case PointToNewAddress:
    case StartSpooler:
    case SpoolerAutoStart:
        return fix_plan_of(f, s, old_port_address, out);
    default:
        return 0;
    }
}

static const wchar_t* printer_name_of(const Finding* f, const Snapshot* s) {
    if (!s || f->printerIndex < 0 || f->printerIndex >= s->printerCount) return L"this PC";
    return s->printers[f->printerIndex].name;
}

void run_unattended_fixes(const FindingList* list, const Snapshot* s, const wchar_t* only,
                          const RunnerEnv* env, PortAddressReader read_port, UnattendedRun* out) {
    *out = UnattendedRun{};
    if (!list) return;
    // What was run already, so one change is made once.
    struct Made {
        TaskVerb verb;
        wchar_t argument[260];
    } made[kMaxUnattendedFixes];
    int32_t made_count = 0;
    for (int32_t i = 0; i < list->count && i < kMaxFindings && out->count < kMaxUnattendedFixes; i++) {
        const Finding* f = &list->items[i];
        if (!rule_in_list(only, f->rule)) continue;
        wchar_t old_address[200] = L"";
        if (f->fix == PointToNewAddress && read_port) {
            wchar_t port[260], address[260];
            if (split_port_subject(f->subject, port, _countof(port), address, _countof(address)))
                read_port(port, old_address, _countof(old_address));
        }
        FixPlan plan;
        if (!unattended_plan(f, s, old_address, &plan)) continue;
        int again = 0;
        for (int32_t k = 0; k < made_count; k++)
            again |= made[k].verb == plan.verb && wcscmp(made[k].argument, plan.argument) == 0;
        if (again) continue;
        made[made_count].verb = plan.verb;
        text_copy(made[made_count].argument, _countof(made[0].argument), plan.argument);
        made_count++;

        const ActionOutcome outcome = run_change(&plan, env);
        UnattendedFix* fix = &out->fixes[out->count++];
        text_copy(fix->rule, _countof(fix->rule), f->rule);
        text_copy(fix->printer, _countof(fix->printer), printer_name_of(f, s));
        fix->status = outcome.status;
        fix->result = outcome.result;
        switch (outcome.status) {
        case ActionDone:
            out->done++;
            break;
        case ActionNeedsAdmin:
            out->needAdmin++;
            break;
        case ActionRefusedInDemo:
            out->refused++;
            break;
        default:
            out->failed++;
            break;
        }
    }
}
