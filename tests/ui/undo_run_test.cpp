// History & Undo, Save Report and Details in the real Vantrel.exe, driven from this process as a
// user would: the change history is written into the registry first, the window is opened by its
// command, rows are ticked, and every message box and the save dialog are found and answered.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <memory>
#include <string>

#include "core/settings.h"
#include "fixes/tasks.h"
#include "history/changes.h"
#include "tests/support/remote_controls.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "tests/ui/undo_support.h"

namespace {
const wchar_t* kBox = L"#32770";
const wchar_t* kDriver = L"Vantrel Undo PCL 6";
const wchar_t* kPrinterA = L"Undo Printer A";
const wchar_t* kPrinterB = L"Undo Printer B";
const wchar_t* kYes = L"Yes \x2014 tick it and click Undo";

struct RunningWindow {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;
    explicit RunningWindow(const std::wstring& arguments) {
        process = start_vantrel(arguments, &pid);
        if (process) window = wait_for_window(pid, L"CorvalenVantrel", 30000);
    }
    ~RunningWindow() {
        // A box left open by a failed expectation would keep the window from closing.
        for (int i = 0; i < 5; i++) {
            HWND box = wait_for_titled_window(pid, kBox, nullptr, 0);
            if (!box) break;
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            Sleep(200);
        }
        close_and_wait(window, process, 10000);
    }
    void post(int id) const { PostMessageW(window, WM_COMMAND, id, 0); }
    std::wstring status() const { return control_text(GetDlgItem(window, 105)); }
    bool checked() const {
        return wait_until([&] { return status().rfind(L"  Checked at ", 0) == 0; }, 60000);
    }
    HWND box(const wchar_t* title) const { return wait_for_titled_window(pid, kBox, title, 15000); }
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

    w.post(213);
    HWND undo = wait_for_titled_window(w.pid, L"NSUndo", L"Vantrel \x2014 History & Undo", 10000);
    ASSERT_NE(nullptr, undo);
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(w.window); }, 5000)) << "the main window waits";
    w.post(213);
    Sleep(500);
    EXPECT_EQ(1, count_windows(w.pid, L"NSUndo")) << "a second open brings the first forward";

    HWND list = GetDlgItem(undo, 170);
    ASSERT_EQ(4, list_row_count(list));
    EXPECT_EQ(L"When", list_header(list, 0));
    EXPECT_EQ(L"What Vantrel changed", list_header(list, 1));
    EXPECT_EQ(L"Can it be undone?", list_header(list, 2));
    EXPECT_EQ(L"Switched off \"Use Printer Offline\" for \"Undo Printer B\"", list_cell(list, 0, 1));
    EXPECT_EQ(kYes, list_cell(list, 0, 2));
    EXPECT_EQ(L"Restarted the Print Spooler service", list_cell(list, 3, 1));
    EXPECT_EQ(L"Nothing to put back", list_cell(list, 3, 2));
    EXPECT_EQ(L"4 changes recorded. Newest first.", control_text(GetDlgItem(undo, 271)));
    EXPECT_EQ(L"Undo ticked changes", control_text(GetDlgItem(undo, 172)));
    EXPECT_FALSE(list_is_checked(list, 0)) << "rows start unticked";

    // Nothing ticked: the box says how.
    PostMessageW(undo, WM_COMMAND, 172, 0);
    HWND box = w.box(L"History & Undo");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Tick the box at the start of each change you want to put back, then click Undo.",
              box_message(box));
    EXPECT_EQ(undo, GetWindow(box, GW_OWNER)) << "the summary belongs to the History & Undo window";
    ASSERT_TRUE(answer_box(box, IDOK));

    // Only a nothing-to-put-back row ticked.
    list_set_checked(list, 3, true);
    ASSERT_TRUE(list_is_checked(list, 3));
    PostMessageW(undo, WM_COMMAND, 172, 0);
    box = w.box(L"History & Undo");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"The ticked rows have nothing to put back (they only cleared something away).",
              box_message(box));
    ASSERT_TRUE(answer_box(box, IDOK));
    EXPECT_EQ(4, list_row_count(list));

    // The printer B row, the removed printer's row and the default-printer row.
    list_set_checked(list, 0, true);
    list_set_checked(list, 1, true);
    list_set_checked(list, 2, true);
    PostMessageW(undo, WM_COMMAND, 172, 0);
    box = w.box(L"History & Undo");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(
        L"2 changes put back; 1 could not be (the printer or port may no longer exist, or administrator "
        L"permission was refused).",
        box_message(box));
    ASSERT_TRUE(answer_box(box, IDOK));

    EXPECT_TRUE(is_offline(kPrinterB)) << "\"Use Printer Offline\" is ticked again";
    EXPECT_EQ(kPrinterA, default_printer()) << "the earlier default is back";
    ASSERT_EQ(4, list_row_count(list));
    EXPECT_EQ(L"Undid: Made \"Undo Printer B\" the default printer (it was \"Undo Printer A\")",
              list_cell(list, 0, 1));
    EXPECT_EQ(L"Nothing to put back", list_cell(list, 0, 2));
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
    w.post(213);
    HWND undo = wait_for_titled_window(w.pid, L"NSUndo", nullptr, 10000);
    ASSERT_NE(nullptr, undo);
    EXPECT_EQ(0, list_row_count(GetDlgItem(undo, 170)));

    // Size and place: centred on the main window, 70 below its top; the controls laid out on the
    // client area.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    auto s = [dpi](int v) { return MulDiv(v, dpi, 96); };
    RECT outer, main;
    GetWindowRect(undo, &outer);
    GetWindowRect(w.window, &main);
    EXPECT_EQ(s(900), outer.right - outer.left);
    EXPECT_EQ(s(520), outer.bottom - outer.top);
    EXPECT_EQ(main.left + ((main.right - main.left) - s(900)) / 2, outer.left);
    EXPECT_EQ(main.top + s(70), outer.top);
    RECT client;
    GetClientRect(undo, &client);
    const int W = client.right, H = client.bottom;
    struct Place {
        int id, x, y, width, height;
    } places[] = {{171, s(12), s(10), W - s(24), s(52)},
                  {170, s(12), s(66), W - s(24), H - s(66) - s(52)},
                  {271, s(12), H - s(38), W - s(360), s(24)},
                  {172, W - s(332), H - s(42), s(210), s(30)},
                  {173, W - s(112), H - s(42), s(100), s(30)}};
    for (const Place& p : places) {
        RECT r;
        GetWindowRect(GetDlgItem(undo, p.id), &r);
        MapWindowPoints(nullptr, undo, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(p.x, r.left) << p.id;
        EXPECT_EQ(p.y, r.top) << p.id;
        EXPECT_EQ(p.width, r.right - r.left) << p.id;
        EXPECT_EQ(p.height, r.bottom - r.top) << p.id;
    }
    LONG_PTR ex = GetWindowLongPtrW(undo, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_CONTROLPARENT);
    EXPECT_TRUE(ex & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(w.window, GetWindow(undo, GW_OWNER));
    EXPECT_EQ(L"Vantrel has not changed anything on this PC yet.", control_text(GetDlgItem(undo, 271)));
    PostMessageW(undo, WM_COMMAND, 172, 0);
    HWND box = w.box(L"History & Undo");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Tick the box at the start of each change you want to put back, then click Undo.",
              box_message(box));
    ASSERT_TRUE(answer_box(box, IDOK));
    PostMessageW(undo, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(w.window));
}

