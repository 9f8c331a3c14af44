// The verb table and the dispatch. Pure: the Windows work is in tasks_win.cpp.
#include "tasks.h"

#include "core/classify.h"
#include "core/text.h"

const TaskVerbInfo g_task_verbs[VerbCount] = {
    {L"spool-restart", 1}, {L"spool-clear", 1}, {L"spool-start", 1}, {L"spool-auto", 1},
    {L"snmp-off", 1},      {L"snmp-on", 1},     {L"pdf", 1},         {L"port-addr", 1},
    {L"oplog-on", 1},      {L"oplog-off", 1},   {L"purge", 0},       {L"pause", 0},
    {L"resume", 0},        {L"online", 0},      {L"offline", 0},     {L"delete", 0},
};

StoppedDependents g_stopped_dependents = {};

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
    uint64_t value = 0;
    for (const wchar_t* p = text ? text : L""; *p >= L'0' && *p <= L'9'; p++) {
        value = value * 10 + (uint64_t)(*p - L'0');
        // 0xFFFFFFFF is SERVICE_NO_CHANGE, which the service manager would accept as "leave it": a
        // number that does not fit asks for start type 0 instead, which it refuses for a program.
        if (value >= 0xFFFFFFFFu) return 0;
    }
    return (uint32_t)value;
}

uint32_t run_task(const wchar_t* verb, const wchar_t* argument) {
    if (!argument) argument = L"";
    wchar_t port[260], address[kPortAddressCapacity];
    switch (find_task_verb(verb)) {
    case VerbSpoolRestart:
        return cycle_spooler(1, 0);
    case VerbSpoolClear:
        return cycle_spooler(1, 1);
    case VerbSpoolStart:
        return cycle_spooler(0, 0);
    case VerbSpoolAuto:
        return task_spool_auto(argument);
    case VerbSnmpOff:
        return task_set_snmp(argument, 0);
    case VerbSnmpOn:
        return task_set_snmp(argument, 1);
    case VerbPdf:
        return task_enable_pdf();
    case VerbPortAddr:
        if (!split_port_address(argument, port, _countof(port), address, _countof(address)))
            return TaskBadVerb;
        return task_port_address(port, address);
    case VerbOplogOn:
        return task_set_oplog(1);
    case VerbOplogOff:
        return task_set_oplog(0);
    case VerbPurge:
        return control_printer(argument, 3);
    case VerbPause:
        return control_printer(argument, 1);
    case VerbResume:
        return control_printer(argument, 2);
    case VerbOnline:
        return set_use_offline(argument, 0);
    case VerbOffline:
        return set_use_offline(argument, 1);
    case VerbDelete:
        return task_delete_printer(argument);
    default:
        return TaskBadVerb;
    }
}
