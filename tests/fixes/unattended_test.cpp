// The unattended fixes: which findings "/fix" may fix with nobody watching, the "/only" list, one
// run per change, and a fix that needs rights the process lacks, named and never prompted for.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/text.h"
#include "fixes/unattended.h"

namespace {

struct Pc {
    std::unique_ptr<Snapshot> s{new Snapshot()};
    std::unique_ptr<FindingList> list{new FindingList()};
    std::vector<std::wstring> calls, records;
    TaskPlatform platform = *windows_task_platform();
    RunnerEnv env = {};
    Pc() {
        s->printerCount = 2;
        text_copy(s->printers[0].name, 260, L"Front");
        text_copy(s->printers[1].name, 260, L"Back");
        platform.ctx = this;
        platform.set_use_offline = [](void* c, const wchar_t* p, int) {
            static_cast<Pc*>(c)->calls.push_back(std::wstring(L"online ") + p);
            return 0u;
        };
        platform.control_printer = [](void* c, const wchar_t* p, uint32_t) {
            static_cast<Pc*>(c)->calls.push_back(std::wstring(L"resume ") + p);
            return 0u;
        };
        env.platform = &platform;
        env.ctx = this;
        env.record = [](void* c, ChangeKind, const wchar_t*, const wchar_t* description) {
            static_cast<Pc*>(c)->records.push_back(description);
        };
    }
    void add(const wchar_t* rule, int32_t printer, FixKind fix, const wchar_t* subject) {
        add_finding_to(list.get(), rule, SeverityProblem, printer, fix, subject, L"Title", L"Text");
    }
    UnattendedRun run(const wchar_t* only = L"") {
        UnattendedRun r;
        run_unattended_fixes(list.get(), s.get(), only, &env, nullptr, &r);
        return r;
    }
};

} // namespace

TEST(Unattended, OnlySafeRulesAreFixedOnceEachAndTheListSelects) {
    Pc pc;
    pc.add(L"use-printer-offline", 0, UseOfflineOff, L"Front");
    pc.add(L"use-printer-offline", 0, UseOfflineOff, L"Front"); // the same change again
    pc.add(L"printer-paused", 1, ResumePrinter, L"Back");
    pc.add(L"job-error", 1, CancelPrinterJobs, L"Back"); // cancelling jobs needs a person
    pc.add(L"printer-same-model-found", 0, PointToNewAddress, L"IP_1|10.0.0.9"); // a guess
    pc.add(L"snmp-not-answered", 0, SnmpStatusOff, L"IP_1"); // may show Offline, not "is" Offline
    UnattendedRun r = pc.run(L" printer-paused ,use-printer-offline");
    EXPECT_EQ((std::vector<std::wstring>{L"online Front", L"resume Back"}), pc.calls);
    EXPECT_EQ(2, r.done);
    EXPECT_EQ(2u, pc.records.size()) << "every change recorded by the runner";
    pc.calls.clear();
    r = pc.run(L"printer-paused");
    EXPECT_EQ(std::vector<std::wstring>{L"resume Back"}, pc.calls);
    EXPECT_STREQ(L"Back", r.fixes[0].printer);

    wchar_t unknown[80];
    EXPECT_FALSE(unknown_rule_in_list(L"printer-paused, use-printer-offline", unknown, 80));
    EXPECT_TRUE(unknown_rule_in_list(L"printer-paused,Printer-Paused", unknown, 80));
    EXPECT_STREQ(L"Printer-Paused", unknown) << "ids are exact";
    EXPECT_TRUE(rule_in_list(L"", L"anything")) << "no list: every rule";
}

TEST(Unattended, AFixNeedingRightsTheProcessLacksIsNamedAndNotMade) {
    Pc pc;
    pc.add(L"snmp-false-offline", 0, SnmpStatusOff, L"IP_1");
    pc.add(L"spooler-stopped", -1, StartSpooler, L"");
    pc.env.elevated = 0;
    pc.env.mayElevate = 0; // headless: no prompt
    UnattendedRun r = pc.run();
    EXPECT_EQ(2, r.needAdmin);
    EXPECT_EQ(ActionNeedsAdmin, r.fixes[0].status);
    EXPECT_STREQ(L"this PC", r.fixes[1].printer);
    EXPECT_TRUE(pc.records.empty() && pc.calls.empty());
    pc.env.demo = 1;
    r = pc.run();
    EXPECT_EQ(2, r.refused) << "the demonstration never changes anything";
}
