// The JSON writer. Every character goes through put(), which stores it while there is room and
// counts it either way.
#include "reports/json_writer.h"

#include "core/text.h"

static void put(JsonWriter* w, wchar_t c) {
    if (w->buf && w->length + 1 < w->cap) w->buf[w->length] = c;
    w->length++;
}

static void put_all(JsonWriter* w, const wchar_t* text) {
    for (; *text; text++)
        put(w, *text);
}

static void hex4(JsonWriter* w, unsigned value) {
    static const wchar_t digits[] = L"0123456789abcdef";
    put_all(w, L"\\u");
    for (int shift = 12; shift >= 0; shift -= 4)
        put(w, digits[(value >> shift) & 0xF]);
}

static int high_surrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
static int low_surrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

static void put_string(JsonWriter* w, const wchar_t* text) {
    put(w, L'"');
    for (const wchar_t* p = text; *p; p++) {
        wchar_t c = *p;
        switch (c) {
        case L'"':
            put_all(w, L"\\\"");
            continue;
        case L'\\':
            put_all(w, L"\\\\");
            continue;
        case L'\n':
            put_all(w, L"\\n");
            continue;
        case L'\r':
            put_all(w, L"\\r");
            continue;
        case L'\t':
            put_all(w, L"\\t");
            continue;
        case L'\b':
            put_all(w, L"\\b");
            continue;
        case L'\f':
            put_all(w, L"\\f");
            continue;
        default:
            break;
        }
        if (high_surrogate(c) && low_surrogate(p[1])) {
            put(w, c);
            put(w, *++p);
        } else if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029 || high_surrogate(c) ||
                   low_surrogate(c)) {
            hex4(w, c);
        } else {
            put(w, c);
        }
    }
    put(w, L'"');
}

size_t json_escape(const wchar_t* text, wchar_t* out, size_t cap) {
    JsonWriter w;
    json_start(&w, out, cap);
    put_string(&w, text ? text : L"");
    return json_finish(&w);
}

void json_start(JsonWriter* w, wchar_t* buf, size_t cap) {
    *w = JsonWriter{};
    w->buf = buf;
    w->cap = cap;
    w->empty[0] = 1;
    if (buf && cap > 0) buf[0] = 0;
}

size_t json_finish(JsonWriter* w) {
    if (w->buf && w->cap > 0) w->buf[w->length < w->cap ? w->length : w->cap - 1] = 0;
    return w->length;
}

static void indent(JsonWriter* w) {
    put(w, L'\n');
    for (int32_t i = 0; i < w->depth; i++)
        put_all(w, L"  ");
}

// The separator, the line break and the key before a value.
static void begin_value(JsonWriter* w, const wchar_t* key) {
    int32_t d = w->depth < kJsonMaxDepth ? w->depth : kJsonMaxDepth - 1;
    if (w->depth > 0) {
        if (!w->empty[d]) put(w, L',');
        indent(w);
    }
    w->empty[d] = 0;
    if (key) {
        put_string(w, key);
        put_all(w, L": ");
    }
}

static void open_container(JsonWriter* w, const wchar_t* key, wchar_t bracket) {
    begin_value(w, key);
    put(w, bracket);
    w->depth++;
    if (w->depth < kJsonMaxDepth) w->empty[w->depth] = 1;
}

static void close_container(JsonWriter* w, wchar_t bracket) {
    int was_empty = w->depth < kJsonMaxDepth ? w->empty[w->depth] : 0;
    if (w->depth > 0) w->depth--;
    if (!was_empty) indent(w);
    put(w, bracket);
    if (w->depth == 0) put(w, L'\n');
}

void json_object(JsonWriter* w, const wchar_t* key) {
    open_container(w, key, L'{');
}
void json_end_object(JsonWriter* w) {
    close_container(w, L'}');
}
void json_array(JsonWriter* w, const wchar_t* key) {
    open_container(w, key, L'[');
}
void json_end_array(JsonWriter* w) {
    close_container(w, L']');
}

void json_text(JsonWriter* w, const wchar_t* key, const wchar_t* value) {
    if (!value) return json_null(w, key);
    begin_value(w, key);
    put_string(w, value);
}

void json_text_or_null(JsonWriter* w, const wchar_t* key, const wchar_t* value) {
    json_text(w, key, value && value[0] ? value : nullptr);
}

void json_number(JsonWriter* w, const wchar_t* key, int64_t value) {
    begin_value(w, key);
    // Digits from the right, without the C library's printf (whose 64-bit support varies).
    wchar_t digits[24];
    size_t at = _countof(digits) - 1;
    digits[at] = 0;
    uint64_t magnitude = value < 0 ? 0 - (uint64_t)value : (uint64_t)value;
    do {
        digits[--at] = (wchar_t)(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0) digits[--at] = L'-';
    put_all(w, digits + at);
}

void json_flag(JsonWriter* w, const wchar_t* key, int value) {
    begin_value(w, key);
    put_all(w, value ? L"true" : L"false");
}

void json_null(JsonWriter* w, const wchar_t* key) {
    begin_value(w, key);
    put_all(w, L"null");
}

void json_number_or_null(JsonWriter* w, const wchar_t* key, int known, int64_t value) {
    if (known)
        json_number(w, key, value);
    else
        json_null(w, key);
}

void json_flag_or_null(JsonWriter* w, const wchar_t* key, int known, int value) {
    if (known)
        json_flag(w, key, value);
    else
        json_null(w, key);
}