TEST_F(UndoWindowRun, TheDemonstrationPutsNothingBack) {
    record_change(2, kPrinterB, L"Switched off \"Use Printer Offline\" for \"Undo Printer B\"");
    RunningWindow w(L"/demo");
    ASSERT_NE(nullptr, w.window);
    w.post(213);
    HWND undo = wait_for_titled_window(w.pid, L"NSUndo", nullptr, 10000);
    ASSERT_NE(nullptr, undo);
    HWND list = GetDlgItem(undo, 170);
    ASSERT_EQ(1, list_row_count(list));
    list_set_checked(list, 0, true);
    PostMessageW(undo, WM_COMMAND, 172, 0);
    HWND box = w.box(L"Vantrel");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(0u, box_message(box).find(L"Vantrel is showing made-up demonstration printers"))
        << box_message(box);
    ASSERT_TRUE(answer_box(box, IDOK));
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
    HWND printers = GetDlgItem(w.window, 102);
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
    HWND box = wait_for_titled_window(w.pid, kBox, nullptr, 10000);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::wstring::npos, box_message(box).find(L"Use Printer Offline")) << box_message(box);
    ASSERT_NE(nullptr, GetDlgItem(box, IDYES)) << box_message(box);
    ASSERT_TRUE(answer_box(box, IDYES));
    ASSERT_TRUE(wait_until([&] { return !is_offline(kPrinterA); }, 20000));
    // Recorded with what the undo needs (the status line's "Done:" is soon replaced by the check).
    std::unique_ptr<ChangeList> changes(new ChangeList());
    ASSERT_TRUE(wait_until(
        [&] {
            load_changes(changes.get());
            return changes->count == 1;
        },
        10000));
    EXPECT_EQ(OfflineUnticked, changes->records[0].changeKind);
    EXPECT_STREQ(kPrinterA, changes->records[0].detail);

    w.post(213);
    HWND undo = wait_for_titled_window(w.pid, L"NSUndo", nullptr, 10000);
    ASSERT_NE(nullptr, undo);
    HWND list = GetDlgItem(undo, 170);
    ASSERT_EQ(1, list_row_count(list));
    EXPECT_EQ(L"Switched off \"Use Printer Offline\" for \"Undo Printer A\"", list_cell(list, 0, 1));
    EXPECT_EQ(kYes, list_cell(list, 0, 2));
    list_set_checked(list, 0, true);
    PostMessageW(undo, WM_COMMAND, 172, 0);
    box = w.box(L"History & Undo");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"1 change put back.", box_message(box));
    ASSERT_TRUE(answer_box(box, IDOK));
    EXPECT_TRUE(is_offline(kPrinterA)) << "\"Use Printer Offline\" is on again, as it was";
    ASSERT_EQ(1, list_row_count(list));
    EXPECT_EQ(L"Undid: Switched off \"Use Printer Offline\" for \"Undo Printer A\"", list_cell(list, 0, 1));
    PostMessageW(undo, WM_COMMAND, 173, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(undo); }, 5000));
}
