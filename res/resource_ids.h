// Resource numbers shared by the resource script and the code that loads them.
#pragma once

#define IDR_ICON_FONT 2 // RCDATA: the icon font used where "Segoe MDL2 Assets" is missing
