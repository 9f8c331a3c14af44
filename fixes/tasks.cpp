// The verb table, the arguments and what each verb does, over the platform table. Pure: the
// Windows calls are in tasks_win.cpp.
#include "tasks.h"

#include "core/classify.h"
#include "core/print_policy.h"
#include "core/text.h"
#include "net/ipv4.h"

const TaskVerbInfo g_task_verbs[VerbCount] = {
    {L"spool-restart", 1},
    {L"spool-clear", 1},
    {L"spool-start", 1},
    {L"spool-auto", 1},
    {L"snmp-off", 1},
    {L"snmp-on", 1},
    {L"pdf", 1},
    {L"port-addr", 1},
    {L"oplog-on", 1},
    {L"oplog-off", 1},
    {L"purge", 0},
    {L"pause", 0},
    {L"resume", 0},
    {L"online", 0},
    {L"offline", 0},
    {L"delete", 0},
    {L"set-default", 0},
    {L"legacy-default-on", 0},
    {L"legacy-default-off", 0},
    {L"rpc-named-pipes", 1},
    {L"point-and-print", 1},
    {L"rpc-privacy", 1},
};

#define SPOOLER_SERVICE L"Spooler"
#define TCP_PORTS_KEY L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports"
// Per user: "LegacyDefaultPrinterMode" 1 stops Windows 10 and later from making the printer used
// last the default (the "Let Windows manage my default printer" switch turned off).
#define USER_WINDOWS_KEY L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"

// SERVICE_STOPPED and SERVICE_RUNNING, and the two answers that mean "already there".
static const uint32_t kStopped = 1, kRunning = 4;
static const uint32_t kNotActive = 1062, kAlreadyRunning = 1056;
// PRINTER_CONTROL_PAUSE, _RESUME and _PURGE.
static const uint32_t kPause = 1, kResume = 2, kPurge = 3;
static const int kPolls = 150;
static const uint32_t kPollMs = 200;

TaskVerb find_task_verb(const wchar_t* verb) {
    if (!verb) return VerbNone;
    for (int i = 0; i < VerbCount; i++)
        if (wcscmp(g_task_verbs[i].text, verb) == 0) return (TaskVerb)i;
    return VerbNone;
}

const wchar_t* task_verb_text(TaskVerb verb) {
    return verb >= 0 && verb < VerbCount ? g_task_verbs[verb].text : L"";
}

int task_needs_admin(TaskVerb verb) {
    return verb >= 0 && verb < VerbCount ? g_task_verbs[verb].needsAdmin : 1;
}

int split_port_address(const wchar_t* argument, wchar_t* port, size_t port_cap, wchar_t* address,
                       size_t address_cap) {
    // A part that would be stored cut is refused: a shortened address points the port at another
    // place while the task reports success.
    wchar_t copy[260];
    if (!argument || text_length(argument, _countof(copy)) >= _countof(copy)) return 0;
    text_copy(copy, _countof(copy), argument);
    wchar_t* bar = wcschr(copy, L'|');
    if (!bar) return 0;
    *bar = 0;
    if (wcslen(copy) >= port_cap || wcslen(bar + 1) >= address_cap) return 0;
    text_copy(port, port_cap, copy);
    text_copy(address, address_cap, bar + 1);
    return 1;
}

uint32_t parse_start_type(const wchar_t* text) {
    if (!text || !*text) return 0;
    uint64_t value = 0;
    for (const wchar_t* p = text; *p; p++) {
        // "2abc" is no start type: a number with anything after it is refused, not read as 2.
        if (*p < L'0' || *p > L'9') return 0;
        value = value * 10 + (uint64_t)(*p - L'0');
        // 0xFFFFFFFF is SERVICE_NO_CHANGE, which the service manager would accept as "leave it": a
        // number that does not fit asks for start type 0 instead, which it refuses for a program.
        if (value >= 0xFFFFFFFFu) return 0;
    }
    return (uint32_t)value;
}

int parse_policy_value(const wchar_t* text, int* present, uint32_t* value) {
    *present = 0;
    *value = 0;
    if (!text || !*text) return 1;
    uint64_t v = 0;
    for (const wchar_t* p = text; *p; p++) {
        if (*p < L'0' || *p > L'9') return 0;
        v = v * 10 + (uint64_t)(*p - L'0');
        if (v > 0xFFFFFFFFu) return 0;
    }
    *present = 1;
    *value = (uint32_t)v;
    return 1;
}

// Sets or removes one HKLM value. Removing a value (or key) that is not there already is done.
static uint32_t put_policy(const TaskPlatform* t, const wchar_t* key, const wchar_t* name, int present,
                           uint32_t value) {
    if (present) return t->set_dword(t->ctx, TaskRootLocalMachine, key, name, value, 1);
    uint32_t rc = t->delete_value(t->ctx, TaskRootLocalMachine, key, name);
    return rc == 2 ? TaskOk : rc; // ERROR_FILE_NOT_FOUND
}

