// Fix This: the finding it picks and the undo record each change plans; then, with the interface
// services recorded, the questions asked and what Yes, No or Cancel leads to.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/findings.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui_services.h"
#include "fixes/fix_this.h"
#include "tests/support/test_support.h"
#include "ui/commands.h"

namespace {

// A PDF printer, the default network printer "Front Desk" and a printer shared from ACCOUNTS.
std::unique_ptr<Snapshot> office() {
    std::unique_ptr<Snapshot> s(new Snapshot());
    s->printerCount = 3;
    text_copy(s->printers[0].name, _countof(s->printers[0].name), L"Microsoft Print to PDF");
    s->printers[0].isVirtual = 1, s->printers[0].kind = KindBuiltIn;
    text_copy(s->printers[1].name, _countof(s->printers[1].name), L"Front Desk");
    text_copy(s->printers[1].address, _countof(s->printers[1].address), L"127.0.0.2");
    s->printers[1].kind = KindTcpIp, s->printers[1].isDefault = 1;
    text_copy(s->printers[2].name, _countof(s->printers[2].name), L"\\\\ACCOUNTS\\Laser");
    text_copy(s->printers[2].address, _countof(s->printers[2].address), L"ACCOUNTS");
    s->printers[2].kind = KindShared;
    return s;
}

TEST(FixChoice, WhichFindingTheUserMeans) {
    using Findings = std::vector<std::tuple<Severity, int32_t, FixKind>>;
    const Findings none,
        ok = {{SeverityOk, -1, NoFix}},
        notes = {{SeverityNote, -1, EnableDetailedLog}, {SeverityNote, 1, OpenWebPage}},
        unfixable_first = {{SeverityProblem, -1, NoFix}, {SeverityHeadsUp, 1, RestartSpooler}},
        printer_notes = {{SeverityProblem, 1, NoFix},
                         {SeverityNote, 2, OpenWebPage},
                         {SeverityNote, 1, OpenWebPage}},
        pc_fix = {
            {SeverityHeadsUp, -1, RestartSpooler}, {SeverityProblem, 1, NoFix}, {SeverityNote, 1, NoFix}};
    const struct {
        const Findings& findings;
        FixSelection selection; // bottom list used last, view, bottom row, printer row
        int32_t row;
        const wchar_t* message;
        const char* why;
    } cases[] = {
        {none, {0, 0, -1, -1}, -1, VANTREL_NO_PROBLEMS_TO_FIX, "nothing found"},
        {ok, {0, 0, -1, -1}, -1, VANTREL_NO_PROBLEMS_TO_FIX, "only an OK"},
        {notes, {0, 0, -1, -1}, -1, VANTREL_NO_ONE_CLICK_FIX, "only notes have fixes"},
        {unfixable_first, {0, 0, -1, -1}, 1, nullptr, "a problem without a fix is skipped"},
        {printer_notes, {0, 0, -1, 1}, 2, nullptr, "the printer's finding with a fix"},
        {printer_notes, {0, 0, -1, 0}, -1, VANTREL_NOTHING_WRONG_WITH_PRINTER, "a printer without findings"},
        {pc_fix, {0, 0, -1, 1}, 1, nullptr, "no fix for the printer: its first finding"},
        {pc_fix, {1, 0, 2, -1}, 2, nullptr, "the bottom list used last wins"},
        {pc_fix, {1, ViewPrintQueue, 2, -1}, 0, nullptr, "a queue row is not a finding"},
        {pc_fix, {1, 0, 5, 1}, 1, nullptr, "beyond the findings: the selected printer decides"},
        {pc_fix, {0, 0, 2, -1}, 0, nullptr, "the top list used last"},
    };
    std::unique_ptr<FindingList> list(new FindingList());
    for (const auto& c : cases) {
        list->count = 0;
        for (const auto& f : c.findings)
            add_finding_to(list.get(), L"test-rule", std::get<0>(f), std::get<1>(f), std::get<2>(f), L"",
                           L"Title", L"Text");
        FixChoice choice = choose_fix(list.get(), &c.selection);
        EXPECT_EQ(c.row, choice.row) << c.why;
        EXPECT_STREQ(c.message, choice.message) << c.why;
    }
    EXPECT_STREQ(VANTREL_NO_PROBLEMS_TO_FIX, choose_fix(nullptr, nullptr).message);
}

TEST(FixPlans, OldValuesAndThePortAddressWithAndWithoutTheOldOne) {
    auto s = office();
    s->spoolerStartType = 4;
    FixPlan plan;
    ASSERT_TRUE(own_task_plan(SpoolerAutoStart, s.get(), &plan));
    EXPECT_STREQ(plan.argument, L"2");
    EXPECT_STREQ(plan.detail, L"4") << "the old start type";
    EXPECT_FALSE(own_task_plan(SpoolerAutoStart, nullptr, &plan));
    EXPECT_FALSE(own_task_plan(OpenWebPage, s.get(), &plan));
    EXPECT_FALSE(fix_command_plan(kFixCommandCount, nullptr, 0, &plan));

    wchar_t port[260], address[260];
    EXPECT_FALSE(split_port_subject(L"IP_10.1.2.30", port, _countof(port), address, _countof(address)));
    ASSERT_TRUE(
        split_port_subject(L"IP_10.1.2.30|10.1.2.77", port, _countof(port), address, _countof(address)));
    EXPECT_STREQ(port, L"IP_10.1.2.30");
    EXPECT_STREQ(address, L"10.1.2.77");
    port_address_plan(L"IP_10.1.2.30|10.1.2.77", port, address, L"", &plan);
    EXPECT_EQ(plan.changeKind, 0) << "unknown old address: nothing to put back";
    EXPECT_STREQ(plan.argument, L"IP_10.1.2.30|10.1.2.77");
    EXPECT_NE(std::wstring(plan.description).find(L"(it was unknown)"), std::wstring::npos);
    port_address_plan(L"IP_10.1.2.30|10.1.2.77", port, address, L"10.1.2.30", &plan);
    EXPECT_EQ(plan.changeKind, 9);
    EXPECT_STREQ(plan.detail, L"IP_10.1.2.30|10.1.2.30");
    EXPECT_TRUE(plan.offerTestPage);
}

TEST(FixPrinters, TestPageAndWebPage) {
    auto s = office();
    EXPECT_EQ(test_page_printer(s.get(), 0), 1); // PDF selected: the real default printer instead
    EXPECT_EQ(test_page_printer(s.get(), 2), 2);
    EXPECT_EQ(test_page_printer(nullptr, 1), -1);
    wchar_t url[300];
    EXPECT_TRUE(printer_web_address(s.get(), 1, url, _countof(url)));
    EXPECT_STREQ(url, L"http://127.0.0.2/");
    EXPECT_FALSE(printer_web_address(s.get(), 2, url, _countof(url))); // the sharing computer's name
    EXPECT_STREQ(url, L"");
    EXPECT_FALSE(printer_web_address(s.get(), 0, url, _countof(url)));
    EXPECT_FALSE(printer_web_address(s.get(), 9, url, _countof(url)));
    s->printers[1].isDefault = 0, s->printers[0].isDefault = 1;
    EXPECT_EQ(test_page_printer(s.get(), 0), -1);
}

// What the interface services were asked, and the answers the message boxes give (then Cancel).
struct Box {
    std::wstring text, title;
    uint32_t flags;
};
struct Recorded {
    std::vector<Box> boxes;
    std::deque<int32_t> answers;
    std::vector<std::wstring> status, checks;
    std::vector<int32_t> views;
    int32_t selected = -1;
} g_rec;

struct FixThisFlow : ::testing::Test {
    std::unique_ptr<Snapshot> snapshot = office();
    Snapshot* saved = g_snapshot;

