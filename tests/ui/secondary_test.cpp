// The secondary windows without a window: the Settings rows and their places at 96 and 144 DPI, the
// update bar's text and button places, and the notes window's text.
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "ui/secondary.h"

namespace {
std::wstring first_line(const wchar_t* notes) {
    wchar_t out[200];
    release_notes_first_line(notes, out, _countof(out));
    return out;
}

std::wstring notes_text(const std::wstring& header, const std::wstring& body) {
    static wchar_t out[kNotesTextCapacity];
    build_notes_text(header.c_str(), body.c_str(), out, _countof(out));
    return out;
}

const PageItem* find(const PageLayout& layout, int32_t kind, int32_t id, const wchar_t* text = nullptr) {
    for (int32_t i = 0; i < layout.count; i++) {
        const PageItem& it = layout.items[i];
        if (it.kind == kind && it.id == id && (!text || std::wstring(text) == it.text)) return &it;
    }
    return nullptr;
}
} // namespace

TEST(SettingRows, EveryRowIsItsSwitch) {
    ASSERT_EQ(9, kSettingRowCount);
    const int32_t order[] = {110, 111, 112, 114, 113, 115, 116, 117, 140};
    for (int32_t i = 0; i < 9; i++)
        EXPECT_EQ(order[i], kSettingRows[i].id);
    Settings s = {};
    s.topmost = 7;
    s.autoUpdate = 9;
    EXPECT_EQ(7, s.*setting_row(117)->member);
    EXPECT_EQ(9, s.*setting_row(140)->member);
    EXPECT_STREQ(L"ReadEventLog", setting_row(114)->valueName);
    EXPECT_STREQ(L"Ask each printer what is wrong (SNMP)", setting_row(112)->caption);
    EXPECT_EQ(nullptr, setting_row(141));
    EXPECT_EQ(nullptr, setting_row(900));
}

TEST(SettingRows, SnmpTipNamesTheDefaultCommunity) {
    std::wstring tip = setting_row(112)->longText;
    EXPECT_NE(std::wstring::npos, tip.find(L"port in Windows, or \"public\".\n\nOFF: only ping"));
    EXPECT_EQ(L"Takes effect immediately (the printers are re-tested).", tip.substr(tip.rfind(L"\n\n") + 2));
}

TEST(SettingsPageLayout, PositionsAt96Dpi) {
    PageLayout l;
    settings_page_layout(96, 0, &l);
    EXPECT_FALSE(l.stacked);
    int32_t left[5] = {110, 111, 112, 114, 113}, left_y[5] = {46, 108, 170, 232, 294};
    for (int32_t i = 0; i < 5; i++) {
        const PageItem* box = find(l, PageCheckBox, left[i]);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(26, box->x);
        EXPECT_EQ(left_y[i], box->y);
        EXPECT_EQ(500, box->w);
        EXPECT_EQ(22, box->h);
    }
    int32_t right[4] = {115, 116, 117, 140}, right_y[4] = {46, 146, 246, 346};
    const wchar_t* headings[4] = {L"Tools", L"Records", L"Window", L"Updates"};
    int32_t heading_y[4] = {18, 118, 218, 318};
    for (int32_t i = 0; i < 4; i++) {
        const PageItem* box = find(l, PageCheckBox, right[i]);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(580, box->x);
        EXPECT_EQ(right_y[i], box->y);
        const PageItem* h = find(l, PageHeading, 901, headings[i]);
        ASSERT_NE(nullptr, h);
        EXPECT_EQ(580, h->x);
        EXPECT_EQ(heading_y[i], h->y);
    }
    const PageItem* checking = find(l, PageHeading, 901, L"Checking");
    ASSERT_NE(nullptr, checking);
    EXPECT_EQ(18, checking->y);
    const PageItem* now = find(l, PageButton, 141);
    ASSERT_NE(nullptr, now);
    EXPECT_EQ(580, now->x);
    EXPECT_EQ(408, now->y);
    EXPECT_EQ(120, now->w);
    EXPECT_EQ(28, now->h);
    // The explanation under "Keep checking automatically", with the long text as its tooltip.
    EXPECT_EQ(PageExplanation, l.items[2].kind);
    EXPECT_EQ(900, l.items[2].id);
    EXPECT_EQ(44, l.items[2].x);
    EXPECT_EQ(68, l.items[2].y);
    EXPECT_EQ(482, l.items[2].w);
    EXPECT_EQ(32, l.items[2].h);
    EXPECT_EQ(setting_row(110)->longText, l.items[2].tooltip);
    EXPECT_EQ(5 + 2 * 9 + 1, l.count);
    EXPECT_EQ(408 + 28 + 18, l.contentHeight);
}

