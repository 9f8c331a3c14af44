// The main window's layout and its command table, without a window.
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "ui/commands.h"
#include "ui/layout.h"
#include "ui/main_commands.h"
#include "ui/ribbon.h"
#include "update/version.h"

namespace {
bool operator==(const LayoutRect& a, const LayoutRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
int bottom_of(const LayoutRect& r) {
    return r.y + r.height;
}
} // namespace

TEST(MainLayout, SplitsTheSpaceAtEitherDpiAndMakesRoomForTheUpdateBar) {
    MainLayout l;
    main_layout(1344, 841, 22, 96, 0, 0, &l);
    EXPECT_EQ(0, l.settingsShown);
    EXPECT_EQ(129, l.ribbon.height);
    EXPECT_TRUE((LayoutRect{8, 137, 1328, 44}) == l.banner);
    const int top = 129 + 8 + 44 + 8, bottom = 841 - 22 - 8;
    EXPECT_EQ(top, l.printerCaption.y);
    EXPECT_EQ((bottom - top - 44) * 42 / 100, l.printerList.height) << "42% of what the captions leave";
    EXPECT_EQ(l.printerList.y + l.printerList.height + 8, l.bottomCaption.y);
    EXPECT_EQ(bottom, bottom_of(l.bottomList)) << "the bottom list ends above the status bar";

    MainLayout bar;
    main_layout(1344, 841, 22, 96, 1, 0, &bar);
    EXPECT_EQ(129, bar.updateBar.y);
    EXPECT_EQ(44, bar.updateBar.height);
    EXPECT_EQ(l.banner.y + 44, bar.banner.y) << "the bar pushes everything down by its height";

    // 144 DPI: every constant is scaled on its own, then added.
    MainLayout big;
    main_layout(2016, 1262, 33, 144, 0, 0, &big);
    EXPECT_EQ(45 + 147 + 2, big.ribbon.height);
    EXPECT_EQ(12, big.banner.x);
    EXPECT_EQ(66, big.banner.height);
    EXPECT_EQ(27, big.printerCaption.height);
}

TEST(MainLayout, SettingsTabShowsThePageAndTinyWindowsKeepTheListMinimums) {
    MainLayout l;
    main_layout(1344, 841, 22, 96, 0, 2, &l);
    EXPECT_EQ(1, l.settingsShown);
    EXPECT_EQ(189, l.settingsPage.y);
    EXPECT_EQ(841 - 22 - 8 - 189, l.settingsPage.height);
    EXPECT_EQ(0, l.printerList.height) << "no list on the Settings tab";

    main_layout(300, 200, 22, 96, 1, 0, &l);
    EXPECT_EQ(90, l.printerList.height);
    EXPECT_EQ(60, l.bottomList.height);
    main_layout(0, 0, 0, 144, 0, 0, &l);
    EXPECT_EQ(135, l.printerList.height);
    EXPECT_EQ(90, l.bottomList.height);
}

TEST(CommandTable, EveryCommandIsRoutedAndPrintersComeBeforeTheDemoMessage) {
    // Every ribbon button, Settings control and update-bar button reaches a handler; nothing else is
    // in the table.
    const RibbonButton* buttons[64];
    const int32_t count = ribbon_all_buttons(buttons, 64);
    ASSERT_EQ(48, count);
    for (int32_t i = 0; i < count; i++) {
        const CommandRow* row = command_row(buttons[i]->command);
        ASSERT_NE(nullptr, row) << buttons[i]->command;
        EXPECT_NE(nullptr, row->handler) << buttons[i]->command;
    }
    const int others[] = {110, 111, 112, 113, 114, 115, 116, 117, 140, 141, 142, 143, 144};
    for (int id : others)
        EXPECT_NE(nullptr, command_row(id)) << id;
    EXPECT_EQ(count + (int32_t)(sizeof(others) / sizeof(int)), kCommandCount) << "no row without a source";
    EXPECT_EQ(nullptr, command_row(1)) << "not a command: default handling";

    const int needs_printer[] = {206, 214, 215, 216, 220, 222, 223, 224, 225, 240, 242, 247};
    for (int id : needs_printer) {
        EXPECT_EQ(StepAskPrinter, command_step(command_row(id), 1, -1)) << id;
        EXPECT_NE(StepAskPrinter, command_step(command_row(id), 0, 0)) << id;
    }
    EXPECT_EQ(StepRefuseDemo, command_step(command_row(CmdNetworkTest), 1, -1))
        << "no printer needed to refuse";
    EXPECT_EQ(StepRefuseDemo, command_step(command_row(CmdSetDefault), 1, 3));
    EXPECT_EQ(StepRefuseDemo, command_step(command_row(CmdRemovePrinter), 1, 0));
    EXPECT_EQ(StepRun, command_step(command_row(CmdCheckNow), 1, -1));
    EXPECT_EQ(StepRun, command_step(command_row(CmdNetworkTest), 0, -1))
        << "no printer: every printer is tested";
}

TEST(CommandTable, ViewsSummaryAndVersions) {
    EXPECT_EQ(0, view_of_command(207));
    EXPECT_EQ(3, view_of_command(210));
    EXPECT_EQ(4, view_of_command(249));
    EXPECT_EQ(-1, view_of_command(211));

    wchar_t out[16];
    summary_for_clipboard(L"a\nb\n", out, _countof(out));
    EXPECT_STREQ(L"a\r\nb\r\n", out);
    static wchar_t big[50000], copy[39991];
    for (int i = 0; i < 49999; i++)
        big[i] = i % 7 == 6 ? L'\n' : L'x';
    summary_for_clipboard(big, copy, _countof(copy));
    const std::wstring cut = copy;
    const std::wstring note =
        L"*** This summary is incomplete: it was too long to copy. Save Report writes all of it.\r\n";
    EXPECT_LE(cut.size(), 39990u) << "the clipboard copy holds at most 39,990 characters";
    ASSERT_GT(cut.size(), note.size() + 10);
    EXPECT_EQ(note, cut.substr(cut.size() - note.size())) << "a cut summary says so on its last line";
    EXPECT_EQ(L"\r\nxxxxxx\r\n", cut.substr(cut.size() - note.size() - 10, 10)) << "after whole lines";

    EXPECT_EQ(1, compare_versions(L"1.10.0", L"1.9.9"));
    EXPECT_EQ(0, compare_versions(L"1.2", L"1.2.0.0"));
    EXPECT_EQ(-1, compare_versions(L"1.0.9", L"1.1.0"));
    EXPECT_EQ(0, compare_versions(L"", L"0"));
}
