// The snapshot collector: one check's worth of reading Windows, as the body of the check worker.
// Everything here works on plain records of what Windows returned; the calls themselves sit behind
// CollectorPlatform, whose Windows implementation (collector_win.cpp) only asks and copies. The
// collector calls the platform in a fixed order (service, spool folder, ports, default printer,
// printers with their port values, pool ports and remembered identity, jobs, drivers, driver
// files, print logs and spooler crashes, accounts, policies, network tests, cache, printer
// connections, hand-over), so a test platform can replay a whole PC.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/classify.h"
#include "core/print_policy.h"
#include "core/settings.h"
#include "core/snapshot.h"

enum {
    kJobsAskedPerPrinter = 60, // jobs 0 to 59 of each printer
};

enum RegistryRoot : int32_t {
    RootLocalMachine = 0,
    RootCurrentUser = 1,
    RootUsers = 2, // HKEY_USERS: paths start with the user's SID
};

#define VANTREL_SPOOL_KEY L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers"
#define VANTREL_TCP_PORTS_KEY                                                                                \
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports"
#define VANTREL_WINDOWS_KEY L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"
#define VANTREL_WPP_KEY L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP"
#define VANTREL_CURRENT_VERSION_KEY L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"

// The Print Spooler service as the service manager reported it.
struct RawService {
    int32_t statusRead;
    uint32_t currentState;
    int32_t configRead;
    uint32_t startType;
};

// One entry of a listing. Texts point into the platform's listing buffer and are valid only during
// the call that hands the record over; null counts as empty.
struct RawPort {
    const wchar_t* name;
    const wchar_t* monitor;
};

struct RawPrinter {
    const wchar_t* serverName;
    const wchar_t* printerName;
    const wchar_t* shareName;
    const wchar_t* portName;
    const wchar_t* driverName;
    const wchar_t* comment;
    const wchar_t* location;
    uint32_t attributes;
    uint32_t status;
    uint32_t jobs;
};

struct RawJob {
    uint32_t jobId;
    const wchar_t* document;
    const wchar_t* userName;
    const wchar_t* statusText;
    uint32_t status;
    uint32_t totalPages;
    uint32_t size;
    uint32_t position;
    int32_t submittedValid; // the submission time could be converted
    uint64_t submitted;     // UTC, 100 ns units since 1601-01-01
};

struct RawDriver {
    uint32_t version;
    const wchar_t* name;
    const wchar_t* environment;
    const wchar_t* driverPath;
    const wchar_t* manufacturer;
    uint64_t driverDate; // as Windows stores it; 0 = none
    int32_t dateValid;   // driverDate could be converted into the three fields below
    uint16_t dateYear, dateMonth, dateDay;
    uint64_t driverVersion; // four 16-bit parts, most significant first; 0 = none
};

// What the "Standard TCP/IP Port" monitor stored for one port, as read. A have* flag says the
// DWORD existed.
struct RawTcpPort {
    wchar_t hostName[kPortAddressCapacity];
    wchar_t ipAddress[kPortAddressCapacity];
    int32_t havePortNumber;
    uint32_t portNumber;
    int32_t haveProtocol;
    uint32_t protocol;
    int32_t haveSnmpEnabled;
    uint32_t snmpEnabled;
    wchar_t snmpCommunity[kPortCommunityCapacity];
};

// A Service Control Manager event from the System log that says a service ended unexpectedly.
struct RawServiceCrash {
    uint32_t eventId;           // 7031 (Windows restarts it) or 7034 (no recovery action)
    const wchar_t* serviceName; // the event's first parameter: the service's display name
    uint64_t time;              // UTC, 100 ns units since 1601-01-01
    int32_t localValid;         // time could be turned into local time
    LocalTime local;
};

typedef void (*TakeFolderEntry)(void* arg, int is_directory, uint64_t size);
typedef void (*TakePort)(void* arg, const RawPort* port);
typedef void (*TakePrinter)(void* arg, const RawPrinter* printer);
typedef void (*TakeJob)(void* arg, const RawJob* job);
typedef void (*TakeDriver)(void* arg, const RawDriver* driver);
typedef void (*TakeServiceCrash)(void* arg, const RawServiceCrash* crash);
typedef void (*TakeName)(void* arg, const wchar_t* name);

