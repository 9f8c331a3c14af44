// The task runner: one privileged change to the PC's printing set-up, carried out synchronously and
// answered with a Windows error code (0 = success). No window, no message, no record: reporting and
// recording belong to the action runner.
#pragma once

#include <stdint.h>
#include <wchar.h>

enum : uint32_t {
    TaskOk = 0,
    TaskBadVerb = 87,      // ERROR_INVALID_PARAMETER: unknown verb or bad argument
    TaskTimedOut = 258,    // WAIT_TIMEOUT
    TaskServiceStuck = 1053,
    TaskCanceled = 1223,   // elevation declined
};

// Carries out the verb (compared exactly, case-sensitively) with its argument, which may be empty.
uint32_t run_task(const wchar_t* verb, const wchar_t* argument);

// The spooler cycle: optionally stop the spooler with its dependents, optionally empty the spool
// folder, then start them again.
uint32_t cycle_spooler(int stop_first, int clear_folder);
