// The demonstration data: its records field by field where the findings depend on them, the
// fourteen findings and headlines the diagnosis derives, the search result, and the adders at
// their limits.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "core/demo.h"
#include "core/diagnose.h"
#include "core/findings.h"
#include "core/settings.h"
#include "net/installed.h"

namespace {
const LocalTime kNow = {2026, 12, 3, 9, 14, 5, 6, 0};
const uint64_t kNowUtc = 134095000000000000ULL;

struct Demo {
    Snapshot* s = snapshot_new();
    NetworkSearchResult* r = new NetworkSearchResult();
    FindingList* list = new FindingList();
    Settings settings;
    Demo() {
        settings_defaults(&settings);
        build_demo_snapshot(s, &kNow, kNowUtc);
        build_demo_search_result(r, &kNow);
        mark_installed(r, s);
    }
    ~Demo() {
        snapshot_free(s);
        delete r;
        delete list;
    }
    void diagnose_demo(const NetworkSearchResult* search) {
        DiagnosisInput input = {s, search, &settings, 1};
        diagnose_at(&input, list, kNowUtc);
    }
};
} // namespace

TEST(DemoSnapshot, SnapshotWideValues) {
    Demo d;
    const Snapshot* s = d.s;
    EXPECT_EQ(4, s->spoolerState);
    EXPECT_EQ(2, s->spoolerStartType);
    EXPECT_EQ(1, s->spoolFolderRead);
    EXPECT_EQ(1, s->adminLogRead);
    EXPECT_EQ(1, s->networkTested);
    EXPECT_STREQ(L"C:\\Windows\\System32\\spool\\PRINTERS", s->spoolFolder);
    EXPECT_STREQ(L"Service Drive - HP LaserJet Pro M404", s->defaultPrinter);
    EXPECT_EQ(1, s->windowsManagesDefault);
    EXPECT_EQ(1, s->operationalLogKnown);
    EXPECT_EQ(0, s->operationalLogEnabled);
    EXPECT_EQ(0, s->pdfPrinterMissing);
    EXPECT_EQ(0, s->runningAsSystem);
    EXPECT_STREQ(L"demo", s->userName);
    EXPECT_STREQ(L"demo", s->sessionUserName);
    EXPECT_EQ(6, s->spoolFileCount);
    EXPECT_EQ(412000u, s->spoolBytes);
    EXPECT_EQ(2026, s->checkTime.year);
    EXPECT_EQ(14, s->checkTime.hour);
    EXPECT_EQ(7, s->printerCount);
    EXPECT_EQ(5, s->jobCount);
    EXPECT_EQ(7, s->driverCount);
    EXPECT_EQ(3, s->logCount);
}

