// The collector's logic over plain records: what each Windows answer becomes in the snapshot, the
// limits, and the order of the calls. Nothing here talks to Windows directly.
#include "collector.h"

#include <stdlib.h>
#include <string.h>

#include "core/classify.h"
#include "core/known.h"
#include "core/text.h"

void collect_spooler(Snapshot* s, const RawService* service) {
    if (service->statusRead) s->spoolerState = (int32_t)service->currentState;
    if (service->configRead) s->spoolerStartType = (int32_t)service->startType;
}

static void take_folder_entry(void* arg, int is_directory, uint64_t size) {
    Snapshot* s = static_cast<Snapshot*>(arg);
    if (is_directory) return; // ".", ".." and sub-folders hold no waiting jobs
    s->spoolFileCount++;
    s->spoolBytes += size;
}

void collect_spool_folder(Snapshot* s, const CollectorPlatform* platform) {
    if (!platform->read_string(platform->ctx, RootLocalMachine, VANTREL_SPOOL_KEY, L"DefaultSpoolDirectory",
                               s->spoolFolder, _countof(s->spoolFolder))) {
        wchar_t system[260] = L"";
        platform->system_directory(platform->ctx, system, _countof(system));
        s->spoolFolder[0] = 0;
        if (system[0]) text_format(s->spoolFolder, _countof(s->spoolFolder), L"%ls\\spool\\PRINTERS", system);
    }
    if (!s->spoolFolder[0]) return;
    wchar_t pattern[270];
    text_format(pattern, _countof(pattern), L"%ls\\*", s->spoolFolder);
    if (platform->list_folder(platform->ctx, pattern, take_folder_entry, s)) s->spoolFolderRead = 1;
}

void port_table_add(PortTable* table, const RawPort* port) {
    if (table->count >= table->capacity) {
        int32_t grown = table->capacity ? table->capacity * 2 : 32;
        void* more = realloc(table->entries, (size_t)grown * sizeof(PortTableEntry));
        if (!more) return; // out of memory: this port's monitor stays unknown
        table->entries = static_cast<PortTableEntry*>(more);
        table->capacity = grown;
    }
    PortTableEntry* e = &table->entries[table->count++];
    text_copy(e->name, _countof(e->name), port->name);
    text_copy(e->monitor, _countof(e->monitor), port->monitor);
}

void port_table_free(PortTable* table) {
    free(table->entries);
    table->entries = nullptr;
    table->count = table->capacity = 0;
}

const wchar_t* port_table_monitor(const PortTable* table, const wchar_t* port_name) {
    for (int32_t i = 0; table && i < table->count; i++)
        if (text_equal_ci(table->entries[i].name, port_name)) return table->entries[i].monitor;
    return L"";
}

// "IP_10.0.0.5,IP_10.0.0.6" is a pooled port; Windows prints through the first.
static void cut_at_comma(wchar_t* out, size_t cap, const wchar_t* port_name) {
    text_copy(out, cap, port_name);
    wchar_t* comma = wcschr(out, L',');
    if (comma) *comma = 0;
}

PrinterRecord* collect_printer_basics(Snapshot* s, const RawPrinter* raw) {
    PrinterRecord* p = snapshot_add_printer(s); // also sets driverIndex and net.pageCount to -1
    if (!p) return nullptr;
    text_copy(p->name, _countof(p->name), raw->printerName);
    text_copy(p->portName, _countof(p->portName), raw->portName);
    text_copy(p->driverName, _countof(p->driverName), raw->driverName);
    text_copy(p->shareName, _countof(p->shareName), raw->shareName);
    text_copy(p->location, _countof(p->location), raw->location);
    text_copy(p->comment, _countof(p->comment), raw->comment);
    text_copy(p->serverName, _countof(p->serverName), raw->serverName);
    p->status = raw->status;
    p->attributes = raw->attributes;
    p->jobCount = (int32_t)raw->jobs;
    p->useOffline = (raw->attributes & 0x400) ? 1 : 0;
    p->isDefault = s->defaultPrinter[0] && text_equal_ci(p->name, s->defaultPrinter);
    p->isConnection = p->name[0] == L'\\' && p->name[1] == L'\\';
    if (p->isConnection && !p->serverName[0]) {
        // "\\PRINTSRV\Front desk" belongs to PRINTSRV
        text_copy(p->serverName, _countof(p->serverName), p->name + 2);
        wchar_t* slash = wcschr(p->serverName, L'\\');
        if (slash) *slash = 0;
    }
    return p;
}

