// The shared facts of the reports and the banner. Pure: plain records in, texts and numbers out.
#include "reports/facts.h"

#include <stdlib.h>

#include "core/print_policy.h"
#include "core/text.h"
#include "reports/labels.h"

// SNMP version 1's conventional read-only community, which Windows' port uses when none is set.
#define DEFAULT_COMMUNITY L"public"

const wchar_t* spooler_state_text(int32_t state) {
    switch (state) {
    case 4:
        return L"running";
    case 1:
        return L"STOPPED";
    case 0:
        return L"unknown";
    default:
        return L"changing state";
    }
}

const wchar_t* start_type_text(int32_t type) {
    switch (type) {
    case 2:
        return L"automatic";
    case 3:
        return L"manual";
    case 4:
        return L"DISABLED";
    default:
        return L"unknown";
    }
}

void windows_product_text(const wchar_t* product_name, const wchar_t* current_build, wchar_t* out,
                          size_t cap) {
    if (!out || cap == 0) return;
    text_copy(out, cap, product_name);
    long build = current_build ? wcstol(current_build, nullptr, 10) : 0;
    if (build > 21999 && text_starts_with_ci(out, L"Windows 10") && cap > 10) out[9] = L'1';
}

void printer_status_text(const PrinterRecord* p, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    if (!p) return;
    if (p->attributes & 0x400) text_copy(out, cap, L"Use Printer Offline is ON");
    for (const BitLabel& entry : kPrinterStatusNames)
        if (p->status & entry.bit) text_append(out, cap, L"%ls%ls", out[0] ? L", " : L"", entry.label);
    if (!out[0]) text_copy(out, cap, L"Ready");
}

DriverNote printer_driver_note(const Snapshot* s, const PrinterRecord* p) {
    if (!s || !p) return DriverNoteNone;
    if (s->driverCount > 0 && !p->driverFound && !p->isConnection) return DriverNoteNotInstalled;
    if (p->driverFilesMissing) return DriverNoteFilesMissing;
    return DriverNoteNone;
}

int printer_is_checked(const PrinterRecord* p, int32_t check_virtual) {
    return p && (!p->isVirtual || check_virtual);
}

const wchar_t* printer_snmp_community(const PrinterRecord* p) {
    return p && p->snmpCommunity[0] ? p->snmpCommunity : DEFAULT_COMMUNITY;
}

const wchar_t* print_connections_text(const Snapshot* s) {
    if (!s) return nullptr;
    if (pc_uses_rpc_over_tcp(s)) return L"RPC over TCP";
    if (s->rpcUseNamedPipe.present && s->rpcUseNamedPipe.value == 1)
        return L"named pipes (RpcUseNamedPipeProtocol is 1)";
    return s->windowsBuild > 0 ? L"named pipes" : nullptr;
}

int has_printer_connection(const Snapshot* s) {
    for (int32_t i = 0; s && i < clamp_count(s->printerCount, kMaxPrinters); i++)
        if (s->printers[i].isConnection) return 1;
    return 0;
}

const wchar_t* pool_member_state(const PoolMember* m) {
    return !m || !m->tested ? L"not tested" : m->answered ? L"answers" : L"does NOT answer";
}

const wchar_t* driver_type_note(int32_t version) {
    return version == 4   ? L"(the newer, simpler kind)"
           : version == 3 ? L"(traditional manufacturer driver)"
                          : L"";
}

const wchar_t* printer_mac(const PrinterRecord* p, int* remembered) {
    if (remembered) *remembered = 0;
    if (!p) return nullptr;
    if (p->net.mac[0]) return p->net.mac;
    if (!p->knownMac[0]) return nullptr;
    if (remembered) *remembered = 1;
    return p->knownMac;
}

const wchar_t* printer_host_name(const PrinterRecord* p) {
    if (!p) return nullptr;
    return p->net.hostName[0] ? p->net.hostName : p->net.sysName[0] ? p->net.sysName : nullptr;
}

