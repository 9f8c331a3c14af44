// The help texts: each exists with line feeds only, What's new is the newest release-notes entry, and
// the About box tells automatic updates on from off.
#include <gtest/gtest.h>

#include <string>

#include "ui/commands.h"
#include "ui/help_texts.h"
#include "ui/main_commands.h"

TEST(HelpTexts, EachTextHasATitleABodyAndNoCrAndWhatsNewIsTheNewestEntry) {
    HelpNotes notes;
    for (int command : {CmdHowToUse, CmdDriverTypes, CmdReleaseNotes}) {
        ASSERT_TRUE(help_notes_of(command, L"1.1.0", &notes)) << command;
        EXPECT_TRUE(notes.title && *notes.title && notes.body && *notes.body) << command;
        EXPECT_EQ(nullptr, wcschr(notes.body, L'\r')) << command;
    }
    EXPECT_NE(nullptr, wcsstr(notes.header, L"version 1.1.0"));
    const std::wstring all = release_notes_text();
    EXPECT_EQ(all, notes.body);
    EXPECT_FALSE(help_notes_of(CmdAbout, L"1.1.0", &notes)) << "About is a box, not a notes window";

    // The newest entry comes first: its heading line, its lines, a blank line, the older ones.
    size_t heading_end = all.find(L'\n'), blank = all.find(L"\n\n");
    ASSERT_NE(std::wstring::npos, blank);
    EXPECT_NE(std::wstring::npos, all.substr(0, heading_end).find(L"1.1.0"));
    whats_new_of(L"1.1.0", &notes);
    EXPECT_NE(nullptr, wcsstr(notes.header, L"version 1.1.0"));
    const std::wstring body = notes.body,
                       older = all.substr(blank + 2, all.find(L'\n', blank + 2) - blank - 2);
    EXPECT_EQ(0u, body.find(all.substr(heading_end + 1, blank - heading_end) + L'\n')) << "the newest lines";
    EXPECT_EQ(std::wstring::npos, body.find(older)) << "not the older entry";
}

TEST(AboutBox, AutomaticUpdatesOnAndOff) {
    wchar_t on[1200], off[1200];
    about_text_of(L"1.1.0", 1, L"https://example.com/dl", on, 1200);
    about_text_of(L"1.1.0", 0, L"https://example.com/dl", off, 1200);
    EXPECT_EQ(on, wcsstr(on, L"Vantrel 1.1.0\n"));
    EXPECT_NE(std::wstring(on), off);
    EXPECT_NE(nullptr, wcsstr(off, L"automatic checks are off"));
    EXPECT_NE(nullptr, wcsstr(off, L"https://example.com/dl"));
}
