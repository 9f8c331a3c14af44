// A made-up PC for the collector: everything Windows would answer, as plain data, with a record of
// which operations were asked in which order.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "collect/collector.h"
#include "collect/printlog.h"

struct FakePrinter {
    std::wstring server, name, share, port, driver, comment, location;
    uint32_t attributes = 0, status = 0, jobs = 0;
};

struct FakeJob {
    uint32_t id = 0;
    std::wstring document, user, statusText;
    uint32_t status = 0, pages = 0, size = 0, position = 0;
    int submittedValid = 1;
    uint64_t submitted = 0;
};

struct FakeDriver {
    uint32_t version = 3;
    std::wstring name, environment, path, maker;
    uint64_t date = 0;
    uint16_t year = 0, month = 0, day = 0;
    uint64_t driverVersion = 0;
};

struct FakeCrash {
    uint32_t eventId = 7034;
    std::wstring service = L"Print Spooler";
    uint64_t time = 0;
};

struct FakeRegistryValue {
    int isDword = 0;
    std::wstring text;
    uint32_t dword = 0;
};

struct FakePc {
    // What Windows says.
    Snapshot* (*allocate)() = nullptr; // null: snapshot_new
    RawService service = {1, 4, 1, 2};
    std::map<std::wstring, FakeRegistryValue> registry; // key "HKLM\\path|name", lower case
    std::wstring systemDirectory = L"C:\\windows\\system32";
    int folderReadable = 1;
    std::vector<std::pair<int, uint64_t>> folderEntries = {{1, 0}, {1, 0}}; // "." and ".."
    int portsListed = 1;
    std::vector<std::pair<std::wstring, std::wstring>> ports;
    std::wstring defaultPrinter;
    int printersListed = 1;
    std::vector<FakePrinter> printers;
    uint64_t now = 133800000000000000ull;
    std::map<std::wstring, std::vector<FakeJob>> jobs; // printer name -> jobs; absent: cannot be opened
    int driversListed = 1;
    std::vector<FakeDriver> drivers;
    std::set<std::wstring> missingFiles;
    std::wstring userName = L"alice", sessionUser = L"alice", consoleUser = L"bob";
    int system = 0;
    int withNetTest = 1;
    std::set<std::wstring> printServers; // targets that answer on 135 and 445, and on nothing else
    std::set<std::wstring> silent;       // targets that answer nothing
    int netWorkers = 0;                  // network tests at once; 0 runs them one after another
    int postSucceeds = 1;
    std::map<std::wstring, std::pair<uint32_t, std::wstring>> connectionErrors; // absent: it opens
    int serviceLogReadable = 1;
    std::vector<FakeCrash> crashes;
    std::wstring spoolerDisplayName = L"Print Spooler";
    std::wstring consoleSid;                                   // empty: nobody at the console
    std::map<std::wstring, std::vector<std::wstring>> subkeys; // lower-case path under HKU -> names

    // What the collector did.
    std::vector<std::string> calls;
    std::vector<std::wstring> registryReads; // "HKLM\\path|name"
    std::vector<std::wstring> folderPatterns;
    std::vector<std::wstring> jobReads;
    std::vector<std::wstring> netTargets;
    std::vector<int> netAskSnmp;
    std::vector<std::wstring> netCommunities;
    NetResultCache cache = {};
    int printLogsRead = 0;
    std::vector<std::wstring> connectionsOpened;
    int requestsFreed = 0;
    int finishedWithoutPost = 0;
    Snapshot* posted = nullptr;

    void set_string(const std::wstring& root_path, const std::wstring& name, const std::wstring& value);
    void set_dword(const std::wstring& root_path, const std::wstring& name, uint32_t value);
    void add_tcp_port(const std::wstring& port, const std::wstring& host, const std::wstring& ip = L"",
                      uint32_t number = 9100, uint32_t protocol = 1, uint32_t snmp = 1,
                      const std::wstring& community = L"public");
    CollectorPlatform platform();
    int net_tests_of(const std::wstring& target) const;
    int called(const std::string& op) const;
};

Settings default_settings();

// Runs a whole check on the fake PC; the request is allocated as the check cycle does. The posted
// snapshot (or null) is returned; the caller frees it with snapshot_free.
Snapshot* run_fake_check(FakePc* pc, int with_network_test, const wchar_t* only_address = L"",
                         const Settings* settings = nullptr);
