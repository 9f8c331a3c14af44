// The labels of severities and fixes, and the one way findings are added.
#include "findings.h"

#include <stdarg.h>

#include "text.h"

static const wchar_t* const kSeverityLabels[] = {L"OK", L"Note", L"Heads-up", L"PROBLEM"};

static const wchar_t* const kFixLabels[kFixKindCount] = {
    L"",
    L"Start the Print Spooler",
    L"Set the spooler to start automatically",
    L"Restart the Print Spooler",
    L"Clear stuck jobs",
    L"Cancel this printer's jobs",
    L"Resume the printer",
    L"Switch off \"Use Printer Offline\"",
    L"Switch off SNMP status for this port",
    L"Add Microsoft Print to PDF",
    L"Stop Windows changing the default printer",
    L"Run the network test",
    L"Open the printer's web page",
    L"Open Printers & scanners",
    L"Show Windows' print log",
    L"Switch on Windows' detailed print log",
    L"Find the maker's driver",
    L"Point Windows at the new address",
    L"Search the network for this printer",
    L"Reach print servers over named pipes (a stop-gap)",
    L"Put the Point and Print protection back",
    L"Remove the RPC privacy override",
};

const wchar_t* severity_label(int32_t severity) {
    if (severity < 0 || severity >= (int32_t)_countof(kSeverityLabels)) return L"";
    return kSeverityLabels[severity];
}

const wchar_t* fix_label(int32_t fix) {
    if (fix < 0 || fix >= kFixKindCount) return L"";
    return kFixLabels[fix];
}

static void add_finding_v(FindingList* list, const wchar_t* rule, Severity severity, int32_t printer_index,
                          FixKind fix, const wchar_t* subject, const wchar_t* title, const wchar_t* format,
                          va_list args) {
    if (!list) return;
    if (list->count < 0) list->count = 0;
    if (list->count >= kMaxFindings) return;
    Finding* f = &list->items[list->count++];
    text_copy(f->rule, _countof(f->rule), rule);
    f->severity = severity;
    f->printerIndex = printer_index;
    f->fix = fix;
    text_copy(f->subject, _countof(f->subject), subject);
    text_copy(f->title, _countof(f->title), title);
    text_vformat(f->text, _countof(f->text), format ? format : L"", args);
}

void add_finding_to(FindingList* list, const wchar_t* rule, Severity severity, int32_t printer_index,
                    FixKind fix, const wchar_t* subject, const wchar_t* title, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    add_finding_v(list, rule, severity, printer_index, fix, subject, title, format, args);
    va_end(args);
}