void read_tcp_port_values(const CollectorPlatform* platform, const wchar_t* port_name, RawTcpPort* out) {
    memset(out, 0, sizeof(*out));
    if (!port_name[0]) return; // the key itself would be read as the port
    wchar_t key[600];
    text_format(key, _countof(key), L"%ls\\%ls", VANTREL_TCP_PORTS_KEY, port_name);
    void* ctx = platform->ctx;
    if (!platform->read_string(ctx, RootLocalMachine, key, L"HostName", out->hostName,
                               _countof(out->hostName)))
        platform->read_string(ctx, RootLocalMachine, key, L"IPAddress", out->ipAddress,
                              _countof(out->ipAddress));
    out->havePortNumber = platform->read_dword(ctx, RootLocalMachine, key, L"PortNumber", &out->portNumber);
    out->haveProtocol = platform->read_dword(ctx, RootLocalMachine, key, L"Protocol", &out->protocol);
    out->haveSnmpEnabled =
        platform->read_dword(ctx, RootLocalMachine, key, L"SNMP Enabled", &out->snmpEnabled);
    platform->read_string(ctx, RootLocalMachine, key, L"SNMP Community", out->snmpCommunity,
                          _countof(out->snmpCommunity));
}

void tcp_port_values_of(const RawTcpPort* tcp, TcpPortValues* out) {
    // A value the port monitor did not store reads as 0, which the classification takes as its default.
    *out = TcpPortValues{};
    text_copy(out->hostName, _countof(out->hostName), tcp->hostName);
    text_copy(out->ipAddress, _countof(out->ipAddress), tcp->ipAddress);
    out->portNumber = tcp->havePortNumber ? (int32_t)tcp->portNumber : 0;
    out->protocol = tcp->haveProtocol ? (int32_t)tcp->protocol : 0;
    out->snmpEnabled = tcp->haveSnmpEnabled && tcp->snmpEnabled ? 1 : 0;
    text_copy(out->snmpCommunity, _countof(out->snmpCommunity), tcp->snmpCommunity);
}

void apply_port_class(PrinterRecord* p, const wchar_t* port_name, const wchar_t* monitor,
                      const RawTcpPort* tcp) {
    TcpPortValues values;
    tcp_port_values_of(tcp, &values);
    classify_printer_port_named(p, port_name, monitor, &values);
    p->isVirtual = is_virtual_printer(p->driverName, p->kind) ? 1 : 0;
}

void apply_known_identity(PrinterRecord* p, const wchar_t* value) {
    if (!value || !value[0]) return;
    parse_known_value(value, p->knownMac, _countof(p->knownMac), p->knownSerial, _countof(p->knownSerial));
}

// A number of jobs added to a left-out count, which never wraps.
static void count_left_out(int32_t* left_out, uint64_t more) {
    const uint64_t total = (uint64_t)(*left_out < 0 ? 0 : *left_out) + more;
    *left_out = total > INT32_MAX ? INT32_MAX : (int32_t)total;
}

void collect_printer(Snapshot* s, const RawPrinter* raw, const PortTable* ports,
                     const CollectorPlatform* platform) {
    PrinterRecord* p = collect_printer_basics(s, raw);
    if (!p) {
        // A printer left out takes its queue with it: its jobs are never listed.
        count_left_out(&s->jobsLeftOut, raw->jobs);
        return;
    }
    wchar_t port[260];
    cut_at_comma(port, _countof(port), p->portName);
    RawTcpPort tcp;
    read_tcp_port_values(platform, port, &tcp);
    apply_port_class(p, port, port_table_monitor(ports, port), &tcp);
    collect_pool_members(s, (int32_t)(p - s->printers), ports, platform);
    if (p->name[0]) {
        wchar_t known[kKnownValueCapacity];
        if (platform->read_string(platform->ctx, RootCurrentUser, VANTREL_KNOWN_KEY, p->name, known,
                                  _countof(known)))
            apply_known_identity(p, known);
    }
}

