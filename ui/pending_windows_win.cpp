// Window procedures of the windows whose contents are not built yet: the classes exist so that
// everything the frame registers and creates is already in place, and each procedure moves to its
// own file when its window is written.
#include "ui.h"

LRESULT CALLBACK undo_window_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
