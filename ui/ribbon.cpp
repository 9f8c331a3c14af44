// The ribbon's layout, look and interaction as functions of plain records. Every size is written at
// 96 DPI and scaled on its own, so the same numbers come out as the window draws them.
#include "ui/ribbon.h"

#include "core/settings.h"
#include "core/text.h"
#include "ui/commands.h"
#include "core/dpi.h"
#include "ui/layout.h"

#include <stdlib.h>

static int32_t sc(int32_t v, int32_t dpi) {
    return scale_to_dpi(v, dpi);
}

int32_t ribbon_height(int32_t dpi) {
    return sc(kRibbonTabRow96, dpi) + sc(kRibbonBody96, dpi) + sc(1, dpi);
}

int32_t ribbon_all_buttons(const RibbonButton** out, int32_t cap) {
    int32_t n = 0;
    for (int32_t t = 0; t < kRibbonTabCount; t++)
        for (int32_t g = 0; g < kRibbonTabs[t].groupCount; g++)
            for (int32_t b = 0; b < kRibbonTabs[t].groups[g].buttonCount; b++) {
                if (n < cap) out[n] = &kRibbonTabs[t].groups[g].buttons[b];
                n++;
            }
    return n;
}

const wchar_t* ribbon_label_shown(const RibbonButton* button, const RibbonFlags* flags) {
    if (button->command == CmdRunAsAdmin && flags->elevated) return L"Running\nas Admin";
    if (button->command == CmdFindPrinters && flags->searching) return L"Searching\n…";
    return button->label;
}

void ribbon_label_one_line(const wchar_t* label, wchar_t* out, size_t cap) {
    if (!cap) return;
    size_t n = 0;
    for (const wchar_t* p = label; *p && n + 1 < cap; p++) {
        if (*p != L'\n') {
            out[n++] = *p;
        } else if (p[1] != L'…' && n > 0) {
            // "Searching\n…" reads as one word; every other break is between words.
            out[n++] = L' ';
        }
    }
    out[n] = 0;
}

// The widest line of a label, each line measured on its own.
static int32_t widest_line(const RibbonMeasure* m, const wchar_t* label) {
    int32_t widest = 0;
    const wchar_t* start = label;
    for (const wchar_t* p = label;; p++) {
        if (*p == L'\n' || *p == 0) {
            int32_t w = m->width(m->context, start, (int32_t)(p - start));
            if (w > widest) widest = w;
            if (*p == 0) break;
            start = p + 1;
        }
    }
    return widest;
}

int32_t ribbon_group_count(int32_t tab, const RibbonFlags* flags) {
    if (tab < 0 || tab >= kRibbonTabCount) return 0;
    int32_t n = kRibbonTabs[tab].groupCount;
    if (tab == kRibbonTabTools && !flags->expertTools && n > 2) n = 2;
    return n < kRibbonMaxGroups ? n : kRibbonMaxGroups;
}

const wchar_t* const kRibbonCollapsedTooltip =
    L"The window is too narrow to show this group's buttons, so they wait in a menu: click here, or press "
    L"Enter, to open it. A wider window shows them again.";

const wchar_t* ribbon_laid_label(const RibbonLaidButton* laid, const RibbonFlags* flags) {
    return laid->menu ? laid->menu->caption : ribbon_label_shown(laid->button, flags);
}

const wchar_t* ribbon_laid_tooltip(const RibbonLaidButton* laid) {
    return laid->menu ? kRibbonCollapsedTooltip : laid->button->tooltip;
}

// The width a button's label needs: the wider of its shown and its stored label, so a label that
// changes never moves its neighbours.
static int32_t button_width(const RibbonMeasure* m, const RibbonButton* button, const RibbonFlags* flags,
                            int32_t dpi) {
    int32_t shown = widest_line(m, ribbon_label_shown(button, flags));
    int32_t stored = widest_line(m, button->label);
    int32_t bw = (shown > stored ? shown : stored) + sc(16, dpi);
    return bw < sc(54, dpi) ? sc(54, dpi) : bw;
}

int32_t ribbon_caption_break(const wchar_t* caption) {
    int32_t n = (int32_t)wcslen(caption), best = -1;
    for (int32_t i = 0; i < n; i++) {
        if (caption[i] != L' ') continue;
        if (caption[i + 1] == L'(') return i; // "Advanced" over "(selected printer)"
        if (best < 0 || abs(2 * i - n) < abs(2 * best - n)) best = i;
    }
    return best;
}

