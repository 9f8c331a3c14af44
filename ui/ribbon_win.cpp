// The ribbon window: measures with the real font, paints what ribbon.cpp laid out into a memory
// bitmap, keeps the tooltips in step with the layout and turns mouse and keyboard input into
// commands for the main window. Keyboard users reach it with Tab or with Alt's key tips; a screen
// reader reads its tabs and buttons through the ribbon's accessible object (ribbon_access_win.cpp),
// and the window's text holds the focused button's label as well. Groups that do not fit open a menu.
#include "ui/ribbon_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "core/messages.h"
#include "res/version.h"
#include "ui/ui.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "net/search.h"
#include "ui/icon_font_win.h"
#include "ui/main_window.h"
#include "ui/ribbon.h"
#include "ui/ribbon_window_win.h"
#include "ui/ui.h"

RibbonWindow g_rb = {nullptr, nullptr, nullptr, {0, -1, -1, -1, 0, 0, 0, TipsOff}, {}, -1, 0, 0, 0, {}};

static int32_t dpi() {
    return g_main.dpi > 0 ? g_main.dpi : 96;
}
static int S(int v) {
    return scaled(v);
}

RibbonFlags ribbon_flags_now() {
    return {g_settings.expertTools, g_process.elevated, network_search_in_progress(), g_settings.view};
}

int32_t ribbon_tab() {
    return g_rb.state.tab;
}

static int32_t measure_text(void* context, const wchar_t* text, int32_t length) {
    SIZE size = {};
    GetTextExtentPoint32W(static_cast<HDC>(context), text, length, &size);
    return size.cx;
}

static void send_command(int32_t id) {
    if (g_rb.window) SendMessageW(GetParent(g_rb.window), WM_COMMAND, (WPARAM)id, 0);
}

static void add_tool(const RibbonRect& r, const wchar_t* text) {
    TOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = g_rb.window;
    ti.uId = (UINT_PTR)(++g_rb.tooltipCount);
    ti.rect = {r.left, r.top, r.right, r.bottom};
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(g_rb.tooltip, TTM_ADDTOOLW, 0, (LPARAM)&ti);
}

// The tools follow the layout, so a hidden group's buttons never show a tooltip.
static void register_tooltips() {
    if (!g_rb.tooltip) return;
    for (int32_t id = 1; id <= g_rb.tooltipCount; id++) {
        TOOLINFOW ti = {};
        ti.cbSize = sizeof(ti);
        ti.hwnd = g_rb.window;
        ti.uId = (UINT_PTR)id;
        SendMessageW(g_rb.tooltip, TTM_DELTOOLW, 0, (LPARAM)&ti);
    }
    g_rb.tooltipCount = 0;
    for (int32_t i = 0; i < g_rb.layout.buttonCount; i++)
        add_tool(g_rb.layout.buttons[i].rect, ribbon_laid_tooltip(&g_rb.layout.buttons[i]));
    for (int32_t t = 0; t < kRibbonTabCount; t++)
        add_tool(g_rb.layout.tabs[t], kRibbonTabs[t].tooltip);
    add_tool(g_rb.layout.version, kRibbonVersionTooltip);
}

// The window text is what screen readers read as the ribbon's name.
static void announce_focus(int32_t moved) {
    wchar_t name[80];
    RibbonFlags flags = ribbon_flags_now();
    ribbon_focus_name(&g_rb.state, &g_rb.layout, &flags, name, _countof(name));
    SetWindowTextW(g_rb.window, name);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, g_rb.window, OBJID_CLIENT, CHILDID_SELF);
    // The focus event names the accessible child that has the focus (ribbon_access_win.cpp): the
    // tabs are children 1 to 5, the buttons follow.
    const int32_t b = g_rb.state.focus;
    LONG child = b >= 0 && b < g_rb.layout.buttonCount ? kRibbonTabCount + b + 1 : g_rb.state.tab + 1;
    if (moved && g_rb.hasFocus) NotifyWinEvent(EVENT_OBJECT_FOCUS, g_rb.window, OBJID_CLIENT, child);
}

