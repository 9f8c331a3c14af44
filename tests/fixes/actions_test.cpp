// The action runner: the outcome, the record of a success, and the elevated route through real
// second processes (Vantrel.exe itself, and this test program started the way run_action starts
// "itself").
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "core/state.h"
#include "fixes/actions.h"
#include "fixes/fix_this.h"
#include "fixes/undo_plan.h"
#include "history/changes.h"
#include "tests/support/test_support.h"

namespace {
std::vector<std::wstring> g_working;
int g_disabled_seen = 0;

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

// A task platform whose every call answers `answer` and counts itself.
struct FakeTasks {
    uint32_t answer = 0;
    int calls = 0;
};
TaskPlatform fake_platform(FakeTasks* fake) {
    TaskPlatform p = *windows_task_platform();
    p.ctx = fake;
    p.control_printer = [](void* c, const wchar_t*, uint32_t) {
        FakeTasks* f = static_cast<FakeTasks*>(c);
        f->calls++;
        return f->answer;
    };
    return p;
}

struct ActionsTest : ::testing::Test {
    RunnerEnv env = {};
    void SetUp() override {
        g_working.clear();
        g_disabled_seen = 0;
        env = RunnerEnv{};
        env.mayElevate = 1;
        env.autoNetTest = 1;
        env.working = [](void*) { g_working.push_back(L"working"); };
        g_process.demo = 0;
        g_process.elevated = 0;
        g_settings.logFile = 1;
        RegDeleteTreeW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY);
        HKEY key;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPorts, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegCloseKey(key);
    }
    void TearDown() override {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kPorts);
        RegDeleteTreeW(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY);
    }
    int32_t recorded_count() {
        ChangeList* list = new ChangeList();
        load_changes(list);
        int32_t n = list->count;
        delete list;
        return n;
    }
};
} // namespace

TEST_F(ActionsTest, SuccessIsRecordedWithItsKindAndAsksForACheck) {
    FakeTasks fake;
    TaskPlatform platform = fake_platform(&fake);
    env.platform = &platform;
    ChangePlan plan;
    change_plan(&plan, VerbPause, L"Office", PrinterPaused, L"Office", L"Paused the printer \"Office\"");
    ActionOutcome o = run_change(&plan, &env);
    EXPECT_EQ(ActionDone, o.status);
    EXPECT_EQ(1, fake.calls);
    EXPECT_STREQ(L"Done: Paused the printer \"Office\"", o.statusText);
    EXPECT_TRUE(o.recorded && o.checkAgain && o.checkWithNetwork) << "with the AutoNetTest setting";
    ChangeList* list = new ChangeList();
    load_changes(list);
    ASSERT_EQ(1, list->count);
    EXPECT_EQ(PrinterPaused, list->records[0].changeKind);
    EXPECT_STREQ(L"Office", list->records[0].detail);
    delete list;
}

TEST_F(ActionsTest, DemoAndMissingRightsChangeNothing) {
    FakeTasks fake;
    TaskPlatform platform = fake_platform(&fake);
    env.platform = &platform;
    ChangePlan plan;
    change_plan(&plan, VerbPause, L"Office", PrinterPaused, L"Office", L"x");
    env.demo = 1;
    EXPECT_EQ(ActionRefusedInDemo, run_change(&plan, &env).status);
    env.demo = 0;
    env.mayElevate = 0;
    change_plan(&plan, VerbSnmpOff, L"Port", SnmpSwitchedOff, L"Port", L"Switched off SNMP");
    ActionOutcome o = run_change(&plan, &env);
    EXPECT_EQ(ActionNeedsAdmin, o.status) << "headless: never a prompt";
    EXPECT_EQ(5u, o.result);
    EXPECT_EQ(0, fake.calls);
    EXPECT_EQ(0, recorded_count());
    EXPECT_TRUE(g_working.empty());
}

TEST_F(ActionsTest, CanceledAndFailedOutcomes) {
    ActionOutcome o;
    action_outcome_of(1223, L"x", 1, &o);
    EXPECT_EQ(ActionCanceled, o.status);
    EXPECT_STREQ(L"Canceled \x2014 nothing was changed.", o.statusText);
    EXPECT_FALSE(o.checkAgain);

    action_outcome_of(12345, L"Paused the printer \"P\"", 1, &o);
    EXPECT_EQ(ActionFailed, o.status);
    EXPECT_STREQ(L"That did not work.\n\nWhat was tried: Paused the printer \"P\"\nWindows said: error 12345 "
                 L"(error 12345)",
                 o.failureText);
    EXPECT_TRUE(o.checkAgain && !o.checkWithNetwork)
        << "a failure is followed by a check without network tests";

    action_outcome_of(5, L"X", 0, &o);
    EXPECT_NE(std::wstring::npos,
              std::wstring(o.failureText).find(L" (error 5)\n\nThis needs an administrator."));
    EXPECT_EQ(std::wstring::npos, std::wstring(o.failureText).find(L"\r"));

    FakeTasks fake;
    fake.answer = 1801;
    TaskPlatform platform = fake_platform(&fake);
    env.platform = &platform;
    ChangePlan plan;
    change_plan(&plan, VerbResume, L"P", PrinterResumed, L"P", L"Resumed");
    EXPECT_EQ(ActionFailed, run_change(&plan, &env).status);
    EXPECT_EQ(0, recorded_count()) << "nothing recorded on failure";
}

