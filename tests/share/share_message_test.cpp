// The share message and what each send method opens, copies and reports, checked address by address.
#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "core/text.h"
#include "share/share_message.h"

namespace {
const wchar_t kLink[] = L"https://github.com/Corvalen/vantrel-releases";
const std::wstring kPitch =
    L"Check out Vantrel, a small Windows tool that finds out why a printer will not print. It checks "
    L"Windows' print "
    L"service, every printer, its stuck jobs, its driver and its network connection, even asks the printer "
    L"itself "
    L"what is wrong, then explains it in plain English and fixes the common problems with one click.";

std::wstring compose(const wchar_t* their, int attached, const wchar_t* yours, const wchar_t* link) {
    wchar_t out[ShareMessageCap];
    compose_share_message_of(their, attached, yours, link, out, ShareMessageCap);
    return out;
}

std::wstring digits(const wchar_t* phone) {
    wchar_t out[40];
    phone_digits(phone, out, 40);
    return out;
}

struct Plan {
    SharePlan p;
    Plan(int method, const wchar_t* to, const wchar_t* phone, const wchar_t* subject,
         const wchar_t* message) {
        share_plan(method, to, phone, subject, message, &p);
    }
};

const wchar_t kSubject[] = L"Hello there";
const wchar_t kMessage[] = L"Hi Mike,\nLine two";
} // namespace

TEST(ShareMessage, StandardMessageWithTheLink) {
    EXPECT_EQ(L"Hi,\n\n" + kPitch +
                  L"\n\nDownload it here (no install needed, and it keeps itself up to date):\n"
                  L"https://github.com/Corvalen/vantrel-releases",
              compose(L"", 0, L"", kLink));
    EXPECT_EQ(std::wstring(kLink), std::wstring(VANTREL_DEFAULT_SHARE_LINK));
}

TEST(ShareMessage, NameSignatureAndClearedLink) {
    EXPECT_EQ(L"Hi Mike,\n\n" + kPitch + L"\n\nLet me know and I'll send you a copy.\n\nSam",
              compose(L"Mike", 0, L"Sam", L""));
    EXPECT_EQ(L"Hi,\n\n" + kPitch + L"\n\nLet me know and I'll send you a copy.",
              compose(nullptr, 0, nullptr, nullptr));
}

TEST(ShareMessage, AttachmentWordingReplacesTheLink) {
    EXPECT_EQ(
        L"Hi Ann,\n\n" + kPitch +
            L"\n\nI've attached it. It's a single program file - no install needed, just double-click it. It "
            L"keeps itself up to date after that.",
        compose(L"Ann", 1, L"", kLink));
}

TEST(ShareMessage, NeverLongerThan2999Characters) {
    std::wstring long_link(511, L'x'), long_name(127, L'n');
    EXPECT_LE(compose(long_name.c_str(), 0, long_name.c_str(), long_link.c_str()).size(), 2999u);
    wchar_t small[20];
    compose_share_message_of(L"Mike", 0, L"", kLink, small, 20);
    EXPECT_EQ(std::wstring(L"Hi Mike,\n\nCheck out"), small);
}

TEST(ShareMessage, UsesTheRememberedNameAndLink) {
    Settings saved = g_settings;
    text_copy(g_settings.shareYourName, _countof(g_settings.shareYourName), L"Pat");
    text_copy(g_settings.shareLink, _countof(g_settings.shareLink), L"https://example.com/v");
    wchar_t out[ShareMessageCap];
    compose_share_message(L"", 0, out, ShareMessageCap);
    g_settings = saved;
    EXPECT_EQ(L"Hi,\n\n" + kPitch +
                  L"\n\nDownload it here (no install needed, and it keeps itself up to "
                  L"date):\nhttps://example.com/v\n\nPat",
              std::wstring(out));
}

TEST(SharePhone, DigitsAndTheUsRule) {
    EXPECT_EQ(L"19735551234", digits(L"(973) 555-1234"));
    EXPECT_EQ(L"442079460000", digits(L"+44 20 7946 0000"));
    EXPECT_EQ(L"", digits(L""));
    EXPECT_EQ(L"", digits(nullptr));
    EXPECT_EQ(L"", digits(L"call me"));
    EXPECT_EQ(L"555123456", digits(L"555-123-456"));
    EXPECT_EQ(L"19735551234", digits(L"1 973 555 1234")) << "eleven digits stay as typed";
    EXPECT_EQ(std::wstring(38, L'7'), digits(std::wstring(50, L'7').c_str()));
}