// The Windows operations the collector uses, in the order it uses them. Every operation gets ctx
// first. A listing hands its entries over one by one while its buffer is alive and returns 1 when
// it could be made (0: nothing was handed over).
struct CollectorPlatform {
    void* ctx;
    Snapshot* (*new_snapshot)(void* ctx);
    void (*local_time)(void* ctx, LocalTime* out);
    void (*read_spooler)(void* ctx, RawService* out);
    // read_registry_string / read_registry_dword semantics: 1 on success, buffer emptied on failure.
    int (*read_string)(void* ctx, RegistryRoot root, const wchar_t* path, const wchar_t* name, wchar_t* buf,
                       size_t cap);
    int (*read_dword)(void* ctx, RegistryRoot root, const wchar_t* path, const wchar_t* name, uint32_t* out);
    void (*system_directory)(void* ctx, wchar_t* buf, size_t cap);
    int (*list_folder)(void* ctx, const wchar_t* pattern, TakeFolderEntry take, void* arg);
    int (*list_ports)(void* ctx, TakePort take, void* arg);
    void (*default_printer)(void* ctx, wchar_t* buf, size_t cap);
    int (*list_printers)(void* ctx, TakePrinter take, void* arg);
    uint64_t (*now)(void* ctx); // UTC, 100 ns units since 1601-01-01
    // 0 when the printer cannot be opened or its jobs cannot be listed.
    int (*list_jobs)(void* ctx, const wchar_t* printer, TakeJob take, void* arg);
    int (*list_drivers)(void* ctx, TakeDriver take, void* arg);
    // 1 exactly when the file's attributes cannot be read because the file is not there (error 2).
    int (*file_missing)(void* ctx, const wchar_t* path);
    // The print-log reader: operationalLogKnown/Enabled, logEntries, adminLogRead.
    void (*read_print_logs)(void* ctx, Snapshot* s);
    void (*user_name)(void* ctx, wchar_t* buf, size_t cap);
    int (*running_as_system)(void* ctx);
    // console = 0: the program's own session; 1: the active console session, if there is one.
    void (*session_user_name)(void* ctx, int console, wchar_t* buf, size_t cap);
    // null when network tests are not available in this build.
    int (*net_test)(void* ctx, NetTestResult* result, const wchar_t* target, int ask_snmp,
                    const wchar_t* community);
    // The network-result cache; both take its lock for the copy only.
    int (*cache_put)(void* ctx, const NetTestResult* result);
    int (*cache_get)(void* ctx, const wchar_t* target, NetTestResult* out);
    int (*post)(void* ctx, Snapshot* s); // 1 when the hand-over message was posted
    void (*check_finished)(void* ctx);   // clears the check-running flag when nothing was handed over
    void (*free_request)(void* ctx, CheckRequest* request);
    // How many network tests may run at once (net_test is then called from several threads);
    // 0 or 1 runs them one after another on the worker's thread.
    int netWorkers;
    // Opens a printer connection and closes it again: 0 when Windows opened it, else its error
    // code, with Windows' own message for it in message.
    uint32_t (*open_connection)(void* ctx, const wchar_t* printer, wchar_t* message, size_t cap);
    // The System log's unexpected service ends (events 7031 and 7034) of the day before now;
    // 0 when the log cannot be queried.
    int (*list_service_crashes)(void* ctx, uint64_t now, TakeServiceCrash take, void* arg);
    // A service's display name, as the Service Control Manager writes it into its events.
    void (*service_display_name)(void* ctx, const wchar_t* service, wchar_t* buf, size_t cap);
    // The SID (as text) of the person signed in at the console; 0 when nobody is, or when this
    // process may not ask (only SYSTEM may: WTSQueryUserToken).
    int (*console_user_sid)(void* ctx, wchar_t* buf, size_t cap);
    // The names of a key's subkeys; 0 when the key cannot be opened.
    int (*list_subkeys)(void* ctx, RegistryRoot root, const wchar_t* path, TakeName take, void* arg);
};

// A per-user connection's key under "Printers\Connections" names the printer with commas in place
// of its backslashes (",,PRINTSRV,Front desk" is "\\PRINTSRV\Front desk"). 0 for any other name.
int connection_name_of_key(const wchar_t* key, wchar_t* out, size_t cap);

// The printer's name in a "Device" value ("Front desk,winspool,Ne00:"): the text before its first
// comma.
void device_printer_name(const wchar_t* device, wchar_t* out, size_t cap);

// Running as SYSTEM (as remote-management agents do), the PC's own view lacks the person's printers:
// the console user's connections and default printer are read from their hive under HKEY_USERS.
void collect_signed_in_user_printers(Snapshot* s, const CollectorPlatform* platform);

