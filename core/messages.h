// The messages worker threads and a second copy post to the main window. Plain numbers, so the
// parts that post them need no window headers to name them; WM_APP is 0x8000.
#pragma once

#include <stdint.h>

enum AppMessage : uint32_t {
    kAppMessageBase = 0x8000,
    MsgUpdateChecked = kAppMessageBase + 1,       // lParam: the update check's result block
    MsgDownloadProgress = kAppMessageBase + 2,    // wParam: percent
    MsgDownloadDone = kAppMessageBase + 3,        // lParam: 0 on success, else an error text
    MsgShowWhatsNew = kAppMessageBase + 4,        // posted by the window to itself at creation
    MsgBringToFront = kAppMessageBase + 10,       // a second copy was started
    MsgCheckDone = kAppMessageBase + 20,          // lParam: the new Snapshot
    MsgSearchDone = kAppMessageBase + 21,         // lParam: NetworkSearchResult, or 0
    MsgSearchProgress = kAppMessageBase + 22,     // wParam: percent
    MsgRibbonAccessAction = kAppMessageBase + 23, // to the ribbon; wParam: the accessible item to press
    MsgSearchName = kAppMessageBase + 24,         // lParam: a SearchName that came after the result
};

// The main window's timers.
enum AppTimer : uint32_t {
    TimerCheckTick = 1,  // every second: is a check due?
    TimerUpdateTick = 2, // every 30 s: is an automatic update check due?
    TimerOldCopy = 3,    // every 3 s, five times: delete the copy an update left behind
    TimerTestPage = 4,   // once, 4 s after a test page: check whether it went through
};
