// The ribbon without a window: its tables, its layout at 96 and 144 DPI with a made-up text measure,
// the look of a button in every state, and what the mouse, wheel and keys do to its state.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "core/settings.h"
#include "ui/commands.h"
#include "ui/ribbon.h"

namespace {

// Every character is 7 pixels wide at 96 DPI, so widths can be worked out by hand.
struct FakeFont {
    int32_t dpi = 96;
    int32_t narrowOverrides = 0; // the two override labels measure almost nothing
};

int32_t fake_width(void* context, const wchar_t* text, int32_t length) {
    const FakeFont* font = static_cast<const FakeFont*>(context);
    std::wstring s(text, (size_t)length);
    if (font->narrowOverrides && (s == L"Searching" || s == L"Running" || s == L"as Admin")) return length;
    return length * 7 * font->dpi / 96;
}

RibbonLayout layout_of(int32_t tab, RibbonFlags flags, FakeFont* font, int32_t width = 1200) {
    RibbonMeasure measure = {fake_width, font};
    RibbonLayout layout;
    ribbon_layout_of(&measure, width, font->dpi, tab, &flags, L"Vantrel v1.1.0", &layout);
    return layout;
}

int32_t width_of(const RibbonRect& r) {
    return r.right - r.left;
}

const RibbonLaidButton* find(const RibbonLayout& l, int32_t command) {
    for (int32_t i = 0; i < l.buttonCount; i++)
        if (l.buttons[i].command == command) return &l.buttons[i];
    return nullptr;
}

} // namespace

TEST(RibbonTables, FortyEightButtonsEachWithLabelGlyphAndTooltip) {
    const RibbonButton* all[64];
    ASSERT_EQ(48, ribbon_all_buttons(all, 64));
    std::set<int32_t> commands;
    for (int32_t i = 0; i < 48; i++) {
        EXPECT_TRUE(all[i]->label && all[i]->label[0]) << all[i]->command;
        EXPECT_TRUE(all[i]->tooltip && wcslen(all[i]->tooltip) > 20) << all[i]->command;
        EXPECT_GE(all[i]->glyph, 0xE700u);
        EXPECT_LE(all[i]->glyph, 0xEAFFu);
        commands.insert(all[i]->command);
    }
    EXPECT_EQ(48u, commands.size());
    EXPECT_STREQ(L"Home", kRibbonTabs[0].name);
    EXPECT_STREQ(L"Help", kRibbonTabs[4].name);
    for (int32_t t = 0; t < kRibbonTabCount; t++)
        EXPECT_TRUE(kRibbonTabs[t].tooltip[0]);
    EXPECT_STREQ(L"Version, copyright and credits.", kRibbonTabs[4].groups[0].buttons[5].tooltip);
}

TEST(RibbonTables, AdvancedGroupOnlyWithExpertToolsAndWithinTheLimits) {
    FakeFont font;
    RibbonFlags off = {0, 0, 0, 0}, on = {1, 0, 0, 0};
    EXPECT_EQ(2, ribbon_group_count(kRibbonTabTools, &off));
    EXPECT_EQ(3, ribbon_group_count(kRibbonTabTools, &on));
    EXPECT_EQ(11, layout_of(kRibbonTabTools, off, &font).buttonCount);
    RibbonLayout expert = layout_of(kRibbonTabTools, on, &font);
    EXPECT_EQ(19, expert.buttonCount);
    EXPECT_STREQ(L"Advanced (selected printer)", expert.groups[2].caption);
    EXPECT_NE(nullptr, find(expert, CmdRunAsAdmin));
    EXPECT_EQ(nullptr, find(layout_of(kRibbonTabTools, off, &font), CmdRunAsAdmin));
    for (int32_t t = 0; t < kRibbonTabCount; t++) {
        RibbonLayout l = layout_of(t, on, &font);
        EXPECT_LE(l.groupCount, kRibbonMaxGroups);
        EXPECT_LE(l.buttonCount, kRibbonMaxButtons);
    }
    EXPECT_EQ(17, layout_of(0, on, &font).buttonCount);
}

