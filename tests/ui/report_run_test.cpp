// Save Report and Details in the real Vantrel.exe in demonstration mode: the save dialog is found
// and filled in like a user would, and the saved file's bytes are read back; the Details command
// with nothing selected, and on a printer found on the network with its address on the clipboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <wctype.h>

#include "tests/support/remote_controls.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "tests/ui/undo_support.h"

namespace {
const wchar_t* kBox = L"#32770";

struct DemoWindow {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;
    DemoWindow() {
        delete_settings_key();
        process = start_vantrel(L"/demo", &pid);
        if (process) window = wait_for_window(pid, L"CorvalenVantrel", 30000);
    }
    ~DemoWindow() {
        for (int i = 0; i < 5; i++) {
            HWND box = wait_for_titled_window(pid, kBox, nullptr, 0);
            if (!box) break;
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            Sleep(200);
        }
        close_and_wait(window, process, 10000);
        delete_settings_key();
    }
    void post(int id) const { PostMessageW(window, WM_COMMAND, id, 0); }
    std::wstring status() const { return control_text(GetDlgItem(window, 105)); }
    bool checked() const {
        return wait_until([&] { return status().rfind(L"  Checked at ", 0) == 0; }, 30000);
    }
};

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

bool has_bare_line_feed(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); i++)
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return true;
    return false;
}
} // namespace

TEST(ReportRun, SaveReportWritesTheDemonstrationReport) {
    DemoWindow w;
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    const std::wstring path = temp_path(L"vantrel-saved-report.txt");
    DeleteFileW(path.c_str());

    w.post(211);
    HWND dialog = wait_for_titled_window(w.pid, kBox, L"Save the Vantrel report", 15000);
    ASSERT_NE(nullptr, dialog);
    HWND edit = file_name_edit(dialog);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(0u, control_text(edit).rfind(L"Vantrel-", 0)) << control_text(edit).c_str();
    EXPECT_NE(std::wstring::npos, control_text(edit).find(L".txt"));
    SendMessageW(edit, WM_SETTEXT, 0, (LPARAM)path.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(wait_until([&] { return w.status() == L"  Report saved to " + path; }, 15000))
        << w.status().c_str();

    const std::string bytes = read_test_file(path);
    ASSERT_GT(bytes.size(), 3u);
    EXPECT_EQ("\xEF\xBB\xBF", bytes.substr(0, 3)) << "UTF-8 with a byte-order mark";
    EXPECT_FALSE(has_bare_line_feed(bytes)) << "CR LF line ends only";
    const std::wstring text = from_utf8(bytes.substr(3));
    EXPECT_EQ(0u, text.find(L"VANTREL REPORT (DEMO DATA) \x2014 ")) << text.substr(0, 80).c_str();
    EXPECT_NE(std::wstring::npos, text.find(L"\r\n===== FINDINGS =====\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"Service Drive - HP LaserJet Pro M404"));
    const std::wstring end = L"\r\n--- end of report ---\r\n";
    ASSERT_GT(text.size(), end.size());
    EXPECT_EQ(end, text.substr(text.size() - end.size()));

    // A cancelled dialog writes nothing and says nothing.
    DeleteFileW(path.c_str());
    w.post(211);
    dialog = wait_for_titled_window(w.pid, kBox, L"Save the Vantrel report", 15000);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(answer_box(dialog, IDCANCEL));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));

    // A file that cannot be written (another program holds it open without sharing): the dialog's
    // replace question is answered Yes, then the program says where to try instead.
    ASSERT_TRUE(write_test_file(path, 10));
    HANDLE held =
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    w.post(211);
    dialog = wait_for_titled_window(w.pid, kBox, L"Save the Vantrel report", 15000);
    ASSERT_NE(nullptr, dialog);
    SendMessageW(file_name_edit(dialog), WM_SETTEXT, 0, (LPARAM)path.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
    HWND refused = nullptr;
    for (int i = 0; i < 3 && !refused; i++) {
        HWND box = nullptr;
        wait_until([&] { return (box = wait_for_enabled_box(w.pid, 0)) != nullptr && box != dialog; }, 10000);
        if (!box || box == dialog) break;
        wchar_t title[100] = L"";
        GetWindowTextW(box, title, _countof(title));
        if (lstrcmpW(title, L"Vantrel") == 0)
            refused = box;
        else if (GetDlgItem(box, IDYES))
            answer_box(box, IDYES);
        else
            break;
    }
    ASSERT_NE(nullptr, refused);
    EXPECT_EQ(L"The report could not be saved there. Try the Desktop or Documents folder.",
              box_message(refused));
    ASSERT_TRUE(answer_box(refused, IDOK));
    CloseHandle(held);
    EXPECT_EQ(10u, read_test_file(path).size()) << "the file is left as it was";
    DeleteFileW(path.c_str());
}

TEST(ReportRun, DetailsAsksForAPrinterAndShowsAFoundPrinterWithItsAddressCopied) {
    DemoWindow w;
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();

    // Nothing selected anywhere: ask for a printer.
    w.post(202);
    HWND box = wait_for_titled_window(w.pid, kBox, L"Vantrel", 10000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Click a printer in the top list first, then click this button again.", box_message(box));
    ASSERT_TRUE(answer_box(box, IDOK));

    // The made-up search result, and a double-click on its first row.
    w.post(248);
    w.post(249);
    HWND bottom = GetDlgItem(w.window, 104);
    ASSERT_TRUE(wait_until(
        [&] {
            // The result has arrived once the first row is an address, not the searching line.
            return control_text(GetDlgItem(w.window, 103)).rfind(L"Printers found on the network", 0) == 0 &&
                   list_row_count(bottom) > 0 && iswdigit(list_cell(bottom, 0, 0)[0]);
        },
        15000));
    list_select_row(bottom, 0);
    PostMessageW(bottom, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 28));
    box = wait_for_titled_window(w.pid, kBox, L"Vantrel \x2014 network printer", 10000);
    ASSERT_NE(nullptr, box);
    const std::wstring message = box_message(box);
    const std::wstring address = clipboard_text();
    EXPECT_FALSE(address.empty());
    EXPECT_EQ(0u, message.find(L"Found on the network\n\nIP address: " + address + L"\n")) << message.c_str();
    EXPECT_NE(std::wstring::npos, message.find(L"and type " + address + L" (copied for you"));
    EXPECT_NE(std::wstring::npos, message.find(L"\n\nOpen its web page now?"));
    EXPECT_NE(nullptr, GetDlgItem(box, IDNO)) << "a Yes/No question";
    ASSERT_TRUE(answer_box(box, IDNO));
}