TEST(DemoSnapshot, PrintersInOrderWithTheirPortsAndKinds) {
    Demo d;
    struct Row {
        const wchar_t *name, *driver, *port;
        ConnectionKind kind;
        const wchar_t* address;
    } rows[] = {
        {L"Service Drive - HP LaserJet Pro M404", L"HP LaserJet Pro M404-M405 PCL-6 (V4)",
         L"IP_192.168.10.41", KindTcpIp, L"192.168.10.41"},
        {L"Parts Counter - Lexmark MS621", L"Lexmark MS620 Series XL", L"IP_192.168.10.57", KindTcpIp,
         L"192.168.10.57"},
        {L"F&I Office - Kyocera ECOSYS M3655", L"Kyocera ECOSYS M3655idn KX", L"IP_192.168.10.62", KindTcpIp,
         L"192.168.10.62"},
        {L"Cashier - Brother HL-L5200DW", L"Brother HL-L5200DW series", L"BRN3C2AF4A1B2C3", KindTcpIp,
         L"192.168.10.70"},
        {L"Showroom - Canon iR-ADV C3530 (Copy 1)", L"Canon Generic Plus PCL6",
         L"WSD-3f1c9a7e-22b1-4c10-9d55-0a1b2c3d4e5f", KindWsd, L""},
        {L"Title Clerk - Epson LQ-590II (forms)", L"EPSON LQ-590II ESC/P2", L"USB001", KindUsb, L""},
        {L"Microsoft Print to PDF", L"Microsoft Print To PDF", L"PORTPROMPT:", KindBuiltIn, L""},
    };
    for (int i = 0; i < 7; i++) {
        const PrinterRecord& p = d.s->printers[i];
        SCOPED_TRACE(i);
        EXPECT_STREQ(rows[i].name, p.name);
        EXPECT_STREQ(rows[i].driver, p.driverName);
        EXPECT_STREQ(rows[i].port, p.portName);
        EXPECT_EQ(rows[i].kind, p.kind);
        EXPECT_STREQ(rows[i].address, p.address);
        EXPECT_EQ(9100, p.portNumber);
        EXPECT_EQ(1, p.protocol);
        EXPECT_EQ(1, p.driverFound);
        EXPECT_EQ(i, p.driverIndex);
        EXPECT_EQ(rows[i].address[0] ? 1 : 0, p.net.tested);
        EXPECT_EQ(rows[i].address[0] ? 1 : 0, p.net.resolved);
        EXPECT_STREQ(rows[i].address, p.net.ipText);
        EXPECT_STREQ(rows[i].address, p.net.target);
    }
    // The Brother's port is its own network name: BRN and the twelve digits of its MAC.
    EXPECT_STREQ(L"3C-2A-F4-A1-B2-C3", d.s->printers[3].net.mac);
    EXPECT_EQ(0, wcsncmp(d.s->printers[3].net.hostName, L"BRN3C2AF4A1B2C3.", 16));
    EXPECT_EQ(1, d.s->printers[0].isDefault);
    EXPECT_EQ(0x80u, d.s->printers[1].status);
    EXPECT_EQ(0x1u, d.s->printers[4].status);
    EXPECT_EQ(1, d.s->printers[4].driverFilesMissing);
    EXPECT_EQ(0x400u, d.s->printers[5].attributes);
    EXPECT_EQ(1, d.s->printers[5].useOffline);
    EXPECT_EQ(1, d.s->printers[6].isVirtual);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(0, d.s->printers[i].isVirtual);
}

TEST(DemoSnapshot, NetworkResultsOfThePrinters) {
    Demo d;
    const NetTestResult& hp = d.s->printers[0].net;
    EXPECT_EQ(1, hp.pingOk);
    EXPECT_EQ(2, hp.pingMs);
    int hp_ports[6] = {1, 0, 1, 1, 1, 0};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(hp_ports[i], hp.portOpen[i]) << i;
    EXPECT_EQ(1, hp.snmpAsked);
    EXPECT_EQ(1, hp.snmpAnswered);
    EXPECT_STREQ(L"HP LaserJet Pro M404dn", hp.model);
    EXPECT_EQ(2, hp.deviceStatus);
    EXPECT_EQ(3, hp.printerStatus);
    EXPECT_EQ(1, hp.haveErrorState);
    EXPECT_EQ(0, hp.errorBits);
    EXPECT_EQ(48213, hp.pageCount);
    ASSERT_EQ(1, hp.supplyCount);
    EXPECT_STREQ(L"Black Cartridge HP CF258A", hp.supplies[0].description);
    EXPECT_EQ(62, hp.supplies[0].level);
    EXPECT_EQ(100, hp.supplies[0].maxCapacity);
    EXPECT_STREQ(L"3C-52-82-1A-77-01", hp.mac);
    EXPECT_STREQ(L"PHBQK41022", hp.serial);
    EXPECT_EQ(1, d.s->printers[0].snmpEnabled);

    const PrinterRecord& lex = d.s->printers[1];
    EXPECT_EQ(0, lex.net.pingOk);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(0, lex.net.portOpen[i]);
    EXPECT_EQ(1, lex.net.snmpAsked);
    EXPECT_EQ(0, lex.net.snmpAnswered);
    EXPECT_EQ(-1, lex.net.pageCount);
    EXPECT_STREQ(L"00-21-B7-4C-19-AA", lex.knownMac);
    EXPECT_STREQ(L"4517294X8C", lex.knownSerial);

    const NetTestResult& kyo = d.s->printers[2].net;
    EXPECT_EQ(3, kyo.pingMs);
    EXPECT_EQ(5, kyo.deviceStatus);
    EXPECT_EQ(1, kyo.printerStatus);
    EXPECT_EQ(0x2400, kyo.errorBits);
    EXPECT_EQ(211904, kyo.pageCount);
    EXPECT_EQ(1260, kyo.supplies[0].level);
    EXPECT_EQ(21000, kyo.supplies[0].maxCapacity);
    EXPECT_STREQ(L"TK-3182 Black Toner", kyo.supplies[0].description);

    const NetTestResult& bro = d.s->printers[3].net;
    EXPECT_EQ(4, bro.pingMs);
    EXPECT_EQ(1, bro.portOpen[0]);
    EXPECT_EQ(1, bro.portOpen[3]);
    EXPECT_EQ(1, bro.snmpAsked);
    EXPECT_EQ(0, bro.snmpAnswered);
    for (int i = 4; i < 7; i++)
        EXPECT_EQ(0, d.s->printers[i].net.tested);
}

