// The headless report of the real Vantrel.exe on a test PC: printers added to Wine's spooler on
// Standard TCP/IP, USB, WSD and file ports, their network printers played by SNMP agents and print
// port listeners on loopback, and a silent address (dropped in the test's namespace). "/scan" adds
// the network search, which finds a remembered printer that moved to another address; "/json" gives
// the same check as a JSON document, read back by Python and held against the text report.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "collect/collector.h"
#include "core/known.h"
#include "core/log_file.h"
#include "tests/support/json_python.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t* kTcpKey = VANTREL_TCP_PORTS_KEY;
const wchar_t* kDriver = L"Vantrel Report PCL 6";

struct TcpPort {
    const wchar_t* port;
    const wchar_t* address;
    DWORD portNumber;
    DWORD snmpEnabled;
};

// 127.0.0.21: a laser printer with SNMP; 127.0.0.24: a printer whose agent answers only another
// community; 127.0.0.30: a device with a web page and no print port; 127.0.99.x: nothing at all.
const TcpPort kTcpPorts[] = {
    {L"IP_127.0.0.21", L"127.0.0.21", 9100, 1}, {L"IP_127.0.0.24", L"127.0.0.24", 9100, 1},
    {L"IP_127.0.0.30", L"127.0.0.30", 9100, 0}, {L"IP_127.0.99.5", L"127.0.99.5", 9100, 0},
    {L"IP_127.0.99.7", L"127.0.99.7", 9100, 1}, {L"IP_127.0.99.6", L"127.0.99.6", 9100, 0},
};

const wchar_t* kPrinters[][2] = {
    {L"Reception Laser", L"IP_127.0.0.21"},
    {L"Accounts Laser", L"IP_127.0.0.24"},
    {L"Old Plotter", L"IP_127.0.0.30"},
    {L"Warehouse Printer", L"IP_127.0.99.5"},
    {L"Copier Upstairs", L"IP_127.0.99.7"},
    {L"Label USB", L"USB001"},
    {L"Hall WSD", L"WSD-5a1e2b3c-0001"},
    {L"Print to File", L"FILE:"},
    {L"Pooled Laser", L"IP_127.0.0.21,IP_127.0.99.6"}, // a pool whose second printer is silent
};

// Point and Print opened up and RPC privacy switched off, as scripts that "fix" shared printers do.
const wchar_t* kPointAndPrintKey = VANTREL_POINT_AND_PRINT_KEY;

// What the copier at 127.0.0.22 reports about itself (its SNMP agent's ifPhysAddress and serial).
const wchar_t* kCopierIdentity = L"00-1B-A9-AA-BB-CC|A7PU021004567";

std::wstring report_of(const std::wstring& arguments, DWORD* code) {
    static int n = 0;
    std::wstring path = temp_path((L"vantrel-pc-report-" + std::to_wstring(++n) + L".txt").c_str());
    DeleteFileW(path.c_str());
    *code = run_vantrel(L"/report \"" + path + L"\" " + arguments, 120000);
    std::string bytes = read_test_file(path);
    DeleteFileW(path.c_str());
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes = bytes.substr(3);
    std::wstring text;
    for (wchar_t c : from_utf8(bytes))
        if (c != L'\r') text += c;
    return text;
}

// The part of the report about one printer: from its heading to the next printer's.
std::wstring section(const std::wstring& report, const std::wstring& heading, const std::wstring& next) {
    size_t at = report.find(heading);
    if (at == std::wstring::npos) return L"(no section " + heading + L")";
    size_t end = next.empty() ? std::wstring::npos : report.find(next, at + heading.size());
    return report.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
}

std::string narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? (char)c : '?';
    return s;
}

#define EXPECT_HAS(text, part)                                                                               \
    EXPECT_NE(std::wstring::npos, (text).find(part)) << "missing: " << narrow(part) << "\nin:\n"             \
                                                     << narrow(text)
#define EXPECT_LACKS(text, part)                                                                             \
    EXPECT_EQ(std::wstring::npos, (text).find(part)) << "unexpected: " << narrow(part) << "\nin:\n"          \
                                                     << narrow(text)

