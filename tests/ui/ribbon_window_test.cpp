// The ribbon as a real window under Wine: the icon font it falls back to has a glyph for every
// button, clicks and keys reach the parent as WM_COMMAND, and its tooltips follow the layout. With
// VANTREL_RIBBON_SHOTS set to a folder, one more test shows each tab in turn for
// tools/ribbon-screenshots.sh to photograph.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "core/state.h"
#include "ui/commands.h"
#include "ui/icon_font_win.h"
#include "ui/main_window.h"
#include "ui/ribbon.h"
#include "ui/ribbon_win.h"
#include "ui/ui.h"

namespace {

std::vector<int32_t> g_commands;
int32_t g_sizes = 0;

LRESULT CALLBACK parent_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COMMAND) {
        EXPECT_EQ(0, lp);
        g_commands.push_back((int32_t)LOWORD(wp));
        return 0;
    }
    if (m == WM_SIZE) g_sizes++;
    return DefWindowProcW(w, m, wp, lp);
}

void pump(DWORD ms) {
    ULONGLONG end = GetTickCount64() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (GetTickCount64() < end);
}

void make_fonts() {
    if (g_main.normal) return;
    g_main.dpi = 96;
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    g_main.normal = CreateFontIndirectW(&ncm.lfMessageFont);
    ncm.lfMessageFont.lfWeight = FW_BOLD;
    g_main.bold = CreateFontIndirectW(&ncm.lfMessageFont);
    g_main.white = CreateSolidBrush(RGB(255, 255, 255));
    create_glyph_fonts();
}

HWND make_parent() {
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registered) {
        register_window_classes(instance);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = parent_proc;
        wc.hInstance = instance;
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"RibbonTestParent";
        RegisterClassW(&wc);
        registered = true;
    }
    make_fonts();
    HWND parent =
        CreateWindowExW(WS_EX_CONTROLPARENT, L"RibbonTestParent", L"Ribbon", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        0, 0, 1400, 330, nullptr, nullptr, instance, nullptr);
    g_main.window = parent;
    return parent;
}

// The same layout the window made, from the same font.
RibbonLayout layout_now() {
    RECT client;
    GetClientRect(g_main.ribbon, &client);
    HDC dc = GetDC(g_main.ribbon);
    HGDIOBJ old = SelectObject(dc, g_main.normal);
    RibbonMeasure m = {[](void* c, const wchar_t* t, int32_t n) {
                           SIZE s = {};
                           GetTextExtentPoint32W((HDC)c, t, n, &s);
                           return (int32_t)s.cx;
                       },
                       dc};
    RibbonFlags flags = {g_settings.expertTools, g_process.elevated, 0, g_settings.view};
    RibbonLayout l;
    ribbon_layout_of(&m, client.right, 96, ribbon_tab(), &flags, L"Vantrel v1.1.0", &l);
    SelectObject(dc, old);
    ReleaseDC(g_main.ribbon, dc);
    return l;
}

void click(const RibbonRect& r) {
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(g_main.ribbon, WM_MOUSEMOVE, 0, at);
    PostMessageW(g_main.ribbon, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(g_main.ribbon, WM_LBUTTONUP, 0, at);
    pump(100);
}

void key(WORD vk, bool ctrl = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(g_main.ribbon, WM_KEYDOWN, vk, 1);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    pump(30);
}

std::wstring window_text(HWND w) {
    wchar_t buf[100] = {};
    GetWindowTextW(w, buf, 100);
    return buf;
}

} // namespace

