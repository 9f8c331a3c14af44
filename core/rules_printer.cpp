// Rules about one printer as Windows sees it: its status bits, "Use Printer Offline", the kind of
// port, the driver, and the jobs waiting in its queue. Findings carry the printer's index and name.
#include "rules.h"

#include "print_policy.h"
#include "text.h"

static const struct {
    uint32_t bit;
    const wchar_t* rule;
    const wchar_t* title;
    const wchar_t* advice;
} kWindowsStatusRows[] = {
    {0x8, L"windows-reports-jam", L"Windows reports: paper jam",
     L"Clear the jam at the printer: open the covers it points to, pull the paper out gently, close "
     L"everything."},
    {0x10, L"windows-reports-no-paper", L"Windows reports: out of paper",
     L"Load paper, and check the job is asking for a size that is actually loaded."},
    {0x400000, L"windows-reports-door-open", L"Windows reports: a door is open",
     L"Close every cover on the printer firmly."},
    {0x40000, L"windows-reports-no-toner", L"Windows reports: out of toner or ink",
     L"Replace the empty cartridge."},
    {0x100000, L"windows-reports-attention", L"Windows reports: the printer needs attention",
     L"Look at the printer's own screen; it is waiting for someone to press a button or fix something."},
    {0x800, L"windows-reports-tray-full", L"Windows reports: output tray full", L"Empty the output tray."},
    {0x1000, L"windows-reports-not-available", L"Windows reports: printer not available",
     L"Windows cannot reach the printer. Check that it is on and connected, then run the network test."},
    {0x2, L"windows-reports-error", L"Windows reports: the printer is in an error state",
     L"The printer told Windows something is wrong but not what. Look at the printer's own screen. If the "
     L"printer "
     L"looks fine, restart the Print Spooler and switch the printer off and on."},
};

