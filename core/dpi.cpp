// Scaling a 96-DPI size.
#include "core/dpi.h"

int32_t scale_to_dpi(int32_t value_at_96, int32_t dpi) {
    if (dpi <= 0) dpi = 96;
    int64_t product = (int64_t)value_at_96 * dpi;
    int64_t q = (product >= 0 ? product + 48 : product - 48) / 96;
    return (int32_t)q;
}
