// The small pure services of the frame: scaling, the title and the window size.
#include "app.h"

#include "core/text.h"

AppState g_app = {};

int scale_for_dpi(int value_at_96, int dpi) {
    return MulDiv(value_at_96, dpi > 0 ? dpi : 96, 96);
}

void build_window_title(wchar_t* buf, size_t cap, int elevated, int demo) {
    text_copy(buf, cap, VANTREL_TITLE);
    if (elevated) text_append(buf, cap, L"  (Administrator)");
    if (demo) text_append(buf, cap, L"  [DEMO DATA]");
}

void main_window_size(int dpi, int* width, int* height) {
    *width = scale_for_dpi(1360, dpi);
    *height = scale_for_dpi(880, dpi);
}