int rules_printer(const RuleContext* ctx, int32_t index) {
    const Snapshot* s = ctx->snapshot;
    const PrinterRecord* p = &s->printers[index];
    FindingList* list = ctx->list;
    const wchar_t* name = p->name;

    if (p->kind == KindRemoteDesktop) {
        add_finding_to(
            list, L"remote-desktop-printer", SeverityNote, index, NoFix, name,
            L"This printer comes from a Remote Desktop session",
            L"This is a printer on the computer you are connecting FROM, passed through Remote Desktop. If "
            L"it misbehaves, fix it on that computer; it disappears from here when the session ends.");
        return 0;
    }

    if (p->useOffline)
        add_finding_to(
            list, L"use-printer-offline", SeverityProblem, index, UseOfflineOff, name,
            L"\"Use Printer Offline\" is switched on",
            L"Someone (or Windows itself, after a hiccup) ticked \"Use Printer Offline\" for this printer. "
            L"While it is ticked, Windows holds every job and never even tries to send it - no matter how "
            L"healthy the printer is.\n\nFix This unticks it and the waiting jobs start printing.");

    if (p->status & 0x1)
        add_finding_to(
            list, L"printer-paused", SeverityProblem, index, ResumePrinter, name, L"The printer is paused",
            L"This printer's queue is paused. Jobs are accepted but held until someone resumes it. People "
            L"usually pause a printer to stop a runaway job and forget to switch it back.\n\nFix This "
            L"resumes it.");

    for (const auto& row : kWindowsStatusRows)
        if (p->status & row.bit)
            add_finding_to(list, row.rule, SeverityProblem, index, NoFix, name, row.title, L"%ls",
                           row.advice);

    if (p->status & 0x20000)
        add_finding_to(list, L"windows-reports-toner-low", SeverityHeadsUp, index, NoFix, name,
                       L"Windows reports: toner or ink is low",
                       L"It still prints. Order a replacement cartridge now.");

    if ((p->status & 0x80) && !p->useOffline) {
        if (p->kind == KindUsb || p->kind == KindParallelSerial) {
            add_finding_to(
                list, L"printer-offline-cable", SeverityProblem, index, NoFix, name,
                L"The printer is offline (cable)",
                L"This printer connects by %ls and Windows cannot see it. It is switched off, unplugged, or "
                L"plugged into a different USB socket than before (Windows then often creates a second "
                L"\"Copy 1\" printer).\n\nWhat to do: check the power and the cable at both ends, try "
                L"another USB socket, then switch the printer off and on.",
                p->kind == KindUsb ? L"USB cable" : L"parallel/serial cable");
        } else if (!p->net.tested) {
            int has_address = p->address[0] != 0;
            add_finding_to(
                list, L"printer-offline", SeverityProblem, index, has_address ? RunNetworkTest : NoFix, name,
                L"Windows shows this printer as Offline",
                L"Windows believes it cannot reach this printer.%ls",
                has_address ? L" Run the network test (Fix This) to find out whether the printer is really "
                              L"unreachable or Windows is simply wrong."
                            : L" Check that it is switched on and connected.");
        }
    }

    if (p->kind == KindWsd)
        add_finding_to(
            list, L"wsd-port", SeverityHeadsUp, index, NoFix, name,
            L"Uses a WSD port (the least reliable kind of connection)",
            L"Windows found this printer by itself and connected it through \"WSD\" (Web Services for "
            L"Devices). WSD is convenient but fragile: the printer goes Offline at random, especially after "
            L"it sleeps, the PC changes networks, or the router restarts.\n\nIf this printer keeps dropping "
            L"offline, the lasting fix is to give the printer a fixed IP address and change it to a "
            L"Standard TCP/IP port: Tools → Properties → Ports → Add Port → Standard TCP/IP Port, and type "
            L"the printer's address.%ls%ls",
            p->address[0] ? L"\n\nThis printer's address appears to be " : L"", p->address);

    if (p->kind == KindTcpIp && p->protocol == 2)
        add_finding_to(
            list, L"lpr-port", SeverityNote, index, NoFix, name,
            L"Uses LPR printing instead of the usual RAW (port 9100)",
            L"This port is set to the older LPR protocol. That is fine if someone chose it on purpose (some "
            L"print servers need it); otherwise RAW on port 9100 is the normal, faster choice.");

    if (s->driverCount > 0 && !p->driverFound && !p->isConnection)
        add_finding_to(
            list, L"driver-missing", SeverityProblem, index, FindDriver, name,
            L"The printer's driver is missing",
            L"This printer says it uses the driver \"%ls\", but no driver with that name is installed on "
            L"this PC any more. Every job will fail.\n\nWhat to do: Fix This finds the printer maker's own "
            L"download page for this model. Install that driver, then (if the printer still shows the old "
            L"driver) choose it in Tools → Properties → Advanced → Driver.",
            p->driverName);
    else if (p->driverFilesMissing)
        add_finding_to(
            list, L"driver-files-missing", SeverityProblem, index, FindDriver, name,
            L"\"Driver is unavailable\" — the driver's files are missing",
            L"Windows still lists the driver \"%ls\" for this printer, but its main file is no longer on "
            L"the disk (often after a Windows update, a failed driver update, or a cleanup program). "
            L"Windows shows this printer as \"Driver is unavailable\" and every job fails.\n\nWhat to do: "
            L"Fix This finds the printer maker's own download page for this model. Reinstall that driver "
            L"over the top. If Windows will not accept it, remove the old driver first (Tools → Print "
            L"Server → Drivers tab → Remove), then install it.",
            p->driverName);

    if (text_contains_ci(p->driverName, L"Generic / Text Only"))
        add_finding_to(
            list, L"text-only-driver", SeverityHeadsUp, index, FindDriver, name,
            L"Uses the \"Generic / Text Only\" driver",
            L"This driver sends plain text only: no fonts, no graphics, no layout. Documents come out as "
            L"gibberish or pages of symbols. It is only right for some receipt and dot-matrix printers.\n\n"
            L"Install the printer's real driver (Fix This finds the maker's download page).");
    else if ((text_contains_ci(p->driverName, L"Class Driver") ||
              text_contains_ci(p->driverName, L"Microsoft enhanced Point")) &&
             !is_ipp_class_driver(p->driverName)) // which has a note of its own
        add_finding_to(
            list, L"generic-driver", SeverityNote, index, FindDriver, name,
            L"Uses a generic Windows driver, not the manufacturer's",
            L"The driver is \"%ls\", a basic one built into Windows. Ordinary printing works, but extras "
            L"such as stapling, tray selection, secure print or accounting codes may be missing. If people "
            L"complain that an option \"is gone\", install the manufacturer's full driver.",
            p->driverName);

    int driver_count = clamp_count(s->driverCount, kMaxDrivers);
    if (p->driverIndex >= 0 && p->driverIndex < driver_count &&
        s->drivers[p->driverIndex].language == LanguagePcl5)
        add_finding_to(
            list, L"pcl5-driver", SeverityNote, index, NoFix, name, L"Uses an older PCL 5 driver",
            L"This printer's driver speaks PCL 5, HP's older printer language. It works, but PCL 6 is "
            L"faster and handles modern documents better. Keep PCL 5 only if a program needs it (some "
            L"older dealership and accounting systems, pre-printed forms and check printing do). See Help "
            L"→ Driver Types for the differences.");

    if (text_contains_ci(name, L"(Copy ") && !p->isConnection)
        add_finding_to(
            list, L"duplicate-printer", SeverityNote, index, NoFix, name,
            L"This looks like a duplicate printer",
            L"The name ends in \"(Copy 1)\" or similar, which is what Windows adds when the same printer "
            L"gets installed twice (often after moving it to a different USB socket or network address). "
            L"One of the two is usually dead. People printing to the dead one get nothing.\n\nWork out "
            L"which one prints (Test Page on each), then remove the other in Windows' Printers & scanners.");
    return 1;
}

