// The real Share window of a running demonstration window, driven from this process. A stand-in
// program is registered for every kind of link, so what the shell is asked to open lands in a file
// instead of a browser, a mail program or a phone; message boxes are found and answered.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "share/share_message.h"
#include "tests/support/remote_controls.h"
#include "tests/support/test_support.h"

#include "tests/share/share_run_support.h"

using namespace share_run;

TEST(ShareRun, RibbonShortcutsAndCopyLink) {
    delete_settings_key();
    std::wstring file = temp_file(L"vantrel-share-opened-1.txt");
    DeleteFileW(file.c_str());
    for (const wchar_t* protocol : {L"mailto", L"https", L"http", L"sms"})
        register_handler(protocol, file);
    Running app(L"/demo");
    ASSERT_NE(nullptr, app.window);
    // The first check's status line comes first, so it cannot overwrite a result line.
    ASSERT_TRUE(wait_until(
        [&] { return control_text(GetDlgItem(app.window, 105)).rfind(L"  Checked at", 0) == 0; }, 30000));
    size_t seen = 0;

    wchar_t standard[ShareMessageCap];
    compose_share_message_of(L"", 0, L"", kLink, standard, ShareMessageCap);
    app.command(231);
    EXPECT_EQ(address_of(ShareEmail, L"", L"", VANTREL_SHARE_SUBJECT, standard), next_capture(file, &seen));
    EXPECT_TRUE(wait_until(
        [&] {
            return control_text(GetDlgItem(app.window, 105)) ==
                   L"  Your email program should now show the new message.";
        },
        5000));
    app.command(233);
    EXPECT_EQ(address_of(ShareWhatsApp, L"", L"", VANTREL_SHARE_SUBJECT, standard),
              next_capture(file, &seen));
    app.command(234);
    EXPECT_EQ(L"sms:?body=" + address_of(ShareWhatsApp, L"", L"", L"", standard).substr(20),
              next_capture(file, &seen));

    empty_clipboard();
    app.command(232);
    HWND box = wait_for_box(app.pid, L"Share via Facebook Messenger");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(std::wstring(standard), clipboard_text()) << "copied before the explanation";
    answer_box(box);
    EXPECT_EQ(L"https://www.messenger.com/", next_capture(file, &seen));

    empty_clipboard();
    app.command(235);
    // The clipboard is read only once the line is there: reading it while the program copies would
    // take the clipboard away from the program.
    EXPECT_TRUE(wait_until(
        [&] {
            return control_text(GetDlgItem(app.window, 105)) ==
                   L"  Download link copied \x2014 paste it anywhere with Ctrl+V.";
        },
        5000));
    EXPECT_EQ(std::wstring(kLink), clipboard_text());
    for (const wchar_t* protocol : {L"mailto", L"https", L"http", L"sms"})
        unregister_handler(protocol);
}

