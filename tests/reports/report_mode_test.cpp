// The headless report mode of the real Vantrel.exe: the demonstration report, its JSON document and
// the summary written as Save Report writes them, its exit codes, and that it neither takes the
// single-instance mutex nor opens a window.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/json_python.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"

namespace {
// Checks the byte-order mark and the line ends, and returns the text with LF line ends.
std::wstring report_text(const std::wstring& path) {
    std::string bytes = read_test_file(path);
    EXPECT_GE(bytes.size(), 3u);
    EXPECT_EQ("\xEF\xBB\xBF", bytes.substr(0, 3));
    size_t bare = 0;
    for (size_t i = 0; i < bytes.size(); i++)
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) bare++;
    EXPECT_EQ(0u, bare) << "bare LF line ends";
    std::wstring text = from_utf8(bytes.substr(3));
    std::wstring lf;
    for (wchar_t c : text)
        if (c != L'\r') lf += c;
    return lf;
}

const wchar_t* kFindingLines[] = {
    L"[PROBLEM] Parts Counter - Lexmark MS621: Nothing answers at the printer's address\n",
    L"[PROBLEM] Parts Counter - Lexmark MS621: The printer has moved to 192.168.10.88\n",
    L"[PROBLEM] Parts Counter - Lexmark MS621: A job has an error and is blocking the queue\n",
    L"[PROBLEM] F&I Office - Kyocera ECOSYS M3655: The printer says: paper jam\n",
    L"[PROBLEM] Cashier - Brother HL-L5200DW: Windows shows this printer Offline, but it is on the network "
    L"and "
    L"accepting jobs\n",
    L"[PROBLEM] Showroom - Canon iR-ADV C3530 (Copy 1): The printer is paused\n",
    L"[PROBLEM] Showroom - Canon iR-ADV C3530 (Copy 1): \"Driver is unavailable\" \x2014 the driver's files "
    L"are "
    L"missing\n",
    L"[PROBLEM] Title Clerk - Epson LQ-590II (forms): \"Use Printer Offline\" is switched on\n",
    L"[Heads-up] F&I Office - Kyocera ECOSYS M3655: The printer says: toner or ink is low\n",
    L"[Heads-up] Showroom - Canon iR-ADV C3530 (Copy 1): Uses a WSD port (the least reliable kind of "
    L"connection)\n",
    L"[Note] Showroom - Canon iR-ADV C3530 (Copy 1): This looks like a duplicate printer\n",
    L"[Note] This PC: Windows is allowed to change the default printer by itself\n",
    L"[Note] This PC: Windows' detailed print log is switched off\n",
    L"[Note] This PC: Windows logged print errors in the last 24 hours\n",
};

const wchar_t* kPrinterNames[] = {
    L"Service Drive - HP LaserJet Pro M404",
    L"Parts Counter - Lexmark MS621",
    L"F&I Office - Kyocera ECOSYS M3655",
    L"Cashier - Brother HL-L5200DW",
    L"Showroom - Canon iR-ADV C3530 (Copy 1)",
    L"Title Clerk - Epson LQ-590II (forms)",
    L"Microsoft Print to PDF",
};

// Positions of the parts in order; npos for a missing one.
void expect_in_order(const std::wstring& text, const std::vector<std::wstring>& parts) {
    size_t at = 0;
    for (const std::wstring& part : parts) {
        size_t next = text.find(part, at);
        EXPECT_NE(std::wstring::npos, next)
            << "missing or out of order: " << std::string(part.begin(), part.end());
        if (next != std::wstring::npos) at = next + part.size();
    }
}
} // namespace

