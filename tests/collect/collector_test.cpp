// The collector's derivations and order over a made-up PC.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "collect/collector.h"
#include "core/text.h"
#include "fake_pc.h"

namespace {

struct SnapshotHolder {
    Snapshot* s;
    explicit SnapshotHolder(Snapshot* snapshot) : s(snapshot) {}
    ~SnapshotHolder() { snapshot_free(s); }
    Snapshot* operator->() const { return s; }
};

FakePrinter printer(const std::wstring& name, const std::wstring& port,
                    const std::wstring& driver = L"HP LaserJet PCL 6") {
    FakePrinter p;
    p.name = name;
    p.port = port;
    p.driver = driver;
    return p;
}

FakeDriver driver(const std::wstring& name, const std::wstring& environment, const std::wstring& path) {
    FakeDriver d;
    d.name = name;
    d.environment = environment;
    d.path = path;
    return d;
}

const std::wstring kTcpKey = std::wstring(L"HKLM\\") + VANTREL_TCP_PORTS_KEY + L"\\";

TEST(Collector, CallsWindowsInTheOrderOfACheck) {
    FakePc pc;
    pc.add_tcp_port(L"IP_10.0.0.5", L"10.0.0.5");
    pc.printers.push_back(printer(L"Front", L"IP_10.0.0.5"));
    pc.printers.back().jobs = 1;
    pc.jobs[L"Front"] = {FakeJob{}};
    pc.drivers.push_back(driver(L"HP LaserJet PCL 6", L"Windows x64", L"C:\\d\\hp.dll"));
    SnapshotHolder s(run_fake_check(&pc, 1));
    ASSERT_NE(s.s, nullptr);

    // The registry reads between the listings are left out: they are checked by name below.
    std::vector<std::string> order;
    for (const auto& c : pc.calls)
        if (c != "read_string" && c != "read_dword" && c != "cache_get") order.push_back(c);
    std::vector<std::string> expected = {"new_snapshot",
                                         "local_time",
                                         "read_spooler",
                                         "system_directory",
                                         "list_folder",
                                         "list_ports",
                                         "default_printer",
                                         "list_printers",
                                         "now",
                                         "list_jobs",
                                         "list_drivers",
                                         "file_missing",
                                         "read_print_logs",
                                         "service_display_name",
                                         "list_service_crashes",
                                         "user_name",
                                         "running_as_system",
                                         "session_user_name",
                                         "net_test",
                                         "cache_put",
                                         "free_request",
                                         "post"};
    EXPECT_EQ(order, expected);

    std::vector<std::wstring> expected_reads = {
        std::wstring(L"HKLM\\") + VANTREL_SPOOL_KEY + L"|DefaultSpoolDirectory",
        kTcpKey + L"IP_10.0.0.5|HostName",
        kTcpKey + L"IP_10.0.0.5|PortNumber",
        kTcpKey + L"IP_10.0.0.5|Protocol",
        kTcpKey + L"IP_10.0.0.5|SNMP Enabled",
        kTcpKey + L"IP_10.0.0.5|SNMP Community",
        L"HKCU\\Software\\Corvalen\\Vantrel\\Known|Front",
        L"HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows|LegacyDefaultPrinterMode",
        L"HKLM\\SOFTWARE\\Policies\\Microsoft\\Windows "
        L"NT\\Printers\\WPP|WindowsProtectedPrintGroupPolicyState",
        std::wstring(L"HKLM\\") + VANTREL_POINT_AND_PRINT_KEY +
            L"|RestrictDriverInstallationToAdministrators",
        std::wstring(L"HKLM\\") + VANTREL_POINT_AND_PRINT_KEY + L"|NoWarningNoElevationOnInstall",
        std::wstring(L"HKLM\\") + VANTREL_POINT_AND_PRINT_KEY + L"|UpdatePromptSettings",
        std::wstring(L"HKLM\\") + VANTREL_PRINT_KEY + L"|RpcAuthnLevelPrivacyEnabled",
        std::wstring(L"HKLM\\") + VANTREL_PRINTER_RPC_KEY + L"|RpcUseNamedPipeProtocol",
        std::wstring(L"HKLM\\") + VANTREL_CURRENT_VERSION_KEY + L"|CurrentBuild",
    };
    EXPECT_EQ(pc.registryReads, expected_reads);
    EXPECT_EQ(pc.requestsFreed, 1);
    EXPECT_EQ(pc.posted, s.s);
    EXPECT_EQ(s->checkTime.year, 2026);
    EXPECT_EQ(s->checkTime.minute, 5);
}

TEST(Collector, ServiceAndSpoolFolder) {
    FakePc pc;
    pc.service = {1, 4, 1, 3};
    pc.set_string(std::wstring(L"HKLM\\") + VANTREL_SPOOL_KEY, L"DefaultSpoolDirectory", L"D:\\Spool");
    // ".", "..", a sub-folder, and two job files
    pc.folderEntries = {{1, 0}, {1, 0}, {1, 4096}, {0, 1000}, {0, 5000000000ull}};
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(s->spoolerState, 4);
    EXPECT_EQ(s->spoolerStartType, 3);
    EXPECT_STREQ(s->spoolFolder, L"D:\\Spool");
    EXPECT_EQ(pc.folderPatterns, std::vector<std::wstring>{L"D:\\Spool\\*"});
    EXPECT_EQ(pc.called("system_directory"), 0);
    EXPECT_EQ(s->spoolFolderRead, 1);
    EXPECT_EQ(s->spoolFileCount, 2);
    EXPECT_EQ(s->spoolBytes, 5000001000ull);
}

TEST(Collector, SpoolFolderFallsBackToTheSystemFolderAndMayBeUnreadable) {
    FakePc pc;
    pc.service = {0, 0, 0, 0};
    pc.folderReadable = 0;
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(s->spoolerState, 0);
    EXPECT_EQ(s->spoolerStartType, 0);
    EXPECT_STREQ(s->spoolFolder, L"C:\\windows\\system32\\spool\\PRINTERS");
    EXPECT_EQ(s->spoolFolderRead, 0);
    EXPECT_EQ(s->spoolFileCount, 0);
    EXPECT_EQ(s->spoolBytes, 0u);
    EXPECT_EQ(s->pdfPrinterMissing, 0); // the spooler state is unknown
}

TEST(Collector, SpoolFolderValueOfTheWrongTypeCountsAsMissing) {
    FakePc pc;
    pc.set_dword(std::wstring(L"HKLM\\") + VANTREL_SPOOL_KEY, L"DefaultSpoolDirectory", 7);
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_STREQ(s->spoolFolder, L"C:\\windows\\system32\\spool\\PRINTERS");
}

TEST(Collector, PrinterTextsFlagsAndDefault) {
    FakePc pc;
    FakePrinter p = printer(L"Front Desk", L"USB001");
    p.share = L"FRONT";
    p.location = L"Lobby";
    p.comment = L"Color";
    p.attributes = 0x400 | 0x4;
    p.status = 0x80;
    p.jobs = 0;
    pc.printers.push_back(p);
    pc.printers.push_back(printer(L"Back", L"LPT1:"));
    pc.printers.back().driver.clear(); // Windows gave no driver name
    pc.defaultPrinter = L"FRONT DESK";
    SnapshotHolder s(run_fake_check(&pc, 0));
    ASSERT_EQ(s->printerCount, 2);
    const PrinterRecord& a = s->printers[0];
    EXPECT_STREQ(a.name, L"Front Desk");
    EXPECT_STREQ(a.shareName, L"FRONT");
    EXPECT_STREQ(a.location, L"Lobby");
    EXPECT_STREQ(a.comment, L"Color");
    EXPECT_EQ(a.status, 0x80u);
    EXPECT_EQ(a.useOffline, 1);
    EXPECT_EQ(a.isDefault, 1);
    EXPECT_EQ(a.isConnection, 0);
    EXPECT_EQ(a.kind, KindUsb);
    EXPECT_EQ(a.driverIndex, -1);
    EXPECT_EQ(a.net.pageCount, -1);
    EXPECT_EQ(a.net.tested, 0);
    EXPECT_STREQ(a.net.target, L"");
    EXPECT_EQ(s->printers[1].isDefault, 0);
    EXPECT_STREQ(s->printers[1].driverName, L"");
    EXPECT_STREQ(s->defaultPrinter, L"FRONT DESK");
    EXPECT_EQ(pc.called("list_jobs"), 0); // no printer has jobs
}

TEST(Collector, ConnectionTakesItsServerFromItsName) {
    FakePc pc;
    pc.printers.push_back(printer(L"\\\\PRINTSRV\\Front Desk", L"USB002"));
    FakePrinter given = printer(L"\\\\OTHER\\Back", L"USB003");
    given.server = L"\\\\REALSRV";
    pc.printers.push_back(given);
    pc.printers.push_back(printer(L"\\\\BARE", L"USB004"));
    SnapshotHolder s(run_fake_check(&pc, 0));
    ASSERT_EQ(s->printerCount, 3);
    EXPECT_EQ(s->printers[0].isConnection, 1);
    EXPECT_STREQ(s->printers[0].serverName, L"PRINTSRV");
    EXPECT_EQ(s->printers[0].kind, KindShared);
    EXPECT_STREQ(s->printers[0].address, L"PRINTSRV");
    EXPECT_STREQ(s->printers[1].serverName, L"\\\\REALSRV");
    EXPECT_STREQ(s->printers[1].address, L"REALSRV");
    EXPECT_STREQ(s->printers[2].serverName, L"BARE");
}

TEST(Collector, PooledPortIsClassifiedAndLookedUpByItsFirstPort) {
    FakePc pc;
    pc.add_tcp_port(L"IP_10.0.0.5", L"", L"10.0.0.5", 9101, 2, 1, L"office");
    pc.add_tcp_port(L"IP_10.0.0.6", L"", L"10.0.0.6");
    pc.printers.push_back(printer(L"Pool", L"IP_10.0.0.5,IP_10.0.0.6"));
    SnapshotHolder s(run_fake_check(&pc, 0));
    const PrinterRecord& p = s->printers[0];
    EXPECT_STREQ(p.portName, L"IP_10.0.0.5,IP_10.0.0.6");
    EXPECT_EQ(p.kind, KindTcpIp);
    EXPECT_STREQ(p.address, L"10.0.0.5");
    EXPECT_EQ(p.portNumber, 9101);
    EXPECT_EQ(p.protocol, 2);
    EXPECT_EQ(p.snmpEnabled, 1);
    EXPECT_STREQ(p.snmpCommunity, L"office");
    // The host name is asked first; only without one the IP address.
    EXPECT_EQ(pc.registryReads[1], kTcpKey + L"IP_10.0.0.5|HostName");
    EXPECT_EQ(pc.registryReads[2], kTcpKey + L"IP_10.0.0.5|IPAddress");
    // Each port of the pool is read as a pool member of its own, in list order.
    ASSERT_EQ(s->poolMemberCount, 2);
    EXPECT_STREQ(s->poolMembers[1].portName, L"IP_10.0.0.6");
    EXPECT_STREQ(s->poolMembers[1].address, L"10.0.0.6");
    EXPECT_EQ(s->poolMembers[1].kind, KindTcpIp);
    EXPECT_EQ(s->poolMembers[1].position, 1);
    EXPECT_EQ(s->poolMembers[0].printerIndex, 0);
}

TEST(Collector, HostNameWinsAndBadPortValuesKeepTheBuiltInValues) {
    FakePc pc;
    std::wstring key = kTcpKey + L"lab";
    pc.set_string(key, L"HostName", L"printer.lab");
    pc.set_string(key, L"IPAddress", L"10.9.9.9");
    pc.set_string(key, L"PortNumber", L"9200"); // a string where a DWORD belongs
    pc.set_dword(key, L"SNMP Community", 5);    // a DWORD where a string belongs
    pc.set_string(key, L"Protocol", L"2");
    pc.printers.push_back(printer(L"Lab", L"lab"));
    SnapshotHolder s(run_fake_check(&pc, 0));
    const PrinterRecord& p = s->printers[0];
    EXPECT_EQ(p.kind, KindTcpIp);
    EXPECT_STREQ(p.address, L"printer.lab");
    EXPECT_EQ(p.portNumber, 9100);
    EXPECT_EQ(p.protocol, 1);
    EXPECT_EQ(p.snmpEnabled, 0);
    EXPECT_STREQ(p.snmpCommunity, L"");
}

TEST(Collector, PortWithoutAName) {
    FakePc pc;
    pc.printers.push_back(printer(L"Nowhere", L""));
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(s->printerCount, 1);
    for (const auto& read : pc.registryReads)
        EXPECT_EQ(read.find(L"Standard TCP/IP"), std::wstring::npos);
    EXPECT_STREQ(s->printers[0].address, L"");
}

TEST(Collector, MonitorOfTheListedPortDecides) {
    FakePc pc;
    pc.ports.push_back({L"DOT4_001", L"USB Monitor"});
    pc.ports.push_back({L"XYZ", L"Local Port"});
    pc.printers.push_back(printer(L"A", L"dot4_001"));
    pc.printers.push_back(printer(L"B", L"XYZ"));
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(s->printers[0].kind, KindUsb);
    EXPECT_EQ(s->printers[1].kind, KindOther);
}

TEST(Collector, RememberedIdentity) {
    FakePc pc;
    std::wstring known = L"HKCU\\Software\\Corvalen\\Vantrel\\Known";
    pc.set_string(known, L"A", L"00-11-22-33-44-55|X1|more");
    pc.set_string(known, L"B", L"00-11-22-33-44-66");
    pc.set_string(known, L"C", L"|SERIAL9");
    pc.set_string(known, L"D", std::wstring(300, L'x')); // too long for the 199-character value
    for (const wchar_t* n : {L"A", L"B", L"C", L"D", L"E"})
        pc.printers.push_back(printer(n, L"USB001"));
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_STREQ(s->printers[0].knownMac, L"00-11-22-33-44-55");
    EXPECT_STREQ(s->printers[0].knownSerial, L"X1|more");
    EXPECT_STREQ(s->printers[1].knownMac, L"00-11-22-33-44-66");
    EXPECT_STREQ(s->printers[1].knownSerial, L"");
    EXPECT_STREQ(s->printers[2].knownMac, L"");
    EXPECT_STREQ(s->printers[2].knownSerial, L"SERIAL9");
    EXPECT_STREQ(s->printers[3].knownMac, L"");
    EXPECT_STREQ(s->printers[4].knownMac, L"");
}

TEST(Collector, StoredValuesAreReadAtTheirFullCapacity) {
    FakePc pc;
    std::wstring key = kTcpKey + L"long", host(199, L'h'), community(63, L'c');
    pc.set_string(key, L"HostName", host);
    pc.set_string(key, L"SNMP Community", community);
    pc.set_dword(key, L"SNMP Enabled", 1);
    std::wstring known = L"HKCU\\Software\\Corvalen\\Vantrel\\Known";
    pc.set_string(known, L"Long", L"00-11-22-33-44-55|" + std::wstring(181, L's'));
    pc.printers.push_back(printer(L"Long", L"long"));
    SnapshotHolder s(run_fake_check(&pc, 0));
    const PrinterRecord& p = s->printers[0];
    EXPECT_EQ(p.kind, KindTcpIp) << "a 199-character host name is a network printer";
    EXPECT_EQ(host, p.address);
    EXPECT_EQ(community, p.snmpCommunity);
    EXPECT_STREQ(L"00-11-22-33-44-55", p.knownMac) << "a 199-character identity is read";
}

TEST(Collector, KnownMacLongerThanItsFieldIsCut) {
    PrinterRecord p = {};
    apply_known_identity(&p, L"0123456789012345678901234567|S");
    EXPECT_EQ(wcslen(p.knownMac), 23u);
    EXPECT_STREQ(p.knownSerial, L"S");
}

TEST(Collector, PrintersBeyondSixtyFourAreCountedAndTheirJobsWithThem) {
    FakePc pc;
    for (int i = 0; i < 68; i++) {
        pc.printers.push_back(printer(L"P" + std::to_wstring(i), L"USB001"));
        pc.printers.back().jobs = i >= 64 ? 3 : 0;
    }
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(s->printerCount, 64);
    EXPECT_STREQ(s->printers[63].name, L"P63");
    EXPECT_EQ(4, s->printersLeftOut);
    EXPECT_EQ(12, s->jobsLeftOut) << "the queues of the printers left out";
    EXPECT_EQ(0, s->driversLeftOut);
}

TEST(Collector, JobsAgesAndLimits) {
    FakePc pc;
    FakePrinter a = printer(L"A", L"USB001");
    a.jobs = 3;
    pc.printers.push_back(a);
    FakePrinter gone = printer(L"Gone", L"USB002");
    gone.jobs = 2; // deleted between the printer listing and the job listing: cannot be opened
    pc.printers.push_back(gone);
    FakeJob old;
    old.id = 7;
    old.document = L"Invoice.pdf";
    old.user = L"alice";
    old.status = 0x2 | 0x4;
    old.pages = 3;
    old.size = 12345;
    old.position = 1;
    old.submitted = pc.now - 600000000ull * 90 - 1; // 90 minutes and a little
    FakeJob future = old;
    future.id = 8;
    future.statusText = L"Printing on the moon";
    future.status = 0;
    future.submitted = pc.now + 1;
    FakeJob unknown = old;
    unknown.id = 9;
    unknown.status = 0x80000000u;
    unknown.submittedValid = 0;
    pc.jobs[L"A"] = {old, future, unknown};
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(pc.jobReads, (std::vector<std::wstring>{L"A", L"Gone"}));
    ASSERT_EQ(s->jobCount, 3);
    const JobRecord& j = s->jobs[0];
    EXPECT_EQ(j.printerIndex, 0);
    EXPECT_EQ(j.jobId, 7);
    EXPECT_STREQ(j.document, L"Invoice.pdf");
    EXPECT_STREQ(j.userName, L"alice");
    EXPECT_STREQ(j.statusText, L"Error, Deleting");
    EXPECT_EQ(j.totalPages, 3);
    EXPECT_EQ(j.size, 12345);
    EXPECT_EQ(j.position, 1);
    EXPECT_EQ(j.ageMinutes, 90);
    EXPECT_STREQ(s->jobs[1].statusText, L"Printing on the moon");
    EXPECT_EQ(s->jobs[1].ageMinutes, 0);
    EXPECT_STREQ(s->jobs[2].statusText, L"Waiting");
    EXPECT_EQ(s->jobs[2].ageMinutes, 0);
}

TEST(Collector, TwoHundredFirstJobIsDropped) {
    FakePc pc;
    for (int i = 0; i < 4; i++) {
        FakePrinter p = printer(L"P" + std::to_wstring(i), L"USB001");
        p.jobs = 60;
        pc.printers.push_back(p);
        pc.jobs[p.name] = std::vector<FakeJob>(60);
    }
    // One more queue, longer than the 60 jobs asked of one printer.
    FakePrinter busy = printer(L"Busy", L"USB002");
    busy.jobs = 75;
    pc.printers.push_back(busy);
    pc.jobs[busy.name] = std::vector<FakeJob>(75);
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(s->jobCount, 200);
    EXPECT_EQ(s->jobs[199].printerIndex, 3);
    EXPECT_EQ(40 + 60 + 15, s->jobsLeftOut) << "past 200, the busy queue's 60 listed and its 15 not asked";
    EXPECT_EQ(0, s->printersLeftOut);
}

TEST(Collector, JobAge) {
    EXPECT_EQ(job_age_minutes(600000000ull * 5, 1, 0), 5);
    EXPECT_EQ(job_age_minutes(600000000ull * 5 - 1, 1, 0), 4);
    EXPECT_EQ(job_age_minutes(100, 1, 100), 0);
    EXPECT_EQ(job_age_minutes(100, 0, 0), 0);
}

TEST(Collector, DriverDatesVersionsAndLanguage) {
    FakePc pc;
    FakeDriver d;
    d.version = 4;
    d.name = L"Microsoft Print To PDF";
    d.environment = L"Windows x64";
    d.path = L"C:\\d\\pdf.dll";
    d.maker = L"Microsoft";
    d.date = 1;
    d.year = 2006;
    d.month = 6;
    d.day = 21;
    d.driverVersion = (10ull << 48) | (0ull << 32) | (19041ull << 16) | 1ull;
    pc.drivers.push_back(d);
    FakeDriver bare;
    bare.name = L"Bare";
    bare.environment = L"Windows x64";
    pc.drivers.push_back(bare);
    SnapshotHolder s(run_fake_check(&pc, 0));
    ASSERT_EQ(s->driverCount, 2);
    EXPECT_EQ(s->drivers[0].version, 4);
    EXPECT_STREQ(s->drivers[0].maker, L"Microsoft");
    EXPECT_STREQ(s->drivers[0].date, L"06/21/2006");
    EXPECT_STREQ(s->drivers[0].versionText, L"10.0.19041.1");
    EXPECT_STREQ(s->drivers[1].date, L"");
    EXPECT_STREQ(s->drivers[1].versionText, L"");
    EXPECT_EQ(pc.called("file_missing"), 1); // the driver without a path is not looked for
}

TEST(Collector, HundredFiftyFirstDriverIsDropped) {
    FakePc pc;
    for (int i = 0; i < 151; i++)
        pc.drivers.push_back(driver(L"D" + std::to_wstring(i), L"Windows x64", L""));
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(s->driverCount, 150);
    EXPECT_EQ(1, s->driversLeftOut);
}

TEST(Collector, NativeDriverCopyDecidesMissingFiles) {
    FakePc pc;
    pc.drivers.push_back(driver(L"Both", L"Windows NT x86", L"C:\\x86\\both.dll"));
    pc.drivers.push_back(driver(L"Both", L"Windows x64", L"C:\\x64\\both.dll"));
    pc.drivers.push_back(driver(L"X86Gone", L"Windows NT x86", L"C:\\x86\\gone.dll"));
    pc.drivers.push_back(driver(L"X86Gone", L"Windows x64", L"C:\\x64\\fine.dll"));
    pc.drivers.push_back(driver(L"Arm", L"Windows ARM64", L"C:\\arm\\arm.dll"));
    pc.drivers.push_back(driver(L"Odd", L"Windows 4.0", L"C:\\odd\\odd.dll"));
    pc.missingFiles = {L"C:\\x64\\both.dll", L"C:\\x86\\gone.dll", L"C:\\arm\\arm.dll", L"C:\\odd\\odd.dll"};
    pc.printers.push_back(printer(L"P1", L"USB001", L"both"));
    pc.printers.push_back(printer(L"P2", L"USB001", L"X86Gone"));
    pc.printers.push_back(printer(L"P3", L"USB001", L"Arm"));
    pc.printers.push_back(printer(L"P4", L"USB001", L"Odd"));
    pc.printers.push_back(printer(L"P5", L"USB001", L"Nothing installed"));
    pc.printers.push_back(printer(L"P6", L"USB001", L"Both"));
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_EQ(s->drivers[1].fileMissing, 1);
    EXPECT_EQ(s->drivers[2].fileMissing, 1);
    EXPECT_EQ(s->drivers[3].fileMissing, 0);
    EXPECT_EQ(s->printers[0].driverFilesMissing, 1);
    EXPECT_EQ(s->printers[0].driverIndex, 1); // the x64 copy wins over the x86 one listed first
    EXPECT_EQ(s->printers[0].driverFound, 1);
    EXPECT_EQ(s->printers[1].driverFilesMissing, 0);
    EXPECT_EQ(s->printers[1].driverIndex, 3);
    EXPECT_EQ(s->printers[2].driverFilesMissing, 1);
    EXPECT_EQ(s->printers[3].driverFilesMissing, 1); // neither x86 nor native: counts
    EXPECT_EQ(s->printers[3].driverIndex, 5);
    EXPECT_EQ(s->printers[4].driverFound, 0);
    EXPECT_EQ(s->printers[4].driverIndex, -1);
    EXPECT_EQ(s->drivers[0].printerCount, 2);
    EXPECT_EQ(s->drivers[1].printerCount, 2);
    EXPECT_EQ(s->drivers[4].printerCount, 1);
}

TEST(Collector, PrintLogsFollowTheSetting) {
    FakePc pc;
    Settings settings = default_settings();
    SnapshotHolder on(run_fake_check(&pc, 0, L"", &settings));
    EXPECT_EQ(pc.printLogsRead, 1);
    settings.readEventLog = 0;
    SnapshotHolder off(run_fake_check(&pc, 0, L"", &settings));
    EXPECT_EQ(pc.printLogsRead, 1);
}

TEST(Collector, AccountsAndConsoleSession) {
    FakePc pc;
    pc.system = 1;
    pc.sessionUser = L"";
    SnapshotHolder s(run_fake_check(&pc, 0));
    EXPECT_STREQ(s->userName, L"alice");
    EXPECT_EQ(s->runningAsSystem, 1);
    EXPECT_STREQ(s->sessionUserName, L"bob");
    EXPECT_EQ(pc.called("console_user_name"), 1);

    FakePc own;
    SnapshotHolder t(run_fake_check(&own, 0));
    EXPECT_STREQ(t->sessionUserName, L"alice");
    EXPECT_EQ(own.called("console_user_name"), 0);
    EXPECT_EQ(t->runningAsSystem, 0);
}

// Running as SYSTEM, the person at the console's own connections and default printer come from
// their hive; a connection the machine lists already is not listed twice.
TEST(Collector, AsSystemTheConsoleUsersPrintersAreRead) {
    FakePc pc;
    pc.system = 1;
    pc.defaultPrinter = L"Microsoft Print to PDF"; // SYSTEM's own default, meaningless to the user
    pc.printers.push_back(
        {L"", L"Microsoft Print to PDF", L"", L"PORTPROMPT:", L"Microsoft Print To PDF", L"", L""});
    pc.printers.push_back(
        {L"\\\\PRINTSRV", L"\\\\PRINTSRV\\Machine Queue", L"", L"", L"HP Universal", L"", L""});
    pc.consoleSid = L"S-1-5-21-1-2-3-1001";
    pc.subkeys[L"s-1-5-21-1-2-3-1001\\printers\\connections"] = {
        L",,PRINTSRV,Front desk", L",,printsrv,Machine Queue", L"not a connection", L",,,x"};
    pc.set_string(L"HKU\\S-1-5-21-1-2-3-1001\\" VANTREL_WINDOWS_KEY, L"Device",
                  L"\\\\PRINTSRV\\Front desk,winspool,Ne00:");
    SnapshotHolder s(run_fake_check(&pc, 0));
    ASSERT_EQ(3, s->printerCount);
    EXPECT_STREQ(L"\\\\PRINTSRV\\Front desk", s->printers[2].name);
    EXPECT_TRUE(s->printers[2].isDefault);
    EXPECT_TRUE(s->printers[2].isConnection);
    EXPECT_STREQ(L"PRINTSRV", s->printers[2].serverName);
    EXPECT_EQ(KindShared, s->printers[2].kind);
    EXPECT_STREQ(L"\\\\PRINTSRV\\Front desk", s->defaultPrinter) << "the person's default, not SYSTEM's";
    EXPECT_FALSE(s->printers[0].isDefault);
    EXPECT_TRUE(s->signedInUserPrinters);

    FakePc user; // not SYSTEM: the hive of the console user is never asked for
    user.consoleSid = L"S-1-5-21-1-2-3-1001";
    SnapshotHolder t(run_fake_check(&user, 0));
    EXPECT_EQ(0, user.called("console_user_sid"));
    EXPECT_FALSE(t->signedInUserPrinters);
}

TEST(Collector, ConnectionKeyNames) {
    wchar_t out[260];
    EXPECT_TRUE(connection_name_of_key(L",,srv,Queue", out, _countof(out)));
    EXPECT_STREQ(L"\\\\srv\\Queue", out);
    for (const wchar_t* bad : {L"srv", L",srv,q", L",,srv", L",,srv,", L",,,q", L""})
        EXPECT_FALSE(connection_name_of_key(bad, out, _countof(out))) << bad;
    device_printer_name(L"Front,winspool,Ne00:", out, _countof(out));
    EXPECT_STREQ(L"Front", out);
}

TEST(Collector, Policies) {
    const std::wstring windows = L"HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
    const std::wstring wpp = L"HKLM\\SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
    {
        FakePc pc;
        SnapshotHolder s(run_fake_check(&pc, 0));
        EXPECT_EQ(s->windowsManagesDefault, 1);
        EXPECT_EQ(s->protectedPrintPolicy, 0);
        EXPECT_EQ(s->pdfPrinterMissing, 1);
    }
    {
        FakePc pc;
        pc.set_dword(windows, L"LegacyDefaultPrinterMode", 1);
        pc.set_dword(wpp, L"WindowsProtectedPrintGroupPolicyState", 1);
        pc.printers.push_back(printer(L"PDF", L"PORTPROMPT:", L"Microsoft Print To PDF"));
        SnapshotHolder s(run_fake_check(&pc, 0));
        EXPECT_EQ(s->windowsManagesDefault, 0);
        EXPECT_EQ(s->protectedPrintPolicy, 1);
        EXPECT_EQ(s->pdfPrinterMissing, 0);
    }
    {
        FakePc pc;
        pc.set_dword(windows, L"LegacyDefaultPrinterMode", 2);
        pc.set_dword(wpp, L"WindowsProtectedPrintGroupPolicyState", 2);
        SnapshotHolder s(run_fake_check(&pc, 0));
        EXPECT_EQ(s->windowsManagesDefault, 1);
        EXPECT_EQ(s->protectedPrintPolicy, 0);
    }
    {
        FakePc pc; // values of the wrong type count as missing
        pc.set_string(windows, L"LegacyDefaultPrinterMode", L"1");
        pc.set_string(wpp, L"WindowsProtectedPrintGroupPolicyState", L"1");
        pc.service = {1, 1, 1, 2}; // stopped
        SnapshotHolder s(run_fake_check(&pc, 0));
        EXPECT_EQ(s->windowsManagesDefault, 1);
        EXPECT_EQ(s->protectedPrintPolicy, 0);
        EXPECT_EQ(s->pdfPrinterMissing, 0);
        EXPECT_EQ(s->spoolerState, 1);
    }
}

TEST(Collector, FailedListingsLeaveEmptyParts) {
    FakePc pc;
    pc.portsListed = 0;
    pc.printersListed = 0;
    pc.printers.push_back(printer(L"Never", L"USB001"));
    SnapshotHolder s(run_fake_check(&pc, 1));
    ASSERT_NE(s.s, nullptr);
    EXPECT_EQ(s->printerCount, 0);
    EXPECT_EQ(s->networkTested, 1);
    EXPECT_EQ(pc.called("net_test"), 0);
}

TEST(Collector, SpoolerStoppedDuringTheCheck) {
    // Running when asked, gone by the time the jobs and drivers are listed.
    FakePc pc;
    FakePrinter p = printer(L"A", L"USB001", L"Microsoft Print To PDF");
    p.jobs = 4;
    pc.printers.push_back(p);
    pc.driversListed = 0;
    pc.drivers.push_back(driver(L"Microsoft Print To PDF", L"Windows x64", L"C:\\d\\pdf.dll"));
    SnapshotHolder s(run_fake_check(&pc, 1));
    ASSERT_NE(s.s, nullptr);
    EXPECT_EQ(s->spoolerState, 4);
    EXPECT_EQ(s->printerCount, 1);
    EXPECT_EQ(s->printers[0].jobCount, 4);
    EXPECT_EQ(s->jobCount, 0);
    EXPECT_EQ(s->driverCount, 0);
    EXPECT_EQ(s->printers[0].driverFound, 0);
    EXPECT_EQ(s->printers[0].driverIndex, -1);
    EXPECT_EQ(s->pdfPrinterMissing, 0); // the printer's driver name still says PDF
    EXPECT_EQ(pc.called("file_missing"), 0);
    EXPECT_EQ(pc.posted, s.s);
}

void add_network_printer(FakePc* pc, const std::wstring& name, const std::wstring& address) {
    std::wstring port = L"IP_" + address + L"_" + name;
    pc->add_tcp_port(port, L"", address);
    pc->printers.push_back(printer(name, port));
}

TEST(Collector, TwoPrintersOnOneAddressAreTestedOnce) {
    FakePc pc;
    add_network_printer(&pc, L"A", L"127.0.0.5");
    add_network_printer(&pc, L"B", L"127.0.0.5");
    pc.printers.push_back(printer(L"C", L"TS001"));
    pc.printers.back().driver = L"X";
    add_network_printer(&pc, L"D", L"127.0.0.6");
    pc.printers.back().port = L"IP_127.0.0.6_D";
    // The same address in other letters is the same host.
    add_network_printer(&pc, L"E", L"LOCALHOST");
    add_network_printer(&pc, L"F", L"localhost");
    SnapshotHolder s(run_fake_check(&pc, 1));
    EXPECT_EQ(pc.netTargets, (std::vector<std::wstring>{L"127.0.0.5", L"127.0.0.6", L"LOCALHOST"}));
    EXPECT_EQ(s->networkTested, 1);
    EXPECT_EQ(s->printers[0].net.pageCount, 1);
    EXPECT_EQ(s->printers[1].net.pageCount, 1);
    EXPECT_STREQ(s->printers[1].net.target, L"127.0.0.5");
    EXPECT_EQ(s->printers[2].net.tested, 0);
    EXPECT_EQ(s->printers[3].net.pageCount, 2);
    EXPECT_EQ(s->printers[5].net.pageCount, 3);
    EXPECT_EQ(pc.cache.count, 3);
    EXPECT_EQ(pc.netAskSnmp, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(pc.netCommunities[0], L"public");
}

TEST(Collector, OneAddressRequestedOthersShowTheirCachedResults) {
    FakePc pc;
    add_network_printer(&pc, L"A", L"127.0.0.5");
    add_network_printer(&pc, L"B", L"127.0.0.6");
    add_network_printer(&pc, L"C", L"127.0.0.7");
    SnapshotHolder first(run_fake_check(&pc, 1));
    EXPECT_EQ(pc.netTargets.size(), 3u);
    SnapshotHolder second(run_fake_check(&pc, 1, L"127.0.0.6"));
    EXPECT_EQ(pc.netTargets.size(), 4u);
    EXPECT_EQ(pc.netTargets.back(), L"127.0.0.6");
    EXPECT_EQ(second->printers[0].net.pageCount, 1); // cached from the first check
    EXPECT_EQ(second->printers[1].net.pageCount, 4); // tested again
    EXPECT_EQ(second->printers[2].net.pageCount, 3);
    EXPECT_EQ(second->printers[0].net.tested, 1);

    SnapshotHolder quiet(run_fake_check(&pc, 0));
    EXPECT_EQ(pc.netTargets.size(), 4u); // no network traffic without network tests
    EXPECT_EQ(quiet->networkTested, 0);
    EXPECT_EQ(quiet->printers[1].net.pageCount, 4);
}

TEST(Collector, SixtyFifthAddressIsTestedAndShownButNotCached) {
    FakePc pc;
    for (int i = 0; i < 64; i++) {
        NetTestResult r = {};
        text_format(r.target, _countof(r.target), L"10.1.0.%d", i);
        r.tested = 1;
        net_cache_store(&pc.cache, &r);
    }
    add_network_printer(&pc, L"New", L"127.0.0.65");
    SnapshotHolder tested(run_fake_check(&pc, 1));
    EXPECT_EQ(pc.net_tests_of(L"127.0.0.65"), 1);
    EXPECT_EQ(tested->printers[0].net.tested, 1);
    EXPECT_STREQ(tested->printers[0].net.target, L"127.0.0.65");
    EXPECT_EQ(pc.cache.count, 64);
    SnapshotHolder later(run_fake_check(&pc, 0));
    EXPECT_EQ(later->printers[0].net.tested, 0);
    EXPECT_EQ(later->printers[0].net.pageCount, -1);
}

TEST(Collector, VirtualAndSharedPrintersInTheNetworkTests) {
    FakePc pc;
    add_network_printer(&pc, L"Pdf", L"127.0.0.8");
    pc.printers.back().driver = L"Microsoft Print To PDF";
    pc.printers.push_back(printer(L"\\\\127.0.0.9\\Shared", L"USB001"));
    Settings settings = default_settings();
    SnapshotHolder s(run_fake_check(&pc, 1, L"", &settings));
    EXPECT_EQ(s->printers[0].isVirtual, 1);
    EXPECT_EQ(pc.netTargets, std::vector<std::wstring>{L"127.0.0.9"});
    EXPECT_EQ(pc.netAskSnmp, std::vector<int>{0}); // a shared printer's host is a PC, not a printer
    EXPECT_EQ(s->printers[0].net.tested, 0);

    settings.checkVirtual = 1;
    settings.askPrinter = 0;
    SnapshotHolder t(run_fake_check(&pc, 1, L"", &settings));
    EXPECT_EQ(pc.net_tests_of(L"127.0.0.8"), 1);
    EXPECT_EQ(pc.netAskSnmp.back(), 0);

    // A virtual printer shows the cached result of its address even when it is not tested.
    settings.checkVirtual = 0;
    SnapshotHolder u(run_fake_check(&pc, 0, L"", &settings));
    EXPECT_EQ(u->printers[0].net.tested, 1);
}

TEST(Collector, WithoutANetworkTestInTheBuildCachedResultsStillShow) {
    FakePc pc;
    pc.withNetTest = 0;
    add_network_printer(&pc, L"A", L"127.0.0.5");
    NetTestResult r = {};
    text_copy(r.target, _countof(r.target), L"127.0.0.5");
    r.tested = 1;
    r.pingOk = 1;
    net_cache_store(&pc.cache, &r);
    SnapshotHolder s(run_fake_check(&pc, 1));
    EXPECT_EQ(s->networkTested, 1);
    EXPECT_EQ(s->printers[0].net.pingOk, 1);
}

TEST(Collector, FailedPostFreesTheSnapshotAndEndsTheCheck) {
    FakePc pc;
    pc.postSucceeds = 0;
    EXPECT_EQ(run_fake_check(&pc, 0), nullptr);
    EXPECT_EQ(pc.finishedWithoutPost, 1);
    EXPECT_EQ(pc.requestsFreed, 1);

    FakePc ok;
    SnapshotHolder s(run_fake_check(&ok, 0));
    EXPECT_EQ(ok.finishedWithoutPost, 0);
}

TEST(Collector, NoMemoryForTheSnapshot) {
    FakePc pc;
    pc.allocate = []() -> Snapshot* { return nullptr; };
    EXPECT_EQ(run_fake_check(&pc, 1), nullptr);
    EXPECT_EQ(pc.calls, (std::vector<std::string>{"new_snapshot", "free_request", "check_finished"}));
}

TEST(Collector, DemonstrationTakesTheOtherBranch) {
    FakePc pc;
    pc.printers.push_back(printer(L"Real", L"USB001"));
    CheckRequest* request = static_cast<CheckRequest*>(calloc(1, sizeof(CheckRequest)));
    Settings settings = default_settings();
    CollectorPlatform platform = pc.platform();
    SnapshotHolder s(collector_run(request, &settings, &platform, [](Snapshot* d) {
        PrinterRecord* p = snapshot_add_printer(d);
        text_copy(p->name, _countof(p->name), L"Made up");
    }));
    EXPECT_EQ(pc.calls, (std::vector<std::string>{"new_snapshot", "local_time", "free_request", "post"}));
    ASSERT_EQ(s->printerCount, 1);
    EXPECT_STREQ(s->printers[0].name, L"Made up");
}

} // namespace
