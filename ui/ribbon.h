// The ribbon without a window: its constant tables of tabs, groups and buttons with their
// tooltips, the layout as a function of a text measure, the look of a button by its state, hit
// testing, and what the mouse, the wheel and the keyboard do to the ribbon's state. The window side
// (ribbon_win.cpp) only measures text, paints what is laid out here and sends the commands.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

struct RibbonButton {
    int32_t command;
    uint32_t glyph;       // a code point of "Segoe MDL2 Assets" (or of the program's own icon font)
    const wchar_t* label; // "\n" breaks it into two lines
    const wchar_t* tooltip;
};

struct RibbonGroup {
    const wchar_t* caption;
    const RibbonButton* buttons;
    int32_t buttonCount;
    int32_t fixedWidth96; // 0: computed from the buttons
};

struct RibbonTab {
    const wchar_t* name;
    const RibbonGroup* groups;
    int32_t groupCount;
    const wchar_t* tooltip;
};

enum : int32_t {
    kRibbonTabCount = 5,
    kRibbonMaxGroups = 8,
    kRibbonMaxButtons = 24,
    kRibbonTabRow96 = 30,
    kRibbonBody96 = 98,
    kRibbonTabTools = 1,
    kRibbonTabSettings = 2,
};

extern const RibbonTab kRibbonTabs[kRibbonTabCount];
extern const wchar_t* const kRibbonVersionTooltip;

// Every button of every tab, in table order (the Advanced group included), for tests and the icon
// font's check.
int32_t ribbon_all_buttons(const RibbonButton** out, int32_t cap);

// The ribbon's height at a DPI: tab row, body and the bottom line, each scaled on its own.
int32_t ribbon_height(int32_t dpi);

// What changes the ribbon's labels and groups.
struct RibbonFlags {
    int32_t expertTools; // the Tools tab shows its Advanced group
    int32_t elevated;    // "Run as Admin" reads "Running\nas Admin" and is highlighted
    int32_t searching;   // "Find Printers" reads "Searching\n…"
    int32_t view;        // the bottom view (BottomView) whose button is highlighted
};

// The label drawn for a button, with the two overrides.
const wchar_t* ribbon_label_shown(const RibbonButton* button, const RibbonFlags* flags);
// The label on one line (the line break becomes a blank), as a screen reader should say it.
void ribbon_label_one_line(const wchar_t* label, wchar_t* out, size_t cap);

// A text measure: the width in pixels of `length` characters of `text` in the ribbon's normal font.
struct RibbonMeasure {
    int32_t (*width)(void* context, const wchar_t* text, int32_t length);
    void* context;
};

struct RibbonRect {
    int32_t left, top, right, bottom;
};

struct RibbonLaidButton {
    int32_t command; // 0 for a collapsed group's button
    RibbonRect rect;
    const RibbonButton* button; // a collapsed group's first button lends it its glyph
    const RibbonGroup* menu;    // a collapsed group: its button opens a menu of these buttons; else null
};

struct RibbonLaidGroup {
    RibbonRect rect;
    const wchar_t* caption; // null for a collapsed group: its button carries the name
};

struct RibbonLayout {
    int32_t tab;
    RibbonRect tabs[kRibbonTabCount];
    RibbonRect version;
    RibbonLaidGroup groups[kRibbonMaxGroups];
    int32_t groupCount;
    RibbonLaidButton buttons[kRibbonMaxButtons];
    int32_t buttonCount;
};

// The label and the tooltip of a laid-out button: a collapsed group's button shows the group's name.
const wchar_t* ribbon_laid_label(const RibbonLaidButton* laid, const RibbonFlags* flags);
const wchar_t* ribbon_laid_tooltip(const RibbonLaidButton* laid);
extern const wchar_t* const kRibbonCollapsedTooltip;
// Where a collapsed group's name breaks into two lines: the blank before "(", else the blank nearest
// the middle; -1 for one word.
int32_t ribbon_caption_break(const wchar_t* caption);

// Places the tabs, the version label and the groups and buttons of `tab` in a client area `width`
// pixels wide. When the groups do not fit, the last ones collapse, from the right, into one button
// each that opens a menu of the group's buttons.
void ribbon_layout_of(const RibbonMeasure* measure, int32_t width, int32_t dpi, int32_t tab,
                      const RibbonFlags* flags, const wchar_t* version_text, RibbonLayout* out);

