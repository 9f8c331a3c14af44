// The update bar, the Settings page and the notes window as real windows under Wine, inside a
// stand-in for the main window: texts read back, a check box clicked through to the registry, one
// notes window at a time.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "core/text.h"
#include "tests/support/test_support.h"
#include "ui/main_window.h"
#include "ui/secondary_win.h"
#include "ui/ui.h"

// The main window's part of the seam, as this program's stand-in main window provides it.
MainWindow g_main;
int scaled(int value_at_96) {
    return MulDiv(value_at_96, g_main.dpi, 96);
}
void add_control_tooltip(HWND, const wchar_t*) {}
void on_command(int32_t id) {
    if ((id >= 110 && id <= 117) || id == 140) on_setting_clicked(id);
}

namespace {
const wchar_t* kParentClass = L"VantrelSecondaryTestParent";

void register_classes() {
    static bool done = false;
    if (done) return;
    done = true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    struct {
        const wchar_t* name;
        WNDPROC proc;
        HBRUSH background;
    } classes[] = {{kParentClass, DefWindowProcW, (HBRUSH)(COLOR_BTNFACE + 1)},
                   {L"NSUpdBar", update_bar_proc, nullptr},
                   {L"NSNotes", notes_window_proc, (HBRUSH)(COLOR_BTNFACE + 1)},
                   {L"NSPage", settings_page_proc, (HBRUSH)GetStockObject(WHITE_BRUSH)}};
    for (auto& c : classes) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = c.proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = c.background;
        wc.lpszClassName = c.name;
        RegisterClassExW(&wc);
    }
}

void make_fonts() {
    if (g_main.normal) return;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = 504;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    g_main.normal = CreateFontIndirectW(&metrics.lfMessageFont);
    metrics.lfMessageFont.lfWeight = 700;
    g_main.bold = CreateFontIndirectW(&metrics.lfMessageFont);
    g_main.white = CreateSolidBrush(RGB(255, 255, 255));
    g_main.paleYellow = CreateSolidBrush(RGB(255, 243, 205));
    g_main.dpi = 96;
}

void pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

std::wstring text_of(HWND window) {
    wchar_t buf[1024] = {};
    SendMessageW(window, WM_GETTEXT, _countof(buf), (LPARAM)buf);
    return buf;
}

BOOL CALLBACK collect_notes(HWND window, LPARAM out) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, _countof(cls));
    if (std::wstring(cls) == L"NSNotes") reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

std::vector<HWND> notes_windows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), collect_notes, (LPARAM)&found);
    return found;
}

RECT rect_in(HWND child, HWND parent) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, (POINT*)&r, 2);
    return r;
}

class SecondaryWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        delete_settings_key();
        settings_defaults(&g_settings);
        register_classes();
        make_fonts();
        g_main.window =
            CreateWindowExW(0, kParentClass, L"Vantrel 1.1.0", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                            1150, 700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, g_main.window);
        ShowWindow(g_main.window, SW_SHOW);
    }
    void TearDown() override {
        DestroyWindow(g_main.window); // takes the bar, the page and any notes window with it
        g_main.window = g_main.updateBar = g_main.settingsPage = nullptr;
        pump(50);
        delete_settings_key();
    }
    void place_bar_and_page(int32_t page_height) {
        RECT client;
        GetClientRect(g_main.window, &client);
        MoveWindow(g_main.updateBar, 0, 0, client.right, 44, TRUE);
        ShowWindow(g_main.updateBar, SW_SHOWNA);
        MoveWindow(g_main.settingsPage, 8, 52, client.right - 16, page_height, TRUE);
        ShowWindow(g_main.settingsPage, SW_SHOWNA);
        pump(100);
    }
};
} // namespace

