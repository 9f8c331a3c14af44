// "/check" and "/fix" as remote-management tools run them: the real Vantrel.exe on a test PC in
// the Wine prefix, its one line read from a pipe, its exit code, and what the fix left in the
// change history. The JSON documents it writes go to VANTREL_JSON_OUT, where the schema check
// (tools/check-json-schema.py, a test of its own) validates them.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>

#include "fixes/tasks.h"
#include "history/changes.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t* kDriver = L"Vantrel Fleet PCL 6";
const wchar_t* kPrinter = L"Fleet Laser";

// Runs Vantrel.exe with its standard output on a pipe, as an RMM agent does; nothing may come on
// standard error. Returns the exit code (0xFFFFFFFF when it did not end within 90 s).
DWORD run_piped(const std::wstring& arguments, std::string* out, std::string* err) {
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE out_read, out_write, err_read, err_write;
    CreatePipe(&out_read, &out_write, &sa, 0);
    CreatePipe(&err_read, &err_write, &sa, 0);
    SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out_write;
    si.hStdError = err_write;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring line = L"\"" + vantrel_exe_path() + L"\" " + arguments;
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(out_write);
    CloseHandle(err_write);
    DWORD code = 0xFFFFFFFF;
    // Why a run gave no exit code is added to what it wrote, so a failure message says it.
    std::string why;
    if (!started) {
        why = "[could not be started: error " + std::to_string(GetLastError()) + "]";
    } else {
        const ULONGLONG t0 = GetTickCount64();
        if (WaitForSingleObject(pi.hProcess, 90000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(pi.hProcess, &code);
            if (code == 0xFFFFFFFF)
                why = "[ended with 0xFFFFFFFF after " + std::to_string(GetTickCount64() - t0) + " ms]";
        } else {
            TerminateProcess(pi.hProcess, 1);
            why = "[still running after 90 s]";
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    for (auto [pipe, text] : {std::make_pair(out_read, out), std::make_pair(err_read, err)}) {
        char buf[4096];
        DWORD n = 0;
        while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &n, nullptr) && n &&
               ReadFile(pipe, buf, sizeof(buf), &n, nullptr) && n)
            text->append(buf, n);
        CloseHandle(pipe);
    }
    out->append(why);
    return code;
}

bool is_offline(const wchar_t* name) {
    DWORD status = 0, attributes = 0;
    return printer_state(name, &status, &attributes) && (attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE);
}

int32_t recorded_changes() {
    std::unique_ptr<ChangeList> list(new ChangeList());
    load_changes(list.get());
    return list->count;
}

std::wstring json_out(const wchar_t* name) {
    return path_from_environment(L"VANTREL_JSON_OUT") + L"\\" + name;
}

// Every local printer removed, so the first document is of a PC with nothing installed; then the
// test printer. The stand-in spooler stops by itself soon after it starts, so the Spooler service
// runs the tests' own small service program meanwhile, set to start automatically, as a real one
// would.
class Fleet : public ::testing::Test {
  protected:
    static std::wstring s_binary;
    static DWORD s_start_type;
    static void SetUpTestSuite() {
        for (const wchar_t* name : {L"empty.json", L"pc.json", L"demo.json"})
            DeleteFileW(json_out(name).c_str()); // the schema check reads only what this run wrote
        DWORD needed = 0, count = 0;
        EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
        std::string buffer(needed ? needed : 1, '\0');
        if (EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, (BYTE*)&buffer[0], needed, &needed, &count))
            for (DWORD i = 0; i < count; i++)
                delete_test_printer(reinterpret_cast<PRINTER_INFO_4W*>(&buffer[0])[i].pPrinterName);
        SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        SC_HANDLE s = OpenServiceW(m, L"Spooler", SERVICE_ALL_ACCESS);
        ASSERT_NE(nullptr, s);
        BYTE config[8192];
        QueryServiceConfigW(s, (QUERY_SERVICE_CONFIGW*)config, sizeof(config), &needed);
        s_binary = ((QUERY_SERVICE_CONFIGW*)config)->lpBinaryPathName;
        s_start_type = ((QUERY_SERVICE_CONFIGW*)config)->dwStartType;
        SERVICE_STATUS st = {};
        ControlService(s, SERVICE_CONTROL_STOP, &st);
        for (int i = 0; i < 50 && QueryServiceStatus(s, &st) && st.dwCurrentState != SERVICE_STOPPED; i++)
            Sleep(100);
        std::wstring stand_in =
            L"\"" + path_from_environment(L"VANTREL_TEST_SERVICE") + L"\" C:\\vtfleet-events.txt Spooler";
        ASSERT_TRUE(ChangeServiceConfigW(s, SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE,
                                         stand_in.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                         nullptr));
        StartServiceW(s, 0, nullptr);
        for (int i = 0; i < 50 && QueryServiceStatus(s, &st) && st.dwCurrentState != SERVICE_RUNNING; i++)
            Sleep(100);
        CloseServiceHandle(s);
        CloseServiceHandle(m);
        CreateDirectoryW(L"C:\\vtfleet", nullptr);
        ASSERT_TRUE(write_test_file(L"C:\\vtfleet\\vtfleet.dll", 64));
        ASSERT_TRUE(add_test_driver(kDriver, L"Windows x64", L"C:\\vtfleet\\vtfleet.dll"));
        ASSERT_TRUE(write_test_file(driver_file_path(kDriver, L"Windows x64"), 64));
    }
    static void TearDownTestSuite() {
        delete_test_driver(kDriver);
        SC_HANDLE m = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        SC_HANDLE s = OpenServiceW(m, L"Spooler", SERVICE_ALL_ACCESS);
        SERVICE_STATUS st = {};
        ControlService(s, SERVICE_CONTROL_STOP, &st);
        for (int i = 0; i < 50 && QueryServiceStatus(s, &st) && st.dwCurrentState != SERVICE_STOPPED; i++)
            Sleep(100);
        ChangeServiceConfigW(s, SERVICE_NO_CHANGE, s_start_type, SERVICE_NO_CHANGE, s_binary.c_str(), nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr);
        CloseServiceHandle(s);
        CloseServiceHandle(m);
    }
    void SetUp() override { delete_settings_key(); }
    void TearDown() override {
        delete_test_printer(kPrinter);
        delete_settings_key();
    }
};
std::wstring Fleet::s_binary;
DWORD Fleet::s_start_type = SERVICE_DEMAND_START;