class ReportPc : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        delete_settings_key();
        CreateDirectoryW(L"C:\\vtrep", nullptr);
        ASSERT_TRUE(write_test_file(L"C:\\vtrep\\vtrep.dll", 64));
        ASSERT_TRUE(add_test_driver(kDriver, L"Windows x64", L"C:\\vtrep\\vtrep.dll"));
        ASSERT_TRUE(write_test_file(driver_file_path(kDriver, L"Windows x64"), 64));
        for (const TcpPort& t : kTcpPorts) {
            std::wstring key = std::wstring(kTcpKey) + L"\\" + t.port;
            ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, key, L"HostName", L""));
            ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, key, L"IPAddress", t.address));
            ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, key, L"PortNumber", t.portNumber));
            ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, key, L"Protocol", 1));
            ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, key, L"SNMP Enabled", t.snmpEnabled));
            ASSERT_TRUE(set_reg_string(HKEY_LOCAL_MACHINE, key, L"SNMP Community", L"public"));
        }
        for (const auto& p : kPrinters)
            ASSERT_TRUE(add_test_printer(p[0], p[1], kDriver)) << GetLastError();
        known_store_write(L"Copier Upstairs", kCopierIdentity);
        ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, kPointAndPrintKey,
                                  L"RestrictDriverInstallationToAdministrators", 0));
        ASSERT_TRUE(
            set_reg_dword(HKEY_LOCAL_MACHINE, kPointAndPrintKey, L"NoWarningNoElevationOnInstall", 1));
        ASSERT_TRUE(set_reg_dword(HKEY_LOCAL_MACHINE, VANTREL_PRINT_KEY, L"RpcAuthnLevelPrivacyEnabled", 0));

        ULONGLONG start = GetTickCount64();
        s_plain = report_of(L"/scanrange 127.0.0.0/24", &s_plain_code);
        ULONGLONG plain = GetTickCount64();
        s_scanned = report_of(L"/scan /scanrange 127.0.0.0/24", &s_scanned_code);
        ULONGLONG scanned = GetTickCount64();
        s_summary = report_of(L"/summary /scan /scanrange 127.0.0.0/24", &s_summary_code);
        ULONGLONG summary = GetTickCount64();
        s_json_path = temp_path(L"vantrel-pc-report.json");
        DeleteFileW(s_json_path.c_str());
        s_json_code =
            run_vantrel(L"/report \"" + s_json_path + L"\" /json /scan /scanrange 127.0.0.0/24", 120000);
        printf("reports took %llu, %llu, %llu and %llu ms\n", plain - start, scanned - plain,
               summary - scanned, GetTickCount64() - summary);
    }

    static void TearDownTestSuite() {
        for (const auto& p : kPrinters)
            delete_test_printer(p[0]);
        delete_test_driver(kDriver);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTcpKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPointAndPrintKey);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, VANTREL_PRINT_KEY, L"RpcAuthnLevelPrivacyEnabled");
        delete_settings_key();
        DeleteFileW(s_json_path.c_str());
    }

    static std::wstring s_plain, s_scanned, s_summary, s_json_path;
    static DWORD s_plain_code, s_scanned_code, s_summary_code, s_json_code;
};
std::wstring ReportPc::s_plain, ReportPc::s_scanned, ReportPc::s_summary, ReportPc::s_json_path;
DWORD ReportPc::s_plain_code, ReportPc::s_scanned_code, ReportPc::s_summary_code, ReportPc::s_json_code;

const wchar_t* kRule = L"----------------------------------------\n";

std::wstring printer_section(const std::wstring& report, const wchar_t* name) {
    return section(report, kRule + std::wstring(name) + L"\n", kRule);
}

TEST_F(ReportPc, WrittenWithoutErrors) {
    EXPECT_EQ(0u, s_plain_code);
    EXPECT_EQ(0u, s_scanned_code);
    EXPECT_EQ(0u, s_summary_code);
    EXPECT_EQ(0u, s_plain.find(L"VANTREL REPORT \x2014 ")) << narrow(s_plain.substr(0, 200));
    EXPECT_LACKS(s_plain, L"DEMO DATA");
    for (const auto& p : kPrinters)
        EXPECT_HAS(s_plain, kRule + std::wstring(p[0]) + L"\n");
}

