// Rules about what Windows changed in printing after 2021: connections to print servers (RPC over
// TCP or named pipes), connections Windows refuses, Point and Print, RPC privacy, a spooler that
// keeps crashing, printer pools and Windows' own IPP class driver. Each says on which side of a
// connection, this PC or the print server, the cure belongs.
#include "rules.h"

#include <stdlib.h>

#include "print_policy.h"
#include "text.h"

// Windows' error codes a connection is refused with that these rules explain (System Error Codes):
// ERROR_MOD_NOT_FOUND, ERROR_INVALID_PRINTER_NAME, ERROR_PRINTER_DRIVER_DOWNLOAD_NEEDED.
enum : uint32_t { kModuleNotFound = 126, kInvalidPrinterName = 1801, kDriverDownloadNeeded = 3019 };

enum { kSharingPort = 5 }; // 445 in the probe order

void rules_print_server(const RuleContext* ctx, int32_t index) {
    const PrinterRecord* p = &ctx->snapshot->printers[index];
    const NetTestResult* n = &p->net;
    FindingList* list = ctx->list;
    if (!n->resolved) {
        add_finding_to(
            list, L"print-server-name", SeverityProblem, index, NoFix, p->name,
            L"The print server's name cannot be found",
            L"This printer is a connection to a printer shared by the print server \"%ls\", and that name "
            L"cannot be found on the network (the name lookup failed), so nothing sent to it gets "
            L"there.\n\nThe usual causes, most likely first:\n\x2022 This PC is not on the office network "
            L"right now (working from elsewhere without the VPN, or on guest Wi-Fi).\n\x2022 The server "
            L"was renamed or replaced: remove this printer and connect to it again on the new server.\n"
            L"\x2022 The network's name service (DNS) does not know the server: ask whoever runs the "
            L"network.",
            p->address);
        return;
    }
    if (!n->rpcPortOpen && !n->portOpen[kSharingPort]) {
        add_finding_to(
            list, L"print-server-silent", SeverityProblem, index, NoFix, p->name,
            L"The print server does not answer",
            L"The print server \"%ls\" (%ls) was found, but it answers neither way Windows reaches a shared "
            L"printer: neither RPC (port 135) nor Windows sharing (port 445) takes a connection. Nothing "
            L"sent to this printer can get there.\n\nThe usual causes, most likely first:\n\x2022 The "
            L"server is switched off, asleep or restarting.\n\x2022 Its firewall blocks File and Printer "
            L"Sharing, or its Print Spooler is stopped.\n\x2022 This PC is on a different network (guest "
            L"Wi-Fi, VPN) than the server.\n\nThe cure is on the server: check that it is on, that its "
            L"Print Spooler runs and that its firewall allows File and Printer Sharing.",
            p->address, n->ipText);
        return;
    }
    if (pc_uses_rpc_over_tcp(ctx->snapshot)) {
        if (!n->rpcPortOpen)
            add_finding_to(
                list, L"print-server-named-pipes-only", SeverityProblem, index, UseNamedPipesForPrinting,
                p->address, L"The print server blocks RPC, which this PC uses to reach it",
                L"This PC (Windows 11 22H2 or later) reaches shared printers over RPC on TCP: it asks the "
                L"print server \"%ls\" at port 135 first. The server answers on Windows sharing (port 445) "
                L"but not on port 135, so its firewall blocks RPC and this printer fails or hangs.\n\nThe "
                L"cure is on the server: allow the RPC endpoint mapper (TCP 135) and the RPC ports "
                L"(49152-65535, or the fixed port set for printing) through its firewall.\n\nThe stop-gap on "
                L"this PC: Fix This sets the policy RpcUseNamedPipeProtocol, so this PC reaches print "
                L"servers over named pipes (port 445) as Windows 10 did. That is less protected than RPC "
                L"over TCP, needs administrator permission and can be undone from History & Undo: take it "
                L"back once the server is fixed.",
                p->address);
        return;
    }
    if (!n->portOpen[kSharingPort])
        add_finding_to(
            list, L"share-port-closed", SeverityProblem, index, NoFix, p->name,
            L"The sharing PC is on, but printer sharing is not reachable",
            L"The computer \"%ls\" answers, but its Windows sharing port (445) is closed. Its firewall may "
            L"be blocking File and Printer Sharing, or its Print Spooler / Server service is stopped.\n\n"
            L"What to do: on \"%ls\", check that the Print Spooler service is running and that File and "
            L"Printer Sharing is allowed through Windows Firewall.",
            p->address, p->address);
}

