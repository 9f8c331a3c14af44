// What History & Undo shows for each recorded change and how it puts one back: the list's texts,
// the task verb that undoes each change kind, the walk over the ticked rows with its counters, and
// the one summary message the user gets at the end. Every undo is a change like any other and goes
// through the action runner; the window (ui/undo_window_win.cpp) supplies the rest through UndoOps,
// so the whole walk can be exercised without a window or a PC.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "fixes/tasks.h"
#include "history/changes.h"

// How one change kind is put back.
enum UndoHow : int32_t {
    UndoNothing = 0,     // kind 0: the record stands as a record only
    UndoTask = 1,        // a task verb through the action runner
    UndoUnknownKind = 4, // a kind this program does not know: always counts as failed
};

struct UndoStep {
    UndoHow how;
    TaskVerb verb;      // for UndoTask
    int32_t needsAdmin; // the verb's own flag
    int32_t useDetail;  // the task's argument is the record's detail (otherwise empty)
};

UndoStep undo_step(int32_t change_kind);

// The last column: whether the row can be ticked for an undo.
const wchar_t* undo_column_text(int32_t change_kind);

// "%d change%ls recorded. Newest first.", or the never-changed-anything line.
void undo_count_line(int32_t record_count, wchar_t* out, size_t cap);

// "Undid: %ls" with the undone record's description, at most 559 characters.
void undo_record_description(const wchar_t* description, wchar_t* out, size_t cap);

struct UndoTally {
    int32_t ticked;
    int32_t putBack;
    int32_t failed;
    int32_t stopped; // an elevation prompt was declined; later rows were not tried
};

// What the walk needs from its caller. perform runs the step's verb with the record's detail
// through the action runner, which records the undo itself ("Undid: ...", nothing to put back),
// and returns a Windows error code (0 = put back). is_ticked answers for the rows as they were when
// Undo was pressed; once it answers -1 the walk stops cleanly before the next row.
struct UndoOps {
    void* context;
    int32_t (*is_ticked)(void* context, int32_t row);
    uint32_t (*perform)(void* context, const UndoStep* step, const wchar_t* detail,
                        const wchar_t* undid_description);
    void (*forget)(void* context, const wchar_t* value_name); // delete_change
    int32_t demo;                                             // nothing is forgotten in demonstration mode
};

// The runner's plan of one undo: the step's verb with the detail, recorded as "Undid: ...".
struct ChangePlan;
void undo_change_plan(const UndoStep* step, const wchar_t* detail, const wchar_t* undid_description,
                      ChangePlan* out);

// Walks the records in list order (newest first), undoing each ticked one, and stops at the first
// declined elevation prompt, keeping what was already put back.
UndoTally undo_ticked_records(const ChangeList* list, const UndoOps* ops);

// The message at the end of a run.
void undo_summary(const UndoTally* tally, wchar_t* out, size_t cap);

// A run that put something back is followed by a fresh check.
int undo_wants_check(const UndoTally* tally);