TEST_F(ActionsTest, InProcessWhenNoAdminNeeded) {
    // Not elevated and the verb needs no rights: the task runs here and its answer comes back.
    EXPECT_EQ(87u, run_action(VerbPause, L"", &env));
    EXPECT_EQ(87u, run_action(VerbNone, L"x", &env));
    env.elevated = 1;
    EXPECT_EQ(87u, run_action(VerbPortAddr, L"no bar", &env)) << "elevated: no second copy";
}

TEST_F(ActionsTest, ElevatedVantrelCopyGetsTheArgumentUnchanged) {
    const wchar_t* arg = L"VantrelQuotePort|Front \"A\" \\";
    // The copy writes the port key and cycles the spooler; its exit code is the task's.
    EXPECT_EQ(0u, run_elevated_copy(vantrel_exe_path().c_str(), L"port-addr", arg, &env));
    EXPECT_EQ(L"Front \"A\" \\", host_name());
    EXPECT_EQ(87u, run_elevated_copy(vantrel_exe_path().c_str(), L"Pause", L"x", &env))
        << "its full result comes back";
    EXPECT_EQ(87u, run_elevated_copy(vantrel_exe_path().c_str(), L"port-addr",
                                     std::wstring(800, L'x').c_str(), &env))
        << "too long to pass whole: nothing started";
}

TEST_F(ActionsTest, RunActionTakesTheElevatedRouteThroughItsOwnProgram) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = probe_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VantrelActionProbe";
    RegisterClassW(&wc);
    HWND owner = CreateWindowW(L"VantrelActionProbe", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                               nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, owner);
    env.owner = owner;
    SetTimer(owner, 1, 20, nullptr);
    // Not elevated (the test process never set the flag) and the verb needs rights: this program is
    // started again with "/task", and its test_main runs the task there.
    uint32_t r = run_action(VerbPortAddr, L"VantrelQuotePort|printer \"B\"\\\\", &env);
    KillTimer(owner, 1);
    EXPECT_EQ(0u, r);
    EXPECT_EQ(L"printer \"B\"\\\\", host_name());
    EXPECT_GT(g_disabled_seen, 0) << "the window was disabled and still got its timer during the wait";
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(std::vector<std::wstring>{L"working"}, g_working) << "told once, before the wait";
    DestroyWindow(owner);
}

// The print policy fixes on the real registry, through the runner as an elevated copy would run
// them: each changes its values, is recorded with what it found, and its undo puts that back.
namespace {
const wchar_t* kPointAndPrint = L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\PointAndPrint";
const wchar_t* kPrint = L"SYSTEM\\CurrentControlSet\\Control\\Print";

std::wstring policy(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size)) return L"-";
    return std::to_wstring(value);
}
void set_policy(const wchar_t* key, const wchar_t* name, DWORD value) {
    HKEY k;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
    RegSetValueExW(k, name, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(k);
}
std::wstring point_and_print() {
    return policy(kPointAndPrint, L"RestrictDriverInstallationToAdministrators") + L"," +
           policy(kPointAndPrint, L"NoWarningNoElevationOnInstall") + L"," +
           policy(kPointAndPrint, L"UpdatePromptSettings");
}
} // namespace

TEST_F(ActionsTest, PrintPolicyFixesChangeRecordAndUndo) {
    set_policy(kPointAndPrint, L"RestrictDriverInstallationToAdministrators", 0);
    set_policy(kPointAndPrint, L"NoWarningNoElevationOnInstall", 1);
    set_policy(kPrint, L"RpcAuthnLevelPrivacyEnabled", 0);
    Snapshot* s = snapshot_new();
    s->restrictDriverInstallation = {1, 0};
    s->noWarningNoElevationOnInstall = {1, 1};
    s->rpcAuthnLevelPrivacy = {1, 0};
    env.elevated = 1; // as the elevated copy runs it
    const struct {
        FixKind fix;
        std::wstring (*read)();
        const wchar_t *before, *after;
    } fixes[] = {
        {RestorePointAndPrint, point_and_print, L"0,1,-", L"1,0,0"},
        {RemoveRpcPrivacyOverride, [] { return policy(kPrint, L"RpcAuthnLevelPrivacyEnabled"); }, L"0", L"-"},
    };
    for (const auto& f : fixes) {
        ASSERT_EQ(f.before, f.read());
        Finding finding = {};
        finding.fix = f.fix;
        FixPlan plan;
        ASSERT_TRUE(fix_plan_of(&finding, s, L"", &plan));
        ASSERT_EQ(ActionDone, run_change(&plan, &env).status) << f.fix;
        EXPECT_EQ(f.after, f.read()) << f.fix;

        ChangeList* list = new ChangeList();
        load_changes(list);
        ASSERT_GE(list->count, 1);
        const ChangeRecord record = list->records[0];
        delete list;
        EXPECT_EQ(plan.changeKind, record.changeKind);
        EXPECT_STREQ(plan.detail, record.detail);
        UndoStep step = undo_step(record.changeKind);
        ChangePlan undo;
        undo_change_plan(&step, record.detail, L"Undid: it", &undo);
        ASSERT_EQ(ActionDone, run_change(&undo, &env).status) << f.fix;
        EXPECT_EQ(f.before, f.read()) << f.fix << ": put back as it was, an absent value absent again";
    }
    snapshot_free(s);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPointAndPrint);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPrint, L"RpcAuthnLevelPrivacyEnabled");
}