static void connection_refused(const RuleContext* ctx, int32_t index) {
    const PrinterRecord* p = &ctx->snapshot->printers[index];
    FindingList* list = ctx->list;
    const wchar_t* title = L"Windows refuses to open this shared printer";
    const wchar_t* words = p->connectErrorText[0] ? p->connectErrorText : L"(Windows gave no description)";
    wchar_t error[16];
    text_format(error, _countof(error), L"0x%08X", (unsigned)p->connectError);
    switch (p->connectError) {
    case kInvalidPrinterName:
        add_finding_to(
            list, L"connection-refused", SeverityProblem, index, NoFix, p->name, title,
            L"Windows answered \"%ls\" (error %ls) when opening this printer: the printer's name is not "
            L"valid. The queue is no longer shared under that name on \"%ls\" (it was removed or renamed), "
            L"or this is a stale entry left in this user's list of printers.\n\nWhat to do: remove this "
            L"printer and connect to it again from the server's current list of printers. If it comes "
            L"back by itself at the next sign-in, a logon script or group policy adds it: ask whoever set "
            L"that up.",
            words, error, p->address);
        return;
    case kDriverDownloadNeeded:
        add_finding_to(
            list, L"connection-refused", SeverityProblem, index, NoFix, p->name, title,
            L"Windows answered \"%ls\" (error %ls): it needs this printer's driver from the server "
            L"\"%ls\", and installing a driver through Point and Print is for administrators only "
            L"(Windows' default since August 2021).\n\nWhat to do: an administrator connects this printer "
            L"once on this PC, which installs the driver for everyone; or the server offers a "
            L"package-aware driver that Windows may install by itself. This is not a fault of the printer.",
            words, error, p->address);
        return;
    case kModuleNotFound:
        add_finding_to(
            list, L"connection-refused", SeverityProblem, index, FindDriver, p->name, title,
            L"Windows answered \"%ls\" (error %ls): a file of this printer's driver \"%ls\" is missing "
            L"on this PC, usually after a failed driver update or a cleanup program.\n\nWhat to do: "
            L"reinstall the driver. Remove this printer and connect to it again from \"%ls\", or install "
            L"the maker's driver (Fix This finds its download page).",
            words, error, p->driverName, p->address);
        return;
    default:
        add_finding_to(
            list, L"connection-refused", SeverityProblem, index, NoFix, p->name, title,
            L"Windows refused to open this printer, shared by \"%ls\", with error %ls: \"%ls\".\n\nThis "
            L"PC and the print server disagree about the connection. Searching the web for the error "
            L"number and \"printer\" usually finds what it means; whoever runs the server can check its "
            L"side.",
            p->address, error, words);
        return;
    }
}

static void pool_rules(const RuleContext* ctx, int32_t index) {
    const Snapshot* s = ctx->snapshot;
    for (int32_t m = 0; m < clamp_count(s->poolMemberCount, kMaxPoolMembers); m++) {
        const PoolMember* member = &s->poolMembers[m];
        // The first port is the printer's own address, which the network rules judge already.
        if (member->printerIndex != index || member->position == 0) continue;
        if (!member->tested || member->answered) continue;
        add_finding_to(
            ctx->list, L"pool-member-silent", SeverityHeadsUp, index, NoFix, member->portName,
            L"A printer of this pool does not answer",
            L"This printer is a pool: Windows sends each job to whichever of its printers is free. The "
            L"pool's port \"%ls\" (%ls) does not answer: no ping and no open port. Jobs Windows hands to it "
            L"wait there while the pool's other printers stay idle.\n\nWhat to do: check that printer "
            L"(power, cable, address). Until it answers, untick its port on the Ports tab of this "
            L"printer's properties, so the pool uses only the printers that work.",
            member->portName, member->address[0] ? member->address : L"no address");
    }
}

