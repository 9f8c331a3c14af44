// The task runner: one privileged change to the PC's printing set-up, carried out synchronously and
// answered with a Windows error code (0 = success). No window, no message, no record: reporting and
// recording belong to the action runner.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

constexpr uint32_t TaskOk = 0;
constexpr uint32_t TaskBadVerb = 87;   // ERROR_INVALID_PARAMETER: unknown verb or bad argument
constexpr uint32_t TaskTimedOut = 258; // WAIT_TIMEOUT
constexpr uint32_t TaskServiceStuck = 1053;
constexpr uint32_t TaskCanceled = 1223; // elevation declined

enum TaskVerb : int32_t {
    VerbNone = -1,
    VerbSpoolRestart = 0,
    VerbSpoolClear,
    VerbSpoolStart,
    VerbSpoolAuto,
    VerbSnmpOff,
    VerbSnmpOn,
    VerbPdf,
    VerbPortAddr,
    VerbOplogOn,
    VerbOplogOff,
    VerbPurge,
    VerbPause,
    VerbResume,
    VerbOnline,
    VerbOffline,
    VerbDelete,
    VerbCount
};

struct TaskVerbInfo {
    const wchar_t* text; // the verb on the command line, exactly
    int32_t needsAdmin;
};

extern const TaskVerbInfo g_task_verbs[VerbCount];

// The row whose text equals verb exactly (ordinal, case-sensitive); VerbNone otherwise.
TaskVerb find_task_verb(const wchar_t* verb);
const wchar_t* task_verb_text(TaskVerb verb);
int task_needs_admin(TaskVerb verb);

// "port-addr": splits "port|address" at the first bar into the two buffers. 0 when there is no bar,
// when the argument is longer than 259 characters, or when a part would not fit its buffer whole.
int split_port_address(const wchar_t* argument, wchar_t* port, size_t port_cap, wchar_t* address,
                       size_t address_cap);

// The start type of "spool-auto": leading decimal digits; text that is not a number, and a number of
// 4294967295 or more, reads as 0, a start type the service manager refuses for the spooler.
uint32_t parse_start_type(const wchar_t* text);

// Carries out the verb (compared exactly, case-sensitively) with its argument, which may be empty.
uint32_t run_task(const wchar_t* verb, const wchar_t* argument);

// The spooler cycle: optionally stop the spooler with its dependents, optionally empty the spool
// folder, then start them again.
uint32_t cycle_spooler(int stop_first, int clear_folder);

// The same cycle for any service: stopped with its dependents (to three levels below it, deepest
// first), then started again, the dependents in reverse order. The spooler cycle is this on
// "Spooler"; tests run it on a tree of their own.
uint32_t cycle_service(const wchar_t* service, int stop_first, int clear_folder);

// How the stop finds a service's running dependents: EnumDependentServicesW(SERVICE_ACTIVE) into
// the buffer, as ENUM_SERVICE_STATUSW entries; returns 0 when the listing failed. Replaceable for
// tests, because Wine's service manager keeps this call a stub that answers success with none.
typedef int (*DependentsLister)(void* service, const wchar_t* name, void* buffer, uint32_t size,
                                uint32_t* count);
extern DependentsLister g_list_dependents;

// The services stopped on the spooler's account by the last cycle, in stopping order (deepest
// first). At most 6 names of at most 99 characters.
struct StoppedDependents {
    int32_t count;
    wchar_t names[6][100];
};
extern StoppedDependents g_stopped_dependents;

// The Windows routines behind the verbs (fixes/tasks_win.cpp).
uint32_t task_spool_auto(const wchar_t* argument);
uint32_t task_set_snmp(const wchar_t* port, int enabled);
uint32_t task_port_address(const wchar_t* port, const wchar_t* address);
uint32_t task_enable_pdf();
uint32_t task_set_oplog(int enabled);
uint32_t control_printer(const wchar_t* printer, uint32_t command);
uint32_t set_use_offline(const wchar_t* printer, int offline);
uint32_t task_delete_printer(const wchar_t* printer);

// The spool folder's files (not its sub-folders) are deleted, attributes cleared first; failures
// are ignored. Returns the number of files deleted.
int empty_spool_folder(const wchar_t* folder);
void spool_folder_path(wchar_t* buf, size_t cap);
