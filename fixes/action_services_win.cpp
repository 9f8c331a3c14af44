// The defaults of the interface services the action runner calls.
#include "action_services.h"

#include "core/settings.h"

static HWND no_window() { return nullptr; }
static void no_status(const wchar_t*) {}
static int plain_box(HWND owner, const wchar_t* text, const wchar_t* title, UINT flags) {
    return MessageBoxW(owner, text, title, flags);
}
static void no_check(int32_t) {}
static int32_t setting_auto_net_test() { return g_settings.autoNetTest; }

void action_services_defaults(ActionServices* services) {
    services->main_window = no_window;
    services->set_status_text = no_status;
    services->message_box = plain_box;
    services->start_check = no_check;
    services->auto_net_test = setting_auto_net_test;
}

ActionServices g_action_services = {no_window, no_status, plain_box, no_check, setting_auto_net_test};
