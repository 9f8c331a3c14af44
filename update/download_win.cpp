// The download thread and the checks a downloaded program file must pass before it may replace
// the running one: size, SHA-256 and the version resource. Whatever fails, the file is deleted, so
// a refused download never leaves anything behind.
#include <windows.h>
#include <bcrypt.h>

#include <stdlib.h>
#include <wchar.h>

#include "core/messages.h"
#include "core/text.h"
#include "core/thread_win.h"
#include "update/http.h"
#include "update/update.h"
#include "update/version.h"

int32_t update_download_path(const wchar_t* version, wchar_t* out, size_t cap) {
    if (cap > 0) out[0] = 0;
    // The version becomes part of the file name: only a release number keeps it inside the folder.
    if (!is_release_version(version)) return 0;
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(_countof(temp), temp);
    if (n == 0 || n >= _countof(temp)) return 0;
    wchar_t path[300];
    text_format(path, _countof(path), L"%lsVantrel-update-%ls.exe", temp, version);
    if (wcslen(path) >= 260 || wcslen(path) >= cap) return 0;
    text_copy(out, cap, path);
    return 1;
}

int32_t sha256_file_hex(const wchar_t* path, wchar_t* hex, size_t cap) {
    if (cap > 0) hex[0] = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BCRYPT_ALG_HANDLE alg = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    unsigned char digest[32];
    bool ok = BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) &&
              BCRYPT_SUCCESS(BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0));
    unsigned char* chunk = static_cast<unsigned char*>(malloc(65536));
    ok = ok && chunk;
    while (ok) {
        DWORD got = 0;
        if (!ReadFile(file, chunk, 65536, &got, nullptr)) ok = false;
        if (!ok || got == 0) break;
        ok = BCRYPT_SUCCESS(BCryptHashData(hash, chunk, got, 0));
    }
    ok = ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof(digest), 0));
    free(chunk);
    if (hash) BCryptDestroyHash(hash);
    if (alg) BCryptCloseAlgorithmProvider(alg, 0);
    CloseHandle(file);
    if (!ok) return 0;
    for (int i = 0; i < 32; i++)
        text_append(hex, cap, L"%02x", digest[i]);
    return 1;
}

void read_product_info(const wchar_t* path, wchar_t* name, size_t name_cap, wchar_t* version,
                       size_t version_cap) {
    name[0] = 0;
    version[0] = 0;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return;
    void* data = malloc(size);
    if (data && GetFileVersionInfoW(path, 0, size, data)) {
        wchar_t* value = nullptr;
        UINT len = 0;
        if (VerQueryValueW(data, L"\\StringFileInfo\\040904B0\\ProductName", (void**)&value, &len) && value &&
            len)
            text_copy(name, name_cap < 64 ? name_cap : 64, value);
        value = nullptr;
        len = 0;
        if (VerQueryValueW(data, L"\\StringFileInfo\\040904B0\\ProductVersion", (void**)&value, &len) &&
            value && len)
            text_copy(version, version_cap < 40 ? version_cap : 40, value);
    }
    free(data);
}

int32_t verify_update_file(const wchar_t* path, uint32_t size, const wchar_t* sha256, const wchar_t* version,
                           wchar_t* error, size_t cap) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &attributes) ||
        attributes.nFileSizeLow < UPDATE_MIN_FILE_SIZE) {
        text_copy(error, cap, L"The downloaded file is incomplete. Please try again.");
        return 0;
    }
    if (size != 0 && attributes.nFileSizeLow != size) {
        text_copy(error, cap,
                  L"The downloaded file is the wrong size \x2014 it may be damaged. Nothing was changed; "
                  L"please try again.");
        return 0;
    }
    wchar_t hex[65];
    if (!sha256_file_hex(path, hex, _countof(hex)) || !text_equal_ci(hex, sha256)) {
        text_copy(error, cap,
                  L"The downloaded file failed its security check (checksum mismatch) and was deleted. "
                  L"Nothing was changed.");
        return 0;
    }
    wchar_t name[64], product_version[40];
    read_product_info(path, name, _countof(name), product_version, _countof(product_version));
    if (!text_equal_ci(name, L"Vantrel") || compare_versions(product_version, version) != 0) {
        text_copy(error, cap,
                  L"The downloaded file isn't the expected Vantrel version, so it was not installed.");
        return 0;
    }
    return 1;
}

static wchar_t* sentence_copy(const wchar_t* text) {
    const size_t n = wcslen(text) + 1;
    wchar_t* copy = static_cast<wchar_t*>(malloc(n * sizeof(wchar_t)));
    if (copy) text_copy(copy, n, text);
    return copy;
}

wchar_t* run_update_download(const DownloadStart* start) {
    wchar_t error[400] = L"";
    // The check refused such an offer already; a start record made any other way is refused here
    // too, before anything on the disk is touched.
    if (!is_release_version(start->version))
        return sentence_copy(L"The update information on the server is not a valid release.");
    DeleteFileW(start->path);
    HANDLE file =
        CreateFileW(start->path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return sentence_copy(L"Couldn't create a temporary file for the download.");
    const int32_t fetched =
        http_get(start->exeUrl, nullptr, 0, file, start->size, start->window, error, _countof(error));
    CloseHandle(file);
    if (fetched &&
        verify_update_file(start->path, start->size, start->sha256, start->version, error, _countof(error)))
        return nullptr;
    DeleteFileW(start->path);
    // A sentence that cannot be allocated still has to read as a failure, never as success.
    wchar_t* sentence = sentence_copy(error);
    return sentence ? sentence : sentence_copy(L"");
}

static DWORD WINAPI download_thread(void* param) {
    DownloadStart* start = static_cast<DownloadStart*>(param);
    wchar_t* sentence = run_update_download(start);
    if (!PostMessageW(static_cast<HWND>(start->window), MsgDownloadDone, 0,
                      reinterpret_cast<LPARAM>(sentence)))
        free(sentence);
    free(start);
    return 0;
}

int32_t start_update_download_thread(DownloadStart* start) {
    return start_thread(download_thread, start);
}
