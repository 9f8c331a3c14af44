// WinHTTP behind http_get. The automatic-proxy session type needs Windows 8.1; where it is refused
// the default-proxy type is the fallback. No retries: the callers' users can press the button again.
#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <stdlib.h>

#include "core/messages.h"
#include "core/text.h"
#include "http.h"
#include "res/version.h"

#ifndef WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY
#define WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY 4
#endif

static std::atomic<int32_t> g_cancel{0};

void update_cancel_set(int32_t cancel) {
    g_cancel.store(cancel ? 1 : 0);
}
int32_t update_cancel_requested() {
    return g_cancel.load();
}

int32_t download_percent(uint64_t written, uint32_t expected) {
    if (expected == 0) return 0;
    const uint64_t p = written * 100 / expected;
    return p > 100 ? 100 : (int32_t)p;
}

namespace {

struct Handles {
    HINTERNET session = nullptr, connection = nullptr, request = nullptr;
    ~Handles() {
        if (request) WinHttpCloseHandle(request);
        if (connection) WinHttpCloseHandle(connection);
        if (session) WinHttpCloseHandle(session);
    }
};

struct UrlParts {
    INTERNET_SCHEME scheme;
    INTERNET_PORT port;
    wchar_t host[256];
    wchar_t path[2048];
};

bool split_url(const wchar_t* url, UrlParts* out) {
    URL_COMPONENTS c = {};
    c.dwStructSize = sizeof(c);
    c.dwSchemeLength = (DWORD)-1;
    c.dwHostNameLength = (DWORD)-1;
    c.dwUrlPathLength = (DWORD)-1;
    c.dwExtraInfoLength = (DWORD)-1;
    if (!url || !WinHttpCrackUrl(url, 0, 0, &c) || !c.lpszHostName || c.dwHostNameLength == 0) return false;
    if (c.dwHostNameLength >= _countof(out->host)) return false;
    out->scheme = c.nScheme;
    out->port = c.nPort;
    text_format(out->host, _countof(out->host), L"%.*ls", (int)c.dwHostNameLength, c.lpszHostName);
    // The path and the query stand next to each other in the address.
    const DWORD path_len = c.dwUrlPathLength + c.dwExtraInfoLength;
    if (path_len >= _countof(out->path)) return false;
    if (path_len == 0)
        text_copy(out->path, _countof(out->path), L"/");
    else
        text_format(out->path, _countof(out->path), L"%.*ls", (int)path_len,
                    c.lpszUrlPath ? c.lpszUrlPath : c.lpszExtraInfo);
    return true;
}

// Writes the sentence and gives the failure result, so each failure is one line below.
int32_t failed(wchar_t* error_text, size_t error_capacity, const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    text_vformat(error_text, error_capacity, fmt, args);
    va_end(args);
    return 0;
}

} // namespace

int32_t http_get(const wchar_t* url, char** memory_result, uint32_t max_size, void* file,
                 uint32_t expected_size, void* progress_window, wchar_t* error_text, size_t error_capacity) {
    if (memory_result) *memory_result = nullptr;

    UrlParts u;
    if (!split_url(url, &u)) return failed(error_text, error_capacity, L"Bad update address.");
    // Only HTTPS proves where the manifest and the program come from; a plain address, whether
    // built in, set as "UpdateManifest" or named by a manifest, is never fetched. (A redirect from
    // HTTPS to HTTP is refused by WinHTTP's default redirect policy.)
    if (u.scheme != INTERNET_SCHEME_HTTPS)
        return failed(error_text, error_capacity,
                      L"The update address is not HTTPS, so nothing was fetched from it: %ls", url);

    Handles h;
    const wchar_t* agent = L"Vantrel/" VANTREL_VERSION_STRING;
    h.session = WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                            WINHTTP_NO_PROXY_BYPASS, 0);
    if (!h.session)
        h.session = WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                WINHTTP_NO_PROXY_BYPASS, 0);
    if (!h.session)
        return failed(error_text, error_capacity, L"Couldn't start an internet connection (error %lu).",
                      GetLastError());
    WinHttpSetTimeouts(h.session, 15000, 15000, 20000, 60000);

    h.connection = WinHttpConnect(h.session, u.host, u.port, 0);
    if (!h.connection)
        return failed(error_text, error_capacity, L"Couldn't reach %ls (error %lu).", u.host, GetLastError());

    h.request = WinHttpOpenRequest(h.connection, L"GET", u.path, nullptr, WINHTTP_NO_REFERER,
                                   WINHTTP_DEFAULT_ACCEPT_TYPES,
                                   u.scheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    if (!h.request)
        return failed(error_text, error_capacity, L"Couldn't create the request (error %lu).",
                      GetLastError());
    WinHttpAddRequestHeaders(h.request, L"Cache-Control: no-cache\r\nPragma: no-cache", (DWORD)-1,
                             WINHTTP_ADDREQ_FLAG_ADD);

    if (!WinHttpSendRequest(h.request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(h.request, nullptr))
        return failed(error_text, error_capacity,
                      L"No internet connection, or %ls couldn't be reached (error %lu).", u.host,
                      GetLastError());

    DWORD status = 0, status_size = sizeof(status);
    WinHttpQueryHeaders(h.request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size, WINHTTP_NO_HEADER_INDEX);
    if (status != 200)
        return failed(error_text, error_capacity, L"The update server answered with error %lu.", status);

    char* body = nullptr;
    if (!file) {
        body = static_cast<char*>(malloc((size_t)max_size + 1));
        if (!body) return 0;
    }
    if (update_cancel_requested()) {
        free(body);
        return failed(error_text, error_capacity, L"Update canceled.");
    }

    static const DWORD kChunk = 65536;
    char* chunk = file ? static_cast<char*>(malloc(kChunk)) : nullptr;
    if (file && !chunk) return 0;
    uint64_t total = 0;
    int32_t ok = 0;
    wchar_t sentence[200] = L"";
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(h.request, &available)) {
            text_format(sentence, _countof(sentence), L"The download was interrupted (error %lu).",
                        GetLastError());
            break;
        }
        if (available == 0) {
            ok = 1;
            break;
        }
        if (available > kChunk) available = kChunk;
        if (!file && total + available > max_size) {
            text_copy(sentence, _countof(sentence), L"The update information is too large.");
            break;
        }
        DWORD got = 0;
        if (!WinHttpReadData(h.request, file ? chunk : body + total, available, &got)) {
            text_format(sentence, _countof(sentence), L"The download was interrupted (error %lu).",
                        GetLastError());
            break;
        }
        if (got == 0) {
            ok = 1;
            break;
        }
        if (file) {
            DWORD written = 0;
            if (!WriteFile(static_cast<HANDLE>(file), chunk, got, &written, nullptr) || written != got) {
                text_copy(sentence, _countof(sentence), L"Couldn't save the download (disk full?).");
                break;
            }
            total += got;
            if (expected_size > 0 && progress_window)
                PostMessageW(static_cast<HWND>(progress_window), MsgDownloadProgress,
                             (WPARAM)download_percent(total, expected_size), 0);
        } else {
            total += got;
        }
        if (update_cancel_requested()) {
            text_copy(sentence, _countof(sentence), L"Update canceled.");
            break;
        }
    }
    free(chunk);
    if (!ok) {
        free(body);
        return failed(error_text, error_capacity, L"%ls", sentence);
    }
    if (body) {
        body[total] = 0;
        *memory_result = body;
    }
    return 1;
}
