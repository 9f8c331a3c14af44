// The Share window's controls as a table (positions at 96 DPI, texts and tooltips), and the choices
// it makes about what to send, as functions of plain values.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

enum ShareControlId : int32_t {
    ShareTheirName = 300,
    ShareTheirEmail = 301,
    ShareTheirPhone = 302,
    ShareYourName = 303,
    ShareLink = 304,
    ShareSubject = 305,
    ShareMessageEdit = 306,
    ShareReset = 307,
    ShareFirstMethod = 320, // 320-328: the ShareMethods 0-8
    ShareShowFile = 329,
    ShareClose = 330,
    ShareStatus = 331,
};

enum ShareControlKind : int32_t {
    ShareKindText,    // a plain static
    ShareKindLabel,   // right-aligned, vertically centred static before an edit
    ShareKindEdit,    // one line, scrolls sideways
    ShareKindMessage, // several lines with a vertical scroll bar; Enter makes a new line
    ShareKindButton,
    ShareKindGroup,  // bold font
    ShareKindStatus, // blue, vertically centred, cut with an ellipsis
};

struct ShareControl {
    int32_t id; // 0 for the texts that are never addressed
    int32_t kind;
    int32_t x, y, width, height;
    const wchar_t* text;
    const wchar_t* tooltip; // null: none
};

enum { ShareClientWidth96 = 624, ShareClientHeight96 = 608 };

// Every control in creation (and tab) order.
const ShareControl* share_controls(int32_t* count);
// The control with that id, or null.
const ShareControl* share_control(int32_t id);

// The message a method button sends: the message box's text without carriage returns, except for
// the attachment while the user has not edited it, which is composed afresh with the attachment
// wording from their name.
void share_message_to_send(int32_t method, int32_t edited, const wchar_t* edit_text,
                           const wchar_t* their_name, wchar_t* out, size_t cap);

// An empty subject sends the standard one.
const wchar_t* share_subject_or_default(const wchar_t* subject);
