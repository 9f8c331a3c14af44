// The background threads nobody waits for: the check, the network search, the update check and
// the download each hand their result to the window by a posted message and end by themselves.
#pragma once

#include <windows.h>

// Starts routine(arg) on a thread of its own and lets the handle go; 1 when the thread started
// (it then owns arg), 0 when it could not (arg is still the caller's).
int start_thread(LPTHREAD_START_ROUTINE routine, void* arg);
