// Applying one changed switch. Storing always comes first, so whatever the change sets in motion
// already sees the new value.
#include "settings.h"

SettingHooks g_setting_hooks = {};

template <typename... Args> static void call(void (*hook)(Args...), Args... args) {
    if (hook) hook(args...);
}

void apply_setting(int32_t* setting, int32_t value, const wchar_t* name) {
    if (!setting || !name) return;
    *setting = value;
    write_setting_dword(name, (uint32_t)value);
    const Settings& s = g_settings;
    if (setting == &g_settings.topmost) call(g_setting_hooks.set_topmost, (int)value);
    if (setting == &g_settings.expertTools) call(g_setting_hooks.rebuild_ribbon);
    if (setting == &g_settings.checkVirtual) {
        call(g_setting_hooks.rediagnose_and_refresh);
        call(g_setting_hooks.start_check, (int)s.autoNetTest);
    }
    if ((setting == &g_settings.autoNetTest || setting == &g_settings.askPrinter) && s.autoNetTest)
        call(g_setting_hooks.start_check, 1);
    if (setting == &g_settings.autoCheck || setting == &g_settings.readEventLog) {
        call(g_setting_hooks.start_check, 0);
        call(g_setting_hooks.refresh_banner);
    }
    call(g_setting_hooks.refresh_settings_page);
}
