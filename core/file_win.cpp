// Writing to an open file or pipe.
#include "core/file_win.h"

uint32_t write_all(HANDLE file, const void* bytes, size_t count) {
    const char* at = static_cast<const char*>(bytes);
    while (count > 0) {
        const DWORD ask = count > 0x10000000 ? 0x10000000 : (DWORD)count;
        DWORD written = 0;
        if (!WriteFile(file, at, ask, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT; // no progress and no error: give up, never loop
        at += written;
        count -= written;
    }
    return 0;
}
