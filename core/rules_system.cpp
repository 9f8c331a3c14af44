// Rules about the PC as a whole: the Print Spooler, leftovers in its folder, the default printer,
// the built-in PDF printer, the account Vantrel runs as, Windows' print logs and the protected-print
// policy. Each adds at most one finding, about the PC (printer -1, empty subject).
#include "rules.h"

#include "text.h"

static const uint64_t kDay100ns = 864000000000ull;

void rules_spooler(const RuleContext* ctx) {
    const Snapshot* s = ctx->snapshot;
    FindingList* list = ctx->list;

    if (s->spoolerState != 0 && s->spoolerState != 4)
        add_finding_to(
            list, L"spooler-stopped", SeverityProblem, -1, StartSpooler, L"",
            L"The Print Spooler service is not running",
            L"The Print Spooler is the part of Windows that every print job goes through. It is %ls right "
            L"now, so NO printer on this PC can print, and the printer list in Windows appears empty.\n\n"
            L"Fix This starts it. If it stops again within seconds, a damaged job or a bad printer driver "
            L"is crashing it: use Clear Stuck Jobs, and check the Windows Log view for the driver file it "
            L"names.",
            s->spoolerState == 1 ? L"stopped" : L"not fully started");

    if (s->spoolerStartType == 3 || s->spoolerStartType == 4)
        add_finding_to(
            list, L"spooler-not-automatic", SeverityHeadsUp, -1, SpoolerAutoStart, L"",
            L"The Print Spooler is not set to start automatically",
            L"The Print Spooler's startup type is \"%ls\". After the next restart of this PC printing will "
            L"not work until someone starts the service by hand. (Some security guides disable the "
            L"spooler on purpose on servers that never print - if that is the case here, leave it.)\n\n"
            L"Fix This sets it back to Automatic, which is how Windows ships.",
            s->spoolerStartType == 4 ? L"Disabled" : L"Manual");

    if (s->spoolFolderRead && s->spoolFileCount > 0 && s->jobCount == 0)
        add_finding_to(
            list, L"spool-folder-leftovers", SeverityHeadsUp, -1, ClearStuckJobs, L"",
            L"Leftover job files in the spool folder",
            L"There are %d files (%I64u KB) in the spooler's folder, but no printer shows any waiting "
            L"job. These are the remains of jobs that never finished. They can make the spooler slow, "
            L"crash, or re-print old pages.\n\nFix This (Clear Stuck Jobs) stops the spooler, deletes the "
            L"leftovers, and starts it again.",
            (int)s->spoolFileCount, (unsigned long long)(s->spoolBytes / 1024));
}

