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
#include "ui/ui.h"

struct RibbonWindow {
    HWND window, tooltip;
    HWND focusBeforeTips; // where the keyboard focus goes back to when the key tips end
    RibbonState state;
    RibbonLayout layout;
    int32_t lastTab; // the tab the last layout was made for; -1 before the first
    int32_t tracking;
    int32_t tooltipCount;
    int32_t hasFocus;
    wchar_t version[40];
};

static RibbonWindow s_rb = {nullptr, nullptr, nullptr, {0, -1, -1, -1, 0, 0, 0, TipsOff}, {}, -1, 0,
                            0,       0,       {}};

static int32_t dpi() {
    return g_main.dpi > 0 ? g_main.dpi : 96;
}
static int S(int v) {
    return scaled(v);
}

static RibbonFlags flags_now() {
    return {g_settings.expertTools, g_process.elevated, network_search_in_progress(), g_settings.view};
}

int32_t ribbon_tab() {
    return s_rb.state.tab;
}

static int32_t measure_text(void* context, const wchar_t* text, int32_t length) {
    SIZE size = {};
    GetTextExtentPoint32W(static_cast<HDC>(context), text, length, &size);
    return size.cx;
}

static void send_command(int32_t id) {
    if (s_rb.window) SendMessageW(GetParent(s_rb.window), WM_COMMAND, (WPARAM)id, 0);
}

static void add_tool(const RibbonRect& r, const wchar_t* text) {
    TOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = s_rb.window;
    ti.uId = (UINT_PTR)(++s_rb.tooltipCount);
    ti.rect = {r.left, r.top, r.right, r.bottom};
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(s_rb.tooltip, TTM_ADDTOOLW, 0, (LPARAM)&ti);
}

// The tools follow the layout, so a hidden group's buttons never show a tooltip.
static void register_tooltips() {
    if (!s_rb.tooltip) return;
    for (int32_t id = 1; id <= s_rb.tooltipCount; id++) {
        TOOLINFOW ti = {};
        ti.cbSize = sizeof(ti);
        ti.hwnd = s_rb.window;
        ti.uId = (UINT_PTR)id;
        SendMessageW(s_rb.tooltip, TTM_DELTOOLW, 0, (LPARAM)&ti);
    }
    s_rb.tooltipCount = 0;
    for (int32_t i = 0; i < s_rb.layout.buttonCount; i++)
        add_tool(s_rb.layout.buttons[i].rect, ribbon_laid_tooltip(&s_rb.layout.buttons[i]));
    for (int32_t t = 0; t < kRibbonTabCount; t++)
        add_tool(s_rb.layout.tabs[t], kRibbonTabs[t].tooltip);
    add_tool(s_rb.layout.version, kRibbonVersionTooltip);
}

// The window text is what screen readers read as the ribbon's name.
static void announce_focus(int32_t moved) {
    wchar_t name[80];
    RibbonFlags flags = flags_now();
    ribbon_focus_name(&s_rb.state, &s_rb.layout, &flags, name, _countof(name));
    SetWindowTextW(s_rb.window, name);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, s_rb.window, OBJID_CLIENT, CHILDID_SELF);
    // The focus event names the accessible child that has the focus (ribbon_access_win.cpp): the
    // tabs are children 1 to 5, the buttons follow.
    const int32_t b = s_rb.state.focus;
    LONG child = b >= 0 && b < s_rb.layout.buttonCount ? kRibbonTabCount + b + 1 : s_rb.state.tab + 1;
    if (moved && s_rb.hasFocus) NotifyWinEvent(EVENT_OBJECT_FOCUS, s_rb.window, OBJID_CLIENT, child);
}

