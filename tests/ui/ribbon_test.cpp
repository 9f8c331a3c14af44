// The ribbon without a window, with a made-up text measure: which buttons the expert tools add, how
// a changing label sets a button's width, which groups collapse into a menu when the ribbon is
// narrow, the key tips, what a screen reader is told, the high contrast colours, and the wheel's and
// keys' edges (the window tests click and type).
#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "ui/commands.h"
#include "ui/ribbon.h"

namespace {

// Every character is 7 pixels wide at 96 DPI, so widths can be worked out by hand.
struct FakeFont {
    int32_t narrowOverrides = 0; // the two override labels measure almost nothing
};

int32_t fake_width(void* context, const wchar_t* text, int32_t length) {
    const FakeFont* font = static_cast<const FakeFont*>(context);
    std::wstring s(text, (size_t)length);
    if (font->narrowOverrides && (s == L"Searching" || s == L"Running" || s == L"as Admin")) return length;
    return length * 7;
}

RibbonLayout layout_of(int32_t tab, RibbonFlags flags, FakeFont* font, int32_t width = 2400) {
    RibbonMeasure measure = {fake_width, font};
    RibbonLayout layout;
    ribbon_layout_of(&measure, width, 96, tab, &flags, L"Vantrel v1.1.0", &layout);
    return layout;
}

const RibbonLaidButton* find(const RibbonLayout& l, int32_t command) {
    for (int32_t i = 0; i < l.buttonCount; i++)
        if (l.buttons[i].command == command) return &l.buttons[i];
    return nullptr;
}

int32_t width_of(const RibbonLayout& l, int32_t command) {
    const RibbonLaidButton* b = find(l, command);
    return b ? b->rect.right - b->rect.left : -1;
}

} // namespace

TEST(RibbonLayout, ExpertToolsAddTheAdvancedGroupWithinTheLimits) {
    FakeFont font;
    RibbonFlags off = {0, 0, 0, 0}, on = {1, 0, 0, 0};
    EXPECT_EQ(2, ribbon_group_count(kRibbonTabTools, &off));
    EXPECT_EQ(3, ribbon_group_count(kRibbonTabTools, &on));
    EXPECT_EQ(nullptr, find(layout_of(kRibbonTabTools, off, &font), CmdRunAsAdmin));
    EXPECT_NE(nullptr, find(layout_of(kRibbonTabTools, on, &font), CmdRunAsAdmin));
    EXPECT_EQ(nullptr, find(layout_of(kRibbonTabTools, on, &font, 1200), CmdRunAsAdmin)) << "in a menu";
    for (int32_t t = 0; t < kRibbonTabCount; t++)
        EXPECT_TRUE(layout_of(t, on, &font).groupCount <= kRibbonMaxGroups &&
                    layout_of(t, on, &font).buttonCount <= kRibbonMaxButtons);
}

TEST(RibbonLayout, TheWiderOfBothLabelsSetsTheWidth) {
    FakeFont font;
    const int32_t plain = width_of(layout_of(0, {0, 0, 0, 0}, &font), CmdFindPrinters);
    const int32_t admin = width_of(layout_of(1, {1, 0, 0, 0}, &font), CmdRunAsAdmin);
    // The override is wider: it sets the width while it shows.
    EXPECT_EQ(9 * 7 + 16, width_of(layout_of(0, {0, 0, 1, 0}, &font), CmdFindPrinters)) << "Searching";
    EXPECT_LT(plain, 9 * 7 + 16);
    // The override is narrower: the table label keeps the button as wide as before.
    font.narrowOverrides = 1;
    EXPECT_EQ(plain, width_of(layout_of(0, {0, 0, 1, 0}, &font), CmdFindPrinters));
    EXPECT_EQ(admin, width_of(layout_of(1, {1, 1, 0, 0}, &font), CmdRunAsAdmin));
}

TEST(RibbonMouse, WheelMovesBetweenTabsWithoutWrapping) {
    RibbonState s;
    ribbon_state_init(&s);
    EXPECT_EQ(ActNone, ribbon_wheel(&s, 96, 50, 120));
    for (int32_t i = 1; i <= 5; i++)
        EXPECT_EQ(i < 5 ? ActRelayout : ActNone, ribbon_wheel(&s, 96, 50, -120)) << i;
    EXPECT_EQ(4, s.tab);
    EXPECT_EQ(ActNone, ribbon_wheel(&s, 96, 128, 120)); // below the ribbon
    EXPECT_EQ(ActRelayout, ribbon_wheel(&s, 144, 191, 120));
    EXPECT_EQ(3, s.tab);
}

