// The font the ribbon and the update bar draw their icons with: "Segoe MDL2 Assets" where Windows
// has it, otherwise the program's own icon font (resource IDR_ICON_FONT), which carries the same
// code points and is loaded privately, for this process only.
#pragma once

#include <windows.h>

// The face name to create icon fonts with; loads the private font the first time it is needed.
const wchar_t* icon_font_face();

// Whether a font family is installed on this PC (the private font does not count until loaded).
int font_family_installed(const wchar_t* face);

// Creates g_main.glyphLarge (height -24) and g_main.glyphSmall (-18), scaled by g_main.dpi, unless
// they already exist.
void create_glyph_fonts();
