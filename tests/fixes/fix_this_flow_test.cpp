// Fix This as the user meets it: the questions asked in order, what a Yes or a Cancel leads to, and
// the demonstration message, with the interface services swapped for recorders. Only harmless
// changes run for real (a value under the test prefix's HKEY_CURRENT_USER).
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui_services.h"
#include "fixes/fix_this.h"
#include "history/changes.h"
#include "tests/support/test_support.h"
#include "ui/commands.h"

namespace {

struct Box {
    std::wstring text, title;
    uint32_t flags;
};
std::vector<Box> g_boxes;
std::deque<int32_t> g_answers;
std::vector<std::wstring> g_status, g_checks;
std::vector<int32_t> g_views;
int32_t g_selected = -1;

int32_t box(const wchar_t* text, const wchar_t* title, uint32_t flags) {
    g_boxes.push_back({text, title, flags});
    if (g_answers.empty()) return IDCANCEL;
    int32_t answer = g_answers.front();
    g_answers.pop_front();
    return answer;
}
void status(const wchar_t* text) {
    g_status.push_back(text);
}
int32_t selected() {
    return g_selected;
}
void check(int32_t net, const wchar_t* address) {
    g_checks.push_back(std::to_wstring(net) + L" " + (address ? address : L"(all)"));
}
void view(int32_t v) {
    g_views.push_back(v);
}
const wchar_t* kWindowsKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

struct FixThisFlow : ::testing::Test {
    Snapshot* saved = nullptr;
    Snapshot snapshot = {};

    void SetUp() override {
        g_boxes.clear();
        g_answers.clear();
        g_status.clear();
        g_checks.clear();
        g_views.clear();
        g_selected = -1;
        ui_services_defaults(&g_ui);
        g_ui.message_box = box;
        g_ui.status_text = status;
        g_ui.selected_printer = selected;
        g_ui.start_check = check;
        g_ui.switch_view = view;
        g_settings.autoNetTest = 0;
        g_process.demo = 0;
        g_process.elevated = 0;
        g_findings.count = 0;
        snapshot.printerCount = 2;
        text_copy(snapshot.printers[0].name, _countof(snapshot.printers[0].name), L"Microsoft Print to PDF");
        snapshot.printers[0].isVirtual = 1;
        text_copy(snapshot.printers[1].name, _countof(snapshot.printers[1].name), L"Front Desk");
        text_copy(snapshot.printers[1].address, _countof(snapshot.printers[1].address), L"127.0.0.2");
        snapshot.printers[1].kind = KindTcpIp;
        snapshot.printers[1].isDefault = 1;
        saved = g_snapshot;
        g_snapshot = &snapshot;
        delete_settings_key();
    }
    void TearDown() override {
        g_snapshot = saved;
        g_process.demo = 0;
        ui_services_defaults(&g_ui);
        delete_settings_key();
    }
};

TEST_F(FixThisFlow, ClearStuckJobsAsksTwiceAndCancelChangesNothing) {
    add_finding(SeverityProblem, -1, ClearStuckJobs, L"", L"Jobs are stuck", L"One job has waited an hour.");
    snapshot.jobCount = 1;
    g_answers = {IDYES, IDCANCEL};
    fix_this();
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[0].title, L"PROBLEM: this PC");
    EXPECT_EQ(g_boxes[0].text,
              L"Jobs are stuck\n\nOne job has waited an hour.\n\nTHE FIX: Clear stuck jobs.\n\nDo "
              L"it now?");
    EXPECT_EQ(g_boxes[0].flags, (uint32_t)(MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ(g_boxes[1].title, L"Clear Stuck Jobs");
    EXPECT_NE(g_boxes[1].text.find(L"(1 job on all printers right now)"), std::wstring::npos);
    EXPECT_EQ(g_boxes[1].flags, (uint32_t)(MB_ICONQUESTION | MB_OKCANCEL));
    EXPECT_TRUE(g_status.empty());
    EXPECT_TRUE(g_checks.empty());
}

TEST_F(FixThisFlow, DemonstrationShowsItsMessageInsteadOfTheChange) {
    g_process.demo = 1;
    add_finding(SeverityHeadsUp, 1, ResumePrinter, L"Front Desk", L"Paused", L"Someone paused it.");
    g_answers = {IDYES};
    fix_this();
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[0].title, L"Heads-up: Front Desk");
    EXPECT_EQ(g_boxes[1].text, VANTREL_DEMO_MESSAGE);
    EXPECT_EQ(g_boxes[1].flags, (uint32_t)MB_ICONINFORMATION);
    EXPECT_TRUE(g_status.empty());
}

TEST_F(FixThisFlow, DeclinedQuestionDoesNothing) {
    add_finding(SeverityHeadsUp, -1, ShowPrintLog, L"", L"Errors in the log", L"Windows logged errors.");
    g_answers = {IDNO};
    fix_this();
    EXPECT_EQ(g_boxes.size(), 1u);
    EXPECT_TRUE(g_views.empty());
    g_answers = {IDYES};
    apply_fix(0);
    EXPECT_EQ(g_views, std::vector<int32_t>{ViewWindowsLog});
}

TEST_F(FixThisFlow, NetworkTestOfOnlyThatPrinter) {
    add_finding(SeverityProblem, 1, RunNetworkTest, L"Front Desk", L"No answer", L"It did not answer.");
    g_selected = 1;
    g_answers = {IDYES};
    fix_this();
    EXPECT_EQ(g_checks, std::vector<std::wstring>{L"1 127.0.0.2"});
}

TEST_F(FixThisFlow, SelectedPrinterWithNothingWrong) {
    add_finding(SeverityProblem, -1, StartSpooler, L"", L"Spooler stopped", L"It is stopped.");
    g_selected = 0;
    fix_this();
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, VANTREL_NOTHING_WRONG_WITH_PRINTER);
    EXPECT_EQ(g_boxes[0].title, L"Vantrel");
}