int32_t job_age_minutes(uint64_t now, int submitted_valid, uint64_t submitted) {
    if (!submitted_valid || submitted >= now) return 0;
    uint64_t minutes = (now - submitted) / 600000000ull;
    return minutes > 0x7fffffffull ? 0x7fffffff : (int32_t)minutes;
}

void collect_job(Snapshot* s, int32_t printer_index, const RawJob* raw, uint64_t now) {
    JobRecord* j = snapshot_add_job(s);
    if (!j) return;
    j->printerIndex = printer_index;
    j->jobId = (int32_t)raw->jobId;
    text_copy(j->document, _countof(j->document), raw->document);
    text_copy(j->userName, _countof(j->userName), raw->userName);
    job_status_text(j->statusText, _countof(j->statusText), raw->statusText, raw->status);
    j->status = raw->status;
    j->totalPages = (int32_t)raw->totalPages;
    j->size = (int32_t)raw->size;
    j->position = (int32_t)raw->position;
    j->ageMinutes = job_age_minutes(now, raw->submittedValid, raw->submitted);
}

void collect_driver(Snapshot* s, const RawDriver* raw) {
    DriverRecord* d = snapshot_add_driver(s);
    if (!d) return;
    text_copy(d->name, _countof(d->name), raw->name);
    text_copy(d->environment, _countof(d->environment), raw->environment);
    text_copy(d->driverPath, _countof(d->driverPath), raw->driverPath);
    d->version = (int32_t)raw->version;
    text_copy(d->maker, _countof(d->maker), raw->manufacturer);
    if (raw->driverDate && raw->dateValid)
        text_format(d->date, _countof(d->date), L"%02d/%02d/%04d", (int)raw->dateMonth, (int)raw->dateDay,
                    (int)raw->dateYear);
    if (raw->driverVersion) {
        uint64_t v = raw->driverVersion;
        text_format(d->versionText, _countof(d->versionText), L"%u.%u.%u.%u", (unsigned)((v >> 48) & 0xffff),
                    (unsigned)((v >> 32) & 0xffff), (unsigned)((v >> 16) & 0xffff), (unsigned)(v & 0xffff));
    }
    d->language = classify_driver_language(d->name);
}

// A 64-bit build's printers use the x64 (or ARM64) copy of a driver; a missing file of an x86-only
// copy, kept for 32-bit clients, does not stop anything printing here.
static int native_environment(const wchar_t* environment) {
    return text_contains_ci(environment, L"x64") || text_contains_ci(environment, L"ARM64");
}

void match_printers_to_drivers(Snapshot* s) {
    for (int32_t i = 0; i < s->printerCount; i++) {
        PrinterRecord* p = &s->printers[i];
        for (int32_t k = 0; k < s->driverCount; k++) {
            DriverRecord* d = &s->drivers[k];
            if (!text_equal_ci(d->name, p->driverName)) continue;
            d->printerCount++;
            p->driverFound = 1;
            int native = native_environment(d->environment);
            if (p->driverIndex == -1 || native) p->driverIndex = k;
            if (d->fileMissing && (native || !text_contains_ci(d->environment, L"x86")))
                p->driverFilesMissing = 1;
        }
    }
}

void apply_policies(Snapshot* s, int have_legacy_mode, uint32_t legacy_mode, int have_wpp, uint32_t wpp) {
    s->windowsManagesDefault = (have_legacy_mode && legacy_mode == 1) ? 0 : 1;
    s->pdfPrinterMissing = 1;
    for (int32_t i = 0; i < s->printerCount; i++)
        if (text_contains_ci(s->printers[i].driverName, L"Microsoft Print To PDF")) s->pdfPrinterMissing = 0;
    if (s->spoolerState != 4) s->pdfPrinterMissing = 0; // a stopped spooler lists no printers at all
    s->protectedPrintPolicy = (have_wpp && wpp == 1) ? 1 : 0;
}

