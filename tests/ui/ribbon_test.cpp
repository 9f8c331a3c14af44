// The ribbon without a window, with a made-up text measure: which buttons the expert tools add, how
// a changing label sets a button's width, and the wheel's and keys' edges (the window test clicks).
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

RibbonLayout layout_of(int32_t tab, RibbonFlags flags, FakeFont* font) {
    RibbonMeasure measure = {fake_width, font};
    RibbonLayout layout;
    ribbon_layout_of(&measure, 1200, 96, tab, &flags, L"Vantrel v1.1.0", &layout);
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