// A collapsed group's button: its name on two lines, the first with the menu's arrow after it.
static int32_t collapsed_width(const RibbonMeasure* m, const wchar_t* caption, int32_t dpi) {
    int32_t n = (int32_t)wcslen(caption), cut = ribbon_caption_break(caption);
    int32_t first = m->width(m->context, caption, cut < 0 ? n : cut) + sc(12, dpi);
    int32_t second = cut < 0 ? 0 : m->width(m->context, caption + cut + 1, n - cut - 1);
    int32_t w = (first > second ? first : second) + sc(16, dpi);
    return w < sc(54, dpi) ? sc(54, dpi) : w;
}

// A group's width, whole or collapsed, as laid out below.
static int32_t group_width(const RibbonMeasure* m, const RibbonGroup* group, const RibbonFlags* flags,
                           int32_t dpi, int32_t collapsed) {
    int32_t gw = sc(4, dpi);
    if (group->fixedWidth96 > 0) {
        gw = sc(group->fixedWidth96, dpi);
    } else if (collapsed) {
        return gw + collapsed_width(m, group->caption, dpi) + sc(4, dpi);
    } else {
        for (int32_t b = 0; b < group->buttonCount; b++)
            gw += button_width(m, &group->buttons[b], flags, dpi) + sc(2, dpi);
        gw += sc(2, dpi);
    }
    int32_t caption = m->width(m->context, group->caption, (int32_t)wcslen(group->caption)) + sc(20, dpi);
    return gw < caption ? caption : gw;
}

void ribbon_layout_of(const RibbonMeasure* m, int32_t width, int32_t dpi, int32_t tab,
                      const RibbonFlags* flags, const wchar_t* version_text, RibbonLayout* out) {
    *out = RibbonLayout{};
    out->tab = tab;
    const int32_t row = sc(kRibbonTabRow96, dpi);

    int32_t x = sc(10, dpi);
    for (int32_t t = 0; t < kRibbonTabCount; t++) {
        const wchar_t* name = kRibbonTabs[t].name;
        int32_t w = m->width(m->context, name, (int32_t)wcslen(name));
        out->tabs[t] = {x, sc(2, dpi), x + w + sc(28, dpi), row};
        x = out->tabs[t].right + sc(2, dpi);
    }

    int32_t vw = m->width(m->context, version_text, (int32_t)wcslen(version_text));
    out->version = {width - vw - sc(16, dpi) - sc(8, dpi), sc(4, dpi), width - sc(8, dpi), row - sc(2, dpi)};

    // Collapse groups from the right until the rest fit (or every group is collapsed).
    int32_t groups = ribbon_group_count(tab, flags);
    int32_t collapsed[kRibbonMaxGroups] = {};
    int32_t widths[kRibbonMaxGroups] = {};
    int32_t total = sc(6, dpi);
    for (int32_t g = 0; g < groups; g++) {
        widths[g] = group_width(m, &kRibbonTabs[tab].groups[g], flags, dpi, 0);
        total += widths[g] + sc(1, dpi);
    }
    for (int32_t g = groups - 1; g >= 0 && total > width; g--) {
        const RibbonGroup* group = &kRibbonTabs[tab].groups[g];
        if (group->fixedWidth96 > 0 || group->buttonCount == 0) continue;
        int32_t narrow = group_width(m, group, flags, dpi, 1);
        if (narrow >= widths[g]) continue;
        total -= widths[g] - narrow;
        widths[g] = narrow;
        collapsed[g] = 1;
    }

    const int32_t top = row + sc(4, dpi), bottom = top + sc(70, dpi);
    int32_t gx = sc(6, dpi);
    for (int32_t g = 0; g < groups; g++) {
        const RibbonGroup* group = &kRibbonTabs[tab].groups[g];
        int32_t first = out->buttonCount, used = sc(4, dpi);
        if (collapsed[g] && out->buttonCount < kRibbonMaxButtons) {
            int32_t bw = collapsed_width(m, group->caption, dpi);
            out->buttons[out->buttonCount++] = {
                0, {gx + used, top, gx + used + bw, bottom}, &group->buttons[0], group};
            used += bw + sc(2, dpi);
        } else if (group->fixedWidth96 <= 0) {
            for (int32_t b = 0; b < group->buttonCount && out->buttonCount < kRibbonMaxButtons; b++) {
                const RibbonButton* button = &group->buttons[b];
                int32_t bw = button_width(m, button, flags, dpi);
                out->buttons[out->buttonCount++] = {
                    button->command, {gx + used, top, gx + used + bw, bottom}, button, nullptr};
                used += bw + sc(2, dpi);
            }
        }
        used += sc(2, dpi);
        // A caption wider than the buttons centres them under it.
        if (used < widths[g]) {
            int32_t shift = (widths[g] - used) / 2;
            for (int32_t b = first; b < out->buttonCount; b++) {
                out->buttons[b].rect.left += shift;
                out->buttons[b].rect.right += shift;
            }
        }
        out->groups[out->groupCount++] = {{gx, row, gx + widths[g], row + sc(kRibbonBody96, dpi)},
                                          collapsed[g] ? nullptr : group->caption};
        gx += widths[g] + sc(1, dpi);
    }
}

