// The main window's interface services, layout, views and command dispatch; its creation and
// window procedure are in main_window_proc_win.cpp, its commands in the command table (commands.cpp).
#include <windows.h>
#include <commctrl.h>

#include <stdlib.h>
#include <string.h>

#include "core/dpi.h"
#include "core/messages.h"
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

static int screen_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int window_dpi(HWND window) {
    // GetDpiForWindow (Windows 10 1607 and later) gives the DPI of the monitor the window is on for
    // a per-monitor aware program; on Windows 8.1 GetDpiForMonitor (shcore.dll, MDT_EFFECTIVE_DPI = 0)
    // does. Both are looked up at run time so the program still starts where they are missing.
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    typedef HRESULT(WINAPI * DpiForMonitor)(HMONITOR, int, UINT*, UINT*);
    static DpiForWindow for_window = reinterpret_cast<DpiForWindow>(
        (void*)GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow"));
    UINT dpi = window && for_window ? for_window(window) : 0;
    if (dpi == 0 && window) {
        static HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        static DpiForMonitor for_monitor =
            shcore ? reinterpret_cast<DpiForMonitor>((void*)GetProcAddress(shcore, "GetDpiForMonitor"))
                   : nullptr;
        UINT x = 0, y = 0;
        if (for_monitor &&
            for_monitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y) == S_OK)
            dpi = y;
    }
    return dpi > 0 ? (int)dpi : screen_dpi();
}

