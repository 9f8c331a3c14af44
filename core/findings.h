// Findings: what the diagnosis concluded about the PC and each printer, with severity, subject,
// title, explanation and the one-click fix that applies. A list is rebuilt from empty by every
// diagnosis run.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "core/search_result.h"
#include "core/settings.h"
#include "core/snapshot.h"

enum { kMaxFindings = 240 };

enum FixKind : int32_t {
    NoFix = 0,
    StartSpooler = 1,
    SpoolerAutoStart = 2,
    RestartSpooler = 3,
    ClearStuckJobs = 4,
    CancelPrinterJobs = 5,
    ResumePrinter = 6,
    UseOfflineOff = 7,
    SnmpStatusOff = 8,
    AddPdfPrinter = 9,
    KeepDefaultPrinter = 10,
    RunNetworkTest = 11,
    OpenWebPage = 12,
    OpenPrintersSettings = 13,
    ShowPrintLog = 14,
    EnableDetailedLog = 15,
    FindDriver = 16,
    PointToNewAddress = 17,
    SearchNetwork = 18,
    UseNamedPipesForPrinting = 19,
    RestorePointAndPrint = 20,
    RemoveRpcPrivacyOverride = 21,
    kFixKindCount = 22,
};

// A finding's rule is a short lower-case id ("printer-paused") that scripts and fleet tools key on:
// once released, an id never changes meaning, and a rule that changes meaning gets a new one.
enum { kRuleIdCapacity = 40 };

struct Finding {
    wchar_t rule[kRuleIdCapacity];
    Severity severity;
    int32_t printerIndex; // -1 = about the PC as a whole
    FixKind fix;
    wchar_t subject[260]; // what the fix acts on
    wchar_t title[220];
    wchar_t text[1100];
};

struct FindingList {
    Finding items[kMaxFindings];
    int32_t count;
};

// Label of a severity ("OK", "Note", "Heads-up", "PROBLEM") and of a fix (the fix button's text;
// "" for NoFix). Out-of-range values give "".
const wchar_t* severity_label(int32_t severity);
const wchar_t* fix_label(int32_t fix);

// Everything one diagnosis run looks at, so the rules can be fed plain records.
struct DiagnosisInput {
    Snapshot* snapshot;                // null: the list is only emptied
    const NetworkSearchResult* search; // latest search result, or null
    const Settings* settings;
    int32_t demo;
    int32_t headless; // "/check" or "/fix": run by remote-management tools, where SYSTEM is expected
};

// Appends one finding to the list unless it already holds kMaxFindings. rule, subject and title are copied
// with truncation (null counts as empty); text is format filled with the arguments, cut to the
// field and always terminated. Formats use %ls, %d, %I64u and %%; the rules pass every name and
// advice text through "%ls", never as the format itself.
void add_finding_to(FindingList* list, const wchar_t* rule, Severity severity, int32_t printer_index,
                    FixKind fix, const wchar_t* subject, const wchar_t* title, const wchar_t* format, ...);
