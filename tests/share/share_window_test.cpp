// What a Share window button sends, without a window.
#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "share/share_message.h"
#include "ui/share_window.h"

TEST(ShareWindowChoices, WhatAButtonSends) {
    wchar_t out[6000];
    share_message_to_send(ShareEmail, 0, L"Hi,\r\n\r\nhello", L"Mike", out, 6000);
    EXPECT_EQ(std::wstring(L"Hi,\n\nhello"), out);
    share_message_to_send(ShareEmailAttached, 1, L"Edited\r\ntext", L"Mike", out, 6000);
    EXPECT_EQ(std::wstring(L"Edited\ntext"), out) << "an edited message is sent as shown";
    share_message_to_send(ShareEmailAttached, 0, L"Hi Mike,\r\n(link wording)", L"Mike", out, 6000);
    wchar_t attached[ShareMessageCap];
    compose_share_message(L"Mike", 1, attached, ShareMessageCap);
    EXPECT_EQ(std::wstring(attached), out) << "an unedited message switches to the attachment wording";
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share_subject_or_default(L""));
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share_subject_or_default(nullptr));
    EXPECT_EQ(std::wstring(L"Hi"), share_subject_or_default(L"Hi"));
}
