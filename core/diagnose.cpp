// One diagnosis run: the rule groups in their fixed order, a stable sort by severity, the summary
// of each printer, and the all-clear finding when nothing was found.
#include "diagnose.h"

#include <string.h>

#include "rules.h"
#include "text.h"

// The records come from Windows through bounded copies and always hold their terminators; sealing
// the last character of every text the rules read keeps a damaged record from being read past its
// end. For a sound record this changes nothing.
template <size_t N> static void seal(wchar_t (&text)[N]) {
    text[N - 1] = 0;
}

static void seal_snapshot(Snapshot* s) {
    s->printerCount = clamp_count(s->printerCount, kMaxPrinters);
    s->jobCount = clamp_count(s->jobCount, kMaxJobs);
    s->driverCount = clamp_count(s->driverCount, kMaxDrivers);
    s->logCount = clamp_count(s->logCount, kMaxLogEntries);
    seal(s->spoolFolder);
    seal(s->defaultPrinter);
    seal(s->userName);
    seal(s->sessionUserName);
    seal(s->lastSpoolerCrashText);
    s->poolMemberCount = clamp_count(s->poolMemberCount, kMaxPoolMembers);
    for (int i = 0; i < s->poolMemberCount; i++) {
        seal(s->poolMembers[i].portName);
        seal(s->poolMembers[i].address);
    }
    for (int i = 0; i < s->printerCount; i++) {
        PrinterRecord* p = &s->printers[i];
        seal(p->name);
        seal(p->portName);
        seal(p->driverName);
        seal(p->shareName);
        seal(p->location);
        seal(p->comment);
        seal(p->serverName);
        seal(p->address);
        seal(p->snmpCommunity);
        seal(p->knownMac);
        seal(p->knownSerial);
        seal(p->headline);
        seal(p->connectErrorText);
        NetTestResult* n = &p->net;
        seal(n->target);
        seal(n->ipText);
        seal(n->sysDescr);
        seal(n->model);
        seal(n->mac);
        seal(n->hostName);
        seal(n->sysName);
        seal(n->serial);
        for (auto& supply : n->supplies)
            seal(supply.description);
    }
}

// Stable by construction: findings are taken bucket by bucket, most serious first, each bucket in
// the order the rules added them. The permutation is then applied in place through one spare
// record, so no second list of 240 findings is needed.
static void sort_by_severity(FindingList* list) {
    int n = clamp_count(list->count, kMaxFindings);
    int order[kMaxFindings];
    int k = 0;
    for (int severity = SeverityProblem; severity >= SeverityOk; severity--)
        for (int i = 0; i < n; i++)
            if (list->items[i].severity == severity) order[k++] = i;
    for (int i = 0; i < n; i++) // a severity outside the known ones goes last, in order
        if (list->items[i].severity < SeverityOk || list->items[i].severity > SeverityProblem) order[k++] = i;

    bool placed[kMaxFindings] = {};
    Finding spare;
    for (int start = 0; start < n; start++) {
        if (placed[start] || order[start] == start) {
            placed[start] = true;
            continue;
        }
        memcpy(&spare, &list->items[start], sizeof(spare));
        int j = start;
        for (;;) {
            int from = order[j];
            placed[j] = true;
            if (from == start) {
                memcpy(&list->items[j], &spare, sizeof(spare));
                break;
            }
            memcpy(&list->items[j], &list->items[from], sizeof(spare));
            j = from;
        }
    }
}

static void summarise_printers(const RuleContext* ctx) {
    Snapshot* s = ctx->snapshot;
    FindingList* list = ctx->list;
    for (int i = 0; i < s->printerCount; i++) {
        PrinterRecord* p = &s->printers[i];
        p->worstSeverity = SeverityOk;
        p->findingCount = 0;
        p->headline[0] = 0;
    }
    for (int i = 0; i < list->count; i++) {
        const Finding* f = &list->items[i];
        if (f->printerIndex < 0 || f->printerIndex >= s->printerCount) continue;
        PrinterRecord* p = &s->printers[f->printerIndex];
        if (p->findingCount == 0) {
            p->worstSeverity = f->severity;
            text_copy(p->headline, _countof(p->headline), f->title);
        }
        p->findingCount++;
    }
    for (int i = 0; i < s->printerCount; i++) {
        PrinterRecord* p = &s->printers[i];
        if (p->findingCount > 1)
            text_append(p->headline, _countof(p->headline), L"  (+%d more)", (int)(p->findingCount - 1));
        else if (p->findingCount == 0)
            text_copy(p->headline, _countof(p->headline),
                      p->isVirtual && !ctx->settings->checkVirtual
                          ? L"Built into Windows or a PDF maker - not checked"
                      : !p->address[0] ? L"No problems found"
                      : p->net.tested  ? L"No problems found - reachable on the network"
                                       : L"No problems found - network not tested yet");
    }
}

void diagnose_at(const DiagnosisInput* input, FindingList* list, uint64_t now_utc) {
    if (!list) return;
    list->count = 0;
    if (!input || !input->snapshot) return;

    Settings defaults;
    if (!input->settings) settings_defaults(&defaults);
    RuleContext ctx = {input->snapshot, input->search,   input->settings ? input->settings : &defaults,
                       input->demo,     input->headless, list,
                       now_utc};
    Snapshot* s = ctx.snapshot;
    seal_snapshot(s);

    rules_spooler(&ctx);

    int real_printers = 0;
    for (int i = 0; i < s->printerCount; i++) {
        const PrinterRecord* p = &s->printers[i];
        if (!p->isVirtual && p->kind != KindRemoteDesktop) real_printers++;
        if (p->isVirtual && !ctx.settings->checkVirtual) continue;
        if (!rules_printer(&ctx, i)) continue; // a Remote Desktop printer gets its note only
        rules_print_printer(&ctx, i);
        if (p->address[0] && p->net.tested) rules_network(&ctx, i);
        rules_jobs(&ctx, i);
    }

    rules_system(&ctx, real_printers);
    rules_print_pc(&ctx);

    sort_by_severity(list);
    summarise_printers(&ctx);

    if (list->count == 0) {
        if (s->printerCount > 0)
            add_finding_to(
                list, L"no-problems", SeverityOk, -1, NoFix, L"", L"No problems found",
                L"The Print Spooler is running, no printer is paused, offline or in error, no job is stuck, "
                L"and every network printer that was tested answered. If something still will not print, "
                L"send a Test Page (Home tab) to the printer: if the test page prints, the problem is in the "
                L"program you are printing from, not the printer.");
        else
            add_finding_to(
                list, L"no-printers", SeverityOk, -1, NoFix, L"", L"No printers are installed on this PC",
                L"Windows has no printers set up. Add one from Windows' Printers & scanners (Tools tab).");
    }
}
