// The walk over the ticked History & Undo rows with a recorder in place of Windows: the stop at a
// declined prompt, a vanished printer counted as failed, nothing recorded or forgotten in demonstration mode.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/text.h"
#include "history/undo_plan.h"

namespace {
// One run's view of Windows: which rows are ticked, what each undo answers, what was done.
struct Recorder {
    std::vector<int> ticked;
    std::map<std::wstring, uint32_t> answers; // by detail; absent = 0
    std::vector<std::wstring> performed, forgotten, recorded;

    static int32_t is_ticked(void* c, int32_t row) {
        for (int r : static_cast<Recorder*>(c)->ticked)
            if (r == row) return 1;
        return 0;
    }
    static uint32_t perform(void* c, const UndoStep* step, const wchar_t* detail) {
        Recorder* self = static_cast<Recorder*>(c);
        self->performed.push_back(std::to_wstring(step->how) + L":" + std::to_wstring(step->verb) + L":" +
                                  detail);
        auto it = self->answers.find(detail);
        return it == self->answers.end() ? 0 : it->second;
    }
    static void forget(void* c, const wchar_t* name) { static_cast<Recorder*>(c)->forgotten.push_back(name); }
    static void record(void* c, const wchar_t* text) { static_cast<Recorder*>(c)->recorded.push_back(text); }
    UndoTally run(const ChangeList* list, int demo = 0) {
        UndoOps ops = {this, is_ticked, perform, forget, record, demo};
        return undo_ticked_records(list, &ops);
    }
};

struct History {
    std::unique_ptr<ChangeList> list{new ChangeList()};
    History& add(const wchar_t* name, int kind, const wchar_t* detail, const wchar_t* description) {
        ChangeRecord* r = &list->records[list->count++];
        text_copy(r->valueName, _countof(r->valueName), name);
        text_copy(r->whenText, _countof(r->whenText), L"03/14/2026 9:05 AM");
        r->changeKind = kind;
        text_copy(r->detail, _countof(r->detail), detail);
        text_copy(r->description, _countof(r->description), description);
        return *this;
    }
};
} // namespace

TEST(UndoRun, NothingTickedOrNothingToPutBackDoesNothing) {
    History h;
    h.add(L"00000002", 0, L"", L"Restarted the Print Spooler service").add(L"00000001", 0, L"", L"Cleared");
    Recorder rec;
    UndoTally t = rec.run(h.list.get());
    EXPECT_EQ(0, t.ticked);
    EXPECT_FALSE(undo_wants_check(&t));
    EXPECT_EQ(0, Recorder().run(History().list.get()).ticked) << "an empty history";
    rec.ticked = {0, 1};
    t = rec.run(h.list.get());
    EXPECT_EQ(2, t.ticked);
    EXPECT_EQ(0, t.putBack + t.failed);
    EXPECT_TRUE(rec.performed.empty());
    EXPECT_FALSE(undo_wants_check(&t));
}

TEST(UndoRun, ADeclinedPromptStopsTheRunAndKeepsWhatWasPutBack) {
    History h;
    h.add(L"00000005", 4, L"Front", L"Paused the printer \"Front\"")
        .add(L"00000004", 9, L"IP_10.0.0.5|10.0.0.9", L"Pointed the port")
        .add(L"00000003", 2, L"Back", L"Switched off \"Use Printer Offline\" for \"Back\"");
    Recorder rec;
    rec.ticked = {0, 1, 2};
    rec.answers[L"IP_10.0.0.5|10.0.0.9"] = 1223;
    UndoTally t = rec.run(h.list.get());
    EXPECT_EQ(1, t.putBack);
    EXPECT_EQ(0, t.failed);
    EXPECT_EQ(1, t.stopped);
    ASSERT_EQ(2u, rec.performed.size()) << "the row after the declined prompt is not tried";
    EXPECT_EQ(std::to_wstring(UndoTask) + L":" + std::to_wstring(VerbResume) + L":Front", rec.performed[0]);
    EXPECT_EQ(std::vector<std::wstring>{L"00000005"}, rec.forgotten);
    EXPECT_EQ(std::vector<std::wstring>{L"Undid: Paused the printer \"Front\""}, rec.recorded);
    EXPECT_TRUE(undo_wants_check(&t));
    wchar_t text[300];
    undo_summary(&t, text, _countof(text));
    EXPECT_STREQ(L"1 change put back.", text);
}

TEST(UndoRun, AVanishedPrinterCountsAsFailedAndKeepsItsRecord) {
    History h;
    h.add(L"00000007", 3, L"Gone", L"Resumed the printer \"Gone\"")
        .add(L"00000006", 6, L"Office", L"Made \"Front\" the default printer (it was \"Office\")")
        .add(L"00000005", 77, L"", L"From a newer version");
    Recorder rec;
    rec.ticked = {0, 1, 2};
    rec.answers[L"Gone"] = 1801; // ERROR_INVALID_PRINTER_NAME
    UndoTally t = rec.run(h.list.get());
    EXPECT_EQ(3, t.ticked);
    EXPECT_EQ(1, t.putBack);
    EXPECT_EQ(2, t.failed) << "the unknown kind fails without being tried";
    ASSERT_EQ(2u, rec.performed.size());
    EXPECT_EQ(std::to_wstring(UndoDefaultPrinter) + L":-1:Office", rec.performed[1]);
    EXPECT_EQ(std::vector<std::wstring>{L"00000006"}, rec.forgotten);
}

TEST(UndoRun, DemonstrationModeNeitherRecordsNorForgets) {
    History h;
    h.add(L"00000001", 8, L"ignored", L"Switched on Windows' detailed print log (PrintService/Operational)");
    Recorder rec;
    rec.ticked = {0};
    UndoTally t = rec.run(h.list.get(), 1);
    EXPECT_EQ(1, t.putBack);
    ASSERT_EQ(1u, rec.performed.size());
    EXPECT_EQ(std::to_wstring(UndoTask) + L":" + std::to_wstring(VerbOplogOff) + L":", rec.performed[0])
        << "the detailed log is switched off with no argument";
    EXPECT_TRUE(rec.recorded.empty());
    EXPECT_TRUE(rec.forgotten.empty()) << "the history belongs to the real PC";
}

TEST(UndoRun, TheLongestDescriptionKeepsItsUndidPrefixWhole) {
    wchar_t undid[560];
    std::wstring longest(499, L'x');
    undo_record_description(longest.c_str(), undid, _countof(undid));
    EXPECT_EQ(L"Undid: " + longest, std::wstring(undid));
}