TEST(IconFont, WineFallsBackToTheProgramsOwnFontWithEveryGlyph) {
    EXPECT_FALSE(font_family_installed(L"Segoe MDL2 Assets"));
    EXPECT_STREQ(L"Vantrel Icons", icon_font_face());
    make_fonts();
    ASSERT_NE(nullptr, g_main.glyphLarge);
    ASSERT_NE(nullptr, g_main.glyphSmall);

    const RibbonButton* all[64];
    int32_t n = ribbon_all_buttons(all, 64);
    std::wstring points;
    for (int32_t i = 0; i < n; i++)
        points.push_back((wchar_t)all[i]->glyph);
    points.push_back(0xE895); // the update bar's icon

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(GetDC(nullptr), 40, 40);
    SelectObject(dc, bitmap);
    for (HFONT font : {g_main.glyphLarge, g_main.glyphSmall}) {
        SelectObject(dc, font);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        EXPECT_STREQ(L"Vantrel Icons", face);
        std::vector<WORD> glyphs(points.size());
        ASSERT_EQ(points.size(), (size_t)GetGlyphIndicesW(dc, points.c_str(), (int)points.size(),
                                                          glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS));
        for (size_t i = 0; i < points.size(); i++) {
            EXPECT_NE(0xFFFF, glyphs[i]) << std::hex << (unsigned)points[i];
            EXPECT_NE(0, glyphs[i]) << std::hex << (unsigned)points[i];
        }
    }
    // Drawn, every icon puts ink on the page: no blank.
    SelectObject(dc, g_main.glyphLarge);
    for (wchar_t cp : points) {
        RECT rc = {0, 0, 40, 40};
        FillRect(dc, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, &cp, 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        int ink = 0;
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 40; x++)
                ink += GetPixel(dc, x, y) != RGB(255, 255, 255);
        EXPECT_GT(ink, 20) << std::hex << (unsigned)cp;
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST(RibbonWindow, ClicksKeysAndTooltipsReachTheParent) {
    g_settings.expertTools = 0;
    g_settings.view = ViewProblems;
    HWND parent = make_parent();
    ASSERT_NE(nullptr, parent) << "error " << GetLastError();
    g_sizes = 0;
    create_ribbon(parent);
    ASSERT_NE(nullptr, g_main.ribbon) << "error " << GetLastError();
    ASSERT_NE(nullptr, g_main.ribbonTooltip);
    pump(100);
    EXPECT_EQ(0, ribbon_tab());
    EXPECT_GE(g_sizes, 1); // the first layout tells the main window which body to show

    RibbonLayout l = layout_now();
    ASSERT_EQ(17, l.buttonCount);

    // A click on Check Now and one on the version label.
    g_commands.clear();
    click(l.buttons[0].rect);
    click(l.version);
    ASSERT_EQ(2u, g_commands.size());
    EXPECT_EQ(CmdCheckNow, g_commands[0]);
    EXPECT_EQ(CmdAbout, g_commands[1]);

    // Pressed on one button, released on another: nothing.
    g_commands.clear();
    POINT a = {(l.buttons[2].rect.left + l.buttons[2].rect.right) / 2, 60};
    POINT b = {(l.buttons[3].rect.left + l.buttons[3].rect.right) / 2, 60};
    PostMessageW(g_main.ribbon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
    PostMessageW(g_main.ribbon, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
    pump(100);
    EXPECT_TRUE(g_commands.empty());
    EXPECT_NE(g_main.ribbon, GetCapture());

    // The Tools tab, then expert tools on: the tooltips (buttons, tabs, version) follow the layout.
    click(l.tabs[1]);
    EXPECT_EQ(1, ribbon_tab());
    EXPECT_EQ(11 + 6, SendMessageW(g_main.ribbonTooltip, TTM_GETTOOLCOUNT, 0, 0));
    g_settings.expertTools = 1;
    ribbon_layout();
    EXPECT_EQ(19 + 6, SendMessageW(g_main.ribbonTooltip, TTM_GETTOOLCOUNT, 0, 0));

    // The wheel over the ribbon: Tools -> Settings, never past Help.
    for (int i = 0; i < 6; i++) {
        POINT p = {200, 60};
        ClientToScreen(g_main.ribbon, &p);
        SendMessageW(g_main.ribbon, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-WHEEL_DELTA), MAKELPARAM(p.x, p.y));
    }
    EXPECT_EQ(4, ribbon_tab());

    // The keyboard: focus, arrows, Enter, Ctrl+Tab, Ctrl+PageUp; the window text names the focus.
    MSG enter = {g_main.ribbon, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(SendMessageW(g_main.ribbon, WM_GETDLGCODE, VK_RETURN, (LPARAM)&enter) & DLGC_WANTMESSAGE);
    SetForegroundWindow(parent);
    SetFocus(g_main.ribbon);
    pump(50);
    key(VK_NEXT, true); // Help -> Home
    EXPECT_EQ(0, ribbon_tab());
    EXPECT_EQ(L"Check Now", window_text(g_main.ribbon));
    key(VK_RIGHT);
    key(VK_RIGHT);
    EXPECT_EQ(L"Details", window_text(g_main.ribbon));
    g_commands.clear();
    key(VK_RETURN);
    key(VK_LEFT);
    key(VK_SPACE);
    ASSERT_EQ(2u, g_commands.size());
    EXPECT_EQ(CmdDetails, g_commands[0]);
    EXPECT_EQ(CmdNetworkTest, g_commands[1]);
    key(VK_TAB, true);
    EXPECT_EQ(1, ribbon_tab());
    key(VK_UP);
    key(VK_RIGHT);
    EXPECT_EQ(2, ribbon_tab());
    EXPECT_EQ(L"Settings tab", window_text(g_main.ribbon));

    DestroyWindow(parent);
    pump(50);
    EXPECT_EQ(nullptr, g_main.ribbon);
    g_settings.expertTools = 0;
}
