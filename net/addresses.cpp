// Address and range checks for what a user typed.
#include "net/addresses.h"

#include "core/text.h"
#include "net/ipv4.h"

static int is_label_char(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'_';
}

int is_host_name(const wchar_t* text) {
    if (!text || !text[0]) return 0;
    size_t length = wcslen(text);
    if (text[length - 1] == L'.') length--; // "printer.example.com." is fully qualified
    if (length == 0 || length > 253) return 0;
    int only_digits_and_dots = 1;
    size_t label = 0;
    for (size_t i = 0; i <= length; i++) {
        const wchar_t c = i < length ? text[i] : L'.';
        if (c == L'.') {
            if (label == 0 || label > 63 || text[i - 1] == L'-') return 0;
            label = 0;
            continue;
        }
        if (!is_label_char(c) || (label == 0 && c == L'-')) return 0;
        if (c < L'0' || c > L'9') only_digits_and_dots = 0;
        label++;
    }
    return !only_digits_and_dots;
}

int is_name_or_ipv4(const wchar_t* text) {
    return parse_ipv4(text, nullptr) || is_host_name(text);
}

static int refuse(wchar_t* why, size_t cap, const wchar_t* fmt, const wchar_t* part) {
    if (why && cap) text_format(why, cap, fmt, part);
    return 0;
}

int check_scan_range(const wchar_t* text, uint32_t* address, int* prefix, wchar_t* why, size_t why_cap) {
    if (why && why_cap) why[0] = 0;
    wchar_t part[64];
    text_copy(part, _countof(part), text ? text : L"");
    size_t blank = 0;
    while (part[blank] == L' ' || part[blank] == L'\t')
        blank++;
    if (!part[blank]) return refuse(why, why_cap, L"the range is empty", L"");
    int p = 24;
    wchar_t* slash = wcschr(part, L'/');
    if (slash) {
        *slash = 0;
        const wchar_t* digits = slash + 1;
        if (!part[0]) return refuse(why, why_cap, L"there is no address before the \"/\"", L"");
        if (!digits[0]) return refuse(why, why_cap, L"there is no prefix length after the \"/\"", L"");
        size_t n = 0;
        int value = 0;
        for (; digits[n] >= L'0' && digits[n] <= L'9' && n < 3; n++)
            value = value * 10 + (digits[n] - L'0');
        if (digits[n] || n > 2 || value > 32)
            return refuse(why, why_cap, L"\"%ls\" is not a prefix length from 0 to 32", digits);
        p = value;
    }
    uint32_t value = 0;
    if (!parse_ipv4(part, &value)) return refuse(why, why_cap, L"\"%ls\" is not an IPv4 address", part);
    if (address) *address = value;
    // Never more than a /22 (1022 addresses) from one command-line range.
    if (prefix) *prefix = p < 22 ? 22 : p;
    return 1;
}

int scan_range_refusal(const wchar_t* range, wchar_t* out, size_t cap) {
    if (cap) out[0] = 0;
    if (!range || !range[0]) return 0;
    wchar_t why[120];
    if (check_scan_range(range, nullptr, nullptr, why, _countof(why))) return 0;
    const wchar_t* shown = range;
    while (*shown == L' ' || *shown == L'\t')
        shown++;
    text_format(out, cap, L"The scan range \"%ls\" was refused: %ls.", shown, why);
    return 1;
}