void rules_jobs(const RuleContext* ctx, int32_t index) {
    const Snapshot* s = ctx->snapshot;
    const PrinterRecord* p = &s->printers[index];
    FindingList* list = ctx->list;
    int jobs = 0, errors = 0, deleting = 0, oldest = 0;
    int job_count = clamp_count(s->jobCount, kMaxJobs);
    for (int i = 0; i < job_count; i++) {
        const JobRecord* j = &s->jobs[i];
        if (j->printerIndex != index) continue;
        if (jobs == 0 || j->ageMinutes > oldest) oldest = j->ageMinutes;
        jobs++;
        if (j->status & 0x2) errors++;
        if ((j->status & 0x4) && j->ageMinutes >= 1) deleting++;
    }

    if (deleting > 0)
        add_finding_to(
            list, L"job-stuck-deleting", SeverityProblem, index, ClearStuckJobs, p->name,
            L"A job is stuck \"Deleting\" and blocking the queue",
            L"Someone canceled a job, but it is stuck at \"Deleting\" and will not go away. Every job "
            L"behind it waits forever. This cannot be fixed from the queue window.\n\nFix This (Clear Stuck "
            L"Jobs) stops the Print Spooler, deletes the stuck job files, and starts it again. All waiting "
            L"jobs on ALL printers are removed, so people will need to print again.");
    else if (errors > 0)
        add_finding_to(
            list, L"job-error", SeverityProblem, index, CancelPrinterJobs, p->name,
            L"A job has an error and is blocking the queue",
            L"%d job%ls in this printer's queue show%ls \"Error\". Windows keeps retrying the job at the "
            L"front, and everything behind it waits.\n\nFirst fix whatever is wrong with the printer (see "
            L"this printer's other findings). Then Fix This cancels this printer's waiting jobs so the "
            L"queue is clean; people print again afterwards.",
            errors, errors == 1 ? L"" : L"s", errors == 1 ? L"s" : L"");
    else if (jobs > 0 && oldest > 14 && !(p->status & 0x1) && !p->useOffline)
        add_finding_to(
            list, L"jobs-waiting-long", SeverityHeadsUp, index, CancelPrinterJobs, p->name,
            L"Jobs have been waiting a long time",
            L"The oldest job in this queue was sent %d minutes ago and has not printed. Something is "
            L"holding the queue - see this printer's other findings. If the printer itself is fine, cancel "
            L"the waiting jobs (Fix This) and print again.",
            oldest);
}