TEST(DemoSnapshot, JobsDriversAndLog) {
    Demo d;
    struct JobRow {
        int printer;
        const wchar_t* doc;
        uint32_t status;
        int pages, age;
        const wchar_t* statusText;
    } jobs[] = {{1, L"Parts Invoice 448120", 0x12, 2, 47, L"Error, Printing"},
                {1, L"Parts Invoice 448121", 0, 2, 44, L"Waiting"},
                {1, L"Pick Ticket 99172", 0, 1, 31, L"Waiting"},
                {2, L"Retail Installment Contract", 0x10, 6, 4, L"Printing"},
                {4, L"Window Sticker - Stock 7H1142", 0x1, 1, 12, L"Paused"}};
    for (int i = 0; i < 5; i++) {
        const JobRecord& j = d.s->jobs[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(jobs[i].printer, j.printerIndex);
        EXPECT_STREQ(jobs[i].doc, j.document);
        EXPECT_EQ(jobs[i].status, j.status);
        EXPECT_EQ(jobs[i].pages, j.totalPages);
        EXPECT_EQ(jobs[i].pages * 48000, j.size);
        EXPECT_EQ(jobs[i].age, j.ageMinutes);
        EXPECT_EQ(40 + i, j.jobId);
        EXPECT_EQ(i + 1, j.position);
        EXPECT_STREQ(jobs[i].statusText, j.statusText);
        EXPECT_NE(0, j.userName[0]);
    }
    EXPECT_STREQ(d.s->jobs[0].userName, d.s->jobs[1].userName);
    EXPECT_STRNE(d.s->jobs[0].userName, d.s->jobs[2].userName);
    EXPECT_STRNE(d.s->jobs[2].userName, d.s->jobs[3].userName);
    EXPECT_STREQ(L"reception", d.s->jobs[4].userName);
    int counts[7] = {0, 3, 1, 0, 1, 0, 0};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(counts[i], d.s->printers[i].jobCount) << i;

    struct DriverRow {
        const wchar_t *date, *version, *maker;
        int type;
        DriverLanguage language;
    } drivers[] = {{L"10/14/2024", L"61.290.1.25218", L"HP", 4, LanguagePcl6},
                   {L"03/02/2021", L"3.1.0.0", L"Lexmark", 3, LanguageNotStated},
                   {L"08/19/2023", L"8.3.1006", L"Kyocera", 3, LanguagePcl6},
                   {L"05/11/2019", L"1.4.0.0", L"Brother", 3, LanguageNotStated},
                   {L"01/23/2024", L"3.30.0.0", L"Canon", 3, LanguagePcl6Universal},
                   {L"06/21/2006", L"6.1.7600.16385", L"EPSON", 3, LanguageEscP},
                   {L"06/21/2006", L"10.0.26100.1", L"Microsoft", 4, LanguagePdfFile}};
    for (int i = 0; i < 7; i++) {
        const DriverRecord& r = d.s->drivers[i];
        SCOPED_TRACE(i);
        EXPECT_STREQ(d.s->printers[i].driverName, r.name);
        EXPECT_STREQ(L"Windows x64", r.environment);
        EXPECT_STREQ(drivers[i].date, r.date);
        EXPECT_STREQ(drivers[i].version, r.versionText);
        EXPECT_STREQ(drivers[i].maker, r.maker);
        EXPECT_EQ(drivers[i].type, r.version);
        EXPECT_EQ(drivers[i].language, r.language);
        EXPECT_EQ(1, r.printerCount);
        EXPECT_EQ(i == 4 ? 1 : 0, r.fileMissing);
    }
    EXPECT_STREQ(L"C:\\Windows\\System32\\spool\\DRIVERS\\x64\\3\\cnp60ma64.dll", d.s->drivers[4].driverPath);

    const wchar_t* times[] = {L"today 9:14 AM", L"today 8:52 AM", L"yesterday 4:40 PM"};
    int ids[] = {372, 808, 315};
    for (int i = 0; i < 3; i++) {
        const LogEntry& e = d.s->logEntries[i];
        EXPECT_STREQ(times[i], e.timeText);
        EXPECT_EQ(ids[i], e.eventId);
        EXPECT_EQ(2, e.level);
        EXPECT_EQ(0, e.channel);
        EXPECT_EQ(kNowUtc, e.time);
    }
    std::wstring first = d.s->logEntries[0].message;
    EXPECT_NE(std::wstring::npos, first.find(L"Parts Invoice 448120"));
    EXPECT_NE(std::wstring::npos, first.find(d.s->jobs[0].userName));
    EXPECT_NE(std::wstring::npos, first.find(L"Parts Counter - Lexmark MS621"));
    EXPECT_NE(std::wstring::npos, first.find(L"0x709"));
    EXPECT_STREQ(L"The print spooler failed to load a plug-in module "
                 L"C:\\Windows\\System32\\spool\\DRIVERS\\x64\\3\\lmud1n40.dll, error code 0x7E.",
                 d.s->logEntries[1].message);
    EXPECT_STREQ(
        L"The print spooler failed to share printer Showroom - Canon iR-ADV C3530 (Copy 1) with shared "
        L"resource name Showroom. Error 2114.",
        d.s->logEntries[2].message);
}

TEST(DemoSearchResult, FiveEntriesWithTheMovedLexmark) {
    Demo d;
    const NetworkSearchResult* r = d.r;
    ASSERT_EQ(5, r->count);
    EXPECT_EQ(254, r->addressesSwept);
    EXPECT_STREQ(L"192.168.10.0/24", r->rangesText);
    EXPECT_EQ(kNow.minute, r->startedAt.minute);
    const wchar_t* ips[] = {L"192.168.10.41", L"192.168.10.62", L"192.168.10.70", L"192.168.10.88",
                            L"192.168.10.95"};
    const wchar_t* serials[] = {L"PHBQK41022", L"VCF9X04512", L"U64291J7N123456", L"4517294X8C",
                                L"CNBRM8T1XQ"};
    for (int i = 0; i < 5; i++) {
        const FoundPrinter& f = r->printers[i];
        EXPECT_STREQ(ips[i], f.ip);
        EXPECT_STREQ(serials[i], f.serial);
        EXPECT_EQ(5, f.ports);
        EXPECT_EQ(10000 + 7331 * i, f.pageCount);
        EXPECT_EQ((uint32_t)i, f.ipValue);
        EXPECT_EQ(i == 3, f.hostName[0] == 0) << i;
    }
    EXPECT_STREQ(L"NPI1A7701", r->printers[0].sysName);
    EXPECT_STREQ(L"BRN3C2AF4A1B2C3", r->printers[2].sysName);
    EXPECT_STREQ(L"ET0021B74C19AA", r->printers[3].sysName);
    EXPECT_STREQ(L"NPI33105E", r->printers[4].sysName);
    EXPECT_STREQ(d.s->printers[1].knownMac, r->printers[3].mac);
    EXPECT_STREQ(L"Lexmark MS621", r->printers[3].model);
    // Installed as: the three answering network printers; the Lexmark at its new address and the
    // colour HP are not.
    EXPECT_STREQ(L"Service Drive - HP LaserJet Pro M404", r->printers[0].installedAs);
    EXPECT_STREQ(L"F&I Office - Kyocera ECOSYS M3655", r->printers[1].installedAs);
    EXPECT_STREQ(L"Cashier - Brother HL-L5200DW", r->printers[2].installedAs);
    EXPECT_STREQ(L"", r->printers[3].installedAs);
    EXPECT_STREQ(L"", r->printers[4].installedAs);
}

TEST(DemoSearchResult, OneBuilderForTheWindowTheSearchAndTheReport) {
    NetworkSearchResult* r = new_demo_search_result();
    ASSERT_NE(nullptr, r);
    LocalTime now;
    uint64_t utc = 0;
    demo_clock(&now, &utc);
    EXPECT_EQ(5, r->count);
    EXPECT_EQ(now.year, r->startedAt.year) << "stamped with the demonstration clock";
    free(r);
}

TEST(DemoDiagnosis, FourteenFindingsInOrderWithTheirHeadlines) {
    Demo d;
    d.diagnose_demo(d.r);
    struct Row {
        Severity severity;
        int printer;
        const wchar_t* title;
    } rows[] = {
        {SeverityProblem, 1, L"Nothing answers at the printer's address"},
        {SeverityProblem, 1, L"The printer has moved to 192.168.10.88"},
        {SeverityProblem, 1, L"A job has an error and is blocking the queue"},
        {SeverityProblem, 2, L"The printer says: paper jam"},
        {SeverityProblem, 3,
         L"Windows shows this printer Offline, but it is on the network and accepting jobs"},
        {SeverityProblem, 4, L"The printer is paused"},
        {SeverityProblem, 4, L"\"Driver is unavailable\" \x2014 the driver's files are missing"},
        {SeverityProblem, 5, L"\"Use Printer Offline\" is switched on"},
        {SeverityHeadsUp, 2, L"The printer says: toner or ink is low"},
        {SeverityHeadsUp, 4, L"Uses a WSD port (the least reliable kind of connection)"},
        {SeverityNote, 4, L"This looks like a duplicate printer"},
        {SeverityNote, -1, L"Windows is allowed to change the default printer by itself"},
        {SeverityNote, -1, L"Windows' detailed print log is switched off"},
        {SeverityNote, -1, L"Windows logged print errors in the last 24 hours"},
    };
    ASSERT_EQ(14, d.list->count);
    for (int i = 0; i < 14; i++) {
        const Finding& f = d.list->items[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].severity, f.severity);
        EXPECT_EQ(rows[i].printer, f.printerIndex);
        EXPECT_STREQ(rows[i].title, f.title);
    }
    // The search result exists, so "nothing answers" offers no search; the move can be fixed.
    EXPECT_EQ(NoFix, d.list->items[0].fix);
    EXPECT_EQ(PointToNewAddress, d.list->items[1].fix);
    EXPECT_STREQ(L"IP_192.168.10.57|192.168.10.88", d.list->items[1].subject);
    EXPECT_NE(nullptr, wcsstr(d.list->items[13].text, L"3 "));

    EXPECT_STREQ(L"No problems found - reachable on the network", d.s->printers[0].headline);
    EXPECT_STREQ(L"Built into Windows or a PDF maker - not checked", d.s->printers[6].headline);
    EXPECT_STREQ(L"Nothing answers at the printer's address  (+2 more)", d.s->printers[1].headline);
    EXPECT_EQ(SeverityProblem, d.s->printers[5].worstSeverity);
    EXPECT_EQ(4, d.s->printers[4].findingCount);
}