struct PrinterPass {
    Snapshot* s;
    const PortTable* ports;
    const CollectorPlatform* platform;
};

static void take_port(void* arg, const RawPort* port) {
    port_table_add(static_cast<PortTable*>(arg), port);
}

static void take_printer(void* arg, const RawPrinter* raw) {
    PrinterPass* pass = static_cast<PrinterPass*>(arg);
    collect_printer(pass->s, raw, pass->ports, pass->platform);
}

struct JobPass {
    Snapshot* s;
    int32_t printerIndex;
    uint64_t now;
    int32_t listed; // jobs the platform gave for this printer
};

static void take_job(void* arg, const RawJob* raw) {
    JobPass* pass = static_cast<JobPass*>(arg);
    pass->listed++;
    collect_job(pass->s, pass->printerIndex, raw, pass->now);
}

static void take_driver(void* arg, const RawDriver* raw) {
    collect_driver(static_cast<Snapshot*>(arg), raw);
}

static void collect_accounts(Snapshot* s, const CollectorPlatform* platform) {
    platform->user_name(platform->ctx, s->userName, _countof(s->userName));
    s->runningAsSystem = platform->running_as_system(platform->ctx) ? 1 : 0;
    platform->session_user_name(platform->ctx, 0, s->sessionUserName, _countof(s->sessionUserName));
    // A service or scheduled task runs in session 0, where nobody signs in; the screen's user is
    // the console session's.
    if (!s->sessionUserName[0])
        platform->session_user_name(platform->ctx, 1, s->sessionUserName, _countof(s->sessionUserName));
}

int connection_name_of_key(const wchar_t* key, wchar_t* out, size_t cap) {
    text_copy(out, cap, L"");
    if (!key || key[0] != L',' || key[1] != L',') return 0;
    const wchar_t* server = key + 2;
    const wchar_t* comma = wcschr(server, L',');
    // The server's name cannot hold a comma; the queue's can, so only the first one separates.
    if (!comma || comma == server || !comma[1]) return 0;
    wchar_t name[260] = L"\\\\";
    size_t n = 2;
    for (const wchar_t* p = server; p < comma && n + 1 < _countof(name); p++)
        name[n++] = *p;
    name[n] = 0;
    text_append(name, _countof(name), L"\\%ls", comma + 1);
    text_copy(out, cap, name);
    return 1;
}

void device_printer_name(const wchar_t* device, wchar_t* out, size_t cap) {
    text_copy(out, cap, device);
    wchar_t* comma = cap ? wcschr(out, L',') : nullptr;
    if (comma) *comma = 0;
}

struct UserConnections {
    Snapshot* s;
};

static void take_user_connection(void* arg, const wchar_t* key) {
    Snapshot* s = static_cast<UserConnections*>(arg)->s;
    wchar_t name[260];
    if (!connection_name_of_key(key, name, _countof(name))) return;
    for (int32_t i = 0; i < s->printerCount; i++)
        if (text_equal_ci(s->printers[i].name, name)) return; // a per-machine connection listed already
    RawPrinter raw = {};
    raw.printerName = name;
    PrinterRecord* p = collect_printer_basics(s, &raw);
    if (!p) return;
    classify_printer_port(p, L"", nullptr);
    p->isVirtual = 0;
}

void collect_signed_in_user_printers(Snapshot* s, const CollectorPlatform* platform) {
    void* ctx = platform->ctx;
    wchar_t sid[200];
    if (!platform->console_user_sid(ctx, sid, _countof(sid)) || !sid[0]) return;
    wchar_t path[400], device[300];
    text_format(path, _countof(path), L"%ls\\%ls", sid, VANTREL_WINDOWS_KEY);
    if (platform->read_string(ctx, RootUsers, path, L"Device", device, _countof(device)) && device[0]) {
        device_printer_name(device, s->defaultPrinter, _countof(s->defaultPrinter));
        for (int32_t i = 0; i < s->printerCount; i++)
            s->printers[i].isDefault = text_equal_ci(s->printers[i].name, s->defaultPrinter);
    }
    text_format(path, _countof(path), L"%ls\\Printers\\Connections", sid);
    UserConnections pass = {s};
    platform->list_subkeys(ctx, RootUsers, path, take_user_connection, &pass);
    s->signedInUserPrinters = 1;
}

