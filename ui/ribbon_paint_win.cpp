// The ribbon's painting: the tab row, the groups and buttons of the open tab, a folded group's
// button, the key tips and the keyboard focus, into a memory bitmap, in the ribbon's own colours or,
// with high contrast on, only the system's.
#include "ui/ribbon_window_win.h"

#include "ui/main_window.h"

static int S(int v) {
    return scaled(v);
}

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
        const RibbonRect& r = g_rb.layout.tabs[t];
        UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (t == g_rb.state.tab) {
            fill(dc, r.left, r.top, r.right, r.bottom + 1, p.body);
            SelectObject(dc, line_pen);
            MoveToEx(dc, r.left, r.bottom, nullptr);
            LineTo(dc, r.left, r.top);
            LineTo(dc, r.right - 1, r.top);
            LineTo(dc, r.right - 1, r.bottom);
            fill(dc, r.left + S(10), r.bottom - S(3), r.right - S(10), r.bottom - S(1), p.accent);
            text(dc, kRibbonTabs[t].name, rect_of(r), bold, p.accent, centred);
        } else {
            int hot = t == g_rb.state.hotTab;
            if (hot) fill(dc, r.left, r.top, r.right, r.bottom, p.hotTab);
            text(dc, kRibbonTabs[t].name, rect_of(r), normal, hot && p.highContrast ? p.tipText : p.tabText,
                 centred);
        }
    }
    if (g_rb.state.versionHot) rounded(dc, g_rb.layout.version, p.hoverFill, p.hoverBorder);
    text(dc, g_rb.version, rect_of(g_rb.layout.version), normal,
         g_rb.state.versionHot && p.highContrast ? p.tipText : p.versionText,
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
    RibbonFlags flags = ribbon_flags_now();
    for (int32_t g = 0; g < g_rb.layout.groupCount; g++) {
        const RibbonRect& r = g_rb.layout.groups[g].rect;
        if (g_rb.layout.groups[g].caption)
            text(dc, g_rb.layout.groups[g].caption, {r.left, r.bottom - S(20), r.right, r.bottom - S(3)},
                 g_main.normal, p.captionText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        SelectObject(dc, line_pen);
        line(dc, r.right, r.top + S(8), r.right, r.bottom - S(6));
    }
    for (int32_t i = 0; i < g_rb.layout.buttonCount; i++) {
        const RibbonLaidButton& b = g_rb.layout.buttons[i];
        const RibbonRect& r = b.rect;
        RibbonLook look = ribbon_button_look(i == g_rb.state.pressed, i == g_rb.state.hotButton,
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
    if (g_rb.hasFocus && g_rb.state.tips == TipsOff) {
        const RibbonRect& f = g_rb.state.focus >= 0 && g_rb.state.focus < g_rb.layout.buttonCount
                                  ? g_rb.layout.buttons[g_rb.state.focus].rect
                                  : g_rb.layout.tabs[g_rb.state.tab];
        RECT rc = {f.left + S(2), f.top + S(2), f.right - S(2), f.bottom - S(2)};
        SetTextColor(dc, p.highContrast ? p.labelText : RGB(0, 0, 0));
        SetBkColor(dc, p.highContrast ? p.body : RGB(255, 255, 255));
        DrawFocusRect(dc, &rc);
    }
}

static void paint_tips(HDC dc, const RibbonPalette& p) {
    if (g_rb.state.tips == TipsOff) return;
    RibbonTips tips;
    RibbonFlags flags = ribbon_flags_now();
    ribbon_tips_of(&g_rb.layout, &flags, &tips);
    for (int32_t t = 0; t < kRibbonTabCount; t++) {
        const RibbonRect& r = g_rb.layout.tabs[t];
        if (g_rb.state.tips == TipsOnTabs)
            key_tip(dc, p, tips.tabs[t], (r.left + r.right) / 2, r.bottom - S(12));
    }
    if (g_rb.state.tips != TipsOnButtons) return;
    for (int32_t i = 0; i < g_rb.layout.buttonCount; i++) {
        const RibbonRect& r = g_rb.layout.buttons[i].rect;
        key_tip(dc, p, tips.buttons[i], (r.left + r.right) / 2, r.top + S(18));
    }
}

void ribbon_paint(HWND window) {
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
