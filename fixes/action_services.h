// What the action runner needs from the interface: the status line, message boxes owned by the main
// window, the main window itself and a fresh check. The interface fills this table when it starts;
// until then the defaults below keep the runner usable (no status line, ownerless boxes, no check).
#pragma once

#include <windows.h>

#include <stdint.h>

struct ActionServices {
    HWND (*main_window)();
    void (*set_status_text)(const wchar_t* text);
    int (*message_box)(HWND owner, const wchar_t* text, const wchar_t* title, UINT flags);
    void (*start_check)(int32_t with_network_test);
    int32_t (*auto_net_test)(); // the "AutoNetTest" setting
};

extern ActionServices g_action_services;

// The defaults, for a caller that replaced an entry and wants it back.
void action_services_defaults(ActionServices* services);