TEST(RibbonLayout, TabsVersionAndButtonsAt96Dpi) {
    FakeFont font;
    RibbonLayout l = layout_of(0, {0, 0, 0, 0}, &font, 1000);
    // "Home": 28 + 28 wide; the next tab starts 2 further.
    EXPECT_EQ(10, l.tabs[0].left);
    EXPECT_EQ(2, l.tabs[0].top);
    EXPECT_EQ(66, l.tabs[0].right);
    EXPECT_EQ(30, l.tabs[0].bottom);
    EXPECT_EQ(68, l.tabs[1].left);
    // "Vantrel v1.1.0" is 98 wide.
    EXPECT_EQ(1000 - 98 - 16 - 8, l.version.left);
    EXPECT_EQ(4, l.version.top);
    EXPECT_EQ(992, l.version.right);
    EXPECT_EQ(28, l.version.bottom);
    // Check Now: "Check" is 35 + 16, less than the minimum 54; it sits 4 into the first group.
    const RibbonLaidButton* check = find(l, CmdCheckNow);
    ASSERT_NE(nullptr, check);
    EXPECT_EQ(10, check->rect.left);
    EXPECT_EQ(34, check->rect.top);
    EXPECT_EQ(54, width_of(check->rect));
    EXPECT_EQ(104, check->rect.bottom);
    // Restart Spooler: the wider line decides, 49 + 16.
    EXPECT_EQ(65, width_of(find(l, CmdRestartSpooler)->rect));
    // The Check group: 4 + three buttons with 2 after each + 2, then the next group 1 further.
    EXPECT_EQ(6, l.groups[0].rect.left);
    EXPECT_EQ(30, l.groups[0].rect.top);
    EXPECT_EQ(128, l.groups[0].rect.bottom);
    int32_t group_width = 4 + 54 + 2 + (7 * 7 + 16) + 2 + (7 * 7 + 16) + 2 + 2;
    EXPECT_EQ(6 + group_width, l.groups[0].rect.right);
    EXPECT_EQ(6 + group_width + 1, l.groups[1].rect.left);
    EXPECT_EQ(129, ribbon_height(96));
}

TEST(RibbonLayout, WidthsComeFromBothLabels) {
    FakeFont font;
    // The override is wider: it sets the width while it shows.
    EXPECT_EQ(72, width_of(find(layout_of(0, {0, 0, 0, 0}, &font), CmdFindPrinters)->rect));
    EXPECT_EQ(9 * 7 + 16, width_of(find(layout_of(0, {0, 0, 1, 0}, &font), CmdFindPrinters)->rect));
    EXPECT_EQ(8 * 7 + 16, width_of(find(layout_of(1, {1, 1, 0, 0}, &font), CmdRunAsAdmin)->rect));
    // The override is narrower: the table label keeps the button as wide as before.
    font.narrowOverrides = 1;
    EXPECT_EQ(72, width_of(find(layout_of(0, {0, 0, 1, 0}, &font), CmdFindPrinters)->rect));
    EXPECT_EQ(58, width_of(find(layout_of(1, {1, 1, 0, 0}, &font), CmdRunAsAdmin)->rect));
    RibbonButton find_printers = *find(layout_of(0, {0, 0, 0, 0}, &font), CmdFindPrinters)->button;
    RibbonFlags searching = {0, 0, 1, 0}, elevated = {0, 1, 0, 0};
    EXPECT_STREQ(L"Searching\n…", ribbon_label_shown(&find_printers, &searching));
    EXPECT_STREQ(L"Find\nPrinters", ribbon_label_shown(&find_printers, &elevated));
}

TEST(RibbonLayout, TellSomeoneTakesItsCaptionWidthAndCentresItsButton) {
    FakeFont font;
    RibbonLayout l = layout_of(3, {0, 0, 0, 0}, &font);
    // Caption 12 * 7 + 20 = 104; buttons 4 + 72 + 2 + 2 = 80; the button moves right by 12.
    EXPECT_EQ(6, l.groups[0].rect.left);
    EXPECT_EQ(110, l.groups[0].rect.right);
    const RibbonRect& share = find(l, CmdShare)->rect;
    EXPECT_EQ(6 + 4 + 12, share.left);
    EXPECT_EQ(72, width_of(share));
    EXPECT_EQ(l.groups[0].rect.left + l.groups[0].rect.right, share.left + share.right);
    EXPECT_EQ(111, l.groups[1].rect.left);
}

