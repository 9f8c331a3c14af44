// The action runner: the one way to change the PC. Every change (a fix, an undo, the default
// printer, the legacy-default switch) comes here as a ChangePlan: a task verb with its argument and
// the typed change kind History & Undo needs. The runner refuses it in demonstration mode, carries
// it out in this process when that can work or in a second copy of the program started elevated,
// records a success in the change history (which also writes the log line), and returns an outcome
// record. It never asks or shows anything: the caller decides how to tell the user.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "fixes/tasks.h"
#include "history/changes.h"

struct ChangePlan {
    TaskVerb verb;
    int32_t needsAdmin; // the verb's own flag (task_needs_admin)
    ChangeKind changeKind;
    wchar_t argument[260];
    wchar_t detail[460];      // what History & Undo needs to put it back
    wchar_t description[600]; // "Paused the printer ..."; shown, logged and recorded
};

// A plan of the verb with its argument, kind, detail and description.
void change_plan(ChangePlan* out, TaskVerb verb, const wchar_t* argument, ChangeKind kind,
                 const wchar_t* detail, const wchar_t* description);

enum ActionStatus : int32_t {
    ActionDone = 0,
    ActionFailed = 1,
    ActionCanceled = 2,      // the elevation prompt was declined: nothing was changed
    ActionRefusedInDemo = 3, // demonstration mode never changes the PC
    ActionNeedsAdmin = 4,    // needs administrator rights, and this run may not ask for them
};

struct ActionOutcome {
    ActionStatus status;
    uint32_t result;          // Windows' error code, 0 when done
    int32_t recorded;         // the change is in the history
    int32_t checkAgain;       // a fresh check should follow
    int32_t checkWithNetwork; // ... with network tests
    wchar_t statusText[620];  // the status line ("Done: ...", "Canceled — nothing was changed.")
    wchar_t failureText[900]; // for a failure: what was tried and Windows' own explanation
};

// How the runner reaches Windows and its caller.
struct RunnerEnv {
    int32_t demo;
    int32_t elevated;             // this process has administrator rights
    int32_t mayElevate;           // 0 headless: a change that needs rights is skipped, never prompted for
    int32_t autoNetTest;          // the check after a success tests the network when this is on
    void* owner;                  // the window the elevation belongs to, disabled while the copy runs
    const TaskPlatform* platform; // in-process tasks; null = the real one
    void* ctx;
    void (*working)(void* ctx); // told before the elevated copy's wait (may be null)
    // Records a success; null = record_change. Tests and headless runs may watch it.
    void (*record)(void* ctx, ChangeKind kind, const wchar_t* detail, const wchar_t* description);
};

// The whole road of one change.
ActionOutcome run_change(const ChangePlan* plan, const RunnerEnv* env);

// The outcome of a task's result code, as run_change fills it after the task (pure).
void action_outcome_of(uint32_t result, const wchar_t* description, int32_t auto_net_test,
                       ActionOutcome* out);

// Carries out the verb: in this process when it is elevated or the verb needs no rights (and when
// that is refused with 5 and elevation is allowed, once more elevated), otherwise elevated.
uint32_t run_action(TaskVerb verb, const wchar_t* argument, const RunnerEnv* env);

// Starts program_path elevated ("runas") with "/task verb argument" and waits for it, pumping
// messages, with env's owner window disabled. Returns its exit code, 1223 when the prompt was declined.
uint32_t run_elevated_copy(const wchar_t* program_path, const wchar_t* verb, const wchar_t* argument,
                           const RunnerEnv* env);

// One word for CommandLineToArgvW: always in double quotes; a quote inside becomes \" and the
// backslashes before a quote (or before the closing quote) are doubled, so any text comes back
// unchanged.
void quote_command_argument(wchar_t* buf, size_t cap, const wchar_t* argument);

// "/task verb <quoted argument>"; 0 when it did not fit in 699 characters (nothing is started then,
// because a cut argument would act on another printer or port).
int build_task_parameters(wchar_t* buf, size_t cap, const wchar_t* verb, const wchar_t* argument);

// Windows' text with trailing blanks, CR and LF removed; "error %lu" when nothing is left.
void trim_error_text(wchar_t* text, size_t cap, uint32_t code);

// "That did not work.\n\nWhat was tried: ...", with the administrator hint for code 5.
void build_failure_message(wchar_t* buf, size_t cap, const wchar_t* description, const wchar_t* windows_text,
                           uint32_t code);

// FormatMessageW's text for the code, trimmed.
void windows_error_text(uint32_t code, wchar_t* buf, size_t cap);
