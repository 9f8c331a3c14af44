// The full report and the summary: the header with its counts and plurals, the Windows version,
// the findings of each kind, the printers, found printers, drivers and log sections, and the
// CR LF copy that is written to files.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "core/findings.h"
#include "core/session.h"
#include "core/state.h"
#include "reports/details.h"
#include "reports/json_report.h"
#include "reports/report.h"
#include "tests/support/json_python.h"
#include "tests/support/test_pc.h"

namespace {
struct Report {
    Snapshot* s = snapshot_new();
    FindingList* list = new FindingList();
    NetworkSearchResult* search = nullptr;
    ReportInput in = {};
    Report() {
        in.snapshot = s;
        in.findings = list;
        in.version = L"1.1.0";
        wcscpy(in.pc.computerName, L"FRONTDESK");
        wcscpy(in.pc.userName, L"ann");
        wcscpy(in.pc.productName, L"Windows 10 Pro");
        wcscpy(in.pc.displayVersion, L"22H2");
        wcscpy(in.pc.currentBuild, L"19045");
        s->checkTime = {2026, 3, 1, 5, 7, 0, 0, 0};
        s->spoolerState = 4;
        s->spoolerStartType = 2;
    }
    ~Report() {
        snapshot_free(s);
        delete list;
        delete search;
    }
    PrinterRecord* add_printer(const wchar_t* name) {
        PrinterRecord* p = snapshot_add_printer(s);
        wcscpy(p->name, name);
        wcscpy(p->driverName, L"Acme");
        wcscpy(p->portName, L"USB001");
        p->kind = KindUsb;
        return p;
    }
    std::wstring text(int full, size_t cap = kReportCapacity) {
        std::wstring buf(cap, L'#');
        buf[0] = 0;
        build_report_of(&in, full, &buf[0], cap);
        return buf.c_str();
    }
};

std::wstring line_starting(const std::wstring& text, const wchar_t* start) {
    size_t at = text.find(start);
    if (at == std::wstring::npos) return L"(missing)";
    return text.substr(at, text.find(L'\n', at) - at);
}
} // namespace

TEST(Report, SummaryWhole) {
    Report r;
    r.add_printer(L"Front");
    wcscpy(r.s->defaultPrinter, L"Front");
    add_finding_to(r.list, L"test-rule", SeverityProblem, 0, ResumePrinter, L"Front",
                   L"The printer is paused", L"x");
    add_finding_to(r.list, L"test-rule", SeverityHeadsUp, -1, NoFix, L"", L"Spooler start", L"y");
    add_finding_to(r.list, L"test-rule", SeverityHeadsUp, 0, NoFix, L"Front", L"Second", L"z");
    add_finding_to(r.list, L"test-rule", SeverityNote, -1, NoFix, L"", L"A note", L"n");
    EXPECT_EQ(L"VANTREL SUMMARY \x2014 03/05/2026 7:00 AM\n"
              L"PC: FRONTDESK   User: ann\n"
              L"Result: 1 problem, 2 heads-ups, 1 printer, 0 jobs waiting\n"
              L"Print Spooler: running, startup automatic\n"
              L"Default printer: Front\n"
              L"\n===== FINDINGS =====\n"
              L"[PROBLEM] Front: The printer is paused\n"
              L"[Heads-up] This PC: Spooler start\n"
              L"[Heads-up] Front: Second\n",
              r.text(0));
}

TEST(Report, SummaryWithOnlyNotesListsThemAllAndTheAllClear) {
    Report r;
    add_finding_to(r.list, L"test-rule", SeverityNote, -1, NoFix, L"", L"Note one", L"a");
    add_finding_to(r.list, L"test-rule", SeverityNote, -1, NoFix, L"", L"Note two", L"b");
    std::wstring t = r.text(0);
    EXPECT_NE(std::wstring::npos, t.find(L"[Note] This PC: Note one\n[Note] This PC: Note two\n"));
    EXPECT_NE(std::wstring::npos, t.find(L"Result: 0 problems, 0 heads-ups, 0 printers, 0 jobs waiting\n"));
    r.list->count = 0;
    add_finding_to(r.list, L"test-rule", SeverityOk, -1, NoFix, L"", L"No printers are installed on this PC",
                   L"w");
    EXPECT_NE(std::wstring::npos, r.text(0).find(L"[OK] This PC: No printers are installed on this PC\n"));
}

