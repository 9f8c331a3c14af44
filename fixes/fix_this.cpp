// The pure half of Fix This: the choice of finding, its caption and question, and the plan of every
// change a fix makes. Nothing here asks, runs or reads Windows, so the tests feed it plain records.
#include "fix_this.h"

#include "core/text.h"

static const Finding* finding_at(const FindingList* list, int32_t row) {
    if (!list || row < 0 || row >= list->count || row >= kMaxFindings) return nullptr;
    return &list->items[row];
}

static int32_t first_for_printer(const FindingList* list, int32_t printer, int with_fix) {
    for (int32_t i = 0; i < list->count && i < kMaxFindings; i++) {
        const Finding& f = list->items[i];
        if (f.printerIndex == printer && (!with_fix || f.fix != NoFix)) return i;
    }
    return -1;
}

FixChoice choose_fix(const FindingList* list, const FixSelection* selection) {
    static const FindingList kEmpty = {};
    if (!list) list = &kEmpty;
    FixSelection none = {0, 0, -1, -1};
    const FixSelection* sel = selection ? selection : &none;

    if (sel->bottomLastUsed && sel->view == 0 && finding_at(list, sel->bottomRow))
        return {sel->bottomRow, nullptr};

    if (sel->printerRow >= 0) {
        int32_t row = first_for_printer(list, sel->printerRow, 1);
        if (row < 0) row = first_for_printer(list, sel->printerRow, 0);
        if (row < 0) return {-1, VANTREL_NOTHING_WRONG_WITH_PRINTER};
        return {row, nullptr};
    }

    // Only findings with a fix count here: a PROBLEM without one must not hide a Heads-up that has one.
    for (int32_t i = 0; i < list->count && i < kMaxFindings; i++) {
        const Finding& f = list->items[i];
        if (f.fix != NoFix && f.severity > SeverityNote) return {i, nullptr};
    }
    if (list->count <= 0 || list->items[0].severity <= SeverityOk) return {-1, VANTREL_NO_PROBLEMS_TO_FIX};
    return {-1, VANTREL_NO_ONE_CLICK_FIX};
}

static const PrinterRecord* printer_at(const Snapshot* s, int32_t index) {
    if (!s || index < 0 || index >= s->printerCount || index >= kMaxPrinters) return nullptr;
    return &s->printers[index];
}

void fix_caption(const Finding* finding, const Snapshot* s, wchar_t* out, size_t cap) {
    wchar_t caption[400];
    const wchar_t* label = severity_label(finding ? finding->severity : 0);
    const PrinterRecord* p = finding ? printer_at(s, finding->printerIndex) : nullptr;
    if (p)
        text_format(caption, _countof(caption), L"%ls: %ls", label, p->name);
    else
        text_format(caption, _countof(caption), L"%ls: this PC", label);
    text_copy(out, cap, caption);
}

uint32_t fix_question(const Finding* finding, wchar_t* out, size_t cap) {
    static const Finding kNone = {};
    const Finding* f = finding ? finding : &kNone;
    int problem = f->severity == SeverityProblem;
    wchar_t text[2200];
    if (f->fix == NoFix) {
        text_format(
            text, _countof(text),
            L"%ls\n\n%ls\n\n(There is no one-click fix for this one; it has to be dealt with as described "
            L"above.)",
            f->title, f->text);
        text_copy(out, cap, text);
        return problem ? FixBoxWarning : FixBoxInformation;
    }
    text_format(text, _countof(text), L"%ls\n\n%ls\n\nTHE FIX: %ls.\n\nDo it now?", f->title, f->text,
                fix_label(f->fix));
    text_copy(out, cap, text);
    return FixBoxYesNo | (problem ? FixBoxWarning : FixBoxQuestion);
}

#define RESTART_SPOOLER_TEXT                                                                                 \
    L"This stops the Print Spooler (the part of Windows every print job goes through) and starts it "        \
    L"again. It is the printing equivalent of \"switch it off and on again\" and clears many odd "           \
    L"problems.\n\n\x2022 Printing on this PC pauses for about 10 seconds.\n\x2022 Jobs that are waiting "   \
    L"stay in their queues and usually carry on afterwards.\n\x2022 Windows will ask for administrator "     \
    L"permission.\n\nRestart it now?"
#define CLEAR_STUCK_JOBS_TEXT                                                                                \
    L"This is the cure for a job that will not print and will not delete.\n\nVantrel will:\n  1. stop the "  \
    L"Print Spooler\n  2. delete every waiting job file on this PC (%d job%ls on all printers right "        \
    L"now)\n  3. start the Print Spooler again\n\nEvery waiting job on EVERY printer on this PC is "         \
    L"removed, so people will need to print those documents again. Nothing else is touched: printers, "      \
    L"drivers and settings stay exactly as they are.\n\nWindows will ask for administrator permission. "     \
    L"Clear the stuck jobs now?"
