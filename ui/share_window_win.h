// The Share window's side of the interface services: its status line takes the result lines while
// it is open.
#pragma once

#include <wchar.h>

// The text, as it is, in the Share window's status line while that window is open; otherwise the
// main window's status bar.
void share_or_status_text(const wchar_t* text);
