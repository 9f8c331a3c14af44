// The real Vantrel.exe started from this process and driven as a user would, read back through its
// controls: once in demonstration mode (verdict, printers, the five views, a refresh, Find Printers
// and Details, the menu, Save Report, History & Undo refusing, the Settings tab, the minimum size)
// and once on the test PC (every printer listed, a finding fixed from Fix This, the history put back).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>
#include <wctype.h>

#include "core/settings.h"
#include "fixes/tasks.h"
#include "history/changes.h"
#include "fixes/undo_plan.h"
#include "tests/support/remote_controls.h"
#include "tests/support/running_window.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "tests/ui/ribbon_measure.h"
#include "res/version.h"
#include "ui/commands.h"
#include "ui/ribbon.h"

namespace {
const wchar_t* kDriver = L"Vantrel Undo PCL 6";
const wchar_t* kPrinterA = L"Undo Printer A";
const wchar_t* kPrinterB = L"Undo Printer B";
const wchar_t* kOfflineB = L"Switched off \"Use Printer Offline\" for \"Undo Printer B\"";

bool starts_with(const std::wstring& text, const std::wstring& prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::wstring summary(UndoTally tally) {
    wchar_t text[300];
    undo_summary(&tally, text, _countof(text));
    return text;
}

std::wstring undid(const wchar_t* description) {
    wchar_t text[560];
    undo_record_description(description, text, _countof(text));
    return text;
}

// The running window, with the History & Undo window's roads.
struct RunningWindow : VantrelWindow {
    explicit RunningWindow(const wchar_t* arguments) : VantrelWindow(arguments) {}
    HWND open_undo() const {
        post(CmdHistory);
        return wait_for_window(pid, L"NSUndo", 10000);
    }
    // Clicks Undo and answers the box that follows, which the History & Undo window owns.
    std::wstring click_undo(HWND undo) const {
        PostMessageW(undo, WM_COMMAND, IdUndoButton, 0);
        HWND b = box();
        std::wstring message = b ? box_message(b) : L"";
        EXPECT_TRUE(b && undo == GetWindow(b, GW_OWNER) && answer_box(b, IDOK));
        return message;
    }
};

bool is_offline(const wchar_t* printer) {
    DWORD status = 0, attributes = 0;
    return printer_state(printer, &status, &attributes) && (attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE);
}

std::wstring default_printer() {
    wchar_t name[300] = L"";
    DWORD size = _countof(name);
    return GetDefaultPrinterW(name, &size) ? name : L"";
}

// EVENT_OBJECT_LIVEREGIONCHANGED from the banner of one process, counted while this thread pumps.
struct LiveRegionEvents {
    static int count;
    static HWND banner;
    HWINEVENTHOOK hook;
    LiveRegionEvents(DWORD pid, HWND watched) {
        count = 0;
        banner = watched;
        hook = SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                               on_event, pid, 0, WINEVENT_OUTOFCONTEXT);
    }
    ~LiveRegionEvents() {
        if (hook) UnhookWinEvent(hook);
    }
    static void CALLBACK on_event(HWINEVENTHOOK, DWORD, HWND w, LONG object, LONG child, DWORD, DWORD) {
        if (w == banner && object == OBJID_CLIENT && child == CHILDID_SELF) count++;
    }
    // Pumps this thread's messages (the events arrive as messages) for up to ms, or until one came.
    int wait(DWORD ms, bool until_one) const {
        ULONGLONG end = GetTickCount64() + ms;
        while (GetTickCount64() < end && !(until_one && count > 0)) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(20);
        }
        return count;
    }
};
int LiveRegionEvents::count = 0;
HWND LiveRegionEvents::banner = nullptr;

// The file-name box of the save dialog: the edit inside the file-name combo box (cmb13, which
// may itself hold a plain combo box), or the plain edit (edt1) of the older dialog.
HWND file_name_edit(HWND dialog) {
    HWND combo = GetDlgItem(dialog, 0x47c);
    for (int depth = 0; combo && depth < 2; depth++) {
        HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
        if (edit) return edit;
        combo = FindWindowExW(combo, nullptr, L"ComboBox", nullptr);
    }
    return GetDlgItem(dialog, 0x480);
}