TEST(RibbonKeys, ArrowsStopAtTheEndsAndCtrlTabCrossesTheButtonlessSettingsTab) {
    FakeFont font;
    RibbonFlags flags = {0, 0, 0, 0};
    RibbonLayout l = layout_of(0, flags, &font);
    RibbonState s;
    ribbon_state_init(&s);
    int32_t command = 0;
    EXPECT_EQ(ActNone, ribbon_key(&s, &l, KeyLeft, &command)); // already the first
    ribbon_key(&s, &l, KeyEnd, &command);
    EXPECT_EQ(l.buttonCount - 1, s.focus);
    EXPECT_EQ(ActNone, ribbon_key(&s, &l, KeyRight, &command));
    // Ctrl+PageUp wraps from Home to Help.
    EXPECT_EQ(ActRelayout, ribbon_key(&s, &l, KeyPrevTab, &command));
    EXPECT_EQ(4, s.tab);
    // Tools -> Settings (only the tab row to stand on) -> Tell Someone's first button.
    s.tab = 1;
    s.focus = 3;
    RibbonLayout tools = layout_of(1, flags, &font);
    EXPECT_EQ(ActRelayout, ribbon_key(&s, &tools, KeyNextTab, &command));
    RibbonLayout settings = layout_of(2, flags, &font);
    ribbon_fix_focus(&s, &settings, 1);
    EXPECT_EQ(-1, s.focus);
    EXPECT_EQ(ActNone, ribbon_key(&s, &settings, KeyDown, &command));
    EXPECT_EQ(ActNone, ribbon_key(&s, &settings, KeyPress, &command));
    EXPECT_EQ(ActRelayout, ribbon_key(&s, &settings, KeyNextTab, &command));
    RibbonLayout share = layout_of(3, flags, &font);
    ribbon_fix_focus(&s, &share, 1);
    EXPECT_EQ(0, s.focus);
    EXPECT_EQ(ActCommand, ribbon_key(&s, &share, KeyPress, &command));
    EXPECT_EQ(CmdShare, command);
    // A one-line name cut to a small buffer stays terminated.
    wchar_t out[5];
    ribbon_label_one_line(L"Printers &\nScanners", out, 5);
    EXPECT_STREQ(L"Prin", out);
}

TEST(RibbonLayout, NarrowGroupsCollapseFromTheRightAndKeepEveryCommand) {
    FakeFont font;
    const RibbonFlags flags = {1, 0, 0, 0};
    const RibbonLayout wide = layout_of(kRibbonTabTools, flags, &font);
    const int32_t natural = wide.groups[wide.groupCount - 1].rect.right;
    int32_t last_collapsed = 99;
    for (int32_t width = natural + 6; width >= 300; width -= 37) {
        SCOPED_TRACE(width);
        const RibbonLayout l = layout_of(kRibbonTabTools, flags, &font, width);
        ASSERT_EQ(3, l.groupCount);
        // Every command of the tab once: a button, or an item of its collapsed group's menu.
        std::wstring seen;
        int32_t first_collapsed = l.groupCount;
        for (int32_t i = 0; i < l.buttonCount; i++) {
            const RibbonLaidButton& b = l.buttons[i];
            if (!b.menu) {
                seen += std::to_wstring(b.command) + L" ";
                continue;
            }
            EXPECT_EQ(0, b.command);
            EXPECT_EQ(&b.menu->buttons[0], b.button) << "the group's first glyph";
            for (int32_t k = 0; k < b.menu->buttonCount; k++)
                seen += std::to_wstring(b.menu->buttons[k].command) + L" ";
            for (int32_t g = 0; g < l.groupCount; g++)
                if (!l.groups[g].caption && g < first_collapsed) first_collapsed = g;
        }
        std::wstring want;
        for (int32_t g = 0; g < 3; g++)
            for (int32_t k = 0; k < kRibbonTabs[kRibbonTabTools].groups[g].buttonCount; k++)
                want += std::to_wstring(kRibbonTabs[kRibbonTabTools].groups[g].buttons[k].command) + L" ";
        EXPECT_EQ(want, seen);
        // Collapsed groups are the last ones, more of them as the ribbon narrows; what is left fits.
        for (int32_t g = first_collapsed; g < l.groupCount; g++)
            EXPECT_EQ(nullptr, l.groups[g].caption) << g;
        EXPECT_LE(first_collapsed, last_collapsed);
        last_collapsed = first_collapsed;
        if (first_collapsed > 0) {
            EXPECT_LE(l.groups[l.groupCount - 1].rect.right, width);
        }
        if (width > natural) {
            EXPECT_EQ(l.groupCount, first_collapsed) << "room for all: nothing collapses";
        }
    }
    EXPECT_EQ(0, last_collapsed) << "at 300 pixels every group is a menu";

    // Pressing a collapsed group's button, by mouse or by Enter, asks for its menu, not a command.
    const RibbonLayout l = layout_of(kRibbonTabTools, flags, &font, 700);
    int32_t menu = -1;
    for (int32_t i = 0; i < l.buttonCount; i++)
        if (l.buttons[i].menu) menu = i;
    ASSERT_GE(menu, 0);
    RibbonState s;
    ribbon_state_init(&s);
    s.tab = kRibbonTabTools;
    const RibbonRect& r = l.buttons[menu].rect;
    int32_t command = -1;
    ASSERT_EQ(ActCapture, ribbon_button_down(&s, &l, r.left + 2, r.top + 2, &command));
    EXPECT_EQ(ActMenu, ribbon_button_up(&s, &l, r.left + 2, r.top + 2, &command));
    EXPECT_EQ(menu, command);
    s.focus = menu;
    EXPECT_EQ(ActMenu, ribbon_key(&s, &l, KeyPress, &command));
    EXPECT_EQ(menu, command);
    EXPECT_EQ(kRibbonCollapsedTooltip, ribbon_laid_tooltip(&l.buttons[menu]));
    EXPECT_STREQ(l.buttons[menu].menu->caption, ribbon_laid_label(&l.buttons[menu], &flags));
}