TEST(Report, CountsAndPlurals) {
    Report r;
    for (int i = 0; i < 2; i++)
        r.add_printer(L"P");
    JobRecord* j = snapshot_add_job(r.s);
    j->printerIndex = 0;
    add_finding_to(r.list, L"test-rule", SeverityProblem, 0, NoFix, L"", L"a", L"");
    add_finding_to(r.list, L"test-rule", SeverityProblem, 1, NoFix, L"", L"b", L"");
    add_finding_to(r.list, L"test-rule", SeverityHeadsUp, 1, NoFix, L"", L"c", L"");
    EXPECT_EQ(L"Result: 2 problems, 1 heads-up, 2 printers, 1 job waiting",
              line_starting(r.text(0), L"Result: "));
    r.s->printerCount = kMaxPrinters;
    r.s->jobCount = kMaxJobs;
    r.list->count = kMaxFindings;
    for (int i = 0; i < kMaxFindings; i++)
        r.list->items[i].severity = SeverityProblem;
    EXPECT_EQ(L"Result: 240 problems, 0 heads-ups, 64 printers, 200 jobs waiting",
              line_starting(r.text(0), L"Result: "));
    EXPECT_EQ(L"(missing)", line_starting(r.text(0), L"Printer drivers: "));
    // What Windows listed beyond the capacities is counted in the header.
    r.s->printersLeftOut = 4;
    r.s->jobsLeftOut = 30;
    r.s->driverCount = kMaxDrivers;
    r.s->driversLeftOut = 20;
    EXPECT_EQ(L"Result: 240 problems, 0 heads-ups, 64 of 68 printers shown, 200 of 230 waiting jobs shown",
              line_starting(r.text(0), L"Result: "));
    EXPECT_EQ(L"Printer drivers: 150 of 170 drivers shown", line_starting(r.text(0), L"Printer drivers: "));
}

TEST(Report, HeaderMarksSpoolerAndSessionNotes) {
    Report r;
    r.in.demo = 1;
    r.in.elevated = 1;
    r.s->spoolerState = 1;
    r.s->spoolerStartType = 4;
    wcscpy(r.s->userName, L"tech");
    wcscpy(r.s->sessionUserName, L"Ann");
    r.s->operationalLogKnown = 1;
    r.s->operationalLogEnabled = 1;
    std::wstring t = r.text(1);
    EXPECT_EQ(0u, t.find(L"VANTREL REPORT (DEMO DATA) \x2014 03/05/2026 7:00 AM\nPC: FRONTDESK   User: ann "
                         L"(administrator)\n"
                         L"Windows: Windows 10 Pro 22H2 (build 19045)\nVantrel version: 1.1.0\n"));
    EXPECT_NE(std::wstring::npos,
              t.find(L"Print Spooler: STOPPED, startup DISABLED\nDefault printer: (none)\n"
                     L"NOTE: running as tech; the person signed in is Ann (their own printers may "
                     L"be missing)\nWindows' detailed print log: on\n"));
    wcscpy(r.s->sessionUserName, L"TECH");
    EXPECT_EQ(std::wstring::npos, r.text(1).find(L"NOTE:")) << "the same account in other letters";
    r.s->runningAsSystem = 1;
    r.s->sessionUserName[0] = 0;
    EXPECT_NE(std::wstring::npos,
              r.text(1).find(L"NOTE: running as SYSTEM; the person signed in is nobody ("));
    int states[] = {0, 2, 3, 5, 7};
    for (int state : states) {
        r.s->spoolerState = state;
        EXPECT_EQ(state == 0 ? L"Print Spooler: unknown, startup manual"
                             : L"Print Spooler: changing state, startup manual",
                  line_starting((r.s->spoolerStartType = 3, r.text(0)), L"Print Spooler: "));
    }
    r.s->spoolerStartType = 0;
    EXPECT_EQ(L"Print Spooler: changing state, startup unknown",
              line_starting(r.text(0), L"Print Spooler: "));
    r.s->operationalLogKnown = 0;
    EXPECT_EQ(std::wstring::npos, r.text(0).find(L"detailed print log"));
}

