// History & Undo without a window: the texts of the list, how each change kind is put back, and the
// walk over the ticked rows with a recorder in place of Windows (the stop at a declined prompt, a
// vanished printer counted as failed, nothing recorded in demonstration mode) and its summary.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/text.h"
#include "history/undo_plan.h"

namespace {
std::wstring count_line(int n) {
    wchar_t buf[200];
    undo_count_line(n, buf, _countof(buf));
    return buf;
}

std::wstring summary(int ticked, int put_back, int failed) {
    UndoTally t = {ticked, put_back, failed, 0};
    wchar_t buf[300];
    undo_summary(&t, buf, _countof(buf));
    return buf;
}

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
    UndoOps ops(int demo = 0) { return {this, is_ticked, perform, forget, record, demo}; }
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

TEST(UndoPlan, EveryKindIsPutBackTheWayItWasTakenAway) {
    struct Row {
        int kind;
        UndoHow how;
        TaskVerb verb;
        int admin;
        int detail;
    } rows[] = {
        {0, UndoNothing, VerbNone, 0, 1},        {1, UndoTask, VerbSnmpOn, 1, 1},
        {2, UndoTask, VerbOffline, 0, 1},        {3, UndoTask, VerbPause, 0, 1},
        {4, UndoTask, VerbResume, 0, 1},         {5, UndoLegacyDefault, VerbNone, 0, 0},
        {6, UndoDefaultPrinter, VerbNone, 0, 1}, {7, UndoTask, VerbSpoolAuto, 1, 1},
        {8, UndoTask, VerbOplogOff, 1, 0},       {9, UndoTask, VerbPortAddr, 1, 1},
        {10, UndoUnknownKind, VerbNone, 0, 0},   {-1, UndoUnknownKind, VerbNone, 0, 0},
    };
    for (const Row& r : rows) {
        UndoStep s = undo_step(r.kind);
        EXPECT_EQ(r.how, s.how) << r.kind;
        EXPECT_EQ(r.verb, s.verb) << r.kind;
        EXPECT_EQ(r.admin, s.needsAdmin) << r.kind;
        if (r.how != UndoNothing) {
            EXPECT_EQ(r.detail, s.useDetail) << r.kind;
        }
    }
}

TEST(UndoPlan, ListTexts) {
    EXPECT_STREQ(L"Nothing to put back", undo_column_text(0));
    EXPECT_STREQ(L"Yes \x2014 tick it and click Undo", undo_column_text(6));
    EXPECT_STREQ(L"Yes \x2014 tick it and click Undo", undo_column_text(42))
        << "unknown kinds still look undoable";
    EXPECT_STREQ(L"Yes \x2014 tick it and click Undo", undo_column_text(-3));
    EXPECT_EQ(L"Vantrel has not changed anything on this PC yet.", count_line(0));
    EXPECT_EQ(L"1 change recorded. Newest first.", count_line(1));
    EXPECT_EQ(L"300 changes recorded. Newest first.", count_line(300));
    wchar_t undid[560];
    undo_record_description(L"Paused the printer \"Front\"", undid, _countof(undid));
    EXPECT_STREQ(L"Undid: Paused the printer \"Front\"", undid);
    std::wstring longest(499, L'x');
    undo_record_description(longest.c_str(), undid, _countof(undid));
    EXPECT_EQ(7u + 499u, wcslen(undid));
}

TEST(UndoPlan, SummaryMessages) {
    EXPECT_EQ(L"Tick the box at the start of each change you want to put back, then click Undo.",
              summary(0, 0, 0));
    EXPECT_EQ(L"1 change put back; 1 could not be (the printer or port may no longer exist, or administrator "
              L"permission was refused).",
              summary(2, 1, 1));
    EXPECT_EQ(
        L"0 changes put back; 2 could not be (the printer or port may no longer exist, or administrator "
        L"permission was refused).",
        summary(2, 0, 2));
    EXPECT_EQ(L"1 change put back.", summary(1, 1, 0));
    EXPECT_EQ(L"3 changes put back.", summary(4, 3, 0));
    EXPECT_EQ(L"The ticked rows have nothing to put back (they only cleared something away).",
              summary(2, 0, 0));
}

TEST(UndoRun, NothingTickedDoesNothing) {
    History h;
    h.add(L"00000002", 4, L"Front", L"Paused the printer \"Front\"").add(L"00000001", 0, L"", L"Restarted");
    Recorder rec;
    UndoOps ops = rec.ops();
    UndoTally t = undo_ticked_records(h.list.get(), &ops);
    EXPECT_EQ(0, t.ticked);
    EXPECT_TRUE(rec.performed.empty());
    EXPECT_FALSE(undo_wants_check(&t));
    History empty;
    t = undo_ticked_records(empty.list.get(), &ops);
    EXPECT_EQ(0, t.ticked);
}

TEST(UndoRun, NothingToPutBackRowsStartNoCheck) {
    History h;
    h.add(L"00000002", 0, L"", L"Restarted the Print Spooler service").add(L"00000001", 0, L"", L"Cleared");
    Recorder rec;
    rec.ticked = {0, 1};
    UndoOps ops = rec.ops();
    UndoTally t = undo_ticked_records(h.list.get(), &ops);
    EXPECT_EQ(2, t.ticked);
    EXPECT_EQ(0, t.putBack);
    EXPECT_EQ(0, t.failed);
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
    UndoOps ops = rec.ops();
    UndoTally t = undo_ticked_records(h.list.get(), &ops);
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
    UndoOps ops = rec.ops();
    UndoTally t = undo_ticked_records(h.list.get(), &ops);
    EXPECT_EQ(3, t.ticked);
    EXPECT_EQ(1, t.putBack);
    EXPECT_EQ(2, t.failed) << "the unknown kind fails without being tried";
    EXPECT_EQ(2u, rec.performed.size());
    EXPECT_EQ(std::to_wstring(UndoDefaultPrinter) + L":-1:Office", rec.performed[1]);
    EXPECT_EQ(std::vector<std::wstring>{L"00000006"}, rec.forgotten);
}

TEST(UndoRun, DemonstrationModeRecordsNothing) {
    History h;
    h.add(L"00000001", 8, L"ignored", L"Switched on Windows' detailed print log (PrintService/Operational)");
    Recorder rec;
    rec.ticked = {0};
    UndoOps ops = rec.ops(1);
    UndoTally t = undo_ticked_records(h.list.get(), &ops);
    EXPECT_EQ(1, t.putBack);
    ASSERT_EQ(1u, rec.performed.size());
    EXPECT_EQ(std::to_wstring(UndoTask) + L":" + std::to_wstring(VerbOplogOff) + L":", rec.performed[0])
        << "the detailed log is switched off with no argument";
    EXPECT_TRUE(rec.recorded.empty());
}
