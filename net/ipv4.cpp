#include "net/ipv4.h"

#include "core/text.h"

int parse_ipv4(const wchar_t* text, uint32_t* value) {
    if (!text) return 0;
    uint32_t result = 0;
    for (int part = 0; part < 4; part++) {
        if (part > 0) {
            if (*text != L'.') return 0;
            text++;
        }
        int digits = 0;
        uint32_t number = 0;
        while (*text >= L'0' && *text <= L'9') {
            if (++digits > 3) return 0;
            number = number * 10 + (uint32_t)(*text - L'0');
            text++;
        }
        if (digits == 0 || number > 255) return 0;
        result = (result << 8) | number;
    }
    if (*text) return 0;
    if (value) *value = result;
    return 1;
}

void format_ipv4(uint32_t value, wchar_t* out, size_t cap) {
    text_format(out, cap, L"%lu.%lu.%lu.%lu", (unsigned long)(value >> 24),
                (unsigned long)((value >> 16) & 255), (unsigned long)((value >> 8) & 255),
                (unsigned long)(value & 255));
}
