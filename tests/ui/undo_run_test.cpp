// History & Undo in the real Vantrel.exe, driven as a user would: the history is written into the
// registry first, rows are ticked, and every message box is found and answered.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdlib>
#include <string>

#include "core/settings.h"
#include "fixes/tasks.h"
#include "history/changes.h"
#include "tests/support/remote_controls.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "tests/ui/undo_support.h"

namespace {
const wchar_t* kDriver = L"Vantrel Undo PCL 6";
const wchar_t* kPrinterA = L"Undo Printer A";
const wchar_t* kPrinterB = L"Undo Printer B";
const wchar_t* kYes = L"Yes \x2014 tick it and click Undo";

struct RunningWindow : VantrelWindow {
    using VantrelWindow::VantrelWindow;
    HWND open_undo() const {
        post(213);
        return wait_for_titled_window(pid, L"NSUndo", L"Vantrel \x2014 History & Undo", 10000);
    }
    // Clicks Undo and answers the box that follows; its message ("" when none came).
    std::wstring click_undo(HWND undo, const wchar_t* title = L"History & Undo") const {
        PostMessageW(undo, WM_COMMAND, 172, 0);
        HWND b = box(title);
        std::wstring message = b ? box_message(b) : L"";
        if (b) {
            EXPECT_EQ(undo, GetWindow(b, GW_OWNER)) << "the box belongs to the History & Undo window";
            EXPECT_TRUE(answer_box(b, IDOK));
        }
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

struct UndoWindowRun : ::testing::Test {
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

TEST_F(UndoWindowRun, ListsTheHistoryPutsTickedChangesBackAndRecordsTheUndo) {
    // What earlier runs did: B was made the default instead of A, and "Use Printer Offline" was
    // switched off for B and for a printer that has since been removed.
    ASSERT_TRUE(SetDefaultPrinterW(kPrinterB));
    record_change(0, L"", L"Restarted the Print Spooler service");
    record_change(6, kPrinterA, L"Made \"Undo Printer B\" the default printer (it was \"Undo Printer A\")");
    record_change(2, L"Removed Printer", L"Switched off \"Use Printer Offline\" for \"Removed Printer\"");
    record_change(2, kPrinterB, L"Switched off \"Use Printer Offline\" for \"Undo Printer B\"");
    ASSERT_FALSE(is_offline(kPrinterB));

    RunningWindow w(L"/scanrange 127.0.0.1/32");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    HWND undo = w.open_undo();
    ASSERT_NE(nullptr, undo);
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(w.window); }, 5000)) << "the main window waits";

    HWND list = GetDlgItem(undo, 170);
    ASSERT_EQ(4, list_row_count(list));
    EXPECT_EQ(L"Switched off \"Use Printer Offline\" for \"Undo Printer B\"", list_cell(list, 0, 1))
        << "newest first";
    EXPECT_EQ(kYes, list_cell(list, 0, 2));
    EXPECT_FALSE(list_is_checked(list, 0)) << "rows start unticked";

    // The printer B row, the removed printer's row and the default-printer row.
    list_set_checked(list, 0, true);
    list_set_checked(list, 1, true);
    list_set_checked(list, 2, true);
    EXPECT_EQ(
        L"2 changes put back; 1 could not be (the printer or port may no longer exist, or administrator "
        L"permission was refused).",
        w.click_undo(undo));

    EXPECT_TRUE(is_offline(kPrinterB)) << "\"Use Printer Offline\" is ticked again";
    EXPECT_EQ(kPrinterA, default_printer()) << "the earlier default is back";
    ASSERT_EQ(4, list_row_count(list));
    EXPECT_EQ(L"Undid: Made \"Undo Printer B\" the default printer (it was \"Undo Printer A\")",
              list_cell(list, 0, 1));
    EXPECT_EQ(L"Undid: Switched off \"Use Printer Offline\" for \"Undo Printer B\"", list_cell(list, 1, 1));
    EXPECT_EQ(L"Switched off \"Use Printer Offline\" for \"Removed Printer\"", list_cell(list, 2, 1))
        << "a failed undo keeps its record";
    EXPECT_EQ(kYes, list_cell(list, 2, 2));
    EXPECT_FALSE(list_is_checked(list, 2)) << "the ticks go with the refill";

    // Esc (IDCANCEL) closes it; the main window is back.
    PostMessageW(undo, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo); }, 5000));
    EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(w.window) != 0; }, 5000));
}

