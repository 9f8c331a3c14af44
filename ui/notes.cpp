// The notes window's text.
#include "ui/notes.h"

#include "core/text.h"

void build_notes_text(const wchar_t* header, const wchar_t* body, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t limit = cap - 1 < 39990 ? cap - 1 : 39990;
    size_t n = 0;
    for (const wchar_t* p = header; p && *p && n < 39900 && n < limit; p++)
        out[n++] = *p;
    for (const wchar_t* p = body; p && *p && n < limit; p++) {
        // The body's text was built with bare line feeds; the edit control breaks lines only at CR LF.
        if (*p == L'\n' && (p == body || p[-1] != L'\r')) {
            if (n + 2 > limit) break;
            out[n++] = L'\r';
        }
        out[n++] = *p;
    }
    out[n] = 0;
}
