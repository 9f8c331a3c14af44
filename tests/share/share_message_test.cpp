// The share message, the address each send method opens, and what a Share window button sends, for
// the edge cases.
#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "share/share_message.h"
#include "ui/share_window.h"

namespace {
const wchar_t* kLink = VANTREL_DEFAULT_SHARE_LINK;

std::wstring compose(const wchar_t* their, int attached, const wchar_t* yours, const wchar_t* link) {
    wchar_t out[ShareMessageCap];
    compose_share_message_of(their, attached, yours, link, out, ShareMessageCap);
    return out;
}

SharePlan plan(int method, const wchar_t* to, const wchar_t* phone,
               const wchar_t* message = L"Hi Mike,\nLine two") {
    SharePlan p;
    share_plan(method, to, phone, L"Hello there", message, &p);
    return p;
}
} // namespace

TEST(ShareMessage, GreetingSignatureLinkAttachmentWordingAndLength) {
    std::wstring standard = compose(L"", 0, L"", kLink), cleared = compose(L"Mike", 0, L"Sam", L"");
    EXPECT_EQ(0u, standard.find(L"Hi,\n\n"));
    EXPECT_EQ(standard.size() - wcslen(kLink) - 3, standard.rfind(L"):\n")) << "the link closes the message";
    EXPECT_EQ(0u, cleared.find(L"Hi Mike,\n\n"));
    EXPECT_EQ(cleared.size() - 21, cleared.find(L"send you a copy.\n\nSam"))
        << "no link: a copy, then the name";
    EXPECT_EQ(compose(L"", 0, L"", L""), compose(nullptr, 0, nullptr, nullptr));

    std::wstring attached = compose(L"Ann", 1, L"", kLink);
    EXPECT_NE(std::wstring::npos, attached.find(L"\n\nI've attached it."));
    EXPECT_EQ(std::wstring::npos, attached.find(kLink)) << "the attachment wording replaces the link";

    std::wstring long_link(511, L'x'), long_name(127, L'n');
    EXPECT_LE(compose(long_name.c_str(), 0, long_name.c_str(), long_link.c_str()).size(), 2999u);
    wchar_t small[20];
    compose_share_message_of(L"Mike", 0, L"", kLink, small, 20);
    EXPECT_EQ(std::wstring(L"Hi Mike,\n\nCheck out"), small);
}

TEST(SharePhone, DigitsAndTheUsRule) {
    auto digits = [](const wchar_t* phone) {
        wchar_t out[40];
        phone_digits(phone, out, 40);
        return std::wstring(out);
    };
    EXPECT_EQ(L"19735551234", digits(L"(973) 555-1234")) << "ten digits get the US country code";
    EXPECT_EQ(L"19735551234", digits(L"1 973 555 1234")) << "eleven digits stay as typed";
    EXPECT_EQ(L"442079460000", digits(L"+44 20 7946 0000"));
    EXPECT_EQ(L"555123456", digits(L"555-123-456"));
    EXPECT_EQ(L"", digits(L"call me") + digits(nullptr));
    EXPECT_EQ(std::wstring(38, L'7'), digits(std::wstring(50, L'7').c_str()));
}

TEST(SharePlan, EachAddressExactly) {
    const std::wstring body = L"Hi%20Mike%2C%0ALine%20two";
    struct {
        int method;
        const wchar_t *to, *phone;
        std::wstring address;
    } cases[] = {
        {ShareEmail, L"a@b.com", L"",
         L"mailto:a@b.com?subject=Hello%20there&body=Hi%20Mike%2C%0D%0ALine%20two"},
        {ShareGmail, L"a@b.com", L"",
         L"https://mail.google.com/mail/?view=cm&fs=1&to=a%40b.com&su=Hello%20there&body=" + body},
        {ShareWebMail, L"a@b.com", L"",
         L"https://outlook.live.com/mail/0/deeplink/compose?to=a%40b.com&subject=Hello%20there&body=" + body},
        {ShareWhatsApp, L"", L"(973) 555-1234", L"https://wa.me/19735551234?text=" + body},
        {ShareWhatsApp, L"", L"", L"https://wa.me/?text=" + body}, // no phone: the user picks the chat
        {ShareTextMessage, L"", L"+44 20 7946 0000", L"sms:+442079460000?body=" + body},
        {ShareTextMessage, L"", L"none", L"sms:?body=" + body},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.address, plan(c.method, c.to, c.phone).address);
    EXPECT_EQ(std::wstring(L"mailto:?subject=Hello%20there&body="), plan(ShareEmail, L"", L"", L"").address);
    EXPECT_EQ(std::wstring(L"https://wa.me/?text=A%20%E2%80%94%20%C3%A9"),
              plan(ShareWhatsApp, L"", L"", L"A \x2014 \x00E9").address)
        << "UTF-8";
    // CR LF only for mailto; a typed CR LF is one line break.
    for (int method = 0; method < ShareMethodCount; method++)
        EXPECT_EQ(method == ShareEmail,
                  wcsstr(plan(method, L"x@y.z", L"555", L"one\ntwo\r\nthree").address, L"%0D") != nullptr)
            << method;
    EXPECT_NE(nullptr,
              wcsstr(plan(ShareEmail, L"", L"", L"one\ntwo\r\nthree").address, L"one%0D%0Atwo%0D%0Athree"));
    EXPECT_EQ(std::wstring(L"https://wa.me/?text=one%0Atwo%0Athree"),
              plan(ShareWhatsApp, L"", L"", L"one\ntwo\r\nthree").address);
}

// The text message's copy-and-explain on failure is checked in the running Share window.
TEST(SharePlan, WhatIsCopiedAndWhenFailureIsExplained) {
    EXPECT_TRUE(plan(ShareCopy, L"", L"").copyFirst);
    SharePlan attached = plan(ShareEmailAttached, L"a@b.com", L"");
    EXPECT_EQ(std::wstring(L""), std::wstring(attached.address) + attached.result)
        << "the attachment opens no address and reports nothing when it worked";
    wchar_t text[600];
    attachment_failure_text(text, 600);
    EXPECT_NE(std::wstring::npos, std::wstring(text).find(L"Show Vantrel.exe file"));
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

TEST(ShareWindowChoices, WhatAButtonSends) {
    wchar_t out[6000], attached[ShareMessageCap];
    share_message_to_send(ShareEmail, 0, L"Hi,\r\n\r\nhello", L"Mike", out, 6000);
    EXPECT_EQ(std::wstring(L"Hi,\n\nhello"), out);
    share_message_to_send(ShareEmailAttached, 1, L"Edited\r\ntext", L"Mike", out, 6000);
    EXPECT_EQ(std::wstring(L"Edited\ntext"), out) << "an edited message is sent as shown";
    share_message_to_send(ShareEmailAttached, 0, L"Hi Mike,\r\n(link wording)", L"Mike", out, 6000);
    compose_share_message(L"Mike", 1, attached, ShareMessageCap);
    EXPECT_EQ(std::wstring(attached), out) << "an unedited message switches to the attachment wording";
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share_subject_or_default(L"")) << "and the subject";
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share_subject_or_default(nullptr));
    EXPECT_EQ(std::wstring(L"Hi"), share_subject_or_default(L"Hi"));
}
