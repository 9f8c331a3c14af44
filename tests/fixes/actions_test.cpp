// The action runner: the outcome shown and recorded, and the elevated route through real second
// processes (Vantrel.exe itself, and this test program started the way run_action starts "itself").
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "core/state.h"
#include "core/ui_services.h"
#include "fixes/actions.h"
#include "history/changes.h"
#include "tests/support/test_support.h"

namespace {
std::vector<std::wstring> g_status, g_boxes;
std::vector<int> g_checks;
HWND g_owner = nullptr;
int g_disabled_seen = 0;

int32_t box(const wchar_t* t, const wchar_t*, uint32_t) {
    g_boxes.push_back(t);
    return IDOK;
}

LRESULT CALLBACK probe_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_TIMER && !IsWindowEnabled(w)) g_disabled_seen++;
    return DefWindowProcW(w, m, wp, lp);
}

const wchar_t* kPorts =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\VantrelQuotePort";

std::wstring host_name() {
    wchar_t buf[300] = L"";
    DWORD bytes = sizeof(buf), type = 0;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPorts, 0, KEY_READ, &key)) return L"<no key>";
    RegQueryValueExW(key, L"HostName", nullptr, &type, (BYTE*)buf, &bytes);
    RegCloseKey(key);
    return buf;
}

struct ActionsTest : ::testing::Test {
    void SetUp() override {
        g_status.clear();
        g_boxes.clear();
        g_checks.clear();
        g_disabled_seen = 0;
        g_owner = nullptr;
        ui_services_defaults(&g_ui);
        g_ui.main_window = [] { return (void*)g_owner; };
        g_ui.status_text = [](const wchar_t* t) { g_status.push_back(t); };
        g_ui.message_box = box;
        g_ui.start_check = [](int32_t net, const wchar_t*) { g_checks.push_back(net); };
        g_settings.autoNetTest = 1;
        g_process.demo = 0;
        g_process.elevated = 0;
        g_settings.logFile = 1;
        RegDeleteTreeW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY);
        HKEY key;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPorts, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegCloseKey(key);
    }
    void TearDown() override {
        ui_services_defaults(&g_ui);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kPorts);
        RegDeleteTreeW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY);
    }
};
} // namespace

TEST_F(ActionsTest, SuccessIsRecordedShownAndChecked) {
    EXPECT_EQ(1, report_action(0, PrinterPaused, L"Office", L"Paused the printer \"Office\""));
    ASSERT_EQ(1u, g_status.size());
    EXPECT_EQ(L"Done: Paused the printer \"Office\"", g_status[0]);
    ASSERT_EQ(1u, g_checks.size());
    EXPECT_EQ(1, g_checks[0]) << "with the AutoNetTest setting";
    ChangeList* list = new ChangeList();
    load_changes(list);
    ASSERT_EQ(1, list->count);
    EXPECT_EQ(PrinterPaused, list->records[0].changeKind);
    EXPECT_STREQ(L"Office", list->records[0].detail);
    delete list;
}

TEST_F(ActionsTest, DemoSuccessIsNotRecorded) {
    g_process.demo = 1;
    EXPECT_EQ(1, report_action(0, 0, L"", L"Restarted the Print Spooler service"));
    ChangeList* list = new ChangeList();
    load_changes(list);
    EXPECT_EQ(0, list->count);
    delete list;
}

TEST_F(ActionsTest, CanceledAndFailed) {
    EXPECT_EQ(0, report_action(1223, 0, L"", L"x"));
    ASSERT_EQ(1u, g_status.size());
    EXPECT_EQ(L"Canceled \x2014 nothing was changed.", g_status[0]);
    EXPECT_TRUE(g_checks.empty());
    EXPECT_TRUE(g_boxes.empty());

    EXPECT_EQ(0, report_action(12345, 4, L"P", L"Paused the printer \"P\""));
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ(L"That did not work.\n\nWhat was tried: Paused the printer \"P\"\nWindows said: error 12345 "
              L"(error 12345)",
              g_boxes[0]);
    ASSERT_EQ(1u, g_checks.size());
    EXPECT_EQ(0, g_checks[0]) << "a failure is followed by a check without network tests";

    EXPECT_EQ(0, report_action(5, 0, L"", L"X"));
    ASSERT_EQ(2u, g_boxes.size());
    EXPECT_NE(std::wstring::npos, g_boxes[1].find(L" (error 5)\n\nThis needs an administrator."));
    EXPECT_EQ(std::wstring::npos, g_boxes[1].find(L"\r"));
    ChangeList* list = new ChangeList();
    load_changes(list);
    EXPECT_EQ(0, list->count) << "nothing recorded on failure";
    delete list;
}

TEST_F(ActionsTest, InProcessWhenNoAdminNeeded) {
    // Not elevated and the verb needs no rights: the task runs here and its answer comes back.
    EXPECT_EQ(87u, run_action(VerbPause, L"", 0));
    EXPECT_EQ(87u, run_action(VerbNone, L"x", 0));
    g_process.elevated = 1;
    EXPECT_EQ(87u, run_action(VerbPortAddr, L"no bar", 1)) << "elevated: no second copy";
}

TEST_F(ActionsTest, ElevatedVantrelCopyGetsTheArgumentUnchanged) {
    const wchar_t* arg = L"VantrelQuotePort|Front \"A\" \\";
    // The copy writes the port key and cycles the spooler; its exit code is the task's.
    EXPECT_EQ(0u, run_elevated_copy(vantrel_exe_path().c_str(), L"port-addr", arg));
    EXPECT_EQ(L"Front \"A\" \\", host_name());
    EXPECT_EQ(87u, run_elevated_copy(vantrel_exe_path().c_str(), L"Pause", L"x"))
        << "its full result comes back";
    EXPECT_EQ(87u,
              run_elevated_copy(vantrel_exe_path().c_str(), L"port-addr", std::wstring(800, L'x').c_str()))
        << "too long to pass whole: nothing started";
}

TEST_F(ActionsTest, RunActionTakesTheElevatedRouteThroughItsOwnProgram) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = probe_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VantrelActionProbe";
    RegisterClassW(&wc);
    g_owner = CreateWindowW(L"VantrelActionProbe", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                            nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, g_owner);
    SetTimer(g_owner, 1, 20, nullptr);
    // Not elevated (the test process never set the flag) and the verb needs rights: this program is
    // started again with "/task", and its test_main runs the task there.
    uint32_t r = run_action(VerbPortAddr, L"VantrelQuotePort|printer \"B\"\\\\", 1);
    KillTimer(g_owner, 1);
    EXPECT_EQ(0u, r);
    EXPECT_EQ(L"printer \"B\"\\\\", host_name());
    EXPECT_GT(g_disabled_seen, 0) << "the window was disabled and still got its timer during the wait";
    EXPECT_TRUE(IsWindowEnabled(g_owner));
    ASSERT_FALSE(g_status.empty());
    EXPECT_EQ(L"Working\x2026 (this can take up to a minute)", g_status[0]);
    DestroyWindow(g_owner);
    g_owner = nullptr;
}