TEST(SettingsPageLayout, EachValueScaledAt144Dpi) {
    PageLayout l;
    settings_page_layout(144, 0, &l);
    const PageItem* box = find(l, PageCheckBox, 140);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(870, box->x);
    EXPECT_EQ(519, box->y);
    EXPECT_EQ(750, box->w);
    EXPECT_EQ(33, box->h);
    EXPECT_EQ(441, find(l, PageCheckBox, 113)->y);
    EXPECT_EQ(612, find(l, PageButton, 141)->y);
    EXPECT_EQ(681, l.contentHeight);
}

TEST(SettingsPageLayout, NarrowPageStacksTheRightColumn) {
    PageLayout wide, narrow;
    settings_page_layout(96, 1038, &wide);
    EXPECT_FALSE(wide.stacked);
    EXPECT_EQ(1038 - 580, find(wide, PageCheckBox, 140)->w); // cut to the page
    EXPECT_EQ(1038 - 598, wide.items[wide.count - 2].w);     // the last explanation
    EXPECT_EQ(500, find(wide, PageCheckBox, 110)->w);
    settings_page_layout(96, 1037, &narrow);
    EXPECT_TRUE(narrow.stacked);
    // The left column ends at 356; "Tools" follows after the gap between sections.
    const PageItem* tools = find(narrow, PageHeading, 901, L"Tools");
    ASSERT_NE(nullptr, tools);
    EXPECT_EQ(26, tools->x);
    EXPECT_EQ(366, tools->y);
    EXPECT_EQ(394, find(narrow, PageCheckBox, 115)->y);
    EXPECT_EQ(26, find(narrow, PageButton, 141)->x);
    EXPECT_EQ(756, find(narrow, PageButton, 141)->y);
    EXPECT_EQ(756 + 28 + 18, narrow.contentHeight);
    EXPECT_EQ(482, find(narrow, PageExplanation, 900)->w);
}

TEST(SettingsPageLayout, ScrollStaysWithinTheContent) {
    EXPECT_EQ(0, page_scroll_limit(454, 600));
    EXPECT_EQ(154, page_scroll_limit(454, 300));
    EXPECT_EQ(154, page_scroll_clamp(1000, 454, 300));
    EXPECT_EQ(0, page_scroll_clamp(-5, 454, 300));
    EXPECT_EQ(0, page_scroll_clamp(40, 454, 600));
}

TEST(UpdateBarText, FirstLineSkipsBulletsAndSpaces) {
    EXPECT_EQ(L"Finds printers that moved", first_line(L"\u2022 Finds printers that moved\n\u2022 More"));
    EXPECT_EQ(L"Faster", first_line(L"  * - Faster\r\nSecond"));
    EXPECT_EQ(L"", first_line(L""));
    EXPECT_EQ(L"", first_line(nullptr));
    EXPECT_EQ(L"Only line", first_line(L"-Only line"));
}