void rules_system(const RuleContext* ctx, int32_t real_printer_count) {
    const Snapshot* s = ctx->snapshot;
    FindingList* list = ctx->list;
    int spooler_up = s->spoolerState == 4 || ctx->demo;
    int printer_count = clamp_count(s->printerCount, kMaxPrinters);

    if (spooler_up && real_printer_count >= 1) {
        if (!s->defaultPrinter[0]) {
            add_finding_to(
                list, L"no-default-printer", SeverityHeadsUp, -1, OpenPrintersSettings, L"",
                L"No default printer is set",
                L"Programs that print without asking (\"quick print\" buttons, some dealership and "
                L"accounting software) have nowhere to send the job. Pick a default in Windows' Printers & "
                L"scanners (Fix This opens it), or click a printer here and use Tools → Set Default with "
                L"expert tools on.");
        } else {
            for (int i = 0; i < printer_count; i++) {
                const PrinterRecord* p = &s->printers[i];
                if (!p->isDefault || !p->isVirtual) continue;
                add_finding_to(
                    list, L"default-printer-virtual", SeverityNote, -1, OpenPrintersSettings, L"",
                    L"The default printer is not a real printer",
                    L"The default printer is \"%ls\", which makes a file instead of paper. Anyone who "
                    L"clicks Print without looking gets a \"Save As\" box (or nothing) instead of a page. "
                    L"If that is not intended, set a real printer as the default.",
                    p->name);
            }
        }
    }

    if (spooler_up && s->windowsManagesDefault && real_printer_count >= 2)
        add_finding_to(
            list, L"windows-manages-default", SeverityNote, -1, KeepDefaultPrinter, L"",
            L"Windows is allowed to change the default printer by itself",
            L"\"Let Windows manage my default printer\" is on. Windows then makes whichever printer was "
            L"used LAST the default. In an office this is the usual reason people say \"my printouts keep "
            L"going to the wrong printer\".\n\nFix This switches it off, so the default stays where you "
            L"put it. It can be undone from History & Undo.");

    if (spooler_up && s->pdfPrinterMissing)
        add_finding_to(
            list, L"pdf-printer-missing", SeverityNote, -1, AddPdfPrinter, L"",
            L"Microsoft Print to PDF is not installed",
            L"The built-in \"Microsoft Print to PDF\" printer is missing from this PC. It is handy for "
            L"saving anything as a PDF, and for proving that printing itself works when a real printer "
            L"does not.\n\nFix This switches the Windows feature on (it takes a minute and needs "
            L"administrator approval).");

    if (s->runningAsSystem ||
        (s->sessionUserName[0] && s->userName[0] && !text_equal_ci(s->sessionUserName, s->userName))) {
        wchar_t who[300];
        if (s->sessionUserName[0])
            text_format(who, _countof(who), L"the person signed in is \"%ls\"", s->sessionUserName);
        else
            text_copy(who, _countof(who), L"nobody is signed in to this PC's screen");
        // Remote-management tools run "/check" and "/fix" as SYSTEM on purpose; in the window it is a
        // mistake worth a Heads-up.
        const Severity severity = s->runningAsSystem && ctx->headless ? SeverityNote : SeverityHeadsUp;
        add_finding_to(
            list, s->runningAsSystem ? L"running-as-system" : L"running-as-other-user", severity, -1, NoFix,
            L"",
            s->runningAsSystem ? L"Vantrel is running as SYSTEM, not as the person signed in"
                               : L"Vantrel is running as a different user than the person signed in",
            L"Vantrel is running as \"%ls\", but %ls. In Windows many printers belong to the PERSON, not the "
            L"PC: "
            L"printers shared from a server (\\\\server\\printer) and most network printers a user added for "
            L"themselves. Other accounts cannot see them, so the printer you are looking for may be missing "
            L"from "
            L"this list, and fixes such as setting the default printer would change the wrong "
            L"account.\n\nThis "
            L"usually happens when Vantrel is started from a remote-support or RMM tool's background or "
            L"command "
            L"session (for example ScreenConnect Backstage, or a script run by the RMM agent), or with \"Run "
            L"as "
            L"different user\".\n\nWhat to do: start Vantrel on the person's own desktop, as them. It asks "
            L"for "
            L"administrator permission by itself when a fix needs it.",
            s->runningAsSystem ? L"SYSTEM" : s->userName, who);
    }

    if (ctx->settings->readEventLog && s->operationalLogKnown && !s->operationalLogEnabled)
        add_finding_to(
            list, L"detailed-log-off", SeverityNote, -1, EnableDetailedLog, L"",
            L"Windows' detailed print log is switched off",
            L"Windows keeps two print logs. The error log is always on. The detailed log (PrintService → "
            L"Operational) writes a line for EVERY job — who printed what, to which printer, how many "
            L"pages, and whether it reached the printer — but Windows ships with it switched off.\n\n"
            L"Switch it on for a printer that only fails now and then: the next time it happens, the "
            L"Windows Log view shows exactly which job failed and why. It uses very little disk space "
            L"(Windows caps its size).\n\nFix This switches it on (Windows asks for administrator "
            L"permission). It can be switched off again from History & Undo.");

    if (s->protectedPrintPolicy)
        add_finding_to(
            list, L"protected-print-mode", SeverityNote, -1, NoFix, L"",
            L"Windows protected print mode is on",
            L"This PC is set (by policy) to Windows protected print mode. In this mode Windows refuses "
            L"every manufacturer driver and only prints to modern \"Mopria\" printers with its own driver. "
            L"Older printers cannot be installed until the policy is changed.");

    if (s->adminLogRead && s->logCount > 0) {
        int recent = 0;
        int log_count = clamp_count(s->logCount, kMaxLogEntries);
        for (int i = 0; i < log_count; i++) {
            const LogEntry* e = &s->logEntries[i];
            if (e->level < 1 || e->level > 3) continue;
            if (e->time > ctx->nowUtc)
                continue; // dated in the future: a clock that jumped, not a recent error
            if (ctx->nowUtc - e->time >= kDay100ns) continue;
            recent++;
        }
        if (recent >= 1)
            add_finding_to(
                list, L"print-log-errors", SeverityNote, -1, ShowPrintLog, L"",
                L"Windows logged print errors in the last 24 hours",
                L"Windows recorded %d print error%ls or warning%ls in the last day. They often name the "
                L"exact document, printer or driver file that failed. Fix This shows them in the list below "
                L"(the Windows Log view).",
                recent, recent == 1 ? L"" : L"s", recent == 1 ? L"" : L"s");
    }
}