#define CANCEL_ALL_JOBS_TEXT                                                                                 \
    L"Cancel every waiting job on \"%ls\"?\n\nOnly this printer's queue is emptied. Whoever sent those "     \
    L"documents will need to print them again."
#define SNMP_OFF_TEXT                                                                                        \
    L"Switch off \"SNMP Status Enabled\" for the port \"%ls\"?\n\nWindows will stop asking the printer "     \
    L"\"are you there?\" before each job and will simply send the job. This cures printers that show "       \
    L"Offline while they are plainly switched on and reachable.\n\nThe Print Spooler is restarted so the "   \
    L"change takes effect (printing pauses for about 10 seconds). Windows will ask for administrator "       \
    L"permission. You can put it back from History & Undo."
#define ADD_PDF_TEXT                                                                                         \
    L"This switches on the Windows feature \"Microsoft Print to PDF\", which adds a printer that saves "     \
    L"anything you print as a PDF file.\n\nIt can take a minute or two, and Windows will ask for "           \
    L"administrator permission. Go ahead?"

// One row per command. The confirmation text and the description take the argument through "%ls";
// the detail is the argument itself or nothing.
struct FixCommandRow {
    TaskVerb verb;
    ChangeKind changeKind;
    int32_t detailIsArgument;
    int32_t alwaysConfirm;
    int32_t offerTestPage;
    const wchar_t* confirmTitle;
    const wchar_t* confirmText;
    const wchar_t* description;
};

static const FixCommandRow kFixCommands[kFixCommandCount] = {
    {VerbSpoolRestart, NothingToPutBack, 0, 0, 1, L"Restart the Print Spooler", RESTART_SPOOLER_TEXT,
     L"Restarted the Print Spooler service"},
    {VerbSpoolClear, NothingToPutBack, 0, 1, 1, L"Clear Stuck Jobs", CLEAR_STUCK_JOBS_TEXT,
     L"Cleared stuck jobs (stopped the spooler, deleted waiting job files, started it again)"},
    {VerbPause, PrinterPaused, 1, 0, 0, nullptr, nullptr, L"Paused the printer \"%ls\""},
    {VerbResume, PrinterResumed, 1, 0, 0, nullptr, nullptr, L"Resumed the printer \"%ls\""},
    {VerbOnline, OfflineUnticked, 1, 0, 0, nullptr, nullptr,
     L"Switched off \"Use Printer Offline\" for \"%ls\""},
    {VerbOffline, NothingToPutBack, 1, 0, 0, nullptr, nullptr,
     L"Switched on \"Use Printer Offline\" for \"%ls\""},
    {VerbPurge, NothingToPutBack, 0, 0, 0, L"Cancel All Jobs", CANCEL_ALL_JOBS_TEXT,
     L"Canceled all waiting jobs on \"%ls\""},
    {VerbSnmpOff, SnmpSwitchedOff, 1, 0, 0, L"Switch Off SNMP Status", SNMP_OFF_TEXT,
     L"Switched off SNMP status on port \"%ls\" (and restarted the Print Spooler)"},
    {VerbPdf, NothingToPutBack, 0, 0, 0, L"Add Microsoft Print to PDF", ADD_PDF_TEXT,
     L"Switched on the Windows feature Microsoft Print to PDF"},
};

static void plan_clear(FixPlan* out) {
    *out = FixPlan{};
    out->verb = VerbNone;
}

static void plan_verb(FixPlan* out, TaskVerb verb) {
    out->verb = verb;
    out->needsAdmin = task_needs_admin(verb);
}

int fix_command_plan(FixCommand command, const wchar_t* argument, int32_t job_count, FixPlan* out) {
    plan_clear(out);
    if (command < 0 || command >= kFixCommandCount) return 0;
    const FixCommandRow& row = kFixCommands[command];
    const wchar_t* arg = argument ? argument : L"";
    out->verb = row.verb;
    out->needsAdmin = task_needs_admin(row.verb);
    out->changeKind = row.changeKind;
    out->alwaysConfirm = row.alwaysConfirm;
    out->offerTestPage = row.offerTestPage;
    text_copy(out->argument, _countof(out->argument), arg);
    if (row.detailIsArgument) text_copy(out->detail, _countof(out->detail), arg);
    wchar_t description[400];
    text_format(description, _countof(description), row.description, arg);
    text_copy(out->description, _countof(out->description), description);
    out->confirmTitle = row.confirmTitle;
    if (command == FixCommandClearStuckJobs)
        text_format(out->confirmText, _countof(out->confirmText), row.confirmText, job_count,
                    job_count == 1 ? L"" : L"s");
    else if (row.confirmText)
        text_format(out->confirmText, _countof(out->confirmText), row.confirmText, arg);
    return 1;
}