TEST_F(ReportPc, ConnectionKindsAndAddressesAsWindowsHasThem) {
    std::wstring laser = printer_section(s_plain, L"Reception Laser");
    EXPECT_HAS(laser, L"Port: IP_127.0.0.21\n");
    EXPECT_HAS(laser, L"Connection: Network (TCP/IP)\n");
    EXPECT_HAS(laser, L"Address: 127.0.0.21   port 9100 (RAW)   SNMP status: on, community public\n");
    EXPECT_HAS(laser, L"Driver: Vantrel Report PCL 6\n");
    EXPECT_HAS(laser, L"Location: Second floor\n");
    EXPECT_HAS(printer_section(s_plain, L"Label USB"), L"Connection: USB cable\n");
    EXPECT_HAS(printer_section(s_plain, L"Hall WSD"), L"Connection: Network (WSD)\n");
    EXPECT_HAS(printer_section(s_plain, L"Print to File"), L"Connection: Built into Windows\n");
    EXPECT_HAS(printer_section(s_plain, L"Old Plotter"), L"SNMP status: off\n");
    EXPECT_HAS(s_plain, L"Vantrel Report PCL 6   [");
}

TEST_F(ReportPc, NetworkResultsFromThePeers) {
    std::wstring laser = printer_section(s_plain, L"Reception Laser");
    EXPECT_HAS(laser, L"Overall: OK \x2014 No problems found - reachable on the network\n");
    EXPECT_HAS(laser, L"MAC address: 3C-52-82-11-22-33\n");
    EXPECT_HAS(laser, L"Host name: LJ-RECEPTION\n");
    EXPECT_HAS(laser, L"Ports open: 9100 (printing), 80 (web page), 443 (secure web page)\n");
    EXPECT_HAS(laser, L"Model: HP LaserJet Pro M404dn\n");
    EXPECT_HAS(laser, L"Serial number: PHBQK12345\n");
    EXPECT_HAS(laser, L"Supply \x2014 Black Cartridge HP 58A: 64%\n");

    std::wstring silent = printer_section(s_plain, L"Warehouse Printer");
    EXPECT_HAS(silent, L"Ping: NO ANSWER\n");
    EXPECT_HAS(silent, L"Ports open: none\n");

    std::wstring web = printer_section(s_plain, L"Old Plotter");
    EXPECT_HAS(web, L"Ports open: 80 (web page)\n");

    // The copier's MAC is the one remembered from the last time it answered.
    std::wstring copier = printer_section(s_plain, L"Copier Upstairs");
    EXPECT_HAS(copier, L"MAC address: 00-1B-A9-AA-BB-CC\n");
    EXPECT_HAS(copier, L"(MAC above is from the last time it answered)");
}

TEST_F(ReportPc, FindingsForEachKindOfFault) {
    EXPECT_HAS(s_plain, L"[PROBLEM] Warehouse Printer: Nothing answers at the printer's address\n");
    EXPECT_HAS(s_plain, L"[PROBLEM] Copier Upstairs: Nothing answers at the printer's address\n");
    EXPECT_HAS(s_plain,
               L"[PROBLEM] Old Plotter: Something answers at the address, but it is not accepting print "
               L"jobs\n");
    // The agent at 127.0.0.24 answers only its own community, so SNMP status makes Windows guess.
    EXPECT_HAS(s_plain,
               L"[Heads-up] Accounts Laser: This printer may show as Offline for no reason (SNMP status)\n");
    EXPECT_HAS(s_plain, L"[Heads-up] Hall WSD: Uses a WSD port (the least reliable kind of connection)\n");
    EXPECT_LACKS(s_plain, L"] Reception Laser:");
    EXPECT_LACKS(s_plain, L"] Label USB:");
    // Without a search nothing can be said about where the copier went.
    EXPECT_LACKS(s_plain, L"has moved");
    EXPECT_HAS(s_plain, L"(the network was not searched; use Find Printers on the Home tab)");
}

