// The scanner's bytes become UTF-16 through Windows' own UTF-8 decoder, so a manifest that carries
// something odd (a lone surrogate written as \ud83d) reads the way every other Windows program
// would read it.
#include <windows.h>

#include <stdlib.h>

#include "core/text.h"
#include "manifest.h"

void json_get_string(const char* text, const char* key, wchar_t* field, size_t capacity) {
    if (capacity == 0) return;
    field[0] = 0;
    const size_t bytes_cap = 4 * capacity + 1;
    char* bytes = static_cast<char*>(malloc(bytes_cap));
    wchar_t* wide = static_cast<wchar_t*>(malloc(bytes_cap * sizeof(wchar_t)));
    if (bytes && wide) {
        const size_t n = json_scan_value(text, key, capacity, bytes, bytes_cap);
        const int got = n ? MultiByteToWideChar(CP_UTF8, 0, bytes, (int)n, wide, (int)bytes_cap - 1) : 0;
        wide[got > 0 ? got : 0] = 0;
        text_copy(field, capacity, wide);
    }
    free(bytes);
    free(wide);
}

void read_manifest(const char* text, UpdateInfo* info) {
    json_get_string(text, "version", info->version, 32);
    json_get_string(text, "exe", info->exeUrl, 600);
    json_get_string(text, "sha256", info->sha256, 80);
    json_get_string(text, "notes", info->notes, 3000);
    json_get_string(text, "published", info->published, 40);
    wchar_t size[32];
    json_get_string(text, "size", size, 32);
    info->size = parse_unsigned(size);
    info->ok = 0;
    if (!info->version[0] || !info->exeUrl[0] || wcslen(info->sha256) != 64)
        text_copy(info->error, _countof(info->error), L"The update information on the server is incomplete.");
    else if (!is_release_version(info->version))
        text_copy(info->error, _countof(info->error),
                  L"The update information on the server is not a valid release: its version is not a "
                  L"release number.");
    else if (!is_https_address(info->exeUrl))
        text_copy(info->error, _countof(info->error),
                  L"The update information on the server offers the program over an address that is not "
                  L"HTTPS, so nothing was downloaded.");
    else
        info->ok = 1;
}