void plan_names_printer(FixPlan* plan, const wchar_t* printer) {
    if (!plan || !printer || !printer[0]) return;
    // Only the changes made to one printer or its port; the spooler and policies are the PC's.
    switch (plan->verb) {
    case VerbSnmpOff:
    case VerbSnmpOn:
    case VerbPortAddr:
    case VerbPurge:
    case VerbPause:
    case VerbResume:
    case VerbOnline:
    case VerbOffline:
    case VerbDelete:
    case VerbSetDefault:
        break;
    default:
        return;
    }
    wchar_t quoted[300], text[_countof(plan->confirmText)];
    text_format(quoted, _countof(quoted), L"\"%ls\"", printer);
    if (plan->confirmTitle && plan->confirmText[0] && !text_contains_ci(plan->confirmText, quoted)) {
        text_format(text, _countof(text), L"Printer: %ls\n\n%ls", quoted, plan->confirmText);
        text_copy(plan->confirmText, _countof(plan->confirmText), text);
    }
    if (!text_contains_ci(plan->description, quoted)) {
        wchar_t description[_countof(plan->description)];
        text_format(description, _countof(description), L"%ls, printer %ls", plan->description, quoted);
        text_copy(plan->description, _countof(plan->description), description);
    }
}

int own_task_plan(FixKind fix, const Snapshot* s, FixPlan* out) {
    plan_clear(out);
    switch (fix) {
    case StartSpooler:
        plan_verb(out, VerbSpoolStart);
        text_copy(out->description, _countof(out->description), L"Started the Print Spooler service");
        return 1;
    case SpoolerAutoStart:
        if (!s) return 0;
        plan_verb(out, VerbSpoolAuto);
        out->changeKind = SpoolerStartTypeSet;
        text_copy(out->argument, _countof(out->argument), L"2");
        // The start type it had, so History & Undo can put it back.
        text_format(out->detail, _countof(out->detail), L"%lu", (unsigned long)(uint32_t)s->spoolerStartType);
        text_copy(out->description, _countof(out->description),
                  L"Set the Print Spooler service to start automatically");
        return 1;
    case EnableDetailedLog:
        plan_verb(out, VerbOplogOn);
        out->changeKind = OperationalLogOn;
        text_copy(out->description, _countof(out->description),
                  L"Switched on Windows' detailed print log (PrintService/Operational)");
        return 1;
    default:
        plan_clear(out);
        return 0;
    }
}

int split_port_subject(const wchar_t* subject, wchar_t* port, size_t port_cap, wchar_t* address,
                       size_t address_cap) {
    wchar_t copy[260];
    text_copy(copy, _countof(copy), subject);
    wchar_t* bar = wcschr(copy, L'|');
    if (!bar) return 0;
    *bar = 0;
    text_copy(port, port_cap, copy);
    text_copy(address, address_cap, bar + 1);
    return 1;
}

void port_address_plan(const wchar_t* subject, const wchar_t* port, const wchar_t* new_address,
                       const wchar_t* old_address, FixPlan* out) {
    plan_clear(out);
    const wchar_t* old_text = old_address && old_address[0] ? old_address : nullptr;
    plan_verb(out, VerbPortAddr);
    // Without the old address there is nothing to point the port back at, so nothing to undo.
    out->changeKind = old_text ? PortAddressSet : NothingToPutBack;
    out->offerTestPage = 1;
    text_copy(out->argument, _countof(out->argument), subject);
    text_format(out->detail, _countof(out->detail), L"%ls|%ls", port ? port : L"", old_text ? old_text : L"");
    text_format(out->description, _countof(out->description),
                L"Pointed the port \"%ls\" at %ls (it was %ls) and restarted the Print Spooler",
                port ? port : L"", new_address ? new_address : L"", old_text ? old_text : L"unknown");
}

#define NAMED_PIPES_TEXT                                                                                     \
    L"Set the policy RpcUseNamedPipeProtocol to 1?\n\nThis PC then reaches every print server over named "   \
    L"pipes (Windows sharing, port 445) instead of RPC over TCP, as Windows 10 does. That is less "          \
    L"protected, "                                                                                           \
    L"and it is a stop-gap: the lasting cure is on the print server \"%ls\", whose firewall blocks RPC "     \
    L"(port "                                                                                                \
    L"135).\n\nWindows will ask for administrator permission. Take it back from History & Undo once the "    \
    L"server is fixed."