TEST_F(ReportPc, PrintSettingsAndThePoolAreJudged) {
    EXPECT_HAS(s_plain, L"Point and Print: ANY USER may install printer drivers without a prompt\n");
    EXPECT_HAS(s_plain,
               L"RPC privacy for print connections to this PC: OFF (RpcAuthnLevelPrivacyEnabled is 0)\n");
    EXPECT_HAS(s_plain, L"[Heads-up] This PC: Any user may install a printer driver without a prompt\n");
    EXPECT_HAS(s_plain, L"[Heads-up] This PC: This PC accepts print connections without RPC privacy\n");
    EXPECT_HAS(s_plain, L"[Heads-up] Pooled Laser: A printer of this pool does not answer\n");
    std::wstring pool = printer_section(s_plain, L"Pooled Laser");
    EXPECT_HAS(
        pool,
        L"    IP_127.0.0.21   127.0.0.21   answers\n    IP_127.0.99.6   127.0.99.6   does NOT answer\n");
}

TEST_F(ReportPc, TheSearchFindsTheMovedPrinterAndListsWhatAnswered) {
    EXPECT_HAS(s_scanned, L"[PROBLEM] Copier Upstairs: The printer has moved to 127.0.0.22\n");
    EXPECT_HAS(s_scanned, L"the same MAC address (00-1B-A9-AA-BB-CC)");
    EXPECT_LACKS(s_scanned, L"(the network was not searched");
    std::wstring found =
        section(s_scanned, L"===== PRINTERS FOUND ON THE NETWORK =====", L"===== PRINTER DRIVERS");
    EXPECT_HAS(found, L"127.0.0.21");
    EXPECT_HAS(found, L"Reception Laser");
    EXPECT_HAS(found, L"127.0.0.22");
    EXPECT_HAS(found, L"KONICA MINOLTA bizhub C458");
    EXPECT_HAS(found, L"127.0.0.0/24");
    // The silent addresses of installed printers are swept too, and stay unlisted.
    EXPECT_LACKS(found, L"127.0.99.");
}

TEST_F(ReportPc, TheJsonDocumentSaysWhatTheTextReportSays) {
    EXPECT_EQ(0u, s_json_code);
    JsonDocument j;
    ASSERT_EQ("", read_json_report(s_json_path, s_scanned, &j));
    EXPECT_EQ("", j.mistakes) << "the same printers and findings, the moved copier's among them";
    // Each printer's path prefix ("printers.3.") by name.
    std::map<std::wstring, std::string> at;
    for (int i = 0; i < _wtoi(j.text("printers").c_str()); i++)
        at[j.text("printers." + std::to_string(i) + ".name")] = "printers." + std::to_string(i) + ".";
    EXPECT_EQ(_countof(kPrinters), at.size());
    std::string laser = at[L"Reception Laser"], copier = at[L"Copier Upstairs"], usb = at[L"Label USB"];
    EXPECT_EQ(
        L"false|red|Network (TCP/IP)|127.0.0.21|9100|public|Second floor|3C-52-82-11-22-33|LJ-RECEPTION|3|"
        L"9100|PHBQK12345|64|OK|",
        j.texts({"demo", "verdict.colour", laser + "connection", laser + "address", laser + "tcp.portNumber",
                 laser + "tcp.snmpCommunity", laser + "location", laser + "networkTest.mac",
                 laser + "networkTest.hostName", laser + "networkTest.portsOpen",
                 laser + "networkTest.portsOpen.0", laser + "networkTest.snmp.serial",
                 laser + "networkTest.snmp.supplies.0.percent", laser + "health"}));
    EXPECT_EQ(L"00-1B-A9-AA-BB-CC|true|Vantrel Report PCL 6|null|null|",
              j.texts({copier + "networkTest.mac", copier + "networkTest.macRemembered", usb + "driverName",
                       usb + "networkTest", usb + "tcp"}));
    EXPECT_NE(std::wstring::npos, j.text("networkSearch.ranges").find(L"127.0.0.0/24"));

    // The seeded Point and Print and RPC privacy values, by their rules' ids.
    std::map<std::wstring, std::wstring> rules;
    for (int i = 0; i < _wtoi(j.text("findings").c_str()); i++)
        rules[j.text("findings." + std::to_string(i) + ".rule")] =
            j.text("findings." + std::to_string(i) + ".fix.name");
    EXPECT_EQ(L"RestorePointAndPrint", rules[L"point-and-print-unprotected"]);
    EXPECT_EQ(L"RemoveRpcPrivacyOverride", rules[L"rpc-privacy-off"]);
    EXPECT_EQ(1u, rules.count(L"pool-member-silent"));
    std::string pool = at[L"Pooled Laser"];
    EXPECT_EQ(
        L"0|1|0|null|false|",
        j.texts({"printSettings.restrictDriverInstallationToAdministrators",
                 "printSettings.noWarningNoElevationOnInstall", "printSettings.rpcAuthnLevelPrivacyEnabled",
                 "printSettings.updatePromptSettings", "printSettings.pointAndPrintProtected"}));
    EXPECT_EQ(L"2|127.0.99.6|false|null|",
              j.texts({pool + "pool", pool + "pool.1.address", pool + "pool.1.answered", laser + "pool"}));
}

