// The task runner: one change to the PC's printing set-up, carried out synchronously and answered
// with a Windows error code (0 = success). No window, no message, no record: reporting and
// recording belong to the action runner. Every Windows call goes through a TaskPlatform table, so
// the pure logic here (arguments, the order of the service cycle, what each verb writes) runs on a
// fake table in the tests; tasks_win.cpp holds the real one.
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
    VerbSetDefault,       // the user's default printer (argument: the printer)
    VerbLegacyDefaultOn,  // "Let Windows manage my default printer" off
    VerbLegacyDefaultOff, // and on again
    VerbRpcNamedPipes,    // the RpcUseNamedPipeProtocol policy (argument: its value, empty removes it)
    VerbPointAndPrint,    // the three Point and Print values ("restrict,install,update"; empty removes one)
    VerbRpcPrivacy,       // RpcAuthnLevelPrivacyEnabled (argument: its value, empty removes it)
    VerbCount
};

struct TaskVerbInfo {
    const wchar_t* text; // the verb on the elevated copy's command line, exactly
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

// The start type of "spool-auto": decimal digits and nothing else. Text that is not a whole number,
// and a number of 4294967295 (SERVICE_NO_CHANGE) or more, reads as 0, a start type the service
// manager refuses for the spooler.
uint32_t parse_start_type(const wchar_t* text);

// A value of the policy verbs: "" means the value is removed (Windows' own default again), decimal
// digits set it. 0 for anything else, and for a number beyond 32 bits.
int parse_policy_value(const wchar_t* text, int* present, uint32_t* value);

// Registry roots the platform writes under.
enum TaskRoot : int32_t {
    TaskRootLocalMachine = 0,
    TaskRootCurrentUser = 1,
};

// At most 6 service names of at most 99 characters.
struct ServiceNames {
    int32_t count;
    wchar_t names[6][100];
};

// Every Windows call the verbs make. Each returns a Windows error code unless it says otherwise.
struct TaskPlatform {
    void* ctx;
    // The service manager: the current state (SERVICE_STOPPED = 1 ... SERVICE_RUNNING = 4), the
    // running services that depend on a service, the stop control (ERROR_SERVICE_NOT_ACTIVE for one
    // already stopped), a start (ERROR_SERVICE_ALREADY_RUNNING for one that runs) and the start type.
    uint32_t (*query_service)(void* ctx, const wchar_t* service, uint32_t* state);
    int (*list_dependents)(void* ctx, const wchar_t* service, ServiceNames* out); // 0: listing failed
    uint32_t (*stop_service)(void* ctx, const wchar_t* service);
    uint32_t (*start_service)(void* ctx, const wchar_t* service);
    uint32_t (*set_start_type)(void* ctx, const wchar_t* service, uint32_t start_type);
    void (*sleep_ms)(void* ctx, uint32_t ms);
    // The spool folder and emptying it (its files, not sub-folders; returns the number deleted).
    void (*spool_folder)(void* ctx, wchar_t* buf, size_t cap);
    int (*empty_folder)(void* ctx, const wchar_t* folder);
    // Registry values; create 0 writes only into a key that exists (ERROR_FILE_NOT_FOUND otherwise).
    uint32_t (*set_dword)(void* ctx, TaskRoot root, const wchar_t* key, const wchar_t* name, uint32_t value,
                          int create);
    uint32_t (*set_string)(void* ctx, TaskRoot root, const wchar_t* key, const wchar_t* name,
                           const wchar_t* value, int create);
    uint32_t (*delete_value)(void* ctx, TaskRoot root, const wchar_t* key, const wchar_t* name);
    // Printers: pause, resume and purge (the PRINTER_CONTROL_* command), "Use Printer Offline",
    // removing a printer or connection, and the user's default printer.
    uint32_t (*control_printer)(void* ctx, const wchar_t* printer, uint32_t command);
    uint32_t (*set_use_offline)(void* ctx, const wchar_t* printer, int offline);
    uint32_t (*delete_printer)(void* ctx, const wchar_t* printer);
    uint32_t (*set_default_printer)(void* ctx, const wchar_t* printer);
    // Windows' optional feature "Microsoft Print to PDF" and the detailed print log channel.
    uint32_t (*enable_pdf)(void* ctx);
    uint32_t (*set_operational_log)(void* ctx, int enabled);
};

// The real table (tasks_win.cpp).
const TaskPlatform* windows_task_platform();

// Carries out the verb with its argument, which may be empty.
uint32_t run_task(TaskVerb verb, const wchar_t* argument, const TaskPlatform* platform);

// The elevated copy's "/task VERB ARGUMENT": the verb's text (compared exactly, case-sensitively)
// on the real platform; 87 for an unknown verb.
uint32_t run_task_command(const wchar_t* verb, const wchar_t* argument);

// The service cycle: optionally stop the service with its running dependents (to three levels
// below it, deepest first), optionally empty the spool folder (only after a stop that worked), then
// start it again and the dependents it stopped, in reverse order. stopped (may be null) receives
// the dependents stopped on its account. The spooler's restart is this on "Spooler".
uint32_t cycle_service(const TaskPlatform* platform, const wchar_t* service, int stop_first, int clear_folder,
                       ServiceNames* stopped);
