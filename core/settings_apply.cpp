// Applying one changed switch. Storing always comes first, so whatever the change sets in motion
// already sees the new value.
#include "settings.h"

#include "core/diagnose.h"
#include "core/state.h"

template <typename... Args> static void call(void (*service)(Args...), Args... args) {
    if (service) service(args...);
}

void apply_setting(int32_t* setting, int32_t value, const wchar_t* name) {
    if (!setting || !name) return;
    *setting = value;
    write_setting_dword(name, (uint32_t)value);
    const Settings& s = g_settings;
    if (setting == &g_settings.topmost) call(g_services.set_topmost, (int)value);
    if (setting == &g_settings.expertTools) call(g_services.rebuild_ribbon);
    if (setting == &g_settings.checkVirtual) {
        diagnose();
        call(g_services.refresh_lists);
        call(g_services.start_check, (int)s.autoNetTest, (const wchar_t*)nullptr);
    }
    if ((setting == &g_settings.autoNetTest || setting == &g_settings.askPrinter) && s.autoNetTest)
        call(g_services.start_check, 1, (const wchar_t*)nullptr);
    if (setting == &g_settings.autoCheck || setting == &g_settings.readEventLog) {
        call(g_services.start_check, 0, (const wchar_t*)nullptr);
        call(g_services.refresh_banner);
    }
    call(g_services.refresh_settings_page);
}
