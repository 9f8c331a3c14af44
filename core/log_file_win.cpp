// The log's Windows side: the folder, the append-only file and the UTF-8 conversion.
#include "core/log_file.h"

#include <windows.h>
#include <shlobj.h>

#include <stdarg.h>
#include <stdlib.h>

#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"

void log_file_path(wchar_t* buf, size_t cap) {
    wchar_t base[MAX_PATH] = L"";
    // When the folder cannot be determined the path starts at the current drive's root.
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)))
        base[0] = 0;
    wchar_t folder[MAX_PATH];
    text_format(folder, _countof(folder), L"%ls\\Corvalen", base);
    CreateDirectoryW(folder, nullptr);
    text_format(folder, _countof(folder), L"%ls\\Corvalen\\Vantrel", base);
    CreateDirectoryW(folder, nullptr);
    wchar_t path[MAX_PATH];
    text_format(path, _countof(path), L"%ls\\Corvalen\\Vantrel\\Vantrel-log.txt", base);
    text_copy(buf, cap, path);
}

void log_line(const wchar_t* format, ...) {
    if (!g_settings.logFile || g_process.demo || !format) return;
    wchar_t message[1600];
    va_list args;
    va_start(args, format);
    text_vformat(message, _countof(message), format, args);
    va_end(args);

    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[40];
    format_time_stamp(stamp, _countof(stamp), now.wMonth, now.wDay, now.wYear, now.wHour, now.wMinute);
    wchar_t line[1700];
    build_log_line(line, _countof(line), stamp, message);

    wchar_t path[MAX_PATH];
    log_file_path(path, _countof(path));
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    if (size >= 2) {
        char* bytes = (char*)malloc((size_t)size);
        if (bytes && WideCharToMultiByte(CP_UTF8, 0, line, -1, bytes, size, nullptr, nullptr) == size) {
            DWORD written = 0;
            WriteFile(file, bytes, (DWORD)(size - 1), &written, nullptr);
        }
        free(bytes);
    }
    CloseHandle(file);
}
