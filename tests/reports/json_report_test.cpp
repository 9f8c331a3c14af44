// The JSON report: escaping and time stamps at their edges, a buffer too small for the document, and
// a snapshot full of awkward texts read back by Python's json module and compared with the text
// report of the same records. The largest document is in report_test.cpp, beside the largest report.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "core/findings.h"
#include "reports/json_report.h"
#include "reports/report.h"
#include "tests/support/json_python.h"
#include "tests/support/test_pc.h"

TEST(JsonEscape, TheLengthWrittenAndTimeStampsAtTheirEdges) {
    wchar_t out[40];
    const size_t length = json_escape(L"say \"hi\" C:\\a\x01", out, _countof(out));
    EXPECT_EQ(wcslen(out), length);
    EXPECT_STREQ(L"\"say \\\"hi\\\" C:\\\\a\\u0001\"", out);

    LocalTime t = {2026, 3, 4, 5, 7, 8, 9, 0};
    iso_time_text(&t, -330, out, _countof(out));
    EXPECT_STREQ(L"2026-03-05T07:08:09-05:30", out);
    iso_utc_text(125963423999999999ULL, out, _countof(out));
    EXPECT_STREQ(L"2000-02-29T23:59:59Z", out);
    iso_utc_text(0, out, _countof(out));
    EXPECT_STREQ(L"1601-01-01T00:00:00Z", out);
}

// A check whose texts hold every character a JSON writer can get wrong.
TEST(JsonReport, AwkwardTextsSurviveARealParserAndATooSmallBufferSaysHowMuchIsNeeded) {
    std::unique_ptr<Snapshot, void (*)(Snapshot*)> snapshot(snapshot_new(), snapshot_free);
    Snapshot* s = snapshot.get();
    std::unique_ptr<FindingList> findings(new FindingList());
    std::unique_ptr<NetworkSearchResult> found(new NetworkSearchResult());
    FindingList& list = *findings;
    NetworkSearchResult& search = *found;
    JsonReportInput in = {};
    // 259 characters, the most a printer name holds, with an emoji as its surrogate pair inside.
    std::wstring longName = L"Front \"Desk\" \\\\SRV\\q \x2014 \xD83D\xDDA8 ";
    longName.resize(259, L'x');
    in.report.snapshot = s, in.report.findings = &list, in.report.search = &search;
    in.report.version = L"1.1.0", in.utcOffsetMinutes = 90;
    wcscpy(in.report.pc.computerName, L"PC\\\"1\""), wcscpy(in.report.pc.userName, L"ann\tb");
    s->checkTime = {2026, 3, 4, 5, 7, 8, 9, 0};
    s->spoolerState = 1;

    PrinterRecord* p = snapshot_add_printer(s);
    wcscpy(p->name, longName.c_str());
    wcscpy(s->defaultPrinter, p->name);
    p->isDefault = 1, p->kind = KindTcpIp, p->worstSeverity = SeverityProblem;
    wcscpy(p->driverName, L"Acme \"Universal\" PCL6\b\f \xD83D!\xDDA8"),
        wcscpy(p->headline, L"Paused \"now\"");
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

    JobRecord* job = snapshot_add_job(s);
    job->printerIndex = 0;
    wcscpy(job->document, L"C:\\Users\\ann\\Report \"Q4\".docx\n\xD83D\xDCC4");
    wcscpy(snapshot_add_log_entry(s)->message, L"\x1B[31mred\x1B[0m \\\\PARTS-01");

    add_finding_to(&list, L"test-rule", SeverityProblem, 0, ResumePrinter, p->name,
                   L"The \"printer\" is paused \\ now", L"%ls",
                   L"Line 1\nLine 2\t\x01 \\ \x2014 \xD83D\xDDA8 done");
    add_finding_to(&list, L"test-rule", SeverityHeadsUp, -1, NoFix, L"", L"PC \x2028 wide", L"%ls", L"");
    add_finding_to(&list, L"test-rule", SeverityNote, 1, NoFix, usb->name, L"Note \x7F", L"%ls", L"x");
    search.count = 1, search.printers[0].pageCount = -1;
    wcscpy(search.printers[0].ip, L"10.0.0.9");

    const size_t length = build_json_report_of(&in, nullptr, 0);
    std::wstring json(length + 1, L'#');
    ASSERT_EQ(length, build_json_report_of(&in, &json[0], json.size()));
    json = json.c_str();
    wchar_t small[64];
    EXPECT_EQ(json.size(), build_json_report_of(&in, small, _countof(small)));
    EXPECT_EQ(json.substr(0, 63), small) << "cut at the capacity and terminated";

    std::wstring path = temp_path(L"vantrel-awkward.json");
    ASSERT_EQ(0u, write_json_file(path.c_str(), json.c_str()));
    std::string bytes = read_test_file(path);
    ASSERT_EQ('{', bytes[0]) << "no byte-order mark";
    EXPECT_NE(std::string::npos, bytes.find("\xF0\x9F\x96\xA8")) << "the emoji as four UTF-8 bytes";
    EXPECT_EQ(std::string::npos, bytes.find("\xE2\x80\xA8")) << "U+2028 escaped, for JavaScript";
    // The text report of the same records says the same: printer names and finding titles included.
    std::wstring text(kReportCapacity, L'\0');
    build_report_of(&in.report, 1, &text[0], text.size());
    JsonDocument j;
    ASSERT_EQ("", read_json_report(path, text.c_str(), &j));
    DeleteFileW(path.c_str());
    EXPECT_EQ("", j.mistakes);

    const std::pair<const char*, std::wstring> texts[] = {
        {"defaultPrinter", longName},
        {"printers.0.driverName", p->driverName}, // unpaired surrogate halves
        {"printers.0.location", p->location},
        {"printers.0.comment", p->comment},
        {"findings.0.text", list.items[0].text},
        {"jobs.0.document", job->document},
        {"printLog.entries.0.message", s->logEntries[0].message},
        {"pc.name", in.report.pc.computerName},
        {"pc.user", in.report.pc.userName},
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
        EXPECT_EQ('n', j.leaves[path].first) << path;
    in.report.snapshot = nullptr;
    EXPECT_EQ(0u, build_json_report_of(&in, small, _countof(small)));
    EXPECT_STREQ(L"", small);
}
