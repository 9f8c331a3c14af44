// Fix This, the fix commands and Find Driver on the interface thread: the questions, the
// demonstration message, the hand-over of each plan to the action runner and the outcome shown.
// The choices and the plans themselves are in fixes/fix_this.h.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "fixes/actions.h"
#include "fixes/fix_this.h"

// The runner's environment for a change started from a window: its owner window (disabled while an
// elevated copy runs; the main window when null), the status line told "Working…", this process's
// rights and mode.
void window_runner_env(void* owner, RunnerEnv* out);

// Shows a change's outcome: the status line, the failure box, the demonstration message, and the
// check that follows. Returns 1 when the change was made.
int show_action_outcome(const ActionOutcome* outcome);

// Runs a plan through the runner and shows its outcome. skip: the caller asked its own question
// already (the plan's confirmation is then asked only when it always is).
int run_fix_plan(const FixPlan* plan, int skip);

void fix_this();
void apply_fix(int32_t row);

void restart_spooler(int skip);
void clear_stuck_jobs();
void pause_or_resume(const wchar_t* printer, int pause);
void set_printer_offline(const wchar_t* printer, int currently_offline);
void cancel_all_jobs(const wchar_t* printer, int skip);
void snmp_status_off(const wchar_t* port, const wchar_t* printer, int skip);
void add_pdf_printer(int skip);

void offer_test_page();
void send_test_page(int32_t printer);
void open_printer_window(const wchar_t* printer_name, const wchar_t* switch_text);
void open_printer_web_page(int32_t printer);

// Find Driver for a printer of the current snapshot; nothing for an invalid index.
void find_driver(int32_t printer_index);
