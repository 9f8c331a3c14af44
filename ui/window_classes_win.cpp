// The program's seven window classes. Each has style 0 and the arrow cursor; the top-level ones
// carry the program icon and the button-face background.
#include "ui.h"

#include "res/version.h"
#include "ui/ui.h"

static ATOM register_class(HINSTANCE instance, const wchar_t* name, WNDPROC proc, int with_icon,
                           HBRUSH background) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = 0;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (with_icon) {
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.hIconSm = (HICON)LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    }
    return RegisterClassExW(&wc);
}

int register_window_classes(HINSTANCE instance) {
    HBRUSH face = (HBRUSH)(COLOR_BTNFACE + 1);
    ATOM main = register_class(instance, VANTREL_MAIN_CLASS, main_window_proc, 1, face);
    register_class(instance, L"NSRibbon", ribbon_proc, 0, nullptr);
    register_class(instance, L"NSUpdBar", update_bar_proc, 0, nullptr);
    register_class(instance, L"NSShare", share_window_proc, 1, face);
    register_class(instance, L"NSNotes", notes_window_proc, 1, face);
    register_class(instance, L"NSPage", settings_page_proc, 0, (HBRUSH)GetStockObject(WHITE_BRUSH));
    register_class(instance, L"NSUndo", undo_window_proc, 1, face);
    return main != 0;
}
