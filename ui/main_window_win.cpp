// The main window. Its procedure only dispatches; the handlers are small. The ribbon, lists, banner
// and status bar are created here as they are built.
#include "ui.h"

#include "app/app.h"
#include "core/state.h"

void apply_topmost(HWND window, int topmost) {
    if (!window) return;
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void bring_to_front(HWND window) {
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
}

HWND create_main_window(HINSTANCE instance, const wchar_t* title) {
    int width = 0, height = 0;
    main_window_size(g_app.dpi, &width, &height);
    return CreateWindowExW(WS_EX_CONTROLPARENT, VANTREL_MAIN_CLASS, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, width, height, nullptr, nullptr, instance, nullptr);
}

static LRESULT on_min_max_info(MINMAXINFO* info) {
    info->ptMinTrackSize.x = scale(1120);
    info->ptMinTrackSize.y = scale(700);
    return 0;
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        g_app.mainWindow = window;
        g_services.set_topmost = [](int on) { apply_topmost(g_app.mainWindow, on); };
        return 0;
    case WM_GETMINMAXINFO:
        return on_min_max_info(reinterpret_cast<MINMAXINFO*>(lparam));
    case MsgBringToFront:
        bring_to_front(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, 1);
        g_app.mainWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