TEST(SharePlan, EmailKeepsTheAddressAsTypedAndUsesCrLf) {
    Plan plan(ShareEmail, L"a@b.com", L"", kSubject, kMessage);
    EXPECT_EQ(std::wstring(L"mailto:a@b.com?subject=Hello%20there&body=Hi%20Mike%2C%0D%0ALine%20two"),
              plan.p.address);
    EXPECT_EQ(std::wstring(L"Your email program should now show the new message."), plan.p.result);
    EXPECT_TRUE(plan.p.failureReported);
    EXPECT_FALSE(plan.p.copyOnFailure);
    EXPECT_FALSE(plan.p.copyFirst);
    EXPECT_EQ(
        std::wstring(L"No email program is set up on this PC to open email links. Try Gmail or Outlook.com "
                     L"instead."),
        plan.p.failureText);
    Plan empty(ShareEmail, L"", L"", kSubject, L"");
    EXPECT_EQ(std::wstring(L"mailto:?subject=Hello%20there&body="), empty.p.address);
}

TEST(SharePlan, GmailAndWebMail) {
    Plan gmail(ShareGmail, L"a@b.com", L"", kSubject, kMessage);
    EXPECT_EQ(
        std::wstring(
            L"https://mail.google.com/mail/?view=cm&fs=1&to=a%40b.com&su=Hello%20there&body=Hi%20Mike%2C"
            L"%0ALine%20two"),
        gmail.p.address);
    EXPECT_EQ(std::wstring(L"Gmail opened in your browser with the message filled in."), gmail.p.result);
    EXPECT_FALSE(gmail.p.failureReported) << "the browser methods report their line anyway";
    Plan web(ShareWebMail, L"a@b.com", L"", kSubject, kMessage);
    EXPECT_EQ(std::wstring(
                  L"https://outlook.live.com/mail/0/deeplink/compose?to=a%40b.com&subject=Hello%20there&body="
                  L"Hi%20Mike%2C%0ALine%20two"),
              web.p.address);
    EXPECT_EQ(std::wstring(L"Outlook.com opened in your browser with the message filled in."), web.p.result);
    EXPECT_FALSE(web.p.failureReported);
}

TEST(SharePlan, CrLfOnlyForMailto) {
    const wchar_t* message = L"one\ntwo\r\nthree";
    for (int method = 0; method < ShareMethodCount; method++) {
        Plan plan(method, L"x@y.z", L"555", L"s\nt", message);
        std::wstring address = plan.p.address;
        if (method == ShareEmail)
            EXPECT_NE(std::wstring::npos, address.find(L"one%0D%0Atwo%0D%0Athree"));
        else
            EXPECT_EQ(std::wstring::npos, address.find(L"%0D")) << method;
    }
    Plan whatsapp(ShareWhatsApp, L"", L"", L"", message);
    EXPECT_EQ(std::wstring(L"https://wa.me/?text=one%0Atwo%0Athree"), whatsapp.p.address);
}

TEST(SharePlan, WhatsAppWithAndWithoutAPhone) {
    Plan with(ShareWhatsApp, L"", L"(973) 555-1234", kSubject, kMessage);
    EXPECT_EQ(std::wstring(L"https://wa.me/19735551234?text=Hi%20Mike%2C%0ALine%20two"), with.p.address);
    EXPECT_EQ(std::wstring(L"WhatsApp opened with the message typed in."), with.p.result);
    Plan without(ShareWhatsApp, L"", L"", kSubject, kMessage);
    EXPECT_EQ(std::wstring(L"https://wa.me/?text=Hi%20Mike%2C%0ALine%20two"), without.p.address)
        << "an empty path lets the user pick the chat";
}

TEST(SharePlan, TextMessage) {
    Plan with(ShareTextMessage, L"", L"+44 20 7946 0000", kSubject, kMessage);
    EXPECT_EQ(std::wstring(L"sms:+442079460000?body=Hi%20Mike%2C%0ALine%20two"), with.p.address);
    Plan without(ShareTextMessage, L"", L"none", kSubject, kMessage);
    EXPECT_EQ(std::wstring(L"sms:?body=Hi%20Mike%2C%0ALine%20two"), without.p.address);
    EXPECT_EQ(std::wstring(L"Your texting app should now show the message."), with.p.result);
    EXPECT_TRUE(with.p.failureReported);
    EXPECT_TRUE(with.p.copyOnFailure) << "no sms handler: the message is copied and explained";
    EXPECT_EQ(
        std::wstring(
            L"This PC doesn't have a texting app set up to open text-message links.\n\nThe message has "
            L"been copied \x2014 paste it (Ctrl+V) into Phone Link, your texting app, or a text on your "
            L"phone."),
        with.p.failureText);
}