TEST_F(UndoWindowRun, AnEmptyHistorySaysSo) {
    RunningWindow w(L"/scanrange 127.0.0.1/32");
    ASSERT_NE(nullptr, w.window);
    HWND undo = w.open_undo();
    ASSERT_NE(nullptr, undo);
    EXPECT_EQ(0, list_row_count(GetDlgItem(undo, 170)));
    EXPECT_EQ(L"Vantrel has not changed anything on this PC yet.", control_text(GetDlgItem(undo, 271)));

    // Owned by the main window and centred across it; every control lies whole inside the client area.
    RECT outer, main, client;
    GetWindowRect(undo, &outer);
    GetWindowRect(w.window, &main);
    GetClientRect(undo, &client);
    EXPECT_TRUE(w.window == GetWindow(undo, GW_OWNER) &&
                abs((outer.left + outer.right) - (main.left + main.right)) <= 1 && outer.top > main.top);
    const int ids[] = {171, 170, 271, 172, 173};
    bool laid_out = true;
    for (int id : ids) {
        RECT r;
        GetWindowRect(GetDlgItem(undo, id), &r);
        MapWindowPoints(nullptr, undo, reinterpret_cast<POINT*>(&r), 2);
        RECT inside;
        laid_out &= r.right > r.left && r.bottom > r.top && IntersectRect(&inside, &r, &client) &&
                    EqualRect(&inside, &r);
    }
    EXPECT_TRUE(laid_out);

    EXPECT_EQ(L"Tick the box at the start of each change you want to put back, then click Undo.",
              w.click_undo(undo));
    PostMessageW(undo, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(w.window));
}

TEST_F(UndoWindowRun, TheDemonstrationPutsNothingBack) {
    record_change(2, kPrinterB, L"Switched off \"Use Printer Offline\" for \"Undo Printer B\"");
    RunningWindow w(L"/demo");
    ASSERT_NE(nullptr, w.window);
    HWND undo = w.open_undo();
    ASSERT_NE(nullptr, undo);
    HWND list = GetDlgItem(undo, 170);
    ASSERT_EQ(1, list_row_count(list));
    list_set_checked(list, 0, true);
    const std::wstring message = w.click_undo(undo, L"Vantrel");
    EXPECT_EQ(0u, message.find(L"Vantrel is showing made-up demonstration printers")) << message;
    EXPECT_FALSE(is_offline(kPrinterB));
    EXPECT_EQ(L"Switched off \"Use Printer Offline\" for \"Undo Printer B\"", list_cell(list, 0, 1));
    PostMessageW(undo, WM_COMMAND, 173, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo); }, 5000));
}

// The whole road on the test PC: a real finding, fixed from Fix This, recorded, and put back.
TEST_F(UndoWindowRun, AFixFromFixThisIsRecordedAndPutBack) {
    ASSERT_EQ(0u, run_task(L"offline", kPrinterA));
    ASSERT_TRUE(is_offline(kPrinterA));
    // A printer on FILE: counts as one of Windows' own; have it checked like any other.
    ASSERT_TRUE(set_reg_dword(HKEY_CURRENT_USER, VANTREL_SETTINGS_KEY, L"CheckVirtual", 1));

    RunningWindow w(L"/scanrange 127.0.0.1/32");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    HWND printers = w.control(102);
    int row = -1;
    ASSERT_TRUE(wait_until(
        [&] {
            for (int i = 0; i < list_row_count(printers); i++)
                if (list_cell(printers, i, 0).rfind(kPrinterA, 0) == 0) row = i;
            return row >= 0;
        },
        15000));
    list_select_row(printers, row);

    w.post(203);
    HWND box = w.box(nullptr);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::wstring::npos, box_message(box).find(L"Use Printer Offline")) << box_message(box);
    ASSERT_NE(nullptr, GetDlgItem(box, IDYES)) << box_message(box);
    ASSERT_TRUE(answer_box(box, IDYES));
    ASSERT_TRUE(wait_until([&] { return !is_offline(kPrinterA); }, 20000));
    // Recorded, and listed with an undo.
    HWND undo = w.open_undo();
    ASSERT_NE(nullptr, undo);
    HWND list = GetDlgItem(undo, 170);
    ASSERT_EQ(1, list_row_count(list));
    EXPECT_EQ(L"Switched off \"Use Printer Offline\" for \"Undo Printer A\"", list_cell(list, 0, 1));
    list_set_checked(list, 0, true);
    EXPECT_EQ(L"1 change put back.", w.click_undo(undo));
    EXPECT_TRUE(is_offline(kPrinterA)) << "\"Use Printer Offline\" is on again, as it was";
    ASSERT_EQ(1, list_row_count(list));
    EXPECT_EQ(L"Undid: Switched off \"Use Printer Offline\" for \"Undo Printer A\"", list_cell(list, 0, 1));
    PostMessageW(undo, WM_COMMAND, 173, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo); }, 5000));
}