TEST(Report, WindowsElevenAndTheTimeStamp) {
    ReportPcInfo pc = {};
    wchar_t out[400];
    wcscpy(pc.productName, L"Windows 10 Pro");
    wcscpy(pc.displayVersion, L"24H2");
    wcscpy(pc.currentBuild, L"26100");
    windows_version_text(&pc, out, _countof(out));
    EXPECT_STREQ(L"Windows 11 Pro 24H2 (build 26100)", out);
    wcscpy(pc.productName, L"windows 10 Enterprise");
    windows_version_text(&pc, out, _countof(out));
    EXPECT_STREQ(L"windows 11 Enterprise 24H2 (build 26100)", out);
    wcscpy(pc.currentBuild, L"21999");
    windows_version_text(&pc, out, _countof(out));
    EXPECT_STREQ(L"windows 10 Enterprise 24H2 (build 21999)", out);
    wcscpy(pc.productName, L"Windows Server 2022");
    wcscpy(pc.currentBuild, L"26100");
    windows_version_text(&pc, out, _countof(out));
    EXPECT_STREQ(L"Windows Server 2022 24H2 (build 26100)", out);
    pc = ReportPcInfo{};
    windows_version_text(&pc, out, _countof(out));
    EXPECT_STREQ(L"  (build )", out) << "unreadable values stay empty";
}

TEST(Report, FullReportSections) {
    Report r;
    PrinterRecord* p = r.add_printer(L"Front");
    wcscpy(p->headline, L"No problems found");
    DriverRecord* d = snapshot_add_driver(r.s);
    wcscpy(d->name, L"Acme");
    wcscpy(d->environment, L"Windows x64");
    d->version = 3;
    d->printerCount = 2;
    d->fileMissing = 1;
    d->language = LanguagePcl5;
    LogEntry* e = snapshot_add_log_entry(r.s);
    wcscpy(e->timeText, L"today 1:00 PM");
    e->eventId = 372;
    wcscpy(e->message, L"Admin message");
    e = snapshot_add_log_entry(r.s);
    wcscpy(e->timeText, L"today 2:00 PM");
    e->eventId = 307;
    e->channel = 1;
    wcscpy(e->message, L"Detail message");
    add_finding_to(r.list, L"test-rule", SeverityNote, 0, NoFix, L"", L"A note", L"Its text");
    add_finding_to(r.list, L"test-rule", SeverityNote, 57, NoFix, L"", L"Bad index", L"T");
    std::wstring t = r.text(1);
    EXPECT_NE(std::wstring::npos,
              t.find(L"\n===== FINDINGS =====\n[Note] Front: A note\n    Its text\n\n"
                     L"[Note] This PC: Bad index\n    T\n\n"
                     L"\n===== PRINTERS =====\n\n----------------------------------------\nFront\n"));
    EXPECT_NE(
        std::wstring::npos,
        t.find(
            L"\n===== PRINTERS FOUND ON THE NETWORK =====\n(the network was not searched; use Find Printers "
            L"on "
            L"the Home tab)\n\n===== PRINTER DRIVERS INSTALLED =====\n"
            L"Acme   [maker not stated, version ?, dated ?, type 3, Windows x64, language PCL 5]   used by 2 "
            L"printers   FILES MISSING\n"
            L"\n===== WINDOWS PRINT LOG (newest first) =====\n(not read)\n"
            L"today 1:00 PM   error    event 372   Admin message\n"
            L"today 2:00 PM   detail   event 307   Detail message\n"
            L"\n--- end of report ---\n"));
    EXPECT_EQ(t.size() - wcslen(L"\n--- end of report ---\n"), t.find(L"\n--- end of report ---\n"));
    r.s->adminLogRead = 1;
    EXPECT_EQ(std::wstring::npos, r.text(1).find(L"(not read)"));
    // The summary has no printer, driver or log sections.
    EXPECT_EQ(std::wstring::npos, r.text(0).find(L"===== PRINTERS"));
}

