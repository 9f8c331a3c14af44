// Rules about a printer's network test result and what the printer itself reported over SNMP. They
// run only for a printer with an address and a test result; a silent printer is then looked for in
// the latest network search (moved printers).
#include "rules.h"

#include "moved.h"
#include "print_policy.h"
#include "text.h"

// What SNMP version 1 agents answer to unless set otherwise.
static const wchar_t kDefaultCommunity[] = L"public";

static void shared_printer_rules(const RuleContext* ctx, int32_t index) {
    const PrinterRecord* p = &ctx->snapshot->printers[index];
    const NetTestResult* n = &p->net;
    int any_port = 0;
    for (int i = 0; i < kPortProbeCount; i++)
        any_port |= n->portOpen[i] != 0;

    if (!n->resolved)
        add_finding_to(
            ctx->list, L"share-host-not-found", SeverityProblem, index, NoFix, p->name,
            L"The PC that shares this printer cannot be found",
            L"This printer is shared from another computer called \"%ls\", and that name cannot be found "
            L"on the network. Either that computer was renamed or removed, or this PC is not on the same "
            L"network (or VPN) right now.\n\nWhat to do: check that \"%ls\" is switched on and on the "
            L"network. If it was replaced, remove this printer and add it again from the new computer.",
            p->address, p->address);
    else if (!n->pingOk && !any_port)
        add_finding_to(
            ctx->list, L"share-host-silent", SeverityProblem, index, NoFix, p->name,
            L"The PC that shares this printer is not answering",
            L"This printer is shared from the computer \"%ls\" (%ls). That computer is not answering at "
            L"all, so nothing sent to this printer can get there.\n\nWhat to do: make sure \"%ls\" is "
            L"switched on, awake (not asleep) and connected to the network.",
            p->address, n->ipText, p->address);
    else if (!n->portOpen[5])
        add_finding_to(
            ctx->list, L"share-port-closed", SeverityProblem, index, NoFix, p->name,
            L"The sharing PC is on, but printer sharing is not reachable",
            L"The computer \"%ls\" answers, but its Windows sharing port (445) is closed. Its firewall may "
            L"be blocking File and Printer Sharing, or its Print Spooler / Server service is stopped.\n\n"
            L"What to do: on \"%ls\", check that the Print Spooler service is running and that File and "
            L"Printer Sharing is allowed through Windows Firewall.",
            p->address, p->address);
}

static const struct {
    int32_t bits; // any of them
    const wchar_t* rule;
    Severity severity;
    FixKind fix;
    const wchar_t* title;
    const wchar_t* text;
} kReportedErrors[] = {
    {0x400, L"printer-reports-jam", SeverityProblem, NoFix, L"The printer says: paper jam",
     L"The printer itself reports a paper jam. Open the covers and trays it points to on its screen, pull "
     L"the paper "
     L"out gently in the direction it travels, and close everything. Jobs continue by themselves."},
    {0x4000, L"printer-reports-no-paper", SeverityProblem, NoFix, L"The printer says: out of paper",
     L"The printer itself reports that a paper tray it needs is empty. Load paper (and check that the job is "
     L"asking "
     L"for a paper size that is actually loaded - Letter vs. Legal is a common mix-up)."},
    {0x800, L"printer-reports-door-open", SeverityProblem, NoFix,
     L"The printer says: a door or cover is open",
     L"The printer itself reports an open door or cover. Close every cover firmly, including the rear one "
     L"and the "
     L"toner door."},
    {0x1000, L"printer-reports-no-toner", SeverityProblem, NoFix, L"The printer says: out of toner or ink",
     L"The printer itself reports an empty toner or ink cartridge. Replace it. Some printers refuse to print "
     L"anything, even black-only pages, when one color is empty."},
    {0x200, L"printer-reports-offline", SeverityProblem, NoFix, L"The printer says it is offline",
     L"The printer answers on the network but reports itself as offline. Look at its control panel: it is "
     L"usually "
     L"waiting for someone to press a button, or showing an error."},
    {0x80 | 0x20, L"printer-reports-missing-supply", SeverityProblem, NoFix,
     L"The printer says: a cartridge or tray is missing",
     L"The printer itself reports a missing supply (toner, drum) or a missing paper tray. Re-seat the "
     L"cartridge and "
     L"push every tray fully in."},
    {0x8, L"printer-reports-tray-full", SeverityProblem, NoFix, L"The printer says: the output tray is full",
     L"Take the printed pages out of the output tray."},
    {0x100, L"printer-reports-service", SeverityHeadsUp, OpenWebPage, L"The printer says it needs service",
     L"The printer itself is asking for service or maintenance. Its control panel or web page (Fix This) "
     L"shows the "
     L"exact code. Printing may still work."},
    {0x2000, L"printer-reports-toner-low", SeverityHeadsUp, NoFix, L"The printer says: toner or ink is low",
     L"The printer still prints, but a cartridge is running low. Order a replacement now so it is on hand."},
    {0x2, L"printer-reports-maintenance", SeverityNote, NoFix, L"The printer says maintenance is overdue",
     L"A maintenance kit or routine service is due. Printing still works."},
    {0x8000, L"printer-reports-paper-low", SeverityNote, NoFix, L"The printer says: paper is low",
     L"A tray is nearly empty. Top it up when convenient."},
};