TEST(RibbonLayout, SettingsTabIsOneCaptionOfFixedWidth) {
    RibbonMeasure measure = {[](void*, const wchar_t*, int32_t length) { return length * 5; }, nullptr};
    RibbonFlags flags = {1, 1, 1, 0};
    RibbonLayout l;
    ribbon_layout_of(&measure, 1200, 96, kRibbonTabSettings, &flags, L"v", &l);
    EXPECT_EQ(0, l.buttonCount);
    ASSERT_EQ(1, l.groupCount);
    EXPECT_EQ(520, width_of(l.groups[0].rect));
    EXPECT_STREQ(L"All settings are on the page below. Every change takes effect immediately.",
                 l.groups[0].caption);
}

TEST(RibbonLayout, At144DpiEverySizeIsScaledOnItsOwn) {
    FakeFont font;
    font.dpi = 144;
    RibbonLayout l = layout_of(0, {0, 0, 0, 0}, &font, 1500);
    // "Home" measures 42; 15 + 42 + 42 (28 scaled).
    EXPECT_EQ(15, l.tabs[0].left);
    EXPECT_EQ(3, l.tabs[0].top);
    EXPECT_EQ(99, l.tabs[0].right);
    EXPECT_EQ(45, l.tabs[0].bottom);
    EXPECT_EQ(102, l.tabs[1].left);
    const RibbonRect& check = find(l, CmdCheckNow)->rect;
    EXPECT_EQ(9 + 6, check.left);
    EXPECT_EQ(45 + 6, check.top);
    EXPECT_EQ(81, width_of(check)); // the minimum 54 scaled
    EXPECT_EQ(105, check.bottom - check.top);
    EXPECT_EQ(45 + 147, l.groups[0].rect.bottom);
    EXPECT_EQ(45 + 147 + 2, ribbon_height(144));
    // Tell Someone still centres its button at 144 DPI.
    RibbonLayout share = layout_of(3, {0, 0, 0, 0}, &font, 1500);
    const RibbonRect& g = share.groups[0].rect;
    EXPECT_EQ(12 * 7 * 144 / 96 + 30, width_of(g));
    const RibbonRect& b = find(share, CmdShare)->rect;
    EXPECT_LE(std::abs((b.left - g.left) - (g.right - b.right)), 3);
}

TEST(RibbonLook, TheStateTable) {
    // pressed here, pointer over, highlighted -> background
    EXPECT_EQ(LookPressed, ribbon_button_look(1, 1, 0));
    EXPECT_EQ(LookPressed, ribbon_button_look(1, 1, 1));
    EXPECT_EQ(LookHighlighted, ribbon_button_look(1, 0, 1));
    EXPECT_EQ(LookNone, ribbon_button_look(1, 0, 0));
    EXPECT_EQ(LookPressed, ribbon_button_look(0, 1, 1));
    EXPECT_EQ(LookHover, ribbon_button_look(0, 1, 0));
    EXPECT_EQ(LookHighlighted, ribbon_button_look(0, 0, 1));
    EXPECT_EQ(LookNone, ribbon_button_look(0, 0, 0));
    EXPECT_EQ(0, ribbon_look_colours(LookNone).filled);
    EXPECT_EQ(RIBBON_RGB(229, 241, 251), ribbon_look_colours(LookHover).fill);
    EXPECT_EQ(RIBBON_RGB(204, 228, 247), ribbon_look_colours(LookHover).border);
    EXPECT_EQ(RIBBON_RGB(0, 103, 192), ribbon_look_colours(LookPressed).border);
    EXPECT_EQ(RIBBON_RGB(204, 228, 247), ribbon_look_colours(LookHighlighted).border);
    EXPECT_EQ(RIBBON_RGB(198, 40, 40), ribbon_glyph_colour(CmdRemovePrinter));
    EXPECT_EQ(RIBBON_RGB(46, 125, 50), ribbon_glyph_colour(CmdFixThis));
    EXPECT_EQ(RIBBON_RGB(0, 103, 192), ribbon_glyph_colour(CmdCheckNow));
}

