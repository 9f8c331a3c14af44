// Writing to an open file or pipe.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

// Writes all of the bytes, however many calls that takes: a disk that fills up answers the first
// write with what still fitted and only the next one with its error (ERROR_DISK_FULL, 112), and
// that error is what the caller must hear, not a made-up one. 0 when all were written, otherwise
// the Windows error (ERROR_WRITE_FAULT for a write that made no progress and gave no error).
uint32_t write_all(HANDLE file, const void* bytes, size_t count);