static uint32_t set_one_policy(const TaskPlatform* t, const wchar_t* key, const wchar_t* name,
                               const wchar_t* argument) {
    int present = 0;
    uint32_t value = 0;
    if (!parse_policy_value(argument, &present, &value)) return TaskBadVerb;
    return put_policy(t, key, name, present, value);
}

// "restrict,install,update": RestrictDriverInstallationToAdministrators, NoWarningNoElevationOnInstall
// and UpdatePromptSettings, all three checked before any is written.
static uint32_t set_point_and_print(const TaskPlatform* t, const wchar_t* argument) {
    static const wchar_t* const kNames[3] = {L"RestrictDriverInstallationToAdministrators",
                                             L"NoWarningNoElevationOnInstall", L"UpdatePromptSettings"};
    wchar_t copy[100];
    if (text_length(argument, _countof(copy)) >= _countof(copy)) return TaskBadVerb;
    text_copy(copy, _countof(copy), argument);
    int present[3];
    uint32_t value[3];
    wchar_t* part = copy;
    for (int i = 0; i < 3; i++) {
        wchar_t* comma = wcschr(part, L',');
        if ((i < 2) != (comma != nullptr)) return TaskBadVerb; // exactly three parts
        if (comma) *comma = 0;
        if (!parse_policy_value(part, &present[i], &value[i])) return TaskBadVerb;
        part = comma ? comma + 1 : part;
    }
    for (int i = 0; i < 3; i++) {
        uint32_t rc = put_policy(t, VANTREL_POINT_AND_PRINT_KEY, kNames[i], present[i], value[i]);
        if (rc != TaskOk) return rc;
    }
    return TaskOk;
}

// A port name becomes part of a registry path: an empty one would write on the Ports key itself and
// a backslash would reach another key.
static int port_name_ok(const wchar_t* port) {
    return port && port[0] && !wcschr(port, L'\\');
}

// An empty printer name opens the print server instead of a printer.
static int printer_name_ok(const wchar_t* printer) {
    return printer && printer[0];
}

static uint32_t wait_for_state(const TaskPlatform* t, const wchar_t* service, uint32_t wanted) {
    for (int i = 0; i < kPolls; i++) {
        uint32_t state = 0;
        if (t->query_service(t->ctx, service, &state) != TaskOk) return TaskServiceStuck;
        if (state == wanted) return TaskOk;
        t->sleep_ms(t->ctx, kPollMs);
    }
    return TaskServiceStuck;
}

static uint32_t stop_tree(const TaskPlatform* t, const wchar_t* service, int depth, ServiceNames* stopped) {
    uint32_t state = 0;
    uint32_t rc = t->query_service(t->ctx, service, &state);
    if (rc != TaskOk) return rc;
    if (state == kStopped) return TaskOk;
    if (depth != 3) {
        ServiceNames dependents = {};
        if (t->list_dependents(t->ctx, service, &dependents)) {
            for (int32_t i = 0; i < dependents.count && i < 6; i++) {
                if (stop_tree(t, dependents.names[i], depth + 1, stopped) == TaskOk && stopped->count < 6) {
                    text_copy(stopped->names[stopped->count], _countof(stopped->names[0]),
                              dependents.names[i]);
                    stopped->count++;
                }
            }
        }
    }
    rc = t->stop_service(t->ctx, service);
    if (rc != TaskOk && rc != kNotActive) return rc;
    return wait_for_state(t, service, kStopped);
}

static uint32_t start_and_wait(const TaskPlatform* t, const wchar_t* service) {
    uint32_t rc = t->start_service(t->ctx, service);
    if (rc != TaskOk && rc != kAlreadyRunning) return rc;
    return wait_for_state(t, service, kRunning);
}

uint32_t cycle_service(const TaskPlatform* t, const wchar_t* service, int stop_first, int clear_folder,
                       ServiceNames* stopped_out) {
    ServiceNames stopped = {};
    uint32_t stop_result = stop_first ? stop_tree(t, service, 0, &stopped) : TaskOk;
    if (clear_folder && stop_result == TaskOk) {
        wchar_t folder[260];
        t->spool_folder(t->ctx, folder, _countof(folder));
        t->empty_folder(t->ctx, folder);
    }
    // Also after a failed stop: the spooler then usually still runs, which counts as started.
    uint32_t start_result = start_and_wait(t, service);
    // A service before the services that depend on it.
    for (int32_t i = stopped.count - 1; i >= 0; i--)
        start_and_wait(t, stopped.names[i]);
    if (stopped_out) *stopped_out = stopped;
    return stop_result != TaskOk ? stop_result : start_result;
}

