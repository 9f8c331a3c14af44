// Bounded formatting and the small text utilities shared by every part of the program.
#include "text.h"

#include <stdio.h>
#include <wctype.h>

#ifdef _WIN32
#include <windows.h>
#endif

void text_vformat(wchar_t* buf, size_t cap, const wchar_t* fmt, va_list args) {
    if (!buf || cap == 0) return;
    buf[0] = 0;
    if (!fmt) return;
#ifdef _WIN32
    // msvcrt's _vsnwprintf leaves the buffer unterminated when the text fills it and returns -1 when
    // it is cut; giving it one character less and terminating ourselves covers both.
    _vsnwprintf(buf, cap - 1, fmt, args);
#else
    vswprintf(buf, cap, fmt, args);
#endif
    buf[cap - 1] = 0;
}

void text_format(wchar_t* buf, size_t cap, const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    text_vformat(buf, cap, fmt, args);
    va_end(args);
}

size_t text_length(const wchar_t* buf, size_t cap) {
    size_t n = 0;
    if (!buf) return 0;
    while (n < cap && buf[n])
        n++;
    return n;
}

void text_append(wchar_t* buf, size_t cap, const wchar_t* fmt, ...) {
    if (!buf || cap == 0) return;
    size_t len = text_length(buf, cap);
    if (len >= cap) {
        buf[cap - 1] = 0;
        return;
    }
    if (cap - len < 2) return;
    va_list args;
    va_start(args, fmt);
    text_vformat(buf + len, cap - len, fmt, args);
    va_end(args);
}

void text_copy(wchar_t* buf, size_t cap, const wchar_t* src) {
    if (!buf || cap == 0) return;
    size_t i = 0;
    if (src)
        for (; i + 1 < cap && src[i]; i++)
            buf[i] = src[i];
    buf[i] = 0;
}

#ifdef _WIN32
// The C runtime's towupper knows only ASCII in the "C" locale, but printer names are not ASCII
// everywhere. Windows' invariant upper-casing, one character at a time, gives the same answer
// CompareStringOrdinal's ignore-case would. (Asked per character rather than kept as a table of
// the whole BMP: that table is 128 KB that stays in memory for the few non-ASCII letters compared.)
static wint_t fold(wchar_t c) {
    if (c < 0x80) return (c >= L'a' && c <= L'z') ? c - 32 : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c; // half a surrogate pair is compared as it is
    wchar_t upper = c;
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, &c, 1, &upper, 1) != 1) return towupper(c);
    return upper;
}
#else
static wint_t fold(wchar_t c) {
    return towupper(c);
}
#endif

int text_compare_ci(const wchar_t* a, const wchar_t* b) {
    if (!a) a = L"";
    if (!b) b = L"";
    for (;; a++, b++) {
        wint_t x = fold(*a), y = fold(*b);
        if (x != y) return x < y ? -1 : 1;
        if (!x) return 0;
    }
}

int text_equal_ci(const wchar_t* a, const wchar_t* b) {
    return text_compare_ci(a, b) == 0;
}

int text_starts_with_ci(const wchar_t* text, const wchar_t* prefix) {
    if (!text) text = L"";
    if (!prefix) return 1;
    for (; *prefix; text++, prefix++)
        if (!*text || fold(*text) != fold(*prefix)) return 0;
    return 1;
}

int text_contains_ci(const wchar_t* text, const wchar_t* part) {
    if (!part || !*part) return 1;
    if (!text) return 0;
    for (; *text; text++)
        if (text_starts_with_ci(text, part)) return 1;
    return 0;
}

size_t text_to_utf8(const wchar_t* src, char* out, size_t cap, int crlf) {
    if (!out || cap == 0) return 0;
    size_t n = 0;
    wchar_t prev = 0;
    for (const wchar_t* p = src ? src : L""; *p; p++) {
        unsigned long cp = (unsigned long)*p;
        if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + ((unsigned long)p[1] - 0xDC00);
            p++;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        char enc[6];
        size_t len = 0;
        if (crlf && cp == '\n' && prev != '\r') enc[len++] = '\r';
        if (cp < 0x80) {
            enc[len++] = (char)cp;
        } else if (cp < 0x800) {
            enc[len++] = (char)(0xC0 | (cp >> 6));
            enc[len++] = (char)(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            enc[len++] = (char)(0xE0 | (cp >> 12));
            enc[len++] = (char)(0x80 | ((cp >> 6) & 0x3F));
            enc[len++] = (char)(0x80 | (cp & 0x3F));
        } else {
            enc[len++] = (char)(0xF0 | (cp >> 18));
            enc[len++] = (char)(0x80 | ((cp >> 12) & 0x3F));
            enc[len++] = (char)(0x80 | ((cp >> 6) & 0x3F));
            enc[len++] = (char)(0x80 | (cp & 0x3F));
        }
        if (n + len + 1 > cap) break;
        for (size_t i = 0; i < len; i++)
            out[n++] = enc[i];
        prev = *p;
    }
    out[n] = 0;
    return n;
}

void format_time_stamp(wchar_t* buf, size_t cap, int month, int day, int year, int hour, int minute) {
    int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    text_format(buf, cap, L"%02d/%02d/%04d %d:%02d %ls", month, day, year, hour12, minute,
                hour < 12 ? L"AM" : L"PM");
}
