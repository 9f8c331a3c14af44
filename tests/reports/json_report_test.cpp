// The JSON report: escaping and time stamps at their edges, a buffer too small for the document, and
// a snapshot full of awkward texts read back by Python's json module and compared with the text
// report of the same records. The largest document is in report_test.cpp, beside the largest report.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/findings.h"
#include "reports/json_report.h"
#include "reports/report.h"
#include "tests/support/json_python.h"
#include "tests/support/test_pc.h"

namespace {
std::wstring escaped(const wchar_t* text) {
    wchar_t out[200];
    size_t length = json_escape(text, out, _countof(out));
    EXPECT_EQ(wcslen(out), length);
    return out;
}
} // namespace

TEST(JsonEscape, AwkwardCharactersAndTimeStamps) {
    EXPECT_EQ(L"\"say \\\"hi\\\" C:\\\\a\"", escaped(L"say \"hi\" C:\\a"));
    EXPECT_EQ(L"\"a\\nb\\r\\tc\\b\\f\\u0001\\u001f\\u007f\"", escaped(L"a\nb\r\tc\b\f\x01\x1F\x7F"));
    EXPECT_EQ(L"\"\xD83D\xDDA8\"", escaped(L"\xD83D\xDDA8")) << "a surrogate pair stays a pair";
    EXPECT_EQ(L"\"\\ud83d!\\udda8\"", escaped(L"\xD83D!\xDDA8")) << "unpaired halves have no UTF-8 form";
    EXPECT_EQ(L"\"\\u2028\\u2029\"", escaped(L"\x2028\x2029"));

    LocalTime t = {2026, 3, 4, 5, 7, 8, 9, 0};
    wchar_t out[40];
    iso_time_text(&t, -330, out, _countof(out));
    EXPECT_STREQ(L"2026-03-05T07:08:09-05:30", out);
    iso_utc_text(125963423999999999ULL, out, _countof(out));
    EXPECT_STREQ(L"2000-02-29T23:59:59Z", out);
    iso_utc_text(0, out, _countof(out));
    EXPECT_STREQ(L"1601-01-01T00:00:00Z", out);
}

namespace {
// A check whose texts hold every character a JSON writer can get wrong.
struct Awkward {
    Snapshot* s = snapshot_new();
    FindingList* list = new FindingList();
    NetworkSearchResult* search = new NetworkSearchResult();
    JsonReportInput in = {};
    std::wstring longName;

    Awkward() {
        // 259 characters, the most a printer name holds, with an emoji as its surrogate pair inside.
        longName = L"Front \"Desk\" \\\\SRV\\q \x2014 \xD83D\xDDA8 ";
        while (longName.size() < 259)
            longName += L'x';
        in.report.snapshot = s, in.report.findings = list, in.report.search = search;
        in.report.version = L"1.1.0", in.utcOffsetMinutes = 90;
        wcscpy(in.report.pc.computerName, L"PC\\\"1\""), wcscpy(in.report.pc.userName, L"ann\tb");
        s->checkTime = {2026, 3, 4, 5, 7, 8, 9, 0};
        s->spoolerState = 1;

        PrinterRecord* p = snapshot_add_printer(s);
        wcscpy(p->name, longName.c_str());
        EXPECT_EQ(259u, wcslen(p->name));
        wcscpy(s->defaultPrinter, p->name);
        p->isDefault = 1, p->kind = KindTcpIp, p->worstSeverity = SeverityProblem;
        wcscpy(p->driverName, L"Acme \"Universal\" PCL6"), wcscpy(p->headline, L"Paused \"now\"");
        wcscpy(p->location, L"Room\x01\x1F end"), wcscpy(p->comment, L"line one\r\nline two\x2028");
        NetTestResult* n = &p->net;
        wcscpy(p->address, L"10.0.0.5"), wcscpy(n->ipText, L"10.0.0.5");
        n->tested = n->resolved = n->pingOk = n->snmpAsked = n->snmpAnswered = 1;
        wcscpy(n->model, L"Acme \xD83D\xDDA8 5000"), wcscpy(n->serial, L"S\\N");
        n->pageCount = 0, n->supplyCount = 2;
        wcscpy(n->supplies[0].description, L"Black \"XL\""), wcscpy(n->supplies[1].description, L"Cyan");
        n->supplies[0].level = 90, n->supplies[0].maxCapacity = 80; // 112%
        n->supplies[1].level = -3, n->supplies[1].maxCapacity = -2; // unknown

        PrinterRecord* usb = snapshot_add_printer(s);
        wcscpy(usb->name, L"\x00DCnic\x00F6"
                          L"de \x201Csmart\x201D \x2018q\x2019\x7F");
        usb->kind = KindUsb;
        PrinterRecord* pdf = snapshot_add_printer(s);
        wcscpy(pdf->name, L"Microsoft Print to PDF"), pdf->isVirtual = 1, pdf->kind = KindBuiltIn;

        JobRecord* j = snapshot_add_job(s);
        j->printerIndex = 0;
        wcscpy(j->document, L"C:\\Users\\ann\\Report \"Q4\".docx\n\xD83D\xDCC4");
        LogEntry* e = snapshot_add_log_entry(s);
        wcscpy(e->message, L"\x1B[31mred\x1B[0m \\\\PARTS-01");

        add_finding_to(list, SeverityProblem, 0, ResumePrinter, p->name, L"The \"printer\" is paused \\ now",
                       L"%ls", L"Line 1\nLine 2\t\x01 \\ \x2014 \xD83D\xDDA8 done");
        add_finding_to(list, SeverityHeadsUp, -1, NoFix, L"", L"PC \x2028 wide", L"%ls", L"");
        add_finding_to(list, SeverityNote, 1, NoFix, usb->name, L"Note \x7F", L"%ls", L"x");

        search->count = 1, search->printers[0].pageCount = -1;
        wcscpy(search->printers[0].ip, L"10.0.0.9");
    }
    ~Awkward() {
        snapshot_free(s);
        delete list;
        delete search;
    }
    std::wstring json() {
        size_t length = build_json_report_of(&in, nullptr, 0);
        std::wstring buf(length + 1, L'#');
        EXPECT_EQ(length, build_json_report_of(&in, &buf[0], buf.size()));
        return buf.c_str();
    }
};
} // namespace

