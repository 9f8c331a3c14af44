// The History & Undo window: every change Vantrel recorded, newest first, with a check box per row
// and a button that puts the ticked ones back. It behaves like a dialog: the main window is
// disabled while it is open, and the message loop gives it Tab and Esc.
#include <windows.h>
#include <commctrl.h>

#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "fixes/actions.h"
#include "fixes/undo_plan.h"
#include "history/changes.h"
#include "ui/command_handlers.h"
#include "ui/commands.h"
#include "ui/fix_commands.h"
#include "ui/frame_services.h"
#include "ui/main_window.h"
#include "ui/ui.h"
#include "ui/ui_services.h"
#include "ui/undo_window.h"

static int undo_running();

// The undo reads the records by the row's index, so the list is filled in this order and never
// re-sorted; it is rebuilt from the registry at opening and after every run.
static ChangeList g_undo_records;

static HWND undo_control(int id) {
    return GetDlgItem(g_main.undoWindow, id);
}

static HWND add_control(HWND parent, DWORD ex_style, const wchar_t* cls, const wchar_t* text, DWORD style,
                        int id, HFONT font) {
    HWND control = CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                   (HMENU)(INT_PTR)id, g_main.instance, nullptr);
    if (control) SendMessageW(control, WM_SETFONT, (WPARAM)font, FALSE);
    return control;
}

static void layout_undo_window(HWND window, int w, int h) {
    struct Place {
        int id, x, y, width, height;
    } places[] = {
        {IdUndoIntro, scaled(12), scaled(10), w - scaled(24), scaled(52)},
        {IdUndoList, scaled(12), scaled(66), w - scaled(24), h - scaled(66) - scaled(52)},
        {IdUndoCount, scaled(12), h - scaled(38), w - scaled(360), scaled(24)},
        {IdUndoButton, w - scaled(332), h - scaled(42), scaled(210), scaled(30)},
        {IdUndoClose, w - scaled(112), h - scaled(42), scaled(100), scaled(30)},
    };
    for (const Place& p : places)
        MoveWindow(GetDlgItem(window, p.id), p.x, p.y, p.width, p.height, TRUE);
}

void fill_history_list() {
    HWND list = undo_control(IdUndoList);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    load_changes(&g_undo_records);
    for (int32_t i = 0; i < g_undo_records.count; i++) {
        ChangeRecord* r = &g_undo_records.records[i];
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = r->whenText;
        const int row = (int)SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
        item.iItem = row;
        item.iSubItem = 1;
        item.pszText = r->description;
        SendMessageW(list, LVM_SETITEMTEXTW, row, (LPARAM)&item);
        item.iSubItem = 2;
        item.pszText = const_cast<wchar_t*>(undo_column_text(r->changeKind));
        SendMessageW(list, LVM_SETITEMTEXTW, row, (LPARAM)&item);
    }
    wchar_t line[200];
    undo_count_line(g_undo_records.count, line, _countof(line));
    SetWindowTextW(undo_control(IdUndoCount), line);
    // Nothing listed, nothing to undo; and never a second run while one is under way.
    EnableWindow(undo_control(IdUndoButton), g_undo_records.count > 0 && !undo_running());
}

// ---- what an undo does on this PC --------------------------------------------------------------

// One run of Undo. The runner's wait for an elevated copy pumps messages, so while a run lasts the
// button is disabled, the list is neither reloaded nor re-read (the rows ticked when Undo was
// pressed are the ones undone), and closing the window only asks the run to stop after the change
// in progress.
struct UndoRun {
    int32_t running;
    int32_t closeRequested;
    uint8_t ticked[CHANGE_LIST_CAPACITY];
};
static UndoRun g_undo_run;

static int undo_running() {
    return g_undo_run.running;
}

static int32_t row_was_ticked(void*, int32_t row) {
    if (g_undo_run.closeRequested) return -1;
    return row >= 0 && row < CHANGE_LIST_CAPACITY ? g_undo_run.ticked[row] : 0;
}

static void remember_ticked_rows() {
    HWND list = undo_control(IdUndoList);
    for (int32_t row = 0; row < CHANGE_LIST_CAPACITY; row++) {
        if (row >= g_undo_records.count) {
            g_undo_run.ticked[row] = 0;
            continue;
        }
        // State image 1 is the empty box, 2 the ticked one.
        const UINT state = (UINT)SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
        g_undo_run.ticked[row] = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }
}

static uint32_t perform_undo(void*, const UndoStep* step, const wchar_t* detail, const wchar_t* undid) {
    ChangePlan plan;
    undo_change_plan(step, detail, undid, &plan);
    RunnerEnv env;
    window_runner_env(g_main.undoWindow, &env);
    const ActionOutcome outcome = run_change(&plan, &env);
    return outcome.status == ActionRefusedInDemo ? 87u : outcome.result;
}

static void forget_record(void*, const wchar_t* value_name) {
    delete_change(value_name);
}

