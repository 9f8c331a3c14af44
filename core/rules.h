// The rule groups one diagnosis run calls, in the order diagnose_at() calls them. Internal to the
// diagnosis; every other part reads the finding list instead.
#pragma once

#include <stdint.h>

#include "core/findings.h"

struct RuleContext {
    Snapshot* snapshot;
    const NetworkSearchResult* search; // null before the first network search
    const Settings* settings;          // never null here
    int32_t demo;
    int32_t headless; // see DiagnosisInput
    FindingList* list;
    uint64_t nowUtc; // 100 ns units since 1601-01-01
};

// Before the printer loop: the Print Spooler service and leftover spool files.
void rules_spooler(const RuleContext* ctx);

// Windows' own view of one printer: status bits, "Use Printer Offline", port kind, driver. Returns 0
// for a Remote Desktop printer, which gets its note and nothing else.
int rules_printer(const RuleContext* ctx, int32_t index);

// The printer's waiting jobs.
void rules_jobs(const RuleContext* ctx, int32_t index);

// The printer's network test result and what it reported over SNMP; only for a printer with an
// address and a test result.
void rules_network(const RuleContext* ctx, int32_t index);

// A connection's print server as its network test found it: the name, whether it answers at all,
// and whether it answers the way this PC reaches it (RPC over TCP or named pipes).
void rules_print_server(const RuleContext* ctx, int32_t index);

// One printer's connection error, Point and Print driver installation, pool ports and IPP class
// driver (rules_print.cpp).
void rules_print_printer(const RuleContext* ctx, int32_t index);

// After the printer loop: a spooler that keeps crashing, Point and Print left open, RPC privacy off.
void rules_print_pc(const RuleContext* ctx);

// After the printer loop: default printer, PDF printer, account, print logs, policy.
void rules_system(const RuleContext* ctx, int32_t real_printer_count);