// The pixels of a screen rectangle as the X display shows them.
std::vector<uint32_t> screen_pixels(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<uint32_t> pixels((size_t)width * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    if (bits) memcpy(pixels.data(), bits, pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A control's rectangle on the screen.
RECT screen_rect(HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    return r;
}

// Two printers on FILE: with a driver of their own, for the history to act on.
struct WindowRun : ::testing::Test {
    static void SetUpTestSuite() {
        CreateDirectoryW(L"C:\\vtundo", nullptr);
        ASSERT_TRUE(write_test_file(L"C:\\vtundo\\vtundo.dll", 64));
        ASSERT_TRUE(add_test_driver(kDriver, L"Windows x64", L"C:\\vtundo\\vtundo.dll"));
    }
    static void TearDownTestSuite() { delete_test_driver(kDriver); }
    void SetUp() override {
        delete_settings_key();
        ASSERT_TRUE(add_test_printer(kPrinterA, L"FILE:", kDriver));
        ASSERT_TRUE(add_test_printer(kPrinterB, L"FILE:", kDriver));
    }
    void TearDown() override {
        delete_test_printer(kPrinterA);
        delete_test_printer(kPrinterB);
        delete_settings_key();
    }
};
} // namespace

TEST_F(WindowRun, DemonstrationShowsEveryViewSavesTheReportAndChangesNothing) {
    record_change(OfflineUnticked, kPrinterB, kOfflineB);
    RunningWindow w(L"/demo");
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

    // Each view (command, columns) brings its own caption, columns and rows.
    std::wstring caption = control_text(w.control(103));
    for (auto v : {std::make_pair(208, 7), {209, 4}, {210, 9}, {249, 7}, {207, 4}}) {
        w.send(v.first);
        EXPECT_NE(caption, control_text(w.control(103))) << v.first;
        caption = control_text(w.control(103));
        EXPECT_EQ(v.second, list_column_count(bottom)) << v.first;
        EXPECT_GT(list_row_count(bottom), 0) << v.first;
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

    // Find Printers shows the made-up result in its view and remembers the view; a double-click on
    // a found printer (once the first row is an address, not the searching line) asks with Details
    // and copies the address.
    w.send(207);
    w.send(248);
    EXPECT_EQ(4u, read_setting_dword(L"View", 99));
    ASSERT_TRUE(wait_until(
        [&] {
            return starts_with(control_text(w.control(103)), L"Printers found on the network") &&
                   list_row_count(bottom) > 0 && iswdigit(list_cell(bottom, 0, 0)[0]);
        },
        15000));
    list_select_row(bottom, 0);
    PostMessageW(bottom, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 28));
    HWND box = w.box();
    ASSERT_NE(nullptr, box);
    const std::wstring message = box_message(box), address = clipboard_text();
    EXPECT_FALSE(address.empty());
    EXPECT_EQ(0u, message.find(L"Found on the network\n\nIP address: " + address + L"\n")) << message.c_str();
    EXPECT_NE(std::wstring::npos, message.find(L"and type " + address + L" (copied for you"));
    EXPECT_NE(nullptr, GetDlgItem(box, IDNO)) << "a Yes/No question";
    ASSERT_TRUE(answer_box(box, IDNO));

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

    // Save Report: cancelled, the dialog writes nothing; saved, the file is the whole report in
    // UTF-8 with a byte-order mark and CR LF line ends only.
    const std::wstring path = temp_path(L"vantrel-saved-report.txt");
    DeleteFileW(path.c_str());
    for (int answer : {IDCANCEL, IDOK}) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
        w.post(211);
        HWND dialog = w.box();
        ASSERT_NE(nullptr, dialog);
        HWND edit = file_name_edit(dialog);
        ASSERT_NE(nullptr, edit);
        SendMessageW(edit, WM_SETTEXT, 0, (LPARAM)path.c_str());
        ASSERT_TRUE(answer_box(dialog, answer));
    }
    ASSERT_TRUE(wait_until([&] { return w.status() == L"  Report saved to " + path; }, 15000))
        << w.status().c_str();
    const std::string bytes = read_test_file(path);
    ASSERT_GT(bytes.size(), 3u);
    EXPECT_EQ("\xEF\xBB\xBF", bytes.substr(0, 3));
    for (size_t i = 0; i < bytes.size(); i++)
        ASSERT_FALSE(bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) << "a bare line feed at " << i;
    const std::wstring text = from_utf8(bytes.substr(3));
    EXPECT_TRUE(starts_with(text, L"VANTREL REPORT (DEMO DATA) \x2014 ")) << text.substr(0, 80).c_str();
    EXPECT_NE(std::wstring::npos, text.find(L"Service Drive - HP LaserJet Pro M404"));
    const std::wstring end = L"\r\n--- end of report ---\r\n";
    ASSERT_GT(text.size(), end.size());
    EXPECT_EQ(end, text.substr(text.size() - end.size()));

    // Saved over a report on a full disk: Windows' own reason in a warning, the old report kept.
    {
        const std::wstring kept = path_from_environment(L"VANTREL_SMALL_DISK") + L"\\kept.txt";
        ASSERT_TRUE(write_test_file(kept, 1000));
        FullDisk full(0);
        ASSERT_TRUE(full.full);
        w.post(211);
        HWND dialog = w.box();
        ASSERT_NE(nullptr, dialog);
        SendMessageW(file_name_edit(dialog), WM_SETTEXT, 0, (LPARAM)kept.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        // Windows asks whether to replace the file (a second box beside the dialog); then the warning.
        HWND replace = nullptr;
        auto second_box = [&] {
            DWORD owner = 0;
            while ((replace = FindWindowExW(nullptr, replace, L"#32770", nullptr)) != nullptr)
                if (replace != dialog && GetWindowThreadProcessId(replace, &owner) && owner == w.pid &&
                    IsWindowVisible(replace))
                    return true;
            return false;
        };
        ASSERT_TRUE(wait_until(second_box, 15000));
        ASSERT_TRUE(answer_box(replace, IDYES));
        ASSERT_TRUE(wait_until([&] { return !IsWindow(dialog); }, 10000));
        HWND warning = w.box();
        const std::wstring message = box_message(warning);
        ASSERT_TRUE(answer_box(warning, IDOK));
        wchar_t said[300] = L"";
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_DISK_FULL,
                       0, said, 300, nullptr);
        EXPECT_EQ(0u, message.find(L"The report could not be saved to " + kept)) << message.c_str();
        EXPECT_NE(std::wstring::npos,
                  message.find(L"Windows said: " + std::wstring(said, wcscspn(said, L"\r\n"))))
            << message.c_str();
        EXPECT_NE(std::wstring::npos, message.find(L" (error 112)"));
        EXPECT_EQ(1000u, read_test_file(kept).size());
        EXPECT_EQ(0, full.temporary_files());
        EXPECT_NE(L"  Report saved to " + kept, w.status());
        DeleteFileW(kept.c_str());
    }

    // History & Undo shows the real PC's history but puts nothing back.
    HWND undo = w.open_undo();
    ASSERT_NE(nullptr, undo);
    HWND list = GetDlgItem(undo, 170);
    ASSERT_EQ(1, list_row_count(list));
    list_set_checked(list, 0, true);
    EXPECT_EQ(VANTREL_DEMO_MESSAGE, w.click_undo(undo));
    EXPECT_FALSE(is_offline(kPrinterB));
    EXPECT_EQ(kOfflineB, list_cell(list, 0, 1));
    PostMessageW(undo, WM_COMMAND, 173, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo); }, 5000));

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