TEST(RibbonKeyTips, UniqueLettersReachTabsButtonsAndMenuItems) {
    FakeFont font;
    const RibbonFlags flags = {1, 0, 0, 0};
    RibbonLayout l = layout_of(0, flags, &font);
    RibbonTips tips;
    ribbon_tips_of(&l, &flags, &tips);
    EXPECT_EQ(std::wstring(L"HTSAE"), std::wstring(tips.tabs, 5)) << "Home Tools Settings shAre hElp";
    for (int32_t i = 0; i < l.buttonCount; i++) {
        EXPECT_NE(0, tips.buttons[i]) << i;
        for (int32_t j = 0; j < i; j++)
            EXPECT_NE(tips.buttons[i], tips.buttons[j]) << i << " " << j;
    }
    EXPECT_EQ(L'C', tips.buttons[0]) << "Check Now: the first word's letter";
    const wchar_t* many[12] = {L"A", L"A", L"Ab", L"", L"9", L"8", L"7", L"6", L"5", L"4", L"3", L"2"};
    wchar_t out[12];
    ribbon_tip_letters(many, 12, out);
    EXPECT_EQ(std::wstring(L"A1B23456789") + L'\0', std::wstring(out, 12)) << "digits, then none";

    // Alt, T, then a button's letter presses it; Esc steps back a level, then ends.
    RibbonState s;
    ribbon_state_init(&s);
    int32_t command = 0;
    EXPECT_EQ(ActNone, ribbon_tip_key(&s, &l, &tips, L't', &command)) << "no tips shown";
    ribbon_tips_start(&s);
    EXPECT_EQ(ActNone, ribbon_tip_key(&s, &l, &tips, L'Z', &command));
    EXPECT_EQ(ActRelayout, ribbon_tip_key(&s, &l, &tips, L't', &command));
    EXPECT_EQ(kRibbonTabTools, s.tab);
    EXPECT_EQ(TipsOnButtons, s.tips);
    l = layout_of(kRibbonTabTools, flags, &font);
    ribbon_tips_of(&l, &flags, &tips);
    EXPECT_EQ(ActRepaint, ribbon_tip_key(&s, &l, &tips, 0x1B, &command));
    EXPECT_EQ(TipsOnTabs, s.tips);
    EXPECT_EQ(ActRepaint, ribbon_tip_key(&s, &l, &tips, L'T', &command)) << "the tab already open";
    EXPECT_EQ(ActCommand, ribbon_tip_key(&s, &l, &tips, tips.buttons[1], &command));
    EXPECT_EQ(l.buttons[1].command, command);
    EXPECT_EQ(1, s.focus);
    EXPECT_EQ(TipsOff, s.tips);
    const RibbonLayout narrow = layout_of(kRibbonTabTools, flags, &font, 700);
    ribbon_tips_of(&narrow, &flags, &tips);
    ribbon_tips_start(&s);
    ribbon_tip_key(&s, &narrow, &tips, L'T', &command);
    EXPECT_EQ(ActMenu, ribbon_tip_key(&s, &narrow, &tips, tips.buttons[narrow.buttonCount - 1], &command));
    EXPECT_EQ(narrow.buttonCount - 1, command);

    // A menu item: the label on one line, its "&" doubled, the access key marked.
    wchar_t item[40];
    ribbon_menu_text(L"Printers &\nScanners", L'S', item, _countof(item));
    EXPECT_STREQ(L"Printers && &Scanners", item);
    ribbon_menu_text(L"Run as\nAdmin", L'U', item, _countof(item));
    EXPECT_STREQ(L"R&un as Admin", item);
    ribbon_menu_text(L"Run as\nAdmin", L'U', item, 4);
    EXPECT_STREQ(L"R", item) << "cut short, never half a marker";
}

