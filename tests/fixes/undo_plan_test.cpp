// The walk over the ticked History & Undo rows, with a recorder in place of Windows.
#include <gtest/gtest.h>

#include <string.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "fixes/undo_plan.h"

namespace {
// A history, the rows ticked in it, what each undo answers (by detail; absent = 0), the steps taken
// and, in order, what the walk asked: "undo DETAIL", then for a success the runner's own record
// "record TEXT", then "forget NAME". stopAfter: is_ticked answers -1 (stop) from that row on.
struct Undo {
    std::unique_ptr<ChangeList> list{new ChangeList()};
    std::set<int32_t> ticked;
    std::map<std::wstring, uint32_t> answers;
    std::vector<UndoStep> steps;
    std::vector<std::wstring> log;
    int32_t stopAfter = 1 << 30;

    // Rows are named by their position and ticked as they are added.
    Undo& add(int32_t kind, const std::wstring& detail, const wchar_t* description = L"Changed") {
        ChangeRecord* r = &list->records[list->count];
        text_copy(r->valueName, _countof(r->valueName), std::to_wstring(list->count).c_str());
        r->changeKind = kind;
        text_copy(r->detail, _countof(r->detail), detail.c_str());
        text_copy(r->description, _countof(r->description), description);
        ticked.insert(list->count++);
        return *this;
    }
    UndoTally run(int demo = 0) {
        UndoOps ops = {this, is_ticked, perform, forget, demo};
        return undo_ticked_records(list.get(), &ops);
    }
    static Undo& of(void* c) { return *static_cast<Undo*>(c); }
    static int32_t is_ticked(void* c, int32_t row) {
        return row >= of(c).stopAfter ? -1 : (int32_t)of(c).ticked.count(row);
    }
    static uint32_t perform(void* c, const UndoStep* step, const wchar_t* detail, const wchar_t* undid) {
        of(c).steps.push_back(*step);
        of(c).log.push_back(L"undo " + std::wstring(detail));
        auto it = of(c).answers.find(detail);
        uint32_t answer = it == of(c).answers.end() ? 0 : it->second;
        if (!answer) of(c).log.push_back(L"record " + std::wstring(undid));
        return answer;
    }
    static void forget(void* c, const wchar_t* name) { of(c).log.push_back(L"forget " + std::wstring(name)); }
};
} // namespace

TEST(UndoRun, EveryKindIsPutBackItsOwnWay) {
    // The way, the task verb, as administrator, the record's detail as the argument.
    const std::pair<ChangeKind, UndoStep> kinds[] = {
        {SnmpSwitchedOff, {UndoTask, VerbSnmpOn, 1, 1}},
        {OfflineUnticked, {UndoTask, VerbOffline, 0, 1}},
        {PrinterResumed, {UndoTask, VerbPause, 0, 1}},
        {PrinterPaused, {UndoTask, VerbResume, 0, 1}},
        {WindowsDefaultOff, {UndoTask, VerbLegacyDefaultOff, 0, 0}},
        {DefaultPrinterSet, {UndoTask, VerbSetDefault, 0, 1}},
        {SpoolerStartTypeSet, {UndoTask, VerbSpoolAuto, 1, 1}},
        {OperationalLogOn, {UndoTask, VerbOplogOff, 1, 0}},
        {PortAddressSet, {UndoTask, VerbPortAddr, 1, 1}},
        {NamedPipesPolicySet, {UndoTask, VerbRpcNamedPipes, 1, 1}},
        {PointAndPrintSet, {UndoTask, VerbPointAndPrint, 1, 1}},
        {RpcPrivacySet, {UndoTask, VerbRpcPrivacy, 1, 1}},
    };
    Undo r;
    // A record only, and a kind from a newer version, which fails without being tried.
    r.add(NothingToPutBack, L"kept").add(77, L"newer");
    std::vector<std::wstring> expected;
    for (const auto& k : kinds) {
        std::wstring detail = L"detail " + std::to_wstring(k.first);
        r.add(k.first, detail, L"Did \"it\"");
        expected.insert(expected.end(),
                        {L"undo " + (k.second.useDetail ? detail : L""), L"record Undid: Did \"it\"",
                         L"forget " + std::to_wstring(r.list->count - 1)});
    }
    UndoTally t = r.run();
    EXPECT_EQ((std::vector<int>{14, 12, 1, 0}), (std::vector<int>{t.ticked, t.putBack, t.failed, t.stopped}));
    EXPECT_TRUE(undo_wants_check(&t));
    EXPECT_EQ(expected, r.log);
    ASSERT_EQ(12u, r.steps.size());
    for (size_t i = 0; i < 12; i++)
        EXPECT_EQ(0, memcmp(&kinds[i].second, &r.steps[i], sizeof(UndoStep))) << "kind " << kinds[i].first;

    r.ticked = {0}; // only the row with nothing to put back
    t = r.run();
    EXPECT_EQ(1, t.ticked);
    EXPECT_EQ(0, t.putBack + t.failed);
    EXPECT_FALSE(undo_wants_check(&t));
    r.ticked.clear();
    EXPECT_EQ(0, r.run().ticked);
    EXPECT_EQ(0, Undo().run().ticked) << "an empty history";
    EXPECT_EQ(12u, r.steps.size()) << "nothing more was tried";
}

