// The title's marks and the DPI-scaled sizes.
#include <gtest/gtest.h>

#include "core/dpi.h"
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

TEST(Frame, WindowSizeScalesWithTheScreen) {
    int w = 0, h = 0;
    main_window_size(96, &w, &h);
    EXPECT_EQ(1360, w);
    EXPECT_EQ(880, h);
    main_window_size(144, &w, &h);
    EXPECT_EQ(2040, w);
    EXPECT_EQ(1320, h);
    main_window_size(120, &w, &h);
    EXPECT_EQ(1700, w);
    EXPECT_EQ(1100, h);
    main_window_size(0, &w, &h);
    EXPECT_EQ(1360, w) << "an unknown DPI counts as 96";
    EXPECT_EQ(15, scale_to_dpi(10, 144));
}
