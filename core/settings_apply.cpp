// Applying one changed switch. Storing always comes first, so whatever the change sets in motion
// already sees the new value.
#include "settings.h"

uint32_t apply_setting(int32_t* setting, int32_t value, const wchar_t* name) {
    if (!setting || !name) return 0;
    *setting = value;
    write_setting_dword(name, (uint32_t)value);
    const Settings& s = g_settings;
    uint32_t effects = 0;
    if (setting == &g_settings.topmost) effects |= SettingTopmost;
    if (setting == &g_settings.expertTools) effects |= SettingRibbon;
    if (setting == &g_settings.checkVirtual) effects |= SettingRediagnose | SettingCheckAsConfigured;
    if ((setting == &g_settings.autoNetTest || setting == &g_settings.askPrinter) && s.autoNetTest)
        effects |= SettingCheckWithNetwork;
    if (setting == &g_settings.autoCheck || setting == &g_settings.readEventLog)
        effects |= SettingCheckWithout | SettingBanner;
    return effects | SettingPage;
}
