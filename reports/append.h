// The reports' bounded append: a piece is formatted into the room that is left and cut at the
// capacity, and skipped entirely once the text is within two characters of the capacity, so a full
// buffer does not collect one stray character from every later piece.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <wchar.h>

#include "core/text.h"

inline void report_append(wchar_t* buf, size_t cap, const wchar_t* fmt, ...) {
    if (!buf || cap == 0) return;
    size_t len = text_length(buf, cap);
    if (len >= cap) {
        buf[cap - 1] = 0;
        return;
    }
    if (len + 2 >= cap) return;
    va_list args;
    va_start(args, fmt);
    text_vformat(buf + len, cap - len, fmt, args);
    va_end(args);
}
