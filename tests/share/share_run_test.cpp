// The real Share window of a running demonstration window, driven from this process. A stand-in
// program is registered for every kind of link, so what the shell is asked to open lands in a file
// instead of a browser, a mail program or a phone.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "core/settings.h"
#include "share/share_message.h"
#include "tests/support/remote_controls.h"
#include "tests/support/running_window.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"

namespace {
// The stand-in opens the protocol's links, or with no capture file nothing does. Both hives, so it
// wins whichever the shell reads: Windows prefers the user's classes, Wine's own browser and mail
// handlers are registered for the machine.
void set_handler(const wchar_t* protocol, const std::wstring& capture_file) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring exe = path;
    exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"share_capture.exe";
    std::wstring command = L"\"" + exe + L"\" \"" + capture_file + L"\" \"%1\"";
    std::wstring base = std::wstring(L"Software\\Classes\\") + protocol;
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegDeleteTreeW(hive, base.c_str());
        if (capture_file.empty()) continue;
        RegSetKeyValueW(hive, base.c_str(), L"URL Protocol", REG_SZ, L"", sizeof(wchar_t));
        RegSetKeyValueW(hive, (base + L"\\shell\\open\\command").c_str(), nullptr, REG_SZ, command.c_str(),
                        (DWORD)((command.size() + 1) * sizeof(wchar_t)));
    }
}

// Everything the stand-in received once a line came (within ten seconds); the file is then emptied.
std::wstring captured(const std::wstring& file) {
    std::string all;
    wait_until([&] { return (all = read_test_file(file)).find('\n') != std::string::npos; }, 10000);
    // The stand-in may still hold the file open for a moment.
    wait_until([&] { return DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }, 5000);
    return from_utf8(all);
}

std::wstring address_of(int method, const wchar_t* to, const wchar_t* phone, const std::wstring& message) {
    static SharePlan plan;
    share_plan(method, to, phone, VANTREL_SHARE_SUBJECT, message.c_str(), &plan);
    return std::wstring(plan.address) + L"\n";
}

std::wstring composed(const wchar_t* their_name) {
    wchar_t message[ShareMessageCap];
    compose_share_message_of(their_name, 0, L"", VANTREL_DEFAULT_SHARE_LINK, message, ShareMessageCap);
    return message;
}

struct ShareDialog {
    HWND window;
    HWND item(int id) const { return GetDlgItem(window, id); }
    std::wstring text(int id) const { return control_text(item(id)); }
    void set(int id, const wchar_t* text) const { SendMessageW(item(id), WM_SETTEXT, 0, (LPARAM)text); }
    void click(int id) const {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)item(id));
    }
    std::wstring message() const {
        std::wstring shown = text(306);
        shown.erase(std::remove(shown.begin(), shown.end(), L'\r'), shown.end());
        return shown;
    }
};
} // namespace

TEST(ShareRun, TheShareWindowSendsWhatItShows) {
    delete_settings_key();
    std::wstring file = temp_path(L"vantrel-share-opened.txt");
    DeleteFileW(file.c_str());
    set_handler(L"sms", L""); // this PC has no texting app at first
    for (const wchar_t* protocol : {L"mailto", L"https", L"http"})
        set_handler(protocol, file);
    VantrelWindow app(L"/demo");
    // The first check's status line comes first, so it cannot overwrite a result line.
    ASSERT_TRUE(app.window && app.checked());

    app.post(230);
    ShareDialog share = {wait_for_window(app.pid, L"NSShare", 10000)};
    ASSERT_NE(nullptr, share.window);
    // The window is found as soon as it exists; the main window is disabled a moment later.
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(app.window); }, 5000)) << "modal while open";
    EXPECT_EQ(composed(L""), share.message());
    EXPECT_NE(std::wstring::npos, share.text(306).find(L"Hi,\r\n\r\nCheck out")) << "CR LF in the edit";

    // The greeting follows their name; the fields go into each address exactly.
    share.set(300, L"Mike");
    const std::wstring mike = composed(L"Mike");
    EXPECT_EQ(mike, share.message());
    share.set(301, L"mike@example.com");
    share.set(302, L"(973) 555-1234");
    share.click(325);
    EXPECT_EQ(address_of(ShareWhatsApp, L"", L"(973) 555-1234", mike), captured(file));
    EXPECT_TRUE(wait_until([&] { return share.text(331).find(L"WhatsApp") == 0; }, 10000)) << "a result line";
    share.click(320);
    EXPECT_EQ(address_of(ShareEmail, L"mike@example.com", L"", mike), captured(file));

    // No texting app: the message is copied and explained, and no result line appears.
    share.set(331, L"");
    if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
    share.click(326);
    HWND box = app.box();
    EXPECT_NE(std::wstring::npos, box_message(box).find(L"doesn't have a texting app"));
    answer_box(box, IDOK);
    EXPECT_EQ(mike, clipboard_text());
    EXPECT_EQ(L"", share.text(331));
    set_handler(L"sms", file);
    share.click(326);
    EXPECT_EQ(address_of(ShareTextMessage, L"", L"(973) 555-1234", mike), captured(file));

    // Edited by hand: no more rewriting, and sent as shown.
    PostMessageW(share.item(306), WM_CHAR, L'!', 0);
    EXPECT_TRUE(wait_until([&] { return share.message() != mike; }, 5000));
    const std::wstring edited = share.message();
    share.set(300, L"Ann");
    EXPECT_EQ(edited, share.message());
    share.click(322);
    EXPECT_EQ(address_of(ShareGmail, L"mike@example.com", L"", edited), captured(file));

    PostMessageW(share.item(300), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(share.window); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(app.window));
    for (const wchar_t* protocol : {L"mailto", L"https", L"http", L"sms"})
        set_handler(protocol, L"");
}

// Copy Link with the link cleared says there is nothing to copy and leaves the clipboard alone.
TEST(ShareRun, CopyLinkWithNoLinkCopiesNothing) {
    delete_settings_key();
    ASSERT_TRUE(set_reg_string(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel", L"ShareLink", L""));
    VantrelWindow app(L"/demo");
    ASSERT_TRUE(app.window && app.checked());
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    app.post(235);
    EXPECT_TRUE(wait_until([&] { return app.status() == std::wstring(L"  ") + VANTREL_NO_LINK; }, 10000))
        << app.status().c_str();
    EXPECT_EQ(L"", clipboard_text());
    EXPECT_EQ(VANTREL_LINK_COPIED, std::wstring(copy_link_result_line(L"https://example.com/v")));
    EXPECT_EQ(VANTREL_NO_LINK, std::wstring(copy_link_result_line(L" \t")));
    delete_settings_key();
}
