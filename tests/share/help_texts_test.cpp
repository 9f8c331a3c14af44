// The help texts: each exists with its headings in order and line feeds only, What's new is the
// newest release-notes entry, and the About box tells automatic updates on from off.
#include <gtest/gtest.h>

#include <string>

#include "ui/commands.h"
#include "ui/help_texts.h"
#include "ui/main_commands.h"

namespace {
void expect_in_order(const std::wstring& body, std::initializer_list<const wchar_t*> headings) {
    size_t at = 0;
    for (const wchar_t* heading : headings) {
        size_t found = body.find(heading, at);
        ASSERT_NE(std::wstring::npos, found) << "missing or out of order: " << heading;
        at = found + 1;
    }
}
} // namespace

TEST(HelpTexts, EachTextHasItsHeadingsInOrderAndNoCr) {
    HelpNotes notes;
    ASSERT_TRUE(help_notes_of(CmdHowToUse, L"1.1.0", &notes));
    EXPECT_TRUE(notes.title && *notes.title);
    expect_in_order(notes.body, {L"VANTREL IN ONE MINUTE", L"WHAT IT CHECKS", L"THE TWO LISTS",
                                 L"THE QUICK FIXES", L"COMMON SITUATIONS", L"NOTHING IS PERMANENT"});
    EXPECT_EQ(std::wstring::npos, std::wstring(notes.body).find(L'\r'));

    ASSERT_TRUE(help_notes_of(CmdDriverTypes, L"1.1.0", &notes));
    EXPECT_TRUE(notes.title && *notes.title);
    expect_in_order(notes.body,
                    {L"WHAT A DRIVER DOES", L"THE PRINTER LANGUAGES", L"KINDS OF DRIVER", L"QUICK GUIDE"});
    EXPECT_EQ(std::wstring::npos, std::wstring(notes.body).find(L'\r'));

    ASSERT_TRUE(help_notes_of(CmdReleaseNotes, L"1.1.0", &notes));
    EXPECT_NE(std::wstring::npos, std::wstring(notes.header).find(L"version 1.1.0"));
    EXPECT_EQ(std::wstring(release_notes_text()), std::wstring(notes.body));
    expect_in_order(notes.body, {L"1.1.0 (2026-11-17)", L"1.0.0 (2026-11-17)"});
    EXPECT_EQ(std::wstring::npos, std::wstring(notes.body).find(L'\r'));
    EXPECT_FALSE(help_notes_of(CmdAbout, L"1.1.0", &notes)) << "About is a box, not a notes window";
}

TEST(HelpTexts, WhatsNewIsTheNewestReleaseNotesEntry) {
    const std::wstring all = release_notes_text();
    size_t heading_end = all.find(L'\n'), blank = all.find(L"\n\n");
    ASSERT_NE(std::wstring::npos, blank);
    const std::wstring newest = all.substr(heading_end + 1, blank - heading_end - 1);
    HelpNotes notes;
    whats_new_of(L"1.1.0", &notes);
    EXPECT_NE(std::wstring::npos, std::wstring(notes.header).find(L"version 1.1.0"));
    EXPECT_EQ(newest + L"\n\nSee every version any time under Help \x2192 Release Notes.",
              std::wstring(notes.body));
    EXPECT_EQ(std::wstring::npos, newest.find(L"First release.")) << "not the older entry";
}

TEST(AboutBox, AutomaticUpdatesOnAndOff) {
    wchar_t text[1200];
    about_text_of(L"1.1.0", 1, VANTREL_DOWNLOAD_PAGE, text, 1200);
    std::wstring on = text;
    about_text_of(L"1.1.0", 0, VANTREL_DOWNLOAD_PAGE, text, 1200);
    std::wstring off = text;
    EXPECT_EQ(0u, on.find(L"Vantrel 1.1.0\n"));
    EXPECT_NE(std::wstring::npos, on.find(L"Updates: checks automatically every 6 hours\nDownload page: "));
    EXPECT_NE(std::wstring::npos,
              off.find(L"Updates: automatic checks are off (Settings tab)\nDownload page: "));
    EXPECT_NE(std::wstring::npos, off.find(VANTREL_DOWNLOAD_PAGE));
    EXPECT_LE(off.size(), 1199u);
}