TEST(UndoRun, AVanishedPrinterFailsAndADeclinedPromptStopsTheRun) {
    Undo r;
    r.add(PrinterPaused, L"Front", L"Paused the printer \"Front\"")
        .add(PrinterResumed, L"Gone", L"Resumed the printer \"Gone\"")
        .add(PortAddressSet, L"IP_10.0.0.5|10.0.0.9", L"Pointed the port")
        .add(OfflineUnticked, L"Back", L"Switched off \"Use Printer Offline\" for \"Back\"");
    r.answers[L"Gone"] = 1801;                 // ERROR_INVALID_PRINTER_NAME
    r.answers[L"IP_10.0.0.5|10.0.0.9"] = 1223; // ERROR_CANCELLED: the elevation prompt was declined
    UndoTally t = r.run();
    EXPECT_EQ((std::vector<int>{1, 1, 1}), (std::vector<int>{t.putBack, t.failed, t.stopped}));
    EXPECT_EQ((std::vector<std::wstring>{L"undo Front", L"record Undid: Paused the printer \"Front\"",
                                         L"forget 0", L"undo Gone", L"undo IP_10.0.0.5|10.0.0.9"}),
              r.log)
        << "the failed and stopped rows keep their records; the row after the declined prompt is not tried";
    EXPECT_TRUE(undo_wants_check(&t));
}

TEST(UndoRun, AStopRequestEndsTheRunAfterTheChangeInProgress) {
    Undo r;
    r.add(PrinterPaused, L"A").add(PrinterPaused, L"B").add(PrinterPaused, L"C");
    r.stopAfter = 1; // the window was closed while row 0 was being undone
    UndoTally t = r.run();
    EXPECT_EQ((std::vector<int>{1, 1, 0}), (std::vector<int>{t.ticked, t.putBack, t.failed}));
    EXPECT_EQ((std::vector<std::wstring>{L"undo A", L"record Undid: Changed", L"forget 0"}), r.log)
        << "the rows after it are neither undone nor counted";
}

TEST(UndoRun, DemonstrationModeNeverForgets) {
    Undo r;
    r.add(OperationalLogOn, L"ignored", L"Switched on Windows' detailed print log");
    UndoTally t = r.run(1);
    EXPECT_EQ(1, t.putBack);
    EXPECT_EQ((std::vector<std::wstring>{L"undo ", L"record Undid: Switched on Windows' detailed print log"}),
              r.log)
        << "the history belongs to the real PC (and the runner itself refuses in demonstration mode)";
    wchar_t text[300];
    undo_summary(&t, text, _countof(text));
    EXPECT_STREQ(L"1 change put back.", text);
}

TEST(UndoRun, TheLongestDescriptionKeepsItsUndidPrefixWhole) {
    wchar_t undid[560];
    std::wstring longest(499, L'x');
    undo_record_description(longest.c_str(), undid, _countof(undid));
    EXPECT_EQ(L"Undid: " + longest, std::wstring(undid));
}