TEST(Report, FoundPrintersArePaddedNeverCut) {
    Report r;
    r.in.search = r.search = new NetworkSearchResult();
    r.search->count = 2;
    r.search->addressesSwept = 254;
    wcscpy(r.search->rangesText, L"10.0.0.0/24");
    r.search->startedAt = {2026, 12, 0, 24, 15, 30, 0, 0};
    FoundPrinter* f = &r.search->printers[0];
    wcscpy(f->ip, L"10.0.0.7");
    wcscpy(f->sysName, L"PRN7");
    wcscpy(f->description, L"Acme OS");
    f = &r.search->printers[1];
    wcscpy(f->ip, L"10.0.0.200");
    wcscpy(f->mac, L"00-11-22-33-44-55");
    wcscpy(f->hostName, L"a-very-long-host-name.example.internal.lan");
    wcscpy(f->model, L"Model");
    wcscpy(f->serial, L"S1");
    wcscpy(f->installedAs, L"Front; Back");
    std::wstring t = r.text(1);
    EXPECT_NE(
        std::wstring::npos,
        t.find(
            L"Searched 254 addresses (10.0.0.0/24) at 12/24/2026 3:30 PM\n"
            L"10.0.0.7         -                  PRN7                           Acme OS                     "
            L" "
            L"      serial -              (not installed)\n"
            L"10.0.0.200       00-11-22-33-44-55  a-very-long-host-name.example.internal.lan Model          "
            L"                    serial S1             Front; Back\n"));
    r.search->count = 0;
    EXPECT_NE(std::wstring::npos, r.text(1).find(L"3:30 PM\n\n===== PRINTER DRIVERS"));
}

TEST(Report, BadInputAndAFullBuffer) {
    Report r;
    wchar_t buf[16] = L"keep";
    r.in.snapshot = nullptr;
    build_report_of(&r.in, 1, buf, _countof(buf));
    EXPECT_STREQ(L"keep", buf);
    build_report_of(nullptr, 1, buf, _countof(buf));
    r.in.snapshot = r.s;
    r.in.findings = nullptr;
    EXPECT_NE(std::wstring::npos, r.text(1).find(L"Result: 0 problems"));
    r.in.findings = r.list;
    r.list->count = -5; // a corrupt count lists nothing
    EXPECT_NE(std::wstring::npos, r.text(1).find(L"===== FINDINGS =====\n\n===== PRINTERS"));
    r.list->count = 0;
}