TEST(DemoDiagnosis, WithoutASearchResultTheSilentPrinterOffersTheSearch) {
    Demo d;
    d.diagnose_demo(nullptr);
    ASSERT_EQ(13, d.list->count);
    EXPECT_STREQ(L"Nothing answers at the printer's address", d.list->items[0].title);
    EXPECT_EQ(SearchNetwork, d.list->items[0].fix);
    EXPECT_STREQ(L"A job has an error and is blocking the queue", d.list->items[1].title);
}

TEST(DemoBuilders, AddersAtTheirLimits) {
    Snapshot* s = snapshot_new();
    ASSERT_NE(nullptr, s);
    s->driverCount = kMaxDrivers;
    PrinterRecord* p = add_demo_printer(s, L"A", L"Some Driver (V4)", L"USB001", KindUsb, L"");
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(-1, p->driverIndex) << "no driver record fits, so the printer has none";
    EXPECT_EQ(-1, p->net.pageCount);
    EXPECT_EQ(0, p->net.tested);

    s->printerCount = kMaxPrinters;
    EXPECT_EQ(nullptr, add_demo_printer(s, L"B", L"D", L"P", KindUsb, L"10.0.0.1"));
    EXPECT_EQ(kMaxPrinters, s->printerCount);

    EXPECT_EQ(nullptr, add_demo_job(s, -1, L"doc", L"who", 0, 1, 1));
    EXPECT_EQ(nullptr, add_demo_job(s, kMaxPrinters, L"doc", L"who", 0, 1, 1));
    EXPECT_EQ(0, s->jobCount);
    s->jobCount = kMaxJobs;
    int before = s->printers[0].jobCount;
    EXPECT_EQ(nullptr, add_demo_job(s, 0, L"doc", L"who", 0, 1, 1));
    EXPECT_EQ(before, s->printers[0].jobCount) << "a dropped job is not counted";
    s->logCount = kMaxLogEntries;
    EXPECT_EQ(nullptr, add_demo_log_entry(s, L"now", 1, L"m", 0));

    // Long names are cut at their fields and stay terminated.
    Snapshot* t = snapshot_new();
    std::wstring long_name(400, L'x');
    p = add_demo_printer(t, long_name.c_str(), long_name.c_str(), long_name.c_str(), KindTcpIp,
                         long_name.c_str());
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(259u, wcslen(p->name));
    EXPECT_EQ(199u, wcslen(p->driverName));
    EXPECT_EQ(259u, wcslen(p->portName));
    EXPECT_EQ(199u, wcslen(p->address));
    EXPECT_EQ(63u, wcslen(p->net.ipText));
    EXPECT_EQ(199u, wcslen(t->drivers[0].name));
    JobRecord* j = add_demo_job(t, 0, long_name.c_str(), long_name.c_str(), 0x6, 3, 5);
    ASSERT_NE(nullptr, j);
    EXPECT_EQ(199u, wcslen(j->document));
    EXPECT_EQ(79u, wcslen(j->userName));
    EXPECT_STREQ(L"Error, Deleting", j->statusText);
    LogEntry* e = add_demo_log_entry(t, long_name.c_str(), 7, long_name.c_str(), 5);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(39u, wcslen(e->timeText));
    EXPECT_EQ(400u, wcslen(e->message)) << "the message field holds 599";
    snapshot_free(s);
    snapshot_free(t);
}

TEST(DemoBuilders, TheV4AndPdfDriversAreType4) {
    Snapshot* s = snapshot_new();
    add_demo_printer(s, L"A", L"Something (v4)", L"USB001", KindUsb, L"");
    add_demo_printer(s, L"B", L"Acme pdf maker", L"USB002", KindUsb, L"");
    add_demo_printer(s, L"C", L"Acme V4 without parentheses", L"USB003", KindUsb, L"");
    EXPECT_EQ(4, s->drivers[0].version);
    EXPECT_EQ(4, s->drivers[1].version);
    EXPECT_EQ(3, s->drivers[2].version);
    snapshot_free(s);
}

TEST(DemoBuilders, TheClockGivesAPlausibleDate) {
    LocalTime now = {};
    uint64_t utc = 0;
    demo_clock(&now, &utc);
    EXPECT_GE(now.year, 2020);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GT(utc, 132000000000000000ULL); // after 2019
}