TEST_F(WindowRun, OnTheTestPcEveryPrinterIsListedAndRecordedChangesArePutBack) {
    // "Use Printer Offline" on A, to be found and fixed; a printer on FILE: counts as one of
    // Windows' own, so have it checked like any other.
    ASSERT_EQ(0u, run_task_command(L"offline", kPrinterA));
    ASSERT_TRUE(is_offline(kPrinterA));
    ASSERT_TRUE(set_reg_dword(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, L"CheckVirtual", 1));
    RunningWindow w(L"/scanrange 127.0.0.1/32");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    std::string buffer(needed ? needed : 1, '\0');
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, (BYTE*)buffer.data(), needed,
                  &needed, &count);
    HWND printers = w.control(102);
    EXPECT_EQ((int)count, list_row_count(printers));
    EXPECT_EQ(std::wstring::npos, control_text(w.control(100)).find(L"DEMO")) << "a real check is never demo";

    // An empty history says so; the window is owned by the main window, which waits, and centred
    // across it, every control whole inside; Undo with nothing ticked explains; closing gives the
    // main window back.
    HWND undo = w.open_undo();
    ASSERT_NE(nullptr, undo);
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(w.window); }, 5000)) << "the main window waits";
    EXPECT_EQ(0, list_row_count(GetDlgItem(undo, 170)));
    wchar_t none[200];
    undo_count_line(0, none, _countof(none));
    EXPECT_EQ(none, control_text(GetDlgItem(undo, 271)));
    RECT outer, main, client;
    GetWindowRect(undo, &outer);
    GetWindowRect(w.window, &main);
    GetClientRect(undo, &client);
    EXPECT_TRUE(w.window == GetWindow(undo, GW_OWNER) &&
                abs((outer.left + outer.right) - (main.left + main.right)) <= 1 && outer.top > main.top);
    for (int id : {171, 170, 271, 172, 173}) {
        RECT r, inside;
        GetWindowRect(GetDlgItem(undo, id), &r);
        MapWindowPoints(nullptr, undo, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.right > r.left && r.bottom > r.top && IntersectRect(&inside, &r, &client) &&
                    EqualRect(&inside, &r))
            << id;
    }
    EXPECT_EQ(summary({0, 0, 0, 0}), w.click_undo(undo));
    PostMessageW(undo, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo) && IsWindowEnabled(w.window); }, 5000));

    // Fix This on printer A asks, and switches "Use Printer Offline" off.
    int row = -1;
    ASSERT_TRUE(wait_until(
        [&] {
            for (int i = 0; i < list_row_count(printers); i++)
                if (starts_with(list_cell(printers, i, 0), kPrinterA)) row = i;
            return row >= 0;
        },
        15000));
    list_select_row(printers, row);
    LiveRegionEvents live(w.pid, w.control(100));
    ASSERT_NE(nullptr, live.hook);
    w.post(203);
    HWND box = w.box();
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::wstring::npos, box_message(box).find(L"Use Printer Offline")) << box_message(box);
    ASSERT_NE(nullptr, GetDlgItem(box, IDYES)) << box_message(box);
    ASSERT_TRUE(answer_box(box, IDYES));
    ASSERT_TRUE(wait_until([&] { return !is_offline(kPrinterA); }, 20000));
    // The check that follows takes the status line back; the outcome stays readable beside it.
    HWND bar = w.control(IdStatusBar);
    const std::wstring done = L"Done: Switched off \"Use Printer Offline\" for \"Undo Printer A\"";
    EXPECT_TRUE(wait_until([&] { return w.status().rfind(L"  Checked at ", 0) == 0; }, 20000));
    Sleep(3000);
    EXPECT_NE(std::wstring::npos, status_part_text(bar, 1).find(done)) << status_part_text(bar, 1).c_str();
    EXPECT_EQ(0u, w.status().rfind(L"  Checked at ", 0)) << w.status().c_str();
    // The banner is a live region: the verdict that follows the fix is announced.
    EXPECT_GE(live.wait(30000, true), 1) << control_text(w.control(100));

    // What earlier runs did after that: B was made the default instead of A, and "Use Printer
    // Offline" was switched off for B and for a printer that has since been removed.
    ASSERT_TRUE(SetDefaultPrinterW(kPrinterB));
    const wchar_t* made_default = L"Made \"Undo Printer B\" the default printer (it was \"Undo Printer A\")";
    const wchar_t* offline_a = L"Switched off \"Use Printer Offline\" for \"Undo Printer A\"";
    record_change(NothingToPutBack, L"", L"Restarted the Print Spooler service");
    record_change(DefaultPrinterSet, kPrinterA, made_default);
    record_change(OfflineUnticked, L"Removed Printer",
                  L"Switched off \"Use Printer Offline\" for \"Removed Printer\"");
    record_change(OfflineUnticked, kPrinterB, kOfflineB);
    ASSERT_FALSE(is_offline(kPrinterB));

    undo = w.open_undo();
    ASSERT_NE(nullptr, undo);
    HWND list = GetDlgItem(undo, 170);
    ASSERT_EQ(5, list_row_count(list));
    EXPECT_EQ(kOfflineB, list_cell(list, 0, 1)) << "newest first";
    EXPECT_EQ(undo_column_text(2), list_cell(list, 0, 2));
    EXPECT_EQ(offline_a, list_cell(list, 4, 1)) << "the fix was recorded";
    EXPECT_FALSE(list_is_checked(list, 0)) << "rows start unticked";
    for (int ticked : {0, 1, 2, 4})
        list_set_checked(list, ticked, true);
    EXPECT_EQ(summary({4, 3, 1, 0}), w.click_undo(undo));

    EXPECT_TRUE(is_offline(kPrinterA) && is_offline(kPrinterB)) << "\"Use Printer Offline\" is on again";
    EXPECT_EQ(kPrinterA, default_printer()) << "the earlier default is back";
    ASSERT_EQ(5, list_row_count(list));
    EXPECT_EQ(undid(offline_a), list_cell(list, 0, 1));
    EXPECT_EQ(undid(made_default), list_cell(list, 1, 1));
    EXPECT_EQ(undid(kOfflineB), list_cell(list, 2, 1));
    EXPECT_EQ(L"Switched off \"Use Printer Offline\" for \"Removed Printer\"", list_cell(list, 3, 1))
        << "a failed undo keeps its record";
    EXPECT_FALSE(list_is_checked(list, 3)) << "the ticks go with the refill";

    // Esc (IDCANCEL) closes it; the main window is back.
    PostMessageW(undo, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo) && IsWindowEnabled(w.window); }, 5000));

    // Both printers are offline again, each with its finding below. A printer command acts on the
    // row the user touched last, in whichever list, and its question names that printer.
    HWND bottom = w.control(IdBottomList);
    auto row_of = [](HWND list, int column, const wchar_t* printer) {
        for (int i = 0; i < list_row_count(list); i++)
            if (starts_with(list_cell(list, i, column), printer)) return i;
        return -1;
    };
    w.send(CmdCheckNow);
    ASSERT_TRUE(wait_until(
        [&] { return row_of(bottom, 1, kPrinterB) >= 0 && row_of(printers, 0, kPrinterA) >= 0; }, 20000));
    auto cancel_all_asks_about = [&](const wchar_t* printer) {
        w.post(CmdCancelAllJobs);
        HWND asked = w.box();
        const std::wstring message = asked ? box_message(asked) : L"";
        EXPECT_TRUE(asked && answer_box(asked, IDCANCEL));
        return message.find(std::wstring(L"\"") + printer + L"\"") != std::wstring::npos;
    };
    list_click_row(bottom, row_of(bottom, 1, kPrinterB));
    EXPECT_TRUE(cancel_all_asks_about(kPrinterB));
    list_click_row(printers, row_of(printers, 0, kPrinterA));
    EXPECT_TRUE(cancel_all_asks_about(kPrinterA)) << "the printer list was touched last";
    list_click_row(bottom, row_of(bottom, 1, kPrinterB));
    EXPECT_TRUE(cancel_all_asks_about(kPrinterB));
}