TEST_F(SecondaryWindows, DownloadStateAndSettingsClickStoredInTheRegistry) {
    create_update_bar(g_main.window);
    create_settings_page(g_main.window);
    place_bar_and_page(560);
    HWND bar = g_main.updateBar;
    ASSERT_NE(nullptr, bar);
    HWND now = GetDlgItem(bar, 142), whats_new = GetDlgItem(bar, 143), later = GetDlgItem(bar, 144);
    g_update_bar.percent = 0;
    update_bar_set_downloading(1);
    EXPECT_FALSE(IsWindowVisible(now));
    EXPECT_FALSE(IsWindowVisible(whats_new));
    EXPECT_EQ(L"Cancel", text_of(later));
    EXPECT_EQ(0, g_update_bar.percent) << "the download's own percentage is left alone";
    update_bar_set_downloading(0);
    EXPECT_TRUE(IsWindowVisible(now));
    EXPECT_EQ(L"Later", text_of(later));

    HWND page = g_main.settingsPage;
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, 116));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, 115));

    SendMessageW(GetDlgItem(page, 116), BM_CLICK, 0, 0);
    EXPECT_EQ(0, g_settings.logFile);
    EXPECT_EQ(0u, read_setting_dword(L"LogFile", 7));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, 116));
    SendMessageW(GetDlgItem(page, 116), BM_CLICK, 0, 0);
    EXPECT_EQ(1u, read_setting_dword(L"LogFile", 7));

    SendMessageW(GetDlgItem(page, 140), BM_CLICK, 0, 0);
    EXPECT_EQ(0u, read_setting_dword(L"AutoUpdate", 7));
    g_main.nextUpdateCheck = 0;
    SendMessageW(GetDlgItem(page, 140), BM_CLICK, 0, 0);
    EXPECT_EQ(1u, read_setting_dword(L"AutoUpdate", 7));
    uint64_t tick = GetTickCount64();
    EXPECT_GT(g_main.nextUpdateCheck, tick + 1000);
    EXPECT_LE(g_main.nextUpdateCheck, tick + 2000);

    // A click on an explanation is not a command: nothing is stored.
    delete_settings_key();
    HWND explanation = GetWindow(GetDlgItem(page, 110), GW_HWNDNEXT);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(900, STN_CLICKED), (LPARAM)explanation);
    EXPECT_EQ(7u, read_setting_dword(L"AutoCheck", 7));

    // The value changed behind the page's back shows after a sync.
    g_settings.expertTools = 1;
    sync_check_boxes();
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, 115));
}

TEST_F(SecondaryWindows, ShortPageScrolls) {
    create_settings_page(g_main.window);
    place_bar_and_page(300);
    HWND page = g_main.settingsPage;
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(page, SB_VERT, &si));
    EXPECT_EQ(408 + 28 + 18 - 1, si.nMax);
    SendMessageW(page, WM_VSCROLL, SB_BOTTOM, 0);
    RECT client;
    GetClientRect(page, &client);
    RECT button = rect_in(GetDlgItem(page, 141), page);
    EXPECT_EQ(client.bottom - 18, button.bottom); // "Check now" is reachable at the bottom
    EXPECT_EQ(46 - (454 - client.bottom), rect_in(GetDlgItem(page, 110), page).top);
    // Tall enough again: back at the top, no scroll bar.
    MoveWindow(page, 8, 52, 1100, 600, TRUE);
    pump(50);
    EXPECT_EQ(46, rect_in(GetDlgItem(page, 110), page).top);
    EXPECT_FALSE(GetWindowLongW(page, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(SecondaryWindows, OneNotesWindowAtATime) {
    show_notes(L"How to use Vantrel", L"First\r\n", L"one\ntwo");
    HWND first = notes_window();
    ASSERT_NE(nullptr, first);
    show_notes(L"Printer drivers and printer languages, explained", L"Header\r\n\r\n", L"line 1\nline 2");
    pump(50);
    std::vector<HWND> open = notes_windows();
    ASSERT_EQ(1u, open.size());
    EXPECT_EQ(notes_window(), open[0]);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(L"Printer drivers and printer languages, explained", text_of(open[0]));
    EXPECT_EQ(L"Header\r\n\r\nline 1\r\nline 2", text_of(GetDlgItem(open[0], 100)));
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(open[0], 100), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetDlgItem(open[0], 1), GetFocus());

    SendMessageW(open[0], WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), (LPARAM)GetDlgItem(open[0], 1));
    EXPECT_EQ(nullptr, notes_window());
    EXPECT_TRUE(notes_windows().empty());
}

// Not a check: keeps one window on screen for the screenshot script, and is skipped otherwise.