void undo_ticked_changes() {
    // The demonstration shows made-up printers but the real PC's history: putting a change back
    // would change this PC, which the demonstration never does.
    if (g_process.demo) {
        MessageBoxW(g_main.undoWindow, VANTREL_DEMO_MESSAGE, L"Vantrel", MB_ICONINFORMATION);
        return;
    }
    if (g_undo_run.running) return;
    if (g_undo_records.count == 0) fill_history_list();
    g_undo_run.running = 1;
    g_undo_run.closeRequested = 0;
    remember_ticked_rows();
    HWND button = undo_control(IdUndoButton);
    EnableWindow(button, FALSE);
    UndoOps ops = {nullptr, row_was_ticked, perform_undo, forget_record, g_process.demo};
    const UndoTally tally = undo_ticked_records(&g_undo_records, &ops);
    g_undo_run.running = 0;
    if (g_undo_run.closeRequested) {
        // The user closed the window during the run: it closes now, after the change in progress.
        if (g_main.undoWindow) DestroyWindow(g_main.undoWindow);
    } else {
        fill_history_list();
        wchar_t text[300];
        undo_summary(&tally, text, _countof(text));
        MessageBoxW(g_main.undoWindow, text, L"History & Undo", MB_ICONINFORMATION);
    }
    if (undo_wants_check(&tally)) g_frame.start_check(g_main.session, g_settings.autoNetTest, nullptr);
}

// Closing during a run waits for the change in progress; otherwise the window goes at once.
static void close_undo_window(HWND window) {
    if (g_undo_run.running) {
        g_undo_run.closeRequested = 1;
        return;
    }
    DestroyWindow(window);
}

// ---- the window ---------------------------------------------------------------------------------

LRESULT CALLBACK undo_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        layout_undo_window(window, LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IdUndoButton:
            undo_ticked_changes();
            return 0;
        case IdUndoClose:
        case IDCANCEL:
            close_undo_window(window);
            return 0;
        }
        break;
    case WM_CLOSE:
        close_undo_window(window);
        return 0;
    case WM_DESTROY:
        if (g_main.undoWindow == window) g_main.undoWindow = nullptr;
        if (g_main.window) {
            EnableWindow(g_main.window, TRUE);
            SetForegroundWindow(g_main.window);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

static void create_undo_controls(HWND window) {
    add_control(
        window, 0, L"STATIC",
        L"Everything Vantrel has changed on this PC. To put a change back, tick its box and click \x201CUndo "
        L"ticked changes\x201D. Changes that only cleared something away (restarting the spooler, cancelling "
        L"jobs) have nothing to put back; they are listed so there is a record.",
        0, IdUndoIntro, g_main.normal);
    HWND list =
        add_control(window, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                    WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, IdUndoList, g_main.normal);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP |
                     LVS_EX_DOUBLEBUFFER);
    const struct {
        const wchar_t* title;
        int width;
    } columns[] = {{L"When", 170}, {L"What Vantrel changed", 480}, {L"Can it be undone?", 200}};
    for (int i = 0; i < 3; i++) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(columns[i].title);
        column.cx = scaled(columns[i].width);
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, i, (LPARAM)&column);
    }
    add_control(window, 0, L"STATIC", L"", 0, IdUndoCount, g_main.normal);
    HWND undo =
        add_control(window, 0, L"BUTTON", L"Undo ticked changes", WS_TABSTOP, IdUndoButton, g_main.bold);
    HWND close = add_control(window, 0, L"BUTTON", L"Close", WS_TABSTOP, IdUndoClose, g_main.normal);

    add_control_tooltip(
        list, L"Every change Vantrel has made on this PC, newest first.\n\nTick the box at the start "
              L"of a row that says \"Yes\" in the last column, then click \"Undo ticked changes\" to "
              L"put that one thing back the way it was. Rows that say \"Nothing to put back\" are "
              L"kept as a record only.");
    add_control_tooltip(undo,
                        L"Puts back every ticked change that can be put back: switches SNMP status back on, "
                        L"re-ticks Use Printer Offline, pauses or resumes the printer again, restores the "
                        L"previous default printer, and so on. Windows may ask for administrator permission. "
                        L"Each undo is itself recorded.");
    add_control_tooltip(close, L"Closes this window. Nothing is changed.");
}

void open_history_window() {
    if (g_main.undoWindow) {
        SetForegroundWindow(g_main.undoWindow);
        return;
    }
    RECT main = {};
    GetWindowRect(g_main.window, &main);
    const int width = scaled(900), height = scaled(520);
    const int x = main.left + ((main.right - main.left) - width) / 2;
    const int y = main.top + scaled(70);
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, L"NSUndo",
                                  L"Vantrel \x2014 History & Undo", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                                  x, y, width, height, g_main.window, nullptr, g_main.instance, nullptr);
    if (!window) return;
    g_main.undoWindow = window;
    create_undo_controls(window);
    RECT client;
    GetClientRect(window, &client);
    layout_undo_window(window, client.right, client.bottom);
    fill_history_list();
    EnableWindow(g_main.window, FALSE);
    ShowWindow(window, SW_SHOW);
}
