// The share message and the plan of each send method. Nothing here opens, copies or shows
// anything; share_win.cpp does what a plan says.
#include "share/share_message.h"

#include <stdlib.h>
#include <string.h>

#include "core/settings.h"
#include "core/text.h"
#include "net/maker.h"

void compose_share_message_of(const wchar_t* their_name, int32_t attached, const wchar_t* your_name,
                              const wchar_t* link, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    wchar_t greeting[160];
    if (their_name && their_name[0])
        text_format(greeting, _countof(greeting), L"Hi %ls,", their_name);
    else
        text_copy(greeting, _countof(greeting), L"Hi,");
    wchar_t offer[700];
    if (attached)
        text_copy(offer, _countof(offer),
                  L"I've attached it. It's a single program file - no install needed, just double-click it. "
                  L"It keeps "
                  L"itself up to date after that.");
    else if (link && link[0])
        text_format(offer, _countof(offer),
                    L"Download it here (no install needed, and it keeps itself up to date):\n%ls", link);
    else
        text_copy(offer, _countof(offer), L"Let me know and I'll send you a copy.");
    wchar_t signature[140] = L"";
    if (your_name && your_name[0]) text_format(signature, _countof(signature), L"\n\n%ls", your_name);
    size_t room = cap < (size_t)ShareMessageCap ? cap : (size_t)ShareMessageCap;
    text_format(
        out, room,
        L"%ls\n\nCheck out Vantrel, a small Windows tool that finds out why a printer will not print. It "
        L"checks "
        L"Windows' print service, every printer, its stuck jobs, its driver and its network connection, even "
        L"asks the printer itself what is wrong, then explains it in plain English and fixes the common "
        L"problems with one click.\n\n%ls%ls",
        greeting, offer, signature);
}

void compose_share_message(const wchar_t* their_name, int32_t attached, wchar_t* out, size_t cap) {
    compose_share_message_of(their_name, attached, g_settings.shareYourName, g_settings.shareLink, out, cap);
}

void phone_digits(const wchar_t* phone, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    wchar_t digits[40];
    size_t n = 0;
    for (const wchar_t* p = phone; p && *p && n < 38; p++)
        if (*p >= L'0' && *p <= L'9') digits[n++] = *p;
    digits[n] = 0;
    if (n == 10)
        text_format(out, cap, L"1%ls", digits);
    else
        text_copy(out, cap, digits);
}

void attachment_failure_text(wchar_t* out, size_t cap) {
    text_format(
        out, cap,
        L"Couldn't start an email with Vantrel attached.\n\nThis needs a desktop email program that supports "
        L"\"Send to\" attachments \x2014 classic Outlook, Thunderbird, or eM Client. The new Outlook, Gmail "
        L"and %ls in a browser can't be started this way.\n\nInstead you can: click \"Show Vantrel.exe "
        L"file\" and drag it into your email, or send the download link (recommended \x2014 many email "
        L"systems block .exe attachments anyway).",
        VANTREL_WEBMAIL_NAME);
}

static const wchar_t kMessengerBox[] = L"The message (with the download link) is copied.\n\nMessenger will "
                                       L"open in your browser next. Pick the person, "
                                       L"click in the message box and press Ctrl+V to paste, then "
                                       L"send.\n\n(Facebook doesn't let programs type into "
                                       L"Messenger for you, so the paste is needed.)";
static const wchar_t kTeamsBox[] = L"The message (with the download link) is copied.\n\nMicrosoft Teams will "
                                   L"open next. Pick the person or chat, "
                                   L"click in the message box and press Ctrl+V to paste, then send.";

// The encoded texts are large; one set on the heap per plan keeps the stack small.
struct Encoded {
    wchar_t subject[1000];
    wchar_t message[9000];
    wchar_t to[400];
    wchar_t digits[40];
};

