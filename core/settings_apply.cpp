// Applying one changed switch. Storing always comes first, so whatever the change sets in motion
// already sees the new value.
#include "settings.h"

#include "core/diagnose.h"
#include "core/ui_services.h"

void apply_setting(int32_t* setting, int32_t value, const wchar_t* name) {
    if (!setting || !name) return;
    *setting = value;
    write_setting_dword(name, (uint32_t)value);
    const Settings& s = g_settings;
    if (setting == &g_settings.topmost) g_ui.set_topmost(value);
    if (setting == &g_settings.expertTools) g_ui.refresh(RefreshRibbon);
    if (setting == &g_settings.checkVirtual) {
        diagnose();
        g_ui.refresh(RefreshLists | RefreshBanner);
        g_ui.start_check(s.autoNetTest, nullptr);
    }
    if ((setting == &g_settings.autoNetTest || setting == &g_settings.askPrinter) && s.autoNetTest)
        g_ui.start_check(1, nullptr);
    if (setting == &g_settings.autoCheck || setting == &g_settings.readEventLog) {
        g_ui.start_check(0, nullptr);
        g_ui.refresh(RefreshBanner);
    }
    g_ui.refresh(RefreshSettingsPage);
}