LayoutRect work_area_of(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    RECT r = {0, 0, 0, 0};
    if (monitor && GetMonitorInfoW(monitor, &info))
        r = info.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return LayoutRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
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

// The first check started with the window, on its worker; the demonstration or a quick PC has its
// answer within milliseconds. Taking it before the window is shown (waiting at most limit_ms) lets
// the window appear with its verdict instead of "Starting..." and a second paint moments later.
static void take_first_check(HWND window, DWORD limit_ms) {
    const ULONGLONG end = GetTickCount64() + limit_ms;
    for (;;) {
        MSG msg;
        if (PeekMessageW(&msg, window, MsgCheckDone, MsgCheckDone, PM_REMOVE)) {
            DispatchMessageW(&msg);
            return;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, (DWORD)(end - now), QS_POSTMESSAGE);
    }
}

HWND create_main_window(const WindowStart* start) {
    g_main.instance = start->instance;
    g_main.session = start->session;
    g_main.updatedFrom = start->updatedFrom;
    wchar_t title[200];
    build_window_title(title, _countof(title), g_process.elevated, g_process.demo);
    // Made hidden where Windows would put it, then sized for the monitor it landed on.
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, VANTREL_MAIN_CLASS, title,
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                  scaled(1360), scaled(880), nullptr, nullptr, start->instance, nullptr);
    if (!window) return nullptr;
    WindowPlacement place;
    main_window_placement(g_main.dpi, work_area_of(window), &place);
    SetWindowPos(window, nullptr, place.window.x, place.window.y, place.window.width, place.window.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Laid out and filled while hidden: showing it then only paints (the size it is shown at is
    // the one it has, so the layout is not asked for again).
    layout_main_window();
    take_first_check(window, 250);
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
    // Every check sets the line again; the same words are not sent again, so an idle window's
    // status bar is not repainted every ten seconds.
    // SB_GETTEXT gives no room limit: the length is asked first (its low word).
    const LRESULT length = SendMessageW(g_main.statusBar, SB_GETTEXTLENGTHW, 0, 0);
    if (LOWORD(length) == wcslen(line)) {
        wchar_t shown[600] = L"";
        SendMessageW(g_main.statusBar, SB_GETTEXTW, 0, (LPARAM)shown);
        if (wcscmp(shown, line) == 0) return;
    }
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

// One child's place in a layout pass; hidden ones keep their place.
struct Placed {
    HWND window;
    LayoutRect rect;
    int shown;
};

static int same_place(HWND window, const LayoutRect& r) {
    RECT now;
    if (!GetWindowRect(window, &now)) return 0;
    MapWindowPoints(nullptr, g_main.window, reinterpret_cast<POINT*>(&now), 2);
    return now.left == r.x && now.top == r.y && now.right - now.left == r.width &&
           now.bottom - now.top == r.height && IsWindowVisible(window);
}

// Moves, shows and hides the children in one deferred pass, then redraws each that moved or was
// shown, frame and scroll bars included, so nothing of its old place or contents stays on screen.
static void place_children(const Placed* parts, int count) {
    HWND moved[16];
    int moved_count = 0;
    HDWP defer = BeginDeferWindowPos(count);
    for (int i = 0; i < count; i++) {
        const Placed& p = parts[i];
        if (!p.window) continue;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE |
                     (p.shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
        if (p.shown && !same_place(p.window, p.rect) && moved_count < (int)_countof(moved))
            moved[moved_count++] = p.window;
        if (defer)
            defer = DeferWindowPos(defer, p.window, nullptr, p.rect.x, p.rect.y, p.rect.width, p.rect.height,
                                   flags);
        if (!defer) SetWindowPos(p.window, nullptr, p.rect.x, p.rect.y, p.rect.width, p.rect.height, flags);
    }
    if (defer) EndDeferWindowPos(defer);
    for (int i = 0; i < moved_count; i++)
        RedrawWindow(moved[i], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// The status bar's parts: the check line, and once there is one, the last outcome on the right.
static void set_status_parts(int width) {
    if (!g_main.statusBar) return;
    int parts[2] = {-1, -1};
    int count = 1;
    if (g_main.lastOutcome[0]) {
        int outcome = width * 40 / 100;
        if (outcome > scaled(620)) outcome = scaled(620);
        parts[0] = width - outcome;
        count = 2;
    }
    SendMessageW(g_main.statusBar, SB_SETPARTS, count, (LPARAM)parts);
    if (count == 2) SendMessageW(g_main.statusBar, SB_SETTEXTW, 1, (LPARAM)g_main.lastOutcome);
}

void show_last_outcome(const wchar_t* text) {
    if (!text || !text[0]) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    text_format(g_main.lastOutcome, _countof(g_main.lastOutcome), L"  %02u:%02u:%02u  %ls", now.wHour,
                now.wMinute, now.wSecond, text);
    RECT client;
    GetClientRect(g_main.window, &client);
    set_status_parts(client.right);
}

void layout_main_window() {
    if (!g_main.statusBar) return;
    RECT client;
    GetClientRect(g_main.window, &client);
    SendMessageW(g_main.statusBar, WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(g_main.statusBar, &bar);
    const int update_bar = g_main.updateBar && (GetWindowLongW(g_main.updateBar, GWL_STYLE) & WS_VISIBLE);
    // Showing the window, or Windows repeating a size, asks again for the layout it already has:
    // the children are moved (one server round trip each under Wine) only when something changed.
    const int32_t key[] = {client.right, client.bottom, bar.bottom - bar.top,
                           g_main.dpi,   update_bar,    ribbon_tab()};
    static_assert(sizeof(key) == sizeof(g_main.layoutKey), "one key per layout input");
    if (g_main.layoutDone && memcmp(key, g_main.layoutKey, sizeof(key)) == 0) return;
    memcpy(g_main.layoutKey, key, sizeof(key));
    g_main.layoutDone = 1;
    set_status_parts(client.right);
    RedrawWindow(g_main.statusBar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    MainLayout l;
    main_layout(client.right, client.bottom, bar.bottom - bar.top, g_main.dpi, update_bar, ribbon_tab(), &l);
    const int lists = !l.settingsShown;
    const Placed parts[] = {
        {g_main.ribbon, l.ribbon, 1},
        {update_bar ? g_main.updateBar : nullptr, l.updateBar, 1},
        {g_main.banner, l.banner, 1},
        {g_main.settingsPage, l.settingsPage, l.settingsShown},
        {g_main.printerCaption, l.printerCaption, lists},
        {g_main.printerList, l.printerList, lists},
        {g_main.bottomCaption, l.bottomCaption, lists},
        {g_main.bottomList, l.bottomList, lists},
    };
    place_children(parts, (int)_countof(parts));
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