void ribbon_layout() {
    if (!g_rb.window) return;
    RECT client;
    GetClientRect(g_rb.window, &client);
    HDC dc = GetDC(g_rb.window);
    HGDIOBJ old = SelectObject(dc, g_main.normal ? (HGDIOBJ)g_main.normal : GetStockObject(DEFAULT_GUI_FONT));
    RibbonMeasure measure = {measure_text, dc};
    RibbonFlags flags = ribbon_flags_now();
    ribbon_layout_of(&measure, client.right, dpi(), g_rb.state.tab, &flags, g_rb.version, &g_rb.layout);
    SelectObject(dc, old);
    ReleaseDC(g_rb.window, dc);

    int32_t tab_changed = g_rb.state.tab != g_rb.lastTab;
    ribbon_fix_focus(&g_rb.state, &g_rb.layout, tab_changed);
    if (g_rb.state.hotButton >= g_rb.layout.buttonCount) g_rb.state.hotButton = -1;
    if (g_rb.state.pressed >= g_rb.layout.buttonCount) g_rb.state.pressed = -1;
    register_tooltips();
    announce_focus(tab_changed);
    InvalidateRect(g_rb.window, nullptr, FALSE);
    if (tab_changed) {
        // The main window shows the Settings page or the lists according to the tab.
        g_rb.lastTab = g_rb.state.tab;
        HWND parent = GetParent(g_rb.window);
        RECT r;
        GetClientRect(parent, &r);
        PostMessageW(parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
    }
}

// Input

// A collapsed group's menu, under its button: one item per button of the group, each with its key
// tip letter as the access key. TPM_RETURNCMD makes TrackPopupMenuEx return the chosen item's id (0
// when cancelled), so the command goes through the same road as a click. Opened from the keyboard,
// the first item is selected, as Windows does for a menu opened with a key.
static void open_group_menu(int32_t index, int32_t by_keyboard) {
    if (index < 0 || index >= g_rb.layout.buttonCount || !g_rb.layout.buttons[index].menu) return;
    const RibbonGroup* group = g_rb.layout.buttons[index].menu;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    RibbonFlags flags = ribbon_flags_now();
    const wchar_t* labels[kRibbonMaxButtons];
    wchar_t letters[kRibbonMaxButtons];
    int32_t n = group->buttonCount < kRibbonMaxButtons ? group->buttonCount : kRibbonMaxButtons;
    for (int32_t b = 0; b < n; b++)
        labels[b] = ribbon_label_shown(&group->buttons[b], &flags);
    ribbon_tip_letters(labels, n, letters);
    for (int32_t b = 0; b < n; b++) {
        wchar_t item[140];
        ribbon_menu_text(labels[b], letters[b], item, _countof(item));
        AppendMenuW(
            menu, MF_STRING | (ribbon_button_highlighted(group->buttons[b].command, &flags) ? MF_CHECKED : 0),
            (UINT_PTR)group->buttons[b].command, item);
    }
    const RibbonRect& r = g_rb.layout.buttons[index].rect;
    RECT screen = {r.left, r.top, r.right, r.bottom};
    MapWindowPoints(g_rb.window, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    TPMPARAMS params = {sizeof(params), screen};
    g_rb.state.pressed = index;
    InvalidateRect(g_rb.window, nullptr, FALSE);
    if (by_keyboard) PostMessageW(g_rb.window, WM_KEYDOWN, VK_DOWN, 0);
    int32_t chosen =
        (int32_t)TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_VERTICAL,
                                  screen.left, screen.bottom, g_rb.window, &params);
    DestroyMenu(menu);
    g_rb.state.pressed = -1;
    if (g_rb.window) InvalidateRect(g_rb.window, nullptr, FALSE);
    if (chosen) send_command(chosen);
}

static void run(RibbonAction action, int32_t command, int32_t by_keyboard = 0) {
    if (action == ActRelayout)
        ribbon_layout();
    else if (action != ActNone)
        InvalidateRect(g_rb.window, nullptr, FALSE);
    if (action == ActCommand) send_command(command);
    if (action == ActMenu) open_group_menu(command, by_keyboard);
}

// Key tips end: the focus goes back to where it was before Alt.
static void end_tips(int32_t restore_focus) {
    if (g_rb.state.tips == TipsOff && !g_rb.focusBeforeTips) return;
    g_rb.state.tips = TipsOff;
    HWND back = g_rb.focusBeforeTips;
    g_rb.focusBeforeTips = nullptr;
    InvalidateRect(g_rb.window, nullptr, FALSE);
    if (restore_focus && back && IsWindow(back) && IsWindowVisible(back)) SetFocus(back);
}

RibbonView ribbon_view() {
    return {g_rb.window, &g_rb.layout, &g_rb.state, ribbon_flags_now(), g_rb.hasFocus};
}

void ribbon_access_action(int32_t item) {
    if (!g_rb.window) return;
    if (item >= 0 && item < kRibbonTabCount) {
        if (item == g_rb.state.tab) return;
        g_rb.state.tab = item;
        g_rb.state.hotButton = -1;
        ribbon_layout();
        return;
    }
    int32_t b = item - kRibbonTabCount;
    if (b < 0 || b >= g_rb.layout.buttonCount) return;
    if (g_rb.layout.buttons[b].menu)
        open_group_menu(b, 1);
    else
        send_command(g_rb.layout.buttons[b].command);
}

void ribbon_start_key_tips() {
    if (!g_rb.window || !IsWindowVisible(g_rb.window)) return;
    HWND focus = GetFocus();
    g_rb.focusBeforeTips = focus != g_rb.window ? focus : nullptr;
    ribbon_tips_start(&g_rb.state);
    if (focus != g_rb.window) SetFocus(g_rb.window);
    InvalidateRect(g_rb.window, nullptr, FALSE);
}

int32_t ribbon_key_tips_shown() {
    return g_rb.state.tips != TipsOff;
}

void ribbon_stop_key_tips() {
    end_tips(1);
}

// A character while the key tips show: a tab's letter opens the tab, a button's presses it.
static void on_tip_char(wchar_t ch) {
    RibbonTips tips;
    RibbonFlags flags = ribbon_flags_now();
    ribbon_tips_of(&g_rb.layout, &flags, &tips);
    int32_t command = 0;
    RibbonAction action = ribbon_tip_key(&g_rb.state, &g_rb.layout, &tips, ch, &command);
    if (action == ActNone) {
        MessageBeep(MB_OK);
        return;
    }
    if (action == ActCommand || action == ActMenu) {
        // The button the letter pressed has the focus while its command or menu runs; then the focus
        // goes back to where it was before Alt.
        announce_focus(1);
        if (action == ActCommand) end_tips(1);
        run(action, command, 1);
        end_tips(1);
        return;
    }
    run(action, command);
    if (g_rb.state.tips == TipsOff) end_tips(1);
}

static void on_mouse_move(HWND window, int x, int y) {
    if (ribbon_mouse_move(&g_rb.state, &g_rb.layout, x, y) != ActNone) InvalidateRect(window, nullptr, FALSE);
    if (!g_rb.tracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, window, 0};
        g_rb.tracking = TrackMouseEvent(&tme) != FALSE;
    }
}

