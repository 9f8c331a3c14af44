// The data of one check. A Snapshot is one flat, zero-initialised block: fixed-capacity arrays with
// counts, UTF-16 texts that always hold their terminator, records that name each other by index
// (never by pointer) so the whole thing is freed in one go. Entries beyond a capacity are dropped,
// but the printers, jobs and drivers dropped are counted, so every report can say how many it
// does not show.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

enum {
    kMaxPrinters = 64,
    kMaxJobs = 200,
    kMaxDrivers = 150,
    kMaxLogEntries = 80,
    kMaxSupplies = 8,
    kPortProbeCount = 6,
    kNetCacheCapacity = 64,
    kMaxPoolMembers = 32,
};

// Severity of a finding; the label table is indexed by the value.
enum Severity : int32_t {
    SeverityOk = 0,
    SeverityNote = 1,
    SeverityHeadsUp = 2,
    SeverityProblem = 3,
};

enum ConnectionKind : int32_t {
    KindOther = 0,
    KindTcpIp = 1,
    KindWsd = 2,
    KindUsb = 3,
    KindParallelSerial = 4,
    KindBuiltIn = 5,
    KindShared = 6,
    KindRemoteDesktop = 7,
    KindIpp = 8,
};

enum DriverLanguage : int32_t {
    LanguageNotStated = 0,
    LanguagePcl6 = 1,
    LanguagePcl5 = 2,
    LanguagePostScript = 3,
    LanguageXps = 4,
    LanguageUfr2 = 5,
    LanguageHostBased = 6,
    LanguageEscP = 7,
    LanguageLabel = 8,
    LanguagePlainText = 9,
    LanguagePdfFile = 10,
    LanguagePcl6Universal = 11,
    LanguagePostScriptUniversal = 12,
};

// The ports probed by the network test, in the order of NetTestResult::portOpen.
extern const int kProbePorts[kPortProbeCount];
// Probed beside them for NetTestResult::rpcPortOpen.
enum { kRpcEndpointPort = 135 };

// Local date and time; laid out like Windows' SYSTEMTIME so the collector can fill it directly.
struct LocalTime {
    uint16_t year, month, dayOfWeek, day, hour, minute, second, millisecond;
};

struct SupplyLevel {
    wchar_t description[80];
    int32_t level;
    int32_t maxCapacity; // negative values are the printer's own special values, kept as they came
};

struct NetTestResult {
    wchar_t target[200];
    wchar_t ipText[64];
    int32_t tested;
    int32_t resolved;
    int32_t pingOk;
    int32_t pingMs;
    int32_t portOpen[kPortProbeCount];
    // TCP 135, the RPC endpoint mapper, accepted a connection. Only a print server is expected to
    // answer there: Windows 11 22H2 and later reach a shared printer over RPC on TCP through it.
    int32_t rpcPortOpen;
    // The SNMP-filled fields (SnmpStatus) follow, with mac and hostName among them.
    int32_t snmpAsked;
    int32_t snmpAnswered;
    wchar_t sysDescr[200];
    wchar_t model[200];
    wchar_t mac[24];
    wchar_t hostName[200];
    wchar_t sysName[100];
    wchar_t serial[80];
    int32_t deviceStatus;
    int32_t printerStatus;
    int32_t haveErrorState;
    int32_t errorBits;
    int32_t pageCount; // -1 = not reported
    SupplyLevel supplies[kMaxSupplies];
    int32_t supplyCount;
};

struct PrinterRecord {
    wchar_t name[260];
    wchar_t portName[260];
    wchar_t driverName[200];
    wchar_t shareName[120];
    wchar_t location[260];
    wchar_t comment[200];
    wchar_t serverName[200];
    uint32_t status;
    uint32_t attributes;
    int32_t jobCount;
    int32_t isDefault;
    int32_t isVirtual;
    int32_t isConnection;
    int32_t useOffline;
    int32_t driverFound;
    ConnectionKind kind;
    wchar_t address[200];
    int32_t portNumber;
    int32_t protocol; // 1 RAW, 2 LPR
    int32_t snmpEnabled;
    wchar_t snmpCommunity[64];
    int32_t driverFilesMissing;
    int32_t driverIndex; // -1 = none
    wchar_t knownMac[24];
    wchar_t knownSerial[80];
    NetTestResult net;
    // A connection to a shared printer that Windows refused to open: its error code and Windows' own
    // words for it. 0 and empty when it opened, or was not tried (its print server did not answer).
    uint32_t connectError;
    wchar_t connectErrorText[200];
    Severity worstSeverity;
    int32_t findingCount;
    wchar_t headline[300];
};

struct JobRecord {
    int32_t printerIndex;
    int32_t jobId;
    wchar_t document[200];
    wchar_t userName[80];
    wchar_t statusText[160];
    uint32_t status;
    int32_t totalPages;
    int32_t size;
    int32_t ageMinutes;
    int32_t position;
};

struct DriverRecord {
    wchar_t name[200];
    wchar_t environment[40];
    wchar_t driverPath[260];
    int32_t version;
    int32_t printerCount;
    int32_t fileMissing;
    wchar_t maker[80];
    wchar_t date[16];
    wchar_t versionText[40];
    DriverLanguage language;
};

struct LogEntry {
    wchar_t timeText[40];
    int32_t level;
    int32_t eventId;
    wchar_t message[600];
    uint64_t time;   // UTC, 100 ns units since 1601-01-01
    int32_t channel; // 0 Admin, 1 Operational
};

