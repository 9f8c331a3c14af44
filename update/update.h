// The self-update's worker side: the check thread that fetches the manifest, the download thread
// that fetches and verifies the new program file, and the swap that puts it in place. Each thread
// gets everything it needs in its start record (the main window included) and hands its result
// over with one post; the run_* functions do the work without posting, for the tests.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "update/manifest.h"

// Where the release manifest lives unless the per-user string "UpdateManifest" names another.
#define UPDATE_MANIFEST_URL L"https://raw.githubusercontent.com/Corvalen/vantrel-releases/main/latest.json"

// The smallest file that can be a real Vantrel.exe; anything shorter is a cut-off download.
#define UPDATE_MIN_FILE_SIZE 20000

struct UpdateCheckStart {
    void* window; // HWND that receives MsgUpdateChecked
    int32_t manual;
    wchar_t manifestUrl[600];
    // The program that fetches the manifest in a process of its own ("/updatecheck"); empty: the
    // fetch runs in this process.
    wchar_t helper[260];
};

struct DownloadStart {
    void* window; // HWND that receives MsgDownloadProgress and MsgDownloadDone
    wchar_t version[32];
    wchar_t exeUrl[600];
    wchar_t sha256[80];
    uint32_t size;
    wchar_t path[260]; // the temporary file, built by update_download_path
};

// The manifest address: "UpdateManifest" from the settings key, or the built-in one when absent or empty.
void update_manifest_url(wchar_t* out, size_t cap);

// A zeroed, filled UpdateInfo (never null unless memory ran out). Clears the cancel request first.
UpdateInfo* run_update_check(const UpdateCheckStart* start);
// The manifest as http_get fetches it into memory, fetched by helper run with "/updatecheck URL"
// (its process exits with WinHTTP and TLS loaded, this one never loads them). Without a helper, or
// when it cannot start or gives no answer, the fetch runs in this process; a helper that takes more
// than 2 minutes is ended and the check fails with a sentence saying so.
int32_t http_get_manifest(const wchar_t* helper, const wchar_t* url, char** text, uint32_t max_size,
                          wchar_t* error, size_t cap);
// The "/updatecheck URL" mode: fetches the manifest and writes the answer to standard output for
// http_get_manifest. Exit code 0 fetched, 1 failed (the sentence written), 2 nothing could be written.
int run_manifest_fetch_mode(const wchar_t* url);
// Starts the check thread, which owns start (malloc'ed) and posts its UpdateInfo; 0 when it could not start.
int32_t start_update_check_thread(UpdateCheckStart* start);

// "%TEMP%Vantrel-update-%ls.exe"; 0 (and out empty) when the version is not a release number or the
// path does not fit.
int32_t update_download_path(const wchar_t* version, wchar_t* out, size_t cap);

// Downloads and verifies (a version that is not a release number is refused before the disk is
// touched); null on success (the file stays for the swap), otherwise a malloc'ed
// sentence, the file deleted.
wchar_t* run_update_download(const DownloadStart* start);
// Starts the download thread, which owns start (malloc'ed) and posts MsgDownloadDone; 0 when it could not
// start.
int32_t start_update_download_thread(DownloadStart* start);

// The checks of a downloaded file, in order: size, checksum, version resource. 1 when it passes,
// otherwise 0 with the sentence.
int32_t verify_update_file(const wchar_t* path, uint32_t size, const wchar_t* sha256, const wchar_t* version,
                           wchar_t* error, size_t cap);
// The SHA-256 of a file as 64 lower-case hex digits; 0 when it cannot be read or hashed.
int32_t sha256_file_hex(const wchar_t* path, wchar_t* hex, size_t cap);
// "ProductName" and "ProductVersion" of the US-English string table; absent values read as empty.
void read_product_info(const wchar_t* path, wchar_t* name, size_t name_cap, wchar_t* version,
                       size_t version_cap);

enum SwapOutcome : int32_t {
    SwapDone = 0,   // the new file is at the program's path, the old one at "%ls.old"
    SwapCantRename, // the program file could not be moved aside; nothing changed, download deleted
    SwapCantPlace,  // the new file could not be moved in; the program file was put back
};
// "%ls.old"; 0 when it does not fit.
int32_t old_copy_path(const wchar_t* program, wchar_t* out, size_t cap);
SwapOutcome swap_program_file(const wchar_t* program, const wchar_t* downloaded);