int supply_percent(const SupplyLevel* s, int32_t* percent) {
    if (!s || s->maxCapacity < 1 || s->level < 0) return 0;
    if (percent) *percent = (int32_t)((int64_t)s->level * 100 / s->maxCapacity);
    return 1;
}

void supply_text(const SupplyLevel* s, wchar_t* out, size_t cap) {
    int32_t percent = 0;
    if (supply_percent(s, &percent))
        text_format(out, cap, L"%ls: %d%%", s->description, percent);
    else if (s->level == -3)
        text_format(out, cap, L"%ls: some left (the printer does not say how much)", s->description);
    else
        text_format(out, cap, L"%ls: level not reported", s->description);
}

static const wchar_t* plural(int32_t count) {
    return count == 1 ? L"" : L"s";
}

void verdict_of_records(const Snapshot* s, const FindingList* findings, int32_t demo, Verdict* out) {
    *out = Verdict{};
    out->mostSerious = -1;
    if (!s) {
        text_copy(out->text, _countof(out->text), L"Checking the printers on this PC\x2026");
        out->colour = VerdictGray;
        return;
    }
    int32_t count = findings ? findings->count : 0;
    count = clamp_count(count, kMaxFindings);
    for (int32_t i = 0; i < count; i++) {
        const Finding* f = &findings->items[i];
        if (f->severity != SeverityProblem && f->severity != SeverityHeadsUp) continue;
        if (f->severity == SeverityProblem)
            out->problems++;
        else
            out->headsUps++;
        if (out->mostSerious < 0) out->mostSerious = i;
    }
    const wchar_t* marker = demo ? L"   [DEMO DATA \x2014 not this PC]" : L"";
    if (out->mostSerious >= 0) {
        int32_t problems = out->problems, heads_ups = out->headsUps;
        wchar_t head[100];
        if (problems > 0 && heads_ups > 0)
            text_format(head, _countof(head), L"%d problem%ls and %d heads-up%ls", problems, plural(problems),
                        heads_ups, plural(heads_ups));
        else if (problems > 0)
            text_format(head, _countof(head), L"%d problem%ls found", problems, plural(problems));
        else
            text_format(head, _countof(head), L"No problems, but %d heads-up%ls", heads_ups,
                        plural(heads_ups));
        // A finding about the PC as a whole (or a printer no longer in the snapshot) names no printer.
        const Finding* most = &findings->items[out->mostSerious];
        int32_t at = most->printerIndex;
        const PrinterRecord* p =
            at >= 0 && at < s->printerCount && at < kMaxPrinters ? &s->printers[at] : nullptr;
        text_format(out->text, _countof(out->text), L"%ls.  Most serious: %ls%ls%ls%ls", head,
                    p ? p->name : L"", p ? L" \x2014 " : L"", most->title, marker);
        out->colour = problems > 0 ? VerdictRed : VerdictAmber;
    } else if (s->printerCount > 0) {
        text_format(out->text, _countof(out->text),
                    L"No problems found. %d printer%ls checked, Print Spooler running.%ls", s->printerCount,
                    plural(s->printerCount), marker);
        out->colour = VerdictGreen;
    } else {
        text_format(out->text, _countof(out->text), L"No printers are installed on this PC.%ls", marker);
        out->colour = VerdictBlue;
    }
}

const wchar_t* verdict_colour_name(VerdictColour colour) {
    switch (colour) {
    case VerdictRed:
        return L"red";
    case VerdictAmber:
        return L"amber";
    case VerdictGreen:
        return L"green";
    case VerdictBlue:
        return L"blue";
    default:
        return L"gray";
    }
}

void shown_count_text(int32_t shown, int32_t left_out, const wchar_t* one, const wchar_t* many,
                      const wchar_t* many_shown, wchar_t* out, size_t cap) {
    if (left_out > 0)
        text_format(out, cap, L"%d of %lld %ls shown", shown, (long long)shown + left_out, many_shown);
    else
        text_format(out, cap, L"%d %ls", shown, shown == 1 ? one : many);
}