void ribbon_layout() {
    if (!s_rb.window) return;
    RECT client;
    GetClientRect(s_rb.window, &client);
    HDC dc = GetDC(s_rb.window);
    HGDIOBJ old = SelectObject(dc, g_main.normal ? (HGDIOBJ)g_main.normal : GetStockObject(DEFAULT_GUI_FONT));
    RibbonMeasure measure = {measure_text, dc};
    RibbonFlags flags = flags_now();
    ribbon_layout_of(&measure, client.right, dpi(), s_rb.state.tab, &flags, s_rb.version, &s_rb.layout);
    SelectObject(dc, old);
    ReleaseDC(s_rb.window, dc);

    int32_t tab_changed = s_rb.state.tab != s_rb.lastTab;
    ribbon_fix_focus(&s_rb.state, &s_rb.layout, tab_changed);
    if (s_rb.state.hotButton >= s_rb.layout.buttonCount) s_rb.state.hotButton = -1;
    if (s_rb.state.pressed >= s_rb.layout.buttonCount) s_rb.state.pressed = -1;
    register_tooltips();
    announce_focus(tab_changed);
    InvalidateRect(s_rb.window, nullptr, FALSE);
    if (tab_changed) {
        // The main window shows the Settings page or the lists according to the tab.
        s_rb.lastTab = s_rb.state.tab;
        HWND parent = GetParent(s_rb.window);
        RECT r;
        GetClientRect(parent, &r);
        PostMessageW(parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
    }
}

// Painting

static void fill(HDC dc, int l, int t, int r, int b, COLORREF colour) {
    RECT rc = {l, t, r, b};
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

static void line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

static void text(HDC dc, const wchar_t* s, RECT rc, HFONT font, COLORREF colour, UINT format) {
    SelectObject(dc, font);
    SetTextColor(dc, colour);
    DrawTextW(dc, s, -1, &rc, format | DT_NOPREFIX);
}

static void rounded(HDC dc, const RibbonRect& r, COLORREF fill_colour, COLORREF border) {
    HBRUSH brush = CreateSolidBrush(fill_colour);
    HPEN pen = CreatePen(PS_SOLID, 1, border);
    HGDIOBJ old_brush = SelectObject(dc, brush), old_pen = SelectObject(dc, pen);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, S(6), S(6));
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(brush);
    DeleteObject(pen);
}

static RECT rect_of(const RibbonRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The colours now: the ribbon's own, or the system's while high contrast is on.
static RibbonPalette palette_now() {
    RibbonSystemColours c = {GetSysColor(COLOR_WINDOW),    GetSysColor(COLOR_WINDOWTEXT),
                             GetSysColor(COLOR_BTNFACE),   GetSysColor(COLOR_BTNTEXT),
                             GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT),
                             GetSysColor(COLOR_GRAYTEXT),  GetSysColor(COLOR_HOTLIGHT)};
    return ribbon_palette(g_main.highContrast, &c);
}

// A key tip: the letter in a small dark box centred at (x, top).
static void key_tip(HDC dc, const RibbonPalette& p, wchar_t letter, int x, int top) {
    if (!letter) return;
    RibbonRect r = {x - S(9), top, x + S(9), top + S(18)};
    rounded(dc, r, p.tipFill, p.tipFill);
    wchar_t one[2] = {letter, 0};
    text(dc, one, rect_of(r), g_main.bold ? g_main.bold : g_main.normal, p.tipText,
         DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

static void paint_tabs(HDC dc, HPEN line_pen, const RibbonPalette& p) {
    HFONT normal = g_main.normal, bold = g_main.bold ? g_main.bold : g_main.normal;
    for (int32_t t = 0; t < kRibbonTabCount; t++) {
        const RibbonRect& r = s_rb.layout.tabs[t];
        UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (t == s_rb.state.tab) {
            fill(dc, r.left, r.top, r.right, r.bottom + 1, p.body);
            SelectObject(dc, line_pen);
            MoveToEx(dc, r.left, r.bottom, nullptr);
            LineTo(dc, r.left, r.top);
            LineTo(dc, r.right - 1, r.top);
            LineTo(dc, r.right - 1, r.bottom);
            fill(dc, r.left + S(10), r.bottom - S(3), r.right - S(10), r.bottom - S(1), p.accent);
            text(dc, kRibbonTabs[t].name, rect_of(r), bold, p.accent, centred);
        } else {
            int hot = t == s_rb.state.hotTab;
            if (hot) fill(dc, r.left, r.top, r.right, r.bottom, p.hotTab);
            text(dc, kRibbonTabs[t].name, rect_of(r), normal, hot && p.highContrast ? p.tipText : p.tabText,
                 centred);
        }
    }
    if (s_rb.state.versionHot) rounded(dc, s_rb.layout.version, p.hoverFill, p.hoverBorder);
    text(dc, s_rb.version, rect_of(s_rb.layout.version), normal,
         s_rb.state.versionHot && p.highContrast ? p.tipText : p.versionText,
         DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// A collapsed group's name on two lines, the first followed by a small arrow: it opens a menu.
static void collapsed_label(HDC dc, const RibbonLaidButton& b, COLORREF colour) {
    const wchar_t* caption = b.menu->caption;
    const RibbonRect& r = b.rect;
    int n = (int)wcslen(caption), cut = ribbon_caption_break(caption), first = cut < 0 ? n : cut;
    SelectObject(dc, g_main.normal);
    SIZE size = {};
    GetTextExtentPoint32W(dc, caption, first, &size);
    const int arrow = S(12), line_height = size.cy;
    int x = (r.left + r.right - size.cx - arrow) / 2, y = r.top + S(37);
    SetTextColor(dc, colour);
    ExtTextOutW(dc, x, y, 0, nullptr, caption, (UINT)first, nullptr);
    if (cut >= 0)
        text(dc, caption + cut + 1, {r.left + S(2), y + line_height, r.right - S(2), r.bottom}, g_main.normal,
             colour, DT_CENTER | DT_SINGLELINE);
    int ax = x + size.cx + S(7), ay = y + line_height / 2;
    POINT pts[3] = {{ax - S(4), ay - S(2)}, {ax + S(4), ay - S(2)}, {ax, ay + S(2)}};
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old_brush = SelectObject(dc, brush), old_pen = SelectObject(dc, pen);
    Polygon(dc, pts, 3);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(brush);
    DeleteObject(pen);
}

static void paint_body(HDC dc, HPEN line_pen, const RibbonPalette& p) {
    RibbonFlags flags = flags_now();
    for (int32_t g = 0; g < s_rb.layout.groupCount; g++) {
        const RibbonRect& r = s_rb.layout.groups[g].rect;
        if (s_rb.layout.groups[g].caption)
            text(dc, s_rb.layout.groups[g].caption, {r.left, r.bottom - S(20), r.right, r.bottom - S(3)},
                 g_main.normal, p.captionText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        SelectObject(dc, line_pen);
        line(dc, r.right, r.top + S(8), r.right, r.bottom - S(6));
    }
    for (int32_t i = 0; i < s_rb.layout.buttonCount; i++) {
        const RibbonLaidButton& b = s_rb.layout.buttons[i];
        const RibbonRect& r = b.rect;
        RibbonLook look = ribbon_button_look(i == s_rb.state.pressed, i == s_rb.state.hotButton,
                                             !b.menu && ribbon_button_highlighted(b.command, &flags));
        RibbonLookColours colours = ribbon_look_colours(look, &p);
        if (colours.filled) rounded(dc, r, colours.fill, colours.border);
        COLORREF label = ribbon_label_colour(look, &p);
        wchar_t glyph[2] = {(wchar_t)b.button->glyph, 0};
        text(dc, glyph, {r.left, r.top + S(4), r.right, r.top + S(34)}, g_main.glyphLarge,
             look != LookNone && p.highContrast ? label : ribbon_glyph_colour(b.command, &p),
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (b.menu)
            collapsed_label(dc, b, label);
        else
            text(dc, ribbon_laid_label(&b, &flags), {r.left + S(2), r.top + S(37), r.right - S(2), r.bottom},
                 g_main.normal, label, DT_CENTER | DT_WORDBREAK);
    }
    if (s_rb.hasFocus && s_rb.state.tips == TipsOff) {
        const RibbonRect& f = s_rb.state.focus >= 0 && s_rb.state.focus < s_rb.layout.buttonCount
                                  ? s_rb.layout.buttons[s_rb.state.focus].rect
                                  : s_rb.layout.tabs[s_rb.state.tab];
        RECT rc = {f.left + S(2), f.top + S(2), f.right - S(2), f.bottom - S(2)};
        SetTextColor(dc, p.highContrast ? p.labelText : RGB(0, 0, 0));
        SetBkColor(dc, p.highContrast ? p.body : RGB(255, 255, 255));
        DrawFocusRect(dc, &rc);
    }
}

static void paint_tips(HDC dc, const RibbonPalette& p) {
    if (s_rb.state.tips == TipsOff) return;
    RibbonTips tips;
    RibbonFlags flags = flags_now();
    ribbon_tips_of(&s_rb.layout, &flags, &tips);
    for (int32_t t = 0; t < kRibbonTabCount; t++) {
        const RibbonRect& r = s_rb.layout.tabs[t];
        if (s_rb.state.tips == TipsOnTabs)
            key_tip(dc, p, tips.tabs[t], (r.left + r.right) / 2, r.bottom - S(12));
    }
    if (s_rb.state.tips != TipsOnButtons) return;
    for (int32_t i = 0; i < s_rb.layout.buttonCount; i++) {
        const RibbonRect& r = s_rb.layout.buttons[i].rect;
        key_tip(dc, p, tips.buttons[i], (r.left + r.right) / 2, r.top + S(18));
    }
}

static void on_paint(HWND window) {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    int w = client.right, h = client.bottom;
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w > 0 ? w : 1, h > 0 ? h : 1);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap), old_font = SelectObject(dc, g_main.normal);
    const RibbonPalette p = palette_now();
    HPEN line_pen = CreatePen(PS_SOLID, 1, p.line);
    HGDIOBJ old_pen = SelectObject(dc, line_pen);

    int row = S(kRibbonTabRow96);
    fill(dc, 0, 0, w, row, p.tabRow);
    fill(dc, 0, row, w, h, p.body);
    line(dc, 0, row - 1, w, row - 1);
    line(dc, 0, h - 1, w, h - 1);
    SetBkMode(dc, TRANSPARENT);
    paint_tabs(dc, line_pen, p);
    paint_body(dc, line_pen, p);
    paint_tips(dc, p);

    BitBlt(screen, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_font);
    SelectObject(dc, old_bitmap);
    DeleteObject(line_pen);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(window, &ps);
}

// Input

// A collapsed group's menu, under its button: one item per button of the group, each with its key
// tip letter as the access key. TPM_RETURNCMD makes TrackPopupMenuEx return the chosen item's id (0
// when cancelled), so the command goes through the same road as a click. Opened from the keyboard,
// the first item is selected, as Windows does for a menu opened with a key.
static void open_group_menu(int32_t index, int32_t by_keyboard) {
    if (index < 0 || index >= s_rb.layout.buttonCount || !s_rb.layout.buttons[index].menu) return;
    const RibbonGroup* group = s_rb.layout.buttons[index].menu;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    RibbonFlags flags = flags_now();
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
    const RibbonRect& r = s_rb.layout.buttons[index].rect;
    RECT screen = {r.left, r.top, r.right, r.bottom};
    MapWindowPoints(s_rb.window, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    TPMPARAMS params = {sizeof(params), screen};
    s_rb.state.pressed = index;
    InvalidateRect(s_rb.window, nullptr, FALSE);
    if (by_keyboard) PostMessageW(s_rb.window, WM_KEYDOWN, VK_DOWN, 0);
    int32_t chosen =
        (int32_t)TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_VERTICAL,
                                  screen.left, screen.bottom, s_rb.window, &params);
    DestroyMenu(menu);
    s_rb.state.pressed = -1;
    if (s_rb.window) InvalidateRect(s_rb.window, nullptr, FALSE);
    if (chosen) send_command(chosen);
}

static void run(RibbonAction action, int32_t command, int32_t by_keyboard = 0) {
    if (action == ActRelayout)
        ribbon_layout();
    else if (action != ActNone)
        InvalidateRect(s_rb.window, nullptr, FALSE);
    if (action == ActCommand) send_command(command);
    if (action == ActMenu) open_group_menu(command, by_keyboard);
}

// Key tips end: the focus goes back to where it was before Alt.
static void end_tips(int32_t restore_focus) {
    if (s_rb.state.tips == TipsOff && !s_rb.focusBeforeTips) return;
    s_rb.state.tips = TipsOff;
    HWND back = s_rb.focusBeforeTips;
    s_rb.focusBeforeTips = nullptr;
    InvalidateRect(s_rb.window, nullptr, FALSE);
    if (restore_focus && back && IsWindow(back) && IsWindowVisible(back)) SetFocus(back);
}

RibbonView ribbon_view() {
    return {s_rb.window, &s_rb.layout, &s_rb.state, flags_now(), s_rb.hasFocus};
}

void ribbon_access_action(int32_t item) {
    if (!s_rb.window) return;
    if (item >= 0 && item < kRibbonTabCount) {
        if (item == s_rb.state.tab) return;
        s_rb.state.tab = item;
        s_rb.state.hotButton = -1;
        ribbon_layout();
        return;
    }
    int32_t b = item - kRibbonTabCount;
    if (b < 0 || b >= s_rb.layout.buttonCount) return;
    if (s_rb.layout.buttons[b].menu)
        open_group_menu(b, 1);
    else
        send_command(s_rb.layout.buttons[b].command);
}

void ribbon_start_key_tips() {
    if (!s_rb.window || !IsWindowVisible(s_rb.window)) return;
    HWND focus = GetFocus();
    s_rb.focusBeforeTips = focus != s_rb.window ? focus : nullptr;
    ribbon_tips_start(&s_rb.state);
    if (focus != s_rb.window) SetFocus(s_rb.window);
    InvalidateRect(s_rb.window, nullptr, FALSE);
}

int32_t ribbon_key_tips_shown() {
    return s_rb.state.tips != TipsOff;
}

void ribbon_stop_key_tips() {
    end_tips(1);
}

// A character while the key tips show: a tab's letter opens the tab, a button's presses it.
static void on_tip_char(wchar_t ch) {
    RibbonTips tips;
    RibbonFlags flags = flags_now();
    ribbon_tips_of(&s_rb.layout, &flags, &tips);
    int32_t command = 0;
    RibbonAction action = ribbon_tip_key(&s_rb.state, &s_rb.layout, &tips, ch, &command);
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
    if (s_rb.state.tips == TipsOff) end_tips(1);
}

static void on_mouse_move(HWND window, int x, int y) {
    if (ribbon_mouse_move(&s_rb.state, &s_rb.layout, x, y) != ActNone) InvalidateRect(window, nullptr, FALSE);
    if (!s_rb.tracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, window, 0};
        s_rb.tracking = TrackMouseEvent(&tme) != FALSE;
    }
}

static void on_button_down(HWND window, int x, int y) {
    int32_t command = 0;
    RibbonAction action = ribbon_button_down(&s_rb.state, &s_rb.layout, x, y, &command);
    if (action == ActCapture) SetCapture(window);
    run(action, command);
}

static void on_button_up(HWND window, int x, int y) {
    int32_t command = 0;
    RibbonAction action = ribbon_button_up(&s_rb.state, &s_rb.layout, x, y, &command);
    if (GetCapture() == window) ReleaseCapture();
    InvalidateRect(window, nullptr, FALSE);
    run(action, command);
}

static LRESULT on_wheel(HWND window, WPARAM wparam, LPARAM lparam) {
    POINT pt = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    ScreenToClient(window, &pt);
    if (pt.y >= S(kRibbonTabRow96) + S(kRibbonBody96))
        return DefWindowProcW(window, WM_MOUSEWHEEL, wparam, lparam);
    run(ribbon_wheel(&s_rb.state, dpi(), pt.y, GET_WHEEL_DELTA_WPARAM(wparam)), 0);
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
    if (s_rb.state.tips != TipsOff) {
        if (vk == VK_ESCAPE) on_tip_char(0x1B);
        return 1; // letters come as WM_CHAR
    }
    RibbonKey key = key_of(vk);
    if (!key) return 0;
    if (key == KeyPress && (lparam & (1 << 30))) return 1; // a held key presses once
    int32_t command = 0;
    int32_t focus = s_rb.state.focus;
    RibbonAction action = ribbon_key(&s_rb.state, &s_rb.layout, key, &command);
    run(action, command, 1);
    if (action == ActRepaint && focus != s_rb.state.focus) announce_focus(1);
    return 1;
}

// Arrows always; Enter, Space and Ctrl+Tab too, which the dialog manager would otherwise take.
static LRESULT dialog_code(LPARAM lparam) {
    // While key tips show, every key and character is the ribbon's (Esc too).
    if (s_rb.state.tips != TipsOff) return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS;
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
    s_rb.hasFocus = focused;
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
        on_paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        on_mouse_move(window, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 0;
    case WM_MOUSELEAVE:
        s_rb.tracking = 0;
        ribbon_mouse_leave(&s_rb.state);
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
        if (s_rb.state.tips != TipsOff && wparam != 0x1B) on_tip_char((wchar_t)wparam);
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
        if (s_rb.tooltip) DestroyWindow(s_rb.tooltip);
        if (g_main.ribbon == window) g_main.ribbon = g_main.ribbonTooltip = nullptr;
        s_rb.window = s_rb.tooltip = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void create_ribbon(HWND parent) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    create_glyph_fonts();
    ribbon_state_init(&s_rb.state);
    s_rb.lastTab = -1;
    s_rb.tracking = s_rb.tooltipCount = s_rb.hasFocus = 0;
    text_format(s_rb.version, _countof(s_rb.version), L"Vantrel v%ls", VANTREL_VERSION_TEXT);

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
    s_rb.window = window;
    s_rb.tooltip = tooltip;
    g_main.ribbon = window;
    g_main.ribbonTooltip = tooltip;
    ribbon_layout();
}
