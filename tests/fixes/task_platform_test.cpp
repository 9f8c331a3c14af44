// Every verb on a fake task platform: what each one asks of Windows, in what order, and what it
// refuses before asking anything.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/text.h"
#include "fixes/tasks.h"

namespace {

// A fake PC: services with a state and their running dependents, and a log of every call.
struct FakePc {
    std::map<std::wstring, uint32_t> state;                 // 1 stopped, 4 running
    std::map<std::wstring, std::vector<std::wstring>> deps; // running dependents
    std::map<std::wstring, uint32_t> refuseStop;
    std::vector<std::wstring> calls;
    uint32_t answer = 0; // what the registry and printer calls answer
};

FakePc& pc(void* c) {
    return *static_cast<FakePc*>(c);
}

std::wstring hive(TaskRoot root) {
    return root == TaskRootCurrentUser ? L"HKCU\\" : L"HKLM\\";
}

TaskPlatform fake(FakePc* p) {
    TaskPlatform t = {};
    t.ctx = p;
    t.query_service = [](void* c, const wchar_t* s, uint32_t* state) -> uint32_t {
        auto it = pc(c).state.find(s);
        if (it == pc(c).state.end()) return 1060; // ERROR_SERVICE_DOES_NOT_EXIST
        *state = it->second;
        return 0;
    };
    t.list_dependents = [](void* c, const wchar_t* s, ServiceNames* out) {
        *out = ServiceNames{};
        for (const std::wstring& d : pc(c).deps[s])
            if (pc(c).state[d] == 4) text_copy(out->names[out->count++], 100, d.c_str());
        return 1;
    };
    t.stop_service = [](void* c, const wchar_t* s) -> uint32_t {
        pc(c).calls.push_back(L"stop " + std::wstring(s));
        if (pc(c).refuseStop.count(s)) return pc(c).refuseStop[s];
        pc(c).state[s] = 1;
        return 0;
    };
    t.start_service = [](void* c, const wchar_t* s) -> uint32_t {
        pc(c).calls.push_back(L"start " + std::wstring(s));
        if (pc(c).state[s] == 4) return 1056; // ERROR_SERVICE_ALREADY_RUNNING
        pc(c).state[s] = 4;
        return 0;
    };
    t.set_start_type = [](void* c, const wchar_t* s, uint32_t type) -> uint32_t {
        pc(c).calls.push_back(L"start type " + std::wstring(s) + L" " + std::to_wstring(type));
        return 0;
    };
    t.sleep_ms = [](void*, uint32_t) {};
    t.spool_folder = [](void*, wchar_t* buf, size_t cap) { text_copy(buf, cap, L"C:\\spool"); };
    t.empty_folder = [](void* c, const wchar_t* f) {
        pc(c).calls.push_back(L"empty " + std::wstring(f));
        return 0;
    };
    t.set_dword = [](void* c, TaskRoot r, const wchar_t* k, const wchar_t* n, uint32_t v, int create) {
        pc(c).calls.push_back(L"dword " + hive(r) + k + L" " + n + L"=" + std::to_wstring(v) +
                              (create ? L" create" : L""));
        return pc(c).answer;
    };
    t.set_string = [](void* c, TaskRoot r, const wchar_t* k, const wchar_t* n, const wchar_t* v, int) {
        pc(c).calls.push_back(L"string " + hive(r) + k + L" " + n + L"=" + v);
        return pc(c).answer;
    };
    t.delete_value = [](void* c, TaskRoot r, const wchar_t* k, const wchar_t* n) {
        pc(c).calls.push_back(L"delete " + hive(r) + k + L" " + n);
        return pc(c).answer;
    };
    t.control_printer = [](void* c, const wchar_t* p, uint32_t command) {
        pc(c).calls.push_back(L"control " + std::wstring(p) + L" " + std::to_wstring(command));
        return pc(c).answer;
    };
    t.set_use_offline = [](void* c, const wchar_t* p, int offline) {
        pc(c).calls.push_back(L"offline " + std::wstring(p) + L" " + std::to_wstring(offline));
        return pc(c).answer;
    };
    t.delete_printer = [](void* c, const wchar_t* p) {
        pc(c).calls.push_back(L"remove " + std::wstring(p));
        return pc(c).answer;
    };
    t.set_default_printer = [](void* c, const wchar_t* p) {
        pc(c).calls.push_back(L"default " + std::wstring(p));
        return pc(c).answer;
    };
    t.enable_pdf = [](void* c) {
        pc(c).calls.push_back(L"pdf");
        return pc(c).answer;
    };
    t.set_operational_log = [](void* c, int on) {
        pc(c).calls.push_back(L"oplog " + std::to_wstring(on));
        return pc(c).answer;
    };
    return t;
}

const std::wstring kPorts =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";
const std::wstring kUser = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const std::wstring kRpc = L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\RPC";
const std::wstring kPnp = L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\PointAndPrint";
const std::wstring kPrint = L"SYSTEM\\CurrentControlSet\\Control\\Print";

} // namespace

