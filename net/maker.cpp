// The driver-search address and the URL percent-encoding. Pure: text work only.
#include "net/maker.h"

#include <stdlib.h>

#include "core/text.h"

void percent_encode(const wchar_t* text, wchar_t* out, size_t capacity, int crlf) {
    if (!out || capacity == 0) return;
    out[0] = 0;
    if (capacity < 9 || !text) return;
    size_t need = wcslen(text) * 4 + 1;
    char* bytes = static_cast<char*>(malloc(need));
    if (!bytes) return;
    size_t count = text_to_utf8(text, bytes, need, 0);
    static const wchar_t hex[] = L"0123456789ABCDEF";
    size_t len = 0, limit = capacity - 8;
    for (size_t i = 0; i < count && len < limit; i++) {
        unsigned char b = (unsigned char)bytes[i];
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
            b == '.' || b == '_' || b == '~') {
            out[len++] = (wchar_t)b;
        } else if (b == '\r') {
            continue;
        } else if (b == '\n' && crlf) {
            const wchar_t* s = L"%0D%0A";
            for (int k = 0; k < 6; k++)
                out[len++] = s[k];
        } else {
            out[len++] = L'%';
            out[len++] = hex[b >> 4];
            out[len++] = hex[b & 15];
        }
    }
    out[len] = 0;
    free(bytes);
}

void driver_search_query(const wchar_t* model, const wchar_t* domain, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t room = cap < 400 ? cap : 400;
    if (domain && domain[0])
        text_format(out, room, L"%ls driver download Windows site:%ls", model ? model : L"", domain);
    else
        text_format(out, room, L"%ls printer driver download Windows", model ? model : L"");
}

void driver_search_url(const wchar_t* model, const wchar_t* domain, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    wchar_t query[400];
    driver_search_query(model, domain, query, _countof(query));
    wchar_t encoded[1200];
    percent_encode(query, encoded, _countof(encoded), 0);
    text_format(out, cap, L"%ls%ls", VANTREL_SEARCH_ADDRESS, encoded);
}