static void on_button_down(HWND window, int x, int y) {
    int32_t command = 0;
    RibbonAction action = ribbon_button_down(&g_rb.state, &g_rb.layout, x, y, &command);
    if (action == ActCapture) SetCapture(window);
    run(action, command);
}

static void on_button_up(HWND window, int x, int y) {
    int32_t command = 0;
    RibbonAction action = ribbon_button_up(&g_rb.state, &g_rb.layout, x, y, &command);
    if (GetCapture() == window) ReleaseCapture();
    InvalidateRect(window, nullptr, FALSE);
    run(action, command);
}

static LRESULT on_wheel(HWND window, WPARAM wparam, LPARAM lparam) {
    POINT pt = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    ScreenToClient(window, &pt);
    if (pt.y >= S(kRibbonTabRow96) + S(kRibbonBody96))
        return DefWindowProcW(window, WM_MOUSEWHEEL, wparam, lparam);
    run(ribbon_wheel(&g_rb.state, dpi(), pt.y, GET_WHEEL_DELTA_WPARAM(wparam)), 0);
    return 0;
}

static int ctrl_down() {
    return GetKeyState(VK_CONTROL) < 0;
}

static RibbonKey key_of(WPARAM vk) {
    int ctrl = ctrl_down(), shift = GetKeyState(VK_SHIFT) < 0;
    switch (vk) {
    case VK_LEFT:
        return KeyLeft;
    case VK_RIGHT:
        return KeyRight;
    case VK_UP:
        return KeyUp;
    case VK_DOWN:
        return KeyDown;
    case VK_HOME:
        return KeyHome;
    case VK_END:
        return KeyEnd;
    case VK_RETURN:
    case VK_SPACE:
        return KeyPress;
    case VK_TAB:
        return ctrl ? (shift ? KeyPrevTab : KeyNextTab) : (RibbonKey)0;
    case VK_NEXT:
        return ctrl ? KeyNextTab : (RibbonKey)0;
    case VK_PRIOR:
        return ctrl ? KeyPrevTab : (RibbonKey)0;
    }
    return (RibbonKey)0;
}