static void reported_status_rules(const RuleContext* ctx, int32_t index) {
    const PrinterRecord* p = &ctx->snapshot->printers[index];
    const NetTestResult* n = &p->net;

    if (n->haveErrorState)
        for (const auto& row : kReportedErrors)
            if (n->errorBits & row.bits)
                add_finding_to(ctx->list, row.rule, row.severity, index, row.fix, p->name, row.title, L"%ls",
                               row.text);

    if (n->deviceStatus == 5 && (!n->haveErrorState || n->errorBits == 0))
        add_finding_to(
            ctx->list, L"printer-reports-down", SeverityProblem, index, OpenWebPage, p->name,
            L"The printer reports that it is down",
            L"The printer answers on the network but says its print engine is down. Look at its control "
            L"panel or web page (Fix This) for the error, and try switching it off and on.");

    // A toner bit already said the cartridge is low or empty; a supply finding would repeat it.
    int toner_reported = n->haveErrorState && (n->errorBits & (0x2000 | 0x1000));
    int supply_count = clamp_count(n->supplyCount, kMaxSupplies);
    for (int i = 0; i < supply_count && !toner_reported; i++) {
        const SupplyLevel* supply = &n->supplies[i];
        if (supply->maxCapacity <= 0 || supply->level < 0) continue;
        int percent = (int)((int64_t)supply->level * 100 / supply->maxCapacity);
        if (percent > 10) continue;
        int empty = supply->level == 0;
        add_finding_to(
            ctx->list, empty ? L"supply-empty" : L"supply-low", empty ? SeverityProblem : SeverityHeadsUp,
            index, NoFix, p->name, empty ? L"A supply is empty" : L"A supply is nearly empty",
            L"%ls is at %d%%. Order a replacement%ls", supply->description, percent,
            empty ? L" - the printer may refuse to print until it is changed." : L" now so it is on hand.");
    }
}

