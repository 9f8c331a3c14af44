// The real Share window of a running demonstration window, driven from this process. A stand-in
// program is registered for every kind of link, so what the shell is asked to open lands in a file
// instead of a browser, a mail program or a phone; message boxes are found and answered.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "core/settings.h"
#include "share/share_message.h"
#include "tests/support/remote_controls.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"

namespace {
const HKEY kHives[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

// Both hives, so the stand-in wins whichever the shell reads: Windows prefers the user's classes,
// Wine's own browser and mail handlers are registered for the machine.
void register_handler(const wchar_t* protocol, const std::wstring& capture_file) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring exe = path;
    exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"share_capture.exe";
    std::wstring command = L"\"" + exe + L"\" \"" + capture_file + L"\" \"%1\"";
    std::wstring base = std::wstring(L"Software\\Classes\\") + protocol;
    for (HKEY hive : kHives) {
        RegSetKeyValueW(hive, base.c_str(), L"URL Protocol", REG_SZ, L"", sizeof(wchar_t));
        RegSetKeyValueW(hive, (base + L"\\shell\\open\\command").c_str(), nullptr, REG_SZ, command.c_str(),
                        (DWORD)((command.size() + 1) * sizeof(wchar_t)));
    }
}

void unregister_handler(const wchar_t* protocol) {
    for (HKEY hive : kHives)
        RegDeleteTreeW(hive, (std::wstring(L"Software\\Classes\\") + protocol).c_str());
}

// The next address the stand-in received (one line each), or "" when none came within ten seconds.
std::wstring next_capture(const std::wstring& file, size_t* seen) {
    std::wstring all;
    if (!wait_until(
            [&] {
                all = from_utf8(read_test_file(file));
                return (size_t)std::count(all.begin(), all.end(), L'\n') > *seen;
            },
            10000))
        return L"";
    size_t start = 0;
    for (size_t i = 0; i < *seen; i++)
        start = all.find(L'\n', start) + 1;
    (*seen)++;
    return all.substr(start, all.find(L'\n', start) - start);
}

// The text of the program's message box, after it was answered with OK; "" when none showed.
std::wstring answer_box(DWORD pid) {
    HWND box = wait_for_window(pid, L"#32770", 10000);
    wait_until([&] { return IsWindowVisible(box) != FALSE; }, 5000);
    std::wstring text = control_text(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    wait_until([&] { return !IsWindow(box); }, 5000);
    return text;
}

// The clipboard's text; with clear, the clipboard is emptied instead.
std::wstring clipboard(bool clear) {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    HANDLE data = clear ? (EmptyClipboard(), nullptr) : GetClipboardData(CF_UNICODETEXT);
    if (const wchar_t* p = data ? (const wchar_t*)GlobalLock(data) : nullptr) {
        text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::wstring address_of(int method, const wchar_t* to, const wchar_t* phone, const wchar_t* subject,
                        const std::wstring& message) {
    static SharePlan plan;
    share_plan(method, to, phone, subject, message.c_str(), &plan);
    return plan.address;
}

struct Running {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;
    explicit Running(const wchar_t* arguments) {
        process = start_vantrel(arguments, &pid);
        if (process) window = wait_for_window(pid, L"CorvalenVantrel", 30000);
    }
    ~Running() { close_and_wait(window, process, 10000); }
    void command(int id) const { PostMessageW(window, WM_COMMAND, id, 0); }
};

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
    bool status_is(const std::wstring& line) const {
        return wait_until([&] { return text(331) == line; }, 10000);
    }
};

std::wstring composed(const wchar_t* their_name) {
    wchar_t message[ShareMessageCap];
    compose_share_message_of(their_name, 0, L"", VANTREL_DEFAULT_SHARE_LINK, message, ShareMessageCap);
    return message;
}
} // namespace

TEST(ShareRun, TheShareWindowSendsWhatItShows) {
    delete_settings_key();
    std::wstring file = temp_path(L"vantrel-share-opened.txt");
    DeleteFileW(file.c_str());
    unregister_handler(L"sms"); // this PC has no texting app at first
    for (const wchar_t* protocol : {L"mailto", L"https", L"http"})
        register_handler(protocol, file);
    Running app(L"/demo");
    ASSERT_NE(nullptr, app.window);
    // The first check's status line comes first, so it cannot overwrite a result line.
    ASSERT_TRUE(wait_until(
        [&] { return control_text(GetDlgItem(app.window, 105)).rfind(L"  Checked at", 0) == 0; }, 30000));
    size_t seen = 0;

    app.command(230);
    ShareDialog share = {wait_for_window(app.pid, L"NSShare", 10000)};
    ASSERT_NE(nullptr, share.window);
    EXPECT_FALSE(IsWindowEnabled(app.window)) << "modal while open";
    EXPECT_EQ(composed(L""), share.message());
    EXPECT_NE(std::wstring::npos, share.text(306).find(L"Hi,\r\n\r\nCheck out")) << "CR LF in the edit";

    // The greeting follows their name; the fields go into each address exactly.
    share.set(300, L"Mike");
    const std::wstring mike = composed(L"Mike");
    EXPECT_EQ(mike, share.message());
    share.set(301, L"mike@example.com");
    share.set(302, L"(973) 555-1234");
    share.click(325);
    EXPECT_EQ(L"https://wa.me/19735551234?text=" + address_of(ShareWhatsApp, L"", L"", L"", mike).substr(20),
              next_capture(file, &seen));
    EXPECT_TRUE(share.status_is(L"WhatsApp opened with the message typed in."));
    share.click(320);
    EXPECT_EQ(address_of(ShareEmail, L"mike@example.com", L"", VANTREL_SHARE_SUBJECT, mike),
              next_capture(file, &seen));

    // No texting app: the message is copied and explained, and no result line appears.
    share.set(331, L"");
    clipboard(true);
    share.click(326);
    EXPECT_NE(std::wstring::npos, answer_box(app.pid).find(L"doesn't have a texting app"));
    EXPECT_EQ(mike, clipboard(false));
    EXPECT_EQ(L"", share.text(331));
    register_handler(L"sms", file);
    share.click(326);
    EXPECT_EQ(L"sms:+19735551234?body=" + address_of(ShareWhatsApp, L"", L"", L"", mike).substr(20),
              next_capture(file, &seen));

    // Edited by hand: no more rewriting, and sent as shown.
    PostMessageW(share.item(306), WM_CHAR, L'!', 0);
    EXPECT_TRUE(wait_until([&] { return share.message() != mike; }, 5000));
    const std::wstring edited = share.message();
    share.set(300, L"Ann");
    EXPECT_EQ(edited, share.message());
    share.click(322);
    EXPECT_EQ(address_of(ShareGmail, L"mike@example.com", L"", VANTREL_SHARE_SUBJECT, edited),
              next_capture(file, &seen))
        << "an edited message is sent as shown";

    PostMessageW(share.item(300), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(share.window); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(app.window));
    for (const wchar_t* protocol : {L"mailto", L"https", L"http", L"sms"})
        unregister_handler(protocol);
}
