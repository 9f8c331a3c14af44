// Version comparison.
#include "update/version.h"

#include <stdint.h>

// Reads one "%d" part: optional blanks and sign, then digits; stops at the dot that ends it.
static int32_t read_part(const wchar_t** text) {
    const wchar_t* p = *text;
    int64_t value = 0;
    int negative = 0;
    while (*p == L' ' || *p == L'\t')
        p++;
    if (*p == L'+' || *p == L'-') negative = *p++ == L'-';
    while (*p >= L'0' && *p <= L'9') {
        if (value < 0x7FFFFFFF) value = value * 10 + (*p - L'0');
        p++;
    }
    if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
    *text = p;
    return (int32_t)(negative ? -value : value);
}

static void parse_version(const wchar_t* text, int32_t parts[4]) {
    for (int i = 0; i < 4; i++)
        parts[i] = 0;
    if (!text) return;
    const wchar_t* p = text;
    for (int i = 0; i < 4; i++) {
        const wchar_t* before = p;
        parts[i] = read_part(&p);
        // "%d.%d.%d.%d" stops at the first part it cannot read or the first missing dot.
        if (p == before || *p != L'.') return;
        p++;
    }
}

int compare_versions(const wchar_t* a, const wchar_t* b) {
    int32_t x[4], y[4];
    parse_version(a, x);
    parse_version(b, y);
    for (int i = 0; i < 4; i++)
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
    return 0;
}