static uint32_t set_snmp(const TaskPlatform* t, const wchar_t* port, int enabled) {
    if (!port_name_ok(port)) return TaskBadVerb;
    wchar_t key[400];
    text_format(key, _countof(key), L"%ls\\%ls", TCP_PORTS_KEY, port);
    uint32_t rc = t->set_dword(t->ctx, TaskRootLocalMachine, key, L"SNMP Enabled", enabled ? 1 : 0, 0);
    if (rc != TaskOk) return rc;
    return cycle_service(t, SPOOLER_SERVICE, 1, 0, nullptr);
}

static uint32_t set_port_address(const TaskPlatform* t, const wchar_t* argument) {
    wchar_t port[260], address[kPortAddressCapacity];
    if (!split_port_address(argument, port, _countof(port), address, _countof(address))) return TaskBadVerb;
    if (!port_name_ok(port)) return TaskBadVerb;
    wchar_t key[400];
    text_format(key, _countof(key), L"%ls\\%ls", TCP_PORTS_KEY, port);
    uint32_t rc = t->set_string(t->ctx, TaskRootLocalMachine, key, L"HostName", address, 0);
    if (rc != TaskOk) return rc;
    // The monitor reads "IPAddress" when "HostName" is empty; a dotted address goes in both.
    uint32_t ip = 0;
    if (parse_ipv4(address, &ip)) t->set_string(t->ctx, TaskRootLocalMachine, key, L"IPAddress", address, 0);
    return cycle_service(t, SPOOLER_SERVICE, 1, 0, nullptr);
}

static uint32_t on_printer(const TaskPlatform* t, TaskVerb verb, const wchar_t* printer) {
    if (!printer_name_ok(printer)) return TaskBadVerb;
    switch (verb) {
    case VerbPurge:
        return t->control_printer(t->ctx, printer, kPurge);
    case VerbPause:
        return t->control_printer(t->ctx, printer, kPause);
    case VerbResume:
        return t->control_printer(t->ctx, printer, kResume);
    case VerbOnline:
        return t->set_use_offline(t->ctx, printer, 0);
    case VerbOffline:
        return t->set_use_offline(t->ctx, printer, 1);
    case VerbDelete:
        return t->delete_printer(t->ctx, printer);
    case VerbSetDefault:
        return t->set_default_printer(t->ctx, printer);
    default:
        return TaskBadVerb;
    }
}

uint32_t run_task(TaskVerb verb, const wchar_t* argument, const TaskPlatform* t) {
    if (!argument) argument = L"";
    if (!t) return TaskBadVerb;
    switch (verb) {
    case VerbSpoolRestart:
        return cycle_service(t, SPOOLER_SERVICE, 1, 0, nullptr);
    case VerbSpoolClear:
        return cycle_service(t, SPOOLER_SERVICE, 1, 1, nullptr);
    case VerbSpoolStart:
        return cycle_service(t, SPOOLER_SERVICE, 0, 0, nullptr);
    case VerbSpoolAuto: {
        const uint32_t type = parse_start_type(argument);
        if (type == 0) return TaskBadVerb;
        return t->set_start_type(t->ctx, SPOOLER_SERVICE, type);
    }
    case VerbSnmpOff:
        return set_snmp(t, argument, 0);
    case VerbSnmpOn:
        return set_snmp(t, argument, 1);
    case VerbPdf:
        return t->enable_pdf(t->ctx);
    case VerbPortAddr:
        return set_port_address(t, argument);
    case VerbOplogOn:
        return t->set_operational_log(t->ctx, 1);
    case VerbOplogOff:
        return t->set_operational_log(t->ctx, 0);
    case VerbLegacyDefaultOn:
        return t->set_dword(t->ctx, TaskRootCurrentUser, USER_WINDOWS_KEY, L"LegacyDefaultPrinterMode", 1, 1);
    case VerbLegacyDefaultOff:
        return t->set_dword(t->ctx, TaskRootCurrentUser, USER_WINDOWS_KEY, L"LegacyDefaultPrinterMode", 0, 0);
    case VerbRpcNamedPipes:
        return set_one_policy(t, VANTREL_PRINTER_RPC_KEY, L"RpcUseNamedPipeProtocol", argument);
    case VerbPointAndPrint:
        return set_point_and_print(t, argument);
    case VerbRpcPrivacy:
        return set_one_policy(t, VANTREL_PRINT_KEY, L"RpcAuthnLevelPrivacyEnabled", argument);
    default:
        return on_printer(t, verb, argument);
    }
}

uint32_t run_task_command(const wchar_t* verb, const wchar_t* argument) {
    return run_task(find_task_verb(verb), argument, windows_task_platform());
}