namespace {
// Every field full of words.
template <size_t N> void fill_one(wchar_t (&field)[N]) {
    for (size_t i = 0; i + 1 < N; i++)
        field[i] = (i % 7 == 6) ? L' ' : L'w';
    field[N - 1] = 0;
}
template <class... Fields> void fill(Fields&... fields) {
    (fill_one(fields), ...);
}

// Every record at its capacity: 64 printers with every text full and all they can report, 200
// jobs, 150 drivers, 80 log entries, 240 findings with the longest texts and 256 found printers.
void fill_to_capacity(Report& r) {
    Snapshot* s = r.s;
    for (int i = 0; i < kMaxDrivers; i++) {
        DriverRecord* d = snapshot_add_driver(s);
        fill(d->name, d->environment, d->driverPath, d->maker, d->date, d->versionText);
        d->fileMissing = 1;
    }
    for (int i = 0; i < kMaxPrinters; i++) {
        PrinterRecord* p = r.add_printer(L"");
        fill(p->name, p->portName, p->driverName, p->shareName, p->location, p->comment, p->address,
             p->snmpCommunity, p->knownMac, p->headline);
        p->kind = KindTcpIp, p->attributes = 0x408, p->status = 0x7FFFFFFF, p->snmpEnabled = 1;
        p->driverIndex = i;
        NetTestResult* n = &p->net;
        fill(n->ipText, n->sysDescr, n->model, n->hostName, n->sysName, n->serial);
        n->tested = n->resolved = n->pingOk = n->snmpAsked = n->snmpAnswered = n->haveErrorState = 1;
        n->errorBits = 0xFFFF, n->deviceStatus = n->printerStatus = 2, n->supplyCount = kMaxSupplies;
        std::fill(n->portOpen, n->portOpen + kPortProbeCount, 1);
        for (SupplyLevel& supply : n->supplies)
            fill(supply.description), supply.level = 1, supply.maxCapacity = 2;
    }
    for (int i = 0; i < kMaxJobs; i++) {
        JobRecord* j = snapshot_add_job(s);
        fill(j->document, j->userName, j->statusText);
        j->printerIndex = i % kMaxPrinters;
    }
    for (int i = 0; i < kMaxLogEntries; i++) {
        LogEntry* e = snapshot_add_log_entry(s);
        fill(e->timeText, e->message);
    }
    std::wstring title(219, L't'), text(1099, L'x'), subject(259, L's');
    for (int i = 0; i < kMaxFindings; i++)
        add_finding_to(r.list, L"test-rule", SeverityProblem, i % kMaxPrinters, ResumePrinter,
                       subject.c_str(), title.c_str(), L"%ls", text.c_str());
    r.search = new NetworkSearchResult();
    r.in.search = r.search;
    fill(r.search->rangesText);
    for (int i = 0; i < kMaxFoundPrinters; i++) {
        FoundPrinter* f = &r.search->printers[r.search->count++];
        fill(f->ip, f->mac, f->hostName, f->model, f->serial, f->installedAs);
    }
}
} // namespace

// The largest report fits whole and is saved whole; its JSON document over the process state
// outgrows the first buffer build_json_report tries, which builds it again at the length it asked
// for, and says what the text says. Smaller buffers end in a note of what was left out.
TEST(Report, EveryRecordAtItsCapacity) {
    Report r;
    fill_to_capacity(r);
    r.s->printersLeftOut = 4, r.s->jobsLeftOut = 1, r.s->driversLeftOut = 2;
    std::wstring t = r.text(1, kReportCapacity);
    EXPECT_NE(std::wstring::npos, t.find(L"\n--- end of report ---\n"));
    EXPECT_EQ(std::wstring::npos, t.find(L"incomplete"));
    EXPECT_EQ(std::wstring::npos, r.text(0, kReportCapacity).find(L"incomplete")) << "the summary too";
    std::wstring path = temp_path(L"vantrel-largest-report.txt");
    ASSERT_EQ(0u, write_report_file(path.c_str(), t.c_str()));
    std::string bytes = read_test_file(path);
    EXPECT_GT(bytes.size(), t.size());
    EXPECT_EQ("\r\n--- end of report ---\r\n", bytes.substr(bytes.size() - 25));

    std::unique_ptr<Session> session(new Session());
    session_init(session.get());
    session->snapshot = r.s, session->search = r.search, session->findings = *r.list;
    wchar_t* json = build_json_report(session.get());
    ASSERT_NE(nullptr, json);
    EXPECT_GT(wcslen(json), 400000u);
    ASSERT_EQ(0u, write_json_file(path.c_str(), json));
    free(json);
    JsonDocument j;
    EXPECT_EQ("", read_json_report(path, t, &j));
    DeleteFileW(path.c_str());
    EXPECT_EQ("", j.mistakes);
    EXPECT_EQ(L"64|240|200|150|80|256|", j.texts({"printers", "findings", "jobs", "drivers",
                                                  "printLog.entries", "networkSearch.printers"}));
    EXPECT_EQ(L"4|1|2|", j.texts({"printersLeftOut", "jobsLeftOut", "driversLeftOut"}));
    EXPECT_EQ(r.list->items[239].text, j.text("findings.239.text"));

    t = r.text(1, 600000);
    EXPECT_EQ(0u, t.find(L"VANTREL REPORT"));
    EXPECT_LT(t.size(), 600000u);
    EXPECT_EQ(std::wstring::npos, t.find(L"--- end of report ---"));
    size_t closing = t.rfind(L"\n*** This report is incomplete: ");
    ASSERT_NE(std::wstring::npos, closing) << t.substr(t.size() - 300);
    EXPECT_EQ(L'\n', t[closing - 1]) << "whole pieces only, never cut mid-word";
    EXPECT_NE(std::wstring::npos,
              t.find(L" to 64, the printers found on the network, the installed printer drivers, "
                     L"Windows' print log. ***\n",
                     closing));
    EXPECT_NE(std::wstring::npos,
              r.text(0, 20000).find(L"summary is incomplete: it was too long to hold. Left out: findings "));
}

