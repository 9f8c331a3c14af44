// The ribbon for the keyboard and for screen readers, without a window: the key tip letters and what
// they do, a collapsed group's menu texts, and the name, description, action and state of every tab
// and button as an accessibility client reads them.
#include "ui/ribbon.h"

#include <wctype.h>

#include "core/text.h"

static int32_t taken(const wchar_t* out, int32_t count, wchar_t c) {
    for (int32_t i = 0; i < count; i++)
        if (out[i] == c) return 1;
    return 0;
}

void ribbon_tip_letters(const wchar_t* const* labels, int32_t count, wchar_t* out) {
    for (int32_t i = 0; i < count; i++) {
        out[i] = 0;
        const wchar_t* label = labels[i] ? labels[i] : L"";
        // Two passes: the first letter of a word, then any letter.
        for (int32_t pass = 0; pass < 2 && !out[i]; pass++) {
            for (const wchar_t* p = label; *p && !out[i]; p++) {
                int32_t word_start = p == label || !iswalpha(p[-1]);
                if (!iswalpha(*p) || *p > 0x7F || (pass == 0 && !word_start)) continue;
                wchar_t c = (wchar_t)towupper(*p);
                if (!taken(out, i, c)) out[i] = c;
            }
        }
        for (wchar_t d = L'1'; d <= L'9' && !out[i]; d++)
            if (!taken(out, i, d)) out[i] = d;
    }
}

void ribbon_tips_of(const RibbonLayout* l, const RibbonFlags* flags, RibbonTips* out) {
    *out = RibbonTips{};
    const wchar_t* labels[kRibbonMaxButtons > kRibbonTabCount ? kRibbonMaxButtons : kRibbonTabCount];
    for (int32_t t = 0; t < kRibbonTabCount; t++)
        labels[t] = kRibbonTabs[t].name;
    ribbon_tip_letters(labels, kRibbonTabCount, out->tabs);
    for (int32_t i = 0; i < l->buttonCount; i++)
        labels[i] = ribbon_laid_label(&l->buttons[i], flags);
    ribbon_tip_letters(labels, l->buttonCount, out->buttons);
}

void ribbon_tips_start(RibbonState* s) {
    s->tips = TipsOnTabs;
    s->hotButton = -1;
}

RibbonAction ribbon_tip_key(RibbonState* s, const RibbonLayout* l, const RibbonTips* tips, wchar_t ch,
                            int32_t* command) {
    if (s->tips == TipsOff) return ActNone;
    if (ch == 0x1B) {
        s->tips = s->tips == TipsOnButtons ? TipsOnTabs : TipsOff;
        return ActRepaint;
    }
    wchar_t c = (wchar_t)towupper(ch);
    if (s->tips == TipsOnTabs) {
        for (int32_t t = 0; t < kRibbonTabCount; t++) {
            if (tips->tabs[t] != c) continue;
            s->tips = TipsOnButtons;
            if (t == s->tab) return ActRepaint;
            s->tab = t;
            return ActRelayout;
        }
        return ActNone;
    }
    for (int32_t i = 0; i < l->buttonCount; i++) {
        if (tips->buttons[i] != c) continue;
        s->tips = TipsOff;
        s->focus = i;
        s->onTabRow = 0;
        *command = l->buttons[i].menu ? i : l->buttons[i].command;
        return l->buttons[i].menu ? ActMenu : ActCommand;
    }
    return ActNone;
}

void ribbon_menu_text(const wchar_t* label, wchar_t letter, wchar_t* out, size_t cap) {
    if (!cap) return;
    wchar_t line[120];
    ribbon_label_one_line(label, line, _countof(line));
    // The letter where it starts a word, as the key tip chose it; else its first place.
    int32_t mark = -1;
    for (int32_t pass = 0; pass < 2 && mark < 0 && letter; pass++)
        for (int32_t i = 0; line[i] && mark < 0; i++)
            if ((wchar_t)towupper(line[i]) == letter && (pass || i == 0 || !iswalpha(line[i - 1]))) mark = i;
    size_t n = 0;
    for (int32_t i = 0; line[i] && n + 3 < cap; i++) {
        if (line[i] == L'&' || i == mark) out[n++] = L'&';
        out[n++] = line[i];
    }
    out[n] = 0;
}

void ribbon_first_sentence(const wchar_t* text, wchar_t* out, size_t cap) {
    if (!cap) return;
    size_t n = 0;
    for (const wchar_t* p = text ? text : L""; *p && *p != L'\n' && n + 1 < cap; p++) {
        out[n++] = *p;
        if (*p == L'.' && (p[1] == 0 || p[1] == L' ' || p[1] == L'\n')) break;
    }
    out[n] = 0;
}

int32_t ribbon_access_count(const RibbonLayout* l) {
    return kRibbonTabCount + l->buttonCount;
}

int32_t ribbon_access_item(const RibbonLayout* l, const RibbonState* s, const RibbonFlags* flags,
                           int32_t has_focus, int32_t index, RibbonAccessItem* out) {
    *out = RibbonAccessItem{};
    if (index < 0 || index >= ribbon_access_count(l)) return 0;
    RibbonTips tips;
    ribbon_tips_of(l, flags, &tips);
    if (index < kRibbonTabCount) {
        const RibbonTab* tab = &kRibbonTabs[index];
        out->kind = AccessTab;
        text_copy(out->name, _countof(out->name), tab->name);
        ribbon_first_sentence(tab->tooltip, out->description, _countof(out->description));
        out->defaultAction = L"Switch";
        text_format(out->shortcut, _countof(out->shortcut), L"Alt, %lc", tips.tabs[index]);
        out->selected = index == s->tab;
        out->focused = has_focus && s->focus < 0 && index == s->tab;
        out->rect = l->tabs[index];
        return 1;
    }
    const int32_t b = index - kRibbonTabCount;
    const RibbonLaidButton* laid = &l->buttons[b];
    out->kind = laid->menu ? AccessMenuButton : AccessButton;
    ribbon_label_one_line(ribbon_laid_label(laid, flags), out->name, _countof(out->name));
    ribbon_first_sentence(ribbon_laid_tooltip(laid), out->description, _countof(out->description));
    out->defaultAction = laid->menu ? L"Open" : L"Press";
    const int32_t tab = s->tab >= 0 && s->tab < kRibbonTabCount ? s->tab : 0;
    text_format(out->shortcut, _countof(out->shortcut), L"Alt, %lc, %lc", tips.tabs[tab], tips.buttons[b]);
    out->focused = has_focus && s->focus == b;
    out->pressed = !laid->menu && ribbon_button_highlighted(laid->command, flags);
    out->rect = laid->rect;
    return 1;
}