TEST(ShareRun, TheShareWindowSendsWhatItShows) {
    delete_settings_key();
    std::wstring file = temp_file(L"vantrel-share-opened-2.txt");
    DeleteFileW(file.c_str());
    unregister_handler(L"sms"); // this PC has no texting app at first
    unregister_handler(L"msteams");
    for (const wchar_t* protocol : {L"mailto", L"https", L"http"})
        register_handler(protocol, file);
    Running app(L"/demo");
    ASSERT_NE(nullptr, app.window);
    ASSERT_TRUE(wait_until(
        [&] { return control_text(GetDlgItem(app.window, 105)).rfind(L"  Checked at", 0) == 0; }, 30000));
    size_t seen = 0;

    app.command(230);
    ShareDialog share = {wait_for_window(app.pid, L"NSShare", 10000)};
    ASSERT_NE(nullptr, share.window);
    wchar_t title[64] = L"";
    GetWindowTextW(share.window, title, 64);
    EXPECT_EQ(std::wstring(L"Share Vantrel"), title);
    EXPECT_FALSE(IsWindowEnabled(app.window)) << "modal while open";
    RECT client;
    GetClientRect(share.window, &client);
    EXPECT_EQ(624, client.right);
    EXPECT_EQ(608, client.bottom);
    EXPECT_EQ(std::wstring(kLink), share.text(304));
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share.text(305));
    wchar_t expected[ShareMessageCap];
    compose_share_message_of(L"", 0, L"", kLink, expected, ShareMessageCap);
    EXPECT_EQ(std::wstring(expected), share.message());
    EXPECT_NE(std::wstring::npos, share.text(306).find(L"Hi,\r\n\r\nCheck out")) << "CR LF in the edit";

    // The greeting follows their name; the fields go into each address exactly.
    share.set(300, L"Mike");
    compose_share_message_of(L"Mike", 0, L"", kLink, expected, ShareMessageCap);
    EXPECT_EQ(std::wstring(expected), share.message());
    share.set(301, L"mike@example.com");
    share.set(302, L"(973) 555-1234");
    const std::wstring mike = expected;
    share.click(325);
    EXPECT_EQ(L"https://wa.me/19735551234?text=" + address_of(ShareWhatsApp, L"", L"", L"", mike).substr(20),
              next_capture(file, &seen));
    EXPECT_TRUE(share.status_is(L"WhatsApp opened with the message typed in."));
    share.click(322);
    EXPECT_EQ(address_of(ShareGmail, L"mike@example.com", L"", VANTREL_SHARE_SUBJECT, mike),
              next_capture(file, &seen));
    EXPECT_TRUE(share.status_is(L"Gmail opened in your browser with the message filled in."));
    share.click(323);
    EXPECT_EQ(address_of(ShareWebMail, L"mike@example.com", L"", VANTREL_SHARE_SUBJECT, mike),
              next_capture(file, &seen));
    EXPECT_TRUE(share.status_is(L"Outlook.com opened in your browser with the message filled in."));
    share.click(320);
    std::wstring mailto = next_capture(file, &seen);
    EXPECT_EQ(address_of(ShareEmail, L"mike@example.com", L"", VANTREL_SHARE_SUBJECT, mike), mailto);
    EXPECT_EQ(0u, mailto.find(L"mailto:mike@example.com?subject=Check%20out%20Vantrel%20-%20finds"))
        << mailto.c_str();
    EXPECT_NE(std::wstring::npos, mailto.find(L"Hi%20Mike%2C%0D%0A%0D%0ACheck"));

    // No texting app: the message is copied and explained, and no result line appears.
    share.set(331, L"");
    empty_clipboard();
    share.click(326);
    HWND box = wait_for_box(app.pid, L"Share Vantrel");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"This PC doesn't have a texting app set up to open text-message links.\n\nThe message has "
              L"been copied "
              L"\x2014 paste it (Ctrl+V) into Phone Link, your texting app, or a text on your phone.",
              answer_box(box));
    EXPECT_EQ(mike, clipboard_text());
    EXPECT_EQ(L"", share.text(331));
    register_handler(L"sms", file);
    share.click(326);
    EXPECT_EQ(L"sms:+19735551234?body=" + address_of(ShareWhatsApp, L"", L"", L"", mike).substr(20),
              next_capture(file, &seen));
    EXPECT_TRUE(share.status_is(L"Your texting app should now show the message."));

    // Teams: copied, explained, and the web app when the Teams app is not there.
    empty_clipboard();
    share.click(327);
    box = wait_for_box(app.pid, L"Share via Microsoft Teams");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(mike, clipboard_text());
    answer_box(box);
    EXPECT_EQ(L"https://teams.microsoft.com/", next_capture(file, &seen));
    EXPECT_TRUE(share.status_is(L"Message copied \x2014 paste it into Teams with Ctrl+V."));
    empty_clipboard();
    share.click(328);
    EXPECT_TRUE(share.status_is(L"Message copied \x2014 paste it anywhere with Ctrl+V."));
    EXPECT_EQ(mike, clipboard_text());

    // An empty subject sends the standard one.
    share.set(305, L"");
    share.click(322);
    EXPECT_EQ(address_of(ShareGmail, L"mike@example.com", L"", VANTREL_SHARE_SUBJECT, mike),
              next_capture(file, &seen));

    // Edited by hand: no more rewriting until Reset message.
    PostMessageW(share.item(306), WM_CHAR, L'!', 0);
    EXPECT_TRUE(wait_until([&] { return share.message() != mike; }, 5000));
    const std::wstring edited = share.message();
    share.set(300, L"Ann");
    EXPECT_EQ(edited, share.message());
    share.click(322);
    EXPECT_EQ(address_of(ShareGmail, L"mike@example.com", L"", VANTREL_SHARE_SUBJECT, edited),
              next_capture(file, &seen))
        << "an edited message is sent as shown";
    share.click(307);
    EXPECT_TRUE(share.status_is(L"Message reset."));
    compose_share_message_of(L"Ann", 0, L"", kLink, expected, ShareMessageCap);
    EXPECT_EQ(std::wstring(expected), share.message());
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share.text(305));

    // Your name and a cleared link are remembered at once.
    share.set(303, L"Sam");
    share.set(304, L"");
    compose_share_message_of(L"Ann", 0, L"Sam", L"", expected, ShareMessageCap);
    EXPECT_EQ(std::wstring(expected), share.message());
    EXPECT_EQ(L"Sam", registry_text(L"ShareYourName"));
    EXPECT_EQ(L"", registry_text(L"ShareLink"));

    // A second Share Vantrel... only brings the open one to the front; Esc closes it.
    app.command(230);
    Sleep(500);
    EXPECT_EQ(share.window, wait_for_window(app.pid, L"NSShare", 1000));
    PostMessageW(share.item(300), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(share.window); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(app.window));

    // Reopened: the standard message with the remembered name and no link.
    app.command(230);
    ShareDialog again = {wait_for_window(app.pid, L"NSShare", 10000)};
    ASSERT_NE(nullptr, again.window);
    EXPECT_EQ(L"Sam", again.text(303));
    EXPECT_EQ(L"", again.text(304));
    compose_share_message_of(L"", 0, L"Sam", L"", expected, ShareMessageCap);
    EXPECT_EQ(std::wstring(expected), again.message());
    again.click(330);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(again.window); }, 5000));
    for (const wchar_t* protocol : {L"mailto", L"https", L"http", L"sms"})
        unregister_handler(protocol);
}

