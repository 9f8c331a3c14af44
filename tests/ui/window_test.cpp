// The main window's layout and its command table, without a window.
#include <gtest/gtest.h>

#include <string>

#include "ui/commands.h"
#include "ui/layout.h"
#include "ui/main_commands.h"
#include "ui/ribbon.h"

namespace {
int bottom_of(const LayoutRect& r) {
    return r.y + r.height;
}
} // namespace

TEST(MainLayout, PartsStackDownToTheStatusBarAndScaleOnTheirOwnAtEitherDpi) {
    struct Size {
        int32_t dpi, width, height, status;
    } sizes[] = {{96, 1344, 841, 22}, {144, 2016, 1262, 33}};
    MainLayout at96 = {};
    for (const Size& z : sizes) {
        SCOPED_TRACE(z.dpi);
        MainLayout l, bar, page;
        main_layout(z.width, z.height, z.status, z.dpi, 0, 0, &l);
        main_layout(z.width, z.height, z.status, z.dpi, 1, 0, &bar);
        main_layout(z.width, z.height, z.status, z.dpi, 0, 2, &page);
        EXPECT_EQ(0, l.settingsShown);
        int32_t y = 0;
        for (const LayoutRect* r :
             {&l.ribbon, &l.banner, &l.printerCaption, &l.printerList, &l.bottomCaption, &l.bottomList}) {
            EXPECT_GE(r->y, y) << "each part below the one before";
            EXPECT_GT(r->height, 0);
            EXPECT_LE(r->x + r->width, z.width);
            y = bottom_of(*r);
        }
        EXPECT_LT(bottom_of(l.bottomList), z.height - z.status)
            << "the bottom list ends above the status bar";
        EXPECT_GT(bottom_of(l.bottomList), z.height - z.status - z.dpi / 8);
        EXPECT_LT(l.printerList.height, l.bottomList.height) << "the printer list gets the smaller share";

        EXPECT_EQ(bottom_of(l.ribbon), bar.updateBar.y);
        EXPECT_EQ(l.banner.y + bar.updateBar.height, bar.banner.y) << "the bar pushes everything down";
        EXPECT_EQ(bottom_of(l.bottomList), bottom_of(bar.bottomList));

        EXPECT_EQ(1, page.settingsShown);
        EXPECT_EQ(0, page.printerList.height) << "no list on the Settings tab";
        EXPECT_EQ(l.printerCaption.y, page.settingsPage.y) << "the page takes the lists' place";
        EXPECT_EQ(bottom_of(l.bottomList), bottom_of(page.settingsPage));

        if (z.dpi == 96) at96 = l;
        for (auto part : {&MainLayout::ribbon, &MainLayout::banner, &MainLayout::printerCaption})
            EXPECT_NEAR((at96.*part).height * z.dpi / 96.0, (l.*part).height, 1);
        EXPECT_EQ(at96.banner.x * z.dpi / 96, l.banner.x);
    }

    // Tiny windows keep the lists' minimum heights.
    MainLayout l;
    main_layout(300, 200, 22, 96, 1, 0, &l);
    EXPECT_EQ(90, l.printerList.height);
    EXPECT_EQ(60, l.bottomList.height);
    main_layout(0, 0, 0, 144, 0, 0, &l);
    EXPECT_EQ(135, l.printerList.height);
    EXPECT_EQ(90, l.bottomList.height);
}

TEST(CommandTable, EveryCommandIsRoutedAndPrintersComeBeforeTheDemoMessage) {
    // Every ribbon button, Settings control and update-bar button reaches a handler; nothing else is
    // in the table. A command that needs a printer asks for one, in demonstration mode too.
    const RibbonButton* buttons[64];
    const int32_t count = ribbon_all_buttons(buttons, 64);
    ASSERT_EQ(48, count);
    for (int32_t i = 0; i < count; i++) {
        const CommandRow* row = command_row(buttons[i]->command);
        ASSERT_NE(nullptr, row) << buttons[i]->command;
        EXPECT_NE(nullptr, row->handler) << buttons[i]->command;
        const bool needs = (row->flags & CommandNeedsPrinter) != 0;
        EXPECT_EQ(needs, StepAskPrinter == command_step(row, 1, -1)) << row->id;
        EXPECT_NE(StepAskPrinter, command_step(row, 0, 0)) << row->id;
    }
    const int others[] = {110, 111, 112, 113, 114, 115, 116, 117, 140, 141, 142, 143, 144};
    for (int id : others)
        EXPECT_NE(nullptr, command_row(id)) << id;
    EXPECT_EQ(count + (int32_t)(sizeof(others) / sizeof(int)), kCommandCount) << "no row without a source";
    EXPECT_EQ(nullptr, command_row(1)) << "not a command: default handling";
    EXPECT_TRUE(command_row(CmdTestPage)->flags & CommandNeedsPrinter);

    EXPECT_EQ(StepRefuseDemo, command_step(command_row(CmdNetworkTest), 1, -1))
        << "no printer needed to refuse";
    EXPECT_EQ(StepRefuseDemo, command_step(command_row(CmdSetDefault), 1, 3));
    EXPECT_EQ(StepRefuseDemo, command_step(command_row(CmdRemovePrinter), 1, 0));
    EXPECT_EQ(StepRun, command_step(command_row(CmdCheckNow), 1, -1));
    EXPECT_EQ(StepRun, command_step(command_row(CmdNetworkTest), 0, -1))
        << "no printer: every printer is tested";
    EXPECT_EQ(-1, view_of_command(CmdSaveReport)) << "not a view";
}

TEST(CommandTable, ACutSummaryEndsWithWholeLinesAndSaysSo) {
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
}
