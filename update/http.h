// One blocking HTTP(S) GET for the self-update threads: into memory (the manifest) or streamed into
// an open file with progress posts (the new program file). Every failure is one sentence for the
// user. Never called on the interface thread.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

// The process-wide cancel request: set by the update bar's Cancel (interface thread), cleared by
// the update check and the download start, read between chunks.
void update_cancel_set(int32_t cancel);
int32_t update_cancel_requested();

// Memory mode (file null): *memory_result receives a malloc'ed copy of the body plus one zero byte,
// at most max_size bytes of body; the caller frees it. File mode: the body goes into file (a HANDLE),
// and with expected_size > 0 each chunk posts the percent to progress_window (an HWND, may be null).
// Only an https:// address is fetched; any other scheme fails before a connection is made.
// Returns 1 on success; otherwise 0 with the sentence in error_text (untouched when the memory buffer
// could not be had).
int32_t http_get(const wchar_t* url, char** memory_result, uint32_t max_size, void* file,
                 uint32_t expected_size, void* progress_window, wchar_t* error_text, size_t error_capacity);

// The percent a progress post carries: written * 100 / expected, at most 100.
int32_t download_percent(uint64_t written, uint32_t expected);