TEST(ShareRun, AboutBoxWithAutomaticUpdatesOnAndOff) {
    delete_settings_key();
    for (int on = 1; on >= 0; on--) {
        if (!on) {
            HKEY key;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel", 0,
                                                     nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
            DWORD off = 0;
            RegSetValueExW(key, L"AutoUpdate", 0, REG_DWORD, (const BYTE*)&off, sizeof(off));
            RegCloseKey(key);
        }
        Running app(L"/demo");
        ASSERT_NE(nullptr, app.window);
        app.command(239);
        HWND box = wait_for_box(app.pid, L"About Vantrel");
        ASSERT_NE(nullptr, box);
        std::wstring text = answer_box(box);
        EXPECT_EQ(0u, text.find(L"Vantrel 1.1.0\nWhy won't it print?\n\n")) << text.c_str();
        EXPECT_NE(
            std::wstring::npos,
            text.find(on ? L"\n\nUpdates: checks automatically every 6 hours\nDownload page: https://"
                         : L"\n\nUpdates: automatic checks are off (Settings tab)\nDownload page: https://"))
            << text.c_str();
    }
}

// Without Simple MAPI (the library is switched off for this run) the attachment explains the other
// ways, and shows nothing else.
TEST(ShareRun, EmailWithAttachmentExplainsWhenNoMailProgramCanAttach) {
    delete_settings_key();
    // Wine's per-program switch; Windows ignores the key.
    const wchar_t* overrides = L"Software\\Wine\\AppDefaults\\Vantrel.exe\\DllOverrides";
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, overrides, 0, nullptr, 0, KEY_WRITE, nullptr,
                                             &key, nullptr));
    RegSetValueExW(key, L"mapi32", 0, REG_SZ, (const BYTE*)L"", sizeof(wchar_t));
    RegCloseKey(key);
    struct Forget {
        ~Forget() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Vantrel.exe"); }
    } forget; // only after the program ends: Wine reads the switch when the library is first asked for
    Running app(L"/demo");
    ASSERT_NE(nullptr, app.window);
    app.command(230);
    ShareDialog share = {wait_for_window(app.pid, L"NSShare", 10000)};
    ASSERT_NE(nullptr, share.window);
    share.click(321);
    HWND box = wait_for_box(app.pid, L"Share Vantrel");
    ASSERT_NE(nullptr, box);
    wchar_t expected[600];
    attachment_failure_text(expected, 600);
    EXPECT_EQ(std::wstring(expected), answer_box(box));
    EXPECT_EQ(L"", share.text(331)) << "no result line";
    EXPECT_TRUE(IsWindow(share.window));
}
