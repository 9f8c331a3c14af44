// The manifest key scanner. It works on bytes and leaves the UTF-8 to UTF-16 step to Windows
// (manifest_win.cpp), so the escapes below are the only decoding done here.
#include "manifest.h"

#include <string.h>

#include "core/text.h"

namespace {

struct Out {
    char* buf;
    size_t len, limit;
};

// Appends whole characters only, so the cut at the limit never leaves half a UTF-8 sequence.
bool put(Out* out, const char* bytes, size_t n) {
    if (out->len + n > out->limit) return false;
    memcpy(out->buf + out->len, bytes, n);
    out->len += n;
    return true;
}

bool put_code(Out* out, uint32_t c) {
    char b[4];
    size_t n;
    if (c < 0x80) {
        b[0] = (char)c;
        n = 1;
    } else if (c < 0x800) {
        b[0] = (char)(0xC0 | (c >> 6));
        b[1] = (char)(0x80 | (c & 0x3F));
        n = 2;
    } else if (c < 0x10000) {
        b[0] = (char)(0xE0 | (c >> 12));
        b[1] = (char)(0x80 | ((c >> 6) & 0x3F));
        b[2] = (char)(0x80 | (c & 0x3F));
        n = 3;
    } else {
        b[0] = (char)(0xF0 | (c >> 18));
        b[1] = (char)(0x80 | ((c >> 12) & 0x3F));
        b[2] = (char)(0x80 | ((c >> 6) & 0x3F));
        b[3] = (char)(0x80 | (c & 0x3F));
        n = 4;
    }
    return put(out, b, n);
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Four hex digits after "\u" at p (p points at the 'u'); -1 when they are not all there.
long read_u4(const char* p) {
    if (p[0] != 'u') return -1;
    long v = 0;
    for (int i = 1; i <= 4; i++) {
        int d = hex_digit(p[i]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

// Bytes of the UTF-8 character starting at p, so a cut never splits one; a malformed or unfinished
// sequence counts byte by byte and is left to the UTF-16 conversion to judge.
size_t sequence_length(const char* p) {
    const unsigned char lead = (unsigned char)*p;
    const size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (size_t i = 1; i < n; i++)
        if (((unsigned char)p[i] & 0xC0) != 0x80) return 1;
    return n;
}

bool is_blank(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

// p points just after the opening quote; copying ends at the closing quote or at the cut.
void scan_string(const char* p, Out* out) {
    while (*p && *p != '"') {
        if (*p != '\\') {
            const size_t n = sequence_length(p);
            if (!put(out, p, n)) return;
            p += n;
            continue;
        }
        const char e = p[1];
        if (e == 0) { // a backslash at the very end stays
            put(out, p, 1);
            return;
        }
        bool ok = true;
        if (e == 'n') {
            ok = put(out, "\n", 1);
            p += 2;
        } else if (e == 't') {
            ok = put(out, "\t", 1);
            p += 2;
        } else if (e == 'r') {
            p += 2;
        } else if (e == 'u' && read_u4(p + 1) >= 0) {
            uint32_t c = (uint32_t)read_u4(p + 1);
            p += 6;
            if (c >= 0xD800 && c <= 0xDBFF && p[0] == '\\') {
                const long low = read_u4(p + 1);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + ((uint32_t)low - 0xDC00);
                    p += 6;
                }
            }
            ok = put_code(out, c);
        } else { // \" \\ \/ and any other escaped character stand for themselves
            ok = put(out, p + 1, 1);
            p += 2;
        }
        if (!ok) return;
    }
}

} // namespace

size_t json_scan_value(const char* text, const char* key, size_t capacity, char* out, size_t out_cap) {
    if (out_cap == 0) return 0;
    out[0] = 0;
    if (!text || !key || capacity == 0) return 0;

    // The key with its quotes, as a plain substring.
    const size_t key_len = strlen(key);
    const char* p = text;
    const char* found = nullptr;
    for (; (p = strchr(p, '"')) != nullptr; p++) {
        if (strncmp(p + 1, key, key_len) == 0 && p[1 + key_len] == '"') {
            found = p;
            break;
        }
    }
    if (!found) return 0;
    p = found + key_len + 2;
    while (is_blank(*p))
        p++;
    if (*p != ':') return 0;
    p++;
    while (is_blank(*p))
        p++;

    Out o = {out, 0, out_cap - 1};
    if (*p == '"') {
        if (o.limit > 4 * capacity) o.limit = 4 * capacity;
        scan_string(p + 1, &o);
    } else {
        if (o.limit > capacity) o.limit = capacity;
        while (*p && *p != ',' && *p != '}' && *p != '\n' && *p != '\r' && *p != ' ' && o.len < o.limit)
            out[o.len++] = *p++;
    }
    out[o.len] = 0;
    return o.len;
}

uint32_t parse_unsigned(const wchar_t* text) {
    uint32_t v = 0;
    for (; text && *text >= L'0' && *text <= L'9'; text++)
        v = v * 10 + (uint32_t)(*text - L'0');
    return v;
}

int32_t is_release_version(const wchar_t* version) {
    if (!version) return 0;
    int parts = 0;
    const wchar_t* p = version;
    for (;;) {
        int digits = 0;
        for (; *p >= L'0' && *p <= L'9'; p++)
            if (++digits > 5) return 0;
        if (digits == 0 || ++parts > 4) return 0;
        if (*p == 0) return 1;
        if (*p++ != L'.') return 0;
    }
}

int32_t is_https_address(const wchar_t* url) {
    return url && text_starts_with_ci(url, L"https://");
}