TEST(ReportMode, TheDemoReportHasEverything) {
    std::wstring path = temp_path(L"vantrel-demo-report.txt");
    DeleteFileW(path.c_str());
    ASSERT_EQ(0u, run_vantrel(L"/demo /report \"" + path + L"\"", 60000));
    std::wstring t = report_text(path);
    EXPECT_EQ(0u, t.find(L"VANTREL REPORT (DEMO DATA) \x2014 "));
    EXPECT_NE(std::wstring::npos, t.find(L"\nWindows: "));
    EXPECT_NE(std::wstring::npos, t.find(L"\nVantrel version: 1.1.0\n"
                                         L"Result: 8 problems, 2 heads-ups, 7 printers, 5 jobs waiting\n"
                                         L"Print Spooler: running, startup automatic\n"
                                         L"Default printer: Service Drive - HP LaserJet Pro M404\n"
                                         L"Windows' detailed print log: off\n\n===== FINDINGS =====\n"));
    std::vector<std::wstring> parts(std::begin(kFindingLines), std::end(kFindingLines));
    parts.push_back(L"\n===== PRINTERS =====\n");
    for (const wchar_t* name : kPrinterNames)
        parts.push_back(std::wstring(L"\n----------------------------------------\n") + name);
    parts.push_back(
        L"\n===== PRINTERS FOUND ON THE NETWORK =====\nSearched 254 addresses (192.168.10.0/24) at ");
    parts.push_back(L"\n192.168.10.88    00-21-B7-4C-19-AA  ET0021B74C19AA ");
    parts.push_back(L"(not installed)\n");
    parts.push_back(
        L"\n===== PRINTER DRIVERS INSTALLED =====\nHP LaserJet Pro M404-M405 PCL-6 (V4)   [HP, version "
        L"61.290.1.25218, dated 10/14/2024, type 4, Windows x64, language PCL 6]   used by 1 printer\n");
    parts.push_back(
        L"Canon Generic Plus PCL6   [Canon, version 3.30.0.0, dated 01/23/2024, type 3, Windows x64, "
        L"language PCL 6 (universal)]   used by 1 printer   FILES MISSING\n");
    parts.push_back(
        L"\n===== WINDOWS PRINT LOG (newest first) =====\ntoday 9:14 AM   error    event 372   The document");
    parts.push_back(L"\nyesterday 4:40 PM   error    event 315   The print spooler failed to share printer");
    parts.push_back(L"\n\n--- end of report ---\n");
    expect_in_order(t, parts);
    // Every finding with its explanation; the moved Lexmark with its fix on its page.
    EXPECT_NE(std::wstring::npos, t.find(L"  One-click fix available: Point Windows at the new address.\n"));
    EXPECT_NE(std::wstring::npos, t.find(L"192.168.10.41    3C-52-82-1A-77-01  NPI1A7701."));
    EXPECT_NE(std::wstring::npos, t.find(L"Service Drive - HP LaserJet Pro M404\n192.168.10.62 "));
    DeleteFileW(path.c_str());

    // The JSON document says what the report says; "/summary" does not shorten it.
    std::wstring json = temp_path(L"vantrel-demo.json");
    ASSERT_EQ(0u, run_vantrel(L"/demo /report \"" + json + L"\" /JSON", 60000)) << "the switch in any case";
    JsonDocument j;
    ASSERT_EQ("", read_json_report(json, t, &j));
    EXPECT_EQ("", j.mistakes);
    std::wstring when = j.text("checkedAt");
    EXPECT_TRUE(when.size() == 25 && when[10] == L'T' && (when[19] == L'+' || when[19] == L'-'))
        << std::string(when.begin(), when.end());
    EXPECT_EQ(L"1|1.1.0|true|red|running|PointToNewAddress|192.168.10.0/24|254|5|372|false|",
              j.texts({"format", "version", "demo", "verdict.colour", "spooler.state", "findings.1.fix.name",
                       "networkSearch.ranges", "networkSearch.addressesSwept", "jobs",
                       "printLog.entries.0.eventId", "printLog.detailedLogOn"}));
    ASSERT_EQ(0u, run_vantrel(L"/demo /report \"" + json + L"\" /json /summary", 60000));
    ASSERT_EQ("", read_json_report(json, t, &j));
    EXPECT_EQ("", j.mistakes);
    DeleteFileW(json.c_str());
}

TEST(ReportMode, TheDemoSummary) {
    std::wstring path = temp_path(L"vantrel-demo-summary.txt");
    ASSERT_EQ(0u, run_vantrel(L"/demo /report \"" + path + L"\" /summary", 60000));
    std::wstring t = report_text(path);
    std::wstring findings;
    for (int i = 0; i < 10; i++)
        findings += kFindingLines[i];
    size_t head = t.find(L"\n===== FINDINGS =====\n");
    ASSERT_NE(std::wstring::npos, head);
    EXPECT_EQ(0u, t.find(L"VANTREL SUMMARY (DEMO DATA) \x2014 "));
    EXPECT_EQ(std::wstring::npos, t.find(L"\nWindows: "));
    EXPECT_NE(std::wstring::npos, t.find(L"Result: 8 problems, 2 heads-ups, 7 printers, 5 jobs waiting\n"));
    EXPECT_EQ(findings, t.substr(head + wcslen(L"\n===== FINDINGS =====\n")));
    DeleteFileW(path.c_str());
}

TEST(ReportMode, ExitCodes) {
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, run_vantrel(L"/demo /report", 30000)) << "no file given";
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, run_vantrel(L"/report /summary /demo", 30000));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND,
              run_vantrel(L"/demo /report \"" + temp_path(L"no-such-folder\\r.txt") + L"\"", 30000));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, run_vantrel(L"/demo /json /report", 30000)) << "no file given";
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND,
              run_vantrel(L"/demo /report \"" + temp_path(L"no-such-folder\\r.json") + L"\" /json", 30000));
}

