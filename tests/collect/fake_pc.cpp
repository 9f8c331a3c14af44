// The made-up PC's answers.
#include "fake_pc.h"

#include <stdlib.h>
#include <wctype.h>

#include "core/text.h"

static std::wstring lower(std::wstring s) {
    for (auto& c : s)
        c = (wchar_t)towlower(c);
    return s;
}

static std::wstring reg_key(RegistryRoot root, const wchar_t* path, const wchar_t* name) {
    return std::wstring(root == RootCurrentUser ? L"HKCU\\"
                        : root == RootUsers     ? L"HKU\\"
                                                : L"HKLM\\") +
           path + L"|" + name;
}

void FakePc::set_string(const std::wstring& root_path, const std::wstring& name, const std::wstring& value) {
    FakeRegistryValue v;
    v.text = value;
    registry[lower(root_path + L"|" + name)] = v;
}

void FakePc::set_dword(const std::wstring& root_path, const std::wstring& name, uint32_t value) {
    FakeRegistryValue v;
    v.isDword = 1;
    v.dword = value;
    registry[lower(root_path + L"|" + name)] = v;
}

void FakePc::add_tcp_port(const std::wstring& port, const std::wstring& host, const std::wstring& ip,
                          uint32_t number, uint32_t protocol, uint32_t snmp, const std::wstring& community) {
    std::wstring key = std::wstring(L"HKLM\\") + VANTREL_TCP_PORTS_KEY + L"\\" + port;
    if (!host.empty()) set_string(key, L"HostName", host);
    if (!ip.empty()) set_string(key, L"IPAddress", ip);
    set_dword(key, L"PortNumber", number);
    set_dword(key, L"Protocol", protocol);
    set_dword(key, L"SNMP Enabled", snmp);
    set_string(key, L"SNMP Community", community);
    ports.push_back({port, L"Standard TCP/IP Port"});
}

int FakePc::net_tests_of(const std::wstring& target) const {
    int n = 0;
    for (const auto& t : netTargets)
        n += t == target;
    return n;
}

int FakePc::called(const std::string& op) const {
    int n = 0;
    for (const auto& c : calls)
        n += c == op;
    return n;
}

static FakePc* pc_of(void* ctx) {
    return static_cast<FakePc*>(ctx);
}

