// The matcher that holds every finding to the program's message catalogue.
#include "diagnosis_fixture.h"

#include <stdarg.h>

static const wchar_t* const kMessages[] = {
#include "message_texts.inc"
};

std::wstring filled(const wchar_t* format, ...) {
    static wchar_t buf[4096];
    va_list args;
    va_start(args, format);
    text_vformat(buf, _countof(buf), format, args);
    va_end(args);
    return buf;
}

// %ls matches any run of characters, %d an optionally signed number, %I64u an unsigned one, %% a
// percent sign.
static bool match(const wchar_t* f, const wchar_t* t) {
    for (;;) {
        if (!*f) return !*t;
        if (f[0] == L'%' && f[1] == L'%') {
            if (*t != L'%') return false;
            f += 2;
            t++;
            continue;
        }
        if (wcsncmp(f, L"%ls", 3) == 0) {
            for (const wchar_t* rest = t;; rest++) {
                if (match(f + 3, rest)) return true;
                if (!*rest) return false;
            }
        }
        bool is_d = wcsncmp(f, L"%d", 2) == 0, is_u = wcsncmp(f, L"%I64u", 5) == 0;
        if (is_d || is_u) {
            const wchar_t* p = t;
            if (is_d && *p == L'-') p++;
            if (!(*p >= L'0' && *p <= L'9')) return false;
            while (*p >= L'0' && *p <= L'9')
                p++;
            f += is_d ? 2 : 5;
            t = p;
            continue;
        }
        if (*f != *t) return false;
        f++;
        t++;
    }
}

bool is_known_message(const std::wstring& text) {
    for (const wchar_t* m : kMessages)
        if (match(m, text.c_str())) return true;
    return false;
}

std::string narrow(const std::wstring& w) {
    static char buf[8192];
    text_to_utf8(w.c_str(), buf, sizeof(buf), 0);
    return buf;
}