// Switches are whole arguments: a folder called Demo in the report's path is no demonstration.
TEST(ReportMode, APathWithDemoInItReportsThisPc) {
    std::wstring folder = temp_path(L"Demo");
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = folder + L"/x.txt";
    for (auto& c : path)
        if (c == L'\\') c = L'/';
    ASSERT_NE(std::wstring::npos, path.find(L"/Demo/x.txt"));
    ASSERT_EQ(0u, run_vantrel(L"/report " + path + L" /scanrange 127.0.0.0/30", 120000));
    const std::wstring t = report_text(path);
    EXPECT_EQ(0u, t.find(L"VANTREL REPORT \x2014 ")) << t.substr(0, 60).c_str();
    EXPECT_EQ(std::wstring::npos, t.find(L"DEMO DATA"));
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

// A search with a range that does not parse sweeps nothing, says why in the report and the
// document, and exits with the bad-argument code.
TEST(ReportMode, ARefusedScanRange) {
    const std::wstring path = temp_path(L"vantrel-refused-range.txt");
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER,
              run_vantrel(L"/report \"" + path + L"\" /scan /scanrange 999.1.1.1/24", 120000));
    const std::wstring t = report_text(path);
    EXPECT_NE(
        std::wstring::npos,
        t.find(L"===== PRINTERS FOUND ON THE NETWORK =====\nThe scan range \"999.1.1.1/24\" was refused: "
               L"\"999.1.1.1\" is not an IPv4 address. The network was not searched.\n"));
    const std::wstring json = temp_path(L"vantrel-refused-range.json");
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER,
              run_vantrel(L"/demo /report \"" + json + L"\" /json /scan /scanrange 127.0.0.0/", 60000));
    JsonDocument j;
    ASSERT_EQ("", read_json_report(json, L"", &j));
    EXPECT_EQ(L"127.0.0.0/|true|there is no prefix length after the \"/\"|",
              j.texts({"scanRange.range", "scanRange.refused", "scanRange.reason"}));
    DeleteFileW(path.c_str());
    DeleteFileW(json.c_str());
}

// With the disk full, or with room for only the first 4 KiB, the report and the document fail with
// Windows' own error, the report that was there stays as it was and nothing else is left behind.
TEST(ReportMode, AFullDiskKeepsThePreviousReport) {
    for (const wchar_t* name : {L"r.txt", L"r.json"}) {
        const bool json = name[2] == L'j';
        for (DWORD room : {0u, 4096u}) {
            const std::wstring folder = path_from_environment(L"VANTREL_SMALL_DISK");
            ASSERT_FALSE(folder.empty()) << "no small disk (VANTREL_SMALL_DISK)";
            const std::wstring path = folder + L"\\" + name;
            ASSERT_TRUE(write_test_file(path, 1000)) << "the previous report";
            FullDisk disk(room);
            ASSERT_TRUE(disk.full) << disk.error;
            EXPECT_EQ((DWORD)ERROR_DISK_FULL,
                      run_vantrel(L"/demo /report \"" + path + L"\"" + (json ? L" /json" : L""), 60000))
                << name << " " << room;
            const std::string kept = read_test_file(path);
            EXPECT_EQ(1000u, kept.size());
            EXPECT_EQ("MZ", kept.substr(0, 2));
            EXPECT_EQ(0, disk.temporary_files()) << "the temporary file is removed";
            DeleteFileW(path.c_str());
        }
    }
}

TEST(ReportMode, RunsBesideAWindowedCopyWithoutAWindowOfItsOwn) {
    DWORD pid = 0;
    HANDLE window_copy = start_vantrel(L"/demo /scanrange 127.0.0.0/24", &pid);
    ASSERT_NE(nullptr, window_copy);
    HWND window = wait_for_window(pid, L"CorvalenVantrel", 20000);
    ASSERT_NE(nullptr, window);
    std::wstring path = temp_path(L"vantrel-beside.txt");
    DWORD report_pid = 0;
    HANDLE report = start_vantrel(L"/demo /report \"" + path + L"\"", &report_pid);
    ASSERT_NE(nullptr, report);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(report, 60000));
    DWORD code = 1;
    GetExitCodeProcess(report, &code);
    CloseHandle(report);
    EXPECT_EQ(0u, code) << "the report mode does not defer to the running copy";
    EXPECT_EQ(0u, report_text(path).find(L"VANTREL REPORT (DEMO DATA)"));
    EXPECT_EQ(nullptr, wait_for_window(report_pid, L"CorvalenVantrel", 0));
    close_and_wait(window, window_copy, 10000);
    CloseHandle(window_copy);
    DeleteFileW(path.c_str());
}
