// The check cycle's collapsing of requests, the two-minute network-test rule, the change summary
// that decides what reaches the log, and the automatic search trigger.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/check.h"
#include "core/text.h"

namespace {
CheckCycle fresh_cycle() {
    CheckCycle c = {};
    c.logNextSummary = 1;
    return c;
}

std::vector<std::wstring> g_lines;
const auto sink = [](const wchar_t* line) { g_lines.push_back(line); };

void add(FindingList* list, Severity sev, int printer, const wchar_t* title) {
    Finding* f = &list->items[list->count++];
    *f = Finding{};
    f->severity = sev;
    f->printerIndex = printer;
    text_copy(f->title, _countof(f->title), title);
}

struct Fixture {
    Snapshot* s = snapshot_new();
    FindingList* list = new FindingList();
    Fixture() {
        text_copy(snapshot_add_printer(s)->name, 260, L"Front Desk");
        text_copy(snapshot_add_printer(s)->name, 260, L"Back Office");
    }
    ~Fixture() {
        snapshot_free(s);
        delete list;
    }
};
} // namespace

TEST(CheckCycle, RequestsWhileACheckRunsCollapseIntoOne) {
    CheckCycle c = fresh_cycle();
    volatile long running = 0;
    EXPECT_TRUE(check_request(&c, &running, 0, nullptr));
    EXPECT_EQ(1, running);
    for (int i = 0; i < 3; i++)
        EXPECT_FALSE(check_request(&c, &running, 0, nullptr)) << "three Check Now clicks";
    EXPECT_EQ(1, c.pending);
    EXPECT_EQ(0, c.pendingNetworkTest);

    EXPECT_FALSE(check_request(&c, &running, 1, L"127.0.0.5"));
    EXPECT_EQ(1, c.pendingNetworkTest);
    EXPECT_STREQ(L"127.0.0.5", c.pendingAddress);
    EXPECT_FALSE(check_request(&c, &running, 0, nullptr));
    EXPECT_EQ(1, c.pendingNetworkTest) << "a plain request never clears a pending network test";
    EXPECT_STREQ(L"127.0.0.5", c.pendingAddress);
}

TEST(CheckCycle, AutomaticChecksTestTheNetworkAtMostEveryTwoMinutes) {
    CheckCycle c = fresh_cycle();
    c.lastNetworkTestStart = 1000;
    int net = -1;
    for (int i = 1; i < 10; i++)
        EXPECT_FALSE(check_tick(&c, 1, 1, 0, 2000, &net));
    EXPECT_TRUE(check_tick(&c, 1, 1, 0, 1000 + 119999, &net)) << "every tenth tick";
    EXPECT_FALSE(net) << "119 999 ms is not more than the interval";
    for (int i = 1; i < 10; i++)
        check_tick(&c, 1, 1, 0, 0, &net);
    EXPECT_TRUE(check_tick(&c, 1, 1, 0, 1000 + 120000, &net));
    EXPECT_TRUE(net);
    for (int i = 1; i < 10; i++)
        check_tick(&c, 1, 0, 0, 0, &net);
    EXPECT_TRUE(check_tick(&c, 1, 0, 0, 999999, &net));
    EXPECT_FALSE(net) << "AutoNetTest off";
    for (int i = 1; i < 10; i++)
        check_tick(&c, 0, 1, 0, 0, &net);
    EXPECT_FALSE(check_tick(&c, 0, 1, 0, 999999, &net)) << "AutoCheck off starts nothing";
    for (int i = 1; i < 10; i++)
        check_tick(&c, 1, 1, 1, 0, &net);
    EXPECT_FALSE(check_tick(&c, 1, 1, 1, 999999, &net)) << "nothing starts by itself in demonstration mode";
    EXPECT_EQ(50u, c.ticks);
}

TEST(CheckCycle, TheFirstHandOverAlwaysLogsAndRepeatsDoNot) {
    Fixture fx;
    CheckCycle c = fresh_cycle();
    g_lines.clear();
    EXPECT_EQ(1, log_change_summary(&c, fx.list, fx.s, sink));
    ASSERT_EQ(1u, g_lines.size());
    EXPECT_EQ(L"Check: no problems found (2 printers)", g_lines[0]);
    EXPECT_EQ(0, log_change_summary(&c, fx.list, fx.s, sink));

    add(fx.list, SeverityProblem, 1, L"The printer is paused");
    add(fx.list, SeverityHeadsUp, -1, L"Leftover job files in the spool folder");
    add(fx.list, SeverityNote, 0, L"A note");
    g_lines.clear();
    EXPECT_EQ(2, log_change_summary(&c, fx.list, fx.s, sink));
    ASSERT_EQ(2u, g_lines.size());
    EXPECT_EQ(L"Found [PROBLEM] Back Office: The printer is paused", g_lines[0]);
    EXPECT_EQ(L"Found [Heads-up] this PC: Leftover job files in the spool folder", g_lines[1]);
    EXPECT_STREQ(
        L"[PROBLEM] Back Office: The printer is paused | [Heads-up] this PC: Leftover job files in the "
        L"spool folder | ",
        c.summary);

    fx.list->count = 2; // the Note goes away
    g_lines.clear();
    EXPECT_EQ(0, log_change_summary(&c, fx.list, fx.s, sink)) << "a Note that comes or goes writes nothing";
    fx.list->items[0].printerIndex = 57; // out of range: named as the PC, never read past the printers
    EXPECT_EQ(2, log_change_summary(&c, fx.list, fx.s, sink));
}

TEST(CheckCycle, TheSummaryStopsCleanlyWhenFull) {
    Fixture fx;
    for (int i = 0; i < kMaxFindings; i++)
        add(fx.list, SeverityProblem, 0, std::wstring(200, L't').c_str());
    wchar_t out[kChangeSummaryCapacity];
    build_change_summary(fx.list, fx.s, out, _countof(out));
    EXPECT_EQ(kChangeSummaryCapacity - 1, (int)wcslen(out));
}

TEST(CheckCycle, TheAutomaticSearchWaitsForATcpPrinterThatStoppedAnswering) {
    Fixture fx;
    EXPECT_FALSE(wants_auto_search(fx.s));
    PrinterRecord* p = &fx.s->printers[0];
    p->kind = KindTcpIp;
    p->net.tested = 1;
    p->net.resolved = 1;
    p->net.pingOk = 1;
    EXPECT_FALSE(wants_auto_search(fx.s)) << "answers the ping";
    p->net.pingOk = 0;
    p->net.portOpen[0] = 1;
    EXPECT_FALSE(wants_auto_search(fx.s)) << "port 9100 open";
    p->net.portOpen[0] = 0;
    EXPECT_TRUE(wants_auto_search(fx.s));
    p->net.pingOk = 1;
    p->net.resolved = 0;
    EXPECT_TRUE(wants_auto_search(fx.s)) << "the name did not resolve";
    p->kind = KindWsd;
    EXPECT_FALSE(wants_auto_search(fx.s)) << "only Standard TCP/IP printers";
    EXPECT_FALSE(wants_auto_search(nullptr));
}