int32_t ribbon_in_rect(const RibbonRect* r, int32_t x, int32_t y) {
    // As Windows' PtInRect: the right and bottom edges are outside.
    return x >= r->left && x < r->right && y >= r->top && y < r->bottom;
}

int32_t ribbon_button_at(const RibbonLayout* l, int32_t x, int32_t y) {
    for (int32_t i = 0; i < l->buttonCount; i++)
        if (ribbon_in_rect(&l->buttons[i].rect, x, y)) return i;
    return -1;
}

int32_t ribbon_tab_at(const RibbonLayout* l, int32_t x, int32_t y) {
    for (int32_t t = 0; t < kRibbonTabCount; t++)
        if (ribbon_in_rect(&l->tabs[t], x, y)) return t;
    return -1;
}

RibbonLook ribbon_button_look(int32_t pressed_here, int32_t pointer_over, int32_t highlighted) {
    if (pressed_here) return pointer_over ? LookPressed : highlighted ? LookHighlighted : LookNone;
    if (pointer_over) return highlighted ? LookPressed : LookHover;
    return highlighted ? LookHighlighted : LookNone;
}

int32_t ribbon_button_highlighted(int32_t command, const RibbonFlags* flags) {
    switch (command) {
    case CmdViewProblems:
        return flags->view == ViewProblems;
    case CmdViewPrintQueue:
        return flags->view == ViewPrintQueue;
    case CmdViewWindowsLog:
        return flags->view == ViewWindowsLog;
    case CmdViewDrivers:
        return flags->view == ViewDrivers;
    case CmdViewNetwork:
        return flags->view == ViewNetworkPrinters;
    case CmdRunAsAdmin:
        return flags->elevated != 0;
    }
    return 0;
}

RibbonPalette ribbon_palette(int32_t high_contrast, const RibbonSystemColours* c) {
    if (!high_contrast)
        return {0,
                kRibbonTabRowColour,
                kRibbonWhite,
                kRibbonLineColour,
                kRibbonAccent,
                kRibbonHotTab,
                kRibbonTabText,
                kRibbonVersionText,
                kRibbonCaptionText,
                kRibbonLabelText,
                kRibbonHoverFill,
                kRibbonHoverBorder,
                kRibbonPressedFill,
                RIBBON_RGB(198, 40, 40),
                RIBBON_RGB(46, 125, 50),
                RIBBON_RGB(40, 40, 40),
                kRibbonWhite};
    // High contrast: only the user's colours, and the highlight pair for anything hot or pressed.
    return {1,
            c->buttonFace,
            c->window,
            c->windowText,
            c->hotLight,
            c->highlight,
            c->buttonText,
            c->buttonText,
            c->windowText,
            c->windowText,
            c->highlight,
            c->highlight,
            c->highlight,
            c->windowText,
            c->windowText,
            c->highlight,
            c->highlightText};
}

RibbonLookColours ribbon_look_colours(RibbonLook look, const RibbonPalette* p) {
    switch (look) {
    case LookHover:
        return {1, p->hoverFill, p->hoverBorder};
    case LookPressed:
        return {1, p->pressedFill, p->highContrast ? p->labelText : p->accent};
    case LookHighlighted:
        return {1, p->pressedFill, p->pressedFill};
    case LookNone:
        break;
    }
    return {0, 0, 0};
}

uint32_t ribbon_label_colour(RibbonLook look, const RibbonPalette* p) {
    return p->highContrast && look != LookNone ? p->tipText : p->labelText;
}

uint32_t ribbon_glyph_colour(int32_t command, const RibbonPalette* p) {
    if (command == CmdRemovePrinter || command == CmdClearStuckJobs) return p->danger;
    if (command == CmdFixThis) return p->good;
    return p->highContrast ? p->labelText : p->accent;
}

void ribbon_state_init(RibbonState* s) {
    *s = {0, -1, -1, -1, 0, 0, 0, TipsOff};
}

RibbonAction ribbon_mouse_move(RibbonState* s, const RibbonLayout* l, int32_t x, int32_t y) {
    int32_t button = ribbon_button_at(l, x, y), tab = ribbon_tab_at(l, x, y);
    int32_t version = ribbon_in_rect(&l->version, x, y);
    if (button == s->hotButton && tab == s->hotTab && version == s->versionHot) return ActNone;
    s->hotButton = button;
    s->hotTab = tab;
    s->versionHot = version;
    return ActRepaint;
}

