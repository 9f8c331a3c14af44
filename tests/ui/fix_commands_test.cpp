// Fix This in the window's hands: with the interface and frame services recorded, the questions
// asked and what Yes, No or Cancel leads to.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "tests/support/test_support.h"
#include "ui/commands.h"
#include "ui/fix_commands.h"
#include "ui/frame_services.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

namespace {

// A PDF printer, the default network printer "Front Desk" and a printer shared from ACCOUNTS.
Snapshot* office() {
    Snapshot* s = snapshot_new();
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
    std::unique_ptr<Session> session{new Session()};
    Session* saved = g_main.session;

    void SetUp() override {
        g_rec = Recorded();
        session_init(session.get());
        session->snapshot = office();
        g_main.session = session.get();
        ui_services_defaults(&g_ui);
        frame_services_defaults(&g_frame);
        g_ui.message_box = [](const wchar_t* text, const wchar_t* title, uint32_t flags) {
            g_rec.boxes.push_back({text, title, flags});
            int32_t answer = g_rec.answers.empty() ? IDCANCEL : g_rec.answers.front();
            if (!g_rec.answers.empty()) g_rec.answers.pop_front();
            return answer;
        };
        g_ui.status_text = [](const wchar_t* text) { g_rec.status.push_back(text); };
        g_ui.selected_printer = [] { return g_rec.selected; };
        g_frame.start_check = [](Session*, int net, const wchar_t* address) {
            g_rec.checks.push_back(std::to_wstring(net) + L" " + (address ? address : L"(all)"));
        };
        g_ui.switch_view = [](int32_t v) { g_rec.views.push_back(v); };
        g_settings.autoNetTest = g_process.demo = g_process.elevated = 0;
        delete_settings_key();
    }
    void TearDown() override {
        snapshot_free(session->snapshot);
        g_main.session = saved, g_process.demo = 0;
        ui_services_defaults(&g_ui);
        frame_services_defaults(&g_frame);
        delete_settings_key();
    }
    void add(Severity severity, int32_t printer, FixKind fix, const wchar_t* subject, const wchar_t* title) {
        add_finding_to(&session->findings, L"test-rule", severity, printer, fix, subject, title, L"Text.");
    }
};

TEST_F(FixThisFlow, ClearStuckJobsAsksTwiceAndCancelChangesNothing) {
    add(SeverityProblem, -1, ClearStuckJobs, L"", L"Jobs are stuck");
    session->snapshot->jobCount = 1;
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
    add(SeverityHeadsUp, 1, ResumePrinter, L"Front Desk", L"Paused");
    g_rec.answers = {IDYES};
    fix_this();
    ASSERT_EQ(g_rec.boxes.size(), 2u);
    EXPECT_EQ(g_rec.boxes[0].title, L"Heads-up: Front Desk");
    EXPECT_EQ(g_rec.boxes[1].text, VANTREL_DEMO_MESSAGE);
    EXPECT_EQ(g_rec.boxes[1].flags, (uint32_t)MB_ICONINFORMATION);
    EXPECT_TRUE(g_rec.status.empty());
}

TEST_F(FixThisFlow, NoChangesAfterNoThenTheAnsweredFixRuns) {
    add(SeverityHeadsUp, -1, ShowPrintLog, L"", L"Errors in the log");
    add(SeverityProblem, 1, RunNetworkTest, L"Front Desk", L"No answer");
    g_rec.answers = {IDNO};
    fix_this();
    EXPECT_EQ(g_rec.boxes.size(), 1u);
    EXPECT_TRUE(g_rec.views.empty() && g_rec.checks.empty());
    int32_t log_row = session->findings.items[0].fix == ShowPrintLog ? 0 : 1;
    g_rec.answers = {IDYES};
    apply_fix(log_row);
    EXPECT_EQ(g_rec.views, std::vector<int32_t>{ViewWindowsLog});
    g_rec.selected = 1, g_rec.answers = {IDYES};
    fix_this();
    EXPECT_EQ(g_rec.checks, std::vector<std::wstring>{L"1 127.0.0.2"})
        << "a network test of only that printer";
}

TEST_F(FixThisFlow, AFailedChangeShowsWindowsOwnWordsAndChecksAgain) {
    add(SeverityProblem, 1, ResumePrinter, L"No Such Printer Here", L"Paused");
    g_rec.answers = {IDYES};
    fix_this();
    ASSERT_EQ(g_rec.boxes.size(), 2u);
    EXPECT_EQ(g_rec.boxes[1].text.rfind(L"That did not work.\n\nWhat was tried: Resumed the printer", 0), 0u);
    EXPECT_EQ(g_rec.boxes[1].flags, (uint32_t)MB_ICONWARNING);
    EXPECT_EQ(g_rec.checks, std::vector<std::wstring>{L"0 (all)"});
}

TEST_F(FixThisFlow, SharedPrinterWebPageIsNeverOpened) {
    open_printer_web_page(2);
    ASSERT_EQ(g_rec.boxes.size(), 1u);
    EXPECT_EQ(g_rec.boxes[0].text, VANTREL_NO_WEB_PAGE);
}

} // namespace