TEST(JsonReport, ATooSmallBufferSaysHowMuchIsNeeded) {
    Awkward a;
    std::wstring whole = a.json();
    wchar_t small[64];
    EXPECT_EQ(whole.size(), build_json_report_of(&a.in, small, _countof(small)));
    EXPECT_EQ(whole.substr(0, 63), small) << "cut at the capacity and terminated";
    a.in.report.snapshot = nullptr;
    EXPECT_EQ(0u, build_json_report_of(&a.in, small, _countof(small)));
    EXPECT_STREQ(L"", small);
}

TEST(JsonReport, AwkwardTextsSurviveARealParser) {
    Awkward a;
    std::wstring path = temp_path(L"vantrel-awkward.json");
    ASSERT_EQ(0u, write_json_file(path.c_str(), a.json().c_str()));
    std::string bytes = read_test_file(path);
    ASSERT_EQ('{', bytes[0]) << "no byte-order mark";
    EXPECT_NE(std::string::npos, bytes.find("\xF0\x9F\x96\xA8")) << "the emoji as four UTF-8 bytes";
    // The text report of the same records says the same.
    std::wstring text(kReportCapacity, L'\0');
    build_report_of(&a.in.report, 1, &text[0], text.size());
    JsonDocument j;
    ASSERT_EQ("", read_json_report(path, text.c_str(), &j));
    DeleteFileW(path.c_str());
    EXPECT_EQ("", j.mistakes);

    const std::pair<const char*, std::wstring> texts[] = {
        {"printers.0.name", a.longName},
        {"defaultPrinter", a.longName},
        {"printers.1.name", a.s->printers[1].name},
        {"printers.0.location", L"Room\x01\x1F end"},
        {"printers.0.comment", L"line one\r\nline two\x2028"},
        {"findings.0.title", a.list->items[0].title},
        {"findings.0.text", a.list->items[0].text},
        {"findings.1.title", L"PC \x2028 wide"},
        {"jobs.0.document", a.s->jobs[0].document},
        {"printLog.entries.0.message", a.s->logEntries[0].message},
        {"pc.name", L"PC\\\"1\""},
        {"pc.user", L"ann\tb"},
        {"checkedAt", L"2026-03-05T07:08:09+01:30"},
        {"printers.0.networkTest.snmp.supplies.0.percent", L"112"},
        {"printers.0.networkTest.snmp.pageCount", L"0"}}; // a count of 0 is not absent
    for (const auto& t : texts)
        EXPECT_EQ(t.second, j.text(t.first)) << t.first;
    // An empty explanation, no printer, no address (so no network test) and unknown values are null.
    for (const char* path :
         {"findings.1.text", "findings.1.printer", "printers.0.networkTest.snmp.supplies.1.percent",
          "printers.1.networkTest", "printers.1.tcp", "printers.2.model", "networkSearch.printers.0.mac",
          "networkSearch.printers.0.pageCount"})
        EXPECT_EQ('n', j.kind(path)) << path;
}