// One port of a printer pool (a printer whose port list names more than one port): Windows hands
// each job to whichever of the pool's printers is free.
struct PoolMember {
    int32_t printerIndex;
    int32_t position; // place in the printer's port list, from 0
    wchar_t portName[260];
    ConnectionKind kind;
    wchar_t address[200]; // empty when the port has no network address
    int32_t tested;       // a network test result for address exists
    int32_t answered;     // that test was answered: a ping or an open port
};

// A DWORD policy or setting from the registry: present says the value exists at all, which for
// these values means something different from any number (absent is Windows' own default).
struct PolicyValue {
    int32_t present;
    uint32_t value;
};

struct Snapshot {
    PrinterRecord printers[kMaxPrinters];
    int32_t printerCount;
    JobRecord jobs[kMaxJobs];
    int32_t jobCount;
    DriverRecord drivers[kMaxDrivers];
    int32_t driverCount;
    LogEntry logEntries[kMaxLogEntries];
    int32_t logCount;
    int32_t adminLogRead;
    int32_t spoolerState;
    int32_t spoolerStartType;
    int32_t spoolFolderRead;
    int32_t spoolFileCount;
    uint64_t spoolBytes;
    wchar_t spoolFolder[260];
    wchar_t defaultPrinter[260];
    int32_t windowsManagesDefault;
    int32_t pdfPrinterMissing;
    int32_t protectedPrintPolicy;
    int32_t operationalLogKnown;
    int32_t operationalLogEnabled;
    int32_t runningAsSystem;
    int32_t signedInUserPrinters; // running as SYSTEM: the console user's connections and default were read
    wchar_t userName[128];
    wchar_t sessionUserName[128];
    int32_t networkTested;
    LocalTime checkTime;
    // What Windows listed beyond the capacities: printers past kMaxPrinters; jobs past kMaxJobs,
    // past what is asked of one printer, and those of the printers left out; drivers past kMaxDrivers.
    int32_t printersLeftOut;
    int32_t jobsLeftOut;
    int32_t driversLeftOut;
    PoolMember poolMembers[kMaxPoolMembers];
    int32_t poolMemberCount;
    // Point and Print (HKLM\SOFTWARE\Policies\Microsoft\Windows NT\Printers\PointAndPrint):
    // "RestrictDriverInstallationToAdministrators" (1 or absent: only administrators install drivers
    // through Point and Print; 0: anyone may), "NoWarningNoElevationOnInstall" and
    // "UpdatePromptSettings" (0 or absent: Windows warns and asks for elevation when a connection
    // installs or updates a driver; anything else: it does not).
    PolicyValue restrictDriverInstallation;
    PolicyValue noWarningNoElevationOnInstall;
    PolicyValue updatePromptSettings;
    // "RpcAuthnLevelPrivacyEnabled" under HKLM\SYSTEM\CurrentControlSet\Control\Print: 0 lets the
    // spooler accept print connections without RPC packet privacy (only this PC's role as a print
    // server is affected); 1 or absent enforces it.
    PolicyValue rpcAuthnLevelPrivacy;
    // "RpcUseNamedPipeProtocol" under HKLM\SOFTWARE\Policies\Microsoft\Windows NT\Printers\RPC: 1
    // makes this PC reach print servers over RPC on named pipes (SMB, port 445) instead of RPC over TCP.
    PolicyValue rpcUseNamedPipe;
    int32_t windowsBuild; // "CurrentBuild" as a number; 0 = not read
    // The Print Spooler's unexpected ends in the System log over the last 24 hours (Service Control
    // Manager events 7031 and 7034), and the local time of the latest; serviceLogRead says the log
    // could be queried at all.
    int32_t serviceLogRead;
    int32_t spoolerCrashCount;
    uint64_t lastSpoolerCrash; // UTC, 100 ns units since 1601-01-01
    wchar_t lastSpoolerCrashText[40];
};

// What starting one check asks for.
struct CheckRequest {
    int32_t withNetworkTest;
    wchar_t onlyAddress[200]; // empty = every printer
};

// The last network result of each address, so a check without network tests still shows them. The
// lock that guards the process-wide table lives with the collector.
struct NetResultCache {
    NetTestResult entries[kNetCacheCapacity];
    int32_t count;
};

// A record's count as far as it can be trusted: 0 to capacity, whatever the count field says.
inline int32_t clamp_count(int32_t count, int32_t capacity) {
    return count < 0 ? 0 : count > capacity ? capacity : count;
}

// One zero-filled block per check; null when memory ran out. It is a fresh block from the system,
// untouched: a check writes the few pages it fills, and nothing should read or clear the rest
// (the first touch of a page, even a read, makes it resident).
Snapshot* snapshot_new();
void snapshot_free(Snapshot* s);

// The next free entry, zeroed and counted, or null at capacity (the entry is then dropped and
// counted in printersLeftOut, jobsLeftOut or driversLeftOut). A new printer starts with no driver
// (driverIndex -1) and no reported page count (pageCount -1).
PrinterRecord* snapshot_add_printer(Snapshot* s);
JobRecord* snapshot_add_job(Snapshot* s);
DriverRecord* snapshot_add_driver(Snapshot* s);
LogEntry* snapshot_add_log_entry(Snapshot* s);
PoolMember* snapshot_add_pool_member(Snapshot* s);

// Readable job status: Windows' own status text, then the name of every set status bit in a fixed
// order, separated by ", "; "Waiting" when that leaves nothing.
void job_status_text(wchar_t* out, size_t cap, const wchar_t* windows_text, uint32_t status);

// Cache look-up and store, keyed by target without regard to case. Storing a 65th address is
// dropped. The caller holds the cache's lock.
const NetTestResult* net_cache_find(const NetResultCache* cache, const wchar_t* target);
int net_cache_store(NetResultCache* cache, const NetTestResult* result);