#define POINT_AND_PRINT_TEXT                                                                                 \
    L"Put the Point and Print protection back?\n\nVantrel sets RestrictDriverInstallationToAdministrators "  \
    L"to "                                                                                                   \
    L"1 and NoWarningNoElevationOnInstall and UpdatePromptSettings to 0. Only administrators can then "      \
    L"install "                                                                                              \
    L"a printer driver from a print server, with Windows' warning and prompt: someone adding a shared "      \
    L"printer "                                                                                              \
    L"whose driver is new to this PC will need an administrator.\n\nA group policy may set the old values "  \
    L"again at its next refresh. Windows will ask for administrator permission. You can put the old values " \
    L"back from History & Undo."
#define RPC_PRIVACY_TEXT                                                                                     \
    L"Remove RpcAuthnLevelPrivacyEnabled?\n\nThis PC's Print Spooler then requires RPC privacy from every "  \
    L"computer that prints to the printers this PC shares, as Windows does by default. A computer too far "  \
    L"behind on its updates cannot print to them until it is updated.\n\nWindows will ask for "              \
    L"administrator "                                                                                        \
    L"permission. You can put the value back from History & Undo."

// What History & Undo puts back: the value as it was, empty when it did not exist.
static void policy_text(const PolicyValue* v, wchar_t* out, size_t cap) {
    if (v->present)
        text_format(out, cap, L"%lu", (unsigned long)v->value);
    else
        text_copy(out, cap, L"");
}

static int print_policy_plan(FixKind fix, const Finding* f, const Snapshot* s, FixPlan* out) {
    static const PolicyValue kAbsent = {0, 0};
    wchar_t a[16], b[16], c[16];
    out->alwaysConfirm = 1; // each weakens or tightens how this PC prints with others
    switch (fix) {
    case UseNamedPipesForPrinting:
        plan_verb(out, VerbRpcNamedPipes);
        out->changeKind = NamedPipesPolicySet;
        text_copy(out->argument, _countof(out->argument), L"1");
        policy_text(s ? &s->rpcUseNamedPipe : &kAbsent, out->detail, _countof(out->detail));
        text_format(
            out->description, _countof(out->description),
            L"Set the policy RpcUseNamedPipeProtocol to 1, so this PC reaches print servers over named "
            L"pipes (a stop-gap while \"%ls\" blocks RPC)",
            f->subject);
        out->confirmTitle = L"Reach Print Servers over Named Pipes";
        text_format(out->confirmText, _countof(out->confirmText), NAMED_PIPES_TEXT, f->subject);
        return 1;
    case RestorePointAndPrint:
        plan_verb(out, VerbPointAndPrint);
        out->changeKind = PointAndPrintSet;
        text_copy(out->argument, _countof(out->argument), L"1,0,0");
        policy_text(s ? &s->restrictDriverInstallation : &kAbsent, a, _countof(a));
        policy_text(s ? &s->noWarningNoElevationOnInstall : &kAbsent, b, _countof(b));
        policy_text(s ? &s->updatePromptSettings : &kAbsent, c, _countof(c));
        text_format(out->detail, _countof(out->detail), L"%ls,%ls,%ls", a, b, c);
        text_copy(out->description, _countof(out->description),
                  L"Put the Point and Print protection back (printer drivers from print servers only by "
                  L"administrators, with Windows' warning and prompt)");
        out->confirmTitle = L"Point and Print";
        text_copy(out->confirmText, _countof(out->confirmText), POINT_AND_PRINT_TEXT);
        return 1;
    case RemoveRpcPrivacyOverride:
        plan_verb(out, VerbRpcPrivacy);
        out->changeKind = RpcPrivacySet;
        policy_text(s ? &s->rpcAuthnLevelPrivacy : &kAbsent, out->detail, _countof(out->detail));
        text_copy(
            out->description, _countof(out->description),
            L"Removed RpcAuthnLevelPrivacyEnabled, so this PC's Print Spooler requires RPC privacy again");
        out->confirmTitle = L"RPC Privacy";
        text_copy(out->confirmText, _countof(out->confirmText), RPC_PRIVACY_TEXT);
        return 1;
    default:
        return 0;
    }
}