static int on_key_down(WPARAM vk, LPARAM lparam) {
    if (g_rb.state.tips != TipsOff) {
        if (vk == VK_ESCAPE) on_tip_char(0x1B);
        return 1; // letters come as WM_CHAR
    }
    RibbonKey key = key_of(vk);
    if (!key) return 0;
    if (key == KeyPress && (lparam & (1 << 30))) return 1; // a held key presses once
    int32_t command = 0;
    int32_t focus = g_rb.state.focus;
    RibbonAction action = ribbon_key(&g_rb.state, &g_rb.layout, key, &command);
    run(action, command, 1);
    if (action == ActRepaint && focus != g_rb.state.focus) announce_focus(1);
    return 1;
}

// Arrows always; Enter, Space and Ctrl+Tab too, which the dialog manager would otherwise take.
static LRESULT dialog_code(LPARAM lparam) {
    // While key tips show, every key and character is the ribbon's (Esc too).
    if (g_rb.state.tips != TipsOff) return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS;
    LRESULT code = DLGC_WANTARROWS;
    const MSG* msg = reinterpret_cast<const MSG*>(lparam);
    if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR)) {
        WPARAM k = msg->wParam;
        if (k == VK_RETURN || k == VK_SPACE) code |= DLGC_WANTMESSAGE;
        if (k == VK_TAB && ctrl_down()) code |= DLGC_WANTTAB | DLGC_WANTMESSAGE;
    }
    return code;
}

static void set_focus_flag(HWND window, int32_t focused) {
    g_rb.hasFocus = focused;
    if (!focused) end_tips(0);
    if (focused) announce_focus(1);
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK ribbon_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        ribbon_layout();
        return 0;
    case WM_PAINT:
        ribbon_paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        on_mouse_move(window, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 0;
    case WM_MOUSELEAVE:
        g_rb.tracking = 0;
        ribbon_mouse_leave(&g_rb.state);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        end_tips(0);
        on_button_down(window, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 0;
    case WM_LBUTTONUP:
        on_button_up(window, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 0;
    case WM_MOUSEWHEEL:
        return on_wheel(window, wparam, lparam);
    case WM_GETDLGCODE:
        return dialog_code(lparam);
    case WM_KEYDOWN:
        if (on_key_down(wparam, lparam)) return 0;
        break;
    case WM_CHAR:
        if (g_rb.state.tips != TipsOff && wparam != 0x1B) on_tip_char((wchar_t)wparam);
        return 0;
    case WM_GETOBJECT:
        return ribbon_get_object(window, wparam, lparam);
    case MsgRibbonAccessAction:
        ribbon_access_action((int32_t)wparam);
        return 0;
    case WM_SETFOCUS:
        set_focus_flag(window, 1);
        return 0;
    case WM_KILLFOCUS:
        set_focus_flag(window, 0);
        return 0;
    case WM_DESTROY:
        if (g_rb.tooltip) DestroyWindow(g_rb.tooltip);
        if (g_main.ribbon == window) g_main.ribbon = g_main.ribbonTooltip = nullptr;
        g_rb.window = g_rb.tooltip = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void create_ribbon(HWND parent) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    create_glyph_fonts();
    ribbon_state_init(&g_rb.state);
    g_rb.lastTab = -1;
    g_rb.tracking = g_rb.tooltipCount = g_rb.hasFocus = 0;
    text_format(g_rb.version, _countof(g_rb.version), L"Vantrel v%ls", VANTREL_VERSION_TEXT);

    RECT client;
    GetClientRect(parent, &client);
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrW(parent, GWLP_HINSTANCE);
    // A tab stop without WS_EX_CONTROLPARENT: it has no child controls, and the dialog manager
    // would otherwise look inside it for them instead of stopping on it.
    HWND window =
        CreateWindowExW(0, L"NSRibbon", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, 0,
                        client.right, ribbon_height(dpi()), parent, nullptr, instance, nullptr);
    if (!window) return;
    HWND tooltip = create_tooltip(window, 450);
    g_rb.window = window;
    g_rb.tooltip = tooltip;
    g_main.ribbon = window;
    g_main.ribbonTooltip = tooltip;
    ribbon_layout();
}