static void hand_over(Snapshot* s, CheckRequest* request, const CollectorPlatform* platform,
                      Snapshot** posted) {
    platform->free_request(platform->ctx, request);
    if (platform->post(platform->ctx, s)) {
        *posted = s;
        return;
    }
    snapshot_free(s);
    platform->check_finished(platform->ctx);
}

Snapshot* collector_run(CheckRequest* request, const Settings* settings, const CollectorPlatform* platform,
                        BuildDemoSnapshot build_demo) {
    void* ctx = platform->ctx;
    Snapshot* posted = nullptr;
    Snapshot* s = platform->new_snapshot(ctx);
    if (!s) {
        platform->free_request(ctx, request);
        platform->check_finished(ctx);
        return nullptr;
    }
    platform->local_time(ctx, &s->checkTime);
    if (build_demo) {
        build_demo(s);
        hand_over(s, request, platform, &posted);
        return posted;
    }

    RawService service = {};
    platform->read_spooler(ctx, &service);
    collect_spooler(s, &service);

    collect_spool_folder(s, platform);

    PortTable ports = {};
    platform->list_ports(ctx, take_port, &ports);

    platform->default_printer(ctx, s->defaultPrinter, _countof(s->defaultPrinter));

    PrinterPass printers = {s, &ports, platform};
    platform->list_printers(ctx, take_printer, &printers);
    port_table_free(&ports);

    JobPass jobs = {s, 0, platform->now(ctx), 0};
    for (int32_t i = 0; i < s->printerCount; i++) {
        if (!s->printers[i].jobCount || !s->printers[i].name[0]) continue;
        jobs.printerIndex = i;
        jobs.listed = 0;
        platform->list_jobs(ctx, s->printers[i].name, take_job, &jobs);
        // Only the first kJobsAskedPerPrinter are asked for; a queue that filled them holds the rest
        // Windows counts. (A shorter answer means jobs ended meanwhile, not that any were left out.)
        if (jobs.listed >= kJobsAskedPerPrinter && s->printers[i].jobCount > jobs.listed)
            count_left_out(&s->jobsLeftOut, (uint64_t)(s->printers[i].jobCount - jobs.listed));
    }

    platform->list_drivers(ctx, take_driver, s);
    for (int32_t k = 0; k < s->driverCount; k++) {
        DriverRecord* d = &s->drivers[k];
        if (d->driverPath[0] && platform->file_missing(ctx, d->driverPath)) d->fileMissing = 1;
    }
    match_printers_to_drivers(s);

    if (settings->readEventLog) {
        platform->read_print_logs(ctx, s);
        collect_spooler_crashes(s, platform, jobs.now);
    }

    collect_accounts(s, platform);
    if (s->runningAsSystem) collect_signed_in_user_printers(s, platform);

    uint32_t legacy = 0, wpp = 0;
    int have_legacy =
        platform->read_dword(ctx, RootCurrentUser, VANTREL_WINDOWS_KEY, L"LegacyDefaultPrinterMode", &legacy);
    int have_wpp = platform->read_dword(ctx, RootLocalMachine, VANTREL_WPP_KEY,
                                        L"WindowsProtectedPrintGroupPolicyState", &wpp);
    apply_policies(s, have_legacy, legacy, have_wpp, wpp);
    collect_print_policies(s, platform);

    if (request && request->withNetworkTest) run_network_tests(s, request, settings, platform);
    merge_cached_results(s, platform);
    collect_connection_errors(s, platform);

    hand_over(s, request, platform, &posted);
    return posted;
}
