// The message that recommends Vantrel to someone and what each of the nine ways of sending it
// does: the address it opens, the boxes it shows, what it copies and the line it reports. All of it
// is plain text in, plain records out, so every address can be checked without a shell or a window;
// share_win.cpp only carries a plan out.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

enum ShareMethod : int32_t {
    ShareEmail = 0,         // mailto link
    ShareEmailAttached = 1, // Simple MAPI with the program file attached
    ShareGmail = 2,
    ShareWebMail = 3, // Microsoft's web mail
    ShareMessenger = 4,
    ShareWhatsApp = 5,
    ShareTextMessage = 6, // sms link
    ShareTeams = 7,
    ShareCopy = 8,
    ShareMethodCount = 9,
};

// Microsoft's web-mail service as users know it, and the services' public addresses.
#define VANTREL_WEBMAIL_NAME L"Outlook.com"
#define VANTREL_GMAIL_COMPOSE L"https://mail.google.com/mail/"
#define VANTREL_WEBMAIL_COMPOSE L"https://outlook.live.com/mail/0/deeplink/compose"
#define VANTREL_MESSENGER_ADDRESS L"https://www.messenger.com/"
#define VANTREL_WHATSAPP_ADDRESS L"https://wa.me/"
#define VANTREL_TEAMS_APP_ADDRESS L"msteams:"
#define VANTREL_TEAMS_WEB_ADDRESS L"https://teams.microsoft.com/"

#define VANTREL_SHARE_SUBJECT L"Check out Vantrel - finds out why a printer will not print"
#define VANTREL_SHARE_CAPTION L"Share Vantrel"
#define VANTREL_LINK_COPIED L"Download link copied \x2014 paste it anywhere with Ctrl+V."
#define VANTREL_NO_LINK                                                                                      \
    L"There is no download link to copy \x2014 type one under \"Download link\" in the Share window first."

enum {
    ShareMessageCap = 3000, // a composed message: at most 2999 characters
    ShareLinkCap = 12000,   // an address to open
};

// The message with the sender's name and the download link given; their_name and the others may be
// null or empty. Line feeds only.
void compose_share_message_of(const wchar_t* their_name, int32_t attached, const wchar_t* your_name,
                              const wchar_t* link, wchar_t* out, size_t cap);
// The same with the remembered "ShareYourName" and "ShareLink".
void compose_share_message(const wchar_t* their_name, int32_t attached, wchar_t* out, size_t cap);

// Only the digits of a phone number typed any way, at most 38; ten digits are a US number and get
// the country code 1 in front.
void phone_digits(const wchar_t* phone, wchar_t* out, size_t cap);

// Everything one method does, in order: copy the message, show a box, open the address (then the
// fallback when the first fails), and then report the result line, or, when the shell could not open
// anything and the method says so, copy and show the failure box instead.
struct SharePlan {
    int32_t method;
    int32_t copyFirst;      // put the message on the clipboard before anything else
    const wchar_t* boxText; // shown before opening (information icon), or null
    const wchar_t* boxCaption;
    wchar_t address[ShareLinkCap];  // empty: nothing to open (copy only, or the attachment)
    wchar_t fallback[ShareLinkCap]; // opened when the first address fails; may be empty
    wchar_t result[200];            // the result line, or empty
    int32_t failureReported;        // a shell failure shows failureText instead of the result line
    int32_t copyOnFailure;
    wchar_t failureText[400];
};

// The plan for one method with the fields as typed: to (an email address), phone, subject and
// message (line feeds as line breaks; carriage returns are dropped).
void share_plan(int32_t method, const wchar_t* to, const wchar_t* phone, const wchar_t* subject,
                const wchar_t* message, SharePlan* out);

// Whether Copy Link has anything to copy: a link of blanks only is none. The line Copy Link shows
// then (VANTREL_LINK_COPIED or VANTREL_NO_LINK).
int32_t share_link_present(const wchar_t* link);
const wchar_t* copy_link_result_line(const wchar_t* link);

// The message box shown when Simple MAPI could not start an email with the program attached.
void attachment_failure_text(wchar_t* out, size_t cap);

// The line feeds of a text as CR LF (for an edit control or Simple MAPI), and back: carriage
// returns removed.
void share_to_crlf(const wchar_t* text, wchar_t* out, size_t cap);
void share_remove_cr(const wchar_t* text, wchar_t* out, size_t cap);