TEST(SharePlan, MessengerAndTeamsCopyExplainThenOpen) {
    Plan messenger(ShareMessenger, L"", L"", kSubject, kMessage);
    EXPECT_TRUE(messenger.p.copyFirst);
    EXPECT_EQ(std::wstring(L"https://www.messenger.com/"), messenger.p.address);
    EXPECT_EQ(std::wstring(L"Share via Facebook Messenger"), messenger.p.boxCaption);
    EXPECT_EQ(std::wstring(
                  L"The message (with the download link) is copied.\n\nMessenger will open in your browser "
                  L"next. Pick the person, click in the message box and press Ctrl+V to paste, then send.\n\n"
                  L"(Facebook doesn't let programs type into Messenger for you, so the paste is needed.)"),
              messenger.p.boxText);
    EXPECT_EQ(std::wstring(L"Message copied \x2014 paste it into Messenger with Ctrl+V."),
              messenger.p.result);
    EXPECT_FALSE(messenger.p.failureReported);

    Plan teams(ShareTeams, L"", L"", kSubject, kMessage);
    EXPECT_TRUE(teams.p.copyFirst);
    EXPECT_EQ(std::wstring(L"msteams:"), teams.p.address);
    EXPECT_EQ(std::wstring(L"https://teams.microsoft.com/"), teams.p.fallback);
    EXPECT_EQ(std::wstring(L"Share via Microsoft Teams"), teams.p.boxCaption);
    EXPECT_EQ(std::wstring(
                  L"The message (with the download link) is copied.\n\nMicrosoft Teams will open next. Pick "
                  L"the person or chat, click in the message box and press Ctrl+V to paste, then send."),
              teams.p.boxText);
    EXPECT_EQ(std::wstring(L"Message copied \x2014 paste it into Teams with Ctrl+V."), teams.p.result);
}

TEST(SharePlan, CopyAndAttachment) {
    Plan copy(ShareCopy, L"", L"", kSubject, kMessage);
    EXPECT_TRUE(copy.p.copyFirst);
    EXPECT_EQ(std::wstring(L""), copy.p.address);
    EXPECT_EQ(std::wstring(L"Message copied \x2014 paste it anywhere with Ctrl+V."), copy.p.result);
    Plan attached(ShareEmailAttached, L"a@b.com", L"", kSubject, kMessage);
    EXPECT_EQ(std::wstring(L""), attached.p.address);
    EXPECT_EQ(std::wstring(L""), attached.p.result) << "the attachment reports nothing when it worked";
    wchar_t text[600];
    attachment_failure_text(text, 600);
    EXPECT_EQ(
        std::wstring(
            L"Couldn't start an email with Vantrel attached.\n\nThis needs a desktop email program that "
            L"supports \"Send to\" attachments \x2014 classic Outlook, Thunderbird, or eM Client. The "
            L"new Outlook, Gmail and Outlook.com in a browser can't be started this way.\n\nInstead you "
            L"can: click \"Show Vantrel.exe file\" and drag it into your email, or send the download "
            L"link (recommended \x2014 many email systems block .exe attachments anyway)."),
        text);
}

TEST(SharePlan, NonAsciiIsEncodedAsUtf8) {
    Plan plan(ShareWhatsApp, L"", L"", L"", L"A \x2014 \x00E9");
    EXPECT_EQ(std::wstring(L"https://wa.me/?text=A%20%E2%80%94%20%C3%A9"), plan.p.address);
}

TEST(ShareText, LineEndings) {
    wchar_t out[40];
    share_to_crlf(L"a\nb\r\nc\n", out, 40);
    EXPECT_EQ(std::wstring(L"a\r\nb\r\nc\r\n"), out);
    share_to_crlf(L"ab\ncd", out, 4);
    EXPECT_EQ(std::wstring(L"ab"), out) << "a line break is never cut in half";
    share_remove_cr(L"a\r\nb\r\n", out, 40);
    EXPECT_EQ(std::wstring(L"a\nb\n"), out);
}
