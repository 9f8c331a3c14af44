// The Share window's table and choices. Texts that name Microsoft's web mail take the name from
// the share message's header, so the window and the messages always agree.
#include "ui/share_window.h"

#include "core/text.h"
#include "share/share_message.h"

#define WEBMAIL VANTREL_WEBMAIL_NAME

// Each button's position follows from its place in the three-per-row grid.
#define METHOD_BUTTON(i, label, tip)                                                                         \
    {                                                                                                        \
        ShareFirstMethod + (i), ShareKindButton, 24 + ((i) % 3) * 196, 420 + ((i) / 3) * 36, 188, 30, label, \
            tip                                                                                              \
    }

static const wchar_t kMessageTip[] =
    L"The message that gets sent. Edit it any way you like \x2014 once you change it, Vantrel stops "
    L"rewriting it when "
    L"you type a name or link. Click Reset message to go back to the standard wording.";

static const ShareControl kControls[] = {
    {0, ShareKindText, 14, 10, 596, 34,
     L"Tell someone about Vantrel. Fill in whatever you know about them (all optional), check the message, "
     L"then pick "
     L"how to send it.",
     nullptr},
    {0, ShareKindLabel, 12, 48, 120, 24, L"Their name", nullptr},
    {ShareTheirName, ShareKindEdit, 140, 48, 470, 24, L"",
     L"Optional. Used in the greeting (\"Hi Mike,\"). The message updates as you type, unless you've already "
     L"edited "
     L"the message yourself."},
    {0, ShareKindLabel, 12, 78, 120, 24, L"Their email", nullptr},
    {ShareTheirEmail, ShareKindEdit, 140, 78, 470, 24, L"",
     L"Optional. Filled into the To: line for Email, Email with attachment, Gmail "
     L"and " WEBMAIL L". Leave it blank to pick the person in your email program instead."},
    {0, ShareKindLabel, 12, 108, 120, 24, L"Their mobile #", nullptr},
    {ShareTheirPhone, ShareKindEdit, 140, 108, 470, 24, L"",
     L"Optional. Used by WhatsApp and Text message to start a chat with this person directly. Any format "
     L"works, e.g. "
     L"(973) 555-1234. A 10-digit number is treated as a US number. Leave it blank to choose the person in "
     L"the app."},
    {0, ShareKindLabel, 12, 138, 120, 24, L"Your name", nullptr},
    {ShareYourName, ShareKindEdit, 140, 138, 470, 24, nullptr, // the remembered name
     L"Optional. Added at the end of the message so they know who it's from. Remembered for next time."},
    {0, ShareKindLabel, 12, 168, 120, 24, L"Download link", nullptr},
    {ShareLink, ShareKindEdit, 140, 168, 470, 24, nullptr, // the remembered link
     L"Where the person can download Vantrel. It's set to the official Vantrel download page, which always "
     L"has the "
     L"newest version. Change it if you'd rather send your own link (your website, Google Drive, Dropbox, "
     L"etc.). "
     L"Remembered for next time; the message updates as you type."},
    {0, ShareKindLabel, 12, 206, 120, 24, L"Subject", nullptr},
    {ShareSubject, ShareKindEdit, 140, 206, 470, 24, VANTREL_SHARE_SUBJECT,
     L"The email subject line, used by Email, Email with attachment, Gmail "
     L"and " WEBMAIL L". Other methods send only the message."},
    {0, ShareKindText, 12, 240, 120, 22, L"Message", kMessageTip},
    {ShareMessageEdit, ShareKindMessage, 140, 236, 470, 150, L"", kMessageTip},
    {ShareReset, ShareKindButton, 12, 362, 120, 26, L"Reset message",
     L"Puts the standard Vantrel message and subject back, using the name, your name and link above."},
    {0, ShareKindGroup, 12, 396, 600, 172, L"Send it with", nullptr},
    METHOD_BUTTON(
        0, L"Email",
        L"Opens a new message in your email program (classic Outlook, Mail, Thunderbird, etc.) with the "
        L"subject, message and download link filled in."),
    METHOD_BUTTON(
        1, L"Email with Vantrel attached",
        L"Opens a new email with the Vantrel.exe program itself attached, so they don't need to download "
        L"anything.\n\nNeeds a desktop email program such as classic Outlook or Thunderbird (not the new "
        L"Outlook or a browser). Many email systems, including Gmail and Microsoft 365, block .exe "
        L"attachments \x2014 the download link is more reliable."),
    METHOD_BUTTON(
        2, L"Gmail",
        L"Opens Gmail in your web browser with a new message already filled in. You must be signed in to "
        L"Gmail in that browser."),
    METHOD_BUTTON(
        3, WEBMAIL L" / Hotmail",
        L"Opens " WEBMAIL L" (Hotmail / Live) in your web browser with a new message already filled in."),
    METHOD_BUTTON(
        4, L"Facebook Messenger",
        L"Copies the message and opens Messenger in your browser. Pick the person, click in the message box "
        L"and press Ctrl+V. Facebook doesn't allow programs to type into Messenger directly."),
    METHOD_BUTTON(
        5, L"WhatsApp",
        L"Opens WhatsApp (the app if installed, otherwise WhatsApp Web) with the message typed in. If you "
        L"entered their mobile number it goes straight to their chat."),
    METHOD_BUTTON(
        6, L"Text message (SMS)",
        L"Opens your PC's texting app (such as Phone Link) with the message, addressed to their mobile "
        L"number if you entered one. If no texting app is set up, the message is copied so you can paste it "
        L"into a text on your phone."),
    METHOD_BUTTON(
        7, L"Microsoft Teams",
        L"Copies the message and opens Microsoft Teams. Pick the person or chat, click in the message box "
        L"and press Ctrl+V."),
    METHOD_BUTTON(
        8, L"Copy message",
        L"Copies the message (with the download link) so you can paste it anywhere: Slack, Discord, a "
        L"ticket, a forum post, LinkedIn, Signal, etc."),
    METHOD_BUTTON(
        9, L"Show Vantrel.exe file",
        L"Opens File Explorer with Vantrel.exe selected, so you can drag it into an email, a chat, a USB "
        L"stick or a shared folder."),
    {ShareClose, ShareKindButton, 416, 528, 188, 30, L"Close",
     L"Closes this window. Your name and download link are remembered."},
    {ShareStatus, ShareKindStatus, 14, 574, 596, 24, L"", nullptr},
};

const ShareControl* share_controls(int32_t* count) {
    if (count) *count = (int32_t)(sizeof(kControls) / sizeof(kControls[0]));
    return kControls;
}

const ShareControl* share_control(int32_t id) {
    for (const ShareControl& c : kControls)
        if (c.id == id && id != 0) return &c;
    return nullptr;
}

void share_message_to_send(int32_t method, int32_t edited, const wchar_t* edit_text,
                           const wchar_t* their_name, wchar_t* out, size_t cap) {
    size_t room = cap < 6000 ? cap : 6000;
    if (method == ShareEmailAttached && !edited)
        compose_share_message(their_name, 1, out, room);
    else
        share_remove_cr(edit_text, out, room);
}

const wchar_t* share_subject_or_default(const wchar_t* subject) {
    return subject && subject[0] ? subject : VANTREL_SHARE_SUBJECT;
}
