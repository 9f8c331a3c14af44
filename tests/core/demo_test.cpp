// The demonstration data: what it must show (every view, the fourteen findings with their verdict,
// the moved printer recognised by its MAC), and the adders at their limits.
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
        DiagnosisInput input = {s, search, &settings, 1, 0};
        diagnose_at(&input, list, kNowUtc);
    }
};
} // namespace

// What the demonstration must show: a printer of every common connection, something in every
// bottom view, and nothing that could have come from this PC.
TEST(DemoSnapshot, ShowsEveryViewAndEveryKindOfConnection) {
    Demo d;
    const Snapshot* s = d.s;
    EXPECT_STREQ(L"demo", s->userName) << "made up, not read from this PC";
    EXPECT_EQ(4, s->spoolerState) << "the spooler runs, so the printers' own faults show";
    bool kinds[9] = {};
    int network_tested = 0, with_driver = 0;
    for (int i = 0; i < s->printerCount; i++) {
        const PrinterRecord& p = s->printers[i];
        kinds[p.kind] = true;
        network_tested += p.net.tested;
        with_driver += p.driverIndex >= 0;
        EXPECT_NE(L'\0', p.name[0]);
    }
    for (ConnectionKind k : {KindTcpIp, KindWsd, KindUsb, KindBuiltIn})
        EXPECT_TRUE(kinds[k]) << "a printer on connection kind " << k;
    EXPECT_GE(network_tested, 3) << "network printers with test results";
    EXPECT_EQ(s->printerCount, with_driver) << "every printer has its driver record";
    EXPECT_GT(s->jobCount, 0);
    EXPECT_GT(s->driverCount, 0);
    EXPECT_GT(s->logCount, 0);
    int defaults = 0;
    for (int i = 0; i < s->printerCount; i++)
        defaults += s->printers[i].isDefault;
    EXPECT_EQ(1, defaults);
}

TEST(DemoSearchResult, TheMovedPrinterIsRecognisedByItsMacAndNothingElseMoved) {
    Demo d;
    const NetworkSearchResult* r = d.r;
    ASSERT_EQ(5, r->count);
    int installed = 0, moved = -1;
    for (int i = 0; i < r->count; i++) {
        installed += r->printers[i].installedAs[0] != 0;
        if (wcscmp(r->printers[i].mac, d.s->printers[1].knownMac) == 0) moved = i;
        if (i) {
            EXPECT_LT(r->printers[i - 1].ipValue, r->printers[i].ipValue) << "sorted by address";
        }
    }
    EXPECT_EQ(3, installed) << "the three answering network printers";
    ASSERT_GE(moved, 0) << "the silent printer's remembered MAC answers at another address";
    EXPECT_STREQ(L"", r->printers[moved].installedAs) << "no installed printer uses the new address";
    EXPECT_STREQ(L"192.168.10.88", r->printers[moved].ip);
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
    EXPECT_EQ(SeverityProblem, d.list->items[0].severity) << "a red verdict";
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
    const wchar_t* rules[] = {L"printer-not-answering", L"printer-moved",      L"job-error",
                              L"printer-reports-jam",   L"snmp-false-offline", L"printer-paused",
                              L"driver-files-missing",  L"use-printer-offline"};
    for (int i = 0; i < 8; i++)
        EXPECT_STREQ(rules[i], d.list->items[i].rule) << i;
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