static Snapshot* f_new_snapshot(void* ctx) {
    pc_of(ctx)->calls.push_back("new_snapshot");
    return pc_of(ctx)->allocate ? pc_of(ctx)->allocate() : snapshot_new();
}
static void f_local_time(void* ctx, LocalTime* out) {
    pc_of(ctx)->calls.push_back("local_time");
    *out = {2026, 12, 3, 9, 14, 5, 6, 7};
}
static void f_read_spooler(void* ctx, RawService* out) {
    pc_of(ctx)->calls.push_back("read_spooler");
    *out = pc_of(ctx)->service;
}
static int f_read_string(void* ctx, RegistryRoot root, const wchar_t* path, const wchar_t* name, wchar_t* buf,
                         size_t cap) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("read_string");
    std::wstring key = reg_key(root, path, name);
    pc->registryReads.push_back(key);
    auto it = pc->registry.find(lower(key));
    buf[0] = 0;
    // As read_registry_string: a string of at most cap - 1 characters.
    if (it == pc->registry.end() || it->second.isDword || it->second.text.size() + 1 > cap) return 0;
    text_copy(buf, cap, it->second.text.c_str());
    return buf[0] != 0;
}
static int f_read_dword(void* ctx, RegistryRoot root, const wchar_t* path, const wchar_t* name,
                        uint32_t* out) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("read_dword");
    std::wstring key = reg_key(root, path, name);
    pc->registryReads.push_back(key);
    auto it = pc->registry.find(lower(key));
    if (it == pc->registry.end() || !it->second.isDword) return 0;
    *out = it->second.dword;
    return 1;
}
static void f_system_directory(void* ctx, wchar_t* buf, size_t cap) {
    pc_of(ctx)->calls.push_back("system_directory");
    text_copy(buf, cap, pc_of(ctx)->systemDirectory.c_str());
}
static int f_list_folder(void* ctx, const wchar_t* pattern, TakeFolderEntry take, void* arg) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("list_folder");
    pc->folderPatterns.push_back(pattern);
    if (!pc->folderReadable) return 0;
    for (const auto& e : pc->folderEntries)
        take(arg, e.first, e.second);
    return 1;
}
static int f_list_ports(void* ctx, TakePort take, void* arg) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("list_ports");
    if (!pc->portsListed) return 0;
    for (const auto& p : pc->ports) {
        RawPort raw = {p.first.c_str(), p.second.c_str()};
        take(arg, &raw);
    }
    return 1;
}
static void f_default_printer(void* ctx, wchar_t* buf, size_t cap) {
    pc_of(ctx)->calls.push_back("default_printer");
    text_copy(buf, cap, pc_of(ctx)->defaultPrinter.c_str());
}
static const wchar_t* or_null(const std::wstring& s) {
    return s.empty() ? nullptr : s.c_str();
}
static int f_list_printers(void* ctx, TakePrinter take, void* arg) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("list_printers");
    if (!pc->printersListed) return 0;
    for (const auto& p : pc->printers) {
        // Windows gives null for texts that were never set.
        RawPrinter raw = {
            or_null(p.server),  or_null(p.name),     or_null(p.share), or_null(p.port), or_null(p.driver),
            or_null(p.comment), or_null(p.location), p.attributes,     p.status,        p.jobs};
        take(arg, &raw);
    }
    return 1;
}
static uint64_t f_now(void* ctx) {
    pc_of(ctx)->calls.push_back("now");
    return pc_of(ctx)->now;
}
static int f_list_jobs(void* ctx, const wchar_t* printer, TakeJob take, void* arg) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("list_jobs");
    pc->jobReads.push_back(printer);
    auto it = pc->jobs.find(printer);
    if (it == pc->jobs.end()) return 0;
    int n = 0;
    for (const auto& j : it->second) {
        if (n++ >= kJobsAskedPerPrinter) break;
        RawJob raw = {
            j.id,       j.document.c_str(), j.user.c_str(), or_null(j.statusText), j.status, j.pages, j.size,
            j.position, j.submittedValid,   j.submitted};
        take(arg, &raw);
    }
    return 1;
}
static int f_list_drivers(void* ctx, TakeDriver take, void* arg) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("list_drivers");
    if (!pc->driversListed) return 0;
    for (const auto& d : pc->drivers) {
        RawDriver raw = {};
        raw.version = d.version;
        raw.name = d.name.c_str();
        raw.environment = d.environment.c_str();
        raw.driverPath = or_null(d.path);
        raw.manufacturer = or_null(d.maker);
        raw.driverDate = d.date;
        raw.dateValid = d.date != 0;
        raw.dateYear = d.year;
        raw.dateMonth = d.month;
        raw.dateDay = d.day;
        raw.driverVersion = d.driverVersion;
        take(arg, &raw);
    }
    return 1;
}
static int f_file_missing(void* ctx, const wchar_t* path) {
    pc_of(ctx)->calls.push_back("file_missing");
    return pc_of(ctx)->missingFiles.count(path) ? 1 : 0;
}
static void f_read_print_logs(void* ctx, Snapshot*) {
    pc_of(ctx)->calls.push_back("read_print_logs");
    pc_of(ctx)->printLogsRead++;
}
static void f_user_name(void* ctx, wchar_t* buf, size_t cap) {
    pc_of(ctx)->calls.push_back("user_name");
    text_copy(buf, cap, pc_of(ctx)->userName.c_str());
}
static int f_running_as_system(void* ctx) {
    pc_of(ctx)->calls.push_back("running_as_system");
    return pc_of(ctx)->system;
}
static void f_session_user_name(void* ctx, int console, wchar_t* buf, size_t cap) {
    pc_of(ctx)->calls.push_back(console ? "console_user_name" : "session_user_name");
    text_copy(buf, cap, (console ? pc_of(ctx)->consoleUser : pc_of(ctx)->sessionUser).c_str());
}
static int f_net_test(void* ctx, NetTestResult* r, const wchar_t* target, int ask_snmp,
                      const wchar_t* community) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("net_test");
    pc->netTargets.push_back(target);
    pc->netAskSnmp.push_back(ask_snmp);
    pc->netCommunities.push_back(community);
    *r = NetTestResult{};
    text_copy(r->target, _countof(r->target), target);
    text_copy(r->ipText, _countof(r->ipText), target);
    r->tested = r->resolved = r->pingOk = 1;
    if (pc->silent.count(target)) r->pingOk = 0;
    if (pc->printServers.count(target)) r->rpcPortOpen = r->portOpen[5] = 1;
    r->snmpAsked = ask_snmp;
    r->pageCount = (int32_t)pc->netTargets.size(); // tells one test's result from another's
    return 0;
}
static int f_cache_put(void* ctx, const NetTestResult* r) {
    pc_of(ctx)->calls.push_back("cache_put");
    return net_cache_store(&pc_of(ctx)->cache, r);
}
static int f_cache_get(void* ctx, const wchar_t* target, NetTestResult* out) {
    pc_of(ctx)->calls.push_back("cache_get");
    const NetTestResult* hit = net_cache_find(&pc_of(ctx)->cache, target);
    if (hit) *out = *hit;
    return hit != nullptr;
}
static int f_post(void* ctx, Snapshot* s) {
    pc_of(ctx)->calls.push_back("post");
    if (!pc_of(ctx)->postSucceeds) return 0;
    pc_of(ctx)->posted = s;
    return 1;
}
static void f_check_finished(void* ctx) {
    pc_of(ctx)->calls.push_back("check_finished");
    pc_of(ctx)->finishedWithoutPost++;
}
static void f_free_request(void* ctx, CheckRequest* request) {
    pc_of(ctx)->calls.push_back("free_request");
    pc_of(ctx)->requestsFreed++;
    free(request);
}

