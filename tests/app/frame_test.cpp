// The title's marks and the DPI-scaled sizes.
#include <gtest/gtest.h>

#include "core/dpi.h"
#include "ui/layout.h"
#include "ui/ui.h"

TEST(Frame, TitleCarriesTheAdministratorAndDemonstrationMarks) {
    wchar_t title[200];
    build_window_title(title, _countof(title), 0, 0);
    EXPECT_STREQ(L"Vantrel 1.1.0 \x2014 Why Won't It Print?", title);
    build_window_title(title, _countof(title), 1, 0);
    EXPECT_STREQ(L"Vantrel 1.1.0 \x2014 Why Won't It Print?  (Administrator)", title);
    build_window_title(title, _countof(title), 0, 1);
    EXPECT_STREQ(L"Vantrel 1.1.0 \x2014 Why Won't It Print?  [DEMO DATA]", title);
    build_window_title(title, _countof(title), 1, 1);
    EXPECT_STREQ(L"Vantrel 1.1.0 \x2014 Why Won't It Print?  (Administrator)  [DEMO DATA]", title);
}

TEST(Frame, WindowOpensScaledButNeverLargerThanTheWorkArea) {
    WindowPlacement p;
    main_window_placement(96, LayoutRect{0, 0, 2560, 1560}, &p);
    EXPECT_EQ(1360, p.window.width);
    EXPECT_EQ(880, p.window.height);
    EXPECT_EQ((2560 - 1360) / 2, p.window.x) << "centred";
    EXPECT_EQ(1120, p.minWidth);
    EXPECT_EQ(700, p.minHeight);
    // 150 % on a 1600 x 1000 screen whose taskbar takes 40 pixels: 2040 x 1320 would not fit.
    main_window_placement(144, LayoutRect{0, 0, 1600, 960}, &p);
    EXPECT_EQ(0, p.window.x);
    EXPECT_EQ(0, p.window.y);
    EXPECT_EQ(1600, p.window.width);
    EXPECT_EQ(960, p.window.height);
    EXPECT_EQ(1600, p.minWidth) << "1680 would push the window off the screen";
    EXPECT_EQ(960, p.minHeight);
    // A second monitor to the left of the first, at 125 %.
    main_window_placement(120, LayoutRect{-1920, 0, 1920, 1040}, &p);
    EXPECT_EQ(1700, p.window.width);
    EXPECT_EQ(1040, p.window.height);
    EXPECT_EQ(-1920 + 110, p.window.x);
    EXPECT_EQ(15, scale_to_dpi(10, 144));
}

TEST(Frame, SecondaryWindowsSitOnTheListsClearOfTheRibbon) {
    const LayoutRect work = {0, 0, 1600, 960};
    // Lists from y 300 to 900 on a window at (100, 100): the 600-high notes window centres on them.
    LayoutRect r = secondary_window_place(LayoutRect{108, 300, 1200, 600}, 260, work, 760, 600);
    EXPECT_EQ(108 + (1200 - 760) / 2, r.x);
    EXPECT_EQ(300, r.y);
    // Taller than the lists: its top stays at the ribbon's bottom edge.
    r = secondary_window_place(LayoutRect{108, 300, 1200, 400}, 260, work, 760, 650);
    EXPECT_EQ(260, r.y);
    // A window near the screen's bottom: moved up inside the work area, over the ribbon if it must.
    r = secondary_window_place(LayoutRect{0, 700, 1600, 250}, 650, work, 760, 600);
    EXPECT_EQ(960 - 600, r.y);
    // Larger than the screen: shrunk to it.
    r = secondary_window_place(LayoutRect{0, 0, 800, 600}, 100, LayoutRect{0, 0, 700, 500}, 760, 600);
    EXPECT_EQ(0, r.x);
    EXPECT_EQ(0, r.y);
    EXPECT_EQ(700, r.width);
    EXPECT_EQ(500, r.height);
}
