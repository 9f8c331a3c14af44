// The action runner: the one way to change the PC. run_action carries out a task in this process
// when that can work, otherwise in a second copy of the program started elevated; report_action
// tells the user the outcome, records a success and starts a fresh check.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "fixes/tasks.h"

uint32_t run_action(TaskVerb verb, const wchar_t* argument, int needs_admin);

// Starts program_path elevated ("runas") with "/task verb argument" and waits for it, pumping
// messages, with the main window disabled. Returns its exit code, 1223 when the prompt was declined.
uint32_t run_elevated_copy(const wchar_t* program_path, const wchar_t* verb, const wchar_t* argument);

// 1 when result was 0, otherwise 0.
int report_action(uint32_t result, int32_t change_kind, const wchar_t* detail, const wchar_t* description);

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
