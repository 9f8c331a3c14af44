// The main window's interface services, layout, views and command dispatch; its creation and
// window procedure are in main_window_proc_win.cpp, its commands in the command table (commands.cpp).
#include <windows.h>
#include <commctrl.h>

#include <stdlib.h>

#include "core/dpi.h"
#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "share/share_send.h"
#include "ui/command_handlers.h"
#include "ui/commands.h"
#include "ui/layout.h"
#include "ui/lists_win.h"
#include "ui/main_window.h"
#include "ui/ribbon_win.h"
#include "ui/secondary_win.h"
#include "ui/share_window_win.h"
#include "ui/ui.h"
#include "ui/ui_services.h"

MainWindow g_main = {};

int scaled(int value_at_96) {
    return scale_to_dpi(value_at_96, g_main.dpi);
}

void build_window_title(wchar_t* buf, size_t cap, int elevated, int demo) {
    text_copy(buf, cap, VANTREL_TITLE);
    if (elevated) text_append(buf, cap, L"  (Administrator)");
    if (demo) text_append(buf, cap, L"  [DEMO DATA]");
}

void main_window_size(int dpi, int* width, int* height) {
    *width = scale_to_dpi(1360, dpi);
    *height = scale_to_dpi(880, dpi);
}

static int screen_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void apply_topmost(HWND window, int topmost) {
    if (!window) return;
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void bring_to_front(HWND window) {
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
}

HWND create_main_window(const WindowStart* start) {
    g_main.instance = start->instance;
    g_main.session = start->session;
    g_main.updatedFrom = start->updatedFrom;
    wchar_t title[200];
    build_window_title(title, _countof(title), g_process.elevated, g_process.demo);
    int width = 0, height = 0;
    main_window_size(screen_dpi(), &width, &height);
    HWND window =
        CreateWindowExW(WS_EX_CONTROLPARENT, VANTREL_MAIN_CLASS, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, width, height, nullptr, nullptr, start->instance, nullptr);
    if (!window) return nullptr;
    apply_topmost(window, g_settings.topmost);
    ShowWindow(window, start->show);
    UpdateWindow(window);
    return window;
}

int run_message_loop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (main_window_key(&msg)) continue;
        if (g_main.shareWindow && IsDialogMessageW(g_main.shareWindow, &msg)) continue;
        if (g_main.undoWindow && IsDialogMessageW(g_main.undoWindow, &msg)) continue;
        if (g_main.window && IsDialogMessageW(g_main.window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}

void add_control_tooltip(HWND control, const wchar_t* text) {
    if (!g_main.mainTooltip || !control) return;
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = g_main.window;
    tool.uId = (UINT_PTR)control;
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(g_main.mainTooltip, TTM_ADDTOOLW, 0, (LPARAM)&tool);
}

// ---- the interface services -------------------------------------------------------------------

static void status_text(const wchar_t* text) {
    if (!g_main.statusBar) return;
    wchar_t line[600];
    text_format(line, _countof(line), L"  %ls", text ? text : L"");
    SendMessageW(g_main.statusBar, SB_SETTEXTW, 0, (LPARAM)line);
}

static int32_t message_box(const wchar_t* text, const wchar_t* title, uint32_t flags) {
    return MessageBoxW(g_main.window, text, title, flags);
}

static int32_t selected_row(HWND list) {
    return list ? (int32_t)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) : -1;
}

static int32_t bottom_selection() {
    return g_main.bottomLastUsed ? selected_row(g_main.bottomList) : -1;
}

static int32_t selected_printer() {
    const Session* session = g_main.session;
    const Snapshot* s = session ? session->snapshot : nullptr;
    if (!s) return -1;
    const FindingList* findings = &session->findings;
    int32_t row = bottom_selection();
    if (row >= 0) {
        if (g_settings.view == ViewProblems && row < findings->count &&
            findings->items[row].printerIndex >= 0 && findings->items[row].printerIndex < s->printerCount)
            return findings->items[row].printerIndex;
        if (g_settings.view == ViewPrintQueue && row < s->jobCount && s->jobs[row].printerIndex >= 0 &&
            s->jobs[row].printerIndex < s->printerCount)
            return s->jobs[row].printerIndex;
    }
    row = selected_row(g_main.printerList);
    return row >= 0 && row < s->printerCount ? row : -1;
}

static int32_t copy_to_clipboard(const wchar_t* text) {
    return copy_text_to_clipboard(g_main.window, text);
}

static void refresh(uint32_t flags) {
    if (flags & RefreshLists) fill_lists();
    if (flags & RefreshBanner) show_verdict();
    if (flags & RefreshRibbon) ribbon_layout();
    if (flags & RefreshSettingsPage) sync_check_boxes();
}

static void* main_window_handle() {
    return g_main.window;
}
static void set_topmost(int32_t on) {
    apply_topmost(g_main.window, on);
}

void install_ui_services() {
    ui_services_defaults(&g_ui);
    g_ui.main_window = main_window_handle;
    g_ui.status_text = status_text;
    g_ui.share_or_status_text = share_or_status_text; // the Share window's own line while it is open
    g_ui.message_box = message_box;
    g_ui.selected_printer = selected_printer;
    g_ui.bottom_selection = bottom_selection;
    g_ui.switch_view = switch_view;
    g_ui.show_notes = show_notes;
    g_ui.copy_to_clipboard = copy_to_clipboard;
    g_ui.refresh = refresh;
    g_ui.set_topmost = set_topmost;
}

// ---- layout, views and commands ---------------------------------------------------------------

static void move(HWND window, const LayoutRect& r) {
    if (window) MoveWindow(window, r.x, r.y, r.width, r.height, TRUE);
}

void layout_main_window() {
    if (!g_main.statusBar) return;
    RECT client;
    GetClientRect(g_main.window, &client);
    SendMessageW(g_main.statusBar, WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(g_main.statusBar, &bar);
    const int update_bar = g_main.updateBar && (GetWindowLongW(g_main.updateBar, GWL_STYLE) & WS_VISIBLE);
    MainLayout l;
    main_layout(client.right, client.bottom, bar.bottom - bar.top, g_main.dpi, update_bar, ribbon_tab(), &l);
    move(g_main.ribbon, l.ribbon);
    if (update_bar) move(g_main.updateBar, l.updateBar);
    move(g_main.banner, l.banner);
    HWND lists[] = {g_main.printerCaption, g_main.printerList, g_main.bottomCaption, g_main.bottomList};
    if (l.settingsShown) {
        move(g_main.settingsPage, l.settingsPage);
        ShowWindow(g_main.settingsPage, SW_SHOWNA);
        for (HWND w : lists)
            ShowWindow(w, SW_HIDE);
        return;
    }
    ShowWindow(g_main.settingsPage, SW_HIDE);
    move(g_main.printerCaption, l.printerCaption);
    move(g_main.printerList, l.printerList);
    move(g_main.bottomCaption, l.bottomCaption);
    move(g_main.bottomList, l.bottomList);
    for (HWND w : lists)
        ShowWindow(w, SW_SHOWNA);
}

void show_update_bar(int show) {
    if (!g_main.updateBar) return;
    ShowWindow(g_main.updateBar, show ? SW_SHOW : SW_HIDE);
    layout_main_window();
    RedrawWindow(g_main.window, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void switch_view(int32_t view) {
    if (view < ViewProblems || view > ViewNetworkPrinters) view = ViewNetworkPrinters;
    g_settings.view = view;
    write_setting_dword(L"View", (uint32_t)view);
    build_bottom_columns();
    fill_lists();
    ribbon_layout();
}

void on_command(int32_t id) {
    const CommandRow* row = command_row(id);
    int32_t printer = -1;
    if (row && (row->flags & CommandNeedsPrinter)) printer = selected_printer();
    switch (command_step(row, g_process.demo, printer)) {
    case StepAskPrinter:
        message_box(VANTREL_PICK_PRINTER_MESSAGE, L"Vantrel", MB_ICONINFORMATION);
        return;
    case StepRefuseDemo:
        message_box(VANTREL_DEMO_MESSAGE, L"Vantrel", MB_ICONINFORMATION);
        return;
    case StepRun:
        row->handler(id, printer);
        return;
    case StepUnknown:
        return;
    }
}