TEST(Report, CrLfCopy) {
    wchar_t out[32];
    report_to_crlf(L"a\nb\n\nc", out, _countof(out));
    EXPECT_STREQ(L"a\r\nb\r\n\r\nc", out);
    report_to_crlf(L"", out, _countof(out));
    EXPECT_STREQ(L"", out);
    report_to_crlf(nullptr, out, _countof(out));
    EXPECT_STREQ(L"", out);
    wchar_t small[4];
    report_to_crlf(L"ab\ncd", small, _countof(small));
    EXPECT_STREQ(L"ab", small) << "a CR LF pair is never split";
    // A long report is copied whole; only a full buffer stops the copy.
    std::wstring lines;
    while (lines.size() < 1000000)
        lines += L"abcdefghi\n";
    std::wstring big(lines.size() * 2, L'#');
    report_to_crlf(lines.c_str(), &big[0], big.size());
    EXPECT_EQ(lines.size() / 10 * 11, wcslen(big.c_str()));
}

TEST(Report, OverASession) {
    std::unique_ptr<Session> session(new Session());
    session_init(session.get());
    Snapshot* s = snapshot_new();
    PrinterRecord* p = snapshot_add_printer(s);
    wcscpy(p->name, L"Front");
    session_take_snapshot(session.get(), s);
    add_finding_to(&session->findings, L"test-rule", SeverityProblem, 0, NoFix, L"Front", L"Broken", L"Text");
    std::vector<wchar_t> buffer(kReportCapacity);
    build_report(session.get(), 1, buffer.data(), buffer.size());
    std::wstring t = buffer.data();
    ReportPcInfo pc;
    report_read_pc_info(&pc);
    EXPECT_NE(0, pc.computerName[0]) << "the computer has a name";
    EXPECT_EQ(0u, t.find(L"VANTREL REPORT \x2014 "));
    EXPECT_NE(std::wstring::npos,
              t.find(std::wstring(L"PC: ") + pc.computerName + L"   User: " + pc.userName));
    EXPECT_NE(std::wstring::npos, t.find(L"\nVantrel version: 1.1.0\n"));
    EXPECT_NE(std::wstring::npos, t.find(L"[PROBLEM] Front: Broken\n    Text\n"));
    wchar_t page[2000] = L"";
    printer_details(session.get(), 0, page, _countof(page));
    EXPECT_EQ(0, wcsncmp(page, L"Front\nOverall: ", 15));
    snapshot_free(session->snapshot);
}