TEST(RibbonLook, HighlightedIsTheViewButtonOrRunAsAdminWhileElevated) {
    const int32_t views[] = {CmdViewProblems, CmdViewPrintQueue, CmdViewWindowsLog, CmdViewDrivers,
                             CmdViewNetwork};
    for (int32_t v = 0; v < 5; v++) {
        RibbonFlags f = {0, 0, 0, v};
        for (int32_t i = 0; i < 5; i++)
            EXPECT_EQ(i == v, ribbon_button_highlighted(views[i], &f));
        EXPECT_EQ(0, ribbon_button_highlighted(CmdRunAsAdmin, &f));
        EXPECT_EQ(0, ribbon_button_highlighted(CmdCheckNow, &f));
    }
    RibbonFlags elevated = {0, 1, 0, 9};
    EXPECT_EQ(1, ribbon_button_highlighted(CmdRunAsAdmin, &elevated));
    EXPECT_EQ(0, ribbon_button_highlighted(CmdViewProblems, &elevated));
}

TEST(RibbonMouse, PressDragReleaseSendsOnlyOnTheSameButton) {
    FakeFont font;
    RibbonLayout l = layout_of(0, {0, 0, 0, 0}, &font);
    RibbonState s;
    ribbon_state_init(&s);
    const RibbonRect& a = l.buttons[0].rect;
    const RibbonRect& b = l.buttons[1].rect;
    int32_t command = 0;
    EXPECT_EQ(ActCapture, ribbon_button_down(&s, &l, a.left + 5, a.top + 5, &command));
    EXPECT_EQ(0, s.pressed);
    EXPECT_EQ(ActRepaint, ribbon_button_up(&s, &l, b.left + 5, b.top + 5, &command));
    EXPECT_EQ(0, command);
    EXPECT_EQ(-1, s.pressed);
    // Dragged off and back again: the command goes.
    ribbon_button_down(&s, &l, a.left + 5, a.top + 5, &command);
    EXPECT_EQ(ActRepaint, ribbon_mouse_move(&s, &l, b.left + 5, b.top + 5));
    EXPECT_EQ(1, s.hotButton);
    EXPECT_EQ(ActCommand, ribbon_button_up(&s, &l, a.left + 5, a.top + 5, &command));
    EXPECT_EQ(CmdCheckNow, command);
    // Empty space clears the press; a tab switches; the version label asks for About.
    EXPECT_EQ(ActNone, ribbon_button_down(&s, &l, 2, 120, &command));
    EXPECT_EQ(-1, s.pressed);
    EXPECT_EQ(ActRelayout, ribbon_button_down(&s, &l, l.tabs[3].left + 2, 10, &command));
    EXPECT_EQ(3, s.tab);
    EXPECT_EQ(ActCommand, ribbon_button_down(&s, &l, l.version.left + 2, 10, &command));
    EXPECT_EQ(CmdAbout, command);
    ribbon_mouse_leave(&s);
    EXPECT_EQ(-1, s.hotButton);
    EXPECT_EQ(-1, s.hotTab);
}

TEST(RibbonMouse, WheelMovesBetweenTabsWithoutWrapping) {
    RibbonState s;
    ribbon_state_init(&s);
    EXPECT_EQ(ActNone, ribbon_wheel(&s, 96, 50, 120));
    EXPECT_EQ(0, s.tab);
    for (int32_t i = 1; i <= 4; i++) {
        EXPECT_EQ(ActRelayout, ribbon_wheel(&s, 96, 50, -120));
        EXPECT_EQ(i, s.tab);
    }
    EXPECT_EQ(ActNone, ribbon_wheel(&s, 96, 50, -120));
    EXPECT_EQ(4, s.tab);
    EXPECT_EQ(ActNone, ribbon_wheel(&s, 96, 128, 120)); // below the ribbon
    EXPECT_EQ(ActRelayout, ribbon_wheel(&s, 144, 191, 120));
    EXPECT_EQ(3, s.tab);
}

