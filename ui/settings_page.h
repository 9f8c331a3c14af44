// The Settings page without a window: its rows and where each control goes. settings_page_win.cpp
// only creates the controls at these places.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/settings.h"

// One switch of the Settings page.
struct SettingRow {
    int32_t id;                // the check box's control id (and command id)
    const wchar_t* valueName;  // registry value under the settings key
    int32_t Settings::*member; // the switch in Settings
    const wchar_t* caption;
    const wchar_t* shortText; // grey text under the check box
    const wchar_t* longText;  // tooltip of the check box and of its short text
};

// The rows in page order: the left column (110, 111, 112, 114, 113), then the right (115, 116, 117, 140).
extern const SettingRow kSettingRows[];
extern const int32_t kSettingRowCount;
const SettingRow* setting_row(int32_t id); // null for any other id

#define VANTREL_CHECK_NOW_TIP                                                                                \
    L"Checks right now whether a newer Vantrel is available. If there is one, a yellow bar appears under "   \
    L"the "                                                                                                  \
    L"ribbon with what's new and an Update now button. Vantrel also checks by itself every 6 hours "         \
    L"(Settings "                                                                                            \
    L"tab)."

enum PageItemKind : int32_t {
    PageHeading = 0,     // STATIC, IdSettingHeading, bold
    PageCheckBox = 1,    // BS_AUTOCHECKBOX, the row's id
    PageExplanation = 2, // STATIC with SS_NOTIFY, IdSettingExplanation
    PageButton = 3,      // "Check now", id 141
};

struct PageItem {
    int32_t kind;       // PageItemKind
    int32_t id;         // control id
    int32_t x, y, w, h; // inside the page's content, already scaled
    const wchar_t* text;
    const wchar_t* tooltip; // null for headings
};

enum : int32_t { kMaxPageItems = 32 };

struct PageLayout {
    PageItem items[kMaxPageItems];
    int32_t count;
    int32_t contentHeight; // scaled; the page scrolls when it is shorter than this
    int32_t stacked;       // the right column was put under the left one (page too narrow)
};

// Places every control of the Settings page for a page whose client area is page_width wide (scaled
// pixels; 0 or less means "wide enough"). The two columns sit side by side when the right column fits,
// otherwise the right column's sections continue under the left column.
void settings_page_layout(int32_t dpi, int32_t page_width, PageLayout* out);

// Where the page's content starts for a scroll position, and the largest scroll position.
int32_t page_scroll_limit(int32_t content_height, int32_t client_height);
int32_t page_scroll_clamp(int32_t position, int32_t content_height, int32_t client_height);
