// The share message and the address each send method opens, for the edge cases.
#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "share/share_message.h"

namespace {
const wchar_t kLink[] = L"https://github.com/Corvalen/vantrel-releases";

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

SharePlan plan(int method, const wchar_t* to, const wchar_t* phone, const wchar_t* subject,
               const wchar_t* message) {
    SharePlan p;
    share_plan(method, to, phone, subject, message, &p);
    return p;
}

bool ends_with(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const wchar_t kSubject[] = L"Hello there";
const wchar_t kMessage[] = L"Hi Mike,\nLine two";
} // namespace

TEST(ShareMessage, GreetingSignatureLinkAttachmentWordingAndLength) {
    std::wstring standard = compose(L"", 0, L"", kLink);
    EXPECT_EQ(0u, standard.find(L"Hi,\n\nCheck out Vantrel"));
    EXPECT_TRUE(ends_with(standard, std::wstring(L"):\n") + kLink)) << "the link closes the message";
    EXPECT_EQ(std::wstring(kLink), std::wstring(VANTREL_DEFAULT_SHARE_LINK));

    std::wstring cleared = compose(L"Mike", 0, L"Sam", L"");
    EXPECT_EQ(0u, cleared.find(L"Hi Mike,\n\n"));
    EXPECT_TRUE(ends_with(cleared, L"\n\nLet me know and I'll send you a copy.\n\nSam"));
    EXPECT_EQ(std::wstring::npos, cleared.find(L"Download it here"));
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
    EXPECT_EQ(L"19735551234", digits(L"(973) 555-1234")) << "ten digits get the US country code";
    EXPECT_EQ(L"442079460000", digits(L"+44 20 7946 0000"));
    EXPECT_EQ(L"", digits(nullptr));
    EXPECT_EQ(L"", digits(L"call me"));
    EXPECT_EQ(L"555123456", digits(L"555-123-456"));
    EXPECT_EQ(L"19735551234", digits(L"1 973 555 1234")) << "eleven digits stay as typed";
    EXPECT_EQ(std::wstring(38, L'7'), digits(std::wstring(50, L'7').c_str()));
}

TEST(SharePlan, EachAddressExactly) {
    SharePlan email = plan(ShareEmail, L"a@b.com", L"", kSubject, kMessage);
    EXPECT_EQ(std::wstring(L"mailto:a@b.com?subject=Hello%20there&body=Hi%20Mike%2C%0D%0ALine%20two"),
              email.address);
    EXPECT_TRUE(email.failureReported);
    EXPECT_EQ(std::wstring(L"mailto:?subject=Hello%20there&body="),
              plan(ShareEmail, L"", L"", kSubject, L"").address);
    EXPECT_EQ(std::wstring(L"https://mail.google.com/mail/?view=cm&fs=1&to=a%40b.com&su=Hello%20there&body="
                           L"Hi%20Mike%2C%0ALine%20two"),
              plan(ShareGmail, L"a@b.com", L"", kSubject, kMessage).address);
    EXPECT_EQ(
        std::wstring(L"https://outlook.live.com/mail/0/deeplink/compose?to=a%40b.com&subject=Hello%20there&"
                     L"body=Hi%20Mike%2C%0ALine%20two"),
        plan(ShareWebMail, L"a@b.com", L"", kSubject, kMessage).address);
    EXPECT_EQ(std::wstring(L"https://wa.me/19735551234?text=Hi%20Mike%2C%0ALine%20two"),
              plan(ShareWhatsApp, L"", L"(973) 555-1234", kSubject, kMessage).address);
    EXPECT_EQ(std::wstring(L"https://wa.me/?text=Hi%20Mike%2C%0ALine%20two"),
              plan(ShareWhatsApp, L"", L"", kSubject, kMessage).address)
        << "no phone: an empty path lets the user pick the chat";
    EXPECT_EQ(std::wstring(L"sms:+442079460000?body=Hi%20Mike%2C%0ALine%20two"),
              plan(ShareTextMessage, L"", L"+44 20 7946 0000", kSubject, kMessage).address);
    EXPECT_EQ(std::wstring(L"sms:?body=Hi%20Mike%2C%0ALine%20two"),
              plan(ShareTextMessage, L"", L"none", kSubject, kMessage).address);
    EXPECT_EQ(std::wstring(L"https://wa.me/?text=A%20%E2%80%94%20%C3%A9"),
              plan(ShareWhatsApp, L"", L"", L"", L"A \x2014 \x00E9").address)
        << "UTF-8";
}

TEST(SharePlan, CrLfOnlyForMailto) {
    const wchar_t* message = L"one\ntwo\r\nthree";
    for (int method = 0; method < ShareMethodCount; method++) {
        std::wstring address = plan(method, L"x@y.z", L"555", L"s\nt", message).address;
        if (method == ShareEmail)
            EXPECT_NE(std::wstring::npos, address.find(L"one%0D%0Atwo%0D%0Athree"));
        else
            EXPECT_EQ(std::wstring::npos, address.find(L"%0D")) << method;
    }
    EXPECT_EQ(std::wstring(L"https://wa.me/?text=one%0Atwo%0Athree"),
              plan(ShareWhatsApp, L"", L"", L"", message).address);
}

TEST(SharePlan, WhatIsCopiedAndWhenFailureIsExplained) {
    SharePlan sms = plan(ShareTextMessage, L"", L"555", kSubject, kMessage);
    EXPECT_TRUE(sms.failureReported);
    EXPECT_TRUE(sms.copyOnFailure) << "no sms handler: the message is copied and explained";
    EXPECT_NE(std::wstring::npos, std::wstring(sms.failureText).find(L"copied"));
    EXPECT_FALSE(plan(ShareGmail, L"", L"", kSubject, kMessage).failureReported);
    EXPECT_TRUE(plan(ShareCopy, L"", L"", kSubject, kMessage).copyFirst);
    SharePlan attached = plan(ShareEmailAttached, L"a@b.com", L"", kSubject, kMessage);
    EXPECT_EQ(std::wstring(L""), attached.address);
    EXPECT_EQ(std::wstring(L""), attached.result) << "the attachment reports nothing when it worked";
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
