// "/nettest" end to end: the real Vantrel.exe tests a loopback printer played by snmpsimd and a
// 9100 listener, and writes the details page to the temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

namespace {
std::string run_nettest(const std::wstring& args, DWORD exit_code = 0) {
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    std::wstring path = std::wstring(folder) + L"Vantrel-nettest.txt";
    DeleteFileW(path.c_str());
    EXPECT_EQ(exit_code, run_vantrel(args, 60000)) << std::string(args.begin(), args.end());
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    static char bytes[64000];
    DWORD got = 0;
    ReadFile(file, bytes, sizeof(bytes), &got, nullptr);
    CloseHandle(file);
    return std::string(bytes, got);
}

void expect_has(const std::string& text, const char* part) {
    EXPECT_NE(std::string::npos, text.find(part)) << part << "\n--- in ---\n" << text;
}
} // namespace

TEST(NetTestMode, AHealthyLaserIsDescribedInFull) {
    std::string t = run_nettest(L"/nettest 127.0.0.21 /quiet");
    ASSERT_FALSE(t.empty());
    EXPECT_NE(0, t.compare(0, 3, "\xEF\xBB\xBF")) << "no byte-order mark";
    expect_has(t, "  IP address: 127.0.0.21\r\n");
    expect_has(t, "  Ports open: 9100 (printing), 80 (web page), 443 (secure web page)\r\n");
    expect_has(t, "WHAT THE PRINTER ITSELF SAYS (SNMP)\r\n");
    expect_has(t, "  Model: HP LaserJet Pro M404dn\r\n");
    expect_has(t, "  Serial number: PHBQK12345\r\n");
    expect_has(t, "  Device: running normally\r\n");
    expect_has(t, "  Print engine: idle\r\n");
    expect_has(t, "  Errors: none\r\n");
    expect_has(t, "  Pages printed in its lifetime: 48213\r\n");
    expect_has(t, "  Supply \xE2\x80\x94 Black Cartridge HP 58A: 64%\r\n");
    expect_has(t, "  Supply \xE2\x80\x94 Imaging Drum: some left (the printer does not say how much)\r\n");
    expect_has(t, "  MAC address: 3C-52-82-11-22-33\r\n");
}

TEST(NetTestMode, TheCommunityArgumentAndAJammedCopier) {
    std::string t = run_nettest(L"/nettest 127.0.0.24 corpnet /quiet");
    expect_has(t, "  Model: Brother HL-L2350DW series\r\n");
    std::string c = run_nettest(L"/nettest 127.0.0.22 /quiet");
    expect_has(c, "  Errors: paper jam, toner/ink low\r\n");
    expect_has(c, "  Supply \xE2\x80\x94 Toner (Black): 4%\r\n");
    std::string wrong = run_nettest(L"/nettest 127.0.0.24 /quiet");
    expect_has(wrong, "  The printer did not answer.");
}

TEST(NetTestMode, NothingAnsweringAndANameThatDoesNotResolve) {
    std::string t = run_nettest(L"/nettest 127.0.99.1 /quiet");
    expect_has(t, "  Ping: NO ANSWER");
    expect_has(t, "  Ports open: none\r\n");
    std::string n = run_nettest(L"/nettest no-such-printer.invalid /quiet");
    expect_has(n, "  The name \"no-such-printer.invalid\" could not be found on the network.\r\n");
}

// An address that is no host name and no IPv4 address is not tested, and nothing says "OK".
TEST(NetTestMode, AnEmptyOrMalformedAddressTestsNothing) {
    for (const wchar_t* args :
         {L"/nettest \"\" /quiet", L"/nettest 999.1.1.1 /quiet", L"/nettest \"a b\" /quiet"}) {
        std::string t = run_nettest(args, ERROR_INVALID_PARAMETER);
        expect_has(t, "Nothing was tested");
        EXPECT_EQ(std::string::npos, t.find("OK")) << t;
    }
}