TEST(UpdateBarText, FirstLineCutAt150) {
    std::wstring longer(200, L'x');
    EXPECT_EQ(std::wstring(150, L'x'), first_line(longer.c_str()));
    std::wstring exact(150, L'y');
    EXPECT_EQ(exact, first_line((exact + L"\nz").c_str()));
}

TEST(UpdateBarText, OfferAndDownload) {
    wchar_t out[600];
    update_bar_text(L"1.2.0", L"1.1.0", L"\u2022 Finds moved printers\nMore", 0, -1, out, _countof(out));
    EXPECT_STREQ(L"Vantrel 1.2.0 is available (you have 1.1.0).   Finds moved printers", out);
    update_bar_text(L"1.2.0", L"1.1.0", L"notes", 1, -1, out, _countof(out));
    EXPECT_STREQ(L"Downloading Vantrel 1.2.0\u2026 0%   (Vantrel will restart by itself when it's done)",
                 out);
    update_bar_text(L"1.2.0", L"1.1.0", L"notes", 1, 57, out, _countof(out));
    EXPECT_STREQ(L"Downloading Vantrel 1.2.0\u2026 57%   (Vantrel will restart by itself when it's done)",
                 out);
}

TEST(UpdateBarText, WholeTextCutAt599) {
    std::wstring version(700, L'9');
    static wchar_t out[2000];
    update_bar_text(version.c_str(), L"1.1.0", L"", 0, 0, out, _countof(out));
    EXPECT_EQ(599u, text_length(out, _countof(out)));
}

TEST(UpdateBarLayout, ButtonsFromTheRight) {
    BarRect b[3];
    update_bar_buttons(1000, 44, 96, b);
    EXPECT_EQ(990, b[2].right);
    EXPECT_EQ(886, b[2].left);
    EXPECT_EQ(880, b[1].right);
    EXPECT_EQ(776, b[1].left);
    EXPECT_EQ(770, b[0].right);
    EXPECT_EQ(666, b[0].left);
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(8, b[i].top);
        EXPECT_EQ(36, b[i].bottom);
    }
    update_bar_buttons(1500, 66, 144, b);
    EXPECT_EQ(1485, b[2].right);
    EXPECT_EQ(1329, b[2].left);
    EXPECT_EQ(1320, b[1].right);
    EXPECT_EQ(12, b[0].top);
    BarRect text = update_bar_text_rect(1000, 44, 96);
    EXPECT_EQ(42, text.left);
    EXPECT_EQ(650, text.right);
    EXPECT_EQ(44, text.bottom);
    BarRect glyph = update_bar_glyph_rect(66, 144);
    EXPECT_EQ(15, glyph.left);
    EXPECT_EQ(60, glyph.right);
}

TEST(NotesText, HeaderKeptBodyGetsCrLf) {
    EXPECT_EQ(L"Title\r\n\r\nline 1\r\nline 2\r\n", notes_text(L"Title\r\n\r\n", L"line 1\nline 2\n"));
    EXPECT_EQ(L"a\nb", notes_text(L"a\nb", L""));
    EXPECT_EQ(L"x\r\ny", notes_text(L"", L"x\r\ny")); // already CR LF: not doubled
    EXPECT_EQ(L"\r\n\r\n", notes_text(L"", L"\n\n"));
}

TEST(NotesText, Caps) {
    std::wstring header(45000, L'h');
    std::wstring text = notes_text(header, L"body");
    EXPECT_EQ(39900u + 4u, text.size());
    std::wstring body(45000, L'b');
    EXPECT_EQ(39990u, notes_text(L"head", body).size());
    // A line break that no longer fits whole is left out rather than cut in half.
    std::wstring breaks(30000, L'\n');
    std::wstring t = notes_text(L"h", breaks);
    EXPECT_EQ(39989u, t.size());
    EXPECT_EQ(L'\n', t.back());
    wchar_t small[8];
    build_notes_text(L"abc", L"d\ne", small, _countof(small));
    EXPECT_STREQ(L"abcd\r\ne", small);
}
