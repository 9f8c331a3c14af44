// The fleet modes' one line and exit code, from plain records.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/fleet.h"
#include "core/text.h"

namespace {
std::wstring line_of(const Snapshot* s, const FindingList* f, const UnattendedRun* run, int demo = 0) {
    wchar_t out[2100];
    if (run)
        fix_line(s, f, run, demo, out, _countof(out));
    else
        check_line(s, f, demo, out, _countof(out));
    return out;
}
} // namespace

TEST(FleetLine, VerdictCountsMostSeriousAndWhatWasFixed) {
    std::unique_ptr<Snapshot> s(new Snapshot());
    s->printerCount = 1;
    s->spoolerState = 4;
    text_copy(s->printers[0].name, 260, L"Front Desk");
    std::unique_ptr<FindingList> f(new FindingList());
    EXPECT_EQ(0, fleet_exit_code(f.get()));
    add_finding_to(f.get(), L"printer-not-answering", SeverityProblem, 0, NoFix, L"", L"Nothing answers",
                   L"");
    add_finding_to(f.get(), L"wsd-port", SeverityHeadsUp, 0, NoFix, L"", L"Uses a WSD port", L"");
    add_finding_to(f.get(), L"duplicate-printer", SeverityNote, 0, NoFix, L"", L"A duplicate", L"");
    EXPECT_EQ(1, fleet_exit_code(f.get()));
    EXPECT_EQ(
        L"RED: 1 problem, 1 heads-up. Most serious: Front Desk - Nothing answers (printer-not-answering)",
        line_of(s.get(), f.get(), nullptr));

    UnattendedRun run = {};
    run.count = 2, run.done = 1, run.needAdmin = 1;
    text_copy(run.fixes[0].rule, 40, L"use-printer-offline");
    text_copy(run.fixes[0].printer, 260, L"Front Desk");
    run.fixes[0].status = ActionDone;
    text_copy(run.fixes[1].rule, 40, L"spooler-stopped");
    text_copy(run.fixes[1].printer, 260, L"this PC");
    run.fixes[1].status = ActionNeedsAdmin;
    EXPECT_EQ(0u, line_of(s.get(), f.get(), &run)
                      .find(L"RED: fixed 1 (use-printer-offline: Front Desk); needs administrator 1 "
                            L"(spooler-stopped: this PC). Now 1 problem, 1 heads-up. Most serious: "));

    f->count = 0;
    EXPECT_EQ(0u, line_of(s.get(), f.get(), nullptr).find(L"GREEN: 0 problems, 0 heads-ups. "))
        << line_of(s.get(), f.get(), nullptr);
    EXPECT_NE(std::wstring::npos, line_of(s.get(), f.get(), nullptr, 1).find(L" [DEMO DATA]"));
    // However long the names, the line fits what a pipe reader expects.
    std::wstring long_title(3000, L'x');
    add_finding_to(f.get(), L"printer-paused", SeverityProblem, 0, NoFix, L"", long_title.c_str(), L"");
    EXPECT_LT(line_of(s.get(), f.get(), nullptr).size(), 2048u);
}
