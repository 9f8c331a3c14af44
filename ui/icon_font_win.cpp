// Icons for every Windows the program runs on. Windows 10 and 11 have "Segoe MDL2 Assets"; Windows
// 8.1 and Wine do not, and GDI would draw empty boxes for its code points. The stand-in is a subset
// of Material Icons mapped to the same code points (tools/make-icon-font.py), carried as an RCDATA
// resource, so the drawing code is the same whichever font is in use.
#include "ui/icon_font_win.h"

#include "core/text.h"
#include "res/resource_ids.h"
#include "ui/main_window.h"

#define SEGOE_MDL2_FACE L"Segoe MDL2 Assets"
#define PRIVATE_ICON_FACE L"Vantrel Icons"

static int CALLBACK found_family(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<int*>(found) = 1;
    return 0;
}

int font_family_installed(const wchar_t* face) {
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    text_copy(lf.lfFaceName, _countof(lf.lfFaceName), face);
    int found = 0;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, found_family, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

// Loads the resource font into this process; the handle stays for the life of the process.
static int load_private_icon_font() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_ICON_FONT), RT_RCDATA);
    if (!found) return 0;
    HGLOBAL loaded = LoadResource(module, found);
    void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, found);
    if (!data || !size) return 0;
    DWORD fonts = 0;
    return AddFontMemResourceEx(data, size, nullptr, &fonts) != nullptr && fonts > 0;
}

const wchar_t* icon_font_face() {
    static const wchar_t* face = nullptr;
    if (face) return face;
    if (font_family_installed(SEGOE_MDL2_FACE)) {
        face = SEGOE_MDL2_FACE;
    } else if (load_private_icon_font()) {
        face = PRIVATE_ICON_FACE;
    } else {
        // Nothing better exists; GDI substitutes a font, which at least keeps the labels readable.
        face = SEGOE_MDL2_FACE;
    }
    return face;
}

static HFONT glyph_font(int height96) {
    int dpi = g_main.dpi > 0 ? g_main.dpi : 96;
    return CreateFontW(-MulDiv(height96, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, icon_font_face());
}

void create_glyph_fonts() {
    if (!g_main.glyphLarge) g_main.glyphLarge = glyph_font(24);
    if (!g_main.glyphSmall) g_main.glyphSmall = glyph_font(18);
}
