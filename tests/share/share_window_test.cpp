// The Share window's table and the choices it makes, without a window.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/settings.h"
#include "share/share_message.h"
#include "ui/share_window.h"

TEST(ShareWindowTable, EveryControlInPlace) {
    int32_t count = 0;
    const ShareControl* controls = share_controls(&count);
    ASSERT_EQ(29, count);
    std::set<int32_t> ids;
    for (int32_t i = 0; i < count; i++) {
        const ShareControl& c = controls[i];
        if (c.id) {
            EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        }
        EXPECT_LE(c.x + c.width, ShareClientWidth96) << i;
        EXPECT_LE(c.y + c.height, ShareClientHeight96) << i;
    }
    struct Edit {
        int32_t id, y;
        const wchar_t* label;
    } edits[] = {{300, 48, L"Their name"}, {301, 78, L"Their email"},    {302, 108, L"Their mobile #"},
                 {303, 138, L"Your name"}, {304, 168, L"Download link"}, {305, 206, L"Subject"}};
    for (const Edit& e : edits) {
        const ShareControl* edit = share_control(e.id);
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(ShareKindEdit, edit->kind);
        EXPECT_EQ(140, edit->x);
        EXPECT_EQ(e.y, edit->y);
        EXPECT_EQ(470, edit->width);
        EXPECT_EQ(24, edit->height);
        const ShareControl* label = edit - 1; // each label is created just before its edit
        EXPECT_EQ(ShareKindLabel, label->kind);
        EXPECT_EQ(std::wstring(e.label), label->text);
        EXPECT_EQ(12, label->x);
        EXPECT_EQ(e.y, label->y);
        EXPECT_EQ(120, label->width);
        EXPECT_NE(nullptr, edit->tooltip);
    }
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share_control(305)->text);
    const ShareControl* message = share_control(306);
    EXPECT_EQ(ShareKindMessage, message->kind);
    EXPECT_EQ(236, message->y);
    EXPECT_EQ(150, message->height);
    EXPECT_EQ(message->tooltip, (message - 1)->tooltip) << "the \"Message\" label shares the edit's tooltip";
    EXPECT_EQ(std::wstring(L"Reset message"), share_control(307)->text);
    const ShareControl* status = share_control(331);
    EXPECT_EQ(ShareKindStatus, status->kind);
    EXPECT_EQ(574, status->y);
    EXPECT_EQ(596, status->width);
    EXPECT_EQ(std::wstring(L"Close"), share_control(330)->text);
    EXPECT_EQ(416, share_control(330)->x);
    EXPECT_EQ(528, share_control(330)->y);
}

TEST(ShareWindowTable, TenButtonsThreePerRow) {
    const wchar_t* labels[] = {L"Email",
                               L"Email with Vantrel attached",
                               L"Gmail",
                               L"Outlook.com / Hotmail",
                               L"Facebook Messenger",
                               L"WhatsApp",
                               L"Text message (SMS)",
                               L"Microsoft Teams",
                               L"Copy message",
                               L"Show Vantrel.exe file"};
    for (int i = 0; i < 10; i++) {
        const ShareControl* b = share_control(320 + i);
        ASSERT_NE(nullptr, b) << i;
        EXPECT_EQ(ShareKindButton, b->kind);
        EXPECT_EQ(std::wstring(labels[i]), b->text);
        EXPECT_EQ(24 + (i % 3) * 196, b->x);
        EXPECT_EQ(420 + (i / 3) * 36, b->y);
        EXPECT_EQ(188, b->width);
        EXPECT_EQ(30, b->height);
        EXPECT_NE(nullptr, b->tooltip);
    }
    EXPECT_EQ(std::wstring(
                  L"Opens Outlook.com (Hotmail / Live) in your web browser with a new message already filled "
                  L"in."),
              share_control(323)->tooltip);
    EXPECT_EQ(std::wstring(L"Optional. Filled into the To: line for Email, Email with attachment, Gmail and "
                           L"Outlook.com. Leave it blank to pick the person in your email program instead."),
              share_control(301)->tooltip);
}

TEST(ShareWindowChoices, WhatAButtonSends) {
    wchar_t out[6000];
    share_message_to_send(ShareEmail, 0, L"Hi,\r\n\r\nhello", L"Mike", out, 6000);
    EXPECT_EQ(std::wstring(L"Hi,\n\nhello"), out);
    share_message_to_send(ShareEmailAttached, 1, L"Edited\r\ntext", L"Mike", out, 6000);
    EXPECT_EQ(std::wstring(L"Edited\ntext"), out) << "an edited message is sent as shown";
    share_message_to_send(ShareEmailAttached, 0, L"Hi Mike,\r\n(link wording)", L"Mike", out, 6000);
    wchar_t attached[ShareMessageCap];
    compose_share_message(L"Mike", 1, attached, ShareMessageCap);
    EXPECT_EQ(std::wstring(attached), out);
    EXPECT_NE(std::wstring::npos, std::wstring(out).find(L"I've attached it."));
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share_subject_or_default(L""));
    EXPECT_EQ(std::wstring(VANTREL_SHARE_SUBJECT), share_subject_or_default(nullptr));
    EXPECT_EQ(std::wstring(L"Hi"), share_subject_or_default(L"Hi"));
}
