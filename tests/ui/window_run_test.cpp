// The real window, started as Vantrel.exe and read back through its controls from this process:
// in demonstration mode (verdict, seven printers, fourteen findings, the five views, a refresh that
// keeps the selection, the minimum size) and on the test PC with a loopback scan range.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/settings.h"
#include "tests/support/remote_controls.h"
#include "tests/support/test_support.h"
#include "tests/ui/undo_support.h"

namespace {
bool starts_with(const std::wstring& text, const std::wstring& prefix) {
    return text.rfind(prefix, 0) == 0;
}
} // namespace

TEST(MainWindowRun, DemoShowsTheVerdictEveryPrinterAndEveryView) {
    delete_settings_key();
    VantrelWindow w(L"/demo");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    const std::wstring banner = control_text(w.control(100));
    EXPECT_TRUE(starts_with(banner, L"   8 problems and 2 heads-ups.  Most serious: ")) << banner.c_str();
    EXPECT_NE(std::wstring::npos, banner.find(L"[DEMO DATA \x2014 not this PC]"));

    HWND printers = w.control(102);
    ASSERT_EQ(7, list_row_count(printers));
    EXPECT_EQ(13, list_column_count(printers));
    EXPECT_EQ(L"Service Drive - HP LaserJet Pro M404   (default)", list_cell(printers, 0, 0));
    EXPECT_EQ(L"Not checked", list_cell(printers, 6, 1)) << "Print to PDF while CheckVirtual is off";

    HWND bottom = w.control(104);
    EXPECT_EQ(14, list_row_count(bottom)) << "the Problems view: one row per finding";
    EXPECT_EQ(L"PROBLEM", list_cell(bottom, 0, 0));

    struct View {
        int command;
        const wchar_t* caption_start;
        int columns;
    } views[] = {{208, L"Print queue", 7},
                 {209, L"Windows' own print logs", 4},
                 {210, L"Printer drivers installed", 9},
                 {249, L"Printers found on the network", 7},
                 {207, L"What Vantrel found", 4}};
    for (const View& v : views) {
        w.send(v.command);
        EXPECT_TRUE(starts_with(control_text(w.control(103)), v.caption_start)) << v.command;
        EXPECT_EQ(v.columns, list_column_count(bottom)) << v.command;
        EXPECT_GT(list_row_count(bottom), 0) << v.command;
    }

    // A refresh within the view keeps the user's selection; a view change clears it.
    list_select_row(printers, 3);
    list_select_row(bottom, 2);
    w.send(200);
    Sleep(1500);
    EXPECT_EQ(3, list_selected_row(printers));
    EXPECT_EQ(2, list_selected_row(bottom));
    w.send(208);
    EXPECT_EQ(-1, list_selected_row(bottom));

    // Find Printers in demonstration mode shows the made-up result in its view and remembers it.
    w.send(207);
    w.send(248);
    EXPECT_TRUE(starts_with(control_text(w.control(103)), L"Printers found on the network"));
    EXPECT_EQ(4u, read_setting_dword(L"View", 99));

    // A right-click on a printer row opens the window's menu; one in the bottom list never does.
    // (Menus belong to their process under Wine, so the menu is recognised by its window.)
    auto open_menu = [&](HWND list) {
        PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 28)); // on the first row
        PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(40, 28));
        HWND menu = nullptr;
        wait_until([&] { return (menu = FindWindowW(L"#32768", nullptr)) && IsWindowVisible(menu); }, 3000);
        return menu && IsWindowVisible(menu) ? menu : nullptr;
    };
    HWND menu = open_menu(printers);
    ASSERT_NE(nullptr, menu);
    DWORD owner = 0;
    GetWindowThreadProcessId(menu, &owner);
    EXPECT_EQ(w.pid, owner);
    EXPECT_EQ(0, list_selected_row(printers)) << "the right-click selected the row the menu acts on";
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(menu); }, 5000));
    EXPECT_EQ(nullptr, open_menu(bottom));

    // The Settings tab shows the page in place of the captions and lists; Home brings them back.
    ribbon_wheel(w.window, 2);
    HWND page = FindWindowExW(w.window, nullptr, L"NSPage", nullptr);
    ASSERT_NE(nullptr, page);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(page) && !IsWindowVisible(printers); }, 3000));
    EXPECT_FALSE(IsWindowVisible(w.control(103)));
    ribbon_wheel(w.window, -2);
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(page) && IsWindowVisible(printers); }, 3000));

    // The smallest the window may become at 96 DPI.
    SetWindowPos(w.window, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(w.window, &r);
    EXPECT_GE(r.right - r.left, 1120);
    EXPECT_GE(r.bottom - r.top, 700);
}

TEST(MainWindowRun, RunsOnTheTestPcAndListsItsPrinters) {
    delete_settings_key();
    VantrelWindow w(L"/scanrange 127.0.0.1/32");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    std::string buffer(needed ? needed : 1, '\0');
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, (BYTE*)buffer.data(), needed,
                  &needed, &count);
    EXPECT_EQ((int)count, list_row_count(w.control(102)));
    const std::wstring banner = control_text(w.control(100));
    EXPECT_FALSE(banner.empty());
    EXPECT_EQ(std::wstring::npos, banner.find(L"DEMO")) << "a real check is never marked as demonstration";
}