TEST(TaskPlatform, EveryVerbAsksWindowsForExactlyItsChange) {
    const std::wstring restart[] = {L"stop Spooler", L"start Spooler"};
    const struct {
        TaskVerb verb;
        const wchar_t* argument;
        std::vector<std::wstring> calls;
    } rows[] = {
        {VerbSpoolRestart, L"", {restart[0], restart[1]}},
        {VerbSpoolClear, L"", {L"stop Spooler", L"empty C:\\spool", L"start Spooler"}},
        {VerbSpoolStart, L"", {L"start Spooler"}},
        {VerbSpoolAuto, L"2", {L"start type Spooler 2"}},
        {VerbSnmpOff, L"IP_1", {L"dword HKLM\\" + kPorts + L"IP_1 SNMP Enabled=0", restart[0], restart[1]}},
        {VerbSnmpOn, L"IP_1", {L"dword HKLM\\" + kPorts + L"IP_1 SNMP Enabled=1", restart[0], restart[1]}},
        {VerbPdf, L"", {L"pdf"}},
        {VerbPortAddr,
         L"IP_1|10.0.0.9",
         {L"string HKLM\\" + kPorts + L"IP_1 HostName=10.0.0.9",
          L"string HKLM\\" + kPorts + L"IP_1 IPAddress=10.0.0.9", restart[0], restart[1]}},
        {VerbPortAddr,
         L"IP_1|printer.example",
         {L"string HKLM\\" + kPorts + L"IP_1 HostName=printer.example", restart[0], restart[1]}},
        {VerbOplogOn, L"", {L"oplog 1"}},
        {VerbOplogOff, L"", {L"oplog 0"}},
        {VerbPurge, L"Front", {L"control Front 3"}},
        {VerbPause, L"Front", {L"control Front 1"}},
        {VerbResume, L"Front", {L"control Front 2"}},
        {VerbOnline, L"Front", {L"offline Front 0"}},
        {VerbOffline, L"Front", {L"offline Front 1"}},
        {VerbDelete, L"\\\\srv\\q", {L"remove \\\\srv\\q"}},
        {VerbSetDefault, L"Front", {L"default Front"}},
        {VerbLegacyDefaultOn, L"", {L"dword HKCU\\" + kUser + L" LegacyDefaultPrinterMode=1 create"}},
        {VerbLegacyDefaultOff, L"", {L"dword HKCU\\" + kUser + L" LegacyDefaultPrinterMode=0"}},
        {VerbRpcNamedPipes, L"1", {L"dword HKLM\\" + kRpc + L" RpcUseNamedPipeProtocol=1 create"}},
        {VerbRpcNamedPipes, L"", {L"delete HKLM\\" + kRpc + L" RpcUseNamedPipeProtocol"}},
        {VerbPointAndPrint,
         L"1,0,",
         {L"dword HKLM\\" + kPnp + L" RestrictDriverInstallationToAdministrators=1 create",
          L"dword HKLM\\" + kPnp + L" NoWarningNoElevationOnInstall=0 create",
          L"delete HKLM\\" + kPnp + L" UpdatePromptSettings"}},
        {VerbRpcPrivacy, L"", {L"delete HKLM\\" + kPrint + L" RpcAuthnLevelPrivacyEnabled"}},
        {VerbRpcPrivacy, L"0", {L"dword HKLM\\" + kPrint + L" RpcAuthnLevelPrivacyEnabled=0 create"}},
    };
    bool seen[VerbCount] = {};
    for (const auto& r : rows) {
        FakePc p;
        p.state[L"Spooler"] = 4;
        TaskPlatform t = fake(&p);
        EXPECT_EQ(0u, run_task(r.verb, r.argument, &t)) << task_verb_text(r.verb);
        EXPECT_EQ(r.calls, p.calls) << task_verb_text(r.verb);
        seen[r.verb] = true;
    }
    for (int v = 0; v < VerbCount; v++)
        EXPECT_TRUE(seen[v]) << task_verb_text((TaskVerb)v) << " has no row";
}

