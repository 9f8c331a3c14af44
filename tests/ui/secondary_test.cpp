// The secondary windows without a window: where the Settings page stacks its columns, how far it
// scrolls, the update bar's first line of the release notes, and the notes window's text and caps.
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "ui/notes.h"
#include "ui/settings_page.h"
#include "ui/update_bar.h"

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
} // namespace

TEST(SettingsPageLayout, StacksOnlyBelowTheWidthOfBothColumnsAndScrollsWithinTheContent) {
    PageLayout wide, narrow;
    settings_page_layout(96, 1038, &wide);
    EXPECT_FALSE(wide.stacked);
    settings_page_layout(96, 1037, &narrow);
    EXPECT_TRUE(narrow.stacked);
    EXPECT_GT(narrow.contentHeight, wide.contentHeight);
    // The window test scrolls a real page to its end and back; the clamp's other edge:
    EXPECT_EQ(0, page_scroll_clamp(-5, 454, 300));
}

TEST(UpdateBarText, FirstLineSkipsBulletsAndSpacesAndIsCutAt150) {
    EXPECT_EQ(L"Finds printers that moved", first_line(L"\u2022 Finds printers that moved\n\u2022 More"));
    EXPECT_EQ(L"Faster", first_line(L"  * - Faster\r\nSecond"));
    EXPECT_EQ(L"", first_line(L""));
    EXPECT_EQ(L"", first_line(nullptr));
    EXPECT_EQ(L"Only line", first_line(L"-Only line"));
    std::wstring longer(200, L'x');
    EXPECT_EQ(std::wstring(150, L'x'), first_line(longer.c_str()));
    std::wstring exact(150, L'y');
    EXPECT_EQ(exact, first_line((exact + L"\nz").c_str()));
    // The whole bar text is cut to its buffer, however long the version.
    std::wstring version(700, L'9');
    static wchar_t out[2000];
    update_bar_text(version.c_str(), L"1.1.0", L"", 0, 0, out, _countof(out));
    EXPECT_EQ(599u, text_length(out, _countof(out)));
}

TEST(NotesText, BodyGetsCrLfOnceAndEveryPartIsCapped) {
    EXPECT_EQ(L"Title\r\n\r\nline 1\r\nline 2\r\n", notes_text(L"Title\r\n\r\n", L"line 1\nline 2\n"));
    EXPECT_EQ(L"a\nb", notes_text(L"a\nb", L""));
    EXPECT_EQ(L"x\r\ny", notes_text(L"", L"x\r\ny")); // already CR LF: not doubled
    EXPECT_EQ(39900u + 4u, notes_text(std::wstring(45000, L'h'), L"body").size());
    EXPECT_EQ(39990u, notes_text(L"head", std::wstring(45000, L'b')).size());
    // A line break that no longer fits whole is left out rather than cut in half.
    std::wstring t = notes_text(L"h", std::wstring(30000, L'\n'));
    EXPECT_EQ(39989u, t.size());
    EXPECT_EQ(L'\n', t.back());
    wchar_t small[8];
    build_notes_text(L"abc", L"d\ne", small, _countof(small));
    EXPECT_STREQ(L"abcd\r\ne", small);
}