TEST(RibbonKeys, ArrowsEnterAndTabChanges) {
    FakeFont font;
    RibbonFlags flags = {0, 0, 0, 0};
    RibbonLayout l = layout_of(0, flags, &font);
    RibbonState s;
    ribbon_state_init(&s);
    int32_t command = 0;
    EXPECT_EQ(ActNone, ribbon_key(&s, &l, KeyLeft, &command)); // already the first
    EXPECT_EQ(ActRepaint, ribbon_key(&s, &l, KeyRight, &command));
    EXPECT_EQ(1, s.focus);
    EXPECT_EQ(ActCommand, ribbon_key(&s, &l, KeyPress, &command));
    EXPECT_EQ(CmdNetworkTest, command);
    wchar_t name[80];
    ribbon_focus_name(&s, &l, &flags, name, 80);
    EXPECT_STREQ(L"Network Test", name);
    ribbon_key(&s, &l, KeyEnd, &command);
    EXPECT_EQ(16, s.focus);
    EXPECT_EQ(ActNone, ribbon_key(&s, &l, KeyRight, &command));
    // Ctrl+Tab wraps from Help to Home, Ctrl+PageUp from Home to Help; the focus goes to the first button.
    EXPECT_EQ(ActRelayout, ribbon_key(&s, &l, KeyPrevTab, &command));
    EXPECT_EQ(4, s.tab);
    RibbonLayout help = layout_of(4, flags, &font);
    ribbon_fix_focus(&s, &help, 1);
    EXPECT_EQ(0, s.focus);
    EXPECT_EQ(ActRelayout, ribbon_key(&s, &help, KeyNextTab, &command));
    EXPECT_EQ(0, s.tab);
    // Up goes to the tab row, where Left and Right choose the tab; the Settings tab has only the row.
    EXPECT_EQ(ActRepaint, ribbon_key(&s, &l, KeyUp, &command));
    EXPECT_EQ(-1, s.focus);
    EXPECT_EQ(ActRelayout, ribbon_key(&s, &l, KeyRight, &command));
    ribbon_key(&s, &l, KeyRight, &command);
    EXPECT_EQ(2, s.tab);
    RibbonLayout settings = layout_of(2, flags, &font);
    ribbon_fix_focus(&s, &settings, 1);
    EXPECT_EQ(-1, s.focus);
    ribbon_focus_name(&s, &settings, &flags, name, 80);
    EXPECT_STREQ(L"Settings tab", name);
    EXPECT_EQ(ActNone, ribbon_key(&s, &settings, KeyDown, &command));
    EXPECT_EQ(ActNone, ribbon_key(&s, &settings, KeyPress, &command));
}

TEST(RibbonKeys, CtrlTabAcrossSettingsLandsOnTheNextTabsFirstButton) {
    FakeFont font;
    RibbonFlags flags = {0, 0, 0, 0};
    RibbonState s;
    ribbon_state_init(&s);
    s.tab = 1;
    s.focus = 3;
    int32_t command = 0;
    RibbonLayout tools = layout_of(1, flags, &font);
    EXPECT_EQ(ActRelayout, ribbon_key(&s, &tools, KeyNextTab, &command));
    RibbonLayout settings = layout_of(2, flags, &font);
    ribbon_fix_focus(&s, &settings, 1);
    EXPECT_EQ(-1, s.focus); // only the tab row to stand on
    EXPECT_EQ(ActRelayout, ribbon_key(&s, &settings, KeyNextTab, &command));
    RibbonLayout share = layout_of(3, flags, &font);
    ribbon_fix_focus(&s, &share, 1);
    EXPECT_EQ(0, s.focus);
    EXPECT_EQ(ActCommand, ribbon_key(&s, &share, KeyPress, &command));
    EXPECT_EQ(CmdShare, command);
}

TEST(RibbonKeys, OneLineNames) {
    wchar_t out[40];
    ribbon_label_one_line(L"Check\nNow", out, 40);
    EXPECT_STREQ(L"Check Now", out);
    ribbon_label_one_line(L"Searching\n…", out, 40);
    EXPECT_STREQ(L"Searching…", out);
    ribbon_label_one_line(L"Details", out, 40);
    EXPECT_STREQ(L"Details", out);
    ribbon_label_one_line(L"Printers &\nScanners", out, 5);
    EXPECT_STREQ(L"Prin", out);
}