// The groups a tab shows with these flags (the Tools tab drops Advanced while expert tools are off).
int32_t ribbon_group_count(int32_t tab, const RibbonFlags* flags);

// Hit tests in client coordinates: the laid-out button or tab under a point, or -1.
int32_t ribbon_button_at(const RibbonLayout* layout, int32_t x, int32_t y);
int32_t ribbon_tab_at(const RibbonLayout* layout, int32_t x, int32_t y);
int32_t ribbon_in_rect(const RibbonRect* rect, int32_t x, int32_t y);

// The look of a button. Colours are 0x00BBGGRR (COLORREF).
#define RIBBON_RGB(r, g, b) ((uint32_t)(r) | ((uint32_t)(g) << 8) | ((uint32_t)(b) << 16))
enum RibbonLook : int32_t { LookNone = 0, LookHover, LookPressed, LookHighlighted };
RibbonLook ribbon_button_look(int32_t pressed_here, int32_t pointer_over, int32_t highlighted);
int32_t ribbon_button_highlighted(int32_t command, const RibbonFlags* flags);
struct RibbonLookColours {
    int32_t filled; // 0: no background at all
    uint32_t fill, border;
};

// What the ribbon paints with: its own colours, or in high contrast the system's (COLORREFs).
struct RibbonSystemColours {
    uint32_t window, windowText, buttonFace, buttonText, highlight, highlightText, grayText, hotLight;
};
struct RibbonPalette {
    int32_t highContrast;
    uint32_t tabRow, body, line, accent, hotTab, tabText, versionText, captionText, labelText;
    uint32_t hoverFill, hoverBorder, pressedFill, danger, good, tipFill, tipText;
};
RibbonPalette ribbon_palette(int32_t high_contrast, const RibbonSystemColours* system);
RibbonLookColours ribbon_look_colours(RibbonLook look, const RibbonPalette* palette);
uint32_t ribbon_glyph_colour(int32_t command, const RibbonPalette* palette);
// A label drawn on a look's fill: the highlight's text colour in high contrast.
uint32_t ribbon_label_colour(RibbonLook look, const RibbonPalette* palette);

enum : uint32_t {
    kRibbonTabRowColour = RIBBON_RGB(243, 243, 243),
    kRibbonWhite = RIBBON_RGB(255, 255, 255),
    kRibbonLineColour = RIBBON_RGB(218, 218, 218),
    kRibbonAccent = RIBBON_RGB(0, 103, 192),
    kRibbonHotTab = RIBBON_RGB(232, 232, 232),
    kRibbonTabText = RIBBON_RGB(40, 40, 40),
    kRibbonVersionText = RIBBON_RGB(90, 90, 90),
    kRibbonCaptionText = RIBBON_RGB(110, 110, 110),
    kRibbonLabelText = RIBBON_RGB(30, 30, 30),
    kRibbonHoverFill = RIBBON_RGB(229, 241, 251),
    kRibbonHoverBorder = RIBBON_RGB(204, 228, 247),
    kRibbonPressedFill = RIBBON_RGB(204, 228, 247),
};

// The interaction state (memory only; the ribbon starts on Home every time).
struct RibbonState {
    int32_t tab;       // current tab
    int32_t hotTab;    // -1 none
    int32_t hotButton; // index into the layout's buttons, -1 none
    int32_t pressed;   // index of the button the left button went down on, -1 none
    int32_t versionHot;
    int32_t focus;    // keyboard focus: index into the layout's buttons, -1 the tab row
    int32_t onTabRow; // the user moved the focus up to the tab row (it stays there across tabs)
    int32_t tips;     // RibbonTipLevel: the key tips shown after Alt
};
void ribbon_state_init(RibbonState* state);

// What a mouse or key event asks of the window.
enum RibbonAction : int32_t {
    ActNone = 0,
    ActRepaint,  // only the look changed
    ActRelayout, // the tab changed: lay out again
    ActCapture,  // a button was pressed: capture the mouse and repaint
    ActCommand,  // send *command to the main window
    ActMenu,     // open the menu of the collapsed group whose button index is *command
};