const wchar_t* kRange = L"/scanrange 127.0.0.1/32";

} // namespace

TEST_F(Fleet, CheckFixAndFixAgainOnATestPc) {
    std::string out, err;
    ASSERT_EQ(0u, run_piped(std::wstring(kRange) + L" /check /json \"" + json_out(L"empty.json") + L"\"",
                            &out, &err))
        << out;
    EXPECT_EQ(0u, out.find("BLUE: 0 problems, 0 heads-ups.")) << out;
    EXPECT_EQ("\r\n", out.substr(out.size() - 2));

    ASSERT_TRUE(add_test_printer(kPrinter, L"FILE:", kDriver));
    ASSERT_TRUE(set_reg_dword(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel", L"CheckVirtual", 1));
    ASSERT_EQ(0u, run_task_command(L"offline", kPrinter));
    ASSERT_TRUE(is_offline(kPrinter));

    out.clear();
    EXPECT_EQ(1u, run_piped(std::wstring(kRange) + L" /check", &out, &err)) << out;
    EXPECT_EQ(0u, out.find("RED: 1 problem, ")) << out;
    EXPECT_NE(
        std::string::npos,
        out.find("Most serious: Fleet Laser - \"Use Printer Offline\" is switched on (use-printer-offline)"))
        << out;
    EXPECT_EQ(out.find("\r\n"), out.size() - 2) << "exactly one line";

    out.clear();
    EXPECT_EQ(1u, run_piped(std::wstring(kRange) + L" /fix /only printer-paused", &out, &err)) << out;
    EXPECT_NE(std::string::npos, out.find("fixed 0. Now 1 problem")) << out;
    EXPECT_TRUE(is_offline(kPrinter)) << "only the rules asked for are fixed";
    EXPECT_EQ(0, recorded_changes());

    out.clear();
    EXPECT_EQ(0u,
              run_piped(std::wstring(kRange) + L" /fix /json \"" + json_out(L"pc.json") + L"\"", &out, &err))
        << out;
    EXPECT_EQ(0u, out.find("GREEN: fixed 1 (use-printer-offline: Fleet Laser). Now 0 problems")) << out;
    EXPECT_FALSE(is_offline(kPrinter));
    std::unique_ptr<ChangeList> list(new ChangeList());
    load_changes(list.get());
    ASSERT_EQ(1, list->count) << "recorded, so History & Undo lists it and can put it back";
    EXPECT_EQ(OfflineUnticked, list->records[0].changeKind);
    EXPECT_STREQ(L"Switched off \"Use Printer Offline\" for \"Fleet Laser\"", list->records[0].description);

    out.clear();
    EXPECT_EQ(0u, run_piped(std::wstring(kRange) + L" /fix", &out, &err)) << out;
    EXPECT_EQ(0u, out.find("GREEN: fixed 0. Now 0 problems")) << out;
    EXPECT_EQ(1, recorded_changes()) << "the second run changes nothing";
    EXPECT_EQ("", err) << "nothing ever on standard error";
}

TEST_F(Fleet, TheDemonstrationFindsProblemsAndChangesNothing) {
    std::string check, fix, err;
    EXPECT_EQ(1u, run_piped(L"/demo /check /json \"" + json_out(L"demo.json") + L"\"", &check, &err));
    EXPECT_EQ(0u, check.find("RED: 8 problems, 2 heads-ups. Most serious: ")) << check;
    EXPECT_NE(std::string::npos, check.find("[DEMO DATA]\r\n"));
    EXPECT_EQ(1u, run_piped(L"/demo /fix", &fix, &err));
    EXPECT_EQ(0u, fix.find("RED: nothing changed (demonstration data). 8 problems")) << fix;
    EXPECT_EQ(0, recorded_changes());
    std::string bad;
    EXPECT_EQ(87u, run_piped(L"/demo /fix /only no-such-rule", &bad, &err));
    EXPECT_EQ(0u, bad.find("ERROR: no rule is called \"no-such-rule\"")) << bad;
    EXPECT_EQ("", err);
}