// Run by the ui_small_screen test on a 1600 x 1000 screen at 150 % (144 DPI), where the window's
// 2040 x 1320 and minimum 1680 x 1050 would not fit: the window and its status bar lie inside the
// work area and the minimum size is capped to it.
TEST_F(WindowRun, SmallScreenTheWholeWindowFitsAt150Percent) {
    if (GetSystemMetrics(SM_CXSCREEN) != 1600 || GetSystemMetrics(SM_CYSCREEN) != 1000)
        GTEST_SKIP() << "runs on the 1600 x 1000 screen of ui_small_screen";
    use_physical_pixels();
    RunningWindow w(L"/demo");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT outer = screen_rect(w.window), status = screen_rect(w.control(IdStatusBar)), inside;
    EXPECT_TRUE(IntersectRect(&inside, &outer, &work) && EqualRect(&inside, &outer))
        << outer.left << "," << outer.top << " - " << outer.right << "," << outer.bottom;
    EXPECT_TRUE(IntersectRect(&inside, &status, &outer) && EqualRect(&inside, &status) &&
                status.bottom <= work.bottom);
    EXPECT_GT(outer.right - outer.left, (work.right - work.left) * 9 / 10) << "it still uses the screen";
    RECT banner = screen_rect(w.control(IdBanner));
    EXPECT_EQ(66, banner.bottom - banner.top) << "drawn at 144 DPI";
    // Made as small as it goes, it stays as large as the work area allows and no larger.
    SetWindowPos(w.window, nullptr, 0, 0, 200, 200, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    outer = screen_rect(w.window);
    EXPECT_LE(outer.right - outer.left, work.right - work.left);
    EXPECT_GE(outer.right - outer.left, std::min<LONG>(1600, work.right - work.left) - 1);
}

TEST_F(WindowRun, FitsTheScreenAtAnyScaleAndLeavesNothingStaleAfterAResize) {
    use_physical_pixels();
    RunningWindow w(L"/demo");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    SetCursorPos(2, 2); // no tooltip or hot button in the pictures
    // Resized a few times, the window shows what a fresh paint of the same size shows.
    for (SIZE size : {SIZE{1700, 1150}, SIZE{1120, 700}, SIZE{1500, 950}}) {
        SetWindowPos(w.window, nullptr, 60, 40, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        Sleep(150);
    }
    Sleep(1500);
    RECT area = screen_rect(w.window);
    area.bottom = screen_rect(w.control(IdStatusBar)).top; // the clock there may tick between pictures
    const std::vector<uint32_t> after_resize = screen_pixels(area);
    RedrawWindow(w.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    Sleep(1500);
    const std::vector<uint32_t> fresh = screen_pixels(area);
    size_t differ = 0;
    for (size_t i = 0; i < fresh.size(); i++)
        differ += (fresh[i] & 0xFFFFFF) != (after_resize[i] & 0xFFFFFF);
    EXPECT_EQ(0u, differ) << "stale pixels after the resize";

    // Moved to a 150 % monitor: the window takes the suggested rectangle and lays itself out again
    // at the new scale (the rectangle lives in its process, as Windows' own would).
    HWND printers = w.control(IdPrinterList);
    const int column = (int)SendMessageW(printers, LVM_GETCOLUMNWIDTH, 0, 0);
    DWORD pid = 0;
    GetWindowThreadProcessId(w.window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    ASSERT_NE(nullptr, process);
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const RECT suggested = {30, 20, 30 + 2040, 20 + 1320};
    ASSERT_TRUE(remote && WriteProcessMemory(process, remote, &suggested, sizeof(suggested), nullptr));
    SendMessageW(w.window, WM_DPICHANGED, MAKEWPARAM(144, 144), (LPARAM)remote);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    RECT now = screen_rect(w.window);
    EXPECT_TRUE(EqualRect(&now, &suggested))
        << now.left << "," << now.top << "," << now.right << "," << now.bottom;
    RECT banner = screen_rect(w.control(IdBanner));
    EXPECT_EQ(66, banner.bottom - banner.top) << "44 at 96 DPI";
    RECT ribbon = screen_rect(FindWindowExW(w.window, nullptr, L"NSRibbon", nullptr));
    EXPECT_EQ(194, ribbon.bottom - ribbon.top) << "30 + 98 + 1 at 96 DPI, each scaled";
    EXPECT_EQ(ribbon.bottom + 12, banner.top);
    EXPECT_NEAR(column * 3 / 2, (int)SendMessageW(printers, LVM_GETCOLUMNWIDTH, 0, 0), 1);
}

namespace {
// Keys typed as a user types them: real input (SendInput) into the foreground window, which is the
// running Vantrel; modifiers go down first and come up last.
void type_keys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> in;
    for (WORD k : keys) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        in.push_back(i);
    }
    for (auto k = keys.end(); k != keys.begin();) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *--k;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        in.push_back(i);
    }
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
    Sleep(150);
}

// With VANTREL_SHOT_DIR set (tools/screenshots of the keyboard), names the moment for a screenshot
// taken from outside by writing NAME.ready there, and waits (bounded) until it is taken.
void shot_point(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(L"VANTREL_SHOT_DIR", dir, MAX_PATH)) return;
    const std::wstring ready = std::wstring(dir) + L"\\" + name + L".ready";
    write_test_file(ready, 1);
    wait_until([&] { return GetFileAttributesW(ready.c_str()) == INVALID_FILE_ATTRIBUTES; }, 15000);
}

HWND focus_of(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

HWND visible_menu() {
    HWND menu = nullptr;
    wait_until([&] { return (menu = FindWindowW(L"#32768", nullptr)) && IsWindowVisible(menu); }, 3000);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// The ribbon's layout as the running window made it: the same message font at 96 DPI.
RibbonLayout ribbon_layout_in(HWND ribbon, int tab, RibbonFlags flags) {
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    HFONT font = CreateFontIndirectW(&ncm.lfMessageFont);
    const RibbonLayout l = ribbon_layout_with(ribbon, font, tab, flags, L"Vantrel v" VANTREL_VERSION_TEXT);
    DeleteObject(font);
    return l;
}
} // namespace

TEST_F(WindowRun, TheKeyboardAloneReachesEveryCommandAtTheSmallestSize) {
    ASSERT_TRUE(set_reg_dword(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, L"ExpertTools", 1));
    RunningWindow w(L"/demo");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    SetWindowPos(w.window, nullptr, 0, 0, 1120, 700, SWP_NOMOVE | SWP_NOZORDER);
    SetForegroundWindow(w.window);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == w.window; }, 5000));
    HWND ribbon = FindWindowExW(w.window, nullptr, L"NSRibbon", nullptr);
    ASSERT_NE(nullptr, ribbon);
    // Asked from another process, the ribbon answers with an accessible object of its own (Wine cannot
    // hand the object itself across; ui_parts_tests reads it).
    DWORD_PTR object = 0;
    SendMessageTimeoutW(ribbon, WM_GETOBJECT, 0, (LPARAM)OBJID_CLIENT, SMTO_ABORTIFHUNG, 5000, &object);
    EXPECT_NE(0u, object);

    // Alt, then T: the Tools tab, with its key tips on the buttons.
    type_keys({VK_MENU});
    EXPECT_TRUE(wait_until([&] { return focus_of(w.window) == ribbon; }, 3000))
        << "Alt gives the ribbon the focus";
    type_keys({'T'});
    const RibbonFlags flags = {1, 0, 0, 0};
    const RibbonLayout l = ribbon_layout_in(ribbon, kRibbonTabTools, flags);
    RECT client;
    GetClientRect(ribbon, &client);
    // Every Tools command is a button inside the ribbon or an item of a collapsed group's menu.
    int collapsed = -1, reachable = 0;
    for (int32_t i = 0; i < l.buttonCount; i++) {
        EXPECT_LE(l.buttons[i].rect.right, client.right) << i;
        if (l.buttons[i].menu) collapsed = i;
        reachable += l.buttons[i].menu ? l.buttons[i].menu->buttonCount : 1;
    }
    int all = 0;
    for (int32_t g = 0; g < kRibbonTabs[kRibbonTabTools].groupCount; g++)
        all += kRibbonTabs[kRibbonTabTools].groups[g].buttonCount;
    EXPECT_EQ(all, reachable);
    ASSERT_GE(collapsed, 0) << "at 1120 pixels the Advanced group is collapsed";
    RibbonTips tips;
    ribbon_tips_of(&l, &flags, &tips);

    // The collapsed group's letter opens its menu; the letter of Remove Printer runs it, which asks
    // for a printer first.
    shot_point(L"ribbon-key-tips");
    type_keys({(WORD)tips.buttons[collapsed]});
    HWND menu = visible_menu();
    shot_point(L"ribbon-menu");
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(L"Advanced (selected printer)", control_text(ribbon)) << "the focus is on the group's button";
    type_keys({'R'});
    HWND box = w.box();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(VANTREL_PICK_PRINTER_MESSAGE, box_message(box));
    ASSERT_TRUE(answer_box(box, IDOK));

    // By mouse: a click on the collapsed group's button opens the same menu.
    const RibbonRect& r = l.buttons[collapsed].rect;
    const LPARAM middle = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(ribbon, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(ribbon, WM_LBUTTONUP, 0, middle);
    menu = visible_menu();
    ASSERT_NE(nullptr, menu);
    type_keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(menu); }, 3000));

    // The printer list: Ctrl+C copies the row, Shift+F10 opens its menu at the row, Enter opens
    // Details, whose text Tab reaches and Esc closes.
    ribbon_wheel(w.window, -1); // back to Home: the lists
    HWND printers = w.control(102);
    list_click_row(printers, 0);
    ASSERT_TRUE(
        wait_until([&] { return focus_of(w.window) == printers && list_selected_row(printers) == 0; }, 3000));
    type_keys({VK_CONTROL, 'C'});
    std::wstring row;
    for (int c = 0; c < list_column_count(printers); c++)
        row += (c ? L"\t" : L"") + list_cell(printers, 0, c);
    EXPECT_TRUE(wait_until([&] { return clipboard_text() == row; }, 3000)) << clipboard_text().c_str();

    type_keys({VK_SHIFT, VK_F10});
    menu = visible_menu();
    ASSERT_NE(nullptr, menu);
    RECT at, list;
    GetWindowRect(menu, &at);
    GetWindowRect(printers, &list);
    EXPECT_TRUE(at.top > list.top && at.top < list.top + 80 && at.left < list.left + 120)
        << "the menu opens at the row, not at the mouse: " << at.left << "," << at.top;
    type_keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(menu); }, 3000));
    type_keys({VK_APPS});
    menu = visible_menu();
    EXPECT_NE(nullptr, menu) << "the context-menu key";
    if (menu) type_keys({VK_ESCAPE});

    type_keys({VK_RETURN});
    HWND notes = wait_for_window(w.pid, L"NSNotes", 5000);
    ASSERT_NE(nullptr, notes) << "Enter on a printer opens Details";
    EXPECT_NE(std::wstring::npos, control_text(notes).find(L"Printer details"));
    HWND text = GetDlgItem(notes, IdNotesText);
    EXPECT_EQ(GetDlgItem(notes, IdNotesClose), focus_of(notes));
    type_keys({VK_TAB});
    EXPECT_TRUE(wait_until([&] { return focus_of(notes) == text; }, 3000)) << "Tab reaches the text";
    type_keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return !IsWindow(notes); }, 3000)) << "Esc closes Details";

    // F1 opens How to Use; F5 checks again.
    SetForegroundWindow(w.window);
    type_keys({VK_F1});
    notes = wait_for_window(w.pid, L"NSNotes", 5000);
    ASSERT_NE(nullptr, notes);
    EXPECT_NE(std::wstring::npos, control_text(notes).find(L"How to use")) << control_text(notes).c_str();
    type_keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return !IsWindow(notes); }, 3000));
    // Alt and Esc twice: the key tips come and go, and the focus goes back to the list.
    SetForegroundWindow(w.window);
    list_click_row(printers, 0);
    ASSERT_TRUE(wait_until([&] { return focus_of(w.window) == printers; }, 3000));
    type_keys({VK_MENU});
    EXPECT_TRUE(wait_until([&] { return focus_of(w.window) == ribbon; }, 3000));
    type_keys({VK_ESCAPE});
    type_keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return focus_of(w.window) == printers; }, 3000))
        << "Esc gives the focus back";

    // Enter on a row of the Problems list does what a double-click does: that finding's Fix This.
    HWND bottom = w.control(104);
    list_click_row(bottom, 0);
    ASSERT_TRUE(
        wait_until([&] { return focus_of(w.window) == bottom && list_selected_row(bottom) == 0; }, 3000));
    type_keys({VK_RETURN});
    box = w.box();
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::wstring::npos, box_message(box).find(list_cell(bottom, 0, 2))) << box_message(box).c_str();
    ASSERT_TRUE(answer_box(box, GetDlgItem(box, IDCANCEL) ? IDCANCEL : GetDlgItem(box, IDNO) ? IDNO : IDOK));

    // F5 checks again; the same verdict is not announced again.
    SetForegroundWindow(w.window);
    const std::wstring before = w.status();
    LiveRegionEvents live(w.pid, w.control(100));
    Sleep(1100);
    type_keys({VK_F5});
    EXPECT_TRUE(wait_until([&] { return w.status() != before; }, 10000)) << before.c_str();
    EXPECT_EQ(0, live.wait(1000, false)) << "an unchanged verdict is not announced";
}