TEST_F(ReportPc, TheSummaryNamesTheProblemsOnly) {
    EXPECT_HAS(s_summary, L"The printer has moved to 127.0.0.22");
    EXPECT_HAS(s_summary, L"Warehouse Printer");
    EXPECT_LACKS(s_summary, L"===== PRINTERS =====");
    EXPECT_LT(s_summary.size(), s_scanned.size() / 2);
}

TEST_F(ReportPc, IdentitiesOfAnsweringPrintersAreRemembered) {
    wchar_t value[kKnownValueCapacity];
    ASSERT_TRUE(known_store_read(L"Reception Laser", value, _countof(value)));
    EXPECT_STREQ(L"3C-52-82-11-22-33|PHBQK12345", value);
    ASSERT_TRUE(known_store_read(L"Copier Upstairs", value, _countof(value)));
    EXPECT_STREQ(kCopierIdentity, value) << "a printer that did not answer keeps what it reported before";
}

// The same PC in the running window: its checks write what they found to the log, the copier that
// does not answer starts the one automatic network search, and the next check's findings name
// where the copier went.
TEST_F(ReportPc, TheWindowsChecksLogWhatTheyFind) {
    wchar_t log[MAX_PATH];
    log_file_path(log, MAX_PATH);
    DeleteFileW(log);
    DWORD pid = 0;
    HANDLE process = start_vantrel(L"/scanrange 127.0.0.0/24", &pid);
    ASSERT_NE(nullptr, process);
    HWND window = wait_for_window(pid, L"CorvalenVantrel", 20000);
    ASSERT_NE(nullptr, window);
    const std::wstring moved = L"Found [PROBLEM] Copier Upstairs: The printer has moved to 127.0.0.22";
    std::wstring text;
    for (int i = 0; i < 120 && text.find(moved) == std::wstring::npos; i++) {
        Sleep(500);
        text = from_utf8(read_test_file(log));
    }
    close_and_wait(window, process, 10000);
    CloseHandle(process);
    EXPECT_HAS(text, L"  Vantrel 1.1.0 started");
    EXPECT_HAS(text, L"  Found [PROBLEM] Warehouse Printer: Nothing answers at the printer's address\r\n");
    EXPECT_HAS(text, L"  Found [Heads-up] Accounts Laser: This printer may show as Offline for no reason "
                     L"(SNMP status)\r\n");
    EXPECT_HAS(text, L"  Network search done: ");
    EXPECT_HAS(text, moved);
    // Each summary is logged once: the first check's before the search and the changed one after
    // it; the checks in between, with nothing new, write nothing.
    const std::wstring warehouse = L"Found [PROBLEM] Warehouse Printer";
    int summaries = 0;
    for (size_t at = text.find(warehouse); at != std::wstring::npos; at = text.find(warehouse, at + 1))
        summaries++;
    EXPECT_EQ(2, summaries);
    EXPECT_LT(text.find(warehouse), text.find(L"Network search done: "));
    EXPECT_LT(text.find(L"Network search done: "), text.find(moved));
}

} // namespace