int fix_plan_of(const Finding* f, const Snapshot* s, const wchar_t* old_port_address, FixPlan* out) {
    plan_clear(out);
    if (!f) return 0;
    switch (f->fix) {
    case StartSpooler:
    case SpoolerAutoStart:
    case EnableDetailedLog:
        return own_task_plan(f->fix, s, out);
    case RestartSpooler:
        return fix_command_plan(FixCommandRestartSpooler, nullptr, 0, out);
    case ClearStuckJobs:
        return fix_command_plan(FixCommandClearStuckJobs, nullptr, s ? s->jobCount : 0, out);
    case CancelPrinterJobs:
        return fix_command_plan(FixCommandCancelAllJobs, f->subject, 0, out);
    case ResumePrinter:
        return fix_command_plan(FixCommandResume, f->subject, 0, out);
    case UseOfflineOff:
        return fix_command_plan(FixCommandOnline, f->subject, 0, out);
    case SnmpStatusOff:
        return fix_command_plan(FixCommandSnmpOff, f->subject, 0, out);
    case AddPdfPrinter:
        return fix_command_plan(FixCommandAddPdf, nullptr, 0, out);
    case KeepDefaultPrinter:
        plan_verb(out, VerbLegacyDefaultOn);
        out->changeKind = WindowsDefaultOff;
        text_copy(out->description, _countof(out->description),
                  L"Switched off \"Let Windows manage my default printer\"");
        return 1;
    case PointToNewAddress: {
        wchar_t port[260], address[260];
        if (!split_port_subject(f->subject, port, _countof(port), address, _countof(address))) return 0;
        port_address_plan(f->subject, port, address, old_port_address, out);
        return 1;
    }
    case UseNamedPipesForPrinting:
    case RestorePointAndPrint:
    case RemoveRpcPrivacyOverride:
        return print_policy_plan(f->fix, f, s, out);
    default:
        return 0;
    }
}

void set_default_plan(const wchar_t* printer, const wchar_t* previous, FixPlan* out) {
    plan_clear(out);
    plan_verb(out, VerbSetDefault);
    const int had_one = previous && previous[0];
    // With no default before there is nothing to make default again.
    out->changeKind = had_one ? DefaultPrinterSet : NothingToPutBack;
    text_copy(out->argument, _countof(out->argument), printer);
    text_copy(out->detail, _countof(out->detail), had_one ? previous : L"");
    wchar_t text[500];
    text_format(text, _countof(text), L"Made \"%ls\" the default printer (it was \"%ls\")",
                printer ? printer : L"", had_one ? previous : L"none");
    text_copy(out->description, _countof(out->description), text);
}

void remove_printer_plan(const wchar_t* printer, FixPlan* out) {
    plan_clear(out);
    plan_verb(out, VerbDelete);
    text_copy(out->argument, _countof(out->argument), printer);
    wchar_t text[400];
    text_format(text, _countof(text), L"Removed the printer \"%ls\" from this PC", printer ? printer : L"");
    text_copy(out->description, _countof(out->description), text);
    out->confirmTitle = L"Remove Printer";
    text_format(
        out->confirmText, _countof(out->confirmText),
        L"REMOVE the printer \"%ls\" from this PC?\n\nThis deletes the printer and cancels its waiting jobs. "
        L"It can NOT be undone from Vantrel: to get it back you would have to add the printer again in "
        L"Windows.\n\nOnly do this for a duplicate or a printer that no longer exists.",
        printer ? printer : L"");
}

int32_t test_page_printer(const Snapshot* s, int32_t selected) {
    if (!s) return -1;
    const PrinterRecord* p = printer_at(s, selected);
    if (p && !p->isVirtual) return selected;
    for (int32_t i = 0; i < s->printerCount && i < kMaxPrinters; i++)
        if (s->printers[i].isDefault && !s->printers[i].isVirtual) return i;
    return -1;
}

void printer_window_parameters(const wchar_t* printer_name, const wchar_t* switch_text, wchar_t* out,
                               size_t cap) {
    wchar_t parameters[700];
    text_format(parameters, _countof(parameters), L"printui.dll,PrintUIEntry %ls /n \"%ls\"",
                switch_text ? switch_text : L"", printer_name ? printer_name : L"");
    text_copy(out, cap, parameters);
}

int printer_web_address(const Snapshot* s, int32_t index, wchar_t* out, size_t cap) {
    text_copy(out, cap, L"");
    const PrinterRecord* p = printer_at(s, index);
    // A shared printer's address names the computer that shares it, which has no printer page.
    if (!p || !p->address[0] || p->kind == KindShared) return 0;
    wchar_t url[300];
    text_format(url, _countof(url), L"http://%ls/", p->address);
    text_copy(out, cap, url);
    return 1;
}
