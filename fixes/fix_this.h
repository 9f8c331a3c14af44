// Fix This and the fix commands: which finding the user means, the question that explains it, and
// the change each one-click fix and each ribbon fix command makes. Plain records in, texts and plans
// out, so every choice and every text can be tested without a window; the window
// (ui/fix_commands_win.cpp) asks the questions, and hands the plans to the action runner, as the
// headless fix does without asking.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/snapshot.h"
#include "fixes/actions.h"
#include "fixes/tasks.h"

#define VANTREL_NOTHING_WRONG_WITH_PRINTER                                                                   \
    L"Vantrel found nothing wrong with this printer, so there is nothing to fix.\n\nIf it still will not "   \
    L"print, send it a Test Page (Home tab) and run the Network Test."
#define VANTREL_NO_PROBLEMS_TO_FIX L"Vantrel found no problems, so there is nothing to fix."
#define VANTREL_NO_ONE_CLICK_FIX                                                                             \
    L"None of the things Vantrel found has a one-click fix. Double-click a row in the list at the bottom "   \
    L"to read what to do about it."
#define VANTREL_NO_WEB_PAGE                                                                                  \
    L"Only network printers have a built-in web page, and Vantrel does not know a network address for "      \
    L"this one (it is connected by USB, shared from another PC, or built into Windows)."

// MessageBoxW's flag and answer values, so the pure half can name them without <windows.h>.
enum FixBox : uint32_t {
    FixBoxOkCancel = 0x1,
    FixBoxYesNo = 0x4,
    FixBoxQuestion = 0x20,
    FixBoxWarning = 0x30,
    FixBoxInformation = 0x40,
    FixAnswerOk = 1,
    FixAnswerYes = 6,
};

// What the interface tells Fix This about the lists: which one was used last, the bottom view and
// the selected rows (-1 for none). The printer row is the printer's index in the snapshot.
struct FixSelection {
    int32_t bottomLastUsed;
    int32_t view;
    int32_t bottomRow;
    int32_t printerRow;
};

// Fix This's decision: the finding row to explain and fix, or (row -1) the message to show instead.
struct FixChoice {
    int32_t row;
    const wchar_t* message;
};
FixChoice choose_fix(const FindingList* list, const FixSelection* selection);

// "%ls: %ls" with the severity label and the printer's name, or "%ls: this PC".
void fix_caption(const Finding* finding, const Snapshot* s, wchar_t* out, size_t cap);

// The explanation of a finding: the question "... Do it now?" for one with a fix, the no-fix text
// otherwise. Returns the message box flags that go with it.
uint32_t fix_question(const Finding* finding, wchar_t* out, size_t cap);

// One change, ready for the action runner (the ChangePlan part), with what is asked first.
struct FixPlan : ChangePlan {
    int32_t alwaysConfirm;       // asked even when the caller already asked its own question
    int32_t offerTestPage;       // after a success
    const wchar_t* confirmTitle; // null: nothing to confirm
    wchar_t confirmText[1400];
};

// The ribbon's fix commands, which Fix This reuses.
enum FixCommand : int32_t {
    FixCommandRestartSpooler = 0,
    FixCommandClearStuckJobs,
    FixCommandPause,
    FixCommandResume,
    FixCommandOnline,
    FixCommandOffline,
    FixCommandCancelAllJobs,
    FixCommandSnmpOff,
    FixCommandAddPdf,
    kFixCommandCount,
};

// The plan of a fix command; argument is the printer or port name where the command takes one,
// job_count the snapshot's waiting jobs (spoken of by Clear Stuck Jobs). 0 for an unknown command.
int fix_command_plan(FixCommand command, const wchar_t* argument, int32_t job_count, FixPlan* out);

// Makes a plan that changes one printer or its port name that printer: its confirmation gets a first line
// naming the printer and its description (the outcome and the history row) ends with it, unless they already
// quote the name. A null or empty printer changes nothing.
void plan_names_printer(FixPlan* plan, const wchar_t* printer);

// The plans of the fixes that run a task of their own (start the spooler, start it automatically,
// the detailed print log); 0 for any other fix, and for SpoolerAutoStart without a snapshot.
int own_task_plan(FixKind fix, const Snapshot* s, FixPlan* out);

// Fix 17's subject is "port|new address": split at the first bar; 0 (nothing written) without one.
int split_port_subject(const wchar_t* subject, wchar_t* port, size_t port_cap, wchar_t* address,
                       size_t address_cap);

// The port address change; old_address empty when Windows had none, which cannot be put back.
void port_address_plan(const wchar_t* subject, const wchar_t* port, const wchar_t* new_address,
                       const wchar_t* old_address, FixPlan* out);

// The plan of a finding's fix when that fix changes the PC: the ribbon command it reuses, its own
// task, or the port's new address (old_port_address: what the port points at now, empty when
// unknown). 0 for a fix that only opens or shows something, and for a finding without a fix.
int fix_plan_of(const Finding* finding, const Snapshot* s, const wchar_t* old_port_address, FixPlan* out);

// Set Default and Remove Printer. previous is the default printer before, empty for none.
void set_default_plan(const wchar_t* printer, const wchar_t* previous, FixPlan* out);
void remove_printer_plan(const wchar_t* printer, FixPlan* out);

// The printer offered a test page after a spooler restart: the selected one unless it is built into
// Windows, else the first real default printer; -1 for no offer.
int32_t test_page_printer(const Snapshot* s, int32_t selected);

// "printui.dll,PrintUIEntry /k /n "name"" and its kin; at most 699 characters.
void printer_window_parameters(const wchar_t* printer_name, const wchar_t* switch_text, wchar_t* out,
                               size_t cap);

// The printer's web address "http://%ls/"; 0 (out empty) when it has none worth opening.
int printer_web_address(const Snapshot* s, int32_t index, wchar_t* out, size_t cap);

// The address a Standard TCP/IP port points at now, as its monitor keeps it ("HostName", else
// "IPAddress"); empty when unknown (fix_this_win.cpp).
void current_port_address(const wchar_t* port, wchar_t* out, size_t cap);
