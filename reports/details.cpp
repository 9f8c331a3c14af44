// The printer details page. Every piece goes through the bounded append, so a small buffer ends
// with whole pieces (the last one cut at the capacity) and never overruns.
#include "reports/details.h"

#include "reports/append.h"
#include "reports/facts.h"

#include "core/classify.h"
#include "core/text.h"
#include "core/model_guess.h"
#include "reports/labels.h"

static void network_section(const PrinterRecord* p, wchar_t* buf, size_t cap) {
    const NetTestResult* n = &p->net;
    report_append(buf, cap, L"\nNETWORK TEST\n");
    if (!n->tested) {
        report_append(buf, cap, L"  Not tested yet. Click Network Test on the Home tab.\n");
        return;
    }
    if (!n->resolved) {
        report_append(buf, cap, L"  The name \"%ls\" could not be found on the network.\n", p->address);
        return;
    }
    int remembered = 0;
    const wchar_t* mac = printer_mac(p, &remembered);
    if (!mac) mac = L"not known (not on this PC's part of the network, and the printer did not say)";
    const wchar_t* host = printer_host_name(p);
    if (!host) host = L"none registered in DNS";
    report_append(buf, cap, L"  IP address: %ls\n  MAC address: %ls\n  Host name: %ls\n  Ping: %ls",
                  n->ipText, mac, host, n->pingOk ? L"answered" : L"NO ANSWER");
    if (remembered) report_append(buf, cap, L"   (MAC above is from the last time it answered)");
    if (n->pingOk) report_append(buf, cap, L" in %d ms", n->pingMs);
    report_append(buf, cap, L"\n  Ports open:");
    int any = 0;
    for (int i = 0; i < kPortProbeCount; i++) {
        if (!n->portOpen[i]) continue;
        report_append(buf, cap, L"%ls %ls", any ? L"," : L"", report_port_label(i));
        any = 1;
    }
    report_append(buf, cap, L"%ls\n", any ? L"" : L" none");
    if (p->isConnection)
        report_append(buf, cap, L"  Print server: RPC (port 135) %ls, Windows sharing (port 445) %ls\n",
                      n->rpcPortOpen ? L"answers" : L"does NOT answer",
                      n->portOpen[5] ? L"answers" : L"does NOT answer");

    if (!n->snmpAsked) return;
    report_append(buf, cap, L"\nWHAT THE PRINTER ITSELF SAYS (SNMP)\n");
    if (!n->snmpAnswered) {
        report_append(buf, cap,
                      L"  The printer did not answer. SNMP is switched off on it, uses a different community "
                      L"name, or the printer is unreachable.\n");
        return;
    }
    if (n->model[0]) report_append(buf, cap, L"  Model: %ls\n", n->model);
    if (n->sysDescr[0]) report_append(buf, cap, L"  Description: %ls\n", n->sysDescr);
    if (n->sysName[0]) report_append(buf, cap, L"  Its own name: %ls\n", n->sysName);
    if (n->serial[0]) report_append(buf, cap, L"  Serial number: %ls\n", n->serial);
    if (n->deviceStatus >= 1 && n->deviceStatus <= 5)
        report_append(buf, cap, L"  Device: %ls\n", report_device_status_label(n->deviceStatus));
    if (n->printerStatus >= 1 && n->printerStatus <= 5)
        report_append(buf, cap, L"  Print engine: %ls\n", report_printer_status_label(n->printerStatus));
    if (n->haveErrorState) {
        report_append(buf, cap, L"  Errors:");
        int listed = 0;
        for (const BitLabel& entry : kSnmpErrorLabels) {
            if (!((uint32_t)n->errorBits & entry.bit)) continue;
            report_append(buf, cap, L"%ls %ls", listed ? L"," : L"", entry.label);
            listed = 1;
        }
        report_append(buf, cap, L"%ls\n", listed ? L"" : L" none");
    }
    if (n->pageCount >= 0) report_append(buf, cap, L"  Pages printed in its lifetime: %d\n", n->pageCount);
    int supplies = clamp_count(n->supplyCount, kMaxSupplies);
    for (int i = 0; i < supplies; i++) {
        wchar_t supply[200];
        supply_text(&n->supplies[i], supply, _countof(supply));
        report_append(buf, cap, L"  Supply \x2014 %ls\n", supply);
    }
}