void rules_network(const RuleContext* ctx, int32_t index) {
    const PrinterRecord* p = &ctx->snapshot->printers[index];
    const NetTestResult* n = &p->net;
    FindingList* list = ctx->list;

    if (p->kind == KindShared) {
        // A connection goes through the print server's spooler (RPC); a local port that writes to
        // a share goes through Windows sharing alone.
        if (p->isConnection)
            rules_print_server(ctx, index);
        else
            shared_printer_rules(ctx, index);
        return;
    }

    int any_port = 0;
    for (int i = 0; i < kPortProbeCount; i++)
        any_port |= n->portOpen[i] != 0;
    int print_port = 0; // a port number outside the probe list counts as 9100
    for (int i = 0; i < kPortProbeCount; i++)
        if (kProbePorts[i] == p->portNumber) print_port = i;
    int print_port_open = p->kind == KindTcpIp ? n->portOpen[print_port] != 0 : any_port;

    if (!n->resolved) {
        add_finding_to(
            list, L"printer-name-not-found", SeverityProblem, index, NoFix, p->name,
            L"The printer's network name cannot be found",
            L"Windows is set to reach this printer at the name \"%ls\", and that name does not exist on the "
            L"network right now (DNS lookup failed).\n\nWhat to do: print a network configuration page from "
            L"the printer's own control panel to get its current IP address, then change the printer's "
            L"port to that address (Tools → Properties → Ports → Configure Port).",
            p->address);
        match_moved_printer(ctx->snapshot, index, ctx->search, list);
        return;
    }
    if (!n->pingOk && !any_port) {
        add_finding_to(
            list, L"printer-not-answering", SeverityProblem, index, ctx->search ? NoFix : SearchNetwork,
            p->name, L"Nothing answers at the printer's address",
            L"Windows sends this printer's jobs to %ls. Vantrel pinged that address and knocked on every "
            L"print port, and nothing answered. That is why jobs sit in the queue.\n\nThe usual causes, "
            L"most likely first:\n• The printer is switched off, asleep, or its network cable / Wi-Fi is "
            L"disconnected.\n• The printer's IP address CHANGED (it got a new one from the router). Print "
            L"a network configuration page from the printer's control panel and compare its address with "
            L"%ls. If they differ, either set the printer back, or change the port (Tools → Properties → "
            L"Ports).\n• This PC is on a different network (guest Wi-Fi, VPN) than the printer.\n\nFix This "
            L"(or Find Printers on the Home tab) searches the network to see whether the printer is "
            L"answering somewhere else.",
            n->ipText, n->ipText);
        match_moved_printer(ctx->snapshot, index, ctx->search, list);
        return;
    }
    if (!print_port_open) {
        add_finding_to(
            list, L"print-port-closed", SeverityProblem, index, OpenWebPage, p->name,
            L"Something answers at the address, but it is not accepting print jobs",
            L"A device answers at %ls, but the port Windows prints to (%d) is closed. Either the printer "
            L"has that kind of printing switched off, or - more often - the address now belongs to a "
            L"DIFFERENT device because the printer's address changed.\n\nWhat to do: open the device's web "
            L"page (Fix This) and see whether it is really this printer. If it is not, find the printer's "
            L"current address on its control panel and change the port to match.",
            n->ipText, (int)p->portNumber);
        match_moved_printer(ctx->snapshot, index, ctx->search, list);
        return;
    }
    if (!n->pingOk)
        add_finding_to(
            list, L"printer-ignores-ping", SeverityNote, index, NoFix, p->name,
            L"The printer does not answer pings (but its print port is open)",
            L"The print port at %ls is open, so printing can work. The printer just ignores \"ping\", which "
            L"some printers and firewalls are set to do. Nothing to fix.",
            n->ipText);

    if (p->kind == KindTcpIp && p->snmpEnabled && n->snmpAsked && !n->snmpAnswered) {
        int offline = (p->status & 0x80) != 0;
        // A pool learns from its ports' SNMP status which of its printers is free, so switching it
        // off is never offered for one.
        int pooled = is_pooled_printer(p);
        add_finding_to(
            list, offline ? L"snmp-false-offline" : L"snmp-not-answered",
            offline ? SeverityProblem : SeverityHeadsUp, index, pooled ? NoFix : SnmpStatusOff, p->portName,
            offline ? L"Windows shows this printer Offline, but it is on the network and accepting jobs"
                    : L"This printer may show as Offline for no reason (SNMP status)",
            L"The port for this printer has \"SNMP Status Enabled\" ticked. That makes Windows ask the "
            L"printer \"are you there?\" in a language called SNMP. This printer does not answer SNMP (it "
            L"is switched off on the printer, or uses a different community name than \"%ls\"), so Windows "
            L"decides the printer is Offline %ls even though it is reachable at %ls and its print port is "
            L"open.\n\n%ls",
            p->snmpCommunity[0] ? p->snmpCommunity : kDefaultCommunity,
            offline ? L"and holds every job" : L"from time to time", n->ipText,
            pooled ? L"This printer is a pool, and Windows needs SNMP status on a pool's ports to tell which "
                     L"of its printers is free, so switching it off is not offered here. Make the printer "
                     L"answer SNMP instead: switch SNMP on in the printer's own settings, or set the port's "
                     L"community to the printer's."
                   : L"The fix: switch off SNMP status on this port. Windows then simply sends the job. This "
                     L"is one of the most common causes of \"printer offline\" on network printers, and the "
                     L"change is safe and can be undone from History & Undo.");
    }

    if (!n->snmpAnswered) return;
    reported_status_rules(ctx, index);
}