void ribbon_mouse_leave(RibbonState* s) {
    s->hotButton = -1;
    s->hotTab = -1;
    s->versionHot = 0;
}

RibbonAction ribbon_button_down(RibbonState* s, const RibbonLayout* l, int32_t x, int32_t y,
                                int32_t* command) {
    int32_t tab = ribbon_tab_at(l, x, y);
    if (tab >= 0 && tab != s->tab) {
        s->tab = tab;
        s->hotButton = -1;
        return ActRelayout;
    }
    if (ribbon_in_rect(&l->version, x, y)) {
        *command = CmdAbout;
        return ActCommand;
    }
    int32_t button = ribbon_button_at(l, x, y);
    s->pressed = button;
    return button >= 0 ? ActCapture : ActNone;
}

RibbonAction ribbon_button_up(RibbonState* s, const RibbonLayout* l, int32_t x, int32_t y, int32_t* command) {
    int32_t pressed = s->pressed;
    s->pressed = -1;
    int32_t under = ribbon_button_at(l, x, y);
    if (pressed >= 0 && pressed == under && pressed < l->buttonCount) {
        if (l->buttons[pressed].menu) {
            *command = pressed;
            return ActMenu;
        }
        *command = l->buttons[pressed].command;
        return ActCommand;
    }
    return ActRepaint;
}

RibbonAction ribbon_wheel(RibbonState* s, int32_t dpi, int32_t y, int32_t delta) {
    if (y >= sc(kRibbonTabRow96, dpi) + sc(kRibbonBody96, dpi)) return ActNone;
    int32_t tab = delta > 0 ? s->tab - 1 : s->tab + 1;
    if (tab < 0 || tab >= kRibbonTabCount) return ActNone;
    s->tab = tab;
    s->hotButton = -1;
    return ActRelayout;
}

static RibbonAction change_tab(RibbonState* s, int32_t step) {
    s->tab = (s->tab + step + kRibbonTabCount) % kRibbonTabCount;
    s->hotButton = -1;
    return ActRelayout;
}

RibbonAction ribbon_key(RibbonState* s, const RibbonLayout* l, RibbonKey key, int32_t* command) {
    int32_t last = l->buttonCount - 1;
    if (key == KeyNextTab) return change_tab(s, 1);
    if (key == KeyPrevTab) return change_tab(s, -1);
    if (s->focus < 0) {
        // On the tab row: Left and Right choose the tab, Down or Enter go to its buttons.
        if (key == KeyLeft) return change_tab(s, -1);
        if (key == KeyRight) return change_tab(s, 1);
        if ((key == KeyDown || key == KeyPress) && last >= 0) {
            s->focus = 0;
            s->onTabRow = 0;
            return ActRepaint;
        }
        return ActNone;
    }
    int32_t focus = s->focus;
    switch (key) {
    case KeyLeft:
        focus = focus > 0 ? focus - 1 : 0;
        break;
    case KeyRight:
        focus = focus < last ? focus + 1 : last;
        break;
    case KeyHome:
        focus = 0;
        break;
    case KeyEnd:
        focus = last;
        break;
    case KeyUp:
        focus = -1;
        s->onTabRow = 1;
        break;
    case KeyPress:
        if (focus <= last && l->buttons[focus].menu) {
            *command = focus;
            return ActMenu;
        }
        if (focus <= last) {
            *command = l->buttons[focus].command;
            return ActCommand;
        }
        return ActNone;
    default:
        return ActNone;
    }
    if (focus == s->focus) return ActNone;
    s->focus = focus;
    return ActRepaint;
}

void ribbon_fix_focus(RibbonState* s, const RibbonLayout* l, int32_t tab_changed) {
    // Focus on the tab row stays there, so Left and Right can walk across the tabs; a tab without
    // buttons (Settings) only lends it the row.
    if (tab_changed) s->focus = s->onTabRow ? -1 : 0;
    if (s->focus >= l->buttonCount) s->focus = l->buttonCount - 1;
}

void ribbon_focus_name(const RibbonState* s, const RibbonLayout* l, const RibbonFlags* flags, wchar_t* out,
                       size_t cap) {
    if (s->focus >= 0 && s->focus < l->buttonCount) {
        ribbon_label_one_line(ribbon_laid_label(&l->buttons[s->focus], flags), out, cap);
        return;
    }
    int32_t tab = s->tab >= 0 && s->tab < kRibbonTabCount ? s->tab : 0;
    text_format(out, cap, L"%ls tab", kRibbonTabs[tab].name);
}
