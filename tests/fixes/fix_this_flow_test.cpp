// Fix This as the user meets it: the questions asked in order, what a Yes, No or Cancel leads to,
// and the demonstration message, with the interface services swapped for recorders.
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
        g_ui.status_text = [](const wchar_t* text) { g_status.push_back(text); };
        g_ui.selected_printer = [] { return g_selected; };
        g_ui.start_check = [](int32_t net, const wchar_t* address) {
            g_checks.push_back(std::to_wstring(net) + L" " + (address ? address : L"(all)"));
        };
        g_ui.switch_view = [](int32_t v) { g_views.push_back(v); };
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

TEST_F(FixThisFlow, NoChangesAfterNoThenTheAnsweredFixRuns) {
    add_finding(SeverityHeadsUp, -1, ShowPrintLog, L"", L"Errors in the log", L"Windows logged errors.");
    add_finding(SeverityProblem, 1, RunNetworkTest, L"Front Desk", L"No answer", L"It did not answer.");
    g_answers = {IDNO};
    fix_this();
    EXPECT_EQ(g_boxes.size(), 1u);
    EXPECT_TRUE(g_views.empty());
    EXPECT_TRUE(g_checks.empty());
    int32_t log_row = g_findings.items[0].fix == ShowPrintLog ? 0 : 1;
    g_answers = {IDYES};
    apply_fix(log_row);
    EXPECT_EQ(g_views, std::vector<int32_t>{ViewWindowsLog});
    g_selected = 1;
    g_answers = {IDYES};
    fix_this();
    EXPECT_EQ(g_checks, std::vector<std::wstring>{L"1 127.0.0.2"}) << "a network test of only that printer";
}

TEST_F(FixThisFlow, SharedPrinterWebPageIsNeverOpened) {
    text_copy(snapshot.printers[1].address, _countof(snapshot.printers[1].address), L"ACCOUNTS");
    snapshot.printers[1].kind = KindShared;
    open_printer_web_page(1);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, VANTREL_NO_WEB_PAGE);
}

} // namespace