static uint32_t f_open_connection(void* ctx, const wchar_t* printer, wchar_t* message, size_t cap) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("open_connection");
    pc->connectionsOpened.push_back(printer);
    auto it = pc->connectionErrors.find(printer);
    text_copy(message, cap, it == pc->connectionErrors.end() ? L"" : it->second.second.c_str());
    return it == pc->connectionErrors.end() ? 0 : it->second.first;
}
static int f_list_service_crashes(void* ctx, uint64_t, TakeServiceCrash take, void* arg) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("list_service_crashes");
    if (!pc->serviceLogReadable) return 0;
    for (const auto& c : pc->crashes) {
        // Local time is UTC here; the minute is enough to tell the latest.
        uint64_t minutes = c.time / 600000000ull;
        RawServiceCrash raw = {
            c.eventId,
            c.service.c_str(),
            c.time,
            1,
            {2026, 12, 0, 9, (uint16_t)(minutes / 60 % 24), (uint16_t)(minutes % 60), 0, 0}};
        take(arg, &raw);
    }
    return 1;
}
static void f_service_display_name(void* ctx, const wchar_t* service, wchar_t* buf, size_t cap) {
    pc_of(ctx)->calls.push_back("service_display_name");
    text_copy(buf, cap, wcscmp(service, L"Spooler") == 0 ? pc_of(ctx)->spoolerDisplayName.c_str() : L"");
}

static int f_console_user_sid(void* ctx, wchar_t* buf, size_t cap) {
    pc_of(ctx)->calls.push_back("console_user_sid");
    text_copy(buf, cap, pc_of(ctx)->consoleSid.c_str());
    return !pc_of(ctx)->consoleSid.empty();
}
static int f_list_subkeys(void* ctx, RegistryRoot, const wchar_t* path, TakeName take, void* arg) {
    FakePc* pc = pc_of(ctx);
    pc->calls.push_back("list_subkeys");
    auto it = pc->subkeys.find(lower(path));
    if (it == pc->subkeys.end()) return 0;
    for (const auto& name : it->second)
        take(arg, name.c_str());
    return 1;
}

CollectorPlatform FakePc::platform() {
    return CollectorPlatform{this,
                             f_new_snapshot,
                             f_local_time,
                             f_read_spooler,
                             f_read_string,
                             f_read_dword,
                             f_system_directory,
                             f_list_folder,
                             f_list_ports,
                             f_default_printer,
                             f_list_printers,
                             f_now,
                             f_list_jobs,
                             f_list_drivers,
                             f_file_missing,
                             f_read_print_logs,
                             f_user_name,
                             f_running_as_system,
                             f_session_user_name,
                             withNetTest ? f_net_test : nullptr,
                             f_cache_put,
                             f_cache_get,
                             f_post,
                             f_check_finished,
                             f_free_request,
                             netWorkers,
                             f_open_connection,
                             f_list_service_crashes,
                             f_service_display_name,
                             f_console_user_sid,
                             f_list_subkeys};
}

Settings default_settings() {
    Settings s;
    settings_defaults(&s);
    return s;
}

Snapshot* run_fake_check(FakePc* pc, int with_network_test, const wchar_t* only_address,
                         const Settings* settings) {
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    request->withNetworkTest = with_network_test;
    text_copy(request->onlyAddress, _countof(request->onlyAddress), only_address);
    Settings defaults = default_settings();
    pc->calls.clear();
    CollectorPlatform platform = pc->platform();
    return collector_run(request, settings ? settings : &defaults, &platform, nullptr);
}
