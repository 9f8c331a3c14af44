// The fixes "/fix" makes with nobody watching: only those whose change is safe, recorded and
// undoable, and that need no person to decide anything (untick "Use Printer Offline", resume a
// paused printer, switch SNMP status off for a false "Offline", point a moved printer's port at its
// new address, start the spooler, start it automatically). Never cancelling jobs, removing anything,
// installing features or opening windows. Each goes through the action runner like any other
// change; one needing administrator rights runs only where the process already has them.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/snapshot.h"
#include "fixes/actions.h"
#include "fixes/fix_this.h"

// Whether a rule id is in a "/only" list ("printer-paused,use-printer-offline"; blanks around the
// commas ignored, ids compared exactly). An empty list selects every rule.
int rule_in_list(const wchar_t* list, const wchar_t* rule);

// The first id of a "/only" list that no rule has, copied to out; 0 when every id is known.
int unknown_rule_in_list(const wchar_t* list, wchar_t* out, size_t cap);

// The plan of a finding's fix when that fix is safe unattended; 0 otherwise. old_port_address is
// what a moved printer's port points at now (empty when unknown).
int unattended_plan(const Finding* finding, const Snapshot* s, const wchar_t* old_port_address, FixPlan* out);

enum { kMaxUnattendedFixes = 32 };

// One fix that was tried.
struct UnattendedFix {
    wchar_t rule[kRuleIdCapacity];
    wchar_t printer[260]; // the printer's name, or "this PC"
    ActionStatus status;
    uint32_t result;
};

struct UnattendedRun {
    UnattendedFix fixes[kMaxUnattendedFixes];
    int32_t count;
    int32_t done, needAdmin, failed, refused; // refused: demonstration mode
};

// Reads what a moved printer's port points at now (current_port_address, or a test's own).
typedef void (*PortAddressReader)(const wchar_t* port, wchar_t* out, size_t cap);

// Tries every selected finding's unattended fix in list order, once per change (two findings that
// plan the same verb on the same argument share one run), through run_change with env.
void run_unattended_fixes(const FindingList* list, const Snapshot* s, const wchar_t* only,
                          const RunnerEnv* env, PortAddressReader read_port, UnattendedRun* out);