void printer_details_of(const Snapshot* s, const FindingList* findings, int32_t check_virtual, int32_t index,
                        wchar_t* buf, size_t cap) {
    if (!s || !buf || cap == 0 || index < 0 || index >= s->printerCount || index >= kMaxPrinters) return;
    const PrinterRecord* p = &s->printers[index];

    report_append(buf, cap, L"%ls%ls\n", p->name, p->isDefault ? L"   (the default printer)" : L"");
    report_append(buf, cap, L"Overall: %ls \x2014 %ls\n\n",
                  printer_is_checked(p, check_virtual) ? severity_label(p->worstSeverity) : L"not checked",
                  p->headline);

    wchar_t status[400];
    printer_status_text(p, status, _countof(status));
    DriverNote note = printer_driver_note(s, p);
    const wchar_t* suffix = note == DriverNoteNotInstalled ? L"   (NOT INSTALLED)"
                            : note == DriverNoteFilesMissing
                                ? L"   (FILES MISSING - \"Driver is unavailable\")"
                                : L"";
    report_append(buf, cap,
                  L"WHAT WINDOWS SAYS\n  Status: %ls\n  Jobs waiting: %lu\n  Driver: %ls%ls\n  Port: %ls\n"
                  L"  Connection: %ls\n",
                  status, (unsigned long)(p->jobCount < 0 ? 0 : p->jobCount), p->driverName, suffix,
                  p->portName, connection_kind_label(p->kind));

    if (!p->isVirtual) {
        ModelGuess guess;
        identify_model(p, &guess);
        report_append(buf, cap, L"  Model (best guess): %ls%ls%ls\n", guess.model,
                      guess.maker[0] ? L"   \x2014 made by " : L"", guess.maker);
    }
    if (p->shareName[0] && (p->attributes & 0x8))
        report_append(buf, cap, L"  Shared with other PCs as: %ls\n", p->shareName);
    if (p->location[0]) report_append(buf, cap, L"  Location: %ls\n", p->location);
    if (p->comment[0]) report_append(buf, cap, L"  Comment: %ls\n", p->comment);

    if (p->kind == KindTcpIp) {
        report_append(buf, cap, L"  Address: %ls   port %d (%ls)   SNMP status: %ls%ls%ls\n", p->address,
                      p->portNumber, p->protocol == 2 ? L"LPR" : L"RAW", p->snmpEnabled ? L"on" : L"off",
                      p->snmpEnabled ? L", community " : L"",
                      p->snmpEnabled ? printer_snmp_community(p) : L"");
    } else if (p->address[0]) {
        report_append(buf, cap, L"  Address: %ls\n", p->address);
    }

    if (p->connectError)
        report_append(buf, cap, L"  Opening it: REFUSED, error 0x%08X \x2014 %ls\n",
                      (unsigned)p->connectError,
                      p->connectErrorText[0] ? p->connectErrorText : L"(Windows gave no description)");
    int pool_ports = 0;
    for (int32_t m = 0; m < clamp_count(s->poolMemberCount, kMaxPoolMembers); m++) {
        const PoolMember* member = &s->poolMembers[m];
        if (member->printerIndex != index) continue;
        if (!pool_ports++)
            report_append(buf, cap, L"  Printer pool (each job goes to whichever of these is free):\n");
        report_append(buf, cap, L"    %ls   %ls   %ls\n", member->portName,
                      member->address[0] ? member->address : L"(no network address)",
                      pool_member_state(member));
    }

    if (p->driverIndex >= 0 && p->driverIndex < s->driverCount && p->driverIndex < kMaxDrivers) {
        const DriverRecord* d = &s->drivers[p->driverIndex];
        report_append(
            buf, cap,
            L"\nDRIVER\n  Name: %ls\n  Maker: %ls\n  Date: %ls\n  Version: %ls\n  Kind: Type %lu %ls\n"
            L"  Printer language: %ls\n  %ls\n",
            d->name, d->maker[0] ? d->maker : L"not stated", d->date[0] ? d->date : L"not stated",
            d->versionText[0] ? d->versionText : L"not stated", (unsigned long)(uint32_t)d->version,
            driver_type_note(d->version), driver_language_label(d->language),
            driver_language_explanation(d->language));
    }

    if (p->address[0]) network_section(p, buf, cap);

    int jobs = 0;
    for (int32_t i = 0; i < s->jobCount && i < kMaxJobs; i++) {
        const JobRecord* j = &s->jobs[i];
        if (j->printerIndex != index) continue;
        if (!jobs++) report_append(buf, cap, L"\nJOBS WAITING (first in line at the top)\n");
        report_append(buf, cap, L"  \x2022 %ls \x2014 from %ls, %lu page%ls, sent %d min ago \x2014 %ls\n",
                      j->document, j->userName, (unsigned long)(uint32_t)j->totalPages,
                      j->totalPages == 1 ? L"" : L"s", j->ageMinutes, j->statusText);
    }

    if (!findings) return;
    int found = 0;
    for (int32_t i = 0; i < findings->count && i < kMaxFindings; i++) {
        const Finding* f = &findings->items[i];
        if (f->printerIndex != index) continue;
        if (!found++) report_append(buf, cap, L"\nWHAT VANTREL FOUND\n");
        report_append(buf, cap, L"\n  [%ls] %ls\n  %ls\n", severity_label(f->severity), f->title, f->text);
        if (f->fix != NoFix) report_append(buf, cap, L"  One-click fix available: %ls.\n", fix_label(f->fix));
    }
}