static void build_plan(int32_t method, const Encoded* e, SharePlan* p) {
    const size_t cap = _countof(p->address);
    switch (method) {
    case ShareEmail:
        // The address as typed: a mail program reads "a@b.com, c@d.com" in a mailto link as two people.
        text_format(p->address, cap, L"mailto:%ls?subject=%ls&body=%ls", e->to, e->subject, e->message);
        text_copy(p->result, _countof(p->result), L"Your email program should now show the new message.");
        p->failureReported = 1;
        text_format(p->failureText, _countof(p->failureText),
                    L"No email program is set up on this PC to open email links. Try Gmail or %ls instead.",
                    VANTREL_WEBMAIL_NAME);
        break;
    case ShareGmail:
        text_format(p->address, cap, L"%ls?view=cm&fs=1&to=%ls&su=%ls&body=%ls", VANTREL_GMAIL_COMPOSE, e->to,
                    e->subject, e->message);
        text_copy(p->result, _countof(p->result),
                  L"Gmail opened in your browser with the message filled in.");
        break;
    case ShareWebMail:
        text_format(p->address, cap, L"%ls?to=%ls&subject=%ls&body=%ls", VANTREL_WEBMAIL_COMPOSE, e->to,
                    e->subject, e->message);
        text_format(p->result, _countof(p->result), L"%ls opened in your browser with the message filled in.",
                    VANTREL_WEBMAIL_NAME);
        break;
    case ShareMessenger:
        p->copyFirst = 1;
        p->boxText = kMessengerBox;
        p->boxCaption = L"Share via Facebook Messenger";
        text_copy(p->address, cap, VANTREL_MESSENGER_ADDRESS);
        text_copy(p->result, _countof(p->result),
                  L"Message copied \x2014 paste it into Messenger with Ctrl+V.");
        break;
    case ShareWhatsApp:
        // No number leaves the path empty, and WhatsApp lets the user pick the chat.
        text_format(p->address, cap, L"%ls%ls?text=%ls", VANTREL_WHATSAPP_ADDRESS, e->digits, e->message);
        text_copy(p->result, _countof(p->result), L"WhatsApp opened with the message typed in.");
        break;
    case ShareTextMessage:
        if (e->digits[0])
            text_format(p->address, cap, L"sms:+%ls?body=%ls", e->digits, e->message);
        else
            text_format(p->address, cap, L"sms:?body=%ls", e->message);
        text_copy(p->result, _countof(p->result), L"Your texting app should now show the message.");
        p->failureReported = 1;
        p->copyOnFailure = 1;
        text_copy(
            p->failureText, _countof(p->failureText),
            L"This PC doesn't have a texting app set up to open text-message links.\n\nThe message has been "
            L"copied \x2014 paste it (Ctrl+V) into Phone Link, your texting app, or a text on your phone.");
        break;
    case ShareTeams:
        p->copyFirst = 1;
        p->boxText = kTeamsBox;
        p->boxCaption = L"Share via Microsoft Teams";
        text_copy(p->address, cap, VANTREL_TEAMS_APP_ADDRESS);
        text_copy(p->fallback, _countof(p->fallback), VANTREL_TEAMS_WEB_ADDRESS);
        text_copy(p->result, _countof(p->result), L"Message copied \x2014 paste it into Teams with Ctrl+V.");
        break;
    case ShareCopy:
        p->copyFirst = 1;
        text_copy(p->result, _countof(p->result), L"Message copied \x2014 paste it anywhere with Ctrl+V.");
        break;
    default:
        break; // the attachment has its own road, with its own messages
    }
}

void share_plan(int32_t method, const wchar_t* to, const wchar_t* phone, const wchar_t* subject,
                const wchar_t* message, SharePlan* out) {
    if (!out) return;
    memset(out, 0, sizeof(*out));
    out->method = method;
    Encoded* e = static_cast<Encoded*>(calloc(1, sizeof(Encoded)));
    if (!e) return;
    // Only a mailto link is read by a Windows mail program, which wants CR LF; web addresses take a bare LF.
    int crlf = method == ShareEmail;
    percent_encode(subject ? subject : L"", e->subject, _countof(e->subject), crlf);
    percent_encode(message ? message : L"", e->message, _countof(e->message), crlf);
    percent_encode(to ? to : L"", e->to, _countof(e->to), 0);
    phone_digits(phone, e->digits, _countof(e->digits));
    if (method == ShareEmail) text_copy(e->to, _countof(e->to), to); // as typed
    build_plan(method, e, out);
    free(e);
}

void share_to_crlf(const wchar_t* text, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t n = 0;
    for (const wchar_t* p = text; p && *p; p++) {
        int add_cr = *p == L'\n' && (p == text || p[-1] != L'\r');
        if (n + 1 + (size_t)add_cr >= cap) break;
        if (add_cr) out[n++] = L'\r';
        out[n++] = *p;
    }
    out[n] = 0;
}

void share_remove_cr(const wchar_t* text, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t n = 0;
    for (const wchar_t* p = text; p && *p && n + 1 < cap; p++)
        if (*p != L'\r') out[n++] = *p;
    out[n] = 0;
}

int32_t share_link_present(const wchar_t* link) {
    for (const wchar_t* p = link; p && *p; p++)
        if (*p != L' ' && *p != L'\t' && *p != L'\r' && *p != L'\n') return 1;
    return 0;
}

const wchar_t* copy_link_result_line(const wchar_t* link) {
    return share_link_present(link) ? VANTREL_LINK_COPIED : VANTREL_NO_LINK;
}
