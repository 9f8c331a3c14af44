// The report header's facts about the PC: its name, the account and the Windows version.
#include <windows.h>

#include <stdlib.h>

#include "core/file_win.h"
#include "core/registry.h"
#include "core/text.h"
#include "reports/report.h"

void report_read_pc_info(ReportPcInfo* pc) {
    if (!pc) return;
    *pc = ReportPcInfo{};
    DWORD size = _countof(pc->computerName);
    if (!GetComputerNameW(pc->computerName, &size)) pc->computerName[0] = 0;
    size = _countof(pc->userName);
    if (!GetUserNameW(pc->userName, &size)) pc->userName[0] = 0;
    const wchar_t* key = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    read_registry_string(HKEY_LOCAL_MACHINE, key, L"ProductName", pc->productName, _countof(pc->productName));
    read_registry_string(HKEY_LOCAL_MACHINE, key, L"DisplayVersion", pc->displayVersion,
                         _countof(pc->displayVersion));
    read_registry_string(HKEY_LOCAL_MACHINE, key, L"CurrentBuild", pc->currentBuild,
                         _countof(pc->currentBuild));
}

// A new file next to the target, named after it and this process: "<path>.<pid>.tmp", or with a
// counter when such a file is there already. Being in the same folder (the same volume) is what lets
// the rename replace the target in one step.
static HANDLE create_temporary_beside(const wchar_t* path, wchar_t* temporary, size_t cap) {
    for (int attempt = 0; attempt < 16; attempt++) {
        if (attempt == 0)
            text_format(temporary, cap, L"%ls.%lu.tmp", path, (unsigned long)GetCurrentProcessId());
        else
            text_format(temporary, cap, L"%ls.%lu-%d.tmp", path, (unsigned long)GetCurrentProcessId(),
                        attempt);
        HANDLE file =
            CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

uint32_t write_whole_file(const wchar_t* path, const char* bytes, size_t count) {
    if (!path || !path[0]) return ERROR_INVALID_PARAMETER;
    wchar_t temporary[MAX_PATH + 40];
    if (wcslen(path) + 30 >= _countof(temporary)) return ERROR_FILENAME_EXCED_RANGE;
    HANDLE file = create_temporary_beside(path, temporary, _countof(temporary));
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    uint32_t error = write_all(file, bytes, count);
    // A share or a disk that accepts writes into its cache may refuse them only when they are flushed.
    if (!error && !FlushFileBuffers(file)) error = GetLastError();
    if (!CloseHandle(file) && !error) error = GetLastError();
    // MOVEFILE_REPLACE_EXISTING: the finished file takes the target's name in one rename, so the
    // folder holds either the old file or the whole new one, never a cut one.
    if (!error && !MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING)) error = GetLastError();
    if (error) DeleteFileW(temporary);
    return error;
}

uint32_t write_report_file(const wchar_t* path, const wchar_t* text) {
    // Every LF may become a CR LF pair; nothing of the report is left out of the file.
    const size_t length = wcslen(text ? text : L"");
    const size_t wide_cap = length * 2 + 1;
    wchar_t* wide = static_cast<wchar_t*>(malloc(wide_cap * sizeof(wchar_t)));
    char* bytes = static_cast<char*>(malloc(wide_cap * 3 + 4));
    if (!wide || !bytes) {
        free(wide);
        free(bytes);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    report_to_crlf(text, wide, wide_cap);
    bytes[0] = (char)0xEF;
    bytes[1] = (char)0xBB;
    bytes[2] = (char)0xBF;
    size_t count = 3 + text_to_utf8(wide, bytes + 3, wide_cap * 3 + 1, 0);
    free(wide);

    uint32_t error = write_whole_file(path, bytes, count);
    free(bytes);
    return error;
}