static void ipp_rules(const RuleContext* ctx, int32_t index) {
    const Snapshot* s = ctx->snapshot;
    const PrinterRecord* p = &s->printers[index];
    if (!is_ipp_class_driver(p->driverName)) return;
    add_finding_to(
        ctx->list, L"ipp-class-driver", SeverityNote, index, FindDriver, p->name,
        L"Uses Windows' own IPP class driver",
        L"The driver is \"%ls\", which Windows installs by itself for printers it finds on the network "
        L"(since July 2026 Windows prefers it to the maker's driver). It prints, but trays, stapling, "
        L"hole punching, secure print or accounting codes may be missing until the maker's print support "
        L"app is installed (Windows usually offers it from the Microsoft Store by itself).\n\nIf an option "
        L"people need is missing, install the maker's app, or the maker's full driver (Fix This finds "
        L"its download page).",
        p->driverName);
    if (!p->address[0]) return;
    for (int32_t i = 0; i < clamp_count(s->printerCount, kMaxPrinters); i++) {
        const PrinterRecord* other = &s->printers[i];
        if (i == index || !text_equal_ci(other->address, p->address) ||
            is_ipp_class_driver(other->driverName))
            continue;
        if (other->isVirtual || !other->driverName[0]) continue;
        add_finding_to(
            ctx->list, L"ipp-class-duplicate", SeverityNote, index, OpenPrintersSettings, p->name,
            L"Two copies of one printer: one on Windows' IPP driver, one on the maker's",
            L"This printer and \"%ls\" print to the same address (%ls): Windows added this copy with its "
            L"own IPP class driver beside the one on the maker's driver \"%ls\". People who pick this copy "
            L"lose the maker's extras, and jobs seem to go missing when each copy is watched on its own.\n\n"
            L"Which to keep: the maker's copy when people need its trays, finishing or codes; this one "
            L"when the maker's driver gives trouble. Remove the other in Windows' Printers & scanners "
            L"(Fix This opens it).",
            other->name, p->address, other->driverName);
        return; // one note names one other copy; a third copy gets its own from its own driver
    }
}

void rules_print_printer(const RuleContext* ctx, int32_t index) {
    const Snapshot* s = ctx->snapshot;
    const PrinterRecord* p = &s->printers[index];
    if (p->isConnection && p->connectError) connection_refused(ctx, index);
    if (p->isConnection && s->driverCount > 0 && !p->driverFound && driver_install_restricted(s) &&
        p->connectError != kDriverDownloadNeeded)
        add_finding_to(
            ctx->list, L"point-and-print-admin-needed", SeverityNote, index, NoFix, p->name,
            L"Only an administrator can install this printer's driver",
            L"This printer is shared by \"%ls\", and its driver \"%ls\" is not installed on this PC. Since "
            L"August 2021 Windows lets only administrators install a driver through Point and Print (the "
            L"protection against the 2021 Print Spooler attacks), so a user cannot set this printer up "
            L"alone. This is not a fault of the printer.\n\nWhat to do: an administrator connects the "
            L"printer once on this PC (the driver is then there for everyone), or the print server offers "
            L"a package-aware driver, which Windows may install by itself.",
            p->address, p->driverName);
    pool_rules(ctx, index);
    ipp_rules(ctx, index);
}

// The newest driver that printers use, by its date: the first suspect when the spooler crashes.
static const DriverRecord* newest_used_driver(const Snapshot* s) {
    const DriverRecord* best = nullptr;
    long best_date = 0;
    for (int32_t i = 0; i < clamp_count(s->driverCount, kMaxDrivers); i++) {
        const DriverRecord* d = &s->drivers[i];
        // "MM/DD/YYYY" as YYYYMMDD; Windows' own drivers are not the usual suspects.
        if (d->printerCount <= 0 || wcslen(d->date) != 10 || text_contains_ci(d->maker, L"Microsoft"))
            continue;
        long date = wcstol(d->date + 6, nullptr, 10) * 10000 + wcstol(d->date, nullptr, 10) * 100 +
                    wcstol(d->date + 3, nullptr, 10);
        if (date > best_date) best = d, best_date = date;
    }
    return best;
}

