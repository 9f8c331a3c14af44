// Save Report and Details in the real Vantrel.exe in demonstration mode: the save dialog is found
// and filled in like a user would, and the saved file's bytes are read back; Details on a printer
// found on the network, with its address on the clipboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <wctype.h>

#include "tests/support/remote_controls.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "tests/ui/undo_support.h"

namespace {
struct ReportRun : ::testing::Test {
    void SetUp() override { delete_settings_key(); }
    void TearDown() override { delete_settings_key(); }
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

TEST_F(ReportRun, SaveReportWritesTheDemonstrationReport) {
    VantrelWindow w(L"/demo");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();
    const std::wstring path = temp_path(L"vantrel-saved-report.txt");
    DeleteFileW(path.c_str());

    w.post(211);
    HWND dialog = w.box(L"Save the Vantrel report");
    ASSERT_NE(nullptr, dialog);
    HWND edit = file_name_edit(dialog);
    ASSERT_NE(nullptr, edit);
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
    EXPECT_NE(std::wstring::npos, text.find(L"Service Drive - HP LaserJet Pro M404"));
    const std::wstring end = L"\r\n--- end of report ---\r\n";
    ASSERT_GT(text.size(), end.size());
    EXPECT_EQ(end, text.substr(text.size() - end.size()));

    // A cancelled dialog writes nothing and says nothing.
    DeleteFileW(path.c_str());
    w.post(211);
    dialog = w.box(L"Save the Vantrel report");
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(answer_box(dialog, IDCANCEL));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

TEST_F(ReportRun, DetailsShowsAFoundPrinterWithItsAddressCopied) {
    VantrelWindow w(L"/demo");
    ASSERT_NE(nullptr, w.window);
    ASSERT_TRUE(w.checked()) << w.status().c_str();

    // The made-up search result, and a double-click on its first row.
    w.post(248);
    w.post(249);
    HWND bottom = w.control(104);
    ASSERT_TRUE(wait_until(
        [&] {
            // The result has arrived once the first row is an address, not the searching line.
            return control_text(w.control(103)).rfind(L"Printers found on the network", 0) == 0 &&
                   list_row_count(bottom) > 0 && iswdigit(list_cell(bottom, 0, 0)[0]);
        },
        15000));
    list_select_row(bottom, 0);
    PostMessageW(bottom, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 28));
    HWND box = w.box(L"Vantrel \x2014 network printer");
    ASSERT_NE(nullptr, box);
    const std::wstring message = box_message(box);
    const std::wstring address = clipboard_text();
    EXPECT_FALSE(address.empty());
    EXPECT_EQ(0u, message.find(L"Found on the network\n\nIP address: " + address + L"\n")) << message.c_str();
    EXPECT_NE(std::wstring::npos, message.find(L"and type " + address + L" (copied for you"));
    EXPECT_NE(nullptr, GetDlgItem(box, IDNO)) << "a Yes/No question";
    ASSERT_TRUE(answer_box(box, IDNO));
}