TEST(TaskPlatform, BadArgumentsAreRefusedBeforeAnythingIsAsked) {
    const struct {
        TaskVerb verb;
        const wchar_t* argument;
    } rows[] = {
        {VerbSpoolAuto, L"2abc"},
        {VerbSpoolAuto, L""},
        {VerbSpoolAuto, L"4294967295"},
        {VerbSnmpOff, L""},
        {VerbSnmpOn, L"a\\b"},
        {VerbPortAddr, L"IP_1 10.0.0.9"},
        {VerbPortAddr, L"|10.0.0.9"},
        {VerbPause, L""},
        {VerbDelete, L""},
        {VerbSetDefault, L""},
        {VerbNone, L"x"},
        {(TaskVerb)99, L"x"},
        {VerbRpcNamedPipes, L"yes"},
        {VerbRpcPrivacy, L"4294967296"},
        {VerbPointAndPrint, L"1,0"},
        {VerbPointAndPrint, L"1,0,0,0"},
        {VerbPointAndPrint, L"1,x,0"},
    };
    for (const auto& r : rows) {
        FakePc p;
        TaskPlatform t = fake(&p);
        EXPECT_EQ(87u, run_task(r.verb, r.argument, &t)) << r.verb << " " << r.argument;
        EXPECT_TRUE(p.calls.empty()) << r.verb << " " << r.argument;
    }
}

TEST(TaskPlatform, TheCycleStopsDeepestFirstRestartsInReverseAndAnswersTheFirstFailure) {
    FakePc p;
    p.state = {{L"Spooler", 4}, {L"A", 4}, {L"B", 4}, {L"C", 1}};
    p.deps[L"Spooler"] = {L"A", L"C"};
    p.deps[L"A"] = {L"B"};
    TaskPlatform t = fake(&p);
    ServiceNames stopped = {};
    EXPECT_EQ(0u, cycle_service(&t, L"Spooler", 1, 1, &stopped));
    EXPECT_EQ((std::vector<std::wstring>{L"stop B", L"stop A", L"stop Spooler", L"empty C:\\spool",
                                         L"start Spooler", L"start A", L"start B"}),
              p.calls)
        << "the stopped dependent C is left stopped";
    ASSERT_EQ(2, stopped.count);

    FakePc stubborn;
    stubborn.state = {{L"Spooler", 4}};
    stubborn.refuseStop[L"Spooler"] = 1052; // ERROR_INVALID_SERVICE_CONTROL
    TaskPlatform s = fake(&stubborn);
    EXPECT_EQ(1052u, run_task(VerbSpoolClear, L"", &s));
    EXPECT_EQ((std::vector<std::wstring>{L"stop Spooler", L"start Spooler"}), stubborn.calls)
        << "no file is touched after a failed stop";

    // Removing a value that is not there is already done.
    FakePc absent;
    absent.answer = 2; // ERROR_FILE_NOT_FOUND
    TaskPlatform a = fake(&absent);
    EXPECT_EQ(0u, run_task(VerbRpcPrivacy, L"", &a));
    EXPECT_EQ(2u, run_task(VerbRpcNamedPipes, L"1", &a)) << "a write that fails says so";

    FakePc missing;
    TaskPlatform m = fake(&missing);
    EXPECT_EQ(1060u, run_task(VerbSpoolRestart, L"", &m)) << "the service manager's own answer";
}