void rules_print_pc(const RuleContext* ctx) {
    const Snapshot* s = ctx->snapshot;
    FindingList* list = ctx->list;

    if (s->spoolerCrashCount >= 2) {
        const DriverRecord* d = newest_used_driver(s);
        wchar_t suspect[400] = L"";
        if (d)
            text_format(suspect, _countof(suspect),
                        L" The newest driver that printers here use is \"%ls\" (dated %ls, used by %d "
                        L"printer%ls): start with that one.",
                        d->name, d->date, (int)d->printerCount, d->printerCount == 1 ? L"" : L"s");
        add_finding_to(
            list, L"spooler-crashing", SeverityProblem, -1, NoFix, L"", L"The Print Spooler keeps crashing",
            L"Windows logged %d unexpected ends of the Print Spooler in the last 24 hours, the last one at "
            L"%ls. Each time, printing stops for every printer on this PC and waiting jobs may be lost.\n\n"
            L"The most likely culprit is a printer driver: the spooler loads the drivers of every printer, "
            L"and one bad driver brings it down.%ls\n\nWhat to do: update or reinstall that driver from "
            L"the maker's website (Tools \x2192 Find Driver), or remove the printers that use it. If a "
            L"damaged job is the trigger, Clear Stuck Jobs helps.",
            (int)s->spoolerCrashCount,
            s->lastSpoolerCrashText[0] ? s->lastSpoolerCrashText : L"an unknown time", suspect);
    }

    if (point_and_print_unprotected(s)) {
        wchar_t which[200];
        int install = s->noWarningNoElevationOnInstall.present && s->noWarningNoElevationOnInstall.value;
        int update = s->updatePromptSettings.present && s->updatePromptSettings.value;
        text_format(which, _countof(which), L"%ls%ls%ls", install ? L"NoWarningNoElevationOnInstall" : L"",
                    install && update ? L" and " : L"", update ? L"UpdatePromptSettings" : L"");
        add_finding_to(
            list, L"point-and-print-unprotected", SeverityHeadsUp, -1, RestorePointAndPrint, L"",
            L"Any user may install a printer driver without a prompt",
            L"The Point and Print policy of this PC lets every user install a printer driver from a print "
            L"server without administrator permission and without a warning: "
            L"RestrictDriverInstallationToAdministrators is 0, and %ls is not 0. That switches off the "
            L"protection Windows added against the 2021 Print Spooler attacks (PrintNightmare): whoever can "
            L"get this PC to connect to a printer can run driver code on it with the spooler's full "
            L"rights.\n\nFix This puts the safe values back: drivers from print servers only by "
            L"administrators, with Windows' warning and elevation prompt. It needs administrator "
            L"permission and can be undone from History & Undo. A group policy may set the old values "
            L"again at its next refresh; if they come back, change the policy where it is managed.",
            which);
    }

    if (s->rpcAuthnLevelPrivacy.present && s->rpcAuthnLevelPrivacy.value == 0)
        add_finding_to(
            list, L"rpc-privacy-off", SeverityHeadsUp, -1, RemoveRpcPrivacyOverride, L"",
            L"This PC accepts print connections without RPC privacy",
            L"RpcAuthnLevelPrivacyEnabled is 0 under HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print. That "
            L"lets this PC's Print Spooler accept connections from other computers without RPC packet "
            L"privacy, the protection Windows enforces since 2021.\n\nThe value matters only on a PC that "
            L"shares printers with others. On a PC that only prints to other computers' printers it changes "
            L"nothing: a script that set it here to cure a connection error did not help this PC's "
            L"printing. The cure for such errors is updating whichever side, this PC or the print server, "
            L"is behind.\n\nFix This removes the value, so Windows protects the connections again. It "
            L"needs administrator permission and can be undone from History & Undo.");
}
