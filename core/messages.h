// The messages worker threads and a second copy post to the main window. Plain numbers, so the
// parts that post them need no window headers to name them; WM_APP is 0x8000.
#pragma once

#include <stdint.h>

enum AppMessage : uint32_t {
    kAppMessageBase = 0x8000,
    MsgUpdateChecked = kAppMessageBase + 1,    // lParam: the update check's result block
    MsgDownloadProgress = kAppMessageBase + 2, // wParam: percent
    MsgDownloadDone = kAppMessageBase + 3,     // lParam: 0 on success, else an error text
    MsgShowWhatsNew = kAppMessageBase + 4,     // posted by the window to itself at creation
    MsgBringToFront = kAppMessageBase + 10,    // a second copy was started
    MsgCheckDone = kAppMessageBase + 20,       // lParam: the new Snapshot
    MsgSearchDone = kAppMessageBase + 21,      // lParam: NetworkSearchResult, or 0
    MsgSearchProgress = kAppMessageBase + 22,  // wParam: percent
};