// The worker's whole body: allocates the snapshot, fills it, runs the requested network tests,
// merges the cached results and hands it over. Takes ownership of request. With build_demo set,
// the made-up snapshot is built instead, right after the allocation and the time stamp. Returns
// the snapshot that was posted (for tests; it belongs to the receiver) or null.
typedef void (*BuildDemoSnapshot)(Snapshot* s);
Snapshot* collector_run(CheckRequest* request, const Settings* settings, const CollectorPlatform* platform,
                        BuildDemoSnapshot build_demo);

// The pieces, each working on plain records; collector_run calls them in order.
void collect_spooler(Snapshot* s, const RawService* service);
void collect_spool_folder(Snapshot* s, const CollectorPlatform* platform);

// The ports table kept while the printers are read.
struct PortTableEntry {
    wchar_t name[260];
    wchar_t monitor[120];
};
struct PortTable {
    PortTableEntry* entries; // heap, count entries
    int32_t count;
    int32_t capacity;
};
void port_table_add(PortTable* table, const RawPort* port);
void port_table_free(PortTable* table);
const wchar_t* port_table_monitor(const PortTable* table, const wchar_t* port_name);

// Step by step for one printer; collect_printer does all of them with the platform's registry.
PrinterRecord* collect_printer_basics(Snapshot* s, const RawPrinter* raw);
void read_tcp_port_values(const CollectorPlatform* platform, const wchar_t* port_name, RawTcpPort* out);
// What the port monitor stored, in the form the classification takes.
void tcp_port_values_of(const RawTcpPort* tcp, TcpPortValues* out);
void apply_port_class(PrinterRecord* p, const wchar_t* port_name, const wchar_t* monitor,
                      const RawTcpPort* tcp);
void apply_known_identity(PrinterRecord* p, const wchar_t* value);
void collect_printer(Snapshot* s, const RawPrinter* raw, const PortTable* ports,
                     const CollectorPlatform* platform);

// Whole minutes from submission to now; 0 when not earlier or not known.
int32_t job_age_minutes(uint64_t now, int submitted_valid, uint64_t submitted);
void collect_job(Snapshot* s, int32_t printer_index, const RawJob* raw, uint64_t now);
void collect_driver(Snapshot* s, const RawDriver* raw);
void match_printers_to_drivers(Snapshot* s);

// Steps 13 to 15: the default-printer mode, the PDF printer and the protected print policy.
void apply_policies(Snapshot* s, int have_legacy_mode, uint32_t legacy_mode, int have_wpp, uint32_t wpp);

// The print-related policies and settings of the registry, and the Windows build.
void collect_print_policies(Snapshot* s, const CollectorPlatform* platform);

// A pooled printer's ports (its port list names more than one), each with its kind and address.
void collect_pool_members(Snapshot* s, int32_t printer_index, const PortTable* ports,
                          const CollectorPlatform* platform);

// Counts the Print Spooler's unexpected ends of the last 24 hours among the events, and keeps the
// latest one's time. display_name is what the events call the spooler.
void count_spooler_crash(Snapshot* s, const wchar_t* display_name, uint64_t now,
                         const RawServiceCrash* crash);
void collect_spooler_crashes(Snapshot* s, const CollectorPlatform* platform, uint64_t now);

// Opens every connection whose print server answered in the network result the printer holds, and
// keeps the error of each that Windows refused.
void collect_connection_errors(Snapshot* s, const CollectorPlatform* platform);

// The printers whose addresses the request's network tests cover, in printer order: those with an
// address, skipping virtual printers unless CheckVirtual, other addresses when the request names
// one, and every later printer on an address already chosen. Fills which; returns the count.
int32_t choose_network_tests(const Snapshot* s, const CheckRequest* request, const Settings* settings,
                             int32_t* which);

// The pool ports the request's tests cover besides the chosen printers' addresses (printers,
// printer_count): each address once. Fills which with pool member indexes; returns the count.
int32_t choose_pool_tests(const Snapshot* s, const CheckRequest* request, const int32_t* printers,
                          int32_t printer_count, int32_t* which);
// A pool port's tested and answered flags from a network result for its address.
void pool_member_result(PoolMember* member, const NetTestResult* n);

// Network tests for the request, up to netWorkers at a time; their results go into the cache and
// the printers in printer order, as if they had run one after another.
void run_network_tests(Snapshot* s, const CheckRequest* request, const Settings* settings,
                       const CollectorPlatform* platform);
void merge_cached_results(Snapshot* s, const CollectorPlatform* platform);