RibbonAction ribbon_mouse_move(RibbonState* s, const RibbonLayout* l, int32_t x, int32_t y);
void ribbon_mouse_leave(RibbonState* s);
RibbonAction ribbon_button_down(RibbonState* s, const RibbonLayout* l, int32_t x, int32_t y,
                                int32_t* command);
RibbonAction ribbon_button_up(RibbonState* s, const RibbonLayout* l, int32_t x, int32_t y, int32_t* command);
// The wheel over the ribbon (client y above the body's end): previous tab on a positive delta,
// next otherwise, never wrapping. Returns ActNone when the point is below the ribbon or at an end.
RibbonAction ribbon_wheel(RibbonState* s, int32_t dpi, int32_t y, int32_t delta);

enum RibbonKey : int32_t {
    KeyLeft = 1,
    KeyRight,
    KeyUp,
    KeyDown,
    KeyHome,
    KeyEnd,
    KeyPress,   // Enter or Space
    KeyNextTab, // Ctrl+Tab, Ctrl+PageDown
    KeyPrevTab, // Ctrl+Shift+Tab, Ctrl+PageUp
};
// Left/Right move along the buttons (on the tab row they change the tab), Up goes to the tab row,
// Down back to the first button, Home/End to the ends; Ctrl+Tab and Ctrl+PageUp/PageDown change tab,
// wrapping like other tab controls. Pressing the focused button asks for its command.
RibbonAction ribbon_key(RibbonState* s, const RibbonLayout* l, RibbonKey key, int32_t* command);
// After a layout: keeps the focus on an existing button (the first one when the tab changed), or on
// the tab row when the user went there or the tab has no buttons.
void ribbon_fix_focus(RibbonState* s, const RibbonLayout* l, int32_t tab_changed);
// The accessible name of what has the keyboard focus: the button's label on one line, or the tab's
// name followed by " tab".
void ribbon_focus_name(const RibbonState* s, const RibbonLayout* l, const RibbonFlags* flags, wchar_t* out,
                       size_t cap);

// Key tips: Alt shows a letter on every tab; a tab's letter opens that tab and shows a letter on each
// of its buttons; a button's letter presses it. Esc steps back a level.
enum RibbonTipLevel : int32_t { TipsOff = 0, TipsOnTabs = 1, TipsOnButtons = 2 };
struct RibbonTips {
    wchar_t tabs[kRibbonTabCount];      // upper-case letters, 0 for none
    wchar_t buttons[kRibbonMaxButtons]; // for the layout's buttons, in order
};
// Unique letters for labels: a word's first letter, else any letter of the label, else a digit.
void ribbon_tip_letters(const wchar_t* const* labels, int32_t count, wchar_t* out);
void ribbon_tips_of(const RibbonLayout* l, const RibbonFlags* flags, RibbonTips* out);
// Enters key tip mode on the tab row (Alt let go).
void ribbon_tips_start(RibbonState* s);
// A character typed while key tips show; Esc is L'\x1b'. ActNone when it matches nothing.
RibbonAction ribbon_tip_key(RibbonState* s, const RibbonLayout* l, const RibbonTips* tips, wchar_t ch,
                            int32_t* command);
// A collapsed group's menu item text: the label on one line, "&" doubled, the letter marked with "&".
void ribbon_menu_text(const wchar_t* label, wchar_t letter, wchar_t* out, size_t cap);

// What a screen reader is told about each tab (items 0 to 4) and each laid-out button (from 5).
enum RibbonAccessKind : int32_t { AccessTab = 0, AccessButton, AccessMenuButton };
struct RibbonAccessItem {
    RibbonAccessKind kind;
    wchar_t name[80];
    wchar_t description[400]; // the tooltip's first sentence
    const wchar_t* defaultAction;
    wchar_t shortcut[24]; // the key tips that reach it, as "Alt, T, R"
    int32_t selected, focused, pressed;
    RibbonRect rect; // client coordinates
};
int32_t ribbon_access_count(const RibbonLayout* l);
// has_focus: the ribbon window has the keyboard focus. Returns 0 for an index out of range.
int32_t ribbon_access_item(const RibbonLayout* l, const RibbonState* s, const RibbonFlags* flags,
                           int32_t has_focus, int32_t index, RibbonAccessItem* out);
// The first sentence of a text: up to the first full stop before a blank or the end, or the first
// line break, whichever comes first.
void ribbon_first_sentence(const wchar_t* text, wchar_t* out, size_t cap);