    void SetUp() override {
        g_rec = Recorded();
        ui_services_defaults(&g_ui);
        g_ui.message_box = [](const wchar_t* text, const wchar_t* title, uint32_t flags) {
            g_rec.boxes.push_back({text, title, flags});
            int32_t answer = g_rec.answers.empty() ? IDCANCEL : g_rec.answers.front();
            if (!g_rec.answers.empty()) g_rec.answers.pop_front();
            return answer;
        };
        g_ui.status_text = [](const wchar_t* text) { g_rec.status.push_back(text); };
        g_ui.selected_printer = [] { return g_rec.selected; };
        g_ui.start_check = [](int32_t net, const wchar_t* address) {
            g_rec.checks.push_back(std::to_wstring(net) + L" " + (address ? address : L"(all)"));
        };
        g_ui.switch_view = [](int32_t v) { g_rec.views.push_back(v); };
        g_settings.autoNetTest = g_process.demo = g_process.elevated = g_findings.count = 0;
        g_snapshot = snapshot.get();
        delete_settings_key();
    }
    void TearDown() override {
        g_snapshot = saved, g_process.demo = 0;
        ui_services_defaults(&g_ui);
        delete_settings_key();
    }
};

TEST_F(FixThisFlow, ClearStuckJobsAsksTwiceAndCancelChangesNothing) {
    add_finding(L"test-rule", SeverityProblem, -1, ClearStuckJobs, L"", L"Jobs are stuck",
                L"One job has waited an hour.");
    snapshot->jobCount = 1;
    g_rec.answers = {IDYES, IDCANCEL};
    fix_this();
    ASSERT_EQ(g_rec.boxes.size(), 2u);
    EXPECT_EQ(g_rec.boxes[0].flags, (uint32_t)(MB_YESNO | MB_ICONWARNING));
    EXPECT_NE(g_rec.boxes[1].text.find(L"(1 job on all printers right now)"), std::wstring::npos);
    EXPECT_EQ(g_rec.boxes[1].flags, (uint32_t)(MB_ICONQUESTION | MB_OKCANCEL));
    EXPECT_TRUE(g_rec.status.empty() && g_rec.checks.empty());
}

TEST_F(FixThisFlow, DemonstrationShowsItsMessageInsteadOfTheChange) {
    g_process.demo = 1;
    add_finding(L"test-rule", SeverityHeadsUp, 1, ResumePrinter, L"Front Desk", L"Paused",
                L"Someone paused it.");
    g_rec.answers = {IDYES};
    fix_this();
    ASSERT_EQ(g_rec.boxes.size(), 2u);
    EXPECT_EQ(g_rec.boxes[0].title, L"Heads-up: Front Desk");
    EXPECT_EQ(g_rec.boxes[1].text, VANTREL_DEMO_MESSAGE);
    EXPECT_EQ(g_rec.boxes[1].flags, (uint32_t)MB_ICONINFORMATION);
    EXPECT_TRUE(g_rec.status.empty());
}

TEST_F(FixThisFlow, NoChangesAfterNoThenTheAnsweredFixRuns) {
    add_finding(L"test-rule", SeverityHeadsUp, -1, ShowPrintLog, L"", L"Errors in the log",
                L"Windows logged errors.");
    add_finding(L"test-rule", SeverityProblem, 1, RunNetworkTest, L"Front Desk", L"No answer",
                L"It did not answer.");
    g_rec.answers = {IDNO};
    fix_this();
    EXPECT_EQ(g_rec.boxes.size(), 1u);
    EXPECT_TRUE(g_rec.views.empty() && g_rec.checks.empty());
    int32_t log_row = g_findings.items[0].fix == ShowPrintLog ? 0 : 1;
    g_rec.answers = {IDYES};
    apply_fix(log_row);
    EXPECT_EQ(g_rec.views, std::vector<int32_t>{ViewWindowsLog});
    g_rec.selected = 1, g_rec.answers = {IDYES};
    fix_this();
    EXPECT_EQ(g_rec.checks, std::vector<std::wstring>{L"1 127.0.0.2"})
        << "a network test of only that printer";
}

TEST_F(FixThisFlow, SharedPrinterWebPageIsNeverOpened) {
    open_printer_web_page(2);
    ASSERT_EQ(g_rec.boxes.size(), 1u);
    EXPECT_EQ(g_rec.boxes[0].text, VANTREL_NO_WEB_PAGE);
}

} // namespace
