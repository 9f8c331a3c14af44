// The one DPI helper: every size in the program is written at 96 DPI and converted here.
#pragma once

#include <stdint.h>

// MulDiv(value, dpi, 96) without Windows: rounded half away from zero. A DPI of 0 or less (not
// read yet) counts as 96.
int32_t scale_to_dpi(int32_t value_at_96, int32_t dpi);