TEST(RibbonAccess, EveryTabAndButtonHasANameRoleStateDescriptionAndAction) {
    FakeFont font;
    RibbonFlags flags = {1, 0, 0, ViewPrintQueue};
    const RibbonLayout l = layout_of(0, flags, &font);
    RibbonState s;
    ribbon_state_init(&s);
    s.focus = 2;
    ASSERT_EQ(kRibbonTabCount + l.buttonCount, ribbon_access_count(&l));
    RibbonAccessItem item;
    ASSERT_TRUE(ribbon_access_item(&l, &s, &flags, 1, 0, &item));
    EXPECT_EQ(AccessTab, item.kind);
    EXPECT_STREQ(L"Home", item.name);
    EXPECT_STREQ(L"Switch", item.defaultAction);
    EXPECT_STREQ(L"Alt, H", item.shortcut);
    EXPECT_TRUE(item.selected && !item.focused) << "the focus is on a button";
    ASSERT_TRUE(ribbon_access_item(&l, &s, &flags, 1, 1, &item));
    EXPECT_FALSE(item.selected);
    ASSERT_TRUE(ribbon_access_item(&l, &s, &flags, 1, kRibbonTabCount + 2, &item));
    EXPECT_EQ(AccessButton, item.kind);
    EXPECT_STREQ(L"Details", item.name);
    EXPECT_STREQ(L"Everything Vantrel knows about the selected printer on one page, in plain English:",
                 item.description);
    EXPECT_STREQ(L"Press", item.defaultAction);
    EXPECT_TRUE(item.focused);
    ASSERT_TRUE(ribbon_access_item(&l, &s, &flags, 0, kRibbonTabCount + 2, &item));
    EXPECT_FALSE(item.focused) << "the ribbon does not have the focus";
    for (int32_t i = 0; i < l.buttonCount; i++)
        if (l.buttons[i].command == CmdViewPrintQueue) {
            ribbon_access_item(&l, &s, &flags, 0, kRibbonTabCount + i, &item);
            EXPECT_TRUE(item.pressed) << "the view shown";
            EXPECT_STREQ(L"Print Queue", item.name);
        }
    EXPECT_FALSE(ribbon_access_item(&l, &s, &flags, 0, ribbon_access_count(&l), &item));

    wchar_t first[60];
    ribbon_first_sentence(L"Opens it. Then more.", first, _countof(first));
    EXPECT_STREQ(L"Opens it.", first);
    ribbon_first_sentence(L"Version 1.2 is here", first, _countof(first));
    EXPECT_STREQ(L"Version 1.2 is here", first) << "a point inside a number ends nothing";
    ribbon_first_sentence(L"A list:\n\n- one", first, _countof(first));
    EXPECT_STREQ(L"A list:", first);
}

TEST(RibbonColours, HighContrastPaintsOnlyTheSystemsColours) {
    const RibbonSystemColours c = {1, 2, 3, 4, 5, 6, 7, 8};
    const RibbonPalette own = ribbon_palette(0, &c), hc = ribbon_palette(1, &c);
    EXPECT_EQ(kRibbonWhite, own.body);
    EXPECT_EQ(kRibbonAccent, ribbon_glyph_colour(CmdCheckNow, &own));
    const uint32_t* p = &hc.tabRow;
    for (int32_t i = 0; i < 16; i++)
        EXPECT_TRUE(p[i] >= 1 && p[i] <= 8) << i << ": " << p[i];
    EXPECT_EQ(c.window, hc.body);
    EXPECT_EQ(c.buttonFace, hc.tabRow);
    EXPECT_EQ(c.windowText, ribbon_glyph_colour(CmdRemovePrinter, &hc)) << "no red in high contrast";
    EXPECT_EQ(c.highlight, ribbon_look_colours(LookHover, &hc).fill);
    EXPECT_EQ(c.highlightText, ribbon_label_colour(LookPressed, &hc)) << "text on the highlight";
    EXPECT_EQ(c.windowText, ribbon_label_colour(LookNone, &hc));
}