TEST_F(FixThisFlow, SpoolerAutoStartWithoutSnapshotDoesNothingAfterYes) {
    add_finding(SeverityHeadsUp, -1, SpoolerAutoStart, L"", L"Manual start", L"It starts by hand.");
    g_snapshot = nullptr;
    g_answers = {IDYES};
    fix_this();
    EXPECT_EQ(g_boxes.size(), 1u);
    EXPECT_TRUE(g_status.empty());
}

TEST_F(FixThisFlow, KeepDefaultPrinterWritesTheValueAndRecordsIt) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kWindowsKey, L"LegacyDefaultPrinterMode");
    add_finding(SeverityNote, -1, KeepDefaultPrinter, L"", L"Windows picks the default", L"It moves.");
    g_answers = {IDYES};
    apply_fix(0);
    DWORD value = 0, bytes = sizeof(value);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kWindowsKey, L"LegacyDefaultPrinterMode", RRF_RT_REG_DWORD,
                           nullptr, &value, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
    ASSERT_EQ(g_status.size(), 1u);
    EXPECT_EQ(g_status[0], L"Done: Switched off \"Let Windows manage my default printer\"");
    static ChangeList changes;
    load_changes(&changes);
    ASSERT_EQ(changes.count, 1);
    EXPECT_EQ(changes.records[0].changeKind, 5);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kWindowsKey, L"LegacyDefaultPrinterMode");
}

TEST_F(FixThisFlow, TestPageOfferNamesTheRealDefaultPrinter) {
    g_selected = 0; // Microsoft Print to PDF
    g_answers = {IDNO};
    offer_test_page();
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].title, L"Test Page");
    EXPECT_EQ(g_boxes[0].text,
              L"The Print Spooler is running again.\n\nSend a Windows test page to \"Front Desk\" "
              L"now, to prove printing works?");
    snapshot.printers[1].isDefault = 0;
    offer_test_page();
    EXPECT_EQ(g_boxes.size(), 1u);
}

TEST_F(FixThisFlow, SharedPrinterWebPageIsNeverOpened) {
    text_copy(snapshot.printers[1].address, _countof(snapshot.printers[1].address), L"ACCOUNTS");
    snapshot.printers[1].kind = KindShared;
    open_printer_web_page(1);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, VANTREL_NO_WEB_PAGE);
}

} // namespace
